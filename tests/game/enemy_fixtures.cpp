#include "tests/game/enemy_fixtures.h"

#include <cstdlib>
#include <cstring>

#include "game/rendprael.h"
#include "orvix/memtrack.h"

namespace enemy_test {

namespace {

// What the application does with an entity the tick pass drops.
void ReleaseDropped(Entity* entity, void*) {
  if (entity->ownedByWorld) OX_DELETE entity;
}

}  // namespace

void EnemyTest::SetUp() {
  hero_test::HeroTest::SetUp();
  renderer->SetEntityDropHandler(ReleaseDropped, nullptr);
  server.PlayAlone();  // runs the world: hits, deaths and drops are decided here
  savedKills = g_killsSinceDrop;
  g_killsSinceDrop = 0;
  std::srand(1);
}

void EnemyTest::TearDown() {
  std::vector<Entity*> owned;
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    Entity* entity = renderer->GetEntity(i);
    if (entity->ownedByWorld) owned.push_back(entity);
  }
  for (Entity* entity : owned) {
    renderer->RemoveEntity(entity);
    OX_DELETE entity;
  }
  g_killsSinceDrop = savedKills;
  heard.reset();
  hero_test::HeroTest::TearDown();
}

void EnemyTest::ConnectClient() {
  heard = std::make_unique<PeerRecorder>(client);
  ASSERT_TRUE(ConnectOnLoopback(server, client));
}

std::vector<std::vector<uint8_t>> EnemyTest::Heard(uint32_t type, size_t count) {
  std::vector<std::vector<uint8_t>> payloads;
  auto collect = [&] {
    payloads.clear();
    for (const ReceivedMessage& message : heard->messages) {
      if (message.type == type) payloads.push_back(message.payload);
    }
    return payloads.size() >= count;
  };
  PumpUntil({&server, &client}, collect, 2000);
  return payloads;
}

std::vector<Entity*> EnemyTest::Named(const char* name) const {
  std::vector<Entity*> found;
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    Entity* entity = renderer->GetEntity(i);
    if (std::strcmp(entity->name, name) == 0) found.push_back(entity);
  }
  return found;
}

}  // namespace enemy_test
