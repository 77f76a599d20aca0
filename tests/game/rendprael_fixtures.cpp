#include "rendprael_fixtures.h"

#include <cstdio>
#include <cstring>

namespace rendprael_test {

void MapFile::Write(const std::string& path, size_t length) const {
  std::vector<uint8_t> bytes(tiles);
  const auto* records = reinterpret_cast<const uint8_t*>(rooms.data());
  bytes.insert(bytes.end(), records, records + rooms.size() * sizeof(RoomRecord));
  ASSERT_LE(length, bytes.size());
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(bytes.data(), 1, length, file), length);
  std::fclose(file);
}

void PraelRendererTest::SetUp() {
  WriteMapTileSheet("maptiles.bmp");
  renderer = std::make_unique<PraelRenderer>();
  Orvix::VideoRes mode = {512, 512, 32};
  ASSERT_TRUE(renderer->Initialize(nullptr, &mode));
  ASSERT_EQ(renderer->LoadTilemap("maptiles.bmp", 32, 32, 0), PraelRenderer::kMapTilemap);
}

void PraelRendererTest::TearDown() {
  if (renderer == nullptr) return;
  renderer->Shutdown();
  renderer.reset();
}

Uint32 PraelRendererTest::Colour(Rgb colour) const {
  return SDL_MapRGB(renderer->GetScreen()->format, colour.r, colour.g, colour.b);
}

Uint32 PraelRendererTest::PixelAt(int x, int y) {
  SDL_Surface* screen = renderer->GetScreen();
  EXPECT_TRUE(renderer->LockScreen());
  Uint32 value = 0;
  const Uint8* row = static_cast<const Uint8*>(screen->pixels) + y * screen->pitch;
  std::memcpy(&value, row + x * screen->format->BytesPerPixel, screen->format->BytesPerPixel);
  renderer->UnlockScreen();
  return value;
}

bool PraelRendererTest::RectangleIs(int x, int y, int width, int height, Rgb colour) {
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) {
      if (PixelAt(column, row) != Colour(colour)) return false;
    }
  }
  return true;
}

}  // namespace rendprael_test
