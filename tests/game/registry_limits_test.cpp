// A room's spawn counts allow 64 types times 127 monsters; a damaged world map
// that asks for that many gets one monster per inner tile of the room.
#include <gtest/gtest.h>

#include "tests/game/registry_fixtures.h"

using registry_test::RegistryTest;

TEST_F(RegistryTest, ARoomHoldsAtMostOneMonsterPerInnerTile) {
  SetCounts(TYPE_PELVOK_BLUE, 60, 60);
  SetCounts(TYPE_SKELETON, 127, 127);
  SetCounts(TYPE_SNAKE, 127, 127);
  LoadWorld();
  app->PopulateRoom(kRoomX, kRoomY, false);
  EXPECT_EQ(CountType(TYPE_PELVOK_BLUE), 60) << "the first types are placed in full";
  EXPECT_EQ(CountType(TYPE_SKELETON), 24);
  EXPECT_EQ(CountType(TYPE_SNAKE), 0);
  EXPECT_TRUE(
      log.Contains("CTestApp::PopulateRoom: room (3, 2) asks for more than 84 monsters; the rest are not "
                   "placed"));
}

TEST_F(RegistryTest, ARoomOfExactlyOneMonsterPerInnerTileIsPlacedWhole) {
  SetCounts(TYPE_PELVOK_BLUE, 80, 80);
  SetCounts(TYPE_SKELETON, 4, 4);
  LoadWorld();
  app->PopulateRoom(kRoomX, kRoomY, false);
  EXPECT_EQ(CountType(TYPE_PELVOK_BLUE) + CountType(TYPE_SKELETON), 84);
  EXPECT_FALSE(log.Contains("asks for more than"));
}
