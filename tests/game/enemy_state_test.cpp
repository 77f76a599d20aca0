// The enemies' state record: the entity record and 28 bytes of their own,
// written and read field by field, and refused when the stream is too short.
#include <gtest/gtest.h>

#include <string>

#include "game/enemy_common.h"
#include "game/entitytypes.h"
#include "game/gorrit.h"
#include "game/net.h"
#include "game/pelvokblue.h"
#include "game/pelvokred.h"
#include "game/skeleton.h"
#include "tests/game/enemy_fixtures.h"

using enemy_test::EnemyTest;
using enemy_test::PayloadValue;

namespace {

constexpr uint32_t kRecordBytes = Entity::kStateRecordBytes + enemy::kStateExtensionBytes;

void Fill(Entity& enemy) {
  enemy.uid = 77;
  enemy.typeId = 2;
  enemy.SetPosition(Vec2(200.5f, 96.25f));
  enemy.SetDirection(DIR_LEFT);
  enemy.target = Vec2(168.5f, 96.25f);
  enemy.health = 1.5f;
  enemy.baseFrame = 4;
  enemy.frame = 1.75f;
  enemy.harmlessTime = 0.125f;
  enemy.speed = 100.0f;
}

}  // namespace

TEST_F(EnemyTest, TheStateRecordCarriesTheTwentyEightBytesAfterTheEntityRecord) {
  CPelvokBlue sent(&server);
  Fill(sent);
  NetStream stream(256);
  ASSERT_TRUE(sent.WriteState(&stream));
  ASSERT_EQ(stream.Size(), kRecordBytes);
  const std::vector<uint8_t> bytes(stream.Data(), stream.Data() + stream.Size());
  EXPECT_EQ(PayloadValue<float>(bytes, 24), 168.5f);
  EXPECT_EQ(PayloadValue<float>(bytes, 28), 96.25f);
  EXPECT_EQ(PayloadValue<float>(bytes, 32), 1.5f);
  EXPECT_EQ(PayloadValue<int32_t>(bytes, 36), 4);
  EXPECT_EQ(PayloadValue<float>(bytes, 40), 1.75f);
  EXPECT_EQ(PayloadValue<float>(bytes, 44), 0.125f);
  EXPECT_EQ(PayloadValue<float>(bytes, 48), 100.0f);

  CPelvokBlue received(&client);
  received.uid = 77;
  received.typeId = 2;
  ASSERT_TRUE(received.ReadState(&stream));
  EXPECT_EQ(received.GetPosition(), Vec2(200.5f, 96.25f));
  EXPECT_EQ(received.direction, DIR_LEFT);
  EXPECT_EQ(received.target, Vec2(168.5f, 96.25f));
  EXPECT_EQ(received.health, 1.5f);
  EXPECT_EQ(received.baseFrame, 4) << "the record's baseFrame replaces the facing frame";
  EXPECT_EQ(received.frame, 1.75f);
  EXPECT_EQ(received.harmlessTime, 0.125f);
  EXPECT_EQ(received.speed, 100.0f);
}

TEST_F(EnemyTest, EveryWalkerWritesTheSameRecord) {
  CPelvokRed red(&server);
  Gorrit gorrit(&server, true);
  Skeleton skeleton(&server);
  for (Entity* enemy : std::vector<Entity*>{&red, &gorrit, &skeleton}) {
    SCOPED_TRACE(enemy->name);
    Fill(*enemy);
    NetStream stream(256);
    ASSERT_TRUE(enemy->WriteState(&stream));
    EXPECT_EQ(stream.Size(), kRecordBytes);
    CPelvokBlue reader(&client);
    reader.uid = 77;
    reader.typeId = 2;
    ASSERT_TRUE(reader.ReadState(&stream));
    EXPECT_EQ(reader.speed, 100.0f);
    EXPECT_EQ(reader.target, Vec2(168.5f, 96.25f));
  }
}

TEST_F(EnemyTest, AStreamTooShortForTheRecordIsRefused) {
  CPelvokBlue sent(&server);
  Fill(sent);
  // Room for every field but the last: writing stops there and says so.
  NetStream tight(kRecordBytes - 4);
  EXPECT_FALSE(sent.WriteState(&tight));
  EXPECT_FALSE(sent.WriteState(nullptr));

  // A record cut inside the extension changes nothing.
  NetStream whole(256);
  ASSERT_TRUE(sent.WriteState(&whole));
  NetStream cut(kRecordBytes - 4);
  cut.Write(whole.Data(), kRecordBytes - 4);
  CPelvokBlue received(&client);
  received.uid = 77;
  received.typeId = 2;
  received.speed = 50.0f;
  received.health = 2.0f;
  EXPECT_FALSE(received.ReadState(&cut));
  EXPECT_EQ(received.GetPosition(), Vec2(0.0f, 0.0f));
  EXPECT_EQ(received.speed, 50.0f);
  EXPECT_EQ(received.health, 2.0f);
  EXPECT_FALSE(received.ReadState(nullptr));
}

TEST_F(EnemyTest, TheTypeTableMakesEachWalker) {
  struct Case {
    int32_t typeId;
    const char* name;
    const char* variant;  // for the Gorrit: "blue" or "red"
  };
  const Case cases[] = {
      {2, "Blue Pelvok", ""}, {7, "Red Pelvok", ""},  {99, "Red Pelvok", ""},
      {9, "Gorrit", "red"},   {10, "Gorrit", "blue"}, {11, "Skeleton", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typeId);
    Entity* made = CreateEntityOfType(c.typeId, &server);
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->name, c.name);
    EXPECT_TRUE(made->hostile);
    EXPECT_TRUE(made->contactDamages);
    if (auto* gorrit = dynamic_cast<Gorrit*>(made)) {
      EXPECT_EQ(gorrit->blue, std::string(c.variant) == "blue");
    }
    OX_DELETE made;
  }
}
