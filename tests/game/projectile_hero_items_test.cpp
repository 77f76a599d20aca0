// The hero's items and sword beam as the hero throws them, and what happens
// to projectiles whose hero leaves the world while they fly.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/aveth.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/sword.h"
#include "tests/game/projectile_fixtures.h"

using projectile_test::ProjectileTest;
using projectile_test::TestEnemy;

namespace {

class HeroItemTest : public ProjectileTest {
 protected:
  // The last entity of the world when it is a new one of the type a throw
  // should have made, else null; the fixture releases it.
  template <typename T>
  T* TakeLastThrown() {
    const unsigned count = renderer->GetEntityCount();
    if (count == 0) return nullptr;
    Entity* last = renderer->GetEntity(count - 1);
    T* thrown = dynamic_cast<T*>(last);
    if (thrown == nullptr || std::find(made.begin(), made.end(), last) != made.end()) return nullptr;
    made.push_back(thrown);
    return thrown;
  }
};

}  // namespace

TEST_F(HeroItemTest, FireBombsAndArrowsAreThrownThirtyTwoPixelsAheadAndBlockTheNextItem) {
  const struct {
    int item;
    int heroFacing;
    Vec2 spawnedAt;
    int ownDirection;
    float speed, damage;
    int currencyAfter;
  } cases[] = {
      {Aveth::ITEM_FIRE, DIR_DOWN, {200.0f, 232.0f}, DIR_UP, 60.0f, 1.0f, 5},
      {Aveth::ITEM_BOMB, DIR_LEFT, {168.0f, 200.0f}, DIR_RIGHT, 60.0f, 2.0f, 5},
      {Aveth::ITEM_ARROW, DIR_UP, {200.0f, 168.0f}, DIR_UP, 320.0f, 1.0f, 4},
  };
  for (const auto& testCase : cases) {
    Aveth* hero = MakeWorldHero(200.0f, 200.0f, 0);
    hero->currency = 5;
    hero->selectedItem = testCase.item;
    hero->SetDirection(testCase.heroFacing);
    const unsigned before = renderer->GetEntityCount();
    Send(hero, Aveth::EV_USE_ITEM);
    ASSERT_EQ(renderer->GetEntityCount(), before + 1) << testCase.item;
    ProjectileEntity* thrown = TakeLastThrown<ProjectileEntity>();
    ASSERT_NE(thrown, nullptr) << testCase.item;
    EXPECT_EQ(thrown->GetPosition(), testCase.spawnedAt) << testCase.item;
    EXPECT_EQ(thrown->GetDirection(), testCase.ownDirection) << testCase.item;
    EXPECT_FLOAT_EQ(thrown->speed, testCase.speed) << testCase.item;
    EXPECT_EQ(hero->currency, testCase.currencyAfter) << testCase.item;
    EXPECT_FALSE(hero->itemReady) << testCase.item;
    EXPECT_FLOAT_EQ(hero->busyTime, Aveth::kSwingSeconds) << testCase.item;
    EXPECT_FLOAT_EQ(hero->swingTime, Aveth::kSwingSeconds) << testCase.item;

    Send(hero, Aveth::EV_USE_ITEM);
    EXPECT_EQ(renderer->GetEntityCount(), before + 1) << testCase.item << ": one item at a time";
    thrown->Dead();
    EXPECT_TRUE(hero->itemReady) << testCase.item;
    ReleaseHero(hero);
  }
}

TEST_F(HeroItemTest, TheDamageOfEachItemReachesWhatItHits) {
  const struct {
    int item;
    float damage;
  } cases[] = {{Aveth::ITEM_FIRE, 1.0f}, {Aveth::ITEM_BOMB, 2.0f}, {Aveth::ITEM_ARROW, 1.0f}};
  for (const auto& testCase : cases) {
    Aveth* hero = MakeWorldHero(200.0f, 200.0f, 0);
    hero->currency = 1;
    hero->selectedItem = testCase.item;
    hero->SetDirection(DIR_RIGHT);
    TestEnemy* enemy = MakeEnemy(236.0f, 200.0f);
    Send(hero, Aveth::EV_USE_ITEM);
    ProjectileEntity* thrown = TakeLastThrown<ProjectileEntity>();
    ASSERT_NE(thrown, nullptr);
    Fly(thrown, 100);
    ASSERT_FALSE(enemy->blows.empty()) << testCase.item;
    EXPECT_FLOAT_EQ(enemy->blows.front().amount, testCase.damage) << testCase.item;
    Release(enemy);
    ReleaseHero(hero);
  }
}

TEST_F(HeroItemTest, AnAttackAtFullHealthThrowsABeamOfTheSwordsDamageUntilItEnds) {
  Aveth* hero = MakeWorldHero(200.0f, 200.0f, 0);
  hero->swordIndex = 2;
  hero->SetDirection(DIR_RIGHT);
  Send(hero, Aveth::EV_ATTACK);
  ThrowSword* beam = TakeLastThrown<ThrowSword>();
  ASSERT_NE(beam, nullptr);
  EXPECT_FALSE(hero->beamReady);
  EXPECT_EQ(beam->GetPosition(), Vec2(200.0f, 200.0f));
  EXPECT_FLOAT_EQ(beam->speed, 350.0f);
  EXPECT_FLOAT_EQ(beam->damage, 3.0f);
  hero->swingTime = 0.0f;
  Send(hero, Aveth::EV_ATTACK);
  EXPECT_EQ(TakeLastThrown<ThrowSword>(), nullptr) << "one beam at a time";
  Fly(beam, 100);
  EXPECT_EQ(beam->state, 0) << "it ends at the room's edge";
  EXPECT_GT(beam->GetPosition().x, 480.0f);
  EXPECT_TRUE(hero->beamReady);
}

TEST_F(HeroItemTest, AProjectileWhoseHeroLeavesTheWorldFliesOnWithoutHim) {
  Aveth* thrower = MakeWorldHero(200.0f, 100.0f, 0);
  Aveth* leaving = MakeWorldHero(300.0f, 200.0f, 1);
  TestEnemy* enemy = MakeEnemy(200.0f, 300.0f);

  Fire* fire = Make<Fire>(&server, renderer.get(), leaving);
  fire->SetPosition(Vec2(300.0f, 232.0f));
  fire->Launch(DIR_DOWN, 60.0f, 1.0f);
  Arrow* arrow = Make<Arrow>(&server, renderer.get(), leaving);
  arrow->SetPosition(Vec2(200.0f, 232.0f));
  arrow->Launch(DIR_DOWN, 320.0f, 1.0f);
  Rock* rock = Make<Rock>(&server, renderer.get());
  rock->SetPosition(Vec2(300.0f, 100.0f));
  rock->Launch(DIR_DOWN, 350.0f);
  ASSERT_EQ(rock->GetHero(1), leaving);

  ReleaseHero(leaving);  // the client dropped
  EXPECT_EQ(fire->owner.Get(), nullptr);
  EXPECT_EQ(rock->GetHero(1), nullptr);
  EXPECT_EQ(rock->GetHero(0), thrower);

  // A new hero 1 standing where the rock flies is not one the rock knows.
  Aveth* newcomer = MakeWorldHero(300.0f, 200.0f, 1);
  Fly(rock, 20);
  EXPECT_FLOAT_EQ(newcomer->health, 3.0f);
  EXPECT_NE(rock->GetPosition().y, 100.0f);

  Fly(arrow, 100);
  EXPECT_EQ(arrow->state, 0);
  EXPECT_EQ(enemy->blows.size(), 1u) << "still a hero's arrow: it hits the enemy";
  Fly(fire, 200);
  EXPECT_EQ(fire->state, 0) << "it burns out and tells nobody";
}
