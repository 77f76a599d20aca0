// The game renderer's world map: loading, room records, tile lookups and
// tile flags.
#include <cstring>

#include "rendprael_fixtures.h"

namespace rendprael_test {
namespace {

using PraelMap = PraelRendererTest;

TEST_F(PraelMap, LoadsTileBytesAndKeepsEveryByteOfTheRoomRecords) {
  MapFile map;
  map.tiles[0] = 11;
  map.tiles[2 * 84480 - 1] = 12;  // the last byte of the second layer
  map.Cell(3, 2, 5, 4) = 13;
  RoomRecord& room = map.Room(15, 37);
  std::memset(&room, 0xA5, sizeof room);
  room.startCell = 83 * 256 + 120;
  room.spawnCounts[63][1] = -2;
  room.dungeonFlag = 1;
  room.doorLeft = DOOR_LOCKED;
  map.Write("world.wmap");

  ASSERT_TRUE(renderer->LoadMap("world.wmap"));
  EXPECT_EQ(renderer->GetMapTile(0, 0, 0), 11);
  EXPECT_EQ(renderer->GetMapTile(255, 329, 1), 12);
  EXPECT_EQ(renderer->GetMapTile(3 * 16 + 5, 2 * 11 + 4, 0), 13);
  const RoomRecord* loaded = renderer->GetRoomRecord(15, 37);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(std::memcmp(loaded, &room, sizeof room), 0);
  EXPECT_EQ(loaded->startCell, 83 * 256 + 120);
  EXPECT_EQ(loaded->spawnCounts[63][1], -2);
  EXPECT_EQ(loaded->doorLeft, DOOR_LOCKED);
}

TEST_F(PraelMap, ShortFileIsReportedAndWhatItLacksIsZero) {
  MapFile full;
  full.tiles.assign(full.tiles.size(), 7);
  full.Room(0, 0).doorTop = DOOR_OPEN;
  full.Write("full.wmap");
  ASSERT_TRUE(renderer->LoadMap("full.wmap"));

  MapFile cut;
  cut.tiles.assign(cut.tiles.size(), 9);
  cut.Write("cut.wmap", 1000);
  EXPECT_FALSE(renderer->LoadMap("cut.wmap"));
  EXPECT_TRUE(log.Contains("PraelRenderer::LoadMap: cut.wmap is 1000 bytes, shorter than 275,968 bytes"))
      << log.Text();
  EXPECT_EQ(renderer->GetMapTile(999 % 256, 999 / 256, 0), 9);
  EXPECT_EQ(renderer->GetMapTile(1000 % 256, 1000 / 256, 0), 0);
  EXPECT_EQ(renderer->GetRoomRecord(0, 0)->doorTop, DOOR_NONE);
}

TEST_F(PraelMap, MissingFileChangesNothing) {
  MapFile map;
  map.Cell(7, 7, 1, 1) = 42;
  map.Write("world.wmap");
  ASSERT_TRUE(renderer->LoadMap("world.wmap"));
  EXPECT_FALSE(renderer->LoadMap("absent.wmap"));
  EXPECT_TRUE(log.Contains("PraelRenderer::LoadMap: cannot open absent.wmap"));
  EXPECT_EQ(renderer->GetMapTile(7 * 16 + 1, 7 * 11 + 1, 0), 42);
}

TEST_F(PraelMap, LookupsOutsideTheWorldFindNothing) {
  MapFile map;
  map.tiles.assign(map.tiles.size(), 5);
  map.Write("world.wmap");
  ASSERT_TRUE(renderer->LoadMap("world.wmap"));

  struct Room {
    int x, y;
    bool exists;
  };
  for (const Room& room : {Room{0, 0, true}, Room{15, 37, true}, Room{-1, 0, false}, Room{16, 0, false},
                           Room{0, -1, false}, Room{0, 38, false}}) {
    EXPECT_EQ(renderer->GetRoomRecord(room.x, room.y) != nullptr, room.exists) << room.x << ", " << room.y;
  }
  renderer->SetView(16, 6, 0, 0);
  EXPECT_EQ(renderer->GetCurrentRoomRecord(), nullptr);
  renderer->SetView(3, 4, 0, 0);
  EXPECT_EQ(renderer->GetCurrentRoomRecord(), renderer->GetRoomRecord(3, 4));

  struct Tile {
    int x, y, layer;
    uint8_t value;
  };
  for (const Tile& tile : {Tile{255, 659, 0, 5}, Tile{255, 329, 1, 5}, Tile{0, 660, 0, 0}, Tile{0, 663, 0, 0},
                           Tile{0, 664, 0, 0}, Tile{0, 330, 1, 0}, Tile{0, 400, 1, 0}, Tile{256, 0, 0, 0},
                           Tile{-1, 1, 0, 0}, Tile{0, -1, 0, 0}, Tile{0, 0, -1, 0}, Tile{0, 0, 2, 0},
                           Tile{0, 1 << 30, 0, 0}, Tile{0, 0, 1 << 30, 0}}) {
    EXPECT_EQ(renderer->GetMapTile(tile.x, tile.y, tile.layer), tile.value)
        << tile.x << ", " << tile.y << ", layer " << tile.layer;
  }
}

TEST_F(PraelMap, TileFlagsBlockTheirQuadrants) {
  struct Case {
    unsigned char tile;
    uint32_t flags;
  };
  const Case cases[] = {{0, 0},    {1, 15},  {2, 15},  {3, 7},    {4, 11},  {5, 13},  {6, 14},   {9, 0},
                        {19, 7},   {20, 11}, {21, 13}, {22, 14},  {35, 7},  {38, 14}, {47, 0},   {48, 15},
                        {56, 15},  {57, 0},  {63, 15}, {64, 0},   {120, 3}, {121, 3}, {122, 0},  {143, 15},
                        {145, 0},  {160, 0}, {161, 0}, {164, 15}, {165, 0}, {168, 5}, {169, 10}, {170, 5},
                        {171, 10}, {172, 3}, {173, 3}, {174, 15}, {255, 15}};
  for (const Case& c : cases) EXPECT_EQ(renderer->GetTileFlags(c.tile), c.flags) << "tile " << int(c.tile);

  // Tile 3 is a corner piece whose bottom-right quadrant is open.
  EXPECT_TRUE(renderer->TileBlocks(3, PraelRenderer::kBlocksTopLeft));
  EXPECT_TRUE(renderer->TileBlocks(3, PraelRenderer::kBlocksTopRight));
  EXPECT_TRUE(renderer->TileBlocks(3, PraelRenderer::kBlocksBottomLeft));
  EXPECT_FALSE(renderer->TileBlocks(3, PraelRenderer::kBlocksBottomRight));
  EXPECT_FALSE(renderer->TileBlocks(3, 0));
  EXPECT_TRUE(renderer->TileBlocks(3, PraelRenderer::kBlocksAll));
}

}  // namespace
}  // namespace rendprael_test
