// The hero in a fight and at rest: the sword attack, items, damage and its
// knock-back, the low-health warning, the currency counter and the state
// record.
#include <gtest/gtest.h>

#include <cstring>

#include "game/aveth.h"
#include "game/net.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/sword.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"

using hero_test::HeroTest;
using hero_test::SoundScope;

namespace {

// An enemy standing still that hurts by touch.
class Toucher : public Entity {
 public:
  explicit Toucher(int damage) : Entity(nullptr) {
    SetName("Toucher");
    hostile = true;
    contactDamages = true;
    contactDamage = damage;
  }
  void SendEvent(int, EventParam*, EventParam*) override {}
};

}  // namespace

TEST_F(HeroTest, ANewHeroCountsItsCurrencyToTenOverTenFramesWithATickEach) {
  SoundScope sounds;
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  for (int frame = 1; frame <= 10; ++frame) {
    TickWorld(0.016f);
    EXPECT_EQ(hero->currency, frame);
    EXPECT_TRUE(sounds.TakePlay(kSoundText)) << frame;
    EXPECT_TRUE(sounds.TakePlay(kSoundGetDralm)) << frame;
  }
  TickWorld(0.016f);
  EXPECT_EQ(hero->currency, 10);
  EXPECT_EQ(hero->currencyPending, 0);
  EXPECT_FALSE(sounds.TakePlay(kSoundText));
}

TEST_F(HeroTest, TheCurrencyCounterStopsAtEitherEnd) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  const struct {
    int currency, pending, frames, expected;
  } cases[] = {
      {2, -3, 5, 0},     // spending 3 with 2 in hand stops at 0
      {0, -4, 3, 0},     // nothing to spend stays at 0
      {997, 5, 6, 999},  // the counter holds three digits
  };
  for (const auto& testCase : cases) {
    hero->currency = testCase.currency;
    hero->currencyPending = testCase.pending;
    for (int frame = 0; frame < testCase.frames; ++frame) TickWorld(0.016f);
    EXPECT_EQ(hero->currency, testCase.expected) << testCase.currency << " " << testCase.pending;
    EXPECT_EQ(hero->currencyPending, 0) << testCase.currency << " " << testCase.pending;
  }
}

TEST_F(HeroTest, ARemoteHeroDoesNotCountItsOwnCurrency) {
  LoadWorld();
  MakeHero(0.0f, 0.0f);
  Aveth* remote = MakeHero(200.0f, 200.0f);
  remote->SetRemote(true);
  TickWorld(0.016f);
  EXPECT_EQ(remote->currency, 0);
  EXPECT_EQ(remote->currencyPending, 10);
}

TEST_F(HeroTest, TheBeamIsDueWithinAQuarterHeartOfFullHealth) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  const struct {
    float health;
    bool beamReady, due;
  } cases[] = {{3.0f, true, true}, {2.75f, true, true}, {2.5f, true, false}, {3.0f, false, false}};
  for (const auto& testCase : cases) {
    hero->health = testCase.health;
    hero->beamReady = testCase.beamReady;
    EXPECT_EQ(hero->BeamDue(), testCase.due) << testCase.health << " " << testCase.beamReady;
  }
}

TEST_F(HeroTest, ASecondAttackWithinTheSwingPlaysTheSwordButDoesNotSwing) {
  SoundScope sounds;
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  hero->beamReady = false;  // the sword alone
  TickWorld(0.016f);        // inHeroRoom is set by the tick pass
  sounds.TakePlay(kSoundText);
  Send(hero, Aveth::EV_ATTACK);
  EXPECT_TRUE(sounds.TakePlay(kSoundSword));
  Sword* sword = hero->GetSword(0);
  EXPECT_TRUE(sword->visible);
  EXPECT_FLOAT_EQ(hero->swingTime, 0.125f);
  EXPECT_FLOAT_EQ(hero->busyTime, 0.125f);
  for (int frame = 0; frame < 5; ++frame) TickWorld(0.02f);  // 0.1 s later
  const float reach = sword->reach;
  const float holdTime = sword->holdTime;
  Send(hero, Aveth::EV_ATTACK);
  EXPECT_TRUE(sounds.TakePlay(kSoundSword));
  EXPECT_EQ(sword->reach, reach) << "no new swing while the last one runs";
  EXPECT_EQ(sword->holdTime, holdTime);
  EXPECT_NEAR(hero->swingTime, 0.025f, 1e-5f);
  TickWorld(0.03f);
  Send(hero, Aveth::EV_ATTACK);
  EXPECT_TRUE(sword->visible) << "the next swing, once the last has ended";
  EXPECT_FLOAT_EQ(sword->reach, 27.0f);
  EXPECT_FLOAT_EQ(sword->holdTime, 0.08f);
}

TEST_F(HeroTest, TheSwingShowsItsPoseAndThenTheWalkingFrames) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  hero->beamReady = false;  // the sword alone
  hero->SetDirection(DIR_RIGHT);
  Send(hero, Aveth::EV_ATTACK);
  TickWorld(0.05f);
  EXPECT_EQ(hero->baseFrame, 5);
  EXPECT_FLOAT_EQ(hero->frameCount, 1.0f);
  TickWorld(0.06f);  // 0.015 s left: below the pose's 0.02 s
  EXPECT_EQ(hero->baseFrame, 3);
  TickWorld(0.05f);
  EXPECT_FLOAT_EQ(hero->swingTime, 0.0f);
  EXPECT_FLOAT_EQ(hero->frameCount, 2.0f);
}

TEST_F(HeroTest, TabCyclesTheItemsFromArrowBackToBoomerang) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  const int expected[] = {Aveth::ITEM_FIRE, Aveth::ITEM_BOMB, Aveth::ITEM_ARROW, Aveth::ITEM_BOOMERANG};
  for (int item : expected) {
    Send(hero, Aveth::EV_NEXT_ITEM);
    EXPECT_EQ(hero->selectedItem, item);
  }
}

TEST_F(HeroTest, ArrowsNeedCurrencyAndAnItemInFlightBlocksTheNext) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  hero->selectedItem = Aveth::ITEM_ARROW;
  hero->currency = 0;
  Send(hero, Aveth::EV_USE_ITEM);
  EXPECT_EQ(hero->currency, 0);
  EXPECT_TRUE(hero->itemReady);
  EXPECT_FLOAT_EQ(hero->busyTime, 0.0f);
  hero->currency = 5;
  hero->itemReady = false;
  Send(hero, Aveth::EV_USE_ITEM);
  EXPECT_EQ(hero->currency, 5) << "nothing is spent while an item is in flight";
}

TEST_F(HeroTest, ContactKnocksTheHeroBackSixtyFourPixelsOverFourFramesAndProtectsItForASecond) {
  SoundScope sounds;
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 192.0f);
  Toucher enemy(1);
  enemy.SetPosition(Vec2(215.0f, 192.0f));  // the inset boxes overlap
  renderer->AddEntity(&enemy, true);
  TickWorld(0.016f);  // standing, with an enemy that stands too: no knock-back, no hurt
  EXPECT_FLOAT_EQ(hero->health, 3.0f);
  Step(0.016f);
  Send(hero, Aveth::EV_WALK_RIGHT);
  const float walkedTo = hero->GetPosition().x;
  TickWorld(0.016f);  // the contact: hurt, and the push starts with the next tick
  EXPECT_FLOAT_EQ(hero->health, 2.5f) << "one point of contact damage costs half a heart";
  EXPECT_TRUE(hero->flashing);
  EXPECT_EQ(hero->pushDirection, DIR_LEFT);
  EXPECT_EQ(hero->pushDistance, 64);
  EXPECT_TRUE(sounds.TakePlay(kSoundHurt));
  const float expected[] = {0.0f, 16.0f, 32.0f, 48.0f, 64.0f, 64.0f};
  EXPECT_FLOAT_EQ(walkedTo - hero->GetPosition().x, expected[0]);
  for (int frame = 1; frame < 6; ++frame) {
    TickWorld(0.016f);
    EXPECT_FLOAT_EQ(walkedTo - hero->GetPosition().x, expected[frame]) << frame;
  }
  // Standing against the enemy again while still flashing costs nothing.
  hero->SetPosition(Vec2(200.0f, 192.0f));
  for (int frame = 0; frame < 50; ++frame) TickWorld(0.016f);  // 0.8 s of the second
  EXPECT_FLOAT_EQ(hero->health, 2.5f);
  for (int frame = 0; frame < 15; ++frame) TickWorld(0.016f);  // past the second
  EXPECT_FLOAT_EQ(hero->health, 2.0f) << "once the flashing ends, contact hurts again";
  renderer->RemoveEntity(&enemy);
}

TEST_F(HeroTest, AStandingHeroIsKnockedAlongTheEnemysWalkAndASolidBlockNeverHurts) {
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 192.0f);
  Toucher enemy(2);
  enemy.SetPosition(Vec2(210.0f, 192.0f));
  enemy.moveDirection = DIR_DOWN;
  renderer->AddEntity(&enemy, true);
  TickWorld(0.016f);
  EXPECT_FLOAT_EQ(hero->health, 2.0f);
  EXPECT_EQ(hero->pushDirection, DIR_DOWN);
  renderer->RemoveEntity(&enemy);

  Aveth* other = MakeHero(400.0f, 192.0f);
  Toucher block(1);
  block.solid = true;
  block.SetPosition(Vec2(410.0f, 192.0f));
  renderer->AddEntity(&block, true);
  other->moveDirection = DIR_RIGHT;
  TickWorld(0.016f);
  EXPECT_FLOAT_EQ(other->health, 3.0f);
  EXPECT_EQ(other->pushDirection, DIR_NONE);
  renderer->RemoveEntity(&block);
}

TEST_F(HeroTest, TheLowHealthWarningRepeatsEveryThreeTenthsOnTheLocalHeroOnly) {
  SoundScope sounds;
  LoadWorld();
  Aveth* hero = MakeHero(200.0f, 200.0f);
  hero->currencyPending = 0;
  hero->health = 1.0f;
  std::vector<int> warnedFrames;
  for (int frame = 0; frame < 50; ++frame) {
    TickWorld(0.02f);
    if (sounds.TakePlay(kSoundLowHealth)) warnedFrames.push_back(frame);
  }
  ASSERT_GE(warnedFrames.size(), 3u);
  EXPECT_EQ(warnedFrames[0], 0) << "at once when health falls that low";
  for (size_t i = 1; i < warnedFrames.size(); ++i)
    EXPECT_NEAR(warnedFrames[i] - warnedFrames[i - 1], 15, 1) << "0.3 s in frames of 0.02 s";

  hero->SetRemote(true);
  for (int frame = 0; frame < 20; ++frame) TickWorld(0.025f);
  EXPECT_FALSE(sounds.TakePlay(kSoundLowHealth));
  hero->SetRemote(false);
  hero->health = 1.5f;
  for (int frame = 0; frame < 20; ++frame) TickWorld(0.025f);
  EXPECT_FALSE(sounds.TakePlay(kSoundLowHealth));
}

TEST_F(HeroTest, PlacingPutsTheHeroAndItsFirstSwordOnATile) {
  LoadWorld();
  Aveth* hero = MakeHero(0.0f, 0.0f);
  hero->state = Aveth::STATE_HELD;
  hero->SetDirection(DIR_LEFT);
  Send(hero, Aveth::EV_PLACE, 120, 83);
  EXPECT_EQ(hero->GetPosition(), Vec2(3840.0f, 2656.0f));
  EXPECT_EQ(hero->GetSword(0)->GetPosition(), Vec2(3840.0f, 2656.0f));
  EXPECT_EQ(hero->state, Aveth::STATE_PLAYING);
  EXPECT_EQ(hero->GetDirection(), DIR_UP);
}

TEST_F(HeroTest, TheStateRecordIsFiftyTwoBytesAndReadsBack) {
  LoadWorld();
  Aveth* hero = MakeHero(320.0f, 96.0f);
  hero->SetUID(1);
  hero->health = 2.5f;
  hero->SetDirection(DIR_LEFT);
  hero->frame = 1.5f;
  hero->GetBoomerangInUse()->SetPosition(Vec2(400.0f, 120.0f));
  NetStream stream(64);
  ASSERT_TRUE(hero->WriteState(&stream));
  EXPECT_EQ(stream.Size(), Aveth::kStateRecordBytes);
  EXPECT_EQ(Aveth::kStateRecordBytes, 52u);
  float boomerang[2];
  std::memcpy(boomerang, stream.Data() + 44, sizeof boomerang);
  EXPECT_EQ(Vec2(boomerang[0], boomerang[1]), Vec2(400.0f, 120.0f));
  hero->boomerangIndex = -1;
  NetStream without(64);
  ASSERT_TRUE(hero->WriteState(&without));
  std::memcpy(boomerang, without.Data() + 44, sizeof boomerang);
  EXPECT_EQ(Vec2(boomerang[0], boomerang[1]), Vec2(-128.0f, -128.0f)) << "no boomerang in use";

  Aveth* copy = MakeHero(0.0f, 0.0f, "Aveth2");
  copy->SetUID(1);
  ASSERT_TRUE(copy->ReadState(&stream));
  EXPECT_EQ(copy->GetPosition(), Vec2(320.0f, 96.0f));
  EXPECT_EQ(copy->GetDirection(), DIR_LEFT);
  EXPECT_FLOAT_EQ(copy->health, 2.5f);
  EXPECT_EQ(copy->baseFrame, 0);
  EXPECT_FLOAT_EQ(copy->frame, 1.5f);
  EXPECT_EQ(copy->GetBoomerangInUse()->GetPosition(), Vec2(400.0f, 120.0f)) << "a client shows it there";

  NetStream small(40);
  EXPECT_FALSE(hero->WriteState(&small)) << "28 bytes do not fit after the 24 of the base";
  NetStream cut(30);
  cut.Write(stream.Data(), 30);
  EXPECT_FALSE(copy->ReadState(&cut));
}
