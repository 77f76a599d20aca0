// Shared pieces of the Snake, Bat and Murla tests: the enemy tests' world,
// with monsters placed as the registry places them and frames of a fixed
// length.
#pragma once

#include <gtest/gtest.h>

#include "game/netconnection.h"
#include "orvix/memtrack.h"
#include "tests/game/enemy_fixtures.h"

namespace monster_test {

// The enemy tests' world, run frame by frame by the test itself.
class MonsterTest : public enemy_test::EnemyTest {
 protected:
  static constexpr float kFrame = 1.0f / 60.0f;

  // A monster in the world on tile (column, row), as the registry places it.
  template <typename T, typename... Args>
  T* Make(int column, int row, Args&&... args) {
    T* made = EnemyTest::Make<T>(&server, std::forward<Args>(args)...);
    Place(made, column, row);
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
  int CountNamed(const char* name) const { return static_cast<int>(Named(name).size()); }
  // Layer 0 of every tile of room (roomX, roomY).
  void FillRoom(int roomX, int roomY, uint8_t value) {
    for (int column = 0; column < 16; ++column)
      for (int row = 0; row < 11; ++row) map.Cell(roomX, roomY, column, row) = value;
  }
};

}  // namespace monster_test
