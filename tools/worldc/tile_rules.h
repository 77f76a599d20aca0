// What the game makes of tile values: the hero's quadrant collision flags,
// the walkers' and the bat's walkable sets, the tiles a spawn may land on,
// water, stairs and the door tiles that doors write into a room.
#pragma once

#include <cstdint>

#include "wmap.h"

namespace World {

// Quadrant bits of the hero's collision flags.
inline constexpr int kTopLeft = 1;
inline constexpr int kTopRight = 2;
inline constexpr int kBottomLeft = 4;
inline constexpr int kBottomRight = 8;
inline constexpr int kAllQuadrants = 15;

inline constexpr uint8_t kWaterTile = 48;
inline constexpr uint8_t kStairsTile = 64;
inline constexpr uint8_t kPushBlockMark = 16;  // layer 1

// Quadrants of `tile` that block the hero.
int HeroBlockFlags(uint8_t tile);
// True when the hero may stand on quadrant `quadrant` (0 top-left, 1
// top-right, 2 bottom-left, 3 bottom-right) of `tile`.
bool HeroQuadrantFree(uint8_t tile, int quadrant);
// The walkers' (and the Murla's) walkable set.
bool WalkerWalkable(uint8_t tile);
// The bat's set: the walkers' and the three tiles only bats cross.
bool BatWalkable(uint8_t tile);
bool OnlyBatsCross(uint8_t tile);
// Tiles a spawned entity may be placed on.
bool SpawnFree(uint8_t tile);

// Door cells of a wall: one cell for the side walls, two for top and bottom.
struct DoorCells {
  int count = 0;
  int column[2] = {0, 0};
  int row = 0;
};
DoorCells DoorCellsOf(int wall);
// The tile a door of `state` (1 to 4) writes into cell `index` of `wall`;
// 0 for other states.
uint8_t DoorTile(int wall, int state, int index);
// True when `tile` is one of the door tiles of `wall`, in any state.
bool IsDoorTileOf(int wall, int index, uint8_t tile);

}  // namespace World
