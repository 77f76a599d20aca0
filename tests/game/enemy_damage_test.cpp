// Enemies hurt, stunned, killed: flashing, knock-back, the spark, the drop
// roll and the kill counter the skeletons keep.
#include <gtest/gtest.h>

#include "game/enemy_common.h"
#include "game/gorrit.h"
#include "game/netmessages.h"
#include "game/pelvokblue.h"
#include "game/pelvokred.h"
#include "game/pickup.h"
#include "game/skeleton.h"
#include "tests/game/enemy_fixtures.h"

using enemy_test::EnemyTest;
using enemy_test::PayloadValue;

namespace {

constexpr float kFrame = 1.0f / 32.0f;

class EnemyDamageTest : public EnemyTest {
 protected:
  void SetUp() override {
    EnemyTest::SetUp();
    LoadWorld();
  }
  std::vector<Entity*> Pickups() const {
    std::vector<Entity*> found;
    for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
      if (renderer->GetEntity(i)->isPickup) found.push_back(renderer->GetEntity(i));
    }
    return found;
  }
};

}  // namespace

TEST_F(EnemyDamageTest, AHitOfNothingStunsForTwoSecondsOrOnlyFlashesAGorrit) {
  struct Case {
    const char* label;
    Entity* enemy;
    bool stuns;
  };
  const Case cases[] = {
      {"CPelvokBlue", Make<CPelvokBlue>(&server), true},
      {"CPelvokRed", Make<CPelvokRed>(&server), true},
      {"Skeleton", Make<Skeleton>(&server), true},
      {"Gorrit blue", Make<Gorrit>(&server, true), false},
      {"Gorrit red", Make<Gorrit>(&server, false), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Entity* enemy = c.enemy;
    Place(enemy, 5, 5);
    enemy->harmlessTime = 0.0f;
    enemy->SetState(enemy::STATE_CHOOSING);
    const float health = enemy->health;
    enemy->TakeDamage(0.0f, -1, 0);
    EXPECT_EQ(enemy->health, health);
    EXPECT_EQ(enemy->GetPosition(), Vec2(160.0f, 160.0f));
    if (c.stuns) {
      EXPECT_EQ(enemy->state, enemy::STATE_STUNNED);
      EXPECT_FALSE(enemy->flashing);
      for (int i = 0; i < 64; ++i) enemy->Tick(kFrame);  // 2.0 s
      EXPECT_EQ(enemy->state, enemy::STATE_STUNNED);
      enemy->Tick(kFrame);
      EXPECT_EQ(enemy->state, enemy::STATE_WALKING) << "stunned for 2 s, then on";
    } else {
      EXPECT_EQ(enemy->state, enemy::STATE_CHOOSING);
      EXPECT_TRUE(enemy->flashing);
      EXPECT_EQ(enemy->flashTime, 0.5f);
    }
  }
}

TEST_F(EnemyDamageTest, ABlueGorritHitFromTheLeftLosesOneHeartAndIsKnockedOneTileRight) {
  Gorrit* gorrit = Make<Gorrit>(&server, true);
  Place(gorrit, 5, 5);
  ASSERT_EQ(gorrit->health, 3.0f);
  gorrit->TakeDamage(1.0f, DIR_RIGHT, 0);
  EXPECT_EQ(gorrit->health, 2.0f);
  EXPECT_TRUE(gorrit->flashing);
  EXPECT_EQ(gorrit->flashTime, 0.5f);
  EXPECT_EQ(gorrit->GetPosition(), Vec2(192.0f, 160.0f));
  gorrit->TakeDamage(1.0f, DIR_RIGHT, 0);
  EXPECT_EQ(gorrit->health, 2.0f) << "a hit while flashing is ignored";
  EXPECT_EQ(gorrit->GetPosition(), Vec2(192.0f, 160.0f));
  for (int i = 0; i < 17; ++i) gorrit->Tick(kFrame);
  EXPECT_FALSE(gorrit->flashing);
  gorrit->TakeDamage(1.0f, DIR_RIGHT, 0);
  EXPECT_EQ(gorrit->health, 1.0f);
}

TEST_F(EnemyDamageTest, KnockBackStopsAtWallsAndAtTheRoomsEdge) {
  map.Cell(0, 0, 6, 5) = 1;
  LoadWorld();
  Gorrit* walled = Make<Gorrit>(&server, true);
  Place(walled, 5, 5);
  walled->TakeDamage(1.0f, DIR_RIGHT, 0);
  EXPECT_EQ(walled->GetPosition(), Vec2(160.0f, 160.0f));
  CPelvokBlue* atEdge = Make<CPelvokBlue>(&server);
  Place(atEdge, 15, 3);
  atEdge->TakeDamage(1.0f, DIR_RIGHT, 0);
  EXPECT_EQ(atEdge->health, 1.0f);
  EXPECT_EQ(atEdge->GetPosition(), Vec2(480.0f, 96.0f)) << "the next column is the next room";
}

TEST_F(EnemyDamageTest, AGorritHitByABoomerangIsNotHealed) {
  Gorrit* gorrit = Make<Gorrit>(&server, false);
  Place(gorrit, 5, 5);
  gorrit->TakeDamage(-1.0f, DIR_LEFT, 0);
  EXPECT_EQ(gorrit->health, 2.0f);
  EXPECT_TRUE(gorrit->flashing);
  EXPECT_EQ(gorrit->GetPosition(), Vec2(128.0f, 160.0f));
}

TEST_F(EnemyDamageTest, AKillOnTheServerLeavesASparkAndAfterSixBareKillsAlwaysDrops) {
  ConnectClient();
  Entity* killed[] = {Make<CPelvokBlue>(&server), Make<CPelvokRed>(&server), Make<Gorrit>(&server, true),
                      Make<Skeleton>(&server)};
  uint32_t uid = 100;
  size_t dropped = 0;
  for (Entity* enemy : killed) {
    SCOPED_TRACE(enemy->name);
    Place(enemy, 4, 6);
    enemy->uid = ++uid;
    g_killsSinceDrop = 6;
    enemy->TakeDamage(enemy->health, DIR_RIGHT, 0);
    EXPECT_EQ(enemy->state, 0);
    EXPECT_TRUE(enemy->removed);
    EXPECT_EQ(g_killsSinceDrop, 0);
    ASSERT_EQ(Pickups().size(), ++dropped);
    auto* pickup = static_cast<Pickup*>(Pickups().back());
    EXPECT_EQ(pickup->GetPosition(), Vec2(128.0f, 192.0f));
    EXPECT_EQ(pickup->life, 10.0f);
    const auto deaths = Heard(MSG_DEATH, dropped);
    ASSERT_EQ(deaths.size(), dropped);
    EXPECT_EQ(PayloadValue<uint32_t>(deaths.back(), 0), uid);
    const auto drops = Heard(MSG_PICKUP, dropped);
    ASSERT_EQ(drops.size(), dropped);
    const int32_t kind = PayloadValue<int32_t>(drops.back(), 0);
    EXPECT_TRUE(kind == 1 || kind == 2 || kind == 4) << kind;
    EXPECT_EQ(PayloadValue<float>(drops.back(), 4), 128.0f);
    EXPECT_EQ(PayloadValue<float>(drops.back(), 8), 192.0f);
    EXPECT_EQ(PayloadValue<float>(drops.back(), 12), 10.0f);
  }
  EXPECT_EQ(Named("DeathSpark").size(), 4u);
  for (Entity* spark : Named("DeathSpark")) EXPECT_EQ(spark->GetPosition(), Vec2(128.0f, 192.0f));
}

TEST_F(EnemyDamageTest, OnlySkeletonDeathsThatDropNothingCountTowardTheCertainDrop) {
  g_killsSinceDrop = 3;
  for (int i = 0; i < 10; ++i) {
    CPelvokRed* red = Make<CPelvokRed>(&server);
    red->TakeDamage(1.0f, -1, 0);
    ASSERT_TRUE(g_killsSinceDrop == 3 || g_killsSinceDrop == 0) << g_killsSinceDrop;
  }
  // Skeletons on the server count every death that drops nothing.
  g_killsSinceDrop = 0;
  for (int i = 0; i < 20; ++i) {
    const size_t before = Pickups().size();
    const int32_t kills = g_killsSinceDrop;
    Make<Skeleton>(&server)->TakeDamage(2.0f, -1, 0);
    if (Pickups().size() > before) {
      EXPECT_EQ(g_killsSinceDrop, 0);
    } else {
      EXPECT_EQ(g_killsSinceDrop, kills + 1);
      EXPECT_LE(kills, 5) << "above 5 the drop is certain";
    }
  }
}

TEST_F(EnemyDamageTest, ASkeletonKilledOnAClientCountsAndDropsNothing) {
  // The client decides nothing: its skeletons die by message 8 or by a hit
  // report, and every such death counts.
  g_killsSinceDrop = 6;
  Skeleton* byHit = Make<Skeleton>(&client);
  byHit->SetRemote(true);
  byHit->TakeDamage(2.0f, -1, 0);
  EXPECT_TRUE(byHit->removed);
  EXPECT_EQ(g_killsSinceDrop, 7);
  Skeleton* byMessage = Make<Skeleton>(&client);
  byMessage->SetRemote(true);
  byMessage->Dead();
  EXPECT_EQ(g_killsSinceDrop, 8);
  EXPECT_TRUE(Pickups().empty());
  EXPECT_EQ(Named("DeathSpark").size(), 2u);
}

TEST_F(EnemyDamageTest, AnEnemyDiesOnce) {
  CPelvokBlue* blue = Make<CPelvokBlue>(&server);
  Place(blue, 5, 5);
  blue->Dead();
  blue->Dead();
  EXPECT_EQ(Named("DeathSpark").size(), 1u);
  // A stun after death does not bring it back into the world.
  blue->flashing = false;
  blue->TakeDamage(0.0f, -1, 0);
  EXPECT_EQ(blue->state, 0);
  g_killsSinceDrop = 6;
  blue->TakeDamage(5.0f, -1, 0);
  EXPECT_TRUE(Pickups().empty()) << "no drop for a second death";
  EXPECT_EQ(g_killsSinceDrop, 6);
}

TEST_F(EnemyDamageTest, SoundsPlayOnlyInTheHerosRoom) {
  hero_test::SoundScope sounds;
  CPelvokRed* far = Make<CPelvokRed>(&server);
  far->inHeroRoom = false;
  far->TakeDamage(0.0f, -1, 0);
  far->Dead();
  EXPECT_FALSE(sounds.TakePlay(kSoundHit));
  EXPECT_FALSE(sounds.TakePlay(kSoundKill));
  CPelvokRed* near = Make<CPelvokRed>(&server);
  near->inHeroRoom = true;
  near->TakeDamage(0.0f, -1, 0);
  EXPECT_TRUE(sounds.TakePlay(kSoundHit));
  EXPECT_FALSE(sounds.TakePlay(kSoundKill));
  near->Dead();
  EXPECT_TRUE(sounds.TakePlay(kSoundKill));
  EXPECT_TRUE(sounds.TakePlay(kSoundHit));
}
