// Shared pieces of the Snake, Bat and Murla tests: a world on a map the test
// writes, run by a server that plays alone, with monsters made and released
// as the game makes them, and frames of a fixed length.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "game/enemy_common.h"
#include "game/netconnection.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"

namespace monster_test {

class MonsterTest : public hero_test::HeroTest {
 protected:
  static constexpr float kFrame = 1.0f / 60.0f;

  void SetUp() override {
    hero_test::HeroTest::SetUp();
    server.PlayAlone();
    std::srand(1);
    savedKills = g_killsSinceDrop;
  }
  void TearDown() override {
    // Monsters, shots and sparks belong to the world; heroes to the test.
    for (unsigned i = renderer->GetEntityCount(); i-- > 0;) {
      Entity* entity = renderer->GetEntity(i);
      if (entity->isPlayer || !entity->ownedByWorld) continue;
      renderer->RemoveEntity(entity);
      OX_DELETE entity;
    }
    g_killsSinceDrop = savedKills;
    hero_test::HeroTest::TearDown();
  }
  // A monster in the world on tile (column, row), as the registry places it.
  template <typename T, typename... Args>
  T* Make(int column, int row, Args&&... args) {
    T* made = OX_NEW T(&server, std::forward<Args>(args)...);
    renderer->AddEntity(made, true);
    Send(made, enemy::EV_PLACE, column, row);
    return made;
  }
  // Ticks the world's entities for `frames` frames of kFrame; ended ones
  // leave the list and are released.
  void RunFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
      Step(kFrame);
      for (unsigned index = 0; index < renderer->GetEntityCount(); ++index) {
        Entity* entity = renderer->GetEntity(index);
        if (entity->state != 0) entity->Tick(kFrame);
      }
      ReleaseEnded();
    }
  }
  void ReleaseEnded() {
    for (unsigned i = renderer->GetEntityCount(); i-- > 0;) {
      Entity* entity = renderer->GetEntity(i);
      if (entity->state != 0 || entity->isPlayer || !entity->ownedByWorld) continue;
      renderer->RemoveEntity(entity);
      OX_DELETE entity;
    }
  }
  // Entities of the world named `name`.
  int CountNamed(const char* name) const {
    int count = 0;
    for (unsigned i = 0; i < renderer->GetEntityCount(); ++i)
      if (std::string(renderer->GetEntity(i)->name) == name) ++count;
    return count;
  }
  // Layer 0 of every tile of room (roomX, roomY).
  void FillRoom(int roomX, int roomY, uint8_t value) {
    for (int column = 0; column < 16; ++column)
      for (int row = 0; row < 11; ++row) map.Cell(roomX, roomY, column, row) = value;
  }

  NetConnection server{NetConnection::kAccessPassword, "Server"};
  int32_t savedKills = 0;
};

}  // namespace monster_test
