#include "preview.h"

#include <algorithm>

#include "statement_file.h"

namespace ArtC {

using ImageKit::Image;
using ImageKit::kMagenta;
using ImageKit::Rect;

namespace {

constexpr int kScreenSize = 512;
constexpr int kRoomTop = 128;

const Sheet* FindSheet(const std::vector<Sheet>& sheets, const std::string& output) {
  const auto found =
      std::find_if(sheets.begin(), sheets.end(), [&](const Sheet& s) { return s.output == output; });
  return found == sheets.end() ? nullptr : &*found;
}

void DrawTile(Image& screen, const Sheet& sheet, int tile, int x, int y) {
  if (!sheet.grid || tile < 0 || tile >= sheet.count) return;
  const Rect from{(tile % sheet.columns) * sheet.tileWidth, (tile / sheet.columns) * sheet.tileHeight,
                  sheet.tileWidth, sheet.tileHeight};
  screen.Blit(sheet.image, from, x, y, &kMagenta);
}

}  // namespace

std::optional<Image> RenderScreenPreview(const std::string& scenePath, const std::vector<Sheet>& sheets,
                                         const SpriteDefinition& sprites, std::string* error) {
  StatementFile file;
  if (!file.Open(scenePath, error)) return std::nullopt;
  Image screen(kScreenSize, kScreenSize);
  int roomRow = 0;
  auto fail = [&](const std::string& text) {
    file.Fail(error, text);
    return std::nullopt;
  };
  auto tilemap = [&](int index) -> const Sheet* {
    if (index < 0 || index >= static_cast<int>(sprites.tilemaps.size())) return nullptr;
    return FindSheet(sheets, sprites.tilemaps[index].path);
  };
  while (file.Next()) {
    const std::vector<std::string>& words = file.Words();
    std::vector<int> n;
    auto numbers = [&](size_t first, size_t count) {
      if (words.size() != first + count) return false;
      n.resize(count);
      for (size_t i = 0; i < count; ++i)
        if (!ParseInt(words[first + i], &n[i])) return false;
      return true;
    };
    if (words[0] == "room" && numbers(1, 16)) {
      const Sheet* map = tilemap(0);
      if (!map) return fail("no tilemap 0");
      for (int column = 0; column < 16; ++column)
        DrawTile(screen, *map, n[column], column * 32, kRoomTop + roomRow * 32);
      ++roomRow;
    } else if (words[0] == "sprite" && numbers(2, 3)) {
      const SpriteDecl* sprite = sprites.Find(words[1]);
      if (!sprite) return fail("no sprite \"" + words[1] + "\"");
      if (n[0] < 0 || n[0] >= static_cast<int>(sprite->frames.size())) return fail("no such frame");
      const Sheet* sheet = tilemap(sprite->tilemap);
      if (!sheet) return fail("sprite \"" + words[1] + "\" has no sheet");
      DrawTile(screen, *sheet, sprite->frames[n[0]], n[1], n[2]);
    } else if (words[0] == "hudtile" && numbers(1, 3)) {
      const Sheet* hud = tilemap(1);
      if (!hud) return fail("no tilemap 1");
      DrawTile(screen, *hud, n[0], n[1], n[2]);
    } else if (words[0] == "image" && numbers(2, 2)) {
      const Sheet* sheet = FindSheet(sheets, words[1]);
      if (!sheet) return fail("no sheet \"" + words[1] + "\"");
      screen.Blit(sheet->image, n[0], n[1]);
    } else if (words[0] == "text" && words.size() == 4 && ParseInt(words[1], &n.emplace_back()) &&
               ParseInt(words[2], &n.emplace_back())) {
      const Sheet* font = FindSheet(sheets, "tevtext32.bmp");
      if (!font) return fail("no font sheet");
      for (size_t i = 0; i < words[3].size(); ++i)
        DrawTile(screen, *font, GlyphNumber(words[3][i]), n[0] + 16 * static_cast<int>(i), n[1]);
    } else {
      return fail("unknown or malformed line");
    }
  }
  return screen;
}

}  // namespace ArtC
