// Snake: the charge at a hero in line, the fall back to its pace at the first
// blocked step, the search for a hero in line, and the stun.
#include "game/snake.h"

#include <gtest/gtest.h>

#include "tests/game/monster_fixtures.h"

namespace {

using monster_test::MonsterTest;

// Room (3, 2): tiles 48 to 63 across, 22 to 32 down.
constexpr int kColumn = 52;
constexpr int kRow = 26;
constexpr float kX = kColumn * 32.0f;
constexpr float kY = kRow * 32.0f;

using SnakeTest = MonsterTest;

TEST_F(SnakeTest, ChargesAHeroBesideItsColumnAndSlowsAtTheFirstBlockedStep) {
  for (int column = 0; column < 16; ++column)
    map.Cell(3, 2, column, kRow + 2 - 22) = 48;  // water, a row across
  LoadWorld();
  MakeHero(kX + 5.0f, kY + 96.0f);  // 5 pixels beside the column, beyond the water
  Snake* snake = Make<Snake>(kColumn, kRow);
  RunFrames(1);
  EXPECT_TRUE(snake->charging);
  EXPECT_EQ(snake->chargeDirection, DIR_DOWN);
  EXPECT_EQ(snake->speed, Snake::kChargeSpeed);
  EXPECT_EQ(snake->state, enemy::STATE_WALKING);
  RunFrames(1);
  EXPECT_FLOAT_EQ(snake->GetPosition().y, kY + Snake::kChargeSpeed / 60.0f);
  // Four pixels a frame take it one tile down; it arrives, and the next
  // step of the charge is blocked.
  RunFrames(9);
  EXPECT_EQ(snake->GetPosition().y, kY + 32.0f);
  EXPECT_FALSE(snake->charging);
  EXPECT_EQ(snake->speed, Snake::kSpeed);
  for (int frame = 0; frame < 600; ++frame) {
    RunFrames(1);
    ASSERT_LT(snake->GetPosition().y, kY + 64.0f) << "frame " << frame;
    ASSERT_LE(snake->speed, Snake::kChargeSpeed);
  }
}

struct LineCase {
  const char* name;
  float heroDx, heroDy;  // from the snake
  int expected;
};

TEST_F(SnakeTest, FindsAHeroOnItsRowOrColumn) {
  const LineCase cases[] = {
      {"below, 5 px aside", 5.0f, 96.0f, DIR_DOWN},
      {"above, 7 px aside", -7.0f, -64.0f, DIR_UP},
      {"right, 3 px off", 128.0f, 3.0f, DIR_RIGHT},
      {"left, 3 px off", -128.0f, -3.0f, DIR_LEFT},
      {"on the snake", 0.0f, 0.0f, DIR_UP},
      {"8 px off both lines", 8.0f, 40.0f, DIR_NONE},
      {"same column, other room", 0.0f, 320.0f, DIR_NONE},
  };
  LoadWorld();
  Snake* snake = Make<Snake>(kColumn, kRow);
  Aveth* hero = MakeHero(0.0f, 0.0f);
  for (const LineCase& test : cases) {
    hero->SetPosition(Vec2(kX + test.heroDx, kY + test.heroDy));
    EXPECT_EQ(snake->FindHeroInLine(), test.expected) << test.name;
  }
}

TEST_F(SnakeTest, HeroZeroIsTestedBeforeHeroOneAndAMissingHeroIsSkipped) {
  LoadWorld();
  Snake* snake = Make<Snake>(kColumn, kRow);
  EXPECT_EQ(snake->FindHeroInLine(), DIR_NONE);
  Aveth* clientHero = MakeHero(kX - 100.0f, kY + 2.0f);
  clientHero->SetUID(1);
  EXPECT_EQ(snake->FindHeroInLine(), DIR_LEFT);
  MakeHero(kX + 2.0f, kY - 100.0f);  // uid 0
  EXPECT_EQ(snake->FindHeroInLine(), DIR_UP);
}

TEST_F(SnakeTest, StunningHitHoldsItTwoSecondsWithoutHurting) {
  LoadWorld();
  Snake* snake = Make<Snake>(kColumn, kRow);
  snake->TakeDamage(0.0f, DIR_NONE, 0);
  EXPECT_EQ(snake->state, enemy::STATE_STUNNED);
  EXPECT_EQ(snake->health, Snake::kHealth);
  const Vec2 at = snake->GetPosition();
  RunFrames(119);
  EXPECT_EQ(snake->state, enemy::STATE_STUNNED);
  EXPECT_EQ(snake->GetPosition(), at);
  RunFrames(3);
  EXPECT_NE(snake->state, enemy::STATE_STUNNED);
}

TEST_F(SnakeTest, FacesRightOrLeftAndKeepsItGoingUpOrDown) {
  LoadWorld();
  Snake* snake = Make<Snake>(kColumn, kRow);
  snake->SetDirection(DIR_LEFT);
  EXPECT_EQ(snake->baseFrame, 2);
  snake->SetDirection(DIR_UP);
  EXPECT_EQ(snake->baseFrame, 2);
  snake->SetDirection(DIR_RIGHT);
  EXPECT_EQ(snake->baseFrame, 0);
  snake->SetDirection(DIR_DOWN);
  EXPECT_EQ(snake->baseFrame, 0);
}

}  // namespace
