#include <gtest/gtest.h>

#include <string>

#include "render_helpers.h"

using namespace render_test;

namespace {

// A 64 by 32 sheet of 16 by 16 tiles, each tile in its own colour.
void WriteSheet(const std::string& path) {
  WriteBmp(path, 64, 32, [](int x, int y) { return TileColour(static_cast<unsigned>(y / 16 * 4 + x / 16)); });
}

// The same size with spacing 1 around 15 by 15 tiles; the gaps are grey.
void WriteSpacedSheet(const std::string& path) {
  WriteBmp(path, 64, 32, [](int x, int y) {
    const bool gap = x % 16 == 0 || y % 16 == 0;
    return gap ? kGrey : TileColour(static_cast<unsigned>((y - 1) / 16 * 3 + (x - 1) / 16));
  });
}

}  // namespace

TEST_F(RendererTest, TilesPerRowAndColumnFollowTileSizeAndSpacing) {
  WriteSheet("sheet.bmp");
  struct Case {
    unsigned tileWidth, tileHeight, spacing, perRow, perColumn;
  };
  const Case cases[] = {{16, 16, 0, 4, 2}, {15, 15, 1, 3, 1}, {32, 8, 0, 2, 4},
                        {64, 32, 0, 1, 1}, {65, 16, 0, 0, 2}, {16, 16, 70, 0, 0}};
  for (const Case& c : cases) {
    const int index = renderer.LoadTilemap("sheet.bmp", c.tileWidth, c.tileHeight, c.spacing);
    ASSERT_GE(index, 0);
    const Orvix::Tilemap* map = renderer.GetTilemap(index);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->tilesPerRow, c.perRow) << c.tileWidth << "x" << c.tileHeight << " spacing " << c.spacing;
    EXPECT_EQ(map->tilesPerColumn, c.perColumn)
        << c.tileWidth << "x" << c.tileHeight << " spacing " << c.spacing;
    EXPECT_EQ(map->tileWidth, c.tileWidth);
    EXPECT_EQ(map->spacing, c.spacing);
    EXPECT_STREQ(map->name, "sheet.bmp");
  }
  EXPECT_TRUE(log.Contains("loading BMP tilemap: sheet.bmp"));
}

TEST_F(RendererTest, Tile5IsTheSecondTileOfTheSecondRow) {
  WriteSheet("sheet.bmp");
  const int map = renderer.LoadTilemap("sheet.bmp", 16, 16, 0);
  ASSERT_EQ(map, 0);
  renderer.DrawTile(map, 5, 0, 0);
  // Source rectangle (16, 16, 16, 16): the whole of tile 5 and nothing else.
  EXPECT_EQ(PixelAt(0, 0), Colour(TileColour(5)));
  EXPECT_EQ(PixelAt(15, 15), Colour(TileColour(5)));
  EXPECT_EQ(PixelAt(16, 0), Colour(kBlack));
  EXPECT_EQ(PixelAt(0, 16), Colour(kBlack));

  renderer.DrawTile(map, 7, 40, 40);
  EXPECT_EQ(PixelAt(40, 40), Colour(TileColour(7)));
  EXPECT_EQ(PixelAt(55, 55), Colour(TileColour(7)));
}

TEST_F(RendererTest, SpacingComesBeforeTheFirstTileAndBetweenTiles) {
  WriteSpacedSheet("spaced.bmp");
  const int map = renderer.LoadTilemap("spaced.bmp", 15, 15, 1);
  ASSERT_EQ(map, 0);
  renderer.DrawTile(map, 0, 0, 0);
  EXPECT_EQ(PixelAt(0, 0), Colour(TileColour(0)));  // tile 0 starts at (1, 1)
  EXPECT_EQ(PixelAt(14, 14), Colour(TileColour(0)));
  EXPECT_EQ(PixelAt(15, 0), Colour(kBlack));
  renderer.DrawTile(map, 2, 20, 20);
  EXPECT_EQ(PixelAt(20, 20), Colour(TileColour(2)));
  EXPECT_EQ(PixelAt(34, 34), Colour(TileColour(2)));
  EXPECT_EQ(PixelAt(35, 20), Colour(kBlack));
}

TEST_F(RendererTest, MagentaPixelsOfATileLeaveTheScreenVisible) {
  WriteBmp("keyed.bmp", 16, 16, [](int x, int) { return x < 8 ? kMagenta : kGrey; });
  const int map = renderer.LoadTilemap("keyed.bmp", 16, 16, 0);
  ASSERT_EQ(map, 0);
  const Rgb green = {0, 200, 0};
  FillScreen(green);
  renderer.DrawTile(map, 0, 4, 4);
  EXPECT_EQ(PixelAt(4, 4), Colour(green));
  EXPECT_EQ(PixelAt(11, 19), Colour(green));
  EXPECT_EQ(PixelAt(12, 4), Colour(kGrey));
  EXPECT_EQ(PixelAt(19, 19), Colour(kGrey));
}

TEST_F(RendererTest, The65thTilemapIsRefused) {
  WriteSolidBmp("small.bmp", 8, 8, kGrey);
  for (int i = 0; i < Orvix::RendererSDL::kMaxTilemaps; ++i)
    ASSERT_EQ(renderer.LoadTilemap("small.bmp", 8, 8, 0), i);
  EXPECT_EQ(renderer.LoadTilemap("small.bmp", 8, 8, 0), -1);
  EXPECT_EQ(renderer.GetNumTilemaps(), 64);
  EXPECT_EQ(renderer.GetTilemap(64), nullptr);
}

TEST_F(RendererTest, FailedTilemapLoadsStoreNothing) {
  WriteSolidBmp("upper.BMP", 8, 8, kGrey);
  WriteSolidBmp("small.bmp", 8, 8, kGrey);
  struct Case {
    const char* path;
    unsigned tileSize;
    int expected;
  };
  const Case cases[] = {{"nodot", 8, -1},     {"small.png", 8, -1}, {"missing.bmp", 8, -1},
                        {"small.bmp", 0, -1}, {"upper.BMP", 8, 0},  {"small.bmp", 4, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(renderer.LoadTilemap(c.path, c.tileSize, c.tileSize, 0), c.expected) << c.path;
  EXPECT_EQ(renderer.GetNumTilemaps(), 2);
  EXPECT_TRUE(log.Contains("loading BMP tilemap: missing.bmp"));
  EXPECT_FALSE(log.Contains("loading BMP tilemap: small.png"));
}

TEST_F(RendererTest, TilesOutsideWhatWasLoadedDrawNothing) {
  WriteSheet("sheet.bmp");
  ASSERT_EQ(renderer.LoadTilemap("sheet.bmp", 16, 16, 0), 0);
  ASSERT_EQ(renderer.LoadTilemap("sheet.bmp", 65, 16, 0), 1);  // narrower than one tile: no tiles
  renderer.DrawTile(0, 8, 0, 0);
  renderer.DrawTile(0, -1, 0, 0);
  renderer.DrawTile(1, 0, 0, 0);
  renderer.DrawTile(2, 0, 0, 0);
  renderer.DrawTile(-1, 0, 0, 0);
  EXPECT_TRUE(ScreenIs(kBlack));
  renderer.UnloadTilemap(0);  // tilemaps stay until shutdown
  renderer.DrawTile(0, 0, 0, 0);
  EXPECT_EQ(PixelAt(0, 0), Colour(TileColour(0)));
}
