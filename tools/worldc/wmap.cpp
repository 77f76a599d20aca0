#include "wmap.h"

#include <cstdio>
#include <memory>

namespace World {

namespace {

// Record offsets of the fields the game reads.
constexpr int kStartCellOffset = 0;
constexpr int kSpawnOffset = 9;
constexpr int kExitFlagOffset = 138;
constexpr int kDungeonFlagOffset = 139;
constexpr int kDoorOffset = 160;

void PutInt32(uint8_t* at, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetInt32(const uint8_t* at) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(at[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

}  // namespace

const char* WallName(int wall) {
  static const char* const kNames[kWallCount] = {"top", "bottom", "right", "left"};
  return wall >= 0 && wall < kWallCount ? kNames[wall] : "?";
}

bool RoomRecord::IsPopulated() const {
  for (const SpawnRange& range : spawns) {
    if (range.maximum > 0) return true;
  }
  return false;
}

int32_t CellIndex(RoomId room, int c, int r) {
  return (room.y * kRoomRows + r) * kMapColumns + room.x * kRoomColumns + c;
}

WorldMap::WorldMap() : tiles_(kTileBytes, 0), rooms_(kRoomCount) {}

uint8_t WorldMap::Tile(int layer, int column, int row, int outside) const {
  if (layer < 0 || layer >= kLayers || column < 0 || column >= kMapColumns || row < 0 || row >= kLayerRows) {
    return static_cast<uint8_t>(outside);
  }
  return tiles_[layer * kLayerBytes + row * kMapColumns + column];
}

void WorldMap::SetTile(int layer, int column, int row, uint8_t value) {
  if (layer < 0 || layer >= kLayers || column < 0 || column >= kMapColumns || row < 0 || row >= kLayerRows) {
    return;
  }
  tiles_[layer * kLayerBytes + row * kMapColumns + column] = value;
}

uint8_t WorldMap::RoomTile(int layer, RoomId room, int c, int r) const {
  return Tile(layer, room.x * kRoomColumns + c, room.y * kRoomRows + r);
}

void WorldMap::SetRoomTile(int layer, RoomId room, int c, int r, uint8_t value) {
  SetTile(layer, room.x * kRoomColumns + c, room.y * kRoomRows + r, value);
}

std::vector<uint8_t> WorldMap::Serialize() const {
  std::vector<uint8_t> bytes(kFileBytes, 0);
  std::copy(tiles_.begin(), tiles_.end(), bytes.begin());
  for (int i = 0; i < kRoomCount; ++i) {
    const RoomRecord& room = rooms_[i];
    uint8_t* record = bytes.data() + kTileBytes + i * kRoomRecordBytes;
    PutInt32(record + kStartCellOffset, room.startCell);
    for (int t = 0; t < kSpawnTypes; ++t) {
      record[kSpawnOffset + 2 * t] = static_cast<uint8_t>(room.spawns[t].minimum);
      record[kSpawnOffset + 2 * t + 1] = static_cast<uint8_t>(room.spawns[t].maximum);
    }
    record[kExitFlagOffset] = room.exitFlag;
    record[kDungeonFlagOffset] = room.dungeonFlag;
    for (int wall = 0; wall < kWallCount; ++wall) PutInt32(record + kDoorOffset + 4 * wall, room.doors[wall]);
  }
  return bytes;
}

bool WorldMap::Deserialize(const std::vector<uint8_t>& bytes, std::string* error) {
  if (bytes.size() != static_cast<size_t>(kFileBytes)) {
    if (error)
      *error = "a map file has " + std::to_string(kFileBytes) + " bytes, not " + std::to_string(bytes.size());
    return false;
  }
  std::copy(bytes.begin(), bytes.begin() + kTileBytes, tiles_.begin());
  for (int i = 0; i < kRoomCount; ++i) {
    RoomRecord& room = rooms_[i];
    const uint8_t* record = bytes.data() + kTileBytes + i * kRoomRecordBytes;
    room.startCell = GetInt32(record + kStartCellOffset);
    for (int t = 0; t < kSpawnTypes; ++t) {
      room.spawns[t].minimum = static_cast<int8_t>(record[kSpawnOffset + 2 * t]);
      room.spawns[t].maximum = static_cast<int8_t>(record[kSpawnOffset + 2 * t + 1]);
    }
    room.exitFlag = record[kExitFlagOffset];
    room.dungeonFlag = record[kDungeonFlagOffset];
    for (int wall = 0; wall < kWallCount; ++wall)
      room.doors[wall] = GetInt32(record + kDoorOffset + 4 * wall);
  }
  return true;
}

bool WorldMap::Save(const std::string& path, std::string* error) const {
  const std::vector<uint8_t> bytes = Serialize();
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
      std::fflush(file.get()) != 0) {
    if (error) *error = "short write to " + path;
    return false;
  }
  return true;
}

bool WorldMap::Load(const std::string& path, std::string* error) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  // One byte more than a map, so a longer file is told apart from a map.
  std::vector<uint8_t> bytes(kFileBytes + 1);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  return Deserialize(bytes, error);
}

bool WorldMap::IsUnusedRoom(RoomId room, uint8_t fill) const {
  const RoomRecord& record = Room(room);
  if (record.startCell != 0 || record.exitFlag != 0 || record.dungeonFlag != 0 || record.IsPopulated())
    return false;
  for (int32_t door : record.doors) {
    if (door != 0) return false;
  }
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      if (RoomTile(0, room, c, r) != fill || RoomTile(1, room, c, r) != 0) return false;
    }
  }
  return true;
}

}  // namespace World
