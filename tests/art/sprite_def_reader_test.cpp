// The art compiler's reader of sprite definition files, which checks the
// game's file against the format's traps before it is copied.
#include <gtest/gtest.h>

#include "sprite_def.h"

using ArtC::ParseSpriteDefinition;
using ArtC::SpriteDefinition;

TEST(ArtSpriteDefReader, ReadsTilemapsAndSprites) {
  const SpriteDefinition def = ParseSpriteDefinition(
      "// comment\n"
      "LOAD_TILEMAP gfx/a.bmp 32 32 0\n"
      "sprite Aveth { TILEMAP 1\n"
      "  ANIMATION { 0, 1,2 255 }\n"
      "}\n",
      "t.def");
  EXPECT_TRUE(def.problems.empty()) << def.problems.front();
  ASSERT_EQ(def.tilemaps.size(), 1u);
  EXPECT_EQ(def.tilemaps[0].path, "gfx/a.bmp");
  EXPECT_EQ(def.tilemaps[0].tileWidth, 32);
  const ArtC::SpriteDecl* aveth = def.Find("Aveth");
  ASSERT_NE(aveth, nullptr);
  EXPECT_EQ(aveth->tilemap, 1);
  EXPECT_EQ(aveth->frames, (std::vector<int>{0, 1, 2, 255}));
}

TEST(ArtSpriteDefReader, ReportsWhatTheEngineWouldMisread) {
  struct Case {
    const char* text;
    const char* problem;
  };
  const Case cases[] = {
      {"SPRITE Aveth\n{ ANIMATION { 0 } }\n", "\"Aveth\" ends its line"},
      {"SPRITE Aveth { ANIMATION\n{ 0 } }\n", "\"ANIMATION\" ends its line"},
      {"LOAD_TILEMAP\ngfx/a.bmp 32 32 0\n", "\"LOAD_TILEMAP\" ends its line"},
      {"SPRITE A { ANIMATION { 0 } }\nSPRITE A { ANIMATION { 1 } }\n", "declared twice"},
      {"SPRITE A ANIMATION { 0 } }\n", "curly braces"},
      {"SPRITE A { FRAMES { 0 } }\n", "unknown keyword in sprite def"},
      {"TILE x\n", "unknown keyword 'TILE'"},
      {"SPRITE A { ANIMATION { 0 }\n", "ends inside a statement"},
      {"SPRITE A { ANIMATION { 300 } }\n", "frame 300 does not fit in a byte"},
  };
  for (const Case& c : cases) {
    const SpriteDefinition def = ParseSpriteDefinition(c.text, "t.def");
    ASSERT_FALSE(def.problems.empty()) << c.text;
    EXPECT_NE(def.problems.front().find(c.problem), std::string::npos) << "got: " << def.problems.front();
  }
}
