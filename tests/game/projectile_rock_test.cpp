// The enemies' projectiles that hurt heroes: the rock and the energy ball.
#include <gtest/gtest.h>

#include "game/aveth.h"
#include "game/projectiles.h"
#include "game/soundtable.h"
#include "tests/game/projectile_fixtures.h"

using hero_test::SoundScope;
using projectile_test::ProjectileTest;

TEST_F(ProjectileTest, ARockMeetsAHeroByHisFacingAndHisSwing) {
  SoundScope sounds;
  const struct {
    const char* name;
    int heroFacing;
    float swingTime;
    bool deflected;
    float healthAfter;
  } cases[] = {
      {"facing, shield up", DIR_LEFT, 0.0f, true, 3.0f},
      {"facing, swinging", DIR_LEFT, 0.1f, false, 2.5f},  // 1.0 before the hero's factor of 0.5
      {"facing away", DIR_RIGHT, 0.0f, false, 2.5f},
      {"facing up", DIR_UP, 0.0f, false, 2.5f},
  };
  for (const auto& testCase : cases) {
    Aveth* hero = MakeWorldHero(200.0f, 192.0f, 0);
    hero->SetDirection(testCase.heroFacing);
    hero->swingTime = testCase.swingTime;
    Rock* rock = Make<Rock>(&server, renderer.get());
    rock->SetPosition(Vec2(150.0f, 192.0f));
    rock->Launch(DIR_RIGHT, 350.0f);
    const int frames = Fly(rock, 200);
    EXPECT_EQ(rock->state, 0) << testCase.name;
    EXPECT_EQ(rock->deflected, testCase.deflected) << testCase.name;
    EXPECT_FLOAT_EQ(hero->health, testCase.healthAfter) << testCase.name;
    EXPECT_EQ(sounds.TakePlay(kSoundShield), testCase.deflected) << testCase.name;
    if (testCase.deflected) {
      EXPECT_FLOAT_EQ(rock->speed, 175.0f);
      // Turned down and to the left, for a little over 0.3 s.
      EXPECT_LT(rock->GetPosition().x, 200.0f - 14.0f);
      EXPECT_GT(rock->GetPosition().y, 192.0f + 40.0f);
      EXPECT_GT(frames * 0.016f, 0.3f);
    }
    Release(rock);
    ReleaseHero(hero);
  }
}

TEST_F(ProjectileTest, ADeflectedRockMovesDiagonallyAwayAtHalfSpeed) {
  const struct {
    int flight;
    Vec2 step;  // per pixel of the halved speed
  } cases[] = {
      {DIR_UP, {1.0f, 1.0f}},
      {DIR_DOWN, {-1.0f, -1.0f}},
      {DIR_LEFT, {1.0f, -1.0f}},
      {DIR_RIGHT, {-1.0f, 1.0f}},
  };
  for (const auto& testCase : cases) {
    Rock* rock = Make<Rock>(&server, renderer.get());
    rock->SetPosition(Vec2(200.0f, 160.0f));
    rock->Launch(testCase.flight, 200.0f);
    rock->deflected = true;
    rock->speed = 100.0f;
    Fly(rock, 1, 0.1f);
    EXPECT_EQ(rock->GetPosition(), Vec2(200.0f, 160.0f) + testCase.step * 10.0f) << testCase.flight;
    Release(rock);
  }
}

TEST_F(ProjectileTest, ARockBreaksOnATileItCannotPassAndAtTheRoomsEdge) {
  map.Cell(0, 0, 10, 5) = 0x61;  // flown over
  map.Cell(0, 0, 12, 5) = 0x12;  // walkable, yet it stops the rock
  LoadWorld();
  Rock* rock = Make<Rock>(&server, renderer.get());
  rock->SetPosition(Vec2(224.0f, 160.0f));
  rock->Launch(DIR_RIGHT, 100.0f);
  Fly(rock, 200, 0.01f);
  EXPECT_EQ(rock->state, 0);
  // Its centre reached column 12: x + 16 >= 384.
  EXPECT_NEAR(rock->GetPosition().x, 368.0f, 1.5f);

  Rock* toTheEdge = Make<Rock>(&server, renderer.get());
  toTheEdge->SetPosition(Vec2(224.0f, 96.0f));
  toTheEdge->Launch(DIR_UP, 100.0f);
  Fly(toTheEdge, 200, 0.01f);
  EXPECT_EQ(toTheEdge->state, 0);
  EXPECT_NEAR(toTheEdge->GetPosition().y, 31.0f, 1.5f) << "ends just outside the top margin of 32";
}

TEST_F(ProjectileTest, AnEnergyBallIsBlockedOnlyByAFacingShieldAtLeastAsStrongAsItsDamage) {
  SoundScope sounds;
  const struct {
    const char* name;
    int shield;
    int heroFacing;  // the ball flies up, so a hero facing down faces it
    float swingTime;
    float healthBefore;
    bool blocked;
    float healthAfter;
  } cases[] = {
      {"shield 1 facing", 1, DIR_DOWN, 0.0f, 3.0f, false, 2.5f},  // 2.0 - 1 = 1.0, halved
      {"shield 2 facing", 2, DIR_DOWN, 0.0f, 3.0f, true, 3.0f},
      {"shield 2 swinging", 2, DIR_DOWN, 0.1f, 3.0f, false, 3.0f},  // hurt by nothing: flashes only
      {"shield 2 facing away", 2, DIR_UP, 0.0f, 3.0f, false, 3.0f},
      {"shield 3 facing away", 3, DIR_UP, 0.0f, 2.0f, false, 2.0f},  // a shield never heals
  };
  for (const auto& testCase : cases) {
    Aveth* hero = MakeWorldHero(200.0f, 200.0f, 0);
    hero->health = testCase.healthBefore;
    hero->shield = testCase.shield;
    hero->SetDirection(testCase.heroFacing);
    hero->swingTime = testCase.swingTime;
    EnergyBall* ball = Make<EnergyBall>(&server, renderer.get());
    ball->SetPosition(Vec2(200.0f, 260.0f));
    ball->Launch(0.0f, -1.0f, 225.0f, 2.0f);
    Fly(ball, 100);
    EXPECT_EQ(ball->state, 0) << testCase.name;
    EXPECT_FLOAT_EQ(hero->health, testCase.healthAfter) << testCase.name;
    EXPECT_EQ(hero->flashing, !testCase.blocked) << testCase.name;
    EXPECT_EQ(sounds.TakePlay(kSoundShield), testCase.blocked) << testCase.name;
    Release(ball);
    ReleaseHero(hero);
  }
}

TEST_F(ProjectileTest, AnEnergyBallFacesTheMainAxisOfItsFlightAndTiesGoVertical) {
  const struct {
    float dx, dy;
    int facing;
  } cases[] = {
      {0.6f, 0.8f, DIR_DOWN},       {0.8f, -0.6f, DIR_RIGHT}, {0.7071f, 0.7071f, DIR_DOWN},
      {-0.7071f, -0.7071f, DIR_UP}, {-0.8f, 0.6f, DIR_LEFT},  {0.0f, 0.0f, DIR_UP},
  };
  for (const auto& testCase : cases) {
    EnergyBall ball(&server, renderer.get());
    ball.Launch(testCase.dx, testCase.dy, 225.0f, 2.0f);
    EXPECT_EQ(ball.GetDirection(), testCase.facing) << testCase.dx << ", " << testCase.dy;
  }
}

TEST_F(ProjectileTest, AnEnergyBallFliesAlongItsAimAndPassesAFlashingHero) {
  Aveth* hero = MakeWorldHero(200.0f, 200.0f, 0);
  hero->flashing = true;
  hero->flashTime = -1.0f;
  EnergyBall* ball = Make<EnergyBall>(&server, renderer.get());
  ball->SetPosition(Vec2(140.0f, 120.0f));
  ball->Launch(0.6f, 0.8f, 225.0f, 2.0f);
  Fly(ball, 1, 0.2f);
  EXPECT_NEAR(ball->GetPosition().x, 140.0f + 27.0f, 0.01f);
  EXPECT_NEAR(ball->GetPosition().y, 120.0f + 36.0f, 0.01f);
  Fly(ball, 2, 0.2f);  // over the hero and beyond
  EXPECT_NE(ball->state, 0);
  EXPECT_FLOAT_EQ(hero->health, 3.0f);
}
