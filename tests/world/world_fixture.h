// Small maps for the world tests: a map of solid rock with the start room
// hollowed out, which the validator accepts, and helpers to carve more.
#pragma once

#include "tile_rules.h"
#include "wmap.h"

namespace WorldTest {

inline constexpr uint8_t kRock = 238;
inline constexpr uint8_t kGround = 0;
inline constexpr World::RoomId kStartRoom{7, 7};

// Fills cells (c0..c1, r0..r1) of `room` on layer 0 with `value`.
inline void Carve(World::WorldMap& map, World::RoomId room, int c0, int c1, int r0, int r1, uint8_t value) {
  for (int r = r0; r <= r1; ++r) {
    for (int c = c0; c <= c1; ++c) map.SetRoomTile(0, room, c, r, value);
  }
}

// Rock everywhere, the start room's inside (all but its outer ring) ground.
inline World::WorldMap SoundMap() {
  World::WorldMap map;
  for (int y = 0; y < World::kWorldRoomsY; ++y) {
    for (int x = 0; x < World::kWorldRoomsX; ++x) Carve(map, World::RoomId{x, y}, 0, 15, 0, 10, kRock);
  }
  Carve(map, kStartRoom, 1, 14, 1, 9, kGround);
  return map;
}

// Turns `room` into a cave left through the middle of its bottom edge: the
// inside is ground, the exit flag is set, and the two cells under the way
// out in the room below are ground too.
inline void MakeCave(World::WorldMap& map, World::RoomId room) {
  Carve(map, room, 1, 14, 1, 9, kGround);
  Carve(map, room, 7, 8, 10, 10, kGround);
  Carve(map, World::RoomId{room.x, room.y + 1}, 7, 8, 0, 0, kGround);
  map.Room(room).exitFlag = 1;
}

}  // namespace WorldTest
