// Shared pieces of the replication tests: an application on a test world
// with heroes it owns, a probe entity that records what the network handlers
// do to it, and payloads built field by field.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "game/aveth.h"
#include "game/net.h"
#include "game/testapp.h"
#include "tests/game/hero_fixtures.h"

namespace replication_test {

// A world entity (a monster, as far as the network is concerned) that
// records the events and damage it receives and counts its own release.
class Probe : public Entity {
 public:
  Probe(uint32_t probeUid, Vec2 at, int* released = nullptr);
  ~Probe() override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;

  std::vector<std::pair<int, int>> events;  // event, first argument
  std::vector<float> damage;

 private:
  int* m_released;
};

// A payload written field by field, in wire order.
class Payload {
 public:
  template <typename T>
  Payload& Add(T value) {
    const size_t at = bytes.size();
    bytes.resize(at + sizeof value);
    std::memcpy(bytes.data() + at, &value, sizeof value);
    return *this;
  }
  Payload& AddRecord(uint32_t uid, int32_t typeId, Vec2 at, int32_t facing = 0);
  // A hit report: uid, place, health after the hit, flash time, knock-back
  // direction and push distance.
  Payload& AddHit(uint32_t uid, Vec2 at, float health, float flashTime, int32_t direction, int32_t push);
  Payload& AddText(const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  std::vector<uint8_t> bytes;
};

// The application on a test world (all walkable ground). Heroes made with
// MakeLocalHero and MakeRemoteHero belong to the application, as in a game.
class ReplicationTest : public hero_test::WorldTest<CTestApp> {
 protected:
  void SetUp() override;

  Aveth* MakeLocalHero(float x, float y);
  Aveth* MakeRemoteHero(float x, float y);
  // A probe added at the back of the world; the world owns it.
  Probe* AddProbe(uint32_t uid, Vec2 at, int* released = nullptr);
  // Hands a message to the application as the connection would.
  void Deliver(uint32_t type, const Payload& payload);
  // How many lines of the log since the test began are exactly `line`.
  int LogLines(const std::string& line) const;
  bool InWorld(Entity* entity) const;

  // Probes made with &released count their release here; the fixture
  // outlives every entity of the world.
  int released = 0;
};

// A point in room (roomX, roomY), `offset` pixels in from its top-left.
Vec2 InRoom(int roomX, int roomY, float offset = 128.0f);

}  // namespace replication_test
