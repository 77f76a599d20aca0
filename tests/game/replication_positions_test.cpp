// Positions from the peer that lie outside the world (or are not numbers) are
// refused wherever a message would place an entity there: entities turn
// positions into tiles and rooms with integer conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
    Deliver(
        MSG_HIT,
        Payload().Add(uint32_t{10}).Add(at.x).Add(at.y).Add(1.0f).Add(0.5f).Add(int32_t{1}).Add(int32_t{8}));
    EXPECT_EQ(probe->GetPosition(), InRoom(7, 7)) << at.x << ", " << at.y;
    EXPECT_TRUE(probe->damage.empty());
    EXPECT_EQ(probe->health, 3.0f);
  }
  EXPECT_TRUE(log.Contains("CTestApp::netRecvData: hit of 10 at (100.000000, -0.500000), outside the world"));
}
