#include "label.h"

#include <cctype>

namespace ImageKit {
namespace {

struct Glyph {
  char character;
  const char* rows[5];
};

// Three pixels wide, five high; '#' is ink.
constexpr Glyph kGlyphs[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}},  {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}},  {'3', {"##.", "..#", ".#.", "..#", "##."}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}},  {'5', {"###", "#..", "##.", "..#", "##."}},
    {'6', {".##", "#..", "###", "#.#", "###"}},  {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}},  {'9', {"###", "#.#", "###", "..#", "##."}},
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}},  {'B', {"##.", "#.#", "##.", "#.#", "##."}},
    {'C', {".##", "#..", "#..", "#..", ".##"}},  {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', {"###", "#..", "##.", "#..", "###"}},  {'F', {"###", "#..", "##.", "#..", "#.."}},
    {'G', {".##", "#..", "#.#", "#.#", ".##"}},  {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'I', {"###", ".#.", ".#.", ".#.", "###"}},  {'J', {"..#", "..#", "..#", "#.#", ".#."}},
    {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},  {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'M', {"#.#", "###", "###", "#.#", "#.#"}},  {'N', {"##.", "#.#", "#.#", "#.#", "#.#"}},
    {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},  {'P', {"##.", "#.#", "##.", "#..", "#.."}},
    {'Q', {".#.", "#.#", "#.#", "##.", ".##"}},  {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'S', {".##", "#..", ".#.", "..#", "##."}},  {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},  {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},
    {'W', {"#.#", "#.#", "###", "###", "#.#"}},  {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'Y', {"#.#", "#.#", ".#.", ".#.", ".#."}},  {'Z', {"###", "..#", ".#.", "#..", "###"}},
    {' ', {"...", "...", "...", "...", "..."}},  {'-', {"...", "...", "###", "...", "..."}},
    {'.', {"...", "...", "...", "...", ".#."}},  {',', {"...", "...", "...", ".#.", "#.."}},
    {':', {"...", ".#.", "...", ".#.", "..."}},  {'/', {"..#", "..#", ".#.", "#..", "#.."}},
    {'(', {".#.", "#..", "#..", "#..", ".#."}},  {')', {".#.", "..#", "..#", "..#", ".#."}},
    {'#', {"#.#", "###", "#.#", "###", "#.#"}},  {'_', {"...", "...", "...", "...", "###"}},
    {'\'', {".#.", ".#.", "...", "...", "..."}}, {'!', {".#.", ".#.", ".#.", "...", ".#."}},
    {'?', {"##.", "..#", ".#.", "...", ".#."}},
};

constexpr Glyph kUnknown = {'\0', {"###", "#.#", "#.#", "#.#", "###"}};

const Glyph& GlyphFor(char character) {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
  for (const Glyph& glyph : kGlyphs)
    if (glyph.character == wanted) return glyph;
  return kUnknown;
}

}  // namespace

int LabelWidth(const std::string& text, int scale) {
  if (text.empty()) return 0;
  return (static_cast<int>(text.size()) * 4 - 1) * scale;
}

void DrawLabel(Image& image, int x, int y, const std::string& text, Rgb colour, int scale) {
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph& glyph = GlyphFor(text[i]);
    const int left = x + static_cast<int>(i) * 4 * scale;
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (glyph.rows[row][col] == '#')
          image.Fill(Rect{left + col * scale, y + row * scale, scale, scale}, colour);
  }
}

void DrawLabelBoxed(Image& image, int x, int y, const std::string& text, Rgb colour, Rgb background,
                    int scale) {
  image.Fill(Rect{x - scale, y - scale, LabelWidth(text, scale) + 2 * scale, LabelHeight(scale) + 2 * scale},
             background);
  DrawLabel(image, x, y, text, colour, scale);
}

}  // namespace ImageKit
