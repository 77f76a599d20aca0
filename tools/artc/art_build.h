// One run of the art compiler over a manifest (see artc_main.cpp): reads the
// pictures, compiles and writes the sheets, checks and copies the sprite
// definition file.
#pragma once

#include <string>
#include <vector>

#include "picture_library.h"
#include "sheet.h"
#include "sprite_def.h"

namespace ArtC {

class ArtBuild {
 public:
  bool Run(const std::string& manifest, const std::string& outputFolder, std::string* error);

  const std::vector<Sheet>& Sheets() const { return sheets_; }
  const SpriteDefinition& Sprites() const { return sprites_; }
  // The scene files named by "preview" lines.
  const std::vector<std::string>& PreviewScenes() const { return previewScenes_; }

 private:
  bool CheckSprites(std::string* error) const;

  PictureLibrary library_;
  std::vector<Sheet> sheets_;
  SpriteDefinition sprites_;
  std::vector<std::string> previewScenes_;
};

}  // namespace ArtC
