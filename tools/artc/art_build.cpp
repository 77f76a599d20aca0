#include "art_build.h"

#include <algorithm>
#include <filesystem>

#include "bmp.h"

namespace ArtC {

namespace fs = std::filesystem;

bool ArtBuild::Run(const std::string& manifest, const std::string& outputFolder, std::string* error) {
  StatementFile file;
  if (!file.Open(manifest, error)) return false;
  const fs::path folder = file.Folder();
  std::string spriteDefPath;
  while (file.Next()) {
    const std::vector<std::string>& words = file.Words();
    if (words[0] == "pictures") {
      for (size_t i = 1; i < words.size(); ++i)
        if (!library_.LoadFile((folder / words[i]).string(), error)) return false;
    } else if (words[0] == "sheet" && words.size() == 2) {
      Sheet sheet;
      if (!CompileSheet((folder / words[1]).string(), library_, &sheet, error)) return false;
      const fs::path target = fs::path(outputFolder) / sheet.output;
      fs::create_directories(target.parent_path());
      if (!ImageKit::WriteBmp(target.string(), sheet.image, error)) return false;
      sheets_.push_back(std::move(sheet));
    } else if (words[0] == "preview" && words.size() == 2) {
      previewScenes_.push_back((folder / words[1]).string());
    } else if (words[0] == "spritedef" && words.size() == 2) {
      spriteDefPath = (folder / words[1]).string();
    } else {
      return file.Fail(error, "unknown statement \"" + words[0] + "\"");
    }
  }
  if (spriteDefPath.empty()) return true;
  sprites_ = ReadSpriteDefinition(spriteDefPath);
  if (!CheckSprites(error)) return false;
  std::error_code copyError;
  fs::copy_file(spriteDefPath, fs::path(outputFolder) / fs::path(spriteDefPath).filename(),
                fs::copy_options::overwrite_existing, copyError);
  if (copyError) {
    *error = "cannot copy " + spriteDefPath + ": " + copyError.message();
    return false;
  }
  return true;
}

bool ArtBuild::CheckSprites(std::string* error) const {
  if (!sprites_.problems.empty()) {
    *error = sprites_.problems.front();
    return false;
  }
  std::vector<const Sheet*> tilemaps;
  for (const TilemapDecl& tilemap : sprites_.tilemaps) {
    const auto sheet = std::find_if(sheets_.begin(), sheets_.end(),
                                    [&](const Sheet& s) { return s.output == tilemap.path; });
    if (sheet == sheets_.end() || !sheet->grid || sheet->tileWidth != tilemap.tileWidth ||
        sheet->tileHeight != tilemap.tileHeight || tilemap.spacing != 0) {
      *error =
          "sprite definitions load \"" + tilemap.path + "\" with a tile layout no sheet of that name has";
      return false;
    }
    tilemaps.push_back(&*sheet);
  }
  for (const SpriteDecl& sprite : sprites_.sprites) {
    if (sprite.tilemap < 0 || sprite.tilemap >= static_cast<int>(tilemaps.size())) {
      *error = "sprite \"" + sprite.name + "\" names tilemap " + std::to_string(sprite.tilemap) +
               ", which is not loaded";
      return false;
    }
    if (sprite.frames.empty()) {
      *error = "sprite \"" + sprite.name + "\" has no frames";
      return false;
    }
    const Sheet& sheet = *tilemaps[sprite.tilemap];
    for (int frame : sprite.frames)
      if (frame >= sheet.count || !sheet.drawn[frame]) {
        *error = "sprite \"" + sprite.name + "\" uses tile " + std::to_string(frame) + " of " + sheet.output +
                 ", which is not drawn";
        return false;
      }
  }
  return true;
}

}  // namespace ArtC
