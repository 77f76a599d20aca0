// The registry's tests: an application that runs the world as the server on
// a map the test writes, with helpers to set a room's spawn counts and second
// tile layer and to count what landed in a room.
#pragma once

#include <cstdlib>
#include <string>

#include "game/entitytypes.h"
#include "game/testapp.h"
#include "tests/game/hero_fixtures.h"

namespace registry_test {

class RegistryTest : public hero_test::WorldTest<CTestApp> {
 protected:
  static constexpr int kRoomX = 3;
  static constexpr int kRoomY = 2;

  void SetUp() override {
    WorldTest::SetUp();
    app->renderer = renderer.get();
    app->isServer = true;
    std::srand(1);
  }
  void TearDown() override {
    TearDownWorld();
    WorldTest::TearDown();
  }
  // Takes every entity the world owns out of the list and has the
  // application free it, as it frees the entities that end in play.
  void TearDownWorld() {
    for (unsigned i = renderer->GetEntityCount(); i-- > 0;) {
      Entity* entity = renderer->GetEntity(i);
      if (!entity->ownedByWorld) continue;
      renderer->RemoveEntity(entity);
      app->RetireEntity(entity);
    }
    app->ReleaseEndedEntities();
  }
  // Spawn counts of `type` in the test room.
  void SetCounts(int type, int minimum, int maximum) {
    map.Room(kRoomX, kRoomY).spawnCounts[type][0] = static_cast<int8_t>(minimum);
    map.Room(kRoomX, kRoomY).spawnCounts[type][1] = static_cast<int8_t>(maximum);
  }
  // Layer 0 of every inner tile of the test room.
  void FillInnerTiles(uint8_t value) {
    for (int column = 2; column < 14; ++column)
      for (int row = 2; row < 9; ++row) map.Cell(kRoomX, kRoomY, column, row) = value;
  }
  uint8_t& SecondLayerCell(int column, int row) {
    return map.tiles[PraelRenderer::kLayerBytes + (kRoomY * 11 + row) * 256 + kRoomX * 16 + column];
  }
  // Entities of `type` in the world list.
  int CountType(int type) const {
    int count = 0;
    for (unsigned i = 0; i < renderer->GetEntityCount(); ++i)
      if (renderer->GetEntity(i)->typeId == type) ++count;
    return count;
  }
  Vec2 RoomTile(int column, int row) const {
    return Vec2(static_cast<float>(kRoomX * 16 + column), static_cast<float>(kRoomY * 11 + row));
  }
};

}  // namespace registry_test
