// The order of the glyphs in the bitmap font: the art compiler draws the font
// in this order and the game's renderer picks glyphs by it. Letters are upper
// case only; whatever the font lacks shows as its last glyph.
#pragma once

#include <cctype>

namespace PraelFont {

constexpr int kUnknownGlyph = 42;

inline int GlyphOf(char character) {
  const int upper = std::toupper(static_cast<unsigned char>(character));
  if (upper >= 'A' && upper <= 'Z') return upper - 'A';
  if (upper >= '0' && upper <= '9') return 32 + (upper - '0');
  switch (upper) {
    case '-':
      return 26;
    case '.':
      return 27;
    case ',':
      return 28;
    case '!':
      return 29;
    case '\'':
      return 30;
    case '&':
      return 31;
    default:
      return kUnknownGlyph;
  }
}

}  // namespace PraelFont
