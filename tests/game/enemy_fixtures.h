// Shared pieces of the enemy tests: a world on a map the test writes, a
// server connection that runs it (alone, or with a client on loopback that
// records what it is sent), enemies made and released as the game does, and
// the runtime's random generator seeded by the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/enemy_common.h"
#include "game/netconnection.h"
#include "tests/game/hero_fixtures.h"
#include "tests/game/net_test_support.h"

namespace enemy_test {

class EnemyTest : public hero_test::HeroTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // An enemy in the world, released by the world once it has left the list
  // (or by TearDown).
  template <typename T, typename... Args>
  T* Make(Args&&... args) {
    T* made = OX_NEW T(std::forward<Args>(args)...);
    renderer->AddEntity(made, true);
    return made;
  }
  // Sends event 11: the enemy stands on tile (column, row).
  void Place(Entity* entity, int column, int row) { Send(entity, enemy::EV_PLACE, column, row); }
  // Connects `client` to `server` over loopback, recording the client's
  // messages in `heard`.
  void ConnectClient();
  // Pumps until the client has heard `count` messages of `type`; their
  // payloads.
  std::vector<std::vector<uint8_t>> Heard(uint32_t type, size_t count);
  // Entities of the world list named `name`.
  std::vector<Entity*> Named(const char* name) const;

  NetConnection server{NetConnection::kAccessPassword, "Server"};
  NetConnection client{NetConnection::kAccessPassword, "Client"};
  std::unique_ptr<PeerRecorder> heard;
  int32_t savedKills = 0;
};

// A little-endian value read from a payload at `offset`.
template <typename T>
T PayloadValue(const std::vector<uint8_t>& payload, size_t offset) {
  T value{};
  if (offset + sizeof(T) <= payload.size()) std::memcpy(&value, payload.data() + offset, sizeof(T));
  return value;
}

}  // namespace enemy_test
