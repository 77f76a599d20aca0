#include "tests/game/replication_fixtures.h"

#include <sstream>

#include "game/rendprael.h"
#include "orvix/memtrack.h"
#include "tests/game/net_test_support.h"

namespace replication_test {

Probe::Probe(uint32_t probeUid, Vec2 at, int* released) : Entity(nullptr), m_released(released) {
  SetName("Probe");
  SetUID(probeUid);
  typeId = 2;
  hostile = true;
  health = 3.0f;
  maxHealth = 3.0f;
  SetPosition(at);
}

Probe::~Probe() {
  if (m_released != nullptr) ++*m_released;
}

void Probe::SendEvent(int event, EventParam* a, EventParam*) {
  events.push_back({event, a != nullptr ? a->i : 0});
}

void Probe::TakeDamage(float amount, int knockDirection, int extra) {
  damage.push_back(amount);
  Entity::TakeDamage(amount, knockDirection, extra);
}

Payload& Payload::AddRecord(uint32_t uid, int32_t typeId, Vec2 at, int32_t facing) {
  Add(uid).Add(typeId).Add(at.x).Add(at.y).Add(facing);
  return Add(uint8_t{1}).Add(uint8_t{0}).Add(uint8_t{0}).Add(uint8_t{0});
}

Payload& Payload::AddHit(uint32_t uid, Vec2 at, float health, float flashTime, int32_t direction,
                         int32_t push) {
  return Add(uid).Add(at.x).Add(at.y).Add(health).Add(flashTime).Add(direction).Add(push);
}

void ReplicationTest::SetUp() {
  WorldTest::SetUp();
  app->renderer = renderer.get();
  app->isServer = true;
  renderer->SetEntityDropHandler(
      [](Entity* entity, void* context) { static_cast<CTestApp*>(context)->RetireEntity(entity); },
      app.get());
  LoadWorld();
}

Aveth* ReplicationTest::MakeLocalHero(float x, float y) {
  Aveth* hero = MakeHero(x, y);
  heroes.pop_back();
  hero->SetUID(app->isServer ? Aveth::kServerHeroUid : Aveth::kClientHeroUid);
  app->localHero = hero;
  return hero;
}

Aveth* ReplicationTest::MakeRemoteHero(float x, float y) {
  Aveth* hero = MakeHero(x, y, "Aveth2");
  heroes.pop_back();
  hero->SetUID(app->isServer ? Aveth::kClientHeroUid : Aveth::kServerHeroUid);
  hero->SetRemote(true);
  app->remoteHero = hero;
  return hero;
}

Probe* ReplicationTest::AddProbe(uint32_t uid, Vec2 at, int* released) {
  Probe* probe = OX_NEW Probe(uid, at, released);
  renderer->AddEntity(probe, false);
  return probe;
}

void ReplicationTest::Deliver(uint32_t type, const Payload& payload) {
  NetMessage message;
  FillMessage(message, type, payload.bytes);
  app->netRecvData(&message);
}

int ReplicationTest::LogLines(const std::string& line) const {
  std::istringstream text(log.Text());
  int count = 0;
  for (std::string got; std::getline(text, got);) {
    if (!got.empty() && got.back() == '\r') got.pop_back();
    if (got == line) ++count;
  }
  return count;
}

bool ReplicationTest::InWorld(Entity* entity) const {
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    if (renderer->GetEntity(i) == entity) return true;
  }
  return false;
}

Vec2 InRoom(int roomX, int roomY, float offset) { return {roomX * 512.0f + offset, roomY * 352.0f + offset}; }

}  // namespace replication_test
