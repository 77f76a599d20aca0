#include "tests/fuzz/fuzz_support.h"

#include <SDL/SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "orvix/platform.h"

// sdl12-compat never frees the surface it makes for each SDL_SetVideoMode; the
// targets open their screen once, so that block is the only one left at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:SDL_SetVideoMode\n"; }

namespace fuzz {

namespace {

char g_folder[256];

void RemoveFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(g_folder, ignored);
}

}  // namespace

void StartHeadless() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Orvix::SetHeadless(true);
  const char* temp = std::getenv("TMPDIR");
  std::snprintf(g_folder, sizeof g_folder, "%s/prael-fuzz-XXXXXX", temp != nullptr ? temp : "/tmp");
  if (mkdtemp(g_folder) == nullptr || chdir(g_folder) != 0) {
    std::perror("fuzz: no working folder");
    std::abort();
  }
  std::atexit(RemoveFolder);
}

bool WriteFile(const char* path, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

bool WriteTileSheet(const char* path, int width, int height, int tileSize) {
  SDL_Surface* sheet =
      SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  if (sheet == nullptr) return false;
  const int columns = width / tileSize;
  for (int y = 0; y < height; y += tileSize) {
    for (int x = 0; x < width; x += tileSize) {
      const Uint32 tile = static_cast<Uint32>((y / tileSize) * columns + x / tileSize);
      SDL_Rect rect = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(tileSize),
                       static_cast<Uint16>(tileSize)};
      SDL_FillRect(sheet, &rect,
                   SDL_MapRGB(sheet->format, static_cast<Uint8>(tile * 7), 90, static_cast<Uint8>(tile)));
    }
  }
  const bool saved = SDL_SaveBMP(sheet, path) == 0;
  SDL_FreeSurface(sheet);
  return saved;
}

}  // namespace fuzz
