// The hero walking: grid alignment, walls by quadrant, locked doors, push
// blocks and the stairs.
#include <gtest/gtest.h>

#include "game/aveth.h"
#include "game/rendprael.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"

using hero_test::HeroTest;

namespace {

// A solid block that records the pushes it is sent.
class PushBlockProbe : public Entity {
 public:
  PushBlockProbe() : Entity(nullptr) {
    SetName("Probe");
    solid = true;
  }
  void SendEvent(int event, EventParam* a, EventParam*) override {
    if (event == Aveth::EV_PUSH) pushes.push_back(a->i);
  }
  std::vector<int> pushes;
};

}  // namespace

TEST_F(HeroTest, WalkingMovesAtSpeedAndSlidesOntoTheGrid) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  hero->SetPosition(Vec2(195.0f, 200.0f));  // 3 pixels past a line of the 16-pixel grid
  Step(0.02f);
  Send(hero, Aveth::EV_WALK_UP);
  // 175 px/s for 0.02 s up; sideways back to the line at twice that speed,
  // but not past it.
  EXPECT_FLOAT_EQ(hero->GetPosition().y, 200.0f - 3.5f);
  EXPECT_FLOAT_EQ(hero->GetPosition().x, 192.0f);
  hero->SetPosition(Vec2(200.0f, 100.0f));  // half a grid step: slides forward
  Send(hero, Aveth::EV_WALK_DOWN);
  EXPECT_FLOAT_EQ(hero->GetPosition().x, 207.0f);
  EXPECT_FLOAT_EQ(hero->GetPosition().y, 103.5f);
  EXPECT_EQ(hero->baseFrame, 6);
  EXPECT_EQ(hero->GetDirection(), DIR_DOWN);
  EXPECT_EQ(hero->moveDirection, DIR_DOWN);
  EXPECT_TRUE(hero->animateNow);
  Send(hero, Aveth::EV_STOP);
  EXPECT_EQ(hero->moveDirection, DIR_NONE);
}

TEST_F(HeroTest, NobodyWalksWhileBusyOrOutOfPlay) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  Step(0.02f);
  hero->busyTime = 0.1f;
  Send(hero, Aveth::EV_WALK_RIGHT);
  EXPECT_EQ(hero->GetPosition(), Vec2(200.0f, 200.0f));
  hero->busyTime = 0.0f;
  hero->state = Aveth::STATE_STAIRS_DOWN;
  Send(hero, Aveth::EV_WALK_RIGHT);
  EXPECT_EQ(hero->GetPosition(), Vec2(200.0f, 200.0f));
  EXPECT_EQ(hero->moveDirection, DIR_NONE);
}

TEST_F(HeroTest, WallsBlockByQuadrant) {
  // Tile 3 blocks all but its bottom-right quarter.
  map.Cell(0, 0, 5, 5) = 3;
  LoadWorld();
  Aveth* hero = MakeHero(0.0f, 0.0f);
  const struct {
    Vec2 point;  // candidate top-left corner of the hero
    bool walkable;
  } cases[] = {
      {{146.0f, 160.0f}, true},   // the probes inside the tile are in its free quarter
      {{130.0f, 160.0f}, false},  // a probe in the bottom-left quarter
      {{160.0f, 129.0f}, false},  // a probe in the top-right quarter
      {{130.0f, 128.0f}, true},   // the feet end just above the tile
  };
  for (const auto& testCase : cases)
    EXPECT_EQ(hero->IsWalkable(testCase.point), testCase.walkable)
        << testCase.point.x << "," << testCase.point.y;
}

TEST_F(HeroTest, WalkingIntoAPushBlockIsBlockedAndPushesIt) {
  LoadWorld();
  Aveth* hero = MakeHero(100.0f, 192.0f);
  PushBlockProbe block;
  block.SetPosition(Vec2(128.0f, 192.0f));
  renderer->AddEntity(&block, false);
  Step(0.02f);
  // Touching already: blocked, and the push goes the way of this step, also
  // on the first step after standing or walking elsewhere.
  Send(hero, Aveth::EV_WALK_RIGHT);
  Send(hero, Aveth::EV_STOP);
  Send(hero, Aveth::EV_WALK_RIGHT);
  EXPECT_EQ(hero->GetPosition().x, 100.0f);
  EXPECT_EQ(block.pushes, (std::vector<int>{DIR_RIGHT, DIR_RIGHT}));
  EXPECT_FALSE(hero->IsWalkable(Vec2(101.0f, 192.0f)));
  EXPECT_TRUE(hero->IsWalkable(Vec2(100.0f, 192.0f))) << "touching edges do not overlap";
  renderer->RemoveEntity(&block);
}

TEST_F(HeroTest, ALockedDoorOpensWithAKeyAndNotWithout) {
  // The top door of room (0, 0): cells 7 and 8 of row 1, locked.
  map.Cell(0, 0, 7, 1) = 136;
  map.Cell(0, 0, 8, 1) = 137;
  map.Room(0, 0).doorTop = DOOR_LOCKED;
  LoadWorld();
  const struct {
    int keys, keysAfter;
    int32_t doorAfter;
  } cases[] = {{2, 1, DOOR_OPEN}, {0, 0, DOOR_LOCKED}};
  for (const auto& testCase : cases) {
    renderer->GetRoomRecord(0, 0)->doorTop = DOOR_LOCKED;
    Aveth* hero = MakeHero(224.0f, 48.0f);  // the feet just below the door
    hero->keys = testCase.keys;
    Step(0.02f);
    Send(hero, Aveth::EV_WALK_UP);
    EXPECT_EQ(hero->keys, testCase.keysAfter) << testCase.keys;
    EXPECT_EQ(renderer->GetRoomRecord(0, 0)->doorTop, testCase.doorAfter) << testCase.keys;
    EXPECT_EQ(hero->GetPosition().y, 48.0f) << "the door does not let the hero through in that frame";
  }
}

TEST_F(HeroTest, ADoorOpensOnlyWalkingTowardIt) {
  map.Cell(0, 0, 14, 5) = 140;  // the right wall's locked door
  LoadWorld();
  renderer->GetRoomRecord(0, 0)->doorRight = DOOR_LOCKED;
  Aveth* hero = MakeHero(432.0f, 126.0f);
  Step(0.02f);
  Send(hero, Aveth::EV_WALK_DOWN);  // bumps into the door tile walking the wrong way
  EXPECT_EQ(renderer->GetRoomRecord(0, 0)->doorRight, DOOR_LOCKED);
  EXPECT_EQ(hero->keys, 2);
}

TEST_F(HeroTest, StepsOntoStairsGoDownIntoTheRoomsStartCellAndRememberTheWay) {
  map.Cell(0, 1, 4, 3) = Aveth::kStairsTile;  // tile (4, 14)
  map.Room(0, 1).startCell = 40 * 256 + 20;   // row 40, column 20
  LoadWorld();
  Aveth* hero = MakeHero(4 * 32.0f, 14 * 32.0f - 10.0f);
  TickWorld(0.02f);
  EXPECT_EQ(hero->state, Aveth::STATE_STAIRS_DOWN);
  EXPECT_EQ(hero->GetPosition(), Vec2(4 * 32.0f, 14 * 32.0f)) << "snapped onto the stairs";
  EXPECT_FLOAT_EQ(hero->stairDepth, 32.0f);
  for (int frame = 0; frame < 60 && hero->state == Aveth::STATE_STAIRS_DOWN; ++frame) TickWorld(0.02f);
  EXPECT_EQ(hero->state, Aveth::STATE_PLAYING);
  EXPECT_EQ(hero->GetPosition(), Vec2(20 * 32.0f + 16.0f, 40 * 32.0f));
  ASSERT_EQ(app->gameEvents.size(), 1u);
  EXPECT_EQ(app->gameEvents[0], std::make_pair(1, 0));
  EXPECT_EQ(hero->NextReturnPoint(), Vec2(4.0f, 14.0f));
  EXPECT_EQ(hero->NextReturnPoint(), Vec2(120.0f, 83.0f)) << "none left: the start tile";
}

TEST_F(HeroTest, ComingUpTheStairsDoesNotTakeThemDownAgain) {
  map.Cell(0, 1, 4, 3) = Aveth::kStairsTile;
  LoadWorld();
  Aveth* hero = MakeHero(4 * 32.0f, 14 * 32.0f);
  Send(hero, Aveth::EV_STAIRS_UP);
  EXPECT_EQ(hero->state, Aveth::STATE_STAIRS_UP);
  EXPECT_FLOAT_EQ(hero->stairDepth, 0.0f);
  int frames = 0;
  while (hero->state == Aveth::STATE_STAIRS_UP && frames < 100) {
    TickWorld(0.125f);
    ++frames;
  }
  EXPECT_EQ(frames, 8) << "32 pixels at 32 a second";
  TickWorld(0.02f);
  EXPECT_EQ(hero->state, Aveth::STATE_PLAYING) << "still on the stairs, but just came up";
  EXPECT_TRUE(hero->onStairs);
  hero->SetPosition(Vec2(4 * 32.0f, 15 * 32.0f));
  TickWorld(0.02f);
  EXPECT_FALSE(hero->onStairs);
}

TEST_F(HeroTest, ARemoteHeroOnStairsRaisesNoGameEvent) {
  map.Cell(0, 1, 4, 3) = Aveth::kStairsTile;
  LoadWorld();
  Aveth* local = MakeHero(0.0f, 0.0f);
  Aveth* remote = MakeHero(4 * 32.0f, 14 * 32.0f);
  remote->SetRemote(true);
  for (int frame = 0; frame < 80; ++frame) TickWorld(0.02f);
  EXPECT_EQ(remote->returnPoints.size(), 1u);
  EXPECT_TRUE(app->gameEvents.empty());
  EXPECT_EQ(local->state, Aveth::STATE_PLAYING);
}
