#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render_helpers.h"

using namespace render_test;

namespace {

const char kSheetLine[] = "LOAD_TILEMAP sheet.bmp 16 16 0\n";

// Sprite definition files and the 64 by 32 sheet of 16 by 16 tiles they
// name, each tile in its own colour and tile 6 magenta on its left half.
class SpriteDefTest : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    WriteBmp("sheet.bmp", 64, 32, [](int x, int y) {
      const unsigned tile = static_cast<unsigned>(y / 16 * 4 + x / 16);
      return tile == 6 && x % 16 < 8 ? kMagenta : TileColour(tile);
    });
  }

  bool Load(const std::string& text) {
    WriteFileText("test.def", text);
    return renderer.LoadSpriteDef("test.def");
  }

  std::vector<int> Frames(const char* name) {
    std::vector<int> frames;
    const Orvix::SpriteType* type = renderer.GetSpriteType(name);
    if (type == nullptr) return {-1};
    for (int i = 0; i < type->frameCount; ++i) frames.push_back(type->frames[i]);
    return frames;
  }
};

}  // namespace

TEST_F(SpriteDefTest, ASpriteNamesItsTilemapAndFrames) {
  ASSERT_TRUE(Load(std::string(kSheetLine) + kSheetLine +
                   "SPRITE Aveth {\n"
                   "  TILEMAP 1\n"
                   "  ANIMATION {\n"
                   "    0 1 2\n"
                   "    3\n"
                   "  }\n"
                   "}\n"));
  EXPECT_EQ(renderer.GetNumTilemaps(), 2);
  const Orvix::SpriteType* aveth = renderer.GetSpriteType("Aveth");
  ASSERT_NE(aveth, nullptr);
  EXPECT_EQ(aveth->tilemap, 1);
  EXPECT_EQ(Frames("Aveth"), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(renderer.GetSpriteType("aveth"), nullptr);
  EXPECT_EQ(renderer.GetSpriteType("Missing"), nullptr);
}

TEST_F(SpriteDefTest, TokenRulesOfTheFormat) {
  struct Case {
    const char* what;
    const char* body;
    std::vector<int> frames;
  };
  const Case cases[] = {
      {"lower-case keywords", "sprite A { tilemap 0 animation { 4 5 } }\n", {4, 5}},
      {"commas separate tokens", "SPRITE A { ANIMATION { 4, 5,6 ,7 } }\n", {4, 5, 6, 7}},
      {"300 is stored as 44", "SPRITE A { ANIMATION { 300 256 255 } }\n", {44, 0, 255}},
      {"a comment token ends its line", "// a sprite\nSPRITE A { ANIMATION { 1 // 2 3\n 4 } }\n", {1, 4}},
      {"a number followed by slashes reads as the number",
       "SPRITE A { ANIMATION { 1 2//three\n 3 } }\n",
       {1, 2, 3}},
      {"the rest of a brace token is ignored", "SPRITE A {x ANIMATION {9 1 2 }} }\n", {1, 2}},
      {"blank lines and tabs", "\n\n\tSPRITE\tA\t{\n\n ANIMATION { 8 }\n\t}\n", {8}},
      {"a second animation starts the frames over",
       "SPRITE A { ANIMATION { 1 2 3 } ANIMATION { 9 } }\n",
       {9}},
      {"no final line break", "SPRITE A { ANIMATION { 1 2 } }", {1, 2}},
      {"Windows line breaks", "SPRITE A {\r\n ANIMATION {\r\n 1 2\r\n }\r\n}\r\n", {1, 2}},
  };
  for (const Case& c : cases) {
    renderer.ClearSpriteTypeList();
    EXPECT_TRUE(Load(std::string(kSheetLine) + c.body)) << c.what << "\n" << log.Text();
    EXPECT_EQ(Frames("A"), c.frames) << c.what;
    EXPECT_EQ(renderer.SpriteTypesInUse(), 1u) << c.what;
  }
}

TEST_F(SpriteDefTest, ALastLineBreakChangesNothing) {
  const std::string body = std::string(kSheetLine) + "SPRITE A { ANIMATION { 1 2 }\n}";
  ASSERT_TRUE(Load(body));
  const std::vector<int> without = Frames("A");
  renderer.ClearSpriteTypeList();
  ASSERT_TRUE(Load(body + "\n"));
  EXPECT_EQ(Frames("A"), without);
  EXPECT_EQ(without, (std::vector<int>{1, 2}));
}

TEST_F(SpriteDefTest, ANameEndingItsLineKeepsTheLineBreak) {
  ASSERT_TRUE(Load(std::string(kSheetLine) + "SPRITE Aveth\n{ ANIMATION { 1 } }\n"));
  EXPECT_EQ(renderer.GetSpriteType("Aveth"), nullptr);
  EXPECT_NE(renderer.GetSpriteType("Aveth\n"), nullptr);
}

TEST_F(SpriteDefTest, TheFirstOfTwoSpritesOfOneNameIsKept) {
  ASSERT_TRUE(Load(std::string(kSheetLine) + "SPRITE Bat { ANIMATION { 1 } }\n"
                                             "SPRITE Bat { ANIMATION { 2 } }\n"));
  EXPECT_EQ(Frames("Bat"), (std::vector<int>{1}));
  EXPECT_EQ(renderer.SpriteTypesInUse(), 1u);  // the refused record went back to the pool
  EXPECT_TRUE(log.Contains("Sprite 'Bat' is already defined"));
}

TEST_F(SpriteDefTest, SyntaxErrorsStopParsingWithTheirMessages) {
  struct Case {
    const char* body;
    const char* message;
  };
  const Case cases[] = {
      {"SPRITE A { ANIMATION { 1 } }\nBOGUS x\n", "Error (test.def, line 3): Unknown keyword 'BOGUS'"},
      {"SPRITE A { ANIMATION { 1 } }\nTILEMAP 0\n", "Error (test.def, line 3): Unknown keyword 'TILEMAP'"},
      {"SPRITE A (\n", "Error (test.def, line 2): Sprite definitions must be enclosed in curly braces"},
      {"SPRITE A { ANIMATION 1 }\n",
       "Error (test.def, line 2): Animation definitions must be enclosed in curly braces"},
      {"SPRITE A {\n ANIMATION\n { 1 } }\n",
       "Error (test.def, line 3): Unknown keyword in sprite def: 'ANIMATION\n'"},
      {"SPRITE A { FRAMES { 1 } }\n", "Error (test.def, line 2): Unknown keyword in sprite def: 'FRAMES'"},
      {"LOAD_TILEMAP missing.bmp 16 16 0\n", "Error (test.def, line 2): Failed to load tilemap  missing.bmp"},
      {"LOAD_TILEMAP sheet.bmp 0 16 0\n", "Error (test.def, line 2): Failed to load tilemap  sheet.bmp"},
  };
  for (const Case& c : cases) {
    renderer.ClearSpriteTypeList();
    LogCapture caseLog;
    EXPECT_FALSE(Load(std::string(kSheetLine) + c.body)) << c.body;
    const std::string text = caseLog.Text();
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
    EXPECT_NE(text.find("*** ERROR: Failed to parse test.def"), std::string::npos) << text;
  }
}

TEST_F(SpriteDefTest, WhatCameBeforeAnErrorStaysAndTheOpenSpriteIsReturned) {
  EXPECT_FALSE(Load(std::string(kSheetLine) + "SPRITE Done { ANIMATION { 3 } }\n"
                                              "SPRITE Open { ANIMATION { 1 } oops }\n"
                                              "SPRITE Never { ANIMATION { 2 } }\n"));
  EXPECT_EQ(Frames("Done"), (std::vector<int>{3}));
  EXPECT_EQ(renderer.GetSpriteType("Open"), nullptr);
  EXPECT_EQ(renderer.GetSpriteType("Never"), nullptr);
  EXPECT_EQ(renderer.GetNumTilemaps(), 1);
  EXPECT_EQ(renderer.SpriteTypesInUse(), 1u);
}

TEST_F(SpriteDefTest, AFileEndingInsideASpriteIsNoErrorButRegistersNothing) {
  EXPECT_TRUE(Load(std::string(kSheetLine) + "SPRITE Open { ANIMATION { 1 }\n"));
  EXPECT_EQ(renderer.GetSpriteType("Open"), nullptr);
  EXPECT_EQ(renderer.SpriteTypesInUse(), 0u);
}

TEST_F(SpriteDefTest, LimitsOfTheFormatAreSyntaxErrors) {
  const std::string longestName(31, 'N');
  const std::string longestPath(123, 'p');  // plus ".bmp": 127 characters
  struct Case {
    std::string body;
    bool ok;
    const char* message;
  };
  std::string sixtyFourFrames = "SPRITE A { ANIMATION {";
  for (int i = 0; i < 64; ++i) sixtyFourFrames += " " + std::to_string(i);
  const std::string sixtyFiveFrames = sixtyFourFrames + " 64 } }\n";
  sixtyFourFrames += " } }\n";
  const Case cases[] = {
      {"SPRITE " + longestName + " { ANIMATION { 1 } }\n", true, ""},
      {"SPRITE " + longestName + "N { ANIMATION { 1 } }\n", false, "Sprite name longer than 31 characters"},
      {"LOAD_TILEMAP " + longestPath + ".bmp 16 16 0\n", false,
       "Failed to load tilemap  " /* a path it may hold */},
      {"LOAD_TILEMAP " + longestPath + "p.bmp 16 16 0\n", false, "Tilemap path longer than 127 characters"},
      {sixtyFourFrames, true, ""},
      {sixtyFiveFrames, false, "Animation of sprite 'A' has more than 64 frames"},
  };
  for (const Case& c : cases) {
    renderer.ClearSpriteTypeList();
    LogCapture caseLog;
    EXPECT_EQ(Load(std::string(kSheetLine) + c.body), c.ok) << c.body;
    EXPECT_NE(caseLog.Text().find(c.message), std::string::npos) << caseLog.Text();
  }
  renderer.ClearSpriteTypeList();
  EXPECT_TRUE(Load("SPRITE " + longestName + " { }\n"));
  EXPECT_NE(renderer.GetSpriteType(longestName.c_str()), nullptr);
}

TEST_F(SpriteDefTest, MoreSpritesThanThePoolHoldsIsASyntaxError) {
  std::string body;
  for (int i = 0; i <= TestRenderer::kSpriteTypes; ++i) body += "SPRITE S" + std::to_string(i) + " { }\n";
  EXPECT_FALSE(Load(body));
  EXPECT_TRUE(log.Contains("Error (test.def, line 65): No sprite type left in the pool")) << log.Text();
  EXPECT_NE(renderer.GetSpriteType("S63"), nullptr);
  EXPECT_EQ(renderer.GetSpriteType("S64"), nullptr);
}

TEST_F(SpriteDefTest, AFileThatCannotBeOpenedFailsSilently) {
  EXPECT_FALSE(renderer.LoadSpriteDef("absent.def"));
  EXPECT_EQ(log.Text(), "");
}

TEST_F(SpriteDefTest, ClearingForgetsNamesSoTheFileLoadsAgain) {
  const std::string body = std::string(kSheetLine) + "SPRITE A { ANIMATION { 5 } }\n";
  ASSERT_TRUE(Load(body));
  renderer.ClearSpriteTypeList();
  EXPECT_EQ(renderer.GetSpriteType("A"), nullptr);
  EXPECT_EQ(renderer.SpriteTypesInUse(), 0u);
  ASSERT_TRUE(Load(body));
  EXPECT_EQ(Frames("A"), (std::vector<int>{5}));
}

TEST_F(SpriteDefTest, NewAndDeleteSpriteType) {
  Orvix::SpriteType* made = renderer.NewSpriteType();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->frameCount, 0);  // the pool was cleared with zeros
  made->frameCount = 1;
  made->frames[0] = 3;
  ASSERT_TRUE(renderer.RegisterSpriteType("Made", made));
  EXPECT_FALSE(renderer.RegisterSpriteType("Made", made));
  EXPECT_EQ(renderer.GetSpriteType("Made"), made);
  EXPECT_TRUE(renderer.DeleteSpriteType(made));
  EXPECT_EQ(renderer.GetSpriteType("Made"), nullptr);
  EXPECT_EQ(renderer.SpriteTypesInUse(), 0u);
}

TEST_F(SpriteDefTest, DrawSpriteClipsHeightThenWidth) {
  ASSERT_TRUE(Load(std::string(kSheetLine) + "SPRITE A { ANIMATION { 5 6 } }\n"));
  Orvix::SpriteType* type = renderer.GetSpriteType("A");
  ASSERT_NE(type, nullptr);
  const Uint32 tile5 = Colour(TileColour(5));

  renderer.DrawSprite(type, 0, 0, 0, -1, -1);
  EXPECT_EQ(PixelAt(0, 0), tile5);
  EXPECT_EQ(PixelAt(15, 15), tile5);
  EXPECT_EQ(PixelAt(16, 16), Colour(kBlack));

  renderer.DrawSprite(type, 0, 32, 0, -1, 8);  // left half
  EXPECT_EQ(PixelAt(32, 15), tile5);
  EXPECT_EQ(PixelAt(39, 15), tile5);
  EXPECT_EQ(PixelAt(40, 0), Colour(kBlack));

  renderer.DrawSprite(type, 0, 0, 32, 8, -1);  // top half
  EXPECT_EQ(PixelAt(15, 39), tile5);
  EXPECT_EQ(PixelAt(0, 40), Colour(kBlack));

  renderer.DrawSprite(type, 0, 32, 32, 100, 100);  // a limit beyond the tile is the tile
  EXPECT_EQ(PixelAt(47, 47), tile5);
  EXPECT_EQ(PixelAt(48, 48), Colour(kBlack));
}

TEST_F(SpriteDefTest, DrawSpriteLeavesMagentaTransparentAndIgnoresFramesOutsideTheType) {
  ASSERT_TRUE(Load(std::string(kSheetLine) +
                   "SPRITE A { ANIMATION { 5 6 } }\nSPRITE Far { TILEMAP 9 ANIMATION { 1 } }\n"));
  Orvix::SpriteType* type = renderer.GetSpriteType("A");
  FillScreen(kGrey);
  renderer.DrawSprite(type, 2, 0, 0, -1, -1);
  renderer.DrawSprite(type, -1, 0, 0, -1, -1);
  renderer.DrawSprite(renderer.GetSpriteType("Far"), 0, 0, 0, -1, -1);
  renderer.DrawSprite(nullptr, 0, 0, 0, -1, -1);
  EXPECT_TRUE(ScreenIs(kGrey));

  renderer.DrawSprite(type, 1, 0, 0, -1, -1);
  EXPECT_EQ(PixelAt(7, 7), Colour(kGrey));
  EXPECT_EQ(PixelAt(8, 7), Colour(TileColour(6)));
}

TEST_F(SpriteDefTest, RenderFlagsGateOnlyTheirOwnKindOfDrawing) {
  ASSERT_TRUE(Load(std::string(kSheetLine) + "SPRITE A { ANIMATION { 1 } }\n"));
  WriteSolidBmp("image.bmp", 4, 4, kGrey);
  Orvix::Image* image = renderer.LoadImageA("image.bmp");
  Orvix::SpriteType* sprite = renderer.GetSpriteType("A");
  ASSERT_TRUE(image && sprite);
  auto drawAll = [&] {
    renderer.ClearScreen();
    renderer.DrawSprite(sprite, 0, 0, 0, -1, -1);
    renderer.DrawTile(0, 2, 20, 0);
    renderer.DrawImage(image, 40, 0);
  };
  struct Case {
    bool sprites, tiles;
  };
  for (const Case c : {Case{false, true}, Case{true, false}, Case{false, false}, Case{true, true}}) {
    renderer.RenderSprites(c.sprites);
    renderer.RenderTiles(c.tiles);
    drawAll();
    EXPECT_EQ(PixelAt(0, 0), Colour(c.sprites ? TileColour(1) : kBlack));
    EXPECT_EQ(PixelAt(20, 0), Colour(c.tiles ? TileColour(2) : kBlack));
    EXPECT_EQ(PixelAt(40, 0), Colour(kGrey));
  }
}
