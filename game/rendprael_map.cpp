// PraelRenderer: the world map, its room records and the tile flags.
//
// Map file (".wmap"), no header, little-endian, 275,968 bytes:
//   offset 0        168,960 tile bytes: two layers of 84,480 bytes (330 rows
//                   of 256 tiles each), read as 660 rows of 256; row r,
//                   column c at r * 256 + c
//   offset 168,960  608 room records of 176 bytes (see rendprael_room.h),
//                   room (x, y) at index y * 16 + x
#include <cstdio>
#include <cstring>

#include "game/rendprael.h"
#include "orvix/logging.h"

namespace {

struct TileFlagRun {
  unsigned char first;
  unsigned char last;
  uint32_t flags;
};

// Tiles not listed are free.
constexpr TileFlagRun kTileFlagRuns[] = {
    {1, 2, 15},
    {7, 8, 15},
    {17, 18, 15},
    {23, 24, 15},
    {33, 34, 15},
    {39, 40, 15},
    {48, 56, 15},
    {59, 60, 15},
    {63, 63, 15},
    {66, 67, 15},
    {78, 79, 15},
    {92, 95, 15},
    {110, 111, 15},
    {126, 127, 15},
    {136, 141, 15},
    {143, 143, 15},
    {150, 159, 15},
    {162, 164, 15},
    {166, 167, 15},
    {174, 255, 15},
    // Corner pieces: one quadrant free.
    {3, 3, 7},
    {19, 19, 7},
    {35, 35, 7},
    {4, 4, 11},
    {20, 20, 11},
    {36, 36, 11},
    {5, 5, 13},
    {21, 21, 13},
    {37, 37, 13},
    {6, 6, 14},
    {22, 22, 14},
    {38, 38, 14},
    // Half-blocked door and arch cells.
    {120, 121, 3},
    {172, 173, 3},
    {168, 168, 5},
    {170, 170, 5},
    {169, 169, 10},
    {171, 171, 10},
};

}  // namespace

bool PraelRenderer::LoadMap(const char* path) {
  Orvix::COrvixLogger& log = Orvix::CSingleton<Orvix::COrvixLogger>::Instance();
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    log.Log("PraelRenderer::LoadMap: cannot open %s", path);
    return false;
  }
  ++m_mapRevision;
  // Whatever a short file lacks is zero rather than what the previous map held.
  std::memset(m_tiles, 0, sizeof m_tiles);
  std::memset(m_rooms, 0, sizeof m_rooms);
  const size_t tileBytes = std::fread(m_tiles, 1, kMapFileTileBytes, file);
  const size_t roomBytes = tileBytes == kMapFileTileBytes ? std::fread(m_rooms, 1, sizeof m_rooms, file) : 0;
  std::fclose(file);

  const size_t total = tileBytes + roomBytes;
  if (total < static_cast<size_t>(kMapFileBytes)) {
    log.Log("PraelRenderer::LoadMap: %s is %zu bytes, shorter than 275,968 bytes; the rest stays zero", path,
            total);
    return false;
  }
  return true;
}

void PraelRenderer::BuildTileFlags() {
  std::memset(m_tileFlags, 0, sizeof m_tileFlags);
  for (const TileFlagRun& run : kTileFlagRuns) {
    for (unsigned tile = run.first; tile <= run.last; ++tile) m_tileFlags[tile] = run.flags;
  }
}

RoomRecord* PraelRenderer::GetRoomRecord(int roomX, int roomY) {
  if (roomX < 0 || roomX >= kWorldRoomsWide || roomY < 0 || roomY >= kWorldRoomsHigh) return nullptr;
  return &m_rooms[roomY * kWorldRoomsWide + roomX];
}

RoomRecord* PraelRenderer::GetCurrentRoomRecord() { return GetRoomRecord(m_viewRoomX, m_viewRoomY); }

uint8_t PraelRenderer::GetMapTile(int x, int y, int layer) const {
  if (x < 0 || x >= kMapWidth || y < 0 || layer < 0) return 0;
  const int64_t index = static_cast<int64_t>(layer) * kLayerBytes + static_cast<int64_t>(y) * kMapWidth + x;
  return index < kTileBytes ? m_tiles[index] : 0;
}

bool PraelRenderer::TileBlocks(unsigned char tile, int mask) const {
  return (m_tileFlags[tile] & static_cast<uint32_t>(mask)) != 0;
}

void PraelRenderer::SetView(int roomX, int roomY, float scrollX, float scrollY) {
  m_viewRoomX = roomX;
  m_viewRoomY = roomY;
  m_viewScrollX = scrollX;
  m_viewScrollY = scrollY;
}
