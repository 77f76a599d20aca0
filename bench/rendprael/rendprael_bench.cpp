// What one frame of the game costs: PraelRenderer::StepFrame ticking and
// drawing 20 animated sprites over a dungeon room with its four doors, then
// the HUD and footer images and three lines of HUD text, against one blit of
// a whole 512 x 512 surface onto the screen. Both run on SDL's dummy video
// driver in one process; the closing line prints the frame's cost in whole
// screen copies (target: at most 15).
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/ratio_reporter.h"
#include "bmp.h"
#include "game/entity.h"
#include "game/rendprael.h"
#include "orvix/logging.h"
#include "orvix/orvix.h"
#include "orvix/platform.h"

namespace {

constexpr int kSprites = 20;
constexpr int kRoomX = 7;
constexpr int kRoomY = 6;

// The HUD values as the game's overlay draws them.
class BenchApp : public Orvix::COrvixApp {
 public:
  void Frame() override {}
  void DrawOverlay() override {
    g_renderer->DrawString(195, 48, "X%d", 42);
    g_renderer->DrawString(195, 80, "X%d", 3);
    g_renderer->DrawString(195, 96, "%d", 120);
  }
  int OnGameEvent(int code, int) override { return code; }
};

// A walker: the base entity's tick and sprite drawing, animated every frame.
class BenchEntity : public Entity {
 public:
  BenchEntity(Orvix::SpriteType* walker, float x, float y) : Entity(nullptr) {
    sprite = walker;
    frameCount = 4.0f;
    SetPosition(Vec2(x, y));
  }
  void Tick(float seconds) override {
    Animate();
    Entity::Tick(seconds);
  }
  void SendEvent(int, EventParam*, EventParam*) override {}
};

// A sheet of `columns` x `rows` tiles of 32 pixels, each a colour gradient
// with magenta corners so that the colour key is at work.
ImageKit::Image TileSheet(int columns, int rows) {
  ImageKit::Image sheet(columns * 32, rows * 32);
  for (int y = 0; y < sheet.Height(); ++y) {
    for (int x = 0; x < sheet.Width(); ++x) {
      const bool corner = (x % 32 < 4 || x % 32 >= 28) && (y % 32 < 4 || y % 32 >= 28);
      sheet.Set(
          x, y,
          corner ? ImageKit::kMagenta : ImageKit::Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 90});
    }
  }
  return sheet;
}

bool WriteData() {
  ImageKit::Image font(43 * 16, 16, ImageKit::kMagenta);
  for (int glyph = 0; glyph < 43; ++glyph) font.Fill({glyph * 16 + 2, 2, 10, 12}, {240, 240, 240});
  bool written = ImageKit::WriteBmp("maptiles.bmp", TileSheet(16, 16)) &&
                 ImageKit::WriteBmp("walker.bmp", TileSheet(4, 1)) &&
                 ImageKit::WriteBmp("tevhud32.bmp", ImageKit::Image(512, 128, {20, 30, 60})) &&
                 ImageKit::WriteBmp("tevfooter32.bmp", ImageKit::Image(512, 32, {60, 30, 20})) &&
                 ImageKit::WriteBmp("tevtext32.bmp", font);

  std::vector<uint8_t> map(PraelRenderer::kMapFileBytes, 0);
  for (int i = 0; i < PraelRenderer::kMapFileTileBytes; ++i) map[i] = static_cast<uint8_t>(i * 7 % 256);
  RoomRecord room = {};
  room.dungeonFlag = 1;
  room.doorTop = DOOR_OPEN;
  room.doorBottom = DOOR_SHUTTER;
  room.doorLeft = DOOR_LOCKED;
  room.doorRight = DOOR_PUSH_BLOCK;
  std::memcpy(&map[PraelRenderer::kMapFileTileBytes + (kRoomY * 16 + kRoomX) * sizeof room], &room,
              sizeof room);
  FILE* file = std::fopen("overworld1.wmap", "wb");
  if (file == nullptr) return false;
  written = std::fwrite(map.data(), 1, map.size(), file) == map.size() && written;
  std::fclose(file);

  file = std::fopen("sprite.def", "w");
  if (file == nullptr) return false;
  std::fputs("LOAD_TILEMAP maptiles.bmp 32 32 0\nLOAD_TILEMAP walker.bmp 32 32 0\n", file);
  std::fputs("SPRITE Walker { TILEMAP 1 ANIMATION { 0, 1, 2, 3 } }\n", file);
  std::fclose(file);
  return written;
}

PraelRenderer* g_frameRenderer = nullptr;
SDL_Surface* g_wholeScreen = nullptr;

void BM_StepFrame(benchmark::State& state) {
  for (auto _ : state) g_frameRenderer->StepFrame();
}

void BM_ScreenCopy(benchmark::State& state) {
  SDL_Surface* screen = g_frameRenderer->GetScreen();
  for (auto _ : state) {
    SDL_Rect origin = {0, 0, 0, 0};
    SDL_BlitSurface(g_wholeScreen, nullptr, screen, &origin);
  }
}

// The share of the frame that SDL's flip takes on its own.
void BM_PageFlip(benchmark::State& state) {
  for (auto _ : state) g_frameRenderer->PageFlip();
}

// Interleaved repetitions; the fastest of each is compared.
BENCHMARK(BM_ScreenCopy)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepFrame)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageFlip)->Repetitions(5)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  Orvix::SetHeadless(true);
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Initialize("/dev/null", 1 << 20);

  char folder[] = "/tmp/prael-rendprael-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0 || !WriteData()) return 1;

  BenchApp app;
  auto renderer = std::make_unique<PraelRenderer>();
  Orvix::VideoRes mode = {512, 512, 32};
  if (!renderer->Initialize(nullptr, &mode) || !renderer->LoadSpriteDef("sprite.def")) return 1;
  renderer->SetView(kRoomX, kRoomY, 0.0f, 0.0f);
  Orvix::SpriteType* walker = renderer->GetSpriteType("Walker");
  std::vector<std::unique_ptr<BenchEntity>> walkers;
  for (int i = 0; i < kSprites; ++i) {
    walkers.push_back(std::make_unique<BenchEntity>(walker, kRoomX * 512 + 48 + (i % 5) * 96,
                                                    kRoomY * 352 + 48 + (i / 5) * 72));
    renderer->AddEntity(walkers.back().get(), false);
  }
  SDL_Surface* plain = SDL_CreateRGBSurface(SDL_SWSURFACE, 512, 512, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  g_wholeScreen = SDL_DisplayFormat(plain);
  SDL_FreeSurface(plain);
  g_frameRenderer = renderer.get();
  std::filesystem::remove_all(folder);
  if (g_wholeScreen == nullptr) return 1;

  benchmark::Initialize(&argc, argv);
  prael_bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double copy = reporter.Fastest("BM_ScreenCopy");
  const double frame = reporter.Fastest("BM_StepFrame");
  const double flip = reporter.Fastest("BM_PageFlip");
  if (copy > 0.0 && frame > 0.0) {
    std::printf("StepFrame / whole 512x512 screen copy: %.3f us / %.3f us = ratio %.2f (target <= 15)\n",
                frame, copy, frame / copy);
    std::printf("of which SDL's PageFlip alone: %.3f us = %.2f copies\n", flip, flip / copy);
  }
  SDL_FreeSurface(g_wholeScreen);
  renderer->Shutdown();
  benchmark::Shutdown();
  return 0;
}
