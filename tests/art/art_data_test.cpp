// The run folder's sprite definitions, loaded by the engine exactly as the
// game loads them, and the HUD, font and set-up bitmaps.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>

#include "bmp.h"
#include "tests/orvix/render_helpers.h"

namespace {

// Every sprite name the game looks up, with the largest frame index it
// draws of it (base frame plus animation frame).
struct SpriteUse {
  const char* name;
  int largestFrame;
};

constexpr SpriteUse kSpriteUses[] = {
    {"Aveth", 11},      {"Aveth2", 11},  // walk pairs from 0, 3, 6, 9; swing poses 2, 5, 8, 11
    {"WoodSword", 3},   {"SteelSword", 3}, {"MagicSword", 3},  // one frame a direction
    {"ThrowSword", 11},                                        // three frames from 0, 3, 6, 9
    {"BatBlue", 1},     {"BatRed", 1},     {"Skeleton", 1},   {"GorritBlue", 10}, {"GorritRed", 10},
    {"PelvokBlue", 10}, {"PelvokRed", 10},  // up walks 9, 10
    {"Snake", 4},                           // ready state: base 3, two frames
    {"Murla", 4},                           // base 3 while hidden or firing, frame left over from surfacing
    {"Rock", 0},        {"EnergyBall", 3}, {"Fire", 1},       {"Arrow", 3},       {"Boomerang", 7},
    {"BoomerangB", 7},  {"Bomb", 0},       {"Heart", 1},      {"Key", 0},         {"Dralm", 1},
    {"DeathSpark", 4},  {"Smoke", 2},      {"PushStone", 0},
};

class GameSprites : public ::testing::Test {
 protected:
  void SetUp() override {
    Orvix::VideoRes mode = {512, 512, 32};
    ASSERT_TRUE(renderer.Initialize(nullptr, &mode, 4096));
  }
  void TearDown() override { renderer.Shutdown(); }

  render_test::LogCapture log;
  render_test::TestRenderer renderer;
};

int TileCount(const Orvix::Tilemap* tilemap) {
  return tilemap ? static_cast<int>(tilemap->tilesPerRow * tilemap->tilesPerColumn) : 0;
}

}  // namespace

TEST_F(GameSprites, DefinitionFileLoadsWithoutAnError) {
  ASSERT_TRUE(renderer.LoadSpriteDef("sprite.def")) << log.Text();
  EXPECT_FALSE(log.Contains("Error")) << log.Text();
  EXPECT_FALSE(log.Contains("ERROR")) << log.Text();

  // Tilemap 0 holds the 256 map tiles of 32 x 32, tilemap 1 the HUD tiles of 16 x 16.
  const Orvix::Tilemap* mapTiles = renderer.GetTilemap(0);
  ASSERT_NE(mapTiles, nullptr);
  EXPECT_EQ(mapTiles->tileWidth, 32u);
  EXPECT_EQ(mapTiles->tileHeight, 32u);
  EXPECT_EQ(TileCount(mapTiles), 256);
  const Orvix::Tilemap* hudTiles = renderer.GetTilemap(1);
  ASSERT_NE(hudTiles, nullptr);
  EXPECT_EQ(hudTiles->tileWidth, 16u);
  EXPECT_EQ(hudTiles->tileHeight, 16u);
  EXPECT_GT(TileCount(hudTiles), 163);  // the magic boomerang's picture
}

TEST_F(GameSprites, EveryNameResolvesWithEnoughFramesInsideItsSheet) {
  ASSERT_TRUE(renderer.LoadSpriteDef("sprite.def"));
  for (const SpriteUse& use : kSpriteUses) {
    SCOPED_TRACE(use.name);
    const Orvix::SpriteType* sprite = renderer.GetSpriteType(use.name);
    ASSERT_NE(sprite, nullptr);
    EXPECT_GT(sprite->frameCount, use.largestFrame);
    EXPECT_GE(sprite->tilemap, 2);  // sprites have sheets of their own
    const int tiles = TileCount(renderer.GetTilemap(sprite->tilemap));
    for (int frame = 0; frame < sprite->frameCount; ++frame) EXPECT_LT(sprite->frames[frame], tiles);
  }
}

namespace {

struct BitmapSize {
  const char* path;
  int width;
  int height;
};

// 24 bits a pixel, as the art tools write every bitmap.
bool IsTwentyFourBit(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::array<char, 30> header{};
  file.read(header.data(), header.size());
  return file && header[0] == 'B' && header[1] == 'M' && header[28] == 24;
}

}  // namespace

TEST(GameBitmaps, EveryBitmapIsWrittenInItsSize) {
  const BitmapSize bitmaps[] = {
      {"tevhud32.bmp", 512, 128},      {"tevfooter32.bmp", 512, 32},    {"tevtext32.bmp", 43 * 16, 16},
      {"netsetup_server.bmp", 32, 32}, {"netsetup_client.bmp", 32, 32}, {"prael_icon.bmp", 32, 32},
      {"gfx/maptiles.bmp", 512, 512},  {"gfx/hudtiles.bmp", 256, 256},
  };
  for (const BitmapSize& bitmap : bitmaps) {
    SCOPED_TRACE(bitmap.path);
    ImageKit::Image image;
    std::string error;
    ASSERT_TRUE(ImageKit::ReadBmp(bitmap.path, &image, &error)) << error;
    EXPECT_EQ(image.Width(), bitmap.width);
    EXPECT_EQ(image.Height(), bitmap.height);
    EXPECT_TRUE(IsTwentyFourBit(bitmap.path));
  }
}

namespace {

// Pixels of a `size` x `size` cell that are not magenta.
int InkedPixels(const ImageKit::Image& sheet, int cell, int size) {
  const int columns = sheet.Width() / size;
  int inked = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (!(sheet.At((cell % columns) * size + x, (cell / columns) * size + y) == ImageKit::kMagenta))
        ++inked;
  return inked;
}

}  // namespace

TEST(GameBitmaps, EveryGlyphHasInkOnATransparentGround) {
  ImageKit::Image font;
  ASSERT_TRUE(ImageKit::ReadBmp("tevtext32.bmp", &font));
  for (int glyph = 0; glyph < 43; ++glyph) {
    const int inked = InkedPixels(font, glyph, 16);
    EXPECT_GT(inked, 8) << "glyph " << glyph;
    EXPECT_LT(inked, 16 * 16) << "glyph " << glyph;
  }
}

TEST(GameBitmaps, HudTilesTheHudDrawsAreDrawn) {
  ImageKit::Image hud;
  ASSERT_TRUE(ImageKit::ReadBmp("gfx/hudtiles.bmp", &hud));
  // Hearts full, half and empty; arrow, fire, bomb, boomerang, magic boomerang.
  for (int tile : {4, 5, 6, 25, 58, 72, 147, 163})
    EXPECT_GT(InkedPixels(hud, tile, 16), 16) << "tile " << tile;
  // The three hearts differ from each other.
  EXPECT_NE(hud.Crop({64, 0, 16, 16}).Pixels(), hud.Crop({80, 0, 16, 16}).Pixels());
  EXPECT_NE(hud.Crop({80, 0, 16, 16}).Pixels(), hud.Crop({96, 0, 16, 16}).Pixels());
}
