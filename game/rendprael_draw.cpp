// PraelRenderer: the room's tiles and its doors.
#include <algorithm>
#include <cmath>

#include "game/rendprael.h"
#include "game/sound.h"

namespace {

constexpr int kDoorSound = 23;

// One wall's door: the map cells it occupies, the tiles written into them
// for each closed or open state, and the arch drawn over the doorway.
struct DoorWall {
  int32_t RoomRecord::*state;
  int cellCount;  // 1 for a side wall, 2 for the top and bottom walls
  int column;     // of the first cell, within the room
  int row;
  uint8_t openTiles[2];
  uint8_t closedTiles[2];  // until a push block moves or the room is cleared
  uint8_t lockedTiles[2];
  uint8_t archTile;
  int archX;  // of the first arch tile; a second one follows 32 pixels right
  int archY;
};

// In drawing order: left, right, top, bottom.
constexpr DoorWall kDoorWalls[] = {
    {&RoomRecord::doorLeft, 1, 1, 5, {173, 0}, {157, 0}, {141, 0}, 121, 0, 288},
    {&RoomRecord::doorRight, 1, 14, 5, {172, 0}, {156, 0}, {140, 0}, 120, 480, 288},
    {&RoomRecord::doorTop, 2, 7, 1, {168, 169}, {152, 153}, {136, 137}, 122, 224, 128},
    {&RoomRecord::doorBottom, 2, 7, 9, {170, 171}, {154, 155}, {138, 139}, 123, 224, 448},
};

// The map tiles of a door state; null for a state that writes nothing.
const uint8_t* DoorTiles(const DoorWall& wall, int32_t state) {
  switch (state) {
    case DOOR_OPEN:
      return wall.openTiles;
    case DOOR_PUSH_BLOCK:
    case DOOR_SHUTTER:
      return wall.closedTiles;
    case DOOR_LOCKED:
      return wall.lockedTiles;
    default:
      return nullptr;
  }
}

}  // namespace

bool PraelRenderer::CanDrawRoom(int roomX, int roomY, float scrollX, float scrollY) {
  if (!(scrollX >= -1.0f && scrollX <= 1.0f && scrollY >= -1.0f && scrollY <= 1.0f)) return false;
  if (roomX < 0 || roomX >= kWorldRoomsWide || roomY < 0 || roomY >= kWorldRoomsHigh) return false;
  return m_renderTiles && GetTilemap(kMapTilemap) != nullptr && m_screen != nullptr;
}

void PraelRenderer::DrawRoom(int roomX, int roomY, float scrollX, float scrollY) {
  if (!CanDrawRoom(roomX, roomY, scrollX, scrollY)) return;
  if (!PrepareRoomLayer(roomX, roomY, scrollX, scrollY)) {
    DrawRoomTiles(roomX, roomY, scrollX, scrollY);
    return;
  }
  // What the HUD and footer cover is painted over later anyway.
  const int top = std::max(m_roomLayerTop, OpaqueHudBottom());
  const int bottom = std::min(m_roomLayer->h, OpaqueFooterTop());
  if (top >= bottom) return;
  SDL_Rect band = {0, static_cast<Sint16>(top), static_cast<Uint16>(m_roomLayer->w),
                   static_cast<Uint16>(bottom - top)};
  SDL_Rect destination = band;
  SDL_BlitSurface(m_roomLayer, &band, m_screen, &destination);
}

bool PraelRenderer::PrepareRoomLayer(int roomX, int roomY, float scrollX, float scrollY) {
  if (!CanDrawRoom(roomX, roomY, scrollX, scrollY)) return false;
  const RoomLayerKey key = {roomX, roomY, scrollX, scrollY, m_mapRevision, GetTilemap(kMapTilemap)->surface};
  if (m_roomLayer != nullptr && key == m_roomLayerKey) return true;
  return PaintRoomLayer(key);
}

int PraelRenderer::OpaqueHudBottom() const {
  const bool covers = m_hudImage != nullptr && m_screen != nullptr && m_hudImage->width >= m_screen->w;
  return covers ? m_hudImage->height : 0;
}

int PraelRenderer::OpaqueFooterTop() const {
  if (m_screen == nullptr) return 0;
  const Orvix::Image* footer = m_footerImage;
  const bool covers =
      footer != nullptr && footer->width >= m_screen->w && kFooterTop + footer->height >= m_screen->h;
  return covers ? kFooterTop : m_screen->h;
}

// The room layer is copied opaque from its top row down and the HUD and
// footer images are opaque too, so clearing beneath them is wasted: in the
// usual frame they cover every row and nothing is cleared at all.
void PraelRenderer::ClearUncoveredRows() {
  if (m_screen == nullptr) return;
  const int hudBottom = OpaqueHudBottom();
  const int roomTop =
      PrepareRoomLayer(m_viewRoomX, m_viewRoomY, m_viewScrollX, m_viewScrollY) ? m_roomLayerTop : m_screen->h;
  if (hudBottom >= roomTop) return;
  SDL_Rect rows = {0, static_cast<Sint16>(hudBottom), static_cast<Uint16>(m_screen->w),
                   static_cast<Uint16>(roomTop - hudBottom)};
  SDL_FillRect(m_screen, &rows, 0);
}

int PraelRenderer::DrawRoomTiles(int roomX, int roomY, float scrollX, float scrollY) {
  // The view's offset in whole tiles, and the rest of it in pixels.
  const float columnsScrolled = scrollX * kRoomColumns;
  const float rowsScrolled = scrollY * kRoomRows;
  const int firstColumn = static_cast<int>(std::floor(columnsScrolled));
  const int firstRow = static_cast<int>(std::floor(rowsScrolled));
  const float offsetX = (columnsScrolled - static_cast<float>(firstColumn)) * kTileSize;
  const float offsetY = (rowsScrolled - static_cast<float>(firstRow)) * kTileSize;
  const int base = roomX * kRoomColumns + (roomY * kRoomRows + firstRow) * kMapWidth + firstColumn;

  // One extra tile on every side fills the edge that a fractional offset
  // uncovers; what reaches the HUD or footer band is painted over later.
  for (int column = -1; column <= kRoomColumns; ++column) {
    for (int row = -1; row <= kRoomRows; ++row) {
      const int index = base + row * kMapWidth + column;
      if (index < 0 || index >= kTileBytes) continue;
      const int x = static_cast<int>(static_cast<float>(column * kTileSize) - offsetX);
      const int y = static_cast<int>(static_cast<float>(row * kTileSize + kRoomTop) - offsetY);
      DrawTile(kMapTilemap, m_tiles[index], x, y);
    }
  }
  return static_cast<int>(static_cast<float>(kRoomTop - kTileSize) - offsetY);
}

// The layer is drawn through the engine's own tile blits by pointing the
// renderer's target at it for the while.
bool PraelRenderer::PaintRoomLayer(const RoomLayerKey& key) {
  if (m_roomLayer == nullptr) {
    const SDL_PixelFormat* format = m_screen->format;
    m_roomLayer = SDL_CreateRGBSurface(SDL_SWSURFACE, m_screen->w, m_screen->h, format->BitsPerPixel,
                                       format->Rmask, format->Gmask, format->Bmask, format->Amask);
    if (m_roomLayer == nullptr) return false;
  }
  SDL_FillRect(m_roomLayer, nullptr, 0);
  SDL_Surface* screen = m_screen;
  m_screen = m_roomLayer;
  m_roomLayerTop = std::max(0, DrawRoomTiles(key.roomX, key.roomY, key.scrollX, key.scrollY));
  m_screen = screen;
  m_roomLayerKey = key;
  return true;
}

void PraelRenderer::FreeRoomLayer() {
  if (m_roomLayer != nullptr) SDL_FreeSurface(m_roomLayer);
  m_roomLayer = nullptr;
}

void PraelRenderer::DrawDoors() {
  RoomRecord* room = GetCurrentRoomRecord();
  if (room == nullptr) return;
  const int roomOrigin = m_viewRoomY * kRoomRows * kMapWidth + m_viewRoomX * kRoomColumns;
  for (const DoorWall& wall : kDoorWalls) {
    const int32_t state = room->*wall.state;
    if (state <= DOOR_NONE) continue;
    const uint8_t* tiles = DoorTiles(wall, state);
    for (int cell = 0; cell < wall.cellCount; ++cell) {
      DrawTile(kMapTilemap, wall.archTile, wall.archX + cell * kTileSize, wall.archY);
      if (tiles == nullptr) continue;
      uint8_t& tile = m_tiles[roomOrigin + wall.row * kMapWidth + wall.column + cell];
      if (tile != tiles[cell]) ++m_mapRevision;
      tile = tiles[cell];
    }
  }
}

void PraelRenderer::OpenDoor(int side, int roomX, int roomY) {
  if (roomX == -1) roomX = m_viewRoomX;
  if (roomY == -1) roomY = m_viewRoomY;
  RoomRecord* room = GetRoomRecord(roomX, roomY);
  if (room == nullptr) return;
  switch (side) {
    case 1:
      room->doorTop = DOOR_OPEN;
      break;
    case 2:
      room->doorBottom = DOOR_OPEN;
      break;
    case 3:
      room->doorRight = DOOR_OPEN;
      break;
    case 4:
      room->doorLeft = DOOR_OPEN;
      break;
    default:
      return;
  }
  if (roomX == m_viewRoomX && roomY == m_viewRoomY) PlaySound(kDoorSound);
}
