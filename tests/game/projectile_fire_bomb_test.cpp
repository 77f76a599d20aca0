// The hero's fire and bomb: what they hurt, how they knock, when they end.
#include <gtest/gtest.h>

#include "game/aveth.h"
#include "game/effects.h"
#include "game/projectiles.h"
#include "game/soundtable.h"
#include "game/sword.h"
#include "tests/game/projectile_fixtures.h"

using hero_test::SoundScope;
using projectile_test::ProjectileTest;
using projectile_test::TestEnemy;

TEST_F(ProjectileTest, AFireThrownDownCreepsOneTileThenBurnsEightTenthsOfASecond) {
  SoundScope sounds;
  Aveth* hero = MakeWorldHero(200.0f, 100.0f, 0);
  hero->SetDirection(DIR_DOWN);
  hero->itemReady = false;
  Fire* fire = Make<Fire>(&server, renderer.get(), hero);
  fire->SetPosition(Vec2(200.0f, 132.0f));
  fire->Launch(DIR_DOWN, 60.0f, 1.0f);
  EXPECT_TRUE(sounds.TakePlay(kSoundFire)) << "thrown in the local hero's room";
  EXPECT_EQ(fire->GetDirection(), DIR_UP) << "its own direction is the reverse";

  const float frame = 1.0f / 60.0f;
  int creeping = 0;
  while (fire->travelled < Fire::kCreepPixels && creeping < 100) creeping += Fly(fire, 1, frame);
  EXPECT_EQ(creeping, 32) << "one pixel a frame at 60 pixels a second";
  EXPECT_NEAR(fire->GetPosition().y, 164.0f, 0.01f);
  EXPECT_FLOAT_EQ(fire->GetPosition().x, 200.0f);

  const int burning = Fly(fire, 100, frame);
  EXPECT_NEAR(burning * frame, 0.8f, 1.5f * frame);
  EXPECT_EQ(fire->state, 0);
  EXPECT_NEAR(fire->GetPosition().y, 164.0f, 0.01f) << "it burns in place";
  EXPECT_TRUE(hero->itemReady) << "the hero may use his item again";
}

TEST_F(ProjectileTest, AFireOutsideTheHerosRoomIsNotHeard) {
  SoundScope sounds;
  MakeWorldHero(200.0f, 100.0f, 0);
  Fire* fire = Make<Fire>(&server, renderer.get(), nullptr);
  fire->SetPosition(Vec2(200.0f + 512.0f, 132.0f));
  fire->Launch(DIR_DOWN, 60.0f, 1.0f);
  EXPECT_FALSE(sounds.TakePlay(kSoundFire));
}

TEST_F(ProjectileTest, FireBurnsEveryoneItTouchesOnceAFlashAndKnocksEnemiesAwayFromTheThrower) {
  Aveth* thrower = MakeWorldHero(190.0f, 200.0f, 0);
  TestEnemy* enemy = MakeEnemy(210.0f, 200.0f);
  Rock* passingRock = Make<Rock>(&server, renderer.get());
  passingRock->SetPosition(Vec2(200.0f, 200.0f));
  Fire* fire = Make<Fire>(&server, renderer.get(), thrower);
  fire->SetPosition(Vec2(200.0f, 200.0f));
  fire->Launch(DIR_RIGHT, 60.0f, 1.0f);
  fire->travelled = Fire::kCreepPixels;  // already burning in place

  Fly(fire, 1);
  EXPECT_EQ(enemy->blows, (std::vector<TestEnemy::Blow>{{1.0f, DIR_RIGHT}}));
  EXPECT_FLOAT_EQ(thrower->health, 2.5f) << "the thrower is burnt too";
  EXPECT_EQ(thrower->pushDirection, DIR_LEFT) << "back the way he threw";
  EXPECT_FLOAT_EQ(passingRock->health, 0.0f) << "projectiles are not burnt";

  Fly(fire, 1);
  EXPECT_EQ(enemy->blows.size(), 2u) << "an enemy that does not flash burns each frame";
  EXPECT_FLOAT_EQ(thrower->health, 2.5f) << "a flashing hero is spared";
  enemy->flashOnHit = true;
  Fly(fire, 3);
  EXPECT_EQ(enemy->blows.size(), 3u);
  EXPECT_NE(fire->state, 0) << "the fire is not used up";
}

TEST_F(ProjectileTest, AClientsFireHurtsNothing) {
  Aveth* hero = MakeWorldHero(190.0f, 200.0f, 0, &client);
  TestEnemy* enemy = MakeEnemy(210.0f, 200.0f, &client);
  Fire* fire = Make<Fire>(&client, renderer.get(), hero);
  fire->SetPosition(Vec2(200.0f, 200.0f));
  fire->Launch(DIR_RIGHT, 60.0f, 1.0f);
  Fly(fire, 10);
  EXPECT_TRUE(enemy->blows.empty());
  EXPECT_FLOAT_EQ(hero->health, 3.0f);
}

TEST_F(ProjectileTest, ABombsBlastReachesEnemiesWithinSixtyPixelsAndHeroesWithinTwentyEight) {
  SoundScope sounds;
  Aveth* dropper = MakeWorldHero(200.0f, 180.0f, 0);  // 20 + 32 = 52: hurt
  Aveth* spared = MakeWorldHero(200.0f, 230.0f, 1);   // 30 + 32 = 62: spared
  dropper->itemReady = false;
  TestEnemy* nearEnemy = MakeEnemy(240.0f, 200.0f);  // 40: hurt
  TestEnemy* edgeEnemy = MakeEnemy(140.0f, 200.0f);  // 60: hurt
  TestEnemy* farEnemy = MakeEnemy(200.0f, 261.0f);   // 61: spared
  Bomb* bomb = Make<Bomb>(&server, renderer.get(), dropper);
  bomb->SetPosition(Vec2(200.0f, 200.0f));
  bomb->Launch(DIR_DOWN, 60.0f, 2.0f);
  EXPECT_TRUE(sounds.TakePlay(kSoundBombDrop));

  const int frames = Fly(bomb, 100);
  EXPECT_EQ(frames, 63) << "the fuse burns a second";
  EXPECT_EQ(bomb->state, 0);
  EXPECT_TRUE(sounds.TakePlay(kSoundBombBlow));
  EXPECT_EQ(bomb->GetPosition(), Vec2(200.0f, 200.0f)) << "a bomb does not move";
  const std::vector<TestEnemy::Blow> knockedDown = {{2.0f, DIR_DOWN}};
  EXPECT_EQ(nearEnemy->blows, knockedDown) << "enemies are knocked the dropper's way";
  EXPECT_EQ(edgeEnemy->blows, knockedDown);
  EXPECT_TRUE(farEnemy->blows.empty());
  EXPECT_FLOAT_EQ(dropper->health, 2.0f) << "a hero is hurt by his own bomb";
  EXPECT_EQ(dropper->pushDirection, DIR_UP);
  EXPECT_FLOAT_EQ(spared->health, 3.0f);
  EXPECT_TRUE(dropper->itemReady);

  std::vector<Vec2> puffs;
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    const Entity* entity = renderer->GetEntity(i);
    if (dynamic_cast<const Smoke*>(entity) != nullptr)
      puffs.push_back(entity->position - Vec2(200.0f, 200.0f));
  }
  const std::vector<Vec2> expectedPuffs = {{0.0f, 0.0f},   {16.0f, 32.0f},  {-16.0f, 32.0f}, {32.0f, 0.0f},
                                           {-32.0f, 0.0f}, {16.0f, -32.0f}, {-16.0f, -32.0f}};
  EXPECT_EQ(puffs, expectedPuffs) << "seven puffs around the bomb, in this order";
}

TEST_F(ProjectileTest, ABombAtTheRoomsEdgeIsTakenAwayUnexploded) {
  SoundScope sounds;
  TestEnemy* enemy = MakeEnemy(30.0f, 200.0f);
  Bomb* bomb = Make<Bomb>(&server, renderer.get(), nullptr);
  bomb->SetPosition(Vec2(2.0f, 200.0f));
  bomb->Launch(DIR_LEFT, 60.0f, 2.0f);
  EXPECT_EQ(Fly(bomb, 100), 1);
  EXPECT_EQ(bomb->state, 0);
  EXPECT_FALSE(sounds.TakePlay(kSoundBombBlow));
  EXPECT_TRUE(enemy->blows.empty());
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i)
    EXPECT_EQ(dynamic_cast<const Smoke*>(renderer->GetEntity(i)), nullptr) << "no smoke without a blast";
}

TEST_F(ProjectileTest, AClientsBombBlowsUpButHurtsNothing) {
  SoundScope sounds;
  TestEnemy* enemy = MakeEnemy(220.0f, 200.0f, &client);
  Bomb* bomb = Make<Bomb>(&client, renderer.get(), nullptr);
  bomb->SetPosition(Vec2(200.0f, 200.0f));
  bomb->Launch(DIR_UP, 60.0f, 2.0f);
  Fly(bomb, 100);
  EXPECT_EQ(bomb->state, 0);
  EXPECT_TRUE(sounds.TakePlay(kSoundBombBlow));
  EXPECT_TRUE(enemy->blows.empty());
}
