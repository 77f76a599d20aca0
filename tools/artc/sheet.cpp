#include "sheet.h"

#include "catalogue.h"
#include "content/art/font_glyphs.h"

namespace ArtC {

using ImageKit::Image;
using ImageKit::kMagenta;
using ImageKit::Rect;
using ImageKit::Rgb;

int GlyphNumber(char character) { return PraelFont::GlyphOf(character); }

namespace {

bool ParseInts(const std::vector<std::string>& words, size_t first, size_t count, std::vector<int>* values) {
  if (words.size() < first + count) return false;
  values->resize(count);
  for (size_t i = 0; i < count; ++i)
    if (!ParseInt(words[first + i], &(*values)[i])) return false;
  return true;
}

}  // namespace

bool CompileSheet(const std::string& path, const PictureLibrary& library, Sheet* sheet, std::string* error) {
  StatementFile file;
  if (!file.Open(path, error)) return false;
  Palette palette;
  Catalogue catalogue;
  bool haveCatalogue = false;
  Rgb background = kMagenta;
  auto fail = [&](const std::string& text) { return file.Fail(error, text); };
  auto place = [&](int cell, const std::string& recipe, const std::string& label) {
    if (!sheet->grid) return fail("cells need a \"tiles\" line first");
    if (cell < 0 || cell >= sheet->count)
      return fail("cell " + std::to_string(cell) + " is outside the sheet");
    if (sheet->drawn[cell]) return fail("cell " + std::to_string(cell) + " is drawn twice");
    if (haveCatalogue && !label.empty() && catalogue.Name(cell) != label)
      return fail("cell " + std::to_string(cell) + " is \"" + catalogue.Name(cell) +
                  "\" in the catalogue, not \"" + label + "\"");
    std::string why;
    std::optional<Image> picture = library.Compose(recipe, &why);
    if (!picture) return fail(why);
    if (picture->Width() != sheet->tileWidth || picture->Height() != sheet->tileHeight)
      return fail("cell " + std::to_string(cell) + " is " + std::to_string(picture->Width()) + "x" +
                  std::to_string(picture->Height()) + ", tiles are " + std::to_string(sheet->tileWidth) +
                  "x" + std::to_string(sheet->tileHeight));
    const int x = (cell % sheet->columns) * sheet->tileWidth, y = (cell / sheet->columns) * sheet->tileHeight;
    sheet->image.Fill(Rect{x, y, sheet->tileWidth, sheet->tileHeight}, background);
    sheet->image.Blit(*picture, x, y, &kMagenta);
    sheet->labels[cell] = label;
    sheet->drawn[cell] = true;
    return true;
  };

  while (file.Next()) {
    const std::vector<std::string>& words = file.Words();
    const std::string& keyword = words[0];
    std::vector<int> v;
    if (keyword == "output" && words.size() == 2) {
      sheet->output = words[1];
    } else if (keyword == "tiles" && ParseInts(words, 1, 4, &v)) {
      if (v[0] < 1 || v[1] < 1 || v[2] < 1 || v[3] < 1 || v[0] > 512 || v[1] > 512 || v[3] > 4096)
        return fail("bad tile layout");
      sheet->grid = true;
      sheet->tileWidth = v[0];
      sheet->tileHeight = v[1];
      sheet->columns = v[2];
      sheet->count = v[3];
      const int rows = (v[3] + v[2] - 1) / v[2];
      sheet->image = Image(v[0] * std::min(v[2], v[3]), v[1] * rows, background);
      sheet->labels.assign(v[3], "");
      sheet->drawn.assign(v[3], false);
    } else if (keyword == "background" && ParseInts(words, 1, 3, &v)) {
      background = Rgb{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2])};
      if (!sheet->image.Empty())
        sheet->image.Fill(Rect{0, 0, sheet->image.Width(), sheet->image.Height()}, background);
    } else if (keyword == "catalogue" && words.size() == 2) {
      if (!catalogue.Load((file.Folder() / words[1]).string(), error)) return false;
      haveCatalogue = true;
    } else if (keyword == "cell" && words.size() >= 3) {
      int cell;
      if (!ParseInt(words[1], &cell)) return fail("bad cell number");
      const std::string label = words[2] == "=" ? "" : words[2];
      if (!place(cell, file.AfterEquals(), label)) return false;
    } else if (keyword == "cells" && words.size() >= 3) {
      const size_t dash = words[1].find('-');
      int first, last;
      if (dash == std::string::npos || !ParseInt(words[1].substr(0, dash), &first) ||
          !ParseInt(words[1].substr(dash + 1), &last) || last < first)
        return fail("expected cells <a>-<b>");
      for (int cell = first; cell <= last; ++cell)
        if (!place(cell, file.AfterEquals(), "")) return false;
    } else if (keyword == "canvas" && ParseInts(words, 1, 2, &v)) {
      if (v[0] < 1 || v[1] < 1 || v[0] > 4096 || v[1] > 4096) return fail("bad canvas size");
      sheet->image = Image(v[0], v[1], background);
    } else if (keyword == "palette" && words.size() == 2) {
      if (!ReadPaletteFile((file.Folder() / words[1]).string(), &palette, error)) return false;
    } else if ((keyword == "fill" || keyword == "frame") && words.size() == 6 && ParseInts(words, 1, 4, &v)) {
      if (words[5].size() != 1 || !palette.count(words[5][0]))
        return fail("unknown colour \"" + words[5] + "\"");
      const Rect area{v[0], v[1], v[2], v[3]};
      if (keyword == "fill")
        sheet->image.Fill(area, palette[words[5][0]]);
      else
        sheet->image.Frame(area, palette[words[5][0]]);
    } else if (keyword == "place" && ParseInts(words, 1, 2, &v) && words.size() >= 5 && words[3] == "=") {
      std::string why;
      std::optional<Image> picture = library.Compose(file.AfterEquals(), &why);
      if (!picture) return fail(why);
      sheet->image.Blit(*picture, v[0], v[1], &kMagenta);
    } else if (keyword == "text" && ParseInts(words, 1, 2, &v) && (words.size() == 4 || words.size() == 5)) {
      const std::string recolour = words.size() == 5 ? "/map:" + words[4] : "";
      for (size_t i = 0; i < words[3].size(); ++i) {
        std::string why;
        const std::string glyph = "glyph_" + std::to_string(GlyphNumber(words[3][i])) + recolour;
        std::optional<Image> picture = library.Resolve(glyph, &why);
        if (!picture) return fail(why);
        sheet->image.Blit(*picture, v[0] + 16 * static_cast<int>(i), v[1], &kMagenta);
      }
    } else if (keyword == "row" && ParseInts(words, 1, 3, &v) && words.size() >= 6 && words[4] == "=") {
      std::string why;
      std::optional<Image> picture = library.Compose(file.AfterEquals(), &why);
      if (!picture) return fail(why);
      for (int i = 0; i < v[2]; ++i)
        sheet->image.Blit(*picture, v[0] + i * picture->Width(), v[1], &kMagenta);
    } else {
      return fail("unknown or malformed statement \"" + keyword + "\"");
    }
  }
  if (sheet->output.empty()) return fail("no output");
  if (sheet->image.Empty()) return fail("neither tiles nor canvas");
  if (haveCatalogue)
    for (int cell = 0; cell < sheet->count; ++cell)
      if (!sheet->drawn[cell]) {
        *error = path + ": catalogue value " + std::to_string(cell) + " (" + catalogue.Name(cell) +
                 ") has no cell";
        return false;
      }
  return true;
}

}  // namespace ArtC
