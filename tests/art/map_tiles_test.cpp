// Tilemap 0 against the game's tile rules: the catalogue the world is built
// with agrees with them, and every tile the game walks on, spawns on, floods,
// descends or turns into a door is drawn.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "bmp.h"
#include "catalogue.h"
#include "tile_rules.h"
#include "wmap.h"

namespace {

constexpr int kTile = 32;

// Values a thrown rock flies over; it breaks on every other one.
const std::set<int> kRockPassable = {0, 9, 10, 16, 25, 32, 64, 97};

std::set<int> DoorTiles() {
  std::set<int> tiles;
  for (int wall = 0; wall < World::kWallCount; ++wall)
    for (int state = World::kDoorOpen; state <= World::kDoorLocked; ++state)
      for (int index = 0; index < World::DoorCellsOf(wall).count; ++index)
        tiles.insert(World::DoorTile(wall, state, index));
  return tiles;
}

class MapTiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(catalogue.Load(PRAEL_ART_SOURCE_DIR "/tiles.txt", &error)) << error;
    ASSERT_TRUE(ImageKit::ReadBmp("gfx/maptiles.bmp", &sheet, &error)) << error;
    ASSERT_EQ(sheet.Width(), 16 * kTile);
    ASSERT_EQ(sheet.Height(), 16 * kTile);
  }

  int TransparentPixels(int value) const {
    int transparent = 0;
    for (int y = 0; y < kTile; ++y)
      for (int x = 0; x < kTile; ++x)
        if (sheet.At((value % 16) * kTile + x, (value / 16) * kTile + y) == ImageKit::kMagenta) ++transparent;
    return transparent;
  }

  bool HasRole(int value, const char* role) const { return catalogue.Entry(value).roles.count(role) != 0; }

  ArtC::Catalogue catalogue;
  ImageKit::Image sheet;
};

}  // namespace

TEST_F(MapTiles, CatalogueAgreesWithTheGameRules) {
  const std::set<int> doors = DoorTiles();
  for (int value = 0; value < 256; ++value) {
    SCOPED_TRACE("tile " + std::to_string(value) + " " + catalogue.Name(value));
    const auto tile = static_cast<uint8_t>(value);
    EXPECT_EQ(catalogue.Entry(value).flags, World::HeroBlockFlags(tile));
    EXPECT_EQ(HasRole(value, "walk"), World::WalkerWalkable(tile));
    EXPECT_EQ(HasRole(value, "spawn"), World::SpawnFree(tile));
    EXPECT_EQ(HasRole(value, "bat"), World::OnlyBatsCross(tile));
    EXPECT_EQ(HasRole(value, "water"), tile == World::kWaterTile);
    EXPECT_EQ(HasRole(value, "stairs"), tile == World::kStairsTile);
    EXPECT_EQ(HasRole(value, "door"), doors.count(value) != 0);
    EXPECT_EQ(HasRole(value, "arch"), value >= 120 && value <= 123);
    EXPECT_EQ(HasRole(value, "rock"), kRockPassable.count(value) != 0);
  }
}

TEST_F(MapTiles, EveryValueIsDrawn) {
  for (int value = 0; value < 256; ++value)
    EXPECT_LT(TransparentPixels(value), kTile * kTile) << "tile " << value;
}

TEST_F(MapTiles, GroundTheGameUsesIsFullyOpaque) {
  // The room is drawn over a black screen: a hole in a floor, water, stairs or
  // door tile would show black.
  std::set<int> solid = DoorTiles();
  for (int value = 0; value < 256; ++value) {
    const auto tile = static_cast<uint8_t>(value);
    if (World::WalkerWalkable(tile) || World::SpawnFree(tile) || World::OnlyBatsCross(tile) ||
        kRockPassable.count(value))
      solid.insert(value);
  }
  solid.insert(World::kWaterTile);
  solid.insert(World::kStairsTile);
  for (int value : solid)
    EXPECT_EQ(TransparentPixels(value), 0) << "tile " << value << " " << catalogue.Name(value);
}

TEST_F(MapTiles, ArchesLeaveTheWayThroughOpen) {
  // An arch is drawn over the heroes in a doorway: a lintel, and below it
  // nothing, so whoever passes stays visible.
  for (int value = 120; value <= 123; ++value) {
    const int transparent = TransparentPixels(value);
    EXPECT_GT(transparent, kTile * kTile / 3) << "tile " << value;
    EXPECT_LT(transparent, kTile * kTile) << "tile " << value;
  }
}

TEST_F(MapTiles, DoorStatesLookDifferent) {
  for (int wall = 0; wall < World::kWallCount; ++wall) {
    const uint8_t open = World::DoorTile(wall, World::kDoorOpen, 0);
    const uint8_t shut = World::DoorTile(wall, World::kDoorShutter, 0);
    const uint8_t locked = World::DoorTile(wall, World::kDoorLocked, 0);
    auto pixels = [&](int value) {
      return sheet.Crop({(value % 16) * kTile, (value / 16) * kTile, kTile, kTile}).Pixels();
    };
    EXPECT_NE(pixels(open), pixels(shut)) << "wall " << wall;
    EXPECT_NE(pixels(shut), pixels(locked)) << "wall " << wall;
    EXPECT_NE(pixels(open), pixels(locked)) << "wall " << wall;
  }
}
