// RendererSDL: tilemaps, bitmaps cut into equal tiles, and the tile blit that
// sprites share.
#include <strings.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "logging.h"
#include "renderersdl.h"
#include "renderersdl_load.h"

namespace Orvix {

namespace {

// How many tiles of `tileSize` fit along `sheetSize` pixels when `spacing`
// pixels come before the first tile and between tiles.
uint32_t TilesAlong(int sheetSize, unsigned tileSize, unsigned spacing) {
  const uint64_t usable =
      sheetSize > static_cast<int>(spacing) ? static_cast<uint64_t>(sheetSize) - spacing : 0;
  return static_cast<uint32_t>(usable / (static_cast<uint64_t>(tileSize) + spacing));
}

}  // namespace

int RendererSDL::LoadTilemap(const char* path, unsigned tileWidth, unsigned tileHeight, unsigned spacing) {
  COrvixLogger& log = CSingleton<COrvixLogger>::Instance();
  const char* extension = FileExtension(path);
  if (extension == nullptr) return -1;
  if (m_numTilemaps >= kMaxTilemaps) {
    log.Log("RendererSDL::LoadTilemap: all %d tilemaps are in use, %s not loaded", kMaxTilemaps, path);
    return -1;
  }
  Tilemap& map = m_tilemaps[m_numTilemaps];
  std::memset(&map, 0, sizeof map);
  if (strcasecmp(extension, ".bmp") != 0) return -1;
  if (tileWidth == 0 || tileHeight == 0) {
    log.Log("RendererSDL::LoadTilemap: %s has an empty tile size %ux%u", path, tileWidth, tileHeight);
    return -1;
  }
  if (m_screen == nullptr) return -1;

  log.Log("loading BMP tilemap: %s", path);
  SDL_Surface* loaded = LoadBitmapFile(path);
  if (loaded == nullptr) return -1;
  SDL_Surface* converted = SDL_DisplayFormat(loaded);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) return -1;

  map.surface = converted;
  map.tileHeight = tileHeight;
  map.tileWidth = tileWidth;
  std::snprintf(map.name, sizeof map.name, "%s", path);
  map.tilesPerRow = TilesAlong(converted->w, tileWidth, spacing);
  map.tilesPerColumn = TilesAlong(converted->h, tileHeight, spacing);
  map.spacing = spacing;
  SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, SDL_MapRGB(converted->format, 255, 0, 255));
  return m_numTilemaps++;
}

void RendererSDL::UnloadTilemap(int) {}

const Tilemap* RendererSDL::GetTilemap(int index) const {
  if (index < 0 || index >= m_numTilemaps) return nullptr;
  return &m_tilemaps[index];
}

void RendererSDL::DrawTile(int tilemap, int tile, int x, int y) {
  if (!m_renderTiles) return;
  const Tilemap* map = GetTilemap(tilemap);
  if (map == nullptr) return;
  BlitTile(*map, static_cast<unsigned>(tile), x, y, map->tileWidth, map->tileHeight);
}

bool RendererSDL::BlitTile(const Tilemap& map, unsigned tile, int x, int y, unsigned width, unsigned height) {
  const uint64_t tileCount = static_cast<uint64_t>(map.tilesPerRow) * map.tilesPerColumn;
  if (tile >= tileCount || m_screen == nullptr) return false;
  const unsigned column = tile % map.tilesPerRow;
  const unsigned row = tile / map.tilesPerRow;
  SDL_Rect source = {static_cast<Sint16>((map.tileWidth + map.spacing) * column + map.spacing),
                     static_cast<Sint16>((map.tileHeight + map.spacing) * row + map.spacing),
                     static_cast<Uint16>(width), static_cast<Uint16>(height)};
  SDL_Rect destination = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
  SDL_BlitSurface(map.surface, &source, m_screen, &destination);
  return true;
}

void RendererSDL::FreeTilemaps() {
  for (int i = 0; i < m_numTilemaps; ++i) {
    SDL_FreeSurface(m_tilemaps[i].surface);
    m_tilemaps[i].surface = nullptr;
  }
  m_numTilemaps = 0;
}

}  // namespace Orvix
