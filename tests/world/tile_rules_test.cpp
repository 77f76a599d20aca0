// The world compiler's tile rules against the tile catalogue that the art and
// the game share (content/art/tiles.txt), so the two cannot drift apart.
#include "tile_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "catalogue.h"

namespace {

TEST(WorldTileRules, AgreeWithTheTileCatalogue) {
  ArtC::Catalogue catalogue;
  std::string error;
  ASSERT_TRUE(catalogue.Load(PRAEL_TILE_CATALOGUE, &error)) << error;
  std::set<int> doorTiles;
  for (int wall = 0; wall < World::kWallCount; ++wall) {
    for (int state = World::kDoorOpen; state <= World::kDoorLocked; ++state) {
      for (int i = 0; i < World::DoorCellsOf(wall).count; ++i)
        doorTiles.insert(World::DoorTile(wall, state, i));
    }
  }
  for (int value = 0; value < 256; ++value) {
    const ArtC::CatalogueEntry& entry = catalogue.Entry(value);
    const uint8_t tile = static_cast<uint8_t>(value);
    SCOPED_TRACE("tile " + std::to_string(value) + " " + entry.name);
    EXPECT_EQ(World::HeroBlockFlags(tile), entry.flags);
    EXPECT_EQ(World::WalkerWalkable(tile), entry.roles.count("walk") == 1);
    EXPECT_EQ(World::SpawnFree(tile), entry.roles.count("spawn") == 1);
    EXPECT_EQ(World::OnlyBatsCross(tile), entry.roles.count("bat") == 1);
    EXPECT_EQ(tile == World::kWaterTile, entry.roles.count("water") == 1);
    EXPECT_EQ(tile == World::kStairsTile, entry.roles.count("stairs") == 1);
    EXPECT_EQ(doorTiles.count(value) == 1, entry.roles.count("door") == 1);
  }
}

}  // namespace
