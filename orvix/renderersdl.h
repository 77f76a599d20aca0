// The SDL renderer: owns the screen surface, loads bitmaps as images and
// tilemaps, keeps the sprite types declared in definition files, draws tiles,
// sprites and images straight to the screen in call order, and drains SDL's
// event queue once a frame.
//
// RendererSDL is abstract: a concrete renderer implements
// Initialize(HWND, VideoRes*), normally by calling the three-argument
// Initialize with its number of sprite types.
#pragma once

#include <SDL/SDL.h>

#include <cstdint>

#include "orvixapi.h"
#include "renderer.h"
#include "segheap.h"
#include "strhash.h"

namespace Orvix {

// One bitmap in the display format, opaque (no colour key). Images live in
// the renderer's image pool until it shuts down.
struct Image {
  SDL_Surface* surface;  // owned by the renderer
  int32_t width;
  int32_t height;
};

// A bitmap cut into equal tiles in a grid, with `spacing` pixels before the
// first tile and between tiles in both directions. Tile n lies at column
// n % tilesPerRow, row n / tilesPerRow; magenta pixels are transparent.
struct Tilemap {
  char name[64];         // the path it was loaded from, for reference
  SDL_Surface* surface;  // owned by the renderer
  uint32_t tileWidth;
  uint32_t tileHeight;
  uint32_t tilesPerRow;
  uint32_t tilesPerColumn;
  uint32_t spacing;
};

// A named list of tile numbers of one tilemap, one per animation frame.
struct SpriteType {
  static constexpr int kMaxFrames = 64;
  int32_t tilemap;  // index in the renderer's tilemap table
  uint8_t frames[kMaxFrames];
  int32_t frameCount;
};

class ORVIX_API RendererSDL : public IRenderer {
 public:
  static constexpr int kMaxTilemaps = 64;
  static constexpr unsigned kMaxImages = 512;
  static constexpr unsigned kSpriteNameKeyLength = 32;  // names are at most 31 characters

  RendererSDL();
  ~RendererSDL() override;
  RendererSDL(const RendererSDL&) = delete;
  RendererSDL& operator=(const RendererSDL&) = delete;

  using IRenderer::Initialize;
  // Starts SDL, opens the window of `mode` and creates the pools. `window` is
  // not used. False when SDL cannot start; a video mode SDL refuses ends the
  // process with status 1.
  virtual bool Initialize(HWND window, VideoRes* mode, int maxSpriteTypes);
  // Frees the sprite types, images and tilemaps and closes SDL.
  void Shutdown() override;
  // Drains SDL's events (a quit event asks the application to shut down after
  // this frame) and runs the platform layer's window events.
  void StepFrame() override;
  bool PageFlip() override;
  // Fills the whole screen with black; always true.
  bool ClearScreen() override;

  bool LockScreen();
  void UnlockScreen();
  // The window's surface (owned by SDL); null outside Initialize..Shutdown.
  SDL_Surface* GetScreen() const { return m_screen; }

  // ----- images
  // A ".bmp" file (any case) as a new image; null for another or no
  // extension, an unreadable file or a full pool (512 images).
  Image* LoadImageA(const char* path);
  // Blits the whole image with its top-left corner at (x, y); null draws nothing.
  void DrawImage(Image* image, int x, int y);
  unsigned GetNumImages() const;

  // ----- tilemaps
  // Loads a ".bmp" sheet as the next tilemap; its index, or -1.
  int LoadTilemap(const char* path, unsigned tileWidth, unsigned tileHeight, unsigned spacing);
  // Tilemaps stay loaded until Shutdown; this does nothing.
  void UnloadTilemap(int index);
  // Draws one whole tile with its top-left corner at (x, y). A tilemap index or
  // tile number outside what was loaded draws nothing.
  void DrawTile(int tilemap, int tile, int x, int y);
  int GetNumTilemaps() const { return m_numTilemaps; }
  // The record of a loaded tilemap, or null.
  const Tilemap* GetTilemap(int index) const;

  // ----- sprite types
  // Parses a sprite definition file; true on success. Errors are logged.
  bool LoadSpriteDef(const char* path);
  // The sprite type registered under `name`, or null.
  SpriteType* GetSpriteType(const char* name) const;
  // An unnamed record from the sprite-type pool for the caller to fill; null
  // when the pool is exhausted or does not exist.
  SpriteType* NewSpriteType();
  // Names a record; false when the name is taken or not shorter than 32
  // characters.
  bool RegisterSpriteType(const char* name, SpriteType* type);
  // Returns a record to the pool and forgets its name; false when there is no
  // pool.
  bool DeleteSpriteType(SpriteType* type);
  // Every record becomes free and zero and every name is forgotten, so a
  // definition file can be loaded again.
  void ClearSpriteTypeList();
  // Draws frame `frame` of `type` with its top-left corner at (x, y). A limit of
  // -1 (or any negative value) means the whole tile height or width; a smaller
  // limit keeps the top-left part. Note the height limit comes first. A frame
  // outside the type's frames or a tile outside its tilemap draws nothing.
  void DrawSprite(SpriteType* type, int frame, int x, int y, int clipHeight, int clipWidth);

  // When off, DrawSprite (respectively DrawTile) draws nothing.
  void RenderSprites(bool enabled) { m_renderSprites = enabled; }
  void RenderTiles(bool enabled) { m_renderTiles = enabled; }

 protected:
  SDL_Surface* m_screen = nullptr;  // SDL's
  Tilemap m_tilemaps[kMaxTilemaps] = {};
  int m_numTilemaps = 0;
  SegmentHeap* m_spriteTypePool = nullptr;  // owned; chunks are SpriteType records
  StringHashTable m_spriteTypeNames;        // name -> SpriteType in the pool
  SegmentHeap* m_imagePool = nullptr;       // owned; chunks are Image records
  bool m_renderSprites = true;
  bool m_renderTiles = true;

 private:
  // Blits the `width` x `height` rectangle at the top-left of tile `tile` of
  // `map`; false when the tile lies outside the sheet.
  bool BlitTile(const Tilemap& map, unsigned tile, int x, int y, unsigned width, unsigned height);
  void FreeImages();
  void FreeTilemaps();
};

}  // namespace Orvix
