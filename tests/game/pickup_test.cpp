// Pickups: their kinds, life time, what each gives, and collection by either
// hero or by the boomerang he has thrown, at most once.
#include "game/pickup.h"

#include <gtest/gtest.h>

#include "game/aveth.h"
#include "game/netconnection.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"

namespace {

// Stands in for a thrown boomerang: an entity the hero owns that flies alone.
class FlyingThing : public Entity {
 public:
  FlyingThing() : Entity(nullptr) {
    SetName("Boomerang");
    ownedByWorld = false;
    visible = false;
  }
  void SendEvent(int, EventParam*, EventParam*) override {}
};

class PickupTest : public hero_test::HeroTest {
 protected:
  void SetUp() override {
    hero_test::HeroTest::SetUp();
    LoadWorld();
  }
  void TearDown() override {
    for (Pickup* pickup : pickups) {
      renderer->RemoveEntity(pickup);
      OX_DELETE pickup;
    }
    hero_test::HeroTest::TearDown();
  }
  // A pickup of `kind` made by `maker`, placed at (x, y) with `life`, in the
  // world and owned by the test.
  Pickup* Drop(Entity* maker, int kind, float x, float y, float life = Pickup::kNoLife) {
    Pickup* pickup = maker->SpawnPickup(kind);
    pickups.push_back(pickup);
    pickup->Place(Vec2(x, y), life);
    renderer->AddEntity(pickup, false);
    return pickup;
  }
  bool InWorld(Entity* entity) const {
    for (unsigned i = 0; i < renderer->GetEntityCount(); ++i)
      if (renderer->GetEntity(i) == entity) return true;
    return false;
  }
  // Gives the hero a boomerang in flight (owned by the hero from now on).
  FlyingThing* GiveBoomerang(Aveth* hero, float x, float y) {
    if (Entity* made = hero->boomerangs[0]) {  // the hero's own, which would fly by itself
      renderer->RemoveEntity(made);
      OX_DELETE made;
    }
    auto* boomerang = OX_NEW FlyingThing();
    hero->boomerangs[0] = boomerang;
    hero->boomerangIndex = 0;
    boomerang->SetPosition(Vec2(x, y));
    boomerang->visible = true;
    return boomerang;
  }

  std::vector<Pickup*> pickups;
};

}  // namespace

TEST_F(PickupTest, SpawnPickupMakesTheKindAskedForAndDralmsOfOneForAnythingElse) {
  Aveth* hero = MakeHero(300.0f, 300.0f);
  const struct {
    int kind;
    const char* name;
    int value;  // of a Dralm; 0 for the others
    int baseFrame;
    float frameCount;
  } cases[] = {
      {PICKUP_DRALM, "Dralm", 1, 0, 2.0f},
      {PICKUP_DRALM_FIVE, "Dralm", 5, 1, 0.0f},
      {PICKUP_HEART, "Heart", 0, 0, 2.0f},
      {PICKUP_KEY, "Key", 0, 0, 0.0f},
      {3, "Dralm", 1, 0, 2.0f},
      {-7, "Dralm", 1, 0, 2.0f},
  };
  for (const auto& testCase : cases) {
    Pickup* pickup = Drop(hero, testCase.kind, 100.0f, 100.0f);
    EXPECT_STREQ(pickup->name, testCase.name) << testCase.kind;
    EXPECT_TRUE(pickup->isPickup);
    EXPECT_TRUE(pickup->dead) << "a pickup never announces its end";
    EXPECT_EQ(pickup->life, Pickup::kNoLife);
    EXPECT_EQ(pickup->baseFrame, testCase.baseFrame) << testCase.kind;
    EXPECT_EQ(pickup->frameCount, testCase.frameCount) << testCase.kind;
    EXPECT_EQ(pickup->net, hero->net);
    EXPECT_EQ(pickup->spriteRenderer, renderer.get());
    auto* coin = dynamic_cast<Dralm*>(pickup);
    EXPECT_EQ(coin != nullptr ? coin->value : 0, testCase.value) << testCase.kind;
  }
}

TEST_F(PickupTest, ADropVanishesWhenItsLifeRunsOutAndOneWithoutLifeStays) {
  Aveth* hero = MakeHero(400.0f, 300.0f);  // far from both pickups
  Pickup* dropped = Drop(hero, PICKUP_HEART, 100.0f, 100.0f, Pickup::kDropLife);
  Pickup* lasting = Drop(hero, PICKUP_KEY, 200.0f, 100.0f);
  for (int frame = 0; frame < 19; ++frame) TickWorld(0.5f);
  EXPECT_TRUE(InWorld(dropped)) << "9.5 s of its 10";
  EXPECT_NEAR(dropped->life, 0.5f, 1e-4f);
  TickWorld(0.5f);
  EXPECT_FALSE(InWorld(dropped));
  EXPECT_TRUE(dropped->removed);
  for (int frame = 0; frame < 100; ++frame) TickWorld(0.5f);
  EXPECT_TRUE(InWorld(lasting));
  EXPECT_EQ(lasting->life, Pickup::kNoLife);
}

TEST_F(PickupTest, EachPickupGivesItsItemWithinTheHerosLimits) {
  const struct {
    const char* what;
    int kind;
    float health;
    int keys;
    float healthAfter;
    int keysAfter;
    int pendingAdded;
  } cases[] = {
      {"heart at full health", PICKUP_HEART, 3.0f, 2, 3.0f, 2, 0},
      {"heart at 2.5", PICKUP_HEART, 2.5f, 2, 3.0f, 2, 0},
      {"heart at 1", PICKUP_HEART, 1.0f, 2, 2.0f, 2, 0},
      {"key", PICKUP_KEY, 3.0f, 2, 3.0f, 3, 0},
      {"key at 999", PICKUP_KEY, 3.0f, 999, 3.0f, 999, 0},
      {"coin", PICKUP_DRALM, 3.0f, 2, 3.0f, 2, 1},
      {"five-value coin", PICKUP_DRALM_FIVE, 3.0f, 2, 3.0f, 2, 5},
  };
  for (const auto& testCase : cases) {
    Aveth* hero = MakeHero(300.0f, 200.0f);
    hero->health = testCase.health;
    hero->keys = testCase.keys;
    const int pendingBefore = hero->currencyPending;
    Pickup* pickup = Drop(hero, testCase.kind, 310.0f, 210.0f);
    Step(0.02f);
    pickup->Tick(0.02f);
    EXPECT_TRUE(pickup->removed) << testCase.what;
    EXPECT_EQ(pickup->state, 0) << testCase.what;
    EXPECT_FLOAT_EQ(hero->health, testCase.healthAfter) << testCase.what;
    EXPECT_EQ(hero->keys, testCase.keysAfter) << testCase.what;
    EXPECT_EQ(hero->currencyPending - pendingBefore, testCase.pendingAdded) << testCase.what;
    renderer->RemoveEntity(hero);
  }
}

TEST_F(PickupTest, AFiveValueCoinShowsItsOwnStillPicture) {
  Aveth* hero = MakeHero(400.0f, 300.0f);
  Pickup* big = Drop(hero, PICKUP_DRALM_FIVE, 100.0f, 100.0f);
  Pickup* small = Drop(hero, PICKUP_DRALM, 200.0f, 100.0f);
  for (int frame = 0; frame < 3; ++frame) TickWorld(0.06f);
  EXPECT_EQ(big->frame, 0.0f);
  EXPECT_EQ(big->baseFrame, 1);
  EXPECT_GT(small->frame, 0.0f) << "the coin of one spins";
}

TEST_F(PickupTest, CollectionPlaysTheSoundOfThePickupOnlyInTheLocalHerosRoom) {
  hero_test::SoundScope sounds;
  Aveth* hero = MakeHero(300.0f, 200.0f);
  const struct {
    int kind;
    bool inHeroRoom;
    int sound;  // expected to play; -1 none of the two
  } cases[] = {
      {PICKUP_KEY, true, kSoundKey},
      {PICKUP_HEART, true, kSoundGetHeart},
      {PICKUP_HEART, false, -1},
      {PICKUP_DRALM, true, -1},
  };
  for (const auto& testCase : cases) {
    Pickup* pickup = Drop(hero, testCase.kind, 300.0f, 200.0f);
    pickup->inHeroRoom = testCase.inHeroRoom;
    pickup->Collect(hero);
    const bool keyPlayed = sounds.TakePlay(kSoundKey);
    const bool heartPlayed = sounds.TakePlay(kSoundGetHeart);
    EXPECT_EQ(keyPlayed, testCase.sound == kSoundKey) << testCase.kind;
    EXPECT_EQ(heartPlayed, testCase.sound == kSoundGetHeart) << testCase.kind;
  }
}

TEST_F(PickupTest, BothHeroesCollectButOnlyTheFirstGetsAPickupTheyShare) {
  Aveth* server = MakeHero(300.0f, 200.0f);
  Aveth* client = MakeHero(300.0f, 200.0f);
  client->SetUID(1);
  server->keys = 0;
  client->keys = 0;
  Pickup* shared = Drop(server, PICKUP_KEY, 305.0f, 200.0f);
  TickWorld(0.02f);
  EXPECT_EQ(server->keys, 1);
  EXPECT_EQ(client->keys, 0);
  EXPECT_FALSE(InWorld(shared));

  server->SetPosition(Vec2(100.0f, 100.0f));
  Drop(server, PICKUP_KEY, 310.0f, 200.0f);
  TickWorld(0.02f);
  EXPECT_EQ(client->keys, 1) << "the client's hero collects as well";
  EXPECT_EQ(server->keys, 1);
}

TEST_F(PickupTest, AThrownBoomerangCollectsForItsOwnerButACaughtOneDoesNot) {
  Aveth* hero = MakeHero(100.0f, 100.0f);
  hero->keys = 5;
  FlyingThing* boomerang = GiveBoomerang(hero, 300.0f, 200.0f);
  Pickup* key = Drop(hero, PICKUP_KEY, 310.0f, 200.0f);
  boomerang->visible = false;  // caught: it rests where it was caught
  TickWorld(0.02f);
  EXPECT_TRUE(InWorld(key));
  EXPECT_EQ(hero->keys, 5);
  boomerang->visible = true;  // thrown again
  TickWorld(0.02f);
  EXPECT_FALSE(InWorld(key));
  EXPECT_EQ(hero->keys, 6);
}

TEST_F(PickupTest, AHeroAndHisBoomerangOnOneHeartGiveOneHeart) {
  Aveth* hero = MakeHero(300.0f, 200.0f);
  hero->health = 1.0f;
  GiveBoomerang(hero, 305.0f, 200.0f);
  Pickup* heart = Drop(hero, PICKUP_HEART, 310.0f, 200.0f);
  TickWorld(0.02f);
  EXPECT_FLOAT_EQ(hero->health, 2.0f);
  // Whatever else reaches the ended heart in the same frame (an arrow) gets
  // nothing from it.
  heart->Collect(hero);
  EXPECT_FLOAT_EQ(hero->health, 2.0f);
}

TEST_F(PickupTest, FindHeroSkipsWhatSharesAHerosUid) {
  Aveth* hero = MakeHero(300.0f, 200.0f);
  FlyingThing sharesTheUid;
  renderer->AddEntity(&sharesTheUid, true);  // before the hero in the list
  EXPECT_EQ(FindHero(renderer.get(), 0), hero);
  EXPECT_EQ(FindHero(renderer.get(), 1), nullptr);
  EXPECT_EQ(FindHero(nullptr, 0), nullptr);
  renderer->RemoveEntity(&sharesTheUid);
}

// With the hero's own boomerang, thrown by the item key on the server.
TEST_F(PickupTest, TheHerosThrownBoomerangFetchesAKeyForHim) {
  NetConnection server(NetConnection::kAccessPassword, "Server");
  server.PlayAlone();
  Aveth* hero = OX_NEW Aveth("Thrower", nullptr, &server);
  heroes.push_back(hero);
  renderer->AddEntity(hero, false);
  renderer->SetLocalHero(hero);
  hero->SetPosition(Vec2(100.0f, 192.0f));
  hero->SetDirection(DIR_RIGHT);
  hero->keys = 0;
  hero->selectedItem = Aveth::ITEM_BOOMERANG;
  Pickup* key = Drop(hero, PICKUP_KEY, 200.0f, 192.0f);
  Step(1.0f / 60.0f);
  Send(hero, Aveth::EV_USE_ITEM);
  ASSERT_FALSE(hero->itemReady) << "the boomerang was thrown";
  for (int frame = 0; frame < 30 && InWorld(key); ++frame) TickWorld(1.0f / 60.0f);
  EXPECT_FALSE(InWorld(key));
  EXPECT_EQ(hero->keys, 1);
  EXPECT_EQ(hero->GetPosition(), Vec2(100.0f, 192.0f)) << "the hero stayed where he threw it";
}

// An arrow flying over a heart the hero has just taken gets nothing from it.
TEST_F(PickupTest, AHeroAndHisArrowOnOneHeartGiveOneHeart) {
  Aveth* hero = MakeHero(300.0f, 200.0f);
  hero->health = 1.0f;
  Drop(hero, PICKUP_HEART, 300.0f, 200.0f);
  Arrow* arrow = OX_NEW Arrow(nullptr, renderer.get(), hero);
  arrow->SetPosition(Vec2(300.0f, 200.0f));
  arrow->Launch(DIR_UP, 320.0f, 1.0f);
  renderer->AddEntity(arrow, false);  // after the heart: the hero takes it first
  TickWorld(1.0f / 60.0f);
  EXPECT_FLOAT_EQ(hero->health, 2.0f);
  renderer->RemoveEntity(arrow);
  OX_DELETE arrow;
}
