#include "tile_rules.h"

#include <array>

namespace World {

namespace {

struct FlagRange {
  int first;
  int last;
  int flags;
};

// The hero's collision table; every value not listed is free.
constexpr FlagRange kHeroFlags[] = {
    {1, 2, 15},     {7, 8, 15},     {17, 18, 15},   {23, 24, 15},   {33, 34, 15},   {39, 40, 15},
    {48, 56, 15},   {59, 60, 15},   {63, 63, 15},   {66, 67, 15},   {78, 79, 15},   {92, 95, 15},
    {110, 111, 15}, {126, 127, 15}, {136, 141, 15}, {143, 143, 15}, {150, 159, 15}, {162, 164, 15},
    {166, 167, 15}, {174, 255, 15}, {3, 3, 7},      {19, 19, 7},    {35, 35, 7},    {4, 4, 11},
    {20, 20, 11},   {36, 36, 11},   {5, 5, 13},     {21, 21, 13},   {37, 37, 13},   {6, 6, 14},
    {22, 22, 14},   {38, 38, 14},   {120, 121, 3},  {172, 173, 3},  {168, 168, 5},  {170, 170, 5},
    {169, 169, 10}, {171, 171, 10},
};

std::array<uint8_t, 256> BuildHeroFlags() {
  std::array<uint8_t, 256> flags{};
  for (const FlagRange& range : kHeroFlags) {
    for (int tile = range.first; tile <= range.last; ++tile) flags[tile] = static_cast<uint8_t>(range.flags);
  }
  return flags;
}

const std::array<uint8_t, 256>& HeroFlags() {
  static const std::array<uint8_t, 256> kFlags = BuildHeroFlags();
  return kFlags;
}

struct DoorWall {
  DoorCells cells;
  uint8_t tiles[3][2];  // open; push-block and shutter; locked
};

// Door cells and tiles, indexed by Wall (top, bottom, right, left).
constexpr DoorWall kDoorWalls[kWallCount] = {
    {{2, {7, 8}, 1}, {{168, 169}, {152, 153}, {136, 137}}},
    {{2, {7, 8}, 9}, {{170, 171}, {154, 155}, {138, 139}}},
    {{1, {14, 0}, 5}, {{172, 0}, {156, 0}, {140, 0}}},
    {{1, {1, 0}, 5}, {{173, 0}, {157, 0}, {141, 0}}},
};

}  // namespace

int HeroBlockFlags(uint8_t tile) { return HeroFlags()[tile]; }

bool HeroQuadrantFree(uint8_t tile, int quadrant) { return (HeroFlags()[tile] & (1 << quadrant)) == 0; }

bool WalkerWalkable(uint8_t tile) {
  switch (tile) {
    case 0:
    case 9:
    case 10:
    case 16:
    case 18:
    case 25:
    case 32:
    case 64:
    case 160:
    case 161:
      return true;
    default:
      return false;
  }
}

bool OnlyBatsCross(uint8_t tile) { return tile >= 162 && tile <= 164; }

bool BatWalkable(uint8_t tile) { return WalkerWalkable(tile) || OnlyBatsCross(tile); }

bool SpawnFree(uint8_t tile) {
  switch (tile) {
    case 0:
    case 16:
    case 32:
    case 64:
    case 145:
    case 160:
    case 161:
      return true;
    default:
      return false;
  }
}

DoorCells DoorCellsOf(int wall) {
  return wall >= 0 && wall < kWallCount ? kDoorWalls[wall].cells : DoorCells{};
}

uint8_t DoorTile(int wall, int state, int index) {
  if (wall < 0 || wall >= kWallCount || index < 0 || index >= kDoorWalls[wall].cells.count) return 0;
  switch (state) {
    case kDoorOpen:
      return kDoorWalls[wall].tiles[0][index];
    case kDoorPushBlock:
    case kDoorShutter:
      return kDoorWalls[wall].tiles[1][index];
    case kDoorLocked:
      return kDoorWalls[wall].tiles[2][index];
    default:
      return 0;
  }
}

bool IsDoorTileOf(int wall, int index, uint8_t tile) {
  for (int state = kDoorOpen; state <= kDoorLocked; ++state) {
    if (DoorTile(wall, state, index) == tile) return true;
  }
  return false;
}

}  // namespace World
