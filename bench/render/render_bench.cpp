// How much DrawTile costs over the blit it wraps: a room of 16 by 11 tiles of
// 32 by 32 pixels drawn with DrawTile, and the same source and destination
// rectangles blitted with SDL_BlitSurface straight onto the same screen. Both
// run on SDL's dummy video driver in one process; the closing line prints
// the ratio of their times (target: at most 1.2).
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "bench/common/ratio_reporter.h"
#include "orvix/logging.h"
#include "orvix/platform.h"
#include "orvix/renderersdl.h"

namespace {

constexpr int kTileSize = 32;
constexpr int kRoomColumns = 16;
constexpr int kRoomRows = 11;
constexpr int kSheetTiles = 8;  // the sheet is 8 by 8 tiles

class BenchRenderer : public Orvix::RendererSDL {
 public:
  using RendererSDL::Initialize;
  bool Initialize(Orvix::HWND window, Orvix::VideoRes* mode) override {
    return RendererSDL::Initialize(window, mode, 16);
  }
};

BenchRenderer* g_renderer = nullptr;
int g_tilemap = -1;

// The tile drawn at a room cell: every tile of the sheet appears.
int TileAt(int column, int row) { return (column * 7 + row * 3) % (kSheetTiles * kSheetTiles); }

// A sheet with a magenta border in every tile, so the colour key is at work.
bool WriteSheet(const char* path) {
  const int size = kTileSize * kSheetTiles;
  SDL_Surface* sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, size, size, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  if (sheet == nullptr) return false;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool border = x % kTileSize < 2 || y % kTileSize < 2;
      const Uint32 colour = border
                                ? SDL_MapRGB(sheet->format, 255, 0, 255)
                                : SDL_MapRGB(sheet->format, static_cast<Uint8>(x), static_cast<Uint8>(y), 80);
      Uint8* pixel = static_cast<Uint8*>(sheet->pixels) + y * sheet->pitch + x * 3;
      pixel[0] = static_cast<Uint8>(colour);
      pixel[1] = static_cast<Uint8>(colour >> 8);
      pixel[2] = static_cast<Uint8>(colour >> 16);
    }
  }
  const bool saved = SDL_SaveBMP(sheet, path) == 0;
  SDL_FreeSurface(sheet);
  return saved;
}

void BM_DrawTile(benchmark::State& state) {
  for (auto _ : state) {
    for (int column = 0; column < kRoomColumns; ++column) {
      for (int row = 0; row < kRoomRows; ++row) {
        g_renderer->DrawTile(g_tilemap, TileAt(column, row), column * kTileSize, row * kTileSize + 128);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * kRoomColumns * kRoomRows);
}

void BM_BareBlit(benchmark::State& state) {
  const Orvix::Tilemap* map = g_renderer->GetTilemap(g_tilemap);
  SDL_Surface* screen = g_renderer->GetScreen();
  for (auto _ : state) {
    for (int column = 0; column < kRoomColumns; ++column) {
      for (int row = 0; row < kRoomRows; ++row) {
        const int tile = TileAt(column, row);
        SDL_Rect source = {static_cast<Sint16>(tile % kSheetTiles * kTileSize),
                           static_cast<Sint16>(tile / kSheetTiles * kTileSize), kTileSize, kTileSize};
        SDL_Rect destination = {static_cast<Sint16>(column * kTileSize),
                                static_cast<Sint16>(row * kTileSize + 128), 0, 0};
        SDL_BlitSurface(map->surface, &source, screen, &destination);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * kRoomColumns * kRoomRows);
}

// Interleaved repetitions; the fastest of each is compared.
BENCHMARK(BM_BareBlit)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawTile)->Repetitions(5)->Unit(benchmark::kMicrosecond);

using prael_bench::RatioReporter;

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  Orvix::SetHeadless(true);
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Initialize("/dev/null", 1 << 16);

  char folder[] = "/tmp/prael-render-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::string sheetPath = std::string(folder) + "/sheet.bmp";

  BenchRenderer renderer;
  Orvix::VideoRes mode = {512, 512, 32};
  if (!renderer.Initialize(nullptr, &mode) || !WriteSheet(sheetPath.c_str())) return 1;
  g_renderer = &renderer;
  g_tilemap = renderer.LoadTilemap(sheetPath.c_str(), kTileSize, kTileSize, 0);
  unlink(sheetPath.c_str());
  rmdir(folder);
  if (g_tilemap < 0) return 1;

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double bare = reporter.Fastest("BM_BareBlit");
  const double drawTile = reporter.Fastest("BM_DrawTile");
  if (bare > 0.0 && drawTile > 0.0) {
    std::printf(
        "DrawTile / bare SDL_BlitSurface, 176 tiles of 32x32: %.3f us / %.3f us = ratio %.3f (target <= "
        "1.2)\n",
        drawTile, bare, drawTile / bare);
  }
  renderer.Shutdown();
  benchmark::Shutdown();
  return 0;
}
