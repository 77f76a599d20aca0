// Shared pieces of the game renderer's tests: a map file and tile sheet
// written by the test, and a PraelRenderer on a 512 x 512 dummy screen whose
// pixels can be read back.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/rendprael.h"
#include "tests/orvix/render_helpers.h"

namespace rendprael_test {

using render_test::Rgb;

// The colour of map tile `tile` in the test's tile sheet: distinct for all
// 256 values and never magenta.
inline Rgb MapTileColour(unsigned tile) {
  return Rgb{static_cast<Uint8>(tile), static_cast<Uint8>(255 - tile), static_cast<Uint8>(60 + tile % 7)};
}

// A 16 x 16 sheet of solid 32 x 32 tiles, tile n in MapTileColour(n).
inline void WriteMapTileSheet(const std::string& path) {
  render_test::WriteBmp(path, 512, 512, [](int x, int y) { return MapTileColour((y / 32) * 16 + x / 32); });
}

// The colour of font glyph `glyph`; each glyph is a solid 12 x 12 square at
// the top-left of its 16 x 16 cell on a magenta (transparent) ground.
inline Rgb GlyphColour(unsigned glyph) {
  return Rgb{static_cast<Uint8>(20 + glyph * 5), 200, static_cast<Uint8>(glyph)};
}
inline void WriteFont(const std::string& path) {
  render_test::WriteBmp(path, 43 * 16, 16, [](int x, int y) {
    return x % 16 < 12 && y < 12 ? GlyphColour(x / 16) : render_test::kMagenta;
  });
}

// The bytes of a map file: tile bytes and room records, written out whole or
// cut short.
struct MapFile {
  std::vector<uint8_t> tiles = std::vector<uint8_t>(PraelRenderer::kMapFileTileBytes, 0);
  std::vector<RoomRecord> rooms = std::vector<RoomRecord>(PraelRenderer::kRoomCount, RoomRecord{});

  // Cell (column, row) of room (roomX, roomY).
  uint8_t& Cell(int roomX, int roomY, int column, int row) {
    return tiles[roomY * 2816 + row * 256 + roomX * 16 + column];
  }
  RoomRecord& Room(int roomX, int roomY) { return rooms[roomY * 16 + roomX]; }
  // Writes the first `length` bytes of the file (the whole file by default).
  void Write(const std::string& path, size_t length = PraelRenderer::kMapFileBytes) const;
};

// A PraelRenderer on a 512 x 512 screen in a fresh current folder, with the
// test's tile sheet as tilemap 0 and no data files.
class PraelRendererTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Uint32 Colour(Rgb colour) const;
  Uint32 PixelAt(int x, int y);
  // The colour of the screen pixel at (x, y) is that of map tile `tile`.
  bool ShowsTile(int x, int y, unsigned tile) { return PixelAt(x, y) == Colour(MapTileColour(tile)); }
  // Every pixel of the rectangle has `colour`.
  bool RectangleIs(int x, int y, int width, int height, Rgb colour);

  ScopedTempDir folder;
  render_test::LogCapture log;
  std::unique_ptr<PraelRenderer> renderer;
};

}  // namespace rendprael_test
