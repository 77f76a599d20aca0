// The world map file ("*.wmap") as the game loads it.
//
// Binary, no header, little-endian, exactly 275,968 bytes:
//   offset 0        168,960 bytes of tiles: two layers of 84,480 bytes, each
//                   330 rows of 256 one-byte tile values (row r, column c at
//                   r * 256 + c within its layer). Layer 0 is what is drawn
//                   and walked on; layer 1 holds push blocks (value 16) and
//                   marks that stop a push block's slide (any other non-zero).
//   offset 168,960  608 room records of 176 bytes, room (x, y) at y * 16 + x
//                   (16 by 38 records; only the first 30 rows of rooms have
//                   tiles).
// Room record (the bytes not listed are written as zero and not read):
//   0    int32  startCell: where stairs in this room lead, row * 256 + column
//   9+2t int8   minimum count of entity type t spawned in the room, t < 64
//   10+2t int8  maximum count of type t
//   138  byte   exitFlag: leaving downwards returns to the last stairs
//   139  byte   dungeonFlag: doors are drawn, dungeon music plays
//   160  int32  door state of the top wall, 164 bottom, 168 right, 172 left
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace World {

inline constexpr int kMapColumns = 256;
inline constexpr int kLayerRows = 330;
inline constexpr int kLayerBytes = kMapColumns * kLayerRows;  // 84,480
inline constexpr int kLayers = 2;
inline constexpr int kRoomColumns = 16;  // tiles across a room
inline constexpr int kRoomRows = 11;     // tiles down a room
inline constexpr int kWorldRoomsX = 16;
inline constexpr int kWorldRoomsY = kLayerRows / kRoomRows;  // 30 rooms with tiles
inline constexpr int kRecordRoomsY = 38;
inline constexpr int kRoomCount = kWorldRoomsX * kRecordRoomsY;  // 608
inline constexpr int kRoomRecordBytes = 176;
inline constexpr int kTileBytes = kLayerBytes * kLayers;                       // 168,960
inline constexpr int kFileBytes = kTileBytes + kRoomCount * kRoomRecordBytes;  // 275,968
inline constexpr int kSpawnTypes = 64;

// Walls in the order of the door fields of the record.
enum Wall { kWallTop = 0, kWallBottom = 1, kWallRight = 2, kWallLeft = 3 };
inline constexpr int kWallCount = 4;
const char* WallName(int wall);

enum DoorState { kDoorNone = 0, kDoorOpen = 1, kDoorPushBlock = 2, kDoorShutter = 3, kDoorLocked = 4 };

struct SpawnRange {
  int8_t minimum = 0;
  int8_t maximum = 0;
};

// The fields of a room record the game interprets.
struct RoomRecord {
  int32_t startCell = 0;
  std::array<SpawnRange, kSpawnTypes> spawns{};
  uint8_t exitFlag = 0;
  uint8_t dungeonFlag = 0;
  std::array<int32_t, kWallCount> doors{};  // indexed by Wall

  // True when any type may be spawned (the game then picks free tiles).
  bool IsPopulated() const;
  bool Spawns(int type) const { return spawns[type].maximum > 0; }
};

struct RoomId {
  int x = 0;
  int y = 0;
  bool operator==(const RoomId&) const = default;
};

class WorldMap {
 public:
  WorldMap();

  // Tile of layer `layer` at map column `column`, row `row` (both over the
  // whole map). Outside the layer it gives `outside`.
  uint8_t Tile(int layer, int column, int row, int outside = 255) const;
  void SetTile(int layer, int column, int row, uint8_t value);
  // Cell (c, r) of room `room`, 0 <= c < 16, 0 <= r < 11.
  uint8_t RoomTile(int layer, RoomId room, int c, int r) const;
  void SetRoomTile(int layer, RoomId room, int c, int r, uint8_t value);

  RoomRecord& Room(RoomId room) { return rooms_[room.y * kWorldRoomsX + room.x]; }
  const RoomRecord& Room(RoomId room) const { return rooms_[room.y * kWorldRoomsX + room.x]; }

  // The file image, byte for byte.
  std::vector<uint8_t> Serialize() const;
  // Fails unless `bytes` is exactly one file.
  bool Deserialize(const std::vector<uint8_t>& bytes, std::string* error);

  bool Save(const std::string& path, std::string* error) const;
  bool Load(const std::string& path, std::string* error);

  // True when the room shows nothing but `fill` on layer 0, nothing on layer 1
  // and has a record of zeros: space that is not part of the world.
  bool IsUnusedRoom(RoomId room, uint8_t fill) const;

 private:
  std::vector<uint8_t> tiles_;
  std::vector<RoomRecord> rooms_;
};

// Map cell of room cell (c, r), as the record's startCell counts it.
int32_t CellIndex(RoomId room, int c, int r);

}  // namespace World
