// Walks the world as a hero can: on foot over the tiles the hero's collision
// lets through (on the 16-pixel grid the hero keeps to), across room edges,
// down stairs to the stairs room's start cell, and back up through the bottom
// edge of a room with the exit flag. Doors follow their state: open doors let
// the hero through, locked doors take a key, and push-block and shutter doors
// open once the hero has stood inside their room (where the block is pushed
// or the monsters are beaten).
#pragma once

#include <vector>

#include "wmap.h"

namespace World {

// One stay in a part of the world: the start, or a trip down one staircase.
struct WalkLeg {
  bool fromStairs = false;
  RoomId stairsRoom;                    // the room whose stairs began the leg
  int stairsColumn = 0, stairsRow = 0;  // map cell the hero comes back to
  bool arrivalFits = false;             // the hero can stand where the stairs lead
  RoomId arrivalRoom;
  bool reachesExit = false;        // an exit edge takes the hero back up
  std::vector<bool> roomsReached;  // by y * 16 + x, rooms with tiles only
};

struct WalkResult {
  bool startFits = false;
  std::vector<WalkLeg> legs;       // legs[0] is the walk from the start tile
  std::vector<bool> roomsReached;  // over all legs
  // Rooms where the hero got past the door cells into the middle of the room.
  std::vector<bool> insideReached;
  int lockedDoorsMet = 0;  // locked doors in the rooms reached: keys a hero may need

  // The hero gets past the room's doorways into its middle (columns 2 to 13,
  // rows 2 to 8), where monsters are placed and push blocks wait.
  bool Reached(RoomId room) const { return insideReached[room.y * kWorldRoomsX + room.x]; }
};

WalkResult WalkWorld(const WorldMap& map);

// True when the hero's collision box fits with its top-left corner at pixel
// (x, y), as the hero tests a step (layer 0; outside the layer blocks).
bool HeroFits(const WorldMap& map, int x, int y);

// The start tiles of the two heroes (server, client).
inline constexpr int kStartColumn = 120;
inline constexpr int kStartRow = 83;
inline constexpr int kClientStartColumn = 118;

}  // namespace World
