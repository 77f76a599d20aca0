#include "renderersdl_load.h"

#include <cstring>

namespace Orvix {

const char* FileExtension(const char* path) { return path != nullptr ? std::strrchr(path, '.') : nullptr; }

SDL_Surface* LoadBitmapFile(const char* path) {
  SDL_RWops* file = SDL_RWFromFile(path, "rb");
  if (file == nullptr) return nullptr;
  return SDL_LoadBMP_RW(file, 1);
}

}  // namespace Orvix
