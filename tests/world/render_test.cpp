// Room and world pictures drawn from a tile sheet whose every tile is one
// plain colour, so each pixel tells which tile value was drawn there.
#include "render.h"

#include <gtest/gtest.h>

#include "tile_rules.h"
#include "world_fixture.h"

namespace {

using World::RoomId;

ImageKit::Rgb ColourOf(int tile) { return ImageKit::Rgb{uint8_t(tile), uint8_t(255 - tile), 7}; }

ImageKit::Image PlainSheet() {
  ImageKit::Image sheet(512, 512);
  for (int tile = 0; tile < 256; ++tile)
    sheet.Fill(ImageKit::Rect{(tile % 16) * 32, (tile / 16) * 32, 32, 32}, ColourOf(tile));
  return sheet;
}

ImageKit::Rgb CellCentre(const ImageKit::Image& image, int c, int r) {
  return image.At(c * 32 + 16, r * 32 + 20);
}

TEST(WorldRender, RoomShowsItsTilesAndTheDoorsOfItsDoorStates) {
  World::WorldMap map = WorldTest::SoundMap();
  const RoomId room{3, 2};
  WorldTest::Carve(map, room, 2, 13, 2, 8, 16);
  map.SetRoomTile(0, room, 1, 5, 173);  // open left door in the map, but the state says locked
  map.Room(room).dungeonFlag = 1;
  map.Room(room).doors[World::kWallLeft] = World::kDoorLocked;
  map.Room(room).doors[World::kWallTop] = World::kDoorShutter;
  map.SetRoomTile(1, room, 6, 6, World::kPushBlockMark);

  const ImageKit::Image picture = World::RenderRoom(map, PlainSheet(), room);
  ASSERT_EQ(picture.Width(), 512);
  ASSERT_EQ(picture.Height(), 352);
  EXPECT_EQ(CellCentre(picture, 4, 4), ColourOf(16));
  EXPECT_EQ(CellCentre(picture, 0, 0), ColourOf(WorldTest::kRock));
  EXPECT_EQ(CellCentre(picture, 1, 5), ColourOf(141));  // the locked door
  EXPECT_EQ(CellCentre(picture, 7, 1), ColourOf(152));  // the shutter, both cells
  EXPECT_EQ(CellCentre(picture, 8, 1), ColourOf(153));
  EXPECT_EQ(CellCentre(picture, 0, 5), ColourOf(121));  // arches over the doorways
  EXPECT_EQ(CellCentre(picture, 7, 0), ColourOf(122));
  EXPECT_EQ(CellCentre(picture, 14, 5), ColourOf(WorldTest::kRock));         // no door on the right
  EXPECT_EQ(picture.At(6 * 32, 6 * 32 + 10), (ImageKit::Rgb{255, 220, 0}));  // the push block's frame
  EXPECT_EQ(CellCentre(picture, 6, 6), ColourOf(16));
}

TEST(WorldRender, OutsideTheDungeonDoorStatesDrawNothing) {
  World::WorldMap map = WorldTest::SoundMap();
  map.Room(WorldTest::kStartRoom).doors[World::kWallLeft] = World::kDoorLocked;
  const ImageKit::Image picture = World::RenderRoom(map, PlainSheet(), WorldTest::kStartRoom);
  EXPECT_EQ(CellCentre(picture, 1, 5), ColourOf(WorldTest::kGround));
  EXPECT_EQ(CellCentre(picture, 0, 5), ColourOf(WorldTest::kRock));
}

TEST(WorldRender, OverviewCoversTheRoomsInUseAtAQuarterOfTheirSize) {
  World::WorldMap map = WorldTest::SoundMap();
  WorldTest::Carve(map, RoomId{9, 8}, 3, 3, 3, 3, WorldTest::kGround);
  const ImageKit::Image overview = World::RenderOverview(map, PlainSheet(), WorldTest::kRock);
  EXPECT_EQ(overview.Width(), 3 * 128);                               // rooms 7 to 9
  EXPECT_EQ(overview.Height(), 2 * 88);                               // rooms 7 and 8
  EXPECT_EQ(overview.At(60, 40), ColourOf(WorldTest::kGround));       // inside the start room
  EXPECT_EQ(overview.At(128 + 60, 40), (ImageKit::Rgb{24, 24, 24}));  // room (8, 7) is plain rock: left out
  EXPECT_EQ(overview.At(2 * 128 + 3 * 8 + 4, 88 + 3 * 8 + 4), ColourOf(WorldTest::kGround));
}

}  // namespace
