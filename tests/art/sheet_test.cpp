// The art compiler's sheets and whole runs: cells checked against the tile
// catalogue, sprite definitions checked against the sheets, and the same
// sources always giving the same bytes.
#include "sheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "art_build.h"
#include "tests/common/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// A catalogue of two values and a picture file with two 2 x 2 pictures.
void WriteSources() {
  WriteFileText("colours.txt", "r 200 0 0\n");
  WriteFileText("p.px", "palette colours.txt\npicture red 2 2\nrr\nrr\npicture half 2 2\nr.\nr.\n");
  std::string catalogue;
  for (int value = 0; value < 256; ++value)
    catalogue += std::to_string(value) + " " + (value == 1 ? "wall" : "t" + std::to_string(value)) + " 0 -\n";
  WriteFileText("tiles.txt", catalogue);
}

bool Compile(const std::string& sheetText, ArtC::Sheet* sheet, std::string* error) {
  ArtC::PictureLibrary library;
  if (!library.LoadFile("p.px", error)) return false;
  WriteFileText("s.sheet", sheetText);
  return ArtC::CompileSheet("s.sheet", library, sheet, error);
}

}  // namespace

TEST(ArtSheets, CellsFillTheGridInOrder) {
  ScopedTempDir dir;
  WriteSources();
  ArtC::Sheet sheet;
  std::string error;
  ASSERT_TRUE(Compile("output o.bmp\ntiles 2 2 2 3\ncell 1 = red\ncell 2 = half\n", &sheet, &error)) << error;
  EXPECT_EQ(sheet.image.Width(), 4);
  EXPECT_EQ(sheet.image.Height(), 4);
  EXPECT_EQ(sheet.image.At(0, 0), ImageKit::kMagenta);  // cell 0 is left empty
  EXPECT_EQ(sheet.image.At(2, 0), (ImageKit::Rgb{200, 0, 0}));
  EXPECT_EQ(sheet.image.At(0, 2), (ImageKit::Rgb{200, 0, 0}));
  EXPECT_EQ(sheet.image.At(1, 2), ImageKit::kMagenta);
  EXPECT_EQ(sheet.drawn, (std::vector<bool>{false, true, true}));
}

TEST(ArtSheets, MistakesInASheetAreReported) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"output o.bmp\ntiles 2 2 16 256\ncatalogue tiles.txt\ncell 1 floor = red\n",
       "is \"wall\" in the catalogue"},
      {"output o.bmp\ntiles 2 2 16 256\ncatalogue tiles.txt\ncells 0-254 = red\n",
       "value 255 (t255) has no cell"},
      {"output o.bmp\ntiles 2 2 2 4\ncell 4 = red\n", "cell 4 is outside the sheet"},
      {"output o.bmp\ntiles 2 2 2 4\ncell 0 = red\ncell 0 = half\n", "cell 0 is drawn twice"},
      {"output o.bmp\ntiles 4 4 2 4\ncell 0 = red\n", "is 2x2, tiles are 4x4"},
      {"output o.bmp\ncell 0 = red\n", "cells need a \"tiles\" line"},
      {"tiles 2 2 2 4\n", "no output"},
      {"output o.bmp\ncanvas 8 8\ntext 0 0 A\n", "unknown picture \"glyph_0\""},
  };
  for (const Case& c : cases) {
    ScopedTempDir dir;
    WriteSources();
    ArtC::Sheet sheet;
    std::string error;
    EXPECT_FALSE(Compile(c.text, &sheet, &error)) << c.text;
    EXPECT_NE(error.find(c.message), std::string::npos) << "got: " << error;
  }
}

TEST(ArtBuild, SpriteDefinitionsMustMatchTheSheets) {
  struct Case {
    const char* def;
    const char* message;
  };
  const Case cases[] = {
      {"LOAD_TILEMAP o.bmp 2 2 0\nSPRITE A { ANIMATION { 1 } }\n", ""},
      {"LOAD_TILEMAP o.bmp 2 2 0\nSPRITE A { ANIMATION { 0 } }\n",
       "uses tile 0 of o.bmp, which is not drawn"},
      {"LOAD_TILEMAP o.bmp 2 2 0\nSPRITE A { ANIMATION { 9 } }\n", "uses tile 9"},
      {"LOAD_TILEMAP o.bmp 4 4 0\nSPRITE A { ANIMATION { 1 } }\n", "with a tile layout no sheet"},
      {"LOAD_TILEMAP o.bmp 2 2 0\nSPRITE A { TILEMAP 1 ANIMATION { 1 } }\n", "names tilemap 1"},
      {"LOAD_TILEMAP o.bmp 2 2 0\nSPRITE A { }\n", "has no frames"},
      {"SPRITE A\n{ ANIMATION { 1 } }\n", "ends its line"},
  };
  for (const Case& c : cases) {
    ScopedTempDir dir;
    WriteSources();
    WriteFileText("s.sheet", "output o.bmp\ntiles 2 2 2 3\ncell 1 = red\n");
    WriteFileText("s.def", c.def);
    WriteFileText("manifest.txt", "pictures p.px\nsheet s.sheet\nspritedef s.def\n");
    ArtC::ArtBuild build;
    std::string error;
    const bool built = build.Run(dir.File("manifest.txt"), dir.File("out"), &error);
    if (c.message[0] == '\0') {
      EXPECT_TRUE(built) << error;
      EXPECT_TRUE(fs::exists(dir.File("out/s.def")));
    } else {
      EXPECT_FALSE(built) << c.def;
      EXPECT_NE(error.find(c.message), std::string::npos) << "got: " << error;
    }
  }
}

TEST(ArtBuild, TheGameArtIsReproducible) {
  const fs::path runFolder = fs::current_path();
  ScopedTempDir dir;
  const std::string manifest = PRAEL_ART_SOURCE_DIR "/manifest.txt";
  std::string error;
  ArtC::ArtBuild first, second;
  ASSERT_TRUE(first.Run(manifest, dir.File("a"), &error)) << error;
  ASSERT_TRUE(second.Run(manifest, dir.File("b"), &error)) << error;
  int files = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir.File("a"))) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), dir.File("a"));
    EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(fs::path(dir.File("b")) / relative)) << relative;
    // The run folder holds the same bytes.
    EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(runFolder / relative)) << relative;
    ++files;
  }
  EXPECT_EQ(files, 12);  // five sheets, HUD, footer, font, two set-up pictures, icon, sprite.def
}
