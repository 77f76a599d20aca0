// Murla: the water cycle (hidden, surfaced, firing, sinking), the search for
// water, the aim at a hero, and its damage without knock-back or stun.
#include "game/murla.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/game/monster_fixtures.h"

namespace {

using monster_test::MonsterTest;

// Room (3, 2): tiles 48 to 63 across, 22 to 32 down.
class MurlaTest : public MonsterTest {
 protected:
  // The inner 14 x 9 tiles of the room are water.
  void FloodRoom() {
    for (int column = 1; column < 15; ++column)
      for (int row = 1; row < 10; ++row) map.Cell(3, 2, column, row) = Murla::kWaterTile;
  }
  // Runs frame by frame until the Murla is in `wanted`; the frames it took,
  // or -1 after `limit` frames.
  int FramesUntil(Murla* murla, int wanted, int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      RunFrames(1);
      if (murla->state == wanted) return frame;
    }
    return -1;
  }
};

TEST_F(MurlaTest, RoomWithoutWaterKeepsItHidden) {
  LoadWorld();
  MakeHero(1700.0f, 800.0f);
  Murla* murla = Make<Murla>(52, 26);
  for (int frame = 0; frame < 600; ++frame) {
    RunFrames(1);
    ASSERT_EQ(murla->state, Murla::STATE_UNDER_WATER) << "frame " << frame;
    ASSERT_FALSE(murla->visible);
  }
  EXPECT_EQ(murla->FindWaterTile(3, 2), Vec2(-1.0f, -1.0f));
}

TEST_F(MurlaTest, WaterTileIsAnInnerTileOfTheRoom) {
  FloodRoom();
  map.Cell(3, 2, 0, 5) = Murla::kWaterTile;  // the room's edge: never drawn
  LoadWorld();
  Murla* murla = Make<Murla>(52, 26);
  for (int draw = 0; draw < 100; ++draw) {
    const Vec2 water = murla->FindWaterTile(3, 2);
    EXPECT_GE(water.x, 49.0f);
    EXPECT_LE(water.x, 62.0f);
    EXPECT_GE(water.y, 23.0f);
    EXPECT_LE(water.y, 31.0f);
  }
}

// Surfaced for 2 s, the shot 0.5 s into the firing, the dive 1 s after the
// shot with its health back at 2, and untouchable from then on.
TEST_F(MurlaTest, SurfacesFiresAfterTwoAndAHalfSecondsAndDivesHealed) {
  FloodRoom();
  LoadWorld();
  MakeHero(1600.0f, 720.0f);
  Murla* murla = Make<Murla>(52, 26);
  ASSERT_GT(FramesUntil(murla, Murla::STATE_SURFACED, 5), 0);
  RunFrames(1);
  EXPECT_TRUE(murla->visible);
  EXPECT_FALSE(murla->untouchable);
  const int firing = FramesUntil(murla, Murla::STATE_FIRING, 200) + 1;
  EXPECT_NEAR(firing / 60.0, 2.0, 2.5 / 60.0);
  murla->TakeDamage(1.0f, DIR_LEFT, 0);  // the sword finds it open
  EXPECT_EQ(murla->health, 1.0f);
  int shot = -1;
  for (int frame = 1; frame <= 60 && shot < 0; ++frame) {
    RunFrames(1);
    if (CountNamed("EnergyBall") > 0) shot = frame;
  }
  EXPECT_NEAR((firing + shot) / 60.0, 2.5, 2.5 / 60.0);
  EXPECT_TRUE(murla->fired);
  // One shot a surfacing: the ball in flight is the only one until the dive.
  int sinking = 0;
  while (murla->state != Murla::STATE_SINKING && sinking < 120) {
    RunFrames(1);
    ++sinking;
    ASSERT_LE(CountNamed("EnergyBall"), 1) << "frame " << sinking;
  }
  EXPECT_NEAR(sinking / 60.0, 1.0, 2.5 / 60.0);
  EXPECT_EQ(murla->health, Murla::kHealth);
  EXPECT_TRUE(murla->untouchable);
  EXPECT_NEAR(FramesUntil(murla, Murla::STATE_UNDER_WATER, 200) / 60.0, Murla::kSinkingSeconds, 2.5 / 60.0);
}

TEST_F(MurlaTest, WithNoHeroToAimAtItDoesNotFire) {
  FloodRoom();
  LoadWorld();
  Murla* murla = Make<Murla>(52, 26);
  ASSERT_GT(FramesUntil(murla, Murla::STATE_SINKING, 5 * 60), 0);
  EXPECT_EQ(CountNamed("EnergyBall"), 0);
  Vec2 aim;
  EXPECT_FALSE(murla->AimAtHero(&aim));
}

TEST_F(MurlaTest, AimsAUnitVectorAtTheServersHero) {
  LoadWorld();
  Murla* murla = Make<Murla>(52, 26);
  const Vec2 at = murla->GetPosition();
  const struct {
    float dx, dy;
    Vec2 aim;
  } cases[] = {{30.0f, 40.0f, Vec2(0.6f, 0.8f)},
               {-64.0f, 0.0f, Vec2(-1.0f, 0.0f)},
               {0.0f, 0.0f, Vec2(Murla::kFixedAimX, Murla::kFixedAimY)}};  // the hero on the Murla
  Aveth* hero = MakeHero(0.0f, 0.0f);
  for (const auto& test : cases) {
    hero->SetPosition(at + Vec2(test.dx, test.dy));
    Vec2 aim;
    ASSERT_TRUE(murla->AimAtHero(&aim));
    EXPECT_NEAR(aim.x, test.aim.x, 1e-6f) << test.dx << ", " << test.dy;
    EXPECT_NEAR(aim.y, test.aim.y, 1e-6f) << test.dx << ", " << test.dy;
  }
}

// Without a connected peer the client's hero is never the target.
TEST_F(MurlaTest, AloneItAimsAtTheServersHeroEvenInAnotherRoom) {
  LoadWorld();
  Murla* murla = Make<Murla>(52, 26);
  MakeHero(murla->GetPosition().x, murla->GetPosition().y - 1000.0f);  // uid 0, rooms away
  Aveth* clientHero = MakeHero(murla->GetPosition().x + 64.0f, murla->GetPosition().y);
  clientHero->SetUID(1);
  Vec2 aim;
  ASSERT_TRUE(murla->AimAtHero(&aim));
  EXPECT_NEAR(aim.y, -1.0f, 1e-3f);
}

TEST_F(MurlaTest, StunningHitOnlyFlashesItAndAHitWhileFlashingIsIgnored) {
  LoadWorld();
  Murla* murla = Make<Murla>(52, 26);
  RunFrames(1);
  const int state = murla->state;
  const Vec2 at = murla->GetPosition();
  murla->TakeDamage(0.0f, DIR_NONE, 0);
  EXPECT_TRUE(murla->flashing);
  EXPECT_EQ(murla->health, Murla::kHealth);
  EXPECT_EQ(murla->state, state);
  murla->TakeDamage(1.0f, DIR_RIGHT, 0);
  EXPECT_EQ(murla->health, Murla::kHealth);
  EXPECT_EQ(murla->GetPosition(), at);
}

TEST_F(MurlaTest, KilledOnTheServerAfterSixKillsItDropsAHeart) {
  LoadWorld();
  Murla* murla = Make<Murla>(52, 26);
  g_killsSinceDrop = 6;
  murla->TakeDamage(2.0f, DIR_RIGHT, 0);
  EXPECT_TRUE(murla->removed);
  EXPECT_EQ(g_killsSinceDrop, 0);
  EXPECT_EQ(CountNamed("Heart"), 1);
  EXPECT_EQ(CountNamed("DeathSpark"), 1);
}

// The drop is the server's: a client's copy dies without a heart of its own,
// however many kills went without one.
TEST_F(MurlaTest, KilledOnAClientAfterSixKillsItDropsNothing) {
  LoadWorld();
  Murla* murla = EnemyTest::Make<Murla>(&client);
  Place(murla, 52, 26);
  g_killsSinceDrop = 6;
  murla->TakeDamage(2.0f, DIR_RIGHT, 0);
  EXPECT_TRUE(murla->removed);
  EXPECT_EQ(g_killsSinceDrop, 6);
  EXPECT_EQ(CountNamed("Heart"), 0);
  EXPECT_EQ(CountNamed("DeathSpark"), 1);
}

}  // namespace
