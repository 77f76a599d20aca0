// The walk through doors: two rooms side by side, the start room and the room
// to its right, joined by a doorway whose door states vary.
#include "world_walk.h"

#include <gtest/gtest.h>

#include "tile_rules.h"
#include "world_fixture.h"

namespace {

using World::RoomId;

constexpr RoomId kEast{8, 7};

struct Doorway {
  const char* name;
  int startRight;  // door state of the start room's right wall; without a door the wall is solid
  int eastLeft;    // door state of the east room's left wall; without a door the doorway is bare floor
  bool eastReached;
  int lockedDoors;
};

void PrintTo(const Doorway& doorway, std::ostream* out) { *out << doorway.name; }

// Both rooms are dungeon rooms; the doorway runs through row 5.
World::WorldMap TwoRooms(const Doorway& doorway) {
  World::WorldMap map = WorldTest::SoundMap();
  WorldTest::Carve(map, kEast, 2, 13, 1, 9, WorldTest::kGround);
  for (RoomId room : {WorldTest::kStartRoom, kEast}) {
    map.Room(room).dungeonFlag = 1;
    WorldTest::Carve(map, room, 1, 1, 1, 9, WorldTest::kRock);
    WorldTest::Carve(map, room, 14, 14, 1, 9, WorldTest::kRock);
  }
  map.SetRoomTile(0, WorldTest::kStartRoom, 15, 5, 120);
  map.SetRoomTile(0, kEast, 0, 5, 121);
  map.Room(WorldTest::kStartRoom).doors[World::kWallRight] = doorway.startRight;
  map.Room(kEast).doors[World::kWallLeft] = doorway.eastLeft;
  map.SetRoomTile(
      0, WorldTest::kStartRoom, 14, 5,
      doorway.startRight ? World::DoorTile(World::kWallRight, doorway.startRight, 0) : WorldTest::kRock);
  map.SetRoomTile(0, kEast, 1, 5,
                  doorway.eastLeft ? World::DoorTile(World::kWallLeft, doorway.eastLeft, 0) : 0);
  return map;
}

class WorldWalkDoorway : public testing::TestWithParam<Doorway> {};

TEST_P(WorldWalkDoorway, LetsTheHeroThroughAsItsStatesAllow) {
  const World::WalkResult walk = World::WalkWorld(TwoRooms(GetParam()));
  ASSERT_TRUE(walk.startFits);
  EXPECT_EQ(walk.Reached(kEast), GetParam().eastReached);
  EXPECT_EQ(walk.lockedDoorsMet, GetParam().lockedDoors);
}

const Doorway kDoorways[] = {
    {"OpenOnBothSides", World::kDoorOpen, World::kDoorOpen, true, 0},
    {"PlainDoorwayBeyondAnOpenDoor", World::kDoorOpen, World::kDoorNone, true, 0},
    {"LockedDoorTakesAKey", World::kDoorLocked, World::kDoorOpen, true, 1},
    {"ShutterBehindTheHeroOpensOnceItsRoomIsCleared", World::kDoorShutter, World::kDoorOpen, true, 0},
    {"ShutterFacingTheHeroStaysShut", World::kDoorOpen, World::kDoorShutter, false, 0},
    {"PushDoorFacingTheHeroStaysShut", World::kDoorOpen, World::kDoorPushBlock, false, 0},
    {"NoDoorIsAWall", World::kDoorNone, World::kDoorOpen, false, 0},
};

INSTANTIATE_TEST_SUITE_P(Doors, WorldWalkDoorway, testing::ValuesIn(kDoorways),
                         [](const testing::TestParamInfo<Doorway>& info) {
                           return std::string(info.param.name);
                         });

TEST(WorldWalk, StairsLeadToTheStartCellAndTheExitLeadsBack) {
  World::WorldMap map = WorldTest::SoundMap();
  map.SetRoomTile(0, WorldTest::kStartRoom, 10, 3, World::kStairsTile);
  map.Room(WorldTest::kStartRoom).startCell = World::CellIndex(RoomId{3, 3}, 7, 5);
  WorldTest::MakeCave(map, RoomId{3, 3});
  const World::WalkResult walk = World::WalkWorld(map);
  ASSERT_EQ(walk.legs.size(), 2u);
  const World::WalkLeg& cave = walk.legs[1];
  EXPECT_TRUE(cave.fromStairs);
  EXPECT_EQ(cave.stairsRoom, WorldTest::kStartRoom);
  EXPECT_EQ(cave.stairsColumn, 7 * 16 + 10);
  EXPECT_EQ(cave.stairsRow, 7 * 11 + 3);
  EXPECT_EQ(cave.arrivalRoom, (RoomId{3, 3}));
  EXPECT_TRUE(cave.arrivalFits);
  EXPECT_TRUE(cave.reachesExit);
  EXPECT_TRUE(walk.Reached(RoomId{3, 3}));
  EXPECT_FALSE(walk.Reached(RoomId{3, 4})) << "the cells under the exit are left, never entered";
  EXPECT_FALSE(walk.legs[0].reachesExit);
}

TEST(WorldWalk, HeroKeepsToItsCollisionQuarters) {
  World::WorldMap map = WorldTest::SoundMap();
  // A diagonal hill tile (3) blocks all but its bottom-right quarter; the
  // hero's box is the lower half of a tile, so it still cannot stand there.
  map.SetRoomTile(0, WorldTest::kStartRoom, 4, 4, 3);
  const int x = (7 * 16 + 4) * 32, y = (7 * 11 + 4) * 32;
  EXPECT_FALSE(World::HeroFits(map, x, y));
  EXPECT_TRUE(World::HeroFits(map, x + 16, y));   // bottom-right quarter and the next tile
  EXPECT_FALSE(World::HeroFits(map, x - 16, y));  // straddling the blocked bottom-left quarter
}

}  // namespace
