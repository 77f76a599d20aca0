// The effects: a death spark that plays once and ends, and smoke puffs with
// their own rates and one shared flicker.
#include "game/effects.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "game/rendprael.h"
#include "tests/game/hero_fixtures.h"

using EffectsTest = hero_test::HeroTest;

TEST_F(EffectsTest, ADeathSparkEndsAndLeavesTheWorldWhenItsFrameReachesFour) {
  LoadWorld();
  DeathSpark spark(nullptr);
  EXPECT_STREQ(spark.name, "DeathSpark");
  EXPECT_TRUE(spark.transient);
  EXPECT_TRUE(spark.dead);
  EXPECT_TRUE(spark.notHittable);
  EXPECT_EQ(spark.frameCount, 5.0f);
  spark.SetPosition(Vec2(100.0f, 100.0f));
  renderer->AddEntity(&spark, false);
  for (int frame = 1; frame <= 3; ++frame) {
    TickWorld(0.1f);
    EXPECT_NEAR(spark.frame, static_cast<float>(frame), 1e-4f);
    EXPECT_TRUE(spark.visible);
    EXPECT_EQ(renderer->GetEntityCount(), 1u);
  }
  TickWorld(0.1f);
  EXPECT_TRUE(spark.removed);
  EXPECT_FALSE(spark.visible);
  EXPECT_EQ(renderer->GetEntityCount(), 0u) << "the spark leaves the world list";
}

TEST_F(EffectsTest, APuffLivesThreeFramesAtItsOwnRateAndFlickersInItsSecondHalf) {
  LoadWorld();
  std::srand(7);
  Smoke::flickerTimer = 0.0f;
  for (int puffNumber = 0; puffNumber < 8; ++puffNumber) {
    Smoke puff(nullptr, renderer.get());
    puff.Place(Vec2(64.0f, 96.0f));
    EXPECT_EQ(puff.GetPosition(), Vec2(64.0f, 96.0f));
    EXPECT_GE(puff.frameRate, 3.0f);
    EXPECT_LT(puff.frameRate, 5.0f);
    EXPECT_EQ(puff.frameCount, 3.0f);
    float lived = 0.0f;
    int flickersEarly = 0;
    int flickersLate = 0;
    while (puff.state != 0 && lived < 2.0f) {
      const bool wasVisible = puff.visible;
      puff.Tick(0.01f);
      lived += 0.01f;
      if (puff.visible != wasVisible) ++(puff.frame > 0.5f ? flickersLate : flickersEarly);
    }
    EXPECT_TRUE(puff.removed);
    EXPECT_GE(lived, 0.6f - 0.011f);
    EXPECT_LE(lived, 1.0f + 0.011f);
    EXPECT_EQ(flickersEarly, 0);
    EXPECT_GT(flickersLate, 5);
  }
}

TEST_F(EffectsTest, PuffsShareOneFlickerTimer) {
  LoadWorld();
  Smoke first(nullptr, renderer.get());
  Smoke second(nullptr, renderer.get());
  first.Place(Vec2(0.0f, 0.0f));
  second.Place(Vec2(32.0f, 0.0f));
  first.frame = 1.0f;
  second.frame = 1.0f;
  Smoke::flickerTimer = 0.0f;
  first.Tick(0.01f);
  second.Tick(0.01f);
  EXPECT_FALSE(first.visible) << "the first puff finds the timer run out";
  EXPECT_TRUE(second.visible) << "and winds it up for everyone";
  EXPECT_FLOAT_EQ(Smoke::flickerTimer, Smoke::kFlickerInterval - 0.01f);
  first.Tick(0.01f);
  second.Tick(0.01f);
  EXPECT_FALSE(first.visible);
  EXPECT_FALSE(second.visible) << "each puff lowers the shared timer";
}
