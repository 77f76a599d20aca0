// RoomRecord: what the world map keeps about one room (one screen of 16 by
// 11 tiles). The record is stored in the map file exactly as laid out here,
// 176 bytes, little-endian; bytes the game does not interpret are carried
// unchanged.
//
//   offset  size  field
//     0      4    startCell    return point: map row * 256 + map column
//     4      5    (carried)
//     9    128    spawnCounts  per entity type id t: minimum, maximum (signed)
//   137      1    (carried)
//   138      1    exitFlag     leaving downwards returns to the return point
//   139      1    dungeonFlag  doors are drawn, the dungeon music plays
//   140     20    (carried)
//   160     16    doorTop, doorBottom, doorRight, doorLeft (DoorState values)
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// The state of one wall's door.
enum DoorState : int32_t {
  DOOR_NONE = 0,
  DOOR_OPEN = 1,
  DOOR_PUSH_BLOCK = 2,  // closed until a push block is moved
  DOOR_SHUTTER = 3,     // closed until the room is cleared
  DOOR_LOCKED = 4,      // opened with a key
};

struct RoomRecord {
  static constexpr int kSpawnTypes = 64;

  int32_t startCell;
  uint8_t carried4[5];
  int8_t spawnCounts[kSpawnTypes][2];  // [type id][0 = minimum, 1 = maximum]
  uint8_t carried137;
  uint8_t exitFlag;
  uint8_t dungeonFlag;
  uint8_t carried140[20];
  int32_t doorTop;
  int32_t doorBottom;
  int32_t doorRight;
  int32_t doorLeft;
};

// The record is read from and written to the map file as raw bytes.
static_assert(std::endian::native == std::endian::little, "the map file is little-endian");
static_assert(sizeof(RoomRecord) == 176);
static_assert(offsetof(RoomRecord, spawnCounts) == 9);
static_assert(offsetof(RoomRecord, exitFlag) == 138);
static_assert(offsetof(RoomRecord, dungeonFlag) == 139);
static_assert(offsetof(RoomRecord, doorTop) == 160);
static_assert(offsetof(RoomRecord, doorLeft) == 172);
