// Bat: the tiles it crosses, its eight-direction flight that never starts a
// step onto a tile it cannot cross, the flutter and rest, and death at any
// hit.
#include "game/bat.h"

#include <gtest/gtest.h>

#include <set>

#include "game/rendprael.h"
#include "tests/game/monster_fixtures.h"

namespace {

using monster_test::MonsterTest;
using BatTest = MonsterTest;

// The layer-0 value under the centre of the bat's box.
unsigned CentreTile(PraelRenderer& world, Bat& bat) {
  const Vec2 centre = bat.GetPosition() + Vec2(16.0f, 16.0f);
  return world.GetMapTile(static_cast<int>(centre.x / 32), static_cast<int>(centre.y / 32), 0);
}

TEST_F(BatTest, CrossesTheFlierTilesBesidesTheWalkersGround) {
  const struct {
    uint8_t tile;
    bool batCrosses;
    bool walkerCrosses;
  } cases[] = {{0, true, true},    {16, true, true},   {161, true, true},   {162, true, false},
               {163, true, false}, {164, true, false}, {165, false, false}, {48, false, false}};
  for (size_t i = 0; i < std::size(cases); ++i) map.Cell(0, 0, static_cast<int>(i), 0) = cases[i].tile;
  LoadWorld();
  Bat* bat = Make<Bat>(5, 5, true);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Vec2 point(static_cast<float>(i) * 32.0f + 10.0f, 10.0f);
    EXPECT_EQ(bat->IsWalkable(point), cases[i].batCrosses) << "tile " << int(cases[i].tile);
    EXPECT_EQ(bat->Entity::IsWalkable(point), cases[i].walkerCrosses) << "tile " << int(cases[i].tile);
  }
}

// Room (3, 2) is water except a field of the three flier tiles; over a
// minute of flight the bat's centre never leaves the field, and it flies
// over all three.
TEST_F(BatTest, NeverStartsAStepOntoATileItCannotCrossAndFliesOverTheFlierTiles) {
  FillRoom(3, 2, 48);
  for (int column = 4; column <= 9; ++column)
    for (int row = 3; row <= 7; ++row)
      map.Cell(3, 2, column, row) = static_cast<uint8_t>(162 + (column - 4) / 2);
  LoadWorld();
  Bat* bat = Make<Bat>(48 + 6, 22 + 5, false);
  std::set<unsigned> crossed;
  std::set<int> directions;
  for (int frame = 0; frame < 60 * 60; ++frame) {
    RunFrames(1);
    const unsigned under = CentreTile(*renderer, *bat);
    ASSERT_TRUE(under >= 162 && under <= 164) << "frame " << frame << " over tile " << under;
    crossed.insert(under);
    directions.insert(bat->direction);
  }
  EXPECT_EQ(crossed, (std::set<unsigned>{162, 163, 164}));
  EXPECT_GT(directions.size(), 4u);  // diagonals too
}

TEST_F(BatTest, DiagonalStepMovesBothAxesAndEndsOnTheTarget) {
  LoadWorld();
  Bat* bat = Make<Bat>(54, 27, true);
  const Vec2 start = bat->GetPosition();
  bat->target = start + Bat::StepOf(Bat::DIR_DOWN_LEFT);
  bat->SetDirection(Bat::DIR_DOWN_LEFT);
  bat->SetState(enemy::STATE_WALKING);
  bat->resting = false;
  Step(0.05f);
  bat->Tick(0.05f);
  const float step = bat->speed * 0.05f;
  EXPECT_FLOAT_EQ(bat->GetPosition().x, start.x - step);
  EXPECT_FLOAT_EQ(bat->GetPosition().y, start.y + step);
  for (int i = 0; i < 10 && bat->state == enemy::STATE_WALKING; ++i) bat->Tick(0.05f);
  EXPECT_EQ(bat->state, enemy::STATE_CHOOSING);
  EXPECT_EQ(bat->GetPosition(), start + Vec2(-16.0f, 16.0f));
}

// Four seconds of slowing to a stop, a second still, four of speeding up.
TEST_F(BatTest, RestSlowsToAStopHoldsASecondAndSpeedsUpAgain) {
  FillRoom(3, 2, 48);  // nowhere to fly: the flutter alone is seen
  map.Cell(3, 2, 6, 5) = 0;
  LoadWorld();
  Bat* bat = Make<Bat>(54, 27, true);
  bat->resting = true;
  bat->restTime = Bat::kRestSeconds;
  RunFrames(4 * 60 + 1);
  EXPECT_EQ(bat->speedFactor, 0.0f);
  EXPECT_EQ(bat->speed, 0.0f);
  EXPECT_TRUE(bat->resting);
  RunFrames(60);
  EXPECT_FALSE(bat->resting);
  RunFrames(2 * 60);
  EXPECT_NEAR(bat->speedFactor, 0.5f, 0.02f);
  EXPECT_NEAR(bat->speed, 0.5f * Bat::kFullSpeed, 2.0f);
  EXPECT_NEAR(bat->frameRate, 0.5f * Bat::kFullFrameRate, 0.5f);
}

TEST_F(BatTest, AnyHitKillsItInASpark) {
  for (float amount : {0.0f, 1.0f}) {
    LoadWorld();
    Bat* bat = Make<Bat>(54, 27, amount == 0.0f);
    const int sparksBefore = CountNamed("DeathSpark");
    bat->TakeDamage(amount, DIR_NONE, 0);
    EXPECT_TRUE(bat->removed) << "amount " << amount;
    EXPECT_FALSE(bat->flashing);
    EXPECT_EQ(CountNamed("DeathSpark"), sparksBefore + 1);
    EXPECT_EQ(CountNamed("Dralm") + CountNamed("Heart"), 0);
    ReleaseEnded();
  }
}

}  // namespace
