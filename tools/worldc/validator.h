// Finds the faults in a world map that would hang, trap or confuse a player,
// each named with its room.
#pragma once

#include <string>
#include <vector>

#include "wmap.h"

namespace World {

enum class FaultKind {
  kNoFreeTile,          // a populated room whose inner 12 x 7 offers no spawn tile: spawning never ends
  kMurlaWithoutWater,   // Murlas in a room with no water in its inner 14 x 9
  kStairsWithoutStart,  // stairs lead to a cell the hero cannot stand on
  kEdgeMismatch,        // a room edge open on one side and walled on the other, or open to the world's edge
  kStartTileBlocked,    // a hero's start tile is not walkable
  kDoorWithoutCells,    // a door state on a wall whose door cells hold no door
  kDoorNeverOpens,   // a push-block door with no push block, a door outside a dungeon room, an unknown state
  kPushBlockPath,    // a push block stuck by layer-1 values, or free to slide into a wall
  kBadSpawnRange,    // a spawn minimum above its maximum (the game divides by zero) or below 0
  kUnreachableRoom,  // a room with monsters, push blocks or flags that no hero can reach
  kNoWayBack,        // stairs into a part of the world that no exit leaves
};

const char* FaultKindName(FaultKind kind);

struct Fault {
  FaultKind kind;
  RoomId room;
  std::string text;
};

// "room (x, y) [kind]: text"
std::string FormatFault(const Fault& fault);

std::vector<Fault> ValidateMap(const WorldMap& map);

}  // namespace World
