// The hero's boomerangs: the turn at its range or at the room's edge, the
// way home to a hero who walks on, the catch and the stun.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/aveth.h"
#include "game/projectiles.h"
#include "game/soundtable.h"
#include "tests/game/projectile_fixtures.h"

using hero_test::SoundScope;
using projectile_test::ProjectileTest;
using projectile_test::TestEnemy;

namespace {

class BoomerangTest : public ProjectileTest {
 protected:
  // A server's hero with the boomerang of `index` chosen, after one frame of
  // the world (the boomerangs settle in the hero's hand).
  Aveth* MakeThrower(float x, float y, int index) {
    Aveth* hero = MakeWorldHero(x, y, 0);
    hero->boomerangIndex = index;
    hero->selectedItem = Aveth::ITEM_BOOMERANG;
    TickWorld(0.016f);
    return hero;
  }
  Boomerang* InUse(Aveth* hero) { return static_cast<Boomerang*>(hero->GetBoomerangInUse()); }
};

}  // namespace

TEST_F(BoomerangTest, ItTurnsAfterItsRangeOrAtTheEdgeAndIsCaughtByAHeroWhoHasMoved) {
  const struct {
    int index;
    float turnsAfterAtLeast, turnsBefore;  // furthest x reached
  } cases[] = {
      {0, 100.0f + 150.0f, 100.0f + 150.0f + 40.0f},  // swings on a little past 150
      {1, 480.0f, 490.0f},                            // the unlimited one turns at the edge
  };
  for (const auto& testCase : cases) {
    Aveth* hero = MakeThrower(100.0f, 192.0f, testCase.index);
    Boomerang* boomerang = InUse(hero);
    EXPECT_FALSE(boomerang->visible);
    hero->SetDirection(DIR_RIGHT);
    Send(hero, Aveth::EV_USE_ITEM);
    EXPECT_TRUE(boomerang->visible);
    EXPECT_FALSE(hero->itemReady);
    EXPECT_EQ(boomerang->GetPosition(), Vec2(100.0f, 192.0f)) << "thrown from the hero's hand";

    float furthest = 0.0f;
    int frame = 0;
    for (; frame < 300 && !boomerang->returning; ++frame) {
      TickWorld(0.016f);
      furthest = std::max(furthest, boomerang->GetPosition().x);
    }
    ASSERT_TRUE(boomerang->returning) << testCase.index;
    // The hero walks down while it comes back.
    hero->SetPosition(Vec2(160.0f, 260.0f));
    for (; frame < 300 && boomerang->visible; ++frame) {
      TickWorld(0.016f);
      furthest = std::max(furthest, boomerang->GetPosition().x);
    }
    EXPECT_GT(furthest, testCase.turnsAfterAtLeast) << testCase.index;
    EXPECT_LT(furthest, testCase.turnsBefore) << testCase.index;
    EXPECT_FALSE(boomerang->visible) << testCase.index << ": caught";
    EXPECT_LT((boomerang->GetPosition() - hero->GetPosition()).Length(), Boomerang::kCatchDistance + 6.0f);
    EXPECT_TRUE(hero->itemReady) << testCase.index << ": the hero may throw again";
    ReleaseHero(hero);
  }
}

TEST_F(BoomerangTest, ItStunsAnEnemyAndTurnsAtOnce) {
  SoundScope sounds;
  Aveth* hero = MakeThrower(100.0f, 192.0f, 0);
  TestEnemy* enemy = MakeEnemy(180.0f, 192.0f);
  enemy->flashOnHit = true;
  hero->SetDirection(DIR_RIGHT);
  Send(hero, Aveth::EV_USE_ITEM);
  Boomerang* boomerang = InUse(hero);
  for (int frame = 0; frame < 30 && !boomerang->returning; ++frame) TickWorld(0.016f);
  EXPECT_TRUE(sounds.TakePlay(kSoundBoomerang));
  ASSERT_TRUE(boomerang->returning);
  EXPECT_LT(boomerang->GetPosition().x, 180.0f);
  EXPECT_EQ(enemy->blows.front(), (TestEnemy::Blow{-1.0f, DIR_RIGHT}));
  EXPECT_FLOAT_EQ(enemy->health, 4.0f) << "a stun takes no health";
  EXPECT_LT(boomerang->travelled, 150.0f);
}

TEST_F(BoomerangTest, OnAClientItIsNotThrownAndDecidesNothing) {
  Aveth* hero = MakeWorldHero(100.0f, 192.0f, 1, &client);
  hero->selectedItem = Aveth::ITEM_BOOMERANG;
  Send(hero, Aveth::EV_USE_ITEM);
  EXPECT_TRUE(hero->itemReady);
  Boomerang* boomerang = InUse(hero);
  // Where the server says it is, it is shown, and it does not turn itself.
  boomerang->SetPosition(Vec2(495.0f, 192.0f));
  boomerang->visible = true;
  TickWorld(0.016f);
  EXPECT_FALSE(boomerang->returning);
  EXPECT_EQ(boomerang->GetPosition(), Vec2(495.0f, 192.0f));
}

TEST_F(BoomerangTest, ItWhirrsEveryEighteenHundredthsOfASecondWhileInFlight) {
  SoundScope sounds;
  Aveth* hero = MakeThrower(100.0f, 192.0f, 1);
  hero->SetDirection(DIR_DOWN);
  Send(hero, Aveth::EV_USE_ITEM);
  int whirrs = 0;
  for (int frame = 0; frame < 25; ++frame) {  // 0.4 s: at 0, 0.18 and 0.36
    TickWorld(0.016f);
    if (sounds.TakePlay(kSoundBoomerang)) ++whirrs;
  }
  EXPECT_EQ(whirrs, 3);
}
