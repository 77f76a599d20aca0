// The game renderer's room, doors and text, read back from the screen.
#include <string>

#include "game/mixer.h"
#include "game/sound.h"
#include "rendprael_fixtures.h"
#include "sound_fixtures.h"

namespace rendprael_test {
namespace {

// A world whose cells all differ within a room and from room to room, so
// that every drawn tile tells where it came from.
class PraelRoom : public PraelRendererTest {
 protected:
  void SetUp() override {
    PraelRendererTest::SetUp();
    for (int roomY = 4; roomY <= 7; ++roomY) {
      for (int roomX = 0; roomX <= 9; ++roomX) {
        for (int row = 0; row < 11; ++row) {
          for (int column = 0; column < 16; ++column) {
            map.Cell(roomX, roomY, column, row) = CellValue(roomX, roomY, column, row);
          }
        }
      }
    }
    map.Write("world.wmap");
    ASSERT_TRUE(renderer->LoadMap("world.wmap"));
    renderer->ClearScreen();
  }
  static uint8_t CellValue(int roomX, int roomY, int column, int row) {
    return static_cast<uint8_t>((row * 16 + column + roomX * 7 + roomY * 3) % 256);
  }
  // The screen pixel shows cell (column, row) of room (roomX, roomY).
  bool ShowsCell(int x, int y, int roomX, int roomY, int column, int row) {
    return ShowsTile(x, y, CellValue(roomX, roomY, column, row));
  }

  MapFile map;
};

TEST_F(PraelRoom, DrawsEveryCellOfTheRoomAtItsPixels) {
  renderer->DrawRoom(7, 6, 0.0f, 0.0f);
  for (int row = 0; row < 11; ++row) {
    for (int column = 0; column < 16; ++column) {
      const int left = column * 32;
      const int top = 128 + row * 32;
      EXPECT_TRUE(ShowsCell(left, top, 7, 6, column, row)) << column << ", " << row;
      EXPECT_TRUE(ShowsCell(left + 31, top + 31, 7, 6, column, row)) << column << ", " << row;
    }
  }
}

TEST_F(PraelRoom, HalfRoomScrollStartsAtColumnEightWithoutOffset) {
  renderer->DrawRoom(7, 6, 0.5f, 0.0f);
  EXPECT_TRUE(ShowsCell(0, 128, 7, 6, 8, 0));
  EXPECT_TRUE(ShowsCell(31, 128, 7, 6, 8, 0));
  EXPECT_TRUE(ShowsCell(32, 128, 7, 6, 9, 0));
  EXPECT_TRUE(ShowsCell(255, 479, 7, 6, 15, 10));
  EXPECT_TRUE(ShowsCell(256, 128, 8, 6, 0, 0));
  EXPECT_TRUE(ShowsCell(511, 479, 8, 6, 7, 10));
}

TEST_F(PraelRoom, FractionalScrollShiftsByPixelsAndTheRingFillsTheEdges) {
  // A quarter tile to the right: the room's cells move 8 pixels left and the
  // next room's first column shows in the last 8 pixels.
  renderer->DrawRoom(7, 6, 1.0f / 64.0f, 0.0f);
  EXPECT_TRUE(ShowsCell(0, 200, 7, 6, 0, 2));
  EXPECT_TRUE(ShowsCell(23, 200, 7, 6, 0, 2));
  EXPECT_TRUE(ShowsCell(24, 200, 7, 6, 1, 2));
  EXPECT_TRUE(ShowsCell(503, 200, 7, 6, 15, 2));
  EXPECT_TRUE(ShowsCell(504, 200, 8, 6, 0, 2));

  // Half a room up: the upper room's lower half shows above this room's
  // upper half, with a half-tile offset; the ring row reaches into the HUD
  // band and the footer band.
  renderer->ClearScreen();
  renderer->DrawRoom(7, 6, 0.0f, -0.5f);
  EXPECT_TRUE(ShowsCell(16, 90, 7, 5, 0, 4));   // ring row above the room
  EXPECT_TRUE(ShowsCell(16, 128, 7, 5, 0, 5));  // half of the first row shows
  EXPECT_TRUE(ShowsCell(16, 143, 7, 5, 0, 5));
  EXPECT_TRUE(ShowsCell(16, 144, 7, 5, 0, 6));
  EXPECT_TRUE(ShowsCell(16, 304, 7, 6, 0, 0));
  EXPECT_TRUE(ShowsCell(16, 463, 7, 6, 0, 4));
  EXPECT_TRUE(ShowsCell(16, 464, 7, 6, 0, 5));  // the ring row below the room
  EXPECT_TRUE(ShowsCell(16, 495, 7, 6, 0, 5));
  EXPECT_TRUE(RectangleIs(0, 496, 512, 16, render_test::kBlack));
}

TEST_F(PraelRoom, OutsideTheWorldOrTheScrollRangeNothingIsDrawn) {
  struct View {
    int roomX, roomY;
    float scrollX, scrollY;
  };
  for (const View& view : {View{16, 6, 0, 0}, View{-1, 6, 0, 0}, View{7, 38, 0, 0}, View{7, -1, 0, 0},
                           View{7, 6, 1.01f, 0}, View{7, 6, 0, -1.01f}}) {
    renderer->DrawRoom(view.roomX, view.roomY, view.scrollX, view.scrollY);
    EXPECT_TRUE(RectangleIs(0, 0, 512, 512, render_test::kBlack))
        << view.roomX << ", " << view.roomY << " scroll " << view.scrollX << ", " << view.scrollY;
  }
}

TEST_F(PraelRoom, CellsBeforeTheStartOfTheMapAreSkipped) {
  renderer->DrawRoom(0, 0, 0.0f, 0.0f);
  EXPECT_TRUE(ShowsTile(16, 144, 0));  // room (0, 0) is all tile 0 in this map
  EXPECT_TRUE(RectangleIs(0, 96, 512, 32, render_test::kBlack));
}

TEST_F(PraelRoom, RedrawsWhenTheViewTheMapOrTheTileSwitchChanges) {
  renderer->DrawRoom(7, 6, 0.0f, 0.0f);
  ASSERT_TRUE(ShowsCell(0, 128, 7, 6, 0, 0));

  renderer->DrawRoom(8, 6, 0.0f, 0.0f);
  EXPECT_TRUE(ShowsCell(0, 128, 8, 6, 0, 0));
  renderer->DrawRoom(8, 6, 0.0f, 1.0f / 11.0f);
  EXPECT_TRUE(ShowsCell(0, 128, 8, 6, 0, 1));

  // A door written into the map shows in the next drawing.
  renderer->SetView(8, 6, 0.0f, 0.0f);
  renderer->GetRoomRecord(8, 6)->doorLeft = DOOR_LOCKED;
  renderer->DrawRoom(8, 6, 0.0f, 0.0f);
  renderer->DrawDoors();
  renderer->DrawRoom(8, 6, 0.0f, 0.0f);
  EXPECT_TRUE(ShowsTile(32, 288, 141));

  map.Cell(8, 6, 0, 0) = 201;
  map.Write("world.wmap");
  ASSERT_TRUE(renderer->LoadMap("world.wmap"));
  renderer->DrawRoom(8, 6, 0.0f, 0.0f);
  EXPECT_TRUE(ShowsTile(0, 128, 201));

  renderer->ClearScreen();
  renderer->RenderTiles(false);
  renderer->DrawRoom(8, 6, 0.0f, 0.0f);
  EXPECT_TRUE(RectangleIs(0, 128, 512, 16, render_test::kBlack));
}

// ----- doors

struct DoorCells {
  int side;  // as OpenDoor numbers them
  int32_t RoomRecord::*state;
  int column, row, count;
  int archX, archY;
  uint8_t arch;
  uint8_t tiles[4][2];  // for states 1 to 4
};

constexpr DoorCells kDoors[] = {
    {4, &RoomRecord::doorLeft, 1, 5, 1, 0, 288, 121, {{173}, {157}, {157}, {141}}},
    {3, &RoomRecord::doorRight, 14, 5, 1, 480, 288, 120, {{172}, {156}, {156}, {140}}},
    {1, &RoomRecord::doorTop, 7, 1, 2, 224, 128, 122, {{168, 169}, {152, 153}, {152, 153}, {136, 137}}},
    {2, &RoomRecord::doorBottom, 7, 9, 2, 224, 448, 123, {{170, 171}, {154, 155}, {154, 155}, {138, 139}}},
};

class PraelDoors : public PraelRoom {
 protected:
  void SetDoors(int roomX, int roomY, int32_t state, uint8_t dungeon) {
    RoomRecord* room = renderer->GetRoomRecord(roomX, roomY);
    for (const DoorCells& door : kDoors) room->*door.state = state;
    room->dungeonFlag = dungeon;
  }
  uint8_t MapCell(int roomX, int roomY, int column, int row) {
    return renderer->GetMapTile(roomX * 16 + column, roomY * 11 + row, 0);
  }
};

TEST_F(PraelDoors, EachStateDrawsTheArchesAndWritesItsTiles) {
  renderer->SetView(7, 6, 0.0f, 0.0f);
  for (int32_t state = 1; state <= 5; ++state) {
    SetDoors(7, 6, state, 1);
    renderer->DrawDoors();
    for (const DoorCells& door : kDoors) {
      for (int cell = 0; cell < door.count; ++cell) {
        const int x = door.archX + cell * 32;
        EXPECT_TRUE(ShowsTile(x, door.archY, door.arch)) << "side " << door.side << " state " << state;
        EXPECT_TRUE(ShowsTile(x + 31, door.archY + 31, door.arch));
        // State 5 means nothing: the arch shows, the cell keeps its tile.
        const uint8_t expected =
            state <= 4 ? door.tiles[state - 1][cell] : CellValue(7, 6, door.column + cell, door.row);
        EXPECT_EQ(MapCell(7, 6, door.column + cell, door.row), expected)
            << "side " << door.side << " state " << state << " cell " << cell;
      }
    }
    map.Write("world.wmap");
    ASSERT_TRUE(renderer->LoadMap("world.wmap"));
  }
}

TEST_F(PraelDoors, WallsWithoutADoorAreLeftAlone) {
  renderer->SetView(7, 6, 0.0f, 0.0f);
  SetDoors(7, 6, DOOR_NONE, 1);
  renderer->GetRoomRecord(7, 6)->doorRight = -3;
  renderer->DrawRoom(7, 6, 0.0f, 0.0f);
  renderer->DrawDoors();
  for (const DoorCells& door : kDoors) {
    EXPECT_TRUE(ShowsCell(door.archX, door.archY, 7, 6, door.archX / 32, (door.archY - 128) / 32));
    EXPECT_EQ(MapCell(7, 6, door.column, door.row), CellValue(7, 6, door.column, door.row));
  }
}

TEST_F(PraelDoors, TheFrameDrawsDoorsOnlyInDungeonRooms) {
  renderer->SetView(7, 6, 0.0f, 0.0f);
  SetDoors(7, 6, DOOR_LOCKED, 0);
  renderer->StepFrame();
  for (const DoorCells& door : kDoors) {
    const int column = door.archX / 32;
    const int row = (door.archY - 128) / 32;
    EXPECT_TRUE(ShowsCell(door.archX, door.archY, 7, 6, column, row)) << "side " << door.side;
    EXPECT_EQ(MapCell(7, 6, door.column, door.row), CellValue(7, 6, door.column, door.row));
  }

  renderer->GetRoomRecord(7, 6)->dungeonFlag = 1;
  renderer->StepFrame();
  for (const DoorCells& door : kDoors) {
    EXPECT_TRUE(ShowsTile(door.archX, door.archY, door.arch)) << "side " << door.side;
    EXPECT_EQ(MapCell(7, 6, door.column, door.row), door.tiles[3][0]);
  }
}

class PraelOpenDoor : public PraelDoors {
 protected:
  void SetUp() override {
    PraelDoors::SetUp();
    ASSERT_TRUE(SoundInit()) << GetSoundError();
    const std::string blip = WriteWavFixture(
        "blip.wav", MakePcm(22050, 1, 22050, [](int i) -> int16_t { return i % 2 ? 800 : -800; }));
    for (int i = 0; i < 24; ++i) ASSERT_EQ(LoadSound(blip.c_str(), false), 1);
  }
  void TearDown() override {
    SoundShutdown();
    PraelDoors::TearDown();
  }
  bool DoorSoundPlays() { return GetSoundMixer()->IsPlaying(23); }
};

TEST_F(PraelOpenDoor, OpensTheChosenWallOfTheViewRoomWithTheDoorSound) {
  renderer->SetView(7, 6, 0.0f, 0.0f);
  for (const DoorCells& door : kDoors) {
    SetDoors(7, 6, DOOR_SHUTTER, 1);
    StopSound(23);
    renderer->OpenDoor(door.side, -1, -1);
    const RoomRecord* room = renderer->GetRoomRecord(7, 6);
    for (const DoorCells& other : kDoors) {
      EXPECT_EQ(room->*other.state, other.side == door.side ? DOOR_OPEN : DOOR_SHUTTER)
          << "opened " << door.side << ", looked at " << other.side;
    }
    EXPECT_TRUE(DoorSoundPlays()) << "side " << door.side;
  }

  // The map keeps the closed tiles until the doors are drawn again.
  SetDoors(7, 6, DOOR_SHUTTER, 1);
  renderer->DrawDoors();
  renderer->OpenDoor(2);
  EXPECT_EQ(MapCell(7, 6, 7, 9), 154);
  renderer->DrawDoors();
  EXPECT_EQ(MapCell(7, 6, 7, 9), 170);
}

TEST_F(PraelOpenDoor, OtherRoomsOpenSilentlyAndUnknownSidesChangeNothing) {
  renderer->SetView(7, 6, 0.0f, 0.0f);
  SetDoors(3, 2, DOOR_LOCKED, 1);
  SetDoors(7, 6, DOOR_LOCKED, 1);
  renderer->OpenDoor(1, 3, 2);
  EXPECT_EQ(renderer->GetRoomRecord(3, 2)->doorTop, DOOR_OPEN);
  EXPECT_FALSE(DoorSoundPlays());

  // -1 stands for the view room's coordinate, one at a time.
  renderer->OpenDoor(3, -1, 2);
  EXPECT_EQ(renderer->GetRoomRecord(7, 2)->doorRight, DOOR_OPEN);
  EXPECT_FALSE(DoorSoundPlays());

  for (int side : {0, 5, -1}) renderer->OpenDoor(side);
  renderer->OpenDoor(1, 16, 0);
  renderer->OpenDoor(1, 0, 38);
  for (const DoorCells& door : kDoors) EXPECT_EQ(renderer->GetRoomRecord(7, 6)->*door.state, DOOR_LOCKED);
  EXPECT_FALSE(DoorSoundPlays());
}

// ----- text

using PraelText = PraelRendererTest;

TEST_F(PraelText, MapsCharactersToGlyphs) {
  const std::string characters = "AZaz09-.,!'&? ~";
  const int glyphs[] = {0, 25, 0, 25, 32, 41, 26, 27, 28, 29, 30, 31, 42, 42, 42};
  for (size_t i = 0; i < characters.size(); ++i) {
    EXPECT_EQ(PraelRenderer::GlyphOf(characters[i]), glyphs[i]) << "'" << characters[i] << "'";
  }
  EXPECT_EQ(PraelRenderer::GlyphOf('\xE9'), 42);
}

TEST_F(PraelText, WithoutAFontNothingIsDrawnAndEachCallSaysSo) {
  EXPECT_FALSE(renderer->DrawString(0, 0, "X%d", 1));
  EXPECT_FALSE(renderer->DrawString(0, 0, "again"));
  const std::string text = log.Text();
  const std::string line = "DrawString: no font loaded";
  const size_t first = text.find(line);
  ASSERT_NE(first, std::string::npos) << text;
  EXPECT_NE(text.find(line, first + 1), std::string::npos);
  EXPECT_TRUE(RectangleIs(0, 0, 64, 16, render_test::kBlack));
}

TEST_F(PraelText, DrawsFormattedTextGlyphByGlyph) {
  WriteFont("font.bmp");
  ASSERT_TRUE(renderer->LoadFont("font.bmp"));
  ASSERT_TRUE(renderer->DrawString(100, 50, "X%d", 12));
  const int expected[] = {23, 33, 34};
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(RectangleIs(100 + 16 * i, 50, 12, 12, GlyphColour(expected[i]))) << "glyph " << i;
    // The glyph's magenta ground is transparent.
    EXPECT_TRUE(RectangleIs(100 + 16 * i + 12, 50, 4, 16, render_test::kBlack)) << "glyph " << i;
    EXPECT_TRUE(RectangleIs(100 + 16 * i, 62, 16, 4, render_test::kBlack)) << "glyph " << i;
  }
  EXPECT_TRUE(RectangleIs(148, 50, 16, 16, render_test::kBlack));

  // A space leaves its cell empty; lower case draws as upper case.
  ASSERT_TRUE(renderer->DrawString(0, 200, "a b"));
  EXPECT_TRUE(RectangleIs(0, 200, 12, 12, GlyphColour(0)));
  EXPECT_TRUE(RectangleIs(16, 200, 16, 16, render_test::kBlack));
  EXPECT_TRUE(RectangleIs(32, 200, 12, 12, GlyphColour(1)));
}

TEST_F(PraelText, GlyphsOffTheScreenAreNotDrawn) {
  WriteFont("font.bmp");
  ASSERT_TRUE(renderer->LoadFont("font.bmp"));
  // Glyph 4096 lies 65,536 pixels to the right: in SDL's 16-bit coordinates
  // it would land where the leading space leaves its gap.
  const std::string text = " " + std::string(4095, 'A') + "B";
  ASSERT_TRUE(renderer->DrawString(8, 300, "%s", text.c_str()));
  EXPECT_TRUE(RectangleIs(8, 300, 16, 16, render_test::kBlack));
  EXPECT_TRUE(RectangleIs(24, 300, 12, 12, GlyphColour(0)));
  EXPECT_TRUE(RectangleIs(504, 300, 8, 12, GlyphColour(0)));

  ASSERT_TRUE(renderer->DrawString(-65536 + 100, 100, "B"));
  ASSERT_TRUE(renderer->DrawString(100, 65536 + 100, "B"));
  EXPECT_TRUE(RectangleIs(100, 100, 16, 16, render_test::kBlack));
}

TEST_F(PraelText, MissingFontFileIsReported) {
  EXPECT_FALSE(renderer->LoadFont("nowhere.bmp"));
  EXPECT_FALSE(renderer->DrawString(0, 0, "A"));
}

}  // namespace
}  // namespace rendprael_test
