// The map file layout: sizes, record offsets, byte order, short and long files.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/common/temp_dir.h"
#include "wmap.h"

namespace {

using World::RoomId;
using World::WorldMap;

TEST(WorldMapFile, HasTheGamesSizeAndOffsets) {
  WorldMap map;
  map.SetTile(0, 255, 329, 7);
  map.SetTile(1, 3, 2, 16);
  World::RoomRecord& room = map.Room(RoomId{5, 2});
  room.startCell = 0x01020304;
  room.spawns[0] = {1, 2};
  room.spawns[63] = {-1, 127};
  room.exitFlag = 1;
  room.dungeonFlag = 1;
  room.doors = {1, 2, 3, 4};

  const std::vector<uint8_t> bytes = map.Serialize();
  ASSERT_EQ(bytes.size(), 275968u);
  EXPECT_EQ(bytes[329 * 256 + 255], 7);
  EXPECT_EQ(bytes[84480 + 2 * 256 + 3], 16);
  const size_t record = 168960 + (2 * 16 + 5) * 176;
  EXPECT_EQ(bytes[record + 0], 0x04);  // little-endian
  EXPECT_EQ(bytes[record + 3], 0x01);
  EXPECT_EQ(bytes[record + 9], 1);
  EXPECT_EQ(bytes[record + 10], 2);
  EXPECT_EQ(bytes[record + 9 + 126], 0xff);
  EXPECT_EQ(bytes[record + 10 + 126], 127);
  EXPECT_EQ(bytes[record + 138], 1);
  EXPECT_EQ(bytes[record + 139], 1);
  for (int wall = 0; wall < 4; ++wall) EXPECT_EQ(bytes[record + 160 + 4 * wall], wall + 1) << "wall " << wall;

  WorldMap back;
  std::string error;
  ASSERT_TRUE(back.Deserialize(bytes, &error)) << error;
  EXPECT_EQ(back.Serialize(), bytes);
  EXPECT_EQ(back.Room(RoomId{5, 2}).spawns[63].minimum, -1);
}

TEST(WorldMapFile, RoomCellsLieWhereTheGameReadsThem) {
  WorldMap map;
  map.SetRoomTile(0, RoomId{3, 4}, 5, 6, 99);
  EXPECT_EQ(map.Serialize()[4 * 2816 + 6 * 256 + 3 * 16 + 5], 99);
  EXPECT_EQ(World::CellIndex(RoomId{7, 7}, 8, 6), 83 * 256 + 120);
}

TEST(WorldMapFile, LoadRefusesFilesOfAnyOtherSize) {
  ScopedTempDir dir;
  WorldMap map;
  std::string error;
  ASSERT_TRUE(map.Save("good.wmap", &error)) << error;
  ASSERT_TRUE(map.Load("good.wmap", &error)) << error;
  for (size_t size : {size_t{0}, size_t{275967}, size_t{275969}}) {
    WriteFileText("odd.wmap", std::string(size, '\0'));
    EXPECT_FALSE(map.Load("odd.wmap", &error)) << size;
    EXPECT_NE(error.find("275968"), std::string::npos) << error;
  }
  EXPECT_FALSE(map.Load("missing.wmap", &error));
}

}  // namespace
