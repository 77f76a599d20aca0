// PraelRenderer: text in the bitmap font. The font image holds 16 x 16
// glyphs in one row, in the order of GlyphOf; magenta is transparent.
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "content/art/font_glyphs.h"
#include "game/rendprael.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"

int PraelRenderer::GlyphOf(char character) { return PraelFont::GlyphOf(character); }

bool PraelRenderer::LoadFont(const char* path) {
  m_fontImage = LoadImageA(path);
  if (m_fontImage == nullptr) return false;
  SDL_Surface* surface = m_fontImage->surface;
  SDL_SetColorKey(surface, SDL_SRCCOLORKEY | SDL_RLEACCEL, SDL_MapRGB(surface->format, 255, 0, 255));
  return true;
}

bool PraelRenderer::DrawString(int x, int y, const char* format, ...) {
  if (m_fontImage == nullptr) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("DrawString: no font loaded");
    return false;
  }
  va_list args;
  va_start(args, format);
  va_list measureArgs;
  va_copy(measureArgs, args);
  const int length = std::vsnprintf(nullptr, 0, format, measureArgs);
  va_end(measureArgs);
  if (length < 0) {
    va_end(args);
    return false;
  }
  char* text = static_cast<char*>(OX_MALLOC(static_cast<size_t>(length) + 1));
  if (text == nullptr) {
    va_end(args);
    return false;
  }
  std::vsnprintf(text, static_cast<size_t>(length) + 1, format, args);
  va_end(args);

  // Only glyphs that touch the screen are drawn: SDL's 16-bit coordinates
  // would bring those far off it (a very long text) back onto it.
  const int64_t width = m_screen != nullptr ? m_screen->w : 0;
  const int64_t height = m_screen != nullptr ? m_screen->h : 0;
  const bool rowShows = y<height&& static_cast<int64_t>(y) + kGlyphSize> 0;
  for (int i = 0; rowShows && i < length; ++i) {
    const int64_t left = x + static_cast<int64_t>(i) * kGlyphSize;
    if (left >= width) break;
    if (text[i] == ' ' || left + kGlyphSize <= 0) continue;
    SDL_Rect source = {static_cast<Sint16>(GlyphOf(text[i]) * kGlyphSize), 0, kGlyphSize, kGlyphSize};
    SDL_Rect destination = {static_cast<Sint16>(left), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(m_fontImage->surface, &source, m_screen, &destination);
  }
  OX_FREE(text);
  return true;
}
