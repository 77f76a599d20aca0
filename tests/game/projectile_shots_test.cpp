// The straight shots: the sword beam and the arrow.
#include <gtest/gtest.h>

#include "game/aveth.h"
#include "game/pickup.h"
#include "game/projectiles.h"
#include "game/soundtable.h"
#include "tests/game/net_test_support.h"
#include "tests/game/projectile_fixtures.h"

using hero_test::SoundScope;
using projectile_test::ProjectileTest;
using projectile_test::TestEnemy;

TEST_F(ProjectileTest, ABatsSwordBeamPassesHeroesAndHurtsTheFirstEnemyItMeets) {
  Aveth* hero = MakeWorldHero(200.0f, 192.0f, 0);
  Aveth* otherHero = MakeWorldHero(260.0f, 192.0f, 1);
  TestEnemy* enemy = MakeEnemy(330.0f, 192.0f);
  TestEnemy* behind = MakeEnemy(400.0f, 192.0f);
  ThrowSword* beam = Make<ThrowSword>(&server, renderer.get(), nullptr);
  beam->SetPosition(Vec2(150.0f, 192.0f));
  beam->Launch(DIR_RIGHT, 350.0f, 1.0f);
  EXPECT_EQ(beam->baseFrame, 6);
  EXPECT_FLOAT_EQ(beam->frameRate, 30.0f);
  Fly(beam, 100);
  EXPECT_EQ(beam->state, 0);
  EXPECT_FLOAT_EQ(hero->health, 3.0f);
  EXPECT_FLOAT_EQ(otherHero->health, 3.0f);
  EXPECT_FALSE(hero->flashing || otherHero->flashing);
  EXPECT_EQ(enemy->blows, (std::vector<TestEnemy::Blow>{{1.0f, DIR_RIGHT}}));
  EXPECT_TRUE(behind->blows.empty());
}

TEST_F(ProjectileTest, ABeamHitsEveryEnemyItTouchesInItsLastFrame) {
  TestEnemy* first = MakeEnemy(200.0f, 192.0f);
  TestEnemy* second = MakeEnemy(204.0f, 196.0f);
  ThrowSword* beam = Make<ThrowSword>(&server, renderer.get(), nullptr);
  beam->SetPosition(Vec2(202.0f, 194.0f));
  beam->Launch(DIR_UP, 350.0f, 2.0f);
  Fly(beam, 1);
  EXPECT_EQ(beam->state, 0);
  EXPECT_EQ(first->blows.size(), 1u);
  EXPECT_EQ(second->blows.size(), 1u);
}

TEST_F(ProjectileTest, ABeamPassesAnEnemyThatHasAlreadyEnded) {
  TestEnemy* ended = MakeEnemy(260.0f, 192.0f);
  ended->Dead();  // still in the list until the end of the tick pass
  TestEnemy* enemy = MakeEnemy(330.0f, 192.0f);
  ThrowSword* beam = Make<ThrowSword>(&server, renderer.get(), nullptr);
  beam->SetPosition(Vec2(200.0f, 192.0f));
  beam->Launch(DIR_RIGHT, 350.0f, 1.0f);
  Fly(beam, 100);
  EXPECT_TRUE(ended->blows.empty());
  EXPECT_EQ(enemy->blows.size(), 1u);
}

TEST_F(ProjectileTest, AClientsBeamEndsAtAnEnemyWithoutHurtingIt) {
  TestEnemy* enemy = MakeEnemy(200.0f, 192.0f, &client);
  ThrowSword* beam = Make<ThrowSword>(&client, renderer.get(), nullptr);
  beam->SetPosition(Vec2(200.0f, 250.0f));
  beam->Launch(DIR_UP, 350.0f, 1.0f);
  Fly(beam, 100);
  EXPECT_EQ(beam->state, 0);
  EXPECT_LT(beam->GetPosition().y, 250.0f - 20.0f);
  EXPECT_GT(beam->GetPosition().y, 192.0f) << "it ended at the enemy, not at the edge";
  EXPECT_TRUE(enemy->blows.empty());
}

TEST_F(ProjectileTest, TheBeamShowsItsDirectionsRow) {
  const struct {
    int direction, firstFrame;
  } cases[] = {{DIR_UP, 0}, {DIR_DOWN, 3}, {DIR_LEFT, 9}, {DIR_RIGHT, 6}};
  for (const auto& testCase : cases) {
    ThrowSword beam(&server, renderer.get(), nullptr);
    EXPECT_FLOAT_EQ(beam.frameRate, 40.0f);
    beam.Launch(testCase.direction, 350.0f, 1.0f);
    EXPECT_EQ(beam.baseFrame, testCase.firstFrame) << testCase.direction;
    EXPECT_FLOAT_EQ(beam.frameCount, 3.0f);
  }
}

TEST_F(ProjectileTest, AHerosArrowVanishesAtAnEnemyAndTheServerReportsTheHit) {
  StartTestLog();
  NetConnection host(NetConnection::kAccessPassword, "Host");
  NetConnection guest(NetConnection::kAccessPassword, "Guest");
  PeerRecorder guestLog(guest);
  ASSERT_TRUE(ConnectOnLoopback(host, guest));

  Aveth* hero = MakeWorldHero(100.0f, 192.0f, 0, &host);
  hero->itemReady = false;
  TestEnemy* enemy = MakeEnemy(300.0f, 192.0f, &host);
  enemy->SetUID(42);
  TestEnemy* behind = MakeEnemy(310.0f, 192.0f, &host);
  Arrow* arrow = Make<Arrow>(&host, renderer.get(), hero);
  arrow->SetPosition(Vec2(132.0f, 192.0f));
  arrow->Launch(DIR_RIGHT, 320.0f, 1.0f);
  EXPECT_EQ(arrow->baseFrame, DIR_RIGHT);
  Fly(arrow, 100);
  EXPECT_EQ(arrow->state, 0);
  EXPECT_EQ(enemy->blows, (std::vector<TestEnemy::Blow>{{1.0f, DIR_RIGHT}}));
  EXPECT_TRUE(behind->blows.empty()) << "one enemy per arrow";
  EXPECT_TRUE(hero->itemReady) << "the hero may shoot again";

  ASSERT_TRUE(PumpUntil({&host, &guest}, [&] { return !guestLog.messages.empty(); }));
  HitReportFields fields;
  ASSERT_TRUE(ReadHitReport(guestLog.messages[0], &fields));
  EXPECT_EQ(fields.uid, 42u);
  EXPECT_EQ(fields.x, 300.0f);
  EXPECT_EQ(fields.health, 3.0f);
  EXPECT_EQ(fields.direction, DIR_RIGHT);
  EXPECT_EQ(fields.push, 0);
}

TEST_F(ProjectileTest, AHerosArrowCollectsAHeartForHimAndFliesOn) {
  Aveth* hero = MakeWorldHero(100.0f, 192.0f, 0);
  hero->health = 1.5f;
  hero->itemReady = false;
  Heart* heart = Make<Heart>(&server, renderer.get());
  heart->Place(Vec2(250.0f, 192.0f), Pickup::kNoLife);
  Key* keyOnTheWay = Make<Key>(&server, renderer.get());
  keyOnTheWay->Place(Vec2(330.0f, 192.0f), Pickup::kNoLife);
  Arrow* arrow = Make<Arrow>(&server, renderer.get(), hero);
  arrow->SetPosition(Vec2(132.0f, 192.0f));
  arrow->Launch(DIR_RIGHT, 320.0f, 1.0f);
  const int keysBefore = hero->keys;
  for (int frame = 0; frame < 100 && arrow->GetPosition().x < 400.0f; ++frame) Fly(arrow, 1);
  EXPECT_NE(arrow->state, 0) << "pickups do not stop it";
  EXPECT_FLOAT_EQ(hero->health, 2.5f);
  EXPECT_EQ(heart->state, 0);
  EXPECT_EQ(hero->keys, keysBefore + 1);
  Fly(arrow, 100);
  EXPECT_FLOAT_EQ(hero->health, 2.5f) << "a heart is collected once";
  EXPECT_GT(arrow->GetPosition().x, 480.0f) << "it flew on to the room's edge";
  EXPECT_TRUE(hero->itemReady);
}

TEST_F(ProjectileTest, AnEnemysArrowPassesOverPickups) {
  Heart* heart = Make<Heart>(&server, renderer.get());
  heart->Place(Vec2(250.0f, 192.0f), Pickup::kNoLife);
  TestEnemy* gorrit = MakeEnemy(100.0f, 192.0f);
  Arrow* arrow = Make<Arrow>(&server, renderer.get(), gorrit);
  arrow->SetPosition(Vec2(132.0f, 192.0f));
  arrow->Launch(DIR_RIGHT, 250.0f, 1.0f);
  Fly(arrow, 100);
  EXPECT_NE(heart->state, 0);
}

TEST_F(ProjectileTest, AnEnemysArrowHurtsAHeroUnlessHisShieldTurnsIt) {
  SoundScope sounds;
  const struct {
    const char* name;
    int heroFacing;  // the arrow flies left, so a hero facing right faces it
    bool flashing;
    bool blocked;
    float healthAfter;
  } cases[] = {
      {"facing", DIR_RIGHT, false, true, 3.0f},
      {"facing away", DIR_LEFT, false, false, 3.0f},           // 1.0 - shield 1: no loss, but a knock
      {"facing away, flashing", DIR_LEFT, true, false, 3.0f},  // flashing heroes are not spared
  };
  for (const auto& testCase : cases) {
    Aveth* hero = MakeWorldHero(100.0f, 192.0f, 0);
    hero->SetDirection(testCase.heroFacing);
    hero->flashing = testCase.flashing;
    hero->flashTime = testCase.flashing ? -1.0f : 0.0f;
    TestEnemy* gorrit = MakeEnemy(300.0f, 192.0f);
    Arrow* arrow = Make<Arrow>(&server, renderer.get(), gorrit);
    arrow->SetPosition(Vec2(260.0f, 192.0f));
    arrow->Launch(DIR_LEFT, 250.0f, 1.0f);
    Fly(arrow, 100);
    EXPECT_EQ(arrow->state, 0) << testCase.name;
    EXPECT_GT(arrow->GetPosition().x, 100.0f) << testCase.name << ": it ended at the hero";
    EXPECT_FLOAT_EQ(hero->health, testCase.healthAfter) << testCase.name;
    EXPECT_EQ(hero->pushDirection == DIR_LEFT, !testCase.blocked) << testCase.name;
    EXPECT_EQ(sounds.TakePlay(kSoundShield), testCase.blocked) << testCase.name;
    EXPECT_TRUE(gorrit->blows.empty()) << testCase.name;
    Release(arrow);
    Release(gorrit);
    ReleaseHero(hero);
  }
}

TEST_F(ProjectileTest, AnEnemysArrowThroughAWeakShieldCostsWhatTheShieldLeaves) {
  Aveth* hero = MakeWorldHero(100.0f, 192.0f, 0);
  hero->SetDirection(DIR_UP);
  Arrow* arrow = Make<Arrow>(&server, renderer.get(), nullptr);
  arrow->SetPosition(Vec2(160.0f, 192.0f));
  arrow->Launch(DIR_LEFT, 250.0f, 3.0f);
  Vec2 beforeLastFrame;
  for (int frame = 0; frame < 100 && arrow->state != 0; ++frame) {
    beforeLastFrame = arrow->GetPosition();
    Fly(arrow, 1);
  }
  EXPECT_EQ(arrow->state, 0);
  EXPECT_FLOAT_EQ(hero->health, 2.0f) << "3.0 - shield 1, halved";
  EXPECT_EQ(arrow->GetPosition(), beforeLastFrame) << "the hit ends its flight where it is";
}
