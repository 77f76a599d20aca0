// PraelRenderer: the game's renderer and its world container. Besides
// drawing the room, the entities, the doors, the HUD and text, it holds the
// whole world map (tile bytes and room records), the tile collision flags,
// the list of live entities, the view and the local hero. The game makes
// exactly one and publishes it in g_renderer.
//
// Screen layout of the 512 x 512 window: the HUD image covers the top 128
// rows, the room (16 x 11 tiles of 32 pixels) lies below it, and the footer
// image covers the bottom 32 rows.
#pragma once

#include <cstdint>

#include "game/rendprael_room.h"
#include "orvix/ptrlist.h"
#include "orvix/renderersdl.h"

class Entity;

class PraelRenderer : public Orvix::RendererSDL {
 public:
  // ----- world geometry
  static constexpr int kTileSize = 32;  // screen pixels
  static constexpr int kRoomColumns = 16;
  static constexpr int kRoomRows = 11;
  static constexpr int kWorldRoomsWide = 16;
  static constexpr int kWorldRoomsHigh = 38;
  static constexpr int kRoomCount = kWorldRoomsWide * kWorldRoomsHigh;
  static constexpr int kMapWidth = kWorldRoomsWide * kRoomColumns;  // tiles
  static constexpr int kMapRows = 664;                              // rows held; the map file fills 660
  static constexpr int kLayerBytes = 84480;                         // one tile layer: 330 rows
  static constexpr int kTileBytes = kMapRows * kMapWidth;
  static constexpr int kMapFileTileBytes = 2 * kLayerBytes;
  static constexpr int kMapFileBytes = kMapFileTileBytes + kRoomCount * static_cast<int>(sizeof(RoomRecord));

  // ----- screen layout
  static constexpr int kRoomTop = 128;    // screen row of the room's first tile row
  static constexpr int kFooterTop = 480;  // screen row of the footer image
  static constexpr int kGlyphSize = 16;   // font glyphs, one row in the font image
  static constexpr int kSpriteTypes = 4096;
  static constexpr int kMapTilemap = 0;  // the map tiles are the first tilemap loaded

  // ----- tile collision flags: the quadrants of a tile that block movement
  static constexpr uint32_t kBlocksTopLeft = 1;
  static constexpr uint32_t kBlocksTopRight = 2;
  static constexpr uint32_t kBlocksBottomLeft = 4;
  static constexpr uint32_t kBlocksBottomRight = 8;
  static constexpr uint32_t kBlocksAll = 15;

  // Takes every entity the tick pass drops from the list (its state was 0 at
  // the end of the pass); from then on the entity belongs to the handler,
  // which must not change the list.
  using EntityDropHandler = void (*)(Entity* entity, void* context);

  PraelRenderer();
  ~PraelRenderer() override;

  using RendererSDL::Initialize;
  // Opens the window, builds the tile flags and loads "overworld1.wmap", the
  // HUD and footer images and the font. A missing data file is logged and
  // leaves its part empty; false only when the window cannot open.
  bool Initialize(Orvix::HWND window, Orvix::VideoRes* mode) override;
  // Frees every image, tilemap and sprite type and closes SDL.
  void Shutdown() override;
  // One frame: ticks the entities, then draws the room, the entities, the
  // doors of a dungeon room, the HUD, footer and the application's overlay,
  // pumps SDL's events and flips.
  void StepFrame() override;

  // ----- the world map
  // Reads the tile bytes and room records of a ".wmap" file. False when it
  // cannot be opened (nothing changes) or is shorter than a whole map (the
  // part it lacks is left zero).
  bool LoadMap(const char* path);
  void BuildTileFlags();
  // The record of room (roomX, roomY); null outside the world.
  RoomRecord* GetRoomRecord(int roomX, int roomY);
  // The record of the view room; null when the view lies outside the world.
  RoomRecord* GetCurrentRoomRecord();
  // The tile byte at byte layer * 84,480 + y * 256 + x; 0 for a column
  // outside the map's width or a byte outside the tiles held.
  uint8_t GetMapTile(int x, int y, int layer) const;
  // True when `tile` blocks any of the quadrants in `mask`.
  bool TileBlocks(unsigned char tile, int mask) const;
  uint32_t GetTileFlags(unsigned char tile) const { return m_tileFlags[tile]; }

  // ----- the view
  void SetView(int roomX, int roomY, float scrollX, float scrollY);
  int GetViewRoomX() const { return m_viewRoomX; }
  int GetViewRoomY() const { return m_viewRoomY; }
  float GetViewScrollX() const { return m_viewScrollX; }
  float GetViewScrollY() const { return m_viewScrollY; }
  void SetLocalHero(Entity* hero) { m_localHero = hero; }
  Entity* GetLocalHero() const { return m_localHero; }

  // ----- the entity list (it owns its nodes, never the entities)
  void AddEntity(Entity* entity, bool atFront);
  // The first entity in list order with this uid, or null.
  Entity* FindEntity(int uid) const;
  // Unlinks the first entity with this uid (it is not deleted); false if none.
  bool RemoveEntity(int uid);
  // Unlinks this entity, for those that share a uid (a hero's swords); false
  // when it is not in the list.
  bool RemoveEntity(Entity* entity);
  unsigned GetEntityCount() const { return m_entities.Count(); }
  // The entity at `index` counted from the head, or null.
  Entity* GetEntity(unsigned index) const { return m_entities.At(index); }
  // For walking the list by node: Head(), then node->next.
  const Orvix::TypedPtrList<Entity>& GetEntities() const { return m_entities; }
  void SetEntityDropHandler(EntityDropHandler handler, void* context);
  // The frame's tick pass (StepFrame runs it first): ticks every live
  // entity, sets its hero-room flag, then hands the ended ones to the drop
  // handler. Public for the benchmark of a crowded room.
  void TickEntities();

  // ----- doors
  // Opens the door of wall `side` (1 top, 2 bottom, 3 right, 4 left) of room
  // (roomX, roomY); -1 for a coordinate means the view room's. Opening a door
  // of the view room plays the door sound. The map cells follow at the next
  // DrawDoors.
  void OpenDoor(int side, int roomX = -1, int roomY = -1);

  // ----- drawing
  // Draws the room with the view offset by (scrollX, scrollY) rooms, plus one
  // ring of tiles around it that fills the edges while scrolling. The rows
  // the tiles cover are painted whole: transparent tile pixels show black.
  void DrawRoom(int roomX, int roomY, float scrollX, float scrollY);
  // Draws the arches of the view room's doors and writes the tiles of their
  // states into the map, so that collision follows the doors.
  void DrawDoors();
  // Loads the font image; its magenta pixels are transparent.
  bool LoadFont(const char* path);
  // Formats the text and draws it in 16 x 16 glyphs from (x, y); false when
  // no font is loaded or the text cannot be formatted.
  bool DrawString(int x, int y, const char* format, ...) __attribute__((format(printf, 4, 5)));
  // The font glyph of a character: letters (either case) 0-25, digits 32-41,
  // "-" 26, "." 27, "," 28, "!" 29, "'" 30, "&" 31, anything else 42.
  static int GlyphOf(char character);

 private:
  // What the room layer shows; the layer is reused while it stays the same.
  struct RoomLayerKey {
    int roomX, roomY;
    float scrollX, scrollY;
    uint32_t mapRevision;
    const SDL_Surface* tileSheet;
    bool operator==(const RoomLayerKey&) const = default;
  };

  void DrawEntities();
  // Draws the room's tiles to the current target; returns the first screen
  // row they cover.
  int DrawRoomTiles(int roomX, int roomY, float scrollX, float scrollY);
  bool PaintRoomLayer(const RoomLayerKey& key);
  bool CanDrawRoom(int roomX, int roomY, float scrollX, float scrollY);
  // Makes sure the off-screen layer holds the room as the view shows it;
  // false when the room cannot be drawn through the layer.
  bool PrepareRoomLayer(int roomX, int roomY, float scrollX, float scrollY);
  // Clears the rows of the screen that no opaque layer (room, HUD) covers.
  void ClearUncoveredRows();
  // The rows the HUD and footer images cover whole: the HUD from the top of
  // the screen to this row, the footer from this row to the bottom.
  int OpaqueHudBottom() const;
  int OpaqueFooterTop() const;
  void FreeRoomLayer();

  uint8_t m_tiles[kTileBytes] = {};
  RoomRecord m_rooms[kRoomCount] = {};
  Orvix::TypedPtrList<Entity> m_entities;  // the entities are borrowed
  int32_t m_viewRoomX = 7;
  int32_t m_viewRoomY = 6;
  float m_viewScrollX = 0.5f;
  float m_viewScrollY = 0.0f;
  Entity* m_localHero = nullptr;  // borrowed
  uint32_t m_tileFlags[256] = {};
  Orvix::Image* m_hudImage = nullptr;     // in the renderer's image pool
  Orvix::Image* m_footerImage = nullptr;  // in the renderer's image pool
  Orvix::Image* m_fontImage = nullptr;    // in the renderer's image pool
  // The room's tiles as last drawn, off screen: redrawing some 230
  // colour-keyed tiles costs several times one copy of the layer.
  SDL_Surface* m_roomLayer = nullptr;  // owned
  RoomLayerKey m_roomLayerKey = {};
  int m_roomLayerTop = 0;      // first screen row the layer's tiles cover
  uint32_t m_mapRevision = 0;  // changes whenever a tile byte may have
  EntityDropHandler m_dropHandler = nullptr;
  void* m_dropContext = nullptr;  // borrowed; handed back to the handler
};

// The one game renderer, null while none exists.
extern PraelRenderer* g_renderer;
