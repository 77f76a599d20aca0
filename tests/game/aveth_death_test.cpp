// A hero out of hearts: it falls in a death spark with the kill sound, lies
// hidden for two seconds and stands up with full hearts where it was placed,
// or on the staircase it took into the cave it fell in. The other program's
// copy follows the hero's health.
#include <gtest/gtest.h>

#include "game/aveth.h"
#include "game/rendprael.h"
#include "game/soundtable.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"

namespace {

class HeroDeathTest : public hero_test::HeroTest {
 protected:
  void TearDown() override {
    // The sparks belong to the world.
    for (unsigned i = renderer->GetEntityCount(); i-- > 0;) {
      Entity* entity = renderer->GetEntity(i);
      if (std::string(entity->name) != "DeathSpark") continue;
      renderer->RemoveEntity(entity);
      OX_DELETE entity;
    }
    hero_test::HeroTest::TearDown();
  }
  // A hero placed on tile (column, row) as the application places it, in the
  // hero's room.
  Aveth* PlacedHero(int column, int row) {
    Aveth* hero = MakeHero(0.0f, 0.0f);
    Send(hero, Aveth::EV_PLACE, column, row);
    hero->inHeroRoom = true;
    return hero;
  }
  void Tick(Aveth* hero, float seconds) {
    Step(seconds);
    hero->Tick(seconds);
  }
  int Sparks() const {
    int count = 0;
    for (unsigned i = 0; i < renderer->GetEntityCount(); ++i)
      if (std::string(renderer->GetEntity(i)->name) == "DeathSpark") ++count;
    return count;
  }

  hero_test::SoundScope sounds;
};

TEST_F(HeroDeathTest, FallsInASparkAndStandsUpOnItsStartTileWithFullHearts) {
  LoadWorld();
  Aveth* hero = PlacedHero(120, 83);
  hero->SetPosition(Vec2(3900.0f, 2700.0f));  // walked away from the start
  hero->health = 0.5f;
  hero->TakeDamage(1.0f, DIR_LEFT, 0);
  Tick(hero, 0.016f);
  EXPECT_EQ(hero->state, Aveth::STATE_FALLEN);
  EXPECT_FALSE(hero->visible);
  EXPECT_EQ(Sparks(), 1);
  EXPECT_TRUE(sounds.TakePlay(kSoundKill));

  // Down, nothing moves or hurts it; the knock-back of the last hit ends.
  const float healthDown = hero->health;
  const Vec2 fellAt = hero->GetPosition();
  hero->TakeDamage(1.0f, DIR_LEFT, 0);
  Send(hero, Aveth::EV_WALK_UP);
  Send(hero, Aveth::EV_NEXT_ITEM);
  EXPECT_EQ(hero->health, healthDown);
  Tick(hero, 0.016f);
  EXPECT_EQ(hero->GetPosition(), fellAt);
  EXPECT_EQ(hero->selectedItem, Aveth::ITEM_BOOMERANG);

  Tick(hero, 1.88f);
  EXPECT_EQ(hero->state, Aveth::STATE_FALLEN);
  Tick(hero, 0.11f);
  EXPECT_EQ(hero->state, Aveth::STATE_PLAYING);
  EXPECT_TRUE(hero->visible);
  EXPECT_EQ(hero->health, hero->maxHealth);
  EXPECT_EQ(hero->GetPosition(), Vec2(120 * 32.0f, 83 * 32.0f));
  EXPECT_EQ(Sparks(), 1);  // one fall, one spark
  // The view follows the hero (game event 1, as after stairs).
  ASSERT_FALSE(app->gameEvents.empty());
  EXPECT_EQ(app->gameEvents.back().first, 1);
}

TEST_F(HeroDeathTest, FallenInACaveItStandsOnTheStaircaseItCameDownBy) {
  LoadWorld();
  Aveth* hero = PlacedHero(118, 83);
  hero->returnPoints.push_back(Vec2(109.0f, 102.0f));
  hero->SetPosition(Vec2(5.0f * 512 + 200.0f, 13.0f * 352 + 100.0f));
  hero->health = 0.0f;
  Tick(hero, 0.016f);
  ASSERT_EQ(hero->state, Aveth::STATE_FALLEN);
  Tick(hero, 2.0f);
  EXPECT_EQ(hero->state, Aveth::STATE_PLAYING);
  EXPECT_EQ(hero->GetPosition(), Vec2(109 * 32.0f, 102 * 32.0f));
  EXPECT_TRUE(hero->returnPoints.empty());
  EXPECT_TRUE(hero->onStairs);  // it does not go straight back down
  EXPECT_TRUE(sounds.TakePlay(kMusicOverworld));
}

TEST_F(HeroDeathTest, RemoteCopyFallsAndRisesWithTheHealthItIsSent) {
  LoadWorld();
  Aveth* hero = PlacedHero(118, 83);
  hero->SetRemote(true);
  hero->health = 0.0f;
  Tick(hero, 0.016f);
  EXPECT_EQ(hero->state, Aveth::STATE_FALLEN);
  EXPECT_EQ(Sparks(), 1);
  // It does not stand up by itself...
  Tick(hero, 5.0f);
  EXPECT_EQ(hero->state, Aveth::STATE_FALLEN);
  EXPECT_FALSE(hero->visible);
  // ...but when the player's program says it has hearts again.
  hero->SetHealth(3.0f);
  Tick(hero, 0.016f);
  EXPECT_EQ(hero->state, Aveth::STATE_PLAYING);
  EXPECT_TRUE(hero->visible);
  EXPECT_EQ(Sparks(), 1);
}

TEST_F(HeroDeathTest, HeroWithHealthLeftPlaysOn) {
  LoadWorld();
  Aveth* hero = PlacedHero(118, 83);
  hero->health = 0.25f;
  Tick(hero, 0.016f);
  EXPECT_EQ(hero->state, Aveth::STATE_PLAYING);
  EXPECT_EQ(Sparks(), 0);
}

}  // namespace
