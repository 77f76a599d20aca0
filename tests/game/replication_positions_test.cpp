// Positions from the peer that lie outside the world (or are not numbers) are
// refused wherever a message would place an entity there, or would send it
// walking or sliding there: entities turn positions into tiles and rooms with
// integer conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/entitytypes.h"
#include "game/netmessages.h"
#include "tests/game/replication_fixtures.h"

using replication_test::InRoom;
using replication_test::Payload;
using replication_test::Probe;

namespace {

class PositionsTest : public replication_test::ReplicationTest {};

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInfinity = std::numeric_limits<float>::infinity();

// Outside the world's 8,192 x 13,376 pixels, or not a number.
const Vec2 kOutside[] = {
    {kNaN, 100.0f},  {100.0f, kNaN},    {kInfinity, 100.0f}, {-1.0f, 100.0f},
    {100.0f, -0.5f}, {8192.0f, 100.0f}, {100.0f, 13376.0f},  {2.3e13f, 2.3e13f},
};

// The fields after the entity record that set where an entity goes and how
// fast, written with harmless values for the rest.
using ExtensionWriter = void (*)(Payload& payload, Vec2 goal, float speed);

// An enemy's 28 bytes: goal, health, baseFrame, frame, harmlessTime, speed.
void AddEnemyExtension(Payload& payload, Vec2 goal, float speed) {
  payload.Add(goal.x).Add(goal.y).Add(1.0f).Add(int32_t{0}).Add(0.0f).Add(0.0f).Add(speed);
}

// A push block's 25 bytes: goal, baseFrame, frame, harmlessTime, speed, moved.
void AddBlockExtension(Payload& payload, Vec2 goal, float speed) {
  payload.Add(goal.x).Add(goal.y).Add(int32_t{0}).Add(0.0f).Add(0.0f).Add(speed).Add(uint8_t{0});
}

// A hero's 28 bytes: health, maxHealth, baseFrame, frame, frameCount, then
// where its boomerang in use is.
Payload HeroRecord(Aveth& hero, Vec2 at, Vec2 boomerangAt) {
  Payload payload;
  payload.Add(uint32_t{1}).AddRecord(hero.GetUID(), hero.typeId, at);
  payload.Add(2.0f).Add(3.0f).Add(int32_t{0}).Add(0.0f).Add(2.0f).Add(boomerangAt.x).Add(boomerangAt.y);
  return payload;
}

}  // namespace

TEST_F(PositionsTest, APlayerStateOutsideTheWorldLeavesTheHeroWhereItIs) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3840.0f, 2656.0f);
  for (const Vec2& at : kOutside) {
    Deliver(MSG_PLAYER_STATE, Payload().Add(at.x).Add(at.y).Add(int32_t{DIR_LEFT}).Add(1.0f));
    EXPECT_EQ(remote->GetPosition(), Vec2(3840.0f, 2656.0f)) << at.x << ", " << at.y;
    EXPECT_EQ(remote->health, 3.0f);
  }
  EXPECT_TRUE(log.Contains("CTestApp::netRecvData: hero at (-1.000000, 100.000000), outside the world"));
  Deliver(MSG_PLAYER_STATE, Payload().Add(8191.0f).Add(13375.0f).Add(int32_t{DIR_LEFT}).Add(1.0f));
  EXPECT_EQ(remote->GetPosition(), Vec2(8191.0f, 13375.0f)) << "the world's last pixel is in it";
}

TEST_F(PositionsTest, AStateRecordOutsideTheWorldEndsTheMessage) {
  app->isServer = false;
  Probe* first = AddProbe(10, InRoom(7, 7));
  Probe* second = AddProbe(11, InRoom(7, 7));
  for (const Vec2& at : kOutside) {
    Deliver(MSG_ENTITY_STATE,
            Payload().Add(uint32_t{2}).AddRecord(10, 2, at).AddRecord(11, 2, Vec2(3600.0f, 2600.0f)));
    EXPECT_EQ(first->GetPosition(), InRoom(7, 7)) << at.x << ", " << at.y;
    EXPECT_EQ(second->GetPosition(), InRoom(7, 7)) << "records after a refused one are not read";
    EXPECT_FALSE(first->netUpdated);
  }
  EXPECT_TRUE(
      log.Contains("CTestApp::netRecvData: state of 10 at (8192.000000, 100.000000), outside the world"));
}

TEST_F(PositionsTest, AHitOutsideTheWorldIsNotApplied) {
  app->isServer = false;
  Probe* probe = AddProbe(10, InRoom(7, 7));
  for (const Vec2& at : kOutside) {
    Deliver(MSG_HIT, Payload().AddHit(10, at, 1.0f, 0.5f, 1, 8));
    EXPECT_EQ(probe->GetPosition(), InRoom(7, 7)) << at.x << ", " << at.y;
    EXPECT_TRUE(probe->damage.empty());
    EXPECT_EQ(probe->health, 3.0f);
  }
  EXPECT_TRUE(log.Contains("CTestApp::netRecvData: hit of 10 at (100.000000, -0.500000), outside the world"));
}

// The damage a fuzzed input found: a walker's goal 1.2e33 pixels away, which
// the walker reached in one step once the record had been applied.
TEST_F(PositionsTest, AStateRecordSendingItsEntityOutOfTheWorldChangesNothing) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  const Vec2 inside(3700.0f, 2600.0f);
  const struct {
    Vec2 goal;
    float speed;
  } damaged[] = {
      {{64.0f, 1.2e33f}, 100.0f},
      {{kNaN, 2600.0f}, 100.0f},
      {{3700.0f, -1.0f}, 100.0f},
      {{8192.0f, 2600.0f}, 100.0f},
      {inside, kNaN},
      {inside, kInfinity},
      {inside, -3.0e38f},
      {inside, -1.0f},
  };
  const struct {
    int32_t typeId;
    ExtensionWriter addExtension;
  } kinds[] = {
      {TYPE_PELVOK_BLUE, AddEnemyExtension},
      {TYPE_BAT_BLUE, AddEnemyExtension},
      {TYPE_PUSHBLOCK, AddBlockExtension},
  };
  const Vec2 tile(116.0f, 81.0f);
  int32_t uid = 40;
  for (const auto& kind : kinds) {
    Entity* entity = app->Spawn(kind.typeId, &tile, true, uid);
    ASSERT_NE(entity, nullptr) << kind.typeId;
    entity->SetRemote(true);
    const Vec2 start = entity->GetPosition();
    const Vec2 startGoal = entity->target;
    const float startSpeed = entity->speed;
    for (const auto& testCase : damaged) {
      Payload payload;
      payload.Add(uint32_t{1}).AddRecord(static_cast<uint32_t>(uid), kind.typeId, inside, DIR_UP);
      kind.addExtension(payload, testCase.goal, testCase.speed);
      Deliver(MSG_ENTITY_STATE, payload);
      SCOPED_TRACE(::testing::Message() << entity->name << " to (" << testCase.goal.x << ", "
                                        << testCase.goal.y << ") at " << testCase.speed);
      EXPECT_EQ(entity->GetPosition(), start);
      EXPECT_EQ(entity->target, startGoal);
      EXPECT_EQ(entity->speed, startSpeed);
      EXPECT_FALSE(entity->netUpdated);
    }
    // The same record with sound values is applied.
    Payload sound;
    sound.Add(uint32_t{1}).AddRecord(static_cast<uint32_t>(uid), kind.typeId, inside, DIR_UP);
    kind.addExtension(sound, Vec2(3700.0f, 2568.0f), 50.0f);
    Deliver(MSG_ENTITY_STATE, sound);
    EXPECT_EQ(entity->GetPosition(), inside) << entity->name;
    EXPECT_EQ(entity->target, Vec2(3700.0f, 2568.0f)) << entity->name;
    EXPECT_EQ(entity->speed, 50.0f) << entity->name;
    ++uid;
  }
  EXPECT_TRUE(log.Contains(
      "Blue Pelvok::ReadState: record of 40 refused: it walks to (3700.000000, 2600.000000) at speed nan"));
  EXPECT_TRUE(
      log.Contains("Pushblock::ReadState: record of 42 refused: it slides to (3700.000000, 2600.000000) at "
                   "speed -1.000000"));
  EXPECT_TRUE(log.Contains("CTestApp::netRecvData: the state record of 40 is cut short or damaged"));
}

// The server's hero's record also places its boomerang on a client; (-128,
// -128) is how the server says it has none in use.
TEST_F(PositionsTest, AHeroRecordWithItsBoomerangOutsideTheWorldChangesNothing) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3840.0f, 2656.0f);
  Entity* boomerang = remote->GetBoomerangInUse();
  ASSERT_NE(boomerang, nullptr);
  boomerang->SetPosition(Vec2(20.0f, 20.0f));
  for (const Vec2& at : kOutside) {
    Deliver(MSG_ENTITY_STATE, HeroRecord(*remote, Vec2(3700.0f, 2600.0f), at));
    EXPECT_EQ(remote->GetPosition(), Vec2(3840.0f, 2656.0f)) << at.x << ", " << at.y;
    EXPECT_EQ(remote->health, 3.0f);
    EXPECT_EQ(boomerang->GetPosition(), Vec2(20.0f, 20.0f));
  }
  Deliver(MSG_ENTITY_STATE, HeroRecord(*remote, Vec2(3700.0f, 2600.0f), Vec2(100.0f, 200.0f)));
  EXPECT_EQ(remote->GetPosition(), Vec2(3700.0f, 2600.0f));
  EXPECT_EQ(boomerang->GetPosition(), Vec2(100.0f, 200.0f));
  Deliver(MSG_ENTITY_STATE, HeroRecord(*remote, Vec2(3600.0f, 2600.0f), Vec2(-128.0f, -128.0f)));
  EXPECT_EQ(remote->GetPosition(), Vec2(3600.0f, 2600.0f)) << "none in use is no damage";
  EXPECT_TRUE(log.Contains("Aveth::ReadState: record of 0 refused: boomerang at (-1.000000, 100.000000)"));
}
