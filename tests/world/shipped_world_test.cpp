// The shipped world as a player meets it: walked from the start room through
// open edges, stairs, doors and exits.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "entity_types.h"
#include "tile_rules.h"
#include "wmap.h"
#include "world_walk.h"

namespace {

using World::RoomId;
using World::WorldMap;

class ShippedWorld : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_TRUE(map_.Load("overworld1.wmap", &error)) << error;
    walk_ = World::WalkWorld(map_);
  }

  static bool HasTile(RoomId room, int c0, int c1, int r0, int r1, bool (*wanted)(uint8_t)) {
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) {
        if (wanted(map_.RoomTile(0, room, c, r))) return true;
      }
    }
    return false;
  }

  template <typename Visit>
  static void ForEachRoom(Visit visit) {
    for (int y = 0; y < World::kWorldRoomsY; ++y) {
      for (int x = 0; x < World::kWorldRoomsX; ++x) visit(RoomId{x, y}, map_.Room(RoomId{x, y}));
    }
  }

  static inline WorldMap map_;
  static inline World::WalkResult walk_;
};

std::string Name(RoomId room) { return "(" + std::to_string(room.x) + ", " + std::to_string(room.y) + ")"; }

bool IsWater(uint8_t tile) { return tile == World::kWaterTile; }

TEST_F(ShippedWorld, EveryRoomWithContentIsReachableAndTheRestStaysEmpty) {
  ASSERT_TRUE(walk_.startFits);
  ForEachRoom([&](RoomId room, const World::RoomRecord& record) {
    bool blocks = false;
    for (int r = 0; r < World::kRoomRows; ++r) {
      for (int c = 0; c < World::kRoomColumns; ++c) blocks = blocks || map_.RoomTile(1, room, c, r) != 0;
    }
    if (!walk_.Reached(room)) {
      EXPECT_FALSE(record.IsPopulated()) << "unreachable room " << Name(room) << " is populated";
      EXPECT_FALSE(blocks) << "unreachable room " << Name(room) << " has push blocks";
    }
  });
}

TEST_F(ShippedWorld, OverworldAroundTheStartRoomHasAtLeast24Rooms) {
  ASSERT_FALSE(walk_.legs.empty());
  const World::WalkLeg& overworld = walk_.legs[0];
  EXPECT_FALSE(overworld.fromStairs);
  int rooms = 0;
  ForEachRoom(
      [&](RoomId room, const World::RoomRecord&) { rooms += overworld.roomsReached[room.y * 16 + room.x]; });
  EXPECT_GE(rooms, 24);
  EXPECT_TRUE(overworld.roomsReached[7 * 16 + 7]);
}

TEST_F(ShippedWorld, ThreeCavesAndTheDungeonAreReachedByStairsAndLeftThroughTheirExits) {
  int caves = 0;
  int dungeons = 0;
  for (const World::WalkLeg& leg : walk_.legs) {
    if (!leg.fromStairs) continue;
    SCOPED_TRACE("stairs in room " + Name(leg.stairsRoom));
    EXPECT_TRUE(leg.arrivalFits);
    EXPECT_TRUE(leg.reachesExit) << "no way back from " << Name(leg.arrivalRoom);
    EXPECT_TRUE(map_.Room(leg.arrivalRoom).exitFlag)
        << "the stairs should end in a room that is left downwards";
    if (map_.Room(leg.arrivalRoom).dungeonFlag) {
      ++dungeons;
      int dungeonRooms = 0;
      ForEachRoom([&](RoomId room, const World::RoomRecord& record) {
        dungeonRooms += leg.roomsReached[room.y * 16 + room.x] && record.dungeonFlag;
      });
      EXPECT_GE(dungeonRooms, 8);
    } else {
      ++caves;
    }
  }
  EXPECT_GE(caves, 3);
  EXPECT_EQ(dungeons, 1);
}

TEST_F(ShippedWorld, DungeonUsesEveryDoorStateAndNeedsNoMoreKeysThanAHeroCarries) {
  std::set<int> states;
  ForEachRoom([&](RoomId room, const World::RoomRecord& record) {
    if (!record.dungeonFlag || !walk_.Reached(room)) return;
    for (int32_t state : record.doors) states.insert(state);
  });
  for (int state = World::kDoorOpen; state <= World::kDoorLocked; ++state) {
    EXPECT_TRUE(states.count(state)) << "no door of state " << state;
  }
  EXPECT_GE(walk_.lockedDoorsMet, 1);
  EXPECT_LE(walk_.lockedDoorsMet, 2);  // a hero starts with two keys and finds no more
}

TEST_F(ShippedWorld, EveryEnemyTypeSpawnsInAReachableRoom) {
  for (int type : World::kEnemyTypes) {
    bool spawns = false;
    ForEachRoom([&](RoomId room, const World::RoomRecord& record) {
      spawns = spawns || (walk_.Reached(room) && record.Spawns(type));
    });
    EXPECT_TRUE(spawns) << World::EntityTypeName(type) << " (" << type << ") never appears";
  }
}

TEST_F(ShippedWorld, MurlasLiveInWaterAndBatsOverTilesOnlyTheyCross) {
  ForEachRoom([&](RoomId room, const World::RoomRecord& record) {
    if (record.Spawns(World::kTypeMurla)) {
      EXPECT_TRUE(HasTile(room, 1, 14, 1, 9, IsWater)) << "Murlas without water in " << Name(room);
    }
    if (record.Spawns(World::kTypeBatBlue) || record.Spawns(World::kTypeBatRed)) {
      EXPECT_TRUE(HasTile(room, 1, 14, 1, 9, World::OnlyBatsCross))
          << "bats without a pit or deep water in " << Name(room);
    }
  });
}

// Enemies a room may hold at most, weighted by how hard each kind is to beat.
int Threat(const World::RoomRecord& record) {
  static const std::map<int, int> kWeight = {
      {World::kTypePelvokRed, 1}, {World::kTypePelvokBlue, 2}, {World::kTypeGorritRed, 2},
      {World::kTypeBatBlue, 2},   {World::kTypeBatRed, 2},     {World::kTypeSkeleton, 3},
      {World::kTypeMurla, 3},     {World::kTypeSnake, 3},      {World::kTypeGorritBlue, 4}};
  int threat = 0;
  for (const auto& [type, weight] : kWeight) threat += weight * std::max<int>(record.spawns[type].maximum, 0);
  return threat;
}

TEST_F(ShippedWorld, OverworldGetsHarderFurtherFromTheStart) {
  std::map<int, std::pair<int, int>> threatByDistance;  // distance -> (sum, rooms)
  const World::WalkLeg& overworld = walk_.legs[0];
  ForEachRoom([&](RoomId room, const World::RoomRecord& record) {
    if (!overworld.roomsReached[room.y * 16 + room.x]) return;
    const int distance = std::abs(room.x - 7) + std::abs(room.y - 7);
    threatByDistance[distance].first += Threat(record);
    threatByDistance[distance].second += 1;
  });
  ASSERT_GE(threatByDistance.size(), 4u);
  EXPECT_EQ(threatByDistance[0].first, 0) << "the start room is peaceful";
  double previous = -1;
  for (const auto& [distance, sum] : threatByDistance) {
    const double mean = double(sum.first) / sum.second;
    EXPECT_GT(mean, previous) << "rooms " << distance << " away are not harder than those nearer";
    previous = mean;
  }
}

}  // namespace
