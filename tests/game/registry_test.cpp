// The entity registry: Spawn by type number, PopulateRoom from a room's spawn
// counts and second tile layer, and PickFreeTile.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/rendprael.h"
#include "tests/game/registry_fixtures.h"

namespace {

using registry_test::RegistryTest;

TEST_F(RegistryTest, ReservedTypeCreatesNothing) {
  LoadWorld();
  const Vec2 tile(3.0f, 4.0f);
  EXPECT_EQ(app->Spawn(TYPE_RESERVED, &tile, true, -1), nullptr);
  EXPECT_EQ(renderer->GetEntityCount(), 0u);
  EXPECT_EQ(app->nextUid, CTestApp::kFirstSpawnedUid);
}

TEST_F(RegistryTest, FreeTileIsAnInnerTileOfTheRoom) {
  LoadWorld();
  for (unsigned seed = 1; seed <= 50; ++seed) {
    std::srand(seed);
    Vec2 tile;
    ASSERT_TRUE(app->PickFreeTile(&tile, kRoomX, kRoomY));
    EXPECT_GE(tile.x, kRoomX * 16 + 2);
    EXPECT_LE(tile.x, kRoomX * 16 + 13);
    EXPECT_GE(tile.y, kRoomY * 11 + 2);
    EXPECT_LE(tile.y, kRoomY * 11 + 8);
  }
}

// Every free value is accepted; the room's only free tile is always found,
// also when the random draws keep missing it.
TEST_F(RegistryTest, OnlyFreeTileIsFoundForEachFreeValue) {
  for (uint8_t free : {0, 16, 32, 64, 145, 160, 161}) {
    FillInnerTiles(48);
    map.Cell(kRoomX, kRoomY, 13, 8) = free;
    LoadWorld();
    Vec2 tile;
    ASSERT_TRUE(app->PickFreeTile(&tile, kRoomX, kRoomY)) << "value " << int(free);
    EXPECT_EQ(tile, RoomTile(13, 8)) << "value " << int(free);
  }
}

// A room without a free inner tile gives up instead of drawing for ever, and
// its monsters are not spawned.
TEST_F(RegistryTest, RoomWithoutFreeTileGetsNoMonsters) {
  FillInnerTiles(48);
  map.Cell(kRoomX, kRoomY, 0, 0) = 0;  // free, but on the room's edge
  SetCounts(TYPE_PELVOK_BLUE, 2, 2);
  LoadWorld();
  Vec2 tile(-1.0f, -1.0f);
  EXPECT_FALSE(app->PickFreeTile(&tile, kRoomX, kRoomY));
  app->PopulateRoom(kRoomX, kRoomY, false);
  EXPECT_EQ(renderer->GetEntityCount(), 0u);
  EXPECT_TRUE(log.Contains("room (3, 2) has no free tile"));
}

TEST_F(RegistryTest, RoomOutsideTheWorldIsLoggedAndLeftAlone) {
  LoadWorld();
  app->PopulateRoom(40, 2, false);
  EXPECT_EQ(renderer->GetEntityCount(), 0u);
  EXPECT_TRUE(log.Contains("room (40, 2) is outside the world"));
}

TEST_F(RegistryTest, EverySecondLayerTileIsReportedDirty) {
  SecondLayerCell(4, 4) = 7;
  SecondLayerCell(15, 10) = 9;
  SecondLayerCell(16, 4) = 7;  // the next room's
  LoadWorld();
  app->PopulateRoom(kRoomX, kRoomY, false);
  const std::string text = log.Text();
  size_t count = 0;
  for (size_t at = text.find("dirty tile"); at != std::string::npos; at = text.find("dirty tile", at + 1))
    ++count;
  EXPECT_EQ(count, 2u);
}

}  // namespace
