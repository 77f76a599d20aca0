// Decoding of the small BMP files that dialogs show. SDL reads the file (and
// checks its structure); the pixels are converted to plain RGB so that any
// window toolkit can draw them.
#include <SDL/SDL.h>

#include <cstring>

#include "dialog_internal.h"
#include "memtrack.h"

namespace Orvix {

namespace {

// 24-bit RGB with the red byte first in memory.
SDL_Surface* CreateRgbSurface(int width, int height) {
  return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
}

}  // namespace

unsigned char* LoadBitmapRgb(const char* path, int* width, int* height) {
  SDL_Surface* loaded = SDL_LoadBMP(path);
  if (loaded == nullptr) return nullptr;
  unsigned char* pixels = nullptr;
  if (loaded->w > 0 && loaded->h > 0 && loaded->w <= kMaxBitmapSide && loaded->h <= kMaxBitmapSide) {
    SDL_Surface* rgb = CreateRgbSurface(loaded->w, loaded->h);
    if (rgb != nullptr && SDL_BlitSurface(loaded, nullptr, rgb, nullptr) == 0) {
      const size_t rowBytes = static_cast<size_t>(rgb->w) * 3;
      pixels = OX_NEW unsigned char[rowBytes * static_cast<size_t>(rgb->h)];
      const unsigned char* source = static_cast<const unsigned char*>(rgb->pixels);
      for (int row = 0; row < rgb->h; ++row)
        std::memcpy(pixels + rowBytes * static_cast<size_t>(row),
                    source + static_cast<size_t>(row) * rgb->pitch, rowBytes);
      *width = rgb->w;
      *height = rgb->h;
    }
    if (rgb != nullptr) SDL_FreeSurface(rgb);
  }
  SDL_FreeSurface(loaded);
  return pixels;
}

}  // namespace Orvix
