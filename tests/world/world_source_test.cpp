// The text sources: the shipped sources compile to the shipped map, byte for
// byte and every time; rooms dumped as text compile back to themselves;
// mistakes are reported with file and line; the tool refuses faulty worlds.
#include "world_source.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "room_text.h"
#include "tests/common/temp_dir.h"

namespace {

using World::RoomId;
using World::WorldMap;
using World::WorldSource;

const std::string kSources = PRAEL_WORLD_SOURCES;

WorldMap CompileShipped(WorldSource* source) {
  WorldMap map;
  std::string error;
  EXPECT_TRUE(World::CompileWorld(kSources + "/world.txt", kSources + "/rooms", source, &map, &error))
      << error;
  return map;
}

TEST(WorldSources, CompileToTheShippedMapEveryTime) {
  WorldSource first, second;
  const std::vector<uint8_t> bytes = CompileShipped(&first).Serialize();
  EXPECT_EQ(CompileShipped(&second).Serialize(), bytes);
  WorldMap shipped;
  std::string error;
  ASSERT_TRUE(shipped.Load("overworld1.wmap", &error)) << error;
  EXPECT_EQ(shipped.Serialize(), bytes);
}

TEST(WorldSources, EveryRoomDumpedAsTextCompilesBackToItself) {
  WorldSource source;
  const WorldMap map = CompileShipped(&source);
  ScopedTempDir dir;
  WriteFileText("world.txt", ReadFileText(kSources + "/world.txt"));
  std::filesystem::create_directory("rooms");
  for (int y = 0; y < World::kWorldRoomsY; ++y) {
    for (int x = 0; x < World::kWorldRoomsX; ++x) {
      WriteFileText("rooms/" + std::to_string(y * 16 + x) + ".room",
                    World::DumpRoom(map, RoomId{x, y}, source));
    }
  }
  WorldSource again;
  WorldMap rebuilt;
  std::string error;
  ASSERT_TRUE(World::CompileWorld("world.txt", "rooms", &again, &rebuilt, &error)) << error;
  EXPECT_EQ(rebuilt.Serialize(), map.Serialize());
}

TEST(WorldSources, DumpFallsBackToHexForTilesNoLegendNames) {
  WorldMap map;
  map.SetRoomTile(0, RoomId{1, 1}, 0, 0, 0xab);
  WorldSource source;
  source.defaultLegend = "plain";
  source.legends["plain"].entries['.'] = World::LegendEntry{0, "ground"};
  const std::string text = World::DumpRoom(map, RoomId{1, 1}, source);
  EXPECT_NE(text.find("layer0 hex\nab 00 00"), std::string::npos) << text;
}

struct BadRoom {
  const char* name;
  const char* text;
  const char* message;
};

void PrintTo(const BadRoom& room, std::ostream* out) { *out << room.name; }

class WorldSourceMistake : public testing::TestWithParam<BadRoom> {};

TEST_P(WorldSourceMistake, IsReportedWithItsPlace) {
  ScopedTempDir dir;
  WriteFileText("world.txt", "fill 238\nlegend plain\ntile . 0 ground\ntile # 238 rock\n");
  std::filesystem::create_directory("rooms");
  WriteFileText("rooms/a.room", GetParam().text);
  WorldSource source;
  WorldMap map;
  std::string error;
  EXPECT_FALSE(World::CompileWorld("world.txt", "rooms", &source, &map, &error));
  EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
}

// A grid of ground with `special` as row `row`.
std::string Grid(const std::string& special, int row = 0) {
  std::string text = "layer0\n";
  for (int r = 0; r < 11; ++r) text += (r == row ? special : "................") + "\n";
  return text;
}

const std::string kMissingRoom = "name nowhere\n" + Grid("................");
const std::string kUnknownChar = "room 1 1\n" + Grid("......?.........");
const std::string kShortRow = "room 1 1\n" + Grid("......");
const std::string kDoorWithoutState = "room 1 1\n" + Grid(".......DD.......", 1);
const std::string kBadSpawn = "room 1 1\nspawn Dragon 1 2\n" + Grid("................");
const std::string kTwice = "room 1 1\nroom 1 2\n" + Grid("................");

const BadRoom kBadRooms[] = {
    {"NoRoomLine", kMissingRoom.c_str(), "a.room:1: a room file starts with 'room"},
    {"CharacterNotInLegend", kUnknownChar.c_str(), "'?' is not in the legend"},
    {"ShortGridRow", kShortRow.c_str(), "a.room:3: a grid row is 16 characters wide"},
    {"DoorCellWithoutDoorState", kDoorWithoutState.c_str(), "the top wall, which has no door line"},
    {"UnknownEntityType", kBadSpawn.c_str(), "a.room:2: expected: spawn"},
    {"RoomLineTwice", kTwice.c_str(), "a.room:2: unknown line"},
};

INSTANTIATE_TEST_SUITE_P(Mistakes, WorldSourceMistake, testing::ValuesIn(kBadRooms),
                         [](const testing::TestParamInfo<BadRoom>& info) {
                           return std::string(info.param.name);
                         });

TEST(WorldCompiler, RefusesAWorldWithFaultsAndLeavesNoMapBehind) {
  ScopedTempDir dir;
  // The start room is solid rock: no hero can stand on the start tiles.
  WriteFileText("world.txt", "fill 238\nlegend plain\ntile . 0 ground\n");
  std::filesystem::create_directory("rooms");
  WriteFileText("out.wmap", "stale");
  const std::string command = std::string(PRAEL_WORLDC) + " compile world.txt rooms out.wmap 2> faults.txt";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists("out.wmap"));
  EXPECT_NE(ReadFileText("faults.txt").find("room (7, 7) [start-tile-blocked]"), std::string::npos)
      << ReadFileText("faults.txt");
}

TEST(WorldCompiler, ValidatesAndDumpsTheShippedMap) {
  const std::string worldc = PRAEL_WORLDC;
  const std::string shipped = std::filesystem::absolute("overworld1.wmap").string();
  EXPECT_EQ(std::system((worldc + " validate " + shipped).c_str()), 0);
  ScopedTempDir dir;
  const std::string dump = worldc + " dump " + shipped + " 7 7 " + kSources + "/world.txt > room.txt";
  ASSERT_EQ(std::system(dump.c_str()), 0);
  const std::string text = ReadFileText("room.txt");
  EXPECT_EQ(text.rfind("room 7 7\nlayer0\nTTTTTT....TTTTTT\n", 0), 0u) << text;
}

}  // namespace
