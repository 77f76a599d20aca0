// The walker: appearing in a puff, choosing and walking tiles, turning to
// fire, and the replica that only follows the network.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "game/enemy_common.h"
#include "game/gorrit.h"
#include "game/netmessages.h"
#include "game/pelvokblue.h"
#include "game/pelvokred.h"
#include "game/rendprael.h"
#include "game/skeleton.h"
#include "tests/game/enemy_fixtures.h"

using enemy_test::EnemyTest;
using enemy_test::PayloadValue;

namespace {

constexpr float kFrame = 1.0f / 32.0f;  // exact in binary, so the countdown is too

class WalkerTest : public EnemyTest {
 protected:
  // Walls all round tile (column, row) of room (0, 0).
  void BoxIn(int column, int row) {
    map.Cell(0, 0, column - 1, row) = 1;
    map.Cell(0, 0, column + 1, row) = 1;
    map.Cell(0, 0, column, row - 1) = 1;
    map.Cell(0, 0, column, row + 1) = 1;
  }
  // Ticks until the walker leaves its appearing and ready states.
  void Appear(Entity* walker) {
    for (int i = 0; i < 100 && walker->state != enemy::STATE_CHOOSING; ++i) walker->Tick(kFrame);
    ASSERT_EQ(walker->state, enemy::STATE_CHOOSING);
  }
};

}  // namespace

TEST_F(WalkerTest, ANewBluePelvokShowsItsPuffInTheLastThreeTenthsAndHurtsNobodyMeanwhile) {
  LoadWorld();
  Aveth* hero = MakeHero(160.0f, 160.0f);
  CPelvokBlue* blue = Make<CPelvokBlue>(&server);
  Place(blue, 5, 5);
  EXPECT_EQ(blue->state, 1) << "placing flips the appearing bit";
  blue->harmlessTime = 0.5f;
  std::vector<int> shown;  // the puff frame at each tick while appearing
  for (int i = 0; i < 40 && blue->harmlessTime > 0.0f; ++i) {
    const float before = blue->harmlessTime;
    TickWorld(kFrame);
    ASSERT_EQ(hero->health, 3.0f) << "touched while appearing at " << before;
    if (blue->harmlessTime > 0.0f) {
      EXPECT_EQ(blue->state, enemy::STATE_APPEARING);
      EXPECT_EQ(blue->baseFrame, 0);
      const int frame = static_cast<int>(blue->frame);
      if (blue->harmlessTime >= 0.3f) {
        EXPECT_EQ(frame, 0) << blue->harmlessTime;
      }
      shown.push_back(frame);
    }
  }
  ASSERT_EQ(blue->harmlessTime, 0.0f);
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  EXPECT_EQ(std::set<int>(shown.begin(), shown.end()), (std::set<int>{0, 1, 2}));
  // Puff over: facing left on its first walking frame, then ready to choose.
  EXPECT_EQ(blue->state, enemy::STATE_READY);
  EXPECT_EQ(blue->baseFrame, 3);
  EXPECT_EQ(blue->frame, 0.0f);
  TickWorld(kFrame);
  EXPECT_EQ(blue->state, enemy::STATE_CHOOSING);
  // Now it hurts on contact.
  TickWorld(kFrame);
  TickWorld(kFrame);
  EXPECT_LT(hero->health, 3.0f);
}

TEST_F(WalkerTest, ASkeletonNeedsNoPuff) {
  LoadWorld();
  Skeleton* skeleton = Make<Skeleton>(&server);
  Place(skeleton, 5, 5);
  EXPECT_EQ(skeleton->state, enemy::STATE_APPEARING);
  skeleton->Tick(kFrame);
  EXPECT_EQ(skeleton->state, enemy::STATE_READY);
  EXPECT_EQ(skeleton->harmlessTime, 0.0f);
  skeleton->Tick(kFrame);
  EXPECT_EQ(skeleton->state, enemy::STATE_CHOOSING);
  EXPECT_EQ(skeleton->baseFrame, 0) << "no facing rows";
}

TEST_F(WalkerTest, ABoxedInBlueWalkerTurnsAtRandomAndFiresIntoTheWall) {
  BoxIn(5, 5);
  LoadWorld();
  ConnectClient();
  CPelvokBlue* blue = Make<CPelvokBlue>(&server);
  Place(blue, 5, 5);
  blue->uid = 42;
  Appear(blue);
  const Vec2 where = blue->GetPosition();
  blue->Tick(kFrame);
  // Attempts 1 to 3 always draw a random direction, and each one fails.
  ASSERT_EQ(blue->state, enemy::STATE_FIRING);
  EXPECT_EQ(blue->GetPosition(), where);
  const auto turns = Heard(MSG_TURN_FIRE, 3);
  ASSERT_GE(turns.size(), 3u);
  ASSERT_LE(turns.size(), 4u);
  for (const auto& payload : turns) {
    ASSERT_EQ(payload.size(), 8u);
    EXPECT_EQ(PayloadValue<uint32_t>(payload, 0), 42u);
    EXPECT_GE(PayloadValue<int32_t>(payload, 4), 0);
    EXPECT_LE(PayloadValue<int32_t>(payload, 4), 3);
  }
  // After half a second the rock flies, in the direction it faced before.
  const int facing = blue->direction;
  for (int i = 0; i < 17; ++i) blue->Tick(kFrame);
  ASSERT_EQ(Named("Rock").size(), 1u);
  EXPECT_EQ(Named("Rock")[0]->GetPosition(), where);
  EXPECT_EQ(Named("Rock")[0]->direction, facing);
  EXPECT_EQ(blue->state, enemy::STATE_CHOOSING);
}

TEST_F(WalkerTest, BoxedInWalkersThatTurnSilentlyKeepChoosing) {
  BoxIn(5, 5);
  LoadWorld();
  std::vector<Entity*> walkers = {Make<CPelvokRed>(&server), Make<Gorrit>(&server, false),
                                  Make<Skeleton>(&server)};
  for (Entity* walker : walkers) {
    SCOPED_TRACE(walker->name);
    Place(walker, 5, 5);
    Appear(walker);
    for (int i = 0; i < 20; ++i) {
      walker->Tick(kFrame);
      ASSERT_EQ(walker->state, enemy::STATE_CHOOSING);
    }
    EXPECT_EQ(walker->GetPosition(), Vec2(160.0f, 160.0f));
  }
}

TEST_F(WalkerTest, AWalkerStepsOneWholeTileAndChoosesAgain) {
  LoadWorld();
  Skeleton* walker = Make<Skeleton>(&server);  // never stops to fire
  Place(walker, 5, 5);
  Appear(walker);
  walker->speed = 100.0f;
  walker->Tick(kFrame);
  ASSERT_EQ(walker->state, enemy::STATE_WALKING) << "open ground: the first attempt succeeds";
  const Vec2 goal = walker->target;
  EXPECT_EQ(std::abs(goal.x - 160.0f) + std::abs(goal.y - 160.0f), 32.0f);
  int frames = 0;
  while (walker->state == enemy::STATE_WALKING && frames < 50) {
    walker->Tick(kFrame);
    ++frames;
  }
  EXPECT_EQ(walker->GetPosition(), goal) << "the arrival lands on the target exactly";
  EXPECT_EQ(frames, 11) << "32 pixels at 100 px/s in 1/32 s steps";
  EXPECT_EQ(walker->moveDirection, walker->direction);
  EXPECT_EQ(walker->state, enemy::STATE_CHOOSING);
}

TEST_F(WalkerTest, AReplicaFollowsTheNetworkAndDecidesNothing) {
  LoadWorld();
  CPelvokBlue* replica = Make<CPelvokBlue>(&server);
  replica->SetRemote(true);
  Place(replica, 5, 5);
  Appear(replica);
  replica->Tick(kFrame);
  EXPECT_EQ(replica->state, enemy::STATE_WALKING) << "a replica goes straight to walking";
  replica->SetDirection(DIR_RIGHT);
  replica->target = Vec2(192.0f, 160.0f);
  replica->netUpdated = true;
  replica->Tick(kFrame);
  EXPECT_FALSE(replica->netUpdated);
  EXPECT_EQ(replica->GetPosition(), Vec2(160.0f, 160.0f)) << "the update's frame moves nothing";
  for (int i = 0; i < 40; ++i) replica->Tick(kFrame);
  EXPECT_EQ(replica->GetPosition(), Vec2(192.0f, 160.0f));
  EXPECT_EQ(replica->state, enemy::STATE_WALKING) << "it waits at the target for the next update";
  // Told to fire (message 9), it turns, fires after half a second and walks.
  Send(replica, enemy::EV_TURN_AND_FIRE, DIR_DOWN);
  EXPECT_EQ(replica->state, enemy::STATE_FIRING);
  EXPECT_EQ(replica->direction, DIR_DOWN);
  EXPECT_EQ(replica->baseFrame, 7);
  for (int i = 0; i < 17; ++i) replica->Tick(kFrame);
  EXPECT_EQ(Named("Rock").size(), 1u);
  EXPECT_EQ(replica->state, enemy::STATE_WALKING);
}

TEST_F(WalkerTest, ATurnToADirectionOutsideTheFourIsIgnored) {
  LoadWorld();
  StartTestLog();
  CPelvokBlue* blue = Make<CPelvokBlue>(&server);
  Place(blue, 5, 5);
  for (int wrong : {-1, 4, 77}) {
    Send(blue, enemy::EV_TURN_AND_FIRE, wrong);
    EXPECT_NE(blue->state, enemy::STATE_FIRING) << wrong;
    EXPECT_EQ(blue->direction, DIR_UP);
  }
  EXPECT_TRUE(LogContains("Blue Pelvok::SendEvent: turn to direction 77 ignored"));
}

TEST_F(WalkerTest, PlacingPutsTheWalkerOnItsTileFacingUp) {
  LoadWorld();
  Gorrit* gorrit = Make<Gorrit>(&server, true);
  gorrit->SetDirection(DIR_LEFT);
  Place(gorrit, 20, 14);
  EXPECT_EQ(gorrit->GetPosition(), Vec2(640.0f, 448.0f));
  EXPECT_EQ(gorrit->GetRoom(), Vec2(1.0f, 1.0f));
  EXPECT_EQ(gorrit->direction, DIR_UP);
  EXPECT_EQ(gorrit->baseFrame, 9);
}

TEST_F(WalkerTest, WalkEventsStepAtSpeedOntoWalkableGroundOnly) {
  map.Cell(0, 0, 4, 5) = 1;
  LoadWorld();
  CPelvokRed* red = Make<CPelvokRed>(&server);
  Place(red, 5, 5);
  red->speed = 50.0f;
  Step(0.1f);
  Send(red, enemy::EV_WALK_DOWN);
  EXPECT_EQ(red->GetPosition(), Vec2(160.0f, 165.0f));
  EXPECT_EQ(red->baseFrame, 7);
  red->SetPosition(Vec2(160.0f, 160.0f));
  Send(red, enemy::EV_WALK_LEFT);
  EXPECT_EQ(red->GetPosition(), Vec2(160.0f, 160.0f)) << "the wall at column 4 stops it";
  EXPECT_EQ(red->direction, DIR_LEFT);
}
