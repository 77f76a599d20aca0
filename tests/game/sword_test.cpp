// The sword: its swing, hold and retraction, and the server's hit test.
#include "game/sword.h"

#include <gtest/gtest.h>

#include "game/aveth.h"
#include "game/netconnection.h"
#include "game/rendprael.h"
#include "tests/game/hero_fixtures.h"
#include "tests/game/net_test_support.h"

using hero_test::HeroTest;

namespace {

// A target with health that records the blows it takes.
class Target : public Entity {
 public:
  Target(NetConnection* connection, float startHealth) : Entity(connection) {
    SetName("Target");
    hostile = true;
    health = startHealth;
  }
  void SendEvent(int, EventParam*, EventParam*) override {}
  void TakeDamage(float amount, int knockDirection, int extra) override {
    Entity::TakeDamage(amount, knockDirection, extra);
    blows.push_back(knockDirection);
    flashing = flashOnHit;
  }
  std::vector<int> blows;
  bool flashOnHit = false;
};

class SwordTest : public HeroTest {
 protected:
  void SetUp() override {
    HeroTest::SetUp();
    LoadWorld();
    server.PlayAlone();  // runs the world, so swords hit
  }
  NetConnection server{NetConnection::kAccessPassword, "Server"};
  NetConnection client{NetConnection::kAccessPassword, "Client"};
};

}  // namespace

TEST_F(SwordTest, ASwingHoldsTheBladeOutThenPullsItBackTenPixelsAFrame) {
  Aveth* hero = MakeHero(100.0f, 100.0f);
  Sword sword("WoodSword", nullptr, &server, 0, hero);
  EXPECT_FALSE(sword.visible);
  EXPECT_STREQ(sword.name, "Sword");
  sword.Swing(Vec2(100.0f, 100.0f), DIR_RIGHT);
  EXPECT_EQ(sword.GetPosition(), Vec2(127.0f, 100.0f));
  EXPECT_EQ(sword.baseFrame, DIR_RIGHT);
  std::vector<float> shown;
  for (int frame = 0; frame < 12 && sword.visible; ++frame) {
    Step(0.02f);
    sword.Tick(0.02f);
    shown.push_back(sword.visible ? sword.GetPosition().x : -1.0f);
  }
  // Four frames of hold (0.08 s), then 117, 107 and hidden.
  const std::vector<float> expected = {127.0f, 127.0f, 127.0f, 127.0f, 117.0f, 107.0f, -1.0f};
  ASSERT_GE(shown.size(), 6u);
  EXPECT_EQ(std::vector<float>(shown.end() - 3, shown.end()),
            std::vector<float>(expected.end() - 3, expected.end()));
  EXPECT_GE(shown.size(), 7u);
  EXPECT_LE(shown.size(), 8u) << "the hold lasts 0.08 s";
  for (size_t i = 0; i + 3 < shown.size(); ++i) EXPECT_EQ(shown[i], 127.0f) << i;
}

TEST_F(SwordTest, TheRetractingBladeFollowsItsOwner) {
  Aveth* hero = MakeHero(100.0f, 100.0f);
  Sword sword("WoodSword", nullptr, &server, 0, hero);
  sword.Swing(Vec2(100.0f, 100.0f), DIR_UP);
  sword.holdTime = 0.0f;
  hero->SetPosition(Vec2(140.0f, 60.0f));
  sword.Tick(0.02f);
  EXPECT_EQ(sword.GetPosition(), Vec2(140.0f, 60.0f - 17.0f));
}

TEST_F(SwordTest, TheServersSwordHurtsWhatItTouchesButNeverAHero) {
  Aveth* hero = MakeHero(100.0f, 100.0f);
  Aveth* otherHero = MakeHero(127.0f, 100.0f);
  Sword sword("MagicSword", nullptr, &server, 2, hero);
  Target enemy(&server, 4.0f);
  enemy.SetPosition(Vec2(130.0f, 100.0f));
  Target untouchable(&server, 4.0f);
  untouchable.untouchable = true;
  untouchable.SetPosition(Vec2(127.0f, 104.0f));
  Target farAway(&server, 4.0f);
  farAway.SetPosition(Vec2(300.0f, 100.0f));
  for (Entity* entity :
       {static_cast<Entity*>(&enemy), static_cast<Entity*>(&untouchable), static_cast<Entity*>(&farAway)})
    renderer->AddEntity(entity, false);

  sword.Swing(Vec2(100.0f, 100.0f), DIR_RIGHT);
  sword.Tick(0.02f);
  EXPECT_FLOAT_EQ(enemy.health, 1.0f) << "a level-2 sword takes 3";
  EXPECT_EQ(enemy.blows, std::vector<int>{DIR_RIGHT});
  EXPECT_TRUE(untouchable.blows.empty());
  EXPECT_TRUE(farAway.blows.empty());
  EXPECT_FLOAT_EQ(otherHero->health, 3.0f);
  EXPECT_FALSE(otherHero->flashing);

  sword.Tick(0.02f);  // still overlapping and not flashing: hit again
  EXPECT_EQ(enemy.blows.size(), 2u);
  enemy.flashOnHit = true;
  sword.Tick(0.02f);
  sword.Tick(0.02f);  // flashing keeps one swing from hitting twice
  EXPECT_EQ(enemy.blows.size(), 3u);
  for (Entity* entity :
       {static_cast<Entity*>(&enemy), static_cast<Entity*>(&untouchable), static_cast<Entity*>(&farAway)})
    renderer->RemoveEntity(entity);
}

TEST_F(SwordTest, AClientsSwordHurtsNothing) {
  Aveth* hero = MakeHero(100.0f, 100.0f);
  Sword sword("WoodSword", nullptr, &client, 0, hero);
  Target enemy(&client, 4.0f);
  enemy.SetPosition(Vec2(130.0f, 100.0f));
  renderer->AddEntity(&enemy, false);
  sword.Swing(Vec2(100.0f, 100.0f), DIR_RIGHT);
  sword.Tick(0.02f);
  EXPECT_FLOAT_EQ(enemy.health, 4.0f);
  renderer->RemoveEntity(&enemy);
}

TEST_F(SwordTest, AHitIsReportedToThePeerWithMessageSix) {
  StartTestLog();
  NetConnection host(NetConnection::kAccessPassword, "Host");
  PeerRecorder hostLog(host);
  NetConnection guest(NetConnection::kAccessPassword, "Guest");
  PeerRecorder guestLog(guest);
  ASSERT_TRUE(ConnectOnLoopback(host, guest));

  Aveth* hero = MakeHero(100.0f, 100.0f);
  Sword sword("SteelSword", nullptr, &host, 1, hero);
  Target enemy(&host, 4.0f);
  enemy.SetUID(42);
  enemy.SetPosition(Vec2(130.0f, 100.0f));
  renderer->AddEntity(&enemy, false);
  sword.Swing(Vec2(100.0f, 100.0f), DIR_DOWN);
  enemy.SetPosition(Vec2(100.0f, 127.0f));
  sword.Tick(0.02f);
  renderer->RemoveEntity(&enemy);
  ASSERT_TRUE(PumpUntil({&host, &guest}, [&] { return !guestLog.messages.empty(); }));
  HitReportFields fields;
  ASSERT_TRUE(ReadHitReport(guestLog.messages[0], &fields));
  EXPECT_EQ(fields.uid, 42u);
  EXPECT_EQ(fields.x, 100.0f);
  EXPECT_EQ(fields.y, 127.0f);
  EXPECT_EQ(fields.health, 2.0f);
  EXPECT_EQ(fields.direction, DIR_DOWN);
  EXPECT_EQ(fields.push, 0);
}
