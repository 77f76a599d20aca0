// Shared pieces of the engine's rendering and settings tests: a view of the
// log written since a point, bitmaps written by the test, and a concrete
// renderer on SDL's dummy video driver whose screen pixels can be read back.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "orvix/logging.h"
#include "orvix/renderersdl.h"
#include "tests/common/temp_dir.h"

namespace render_test {

// The log text written after construction. The logger is started (writing
// its file to nowhere) when no application has started it yet.
class LogCapture {
 public:
  LogCapture() {
    Orvix::COrvixLogger& logger = Orvix::CSingleton<Orvix::COrvixLogger>::Instance();
    if (logger.GetBuffer() == nullptr) logger.Initialize("/dev/null", 1 << 20);
    m_start = std::strlen(logger.GetBuffer());
  }
  std::string Text() const {
    const char* buffer = Orvix::CSingleton<Orvix::COrvixLogger>::Instance().GetBuffer();
    const size_t length = std::strlen(buffer);
    return m_start <= length ? std::string(buffer + m_start) : std::string(buffer);
  }
  bool Contains(const std::string& text) const { return Text().find(text) != std::string::npos; }

 private:
  size_t m_start = 0;
};

struct Rgb {
  Uint8 r, g, b;
};

// A 24-bit bitmap whose pixel (x, y) has the colour `colourAt(x, y)`.
inline void WriteBmp(const std::string& path, int width, int height,
                     const std::function<Rgb(int, int)>& colourAt) {
  SDL_Surface* surface =
      SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  ASSERT_NE(surface, nullptr);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb colour = colourAt(x, y);
      Uint8* pixel = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
      const Uint32 value = SDL_MapRGB(surface->format, colour.r, colour.g, colour.b);
      std::memcpy(pixel, &value, 3);
    }
  }
  ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
  SDL_FreeSurface(surface);
}

inline void WriteSolidBmp(const std::string& path, int width, int height, Rgb colour) {
  WriteBmp(path, width, height, [colour](int, int) { return colour; });
}

// A colour per tile of a sheet, distinct for every tile of up to 64 tiles.
inline Rgb TileColour(unsigned tile) {
  return Rgb{static_cast<Uint8>(40 + (tile % 8) * 25), static_cast<Uint8>(40 + (tile / 8) * 25), 90};
}

class TestRenderer : public Orvix::RendererSDL {
 public:
  using RendererSDL::Initialize;
  bool Initialize(Orvix::HWND window, Orvix::VideoRes* mode) override {
    return RendererSDL::Initialize(window, mode, kSpriteTypes);
  }
  unsigned SpriteTypesInUse() const { return m_spriteTypePool ? m_spriteTypePool->GetNumAllocs() : 0; }
  static constexpr int kSpriteTypes = 64;
};

// A renderer on a 64 by 64 screen in a fresh current folder.
class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Orvix::VideoRes mode = {64, 64, 32};
    ASSERT_TRUE(renderer.Initialize(nullptr, &mode));
  }
  void TearDown() override { renderer.Shutdown(); }

  Uint32 Colour(Rgb colour) const {
    return SDL_MapRGB(renderer.GetScreen()->format, colour.r, colour.g, colour.b);
  }
  Uint32 PixelAt(int x, int y) {
    SDL_Surface* screen = renderer.GetScreen();
    EXPECT_TRUE(renderer.LockScreen());
    Uint32 value = 0;
    const Uint8* row = static_cast<const Uint8*>(screen->pixels) + y * screen->pitch;
    std::memcpy(&value, row + x * screen->format->BytesPerPixel, screen->format->BytesPerPixel);
    renderer.UnlockScreen();
    return value;
  }
  void FillScreen(Rgb colour) { SDL_FillRect(renderer.GetScreen(), nullptr, Colour(colour)); }
  // True when no pixel of the screen differs from `colour`.
  bool ScreenIs(Rgb colour) {
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        if (PixelAt(x, y) != Colour(colour)) return false;
      }
    }
    return true;
  }

  ScopedTempDir folder;
  LogCapture log;
  TestRenderer renderer;
};

constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kMagenta = {255, 0, 255};
constexpr Rgb kGrey = {128, 128, 128};

}  // namespace render_test
