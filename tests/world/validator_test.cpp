// The validator on small broken maps, one per kind of fault, and on the map
// the build ships.
#include "validator.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "entity_types.h"
#include "world_fixture.h"

namespace {

using World::FaultKind;
using World::RoomId;
using World::WorldMap;
using namespace WorldTest;

std::string Describe(const std::vector<World::Fault>& faults) {
  std::string text;
  for (const World::Fault& fault : faults) text += World::FormatFault(fault) + "\n";
  return text;
}

TEST(WorldValidator, AcceptsTheSoundFixture) {
  const std::vector<World::Fault> faults = World::ValidateMap(SoundMap());
  EXPECT_TRUE(faults.empty()) << Describe(faults);
}

TEST(WorldValidator, AcceptsAStairsCaveThatCanBeLeft) {
  WorldMap map = SoundMap();
  map.SetRoomTile(0, kStartRoom, 10, 3, World::kStairsTile);
  map.Room(kStartRoom).startCell = World::CellIndex(RoomId{3, 3}, 7, 5);
  MakeCave(map, RoomId{3, 3});
  map.Room(RoomId{3, 3}).spawns[World::kTypeSkeleton] = {1, 2};
  const std::vector<World::Fault> faults = World::ValidateMap(map);
  EXPECT_TRUE(faults.empty()) << Describe(faults);
}

struct BrokenMap {
  const char* name;
  FaultKind kind;
  RoomId room;
  std::function<void(WorldMap&)> breakIt;
};

void PrintTo(const BrokenMap& map, std::ostream* out) { *out << map.name; }

class WorldValidatorFault : public testing::TestWithParam<BrokenMap> {};

TEST_P(WorldValidatorFault, IsFoundAndNamesTheRoom) {
  const BrokenMap& broken = GetParam();
  WorldMap map = SoundMap();
  broken.breakIt(map);
  const std::vector<World::Fault> faults = World::ValidateMap(map);
  const std::string expected = "room (" + std::to_string(broken.room.x) + ", " +
                               std::to_string(broken.room.y) + ") [" + World::FaultKindName(broken.kind) +
                               "]";
  bool found = false;
  for (const World::Fault& fault : faults) {
    if (fault.kind == broken.kind && fault.room == broken.room) {
      found = true;
      EXPECT_EQ(World::FormatFault(fault).rfind(expected, 0), 0u) << World::FormatFault(fault);
    }
  }
  EXPECT_TRUE(found) << "wanted " << expected << ", got:\n" << Describe(faults);
}

const BrokenMap kBrokenMaps[] = {
    {"PopulatedRoomWithoutFreeTile", FaultKind::kNoFreeTile, kStartRoom,
     [](WorldMap& map) {
       Carve(map, kStartRoom, 2, 13, 2, 8, 9);  // grass: walkable, but no monster is placed on it
       map.Room(kStartRoom).spawns[World::kTypePelvokRed] = {1, 2};
     }},
    {"MurlaWithoutWater", FaultKind::kMurlaWithoutWater, kStartRoom,
     [](WorldMap& map) {
       map.Room(kStartRoom).spawns[World::kTypeMurla] = {1, 1};
     }},
    {"MurlaWaterOnlyOnTheRim", FaultKind::kMurlaWithoutWater, kStartRoom,
     [](WorldMap& map) {
       Carve(map, kStartRoom, 0, 15, 10, 10, World::kWaterTile);  // row 10 is outside the inner 14 x 9
       map.Room(kStartRoom).spawns[World::kTypeMurla] = {1, 1};
     }},
    {"StairsIntoRock", FaultKind::kStairsWithoutStart, kStartRoom,
     [](WorldMap& map) {
       map.SetRoomTile(0, kStartRoom, 3, 3, World::kStairsTile);
       map.Room(kStartRoom).startCell = World::CellIndex(RoomId{2, 2}, 5, 5);
     }},
    {"StairsOutsideTheMap", FaultKind::kStairsWithoutStart, kStartRoom,
     [](WorldMap& map) {
       map.SetRoomTile(0, kStartRoom, 3, 3, World::kStairsTile);
       map.Room(kStartRoom).startCell = -5;
     }},
    {"EdgeOpenAgainstWall", FaultKind::kEdgeMismatch, kStartRoom,
     [](WorldMap& map) { map.SetRoomTile(0, kStartRoom, 15, 5, kGround); }},
    {"EdgeOpenToTheWorldsEnd", FaultKind::kEdgeMismatch, (RoomId{0, 4}),
     [](WorldMap& map) {
       map.SetRoomTile(0, RoomId{0, 4}, 0, 3, kGround);
     }},
    {"ServerStartTileBlocked", FaultKind::kStartTileBlocked, kStartRoom,
     [](WorldMap& map) { map.SetRoomTile(0, kStartRoom, 8, 6, 1); }},
    {"ClientStartTileBlocked", FaultKind::kStartTileBlocked, kStartRoom,
     [](WorldMap& map) { map.SetRoomTile(0, kStartRoom, 6, 6, 48); }},
    {"DoorStateWithoutDoorCells", FaultKind::kDoorWithoutCells, kStartRoom,
     [](WorldMap& map) {
       map.Room(kStartRoom).dungeonFlag = 1;
       map.Room(kStartRoom).doors[World::kWallLeft] = World::kDoorLocked;
     }},
    {"PushDoorWithoutPushBlock", FaultKind::kDoorNeverOpens, kStartRoom,
     [](WorldMap& map) {
       map.Room(kStartRoom).dungeonFlag = 1;
       map.Room(kStartRoom).doors[World::kWallTop] = World::kDoorPushBlock;
       map.SetRoomTile(0, kStartRoom, 7, 1, 152);
       map.SetRoomTile(0, kStartRoom, 8, 1, 153);
     }},
    {"DoorOutsideDungeon", FaultKind::kDoorNeverOpens, kStartRoom,
     [](WorldMap& map) {
       map.Room(kStartRoom).doors[World::kWallRight] = World::kDoorOpen;
       map.SetRoomTile(0, kStartRoom, 14, 5, 172);
     }},
    {"UnknownDoorState", FaultKind::kDoorNeverOpens, kStartRoom,
     [](WorldMap& map) {
       map.Room(kStartRoom).dungeonFlag = 1;
       map.Room(kStartRoom).doors[World::kWallBottom] = 7;
     }},
    {"PushBlockHemmedInByMarks", FaultKind::kPushBlockPath, kStartRoom,
     [](WorldMap& map) {
       map.SetRoomTile(1, kStartRoom, 5, 5, World::kPushBlockMark);
       for (auto [c, r] : {std::pair{4, 5}, {6, 5}, {5, 4}, {5, 6}}) map.SetRoomTile(1, kStartRoom, c, r, 1);
     }},
    {"PushBlockSlidesIntoBoulder", FaultKind::kPushBlockPath, kStartRoom,
     [](WorldMap& map) {
       map.SetRoomTile(1, kStartRoom, 4, 3, World::kPushBlockMark);
       map.SetRoomTile(0, kStartRoom, 3, 3, 2);
     }},
    {"SpawnMinimumAboveMaximum", FaultKind::kBadSpawnRange, kStartRoom,
     [](WorldMap& map) {
       map.Room(kStartRoom).spawns[World::kTypeSnake] = {2, 1};
     }},
    {"PopulatedRoomOutOfReach", FaultKind::kUnreachableRoom, (RoomId{3, 3}),
     [](WorldMap& map) {
       Carve(map, RoomId{3, 3}, 1, 14, 1, 9, kGround);
       map.Room(RoomId{3, 3}).spawns[World::kTypeGorritBlue] = {1, 1};
     }},
    {"CaveWithoutExit", FaultKind::kNoWayBack, kStartRoom,
     [](WorldMap& map) {
       map.SetRoomTile(0, kStartRoom, 10, 3, World::kStairsTile);
       map.Room(kStartRoom).startCell = World::CellIndex(RoomId{3, 3}, 7, 5);
       Carve(map, RoomId{3, 3}, 1, 14, 1, 9, kGround);
     }},
};

INSTANTIATE_TEST_SUITE_P(Faults, WorldValidatorFault, testing::ValuesIn(kBrokenMaps),
                         [](const testing::TestParamInfo<BrokenMap>& info) {
                           return std::string(info.param.name);
                         });

TEST(WorldValidator, PassesTheShippedMap) {
  WorldMap map;
  std::string error;
  ASSERT_TRUE(map.Load("overworld1.wmap", &error)) << error;
  const std::vector<World::Fault> faults = World::ValidateMap(map);
  EXPECT_TRUE(faults.empty()) << Describe(faults);
}

}  // namespace
