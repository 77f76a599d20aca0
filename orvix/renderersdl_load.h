// Helpers shared by the renderer's bitmap loaders (images and tilemaps).
#pragma once

#include <SDL/SDL.h>

namespace Orvix {

// The last "." of `path` and everything after it, or null when there is none.
const char* FileExtension(const char* path);

// The bitmap at `path` as SDL loaded it, or null.
SDL_Surface* LoadBitmapFile(const char* path);

}  // namespace Orvix
