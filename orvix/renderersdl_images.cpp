// RendererSDL: images, opaque bitmaps kept in a pool of 512 records.
#include <strings.h>

#include <cstring>

#include "logging.h"
#include "renderersdl.h"
#include "renderersdl_load.h"

namespace Orvix {

Image* RendererSDL::LoadImageA(const char* path) {
  const char* extension = FileExtension(path);
  if (extension == nullptr) return nullptr;
  if (strcasecmp(extension, ".bmp") != 0) {
    CSingleton<COrvixLogger>::Instance().Log("Unknown image type: %s", extension);
    return nullptr;
  }
  if (m_imagePool == nullptr) return nullptr;

  CSingleton<COrvixLogger>::Instance().Log("loading BMP image: %s", path);
  SDL_Surface* loaded = LoadBitmapFile(path);
  if (loaded == nullptr) return nullptr;
  Image* image = static_cast<Image*>(m_imagePool->GetChunk());
  if (image == nullptr) {
    SDL_FreeSurface(loaded);
    return nullptr;
  }
  std::memset(image, 0, sizeof *image);
  image->surface = SDL_DisplayFormat(loaded);
  SDL_FreeSurface(loaded);
  if (image->surface == nullptr) {
    m_imagePool->FreeChunk(image);
    return nullptr;
  }
  image->width = image->surface->w;
  image->height = image->surface->h;
  return image;
}

void RendererSDL::DrawImage(Image* image, int x, int y) {
  if (image == nullptr || image->surface == nullptr || m_screen == nullptr) return;
  SDL_Rect destination = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
  SDL_BlitSurface(image->surface, nullptr, m_screen, &destination);
}

unsigned RendererSDL::GetNumImages() const {
  return m_imagePool != nullptr ? m_imagePool->GetNumAllocs() : 0;
}

void RendererSDL::FreeImages() {
  if (m_imagePool == nullptr) return;
  for (unsigned i = 0; i < m_imagePool->GetNumAllocs(); ++i) {
    Image* image = static_cast<Image*>((*m_imagePool)[i]);
    SDL_FreeSurface(image->surface);
    image->surface = nullptr;
  }
  m_imagePool->Clear(true);
}

}  // namespace Orvix
