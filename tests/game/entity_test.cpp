#include "game/entity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "game/entityref.h"
#include "game/net.h"
#include "orvix/memtrack.h"
#include "orvix/orvix.h"
#include "tests/game/rendprael_fixtures.h"

namespace {

// The smallest concrete entity: the base behaviour and nothing else.
class PlainEntity : public Entity {
 public:
  PlainEntity() : Entity(nullptr) { SetName("Plain"); }
  void SendEvent(int, EventParam*, EventParam*) override {}
};

// Entities on a loaded map: room (0, 0) is free except for a wall tile at
// column 5, row 3 (pixels 160..191, 96..127).
class EntityTest : public rendprael_test::PraelRendererTest {
 protected:
  void SetUp() override {
    PraelRendererTest::SetUp();
    rendprael_test::MapFile map;
    map.Cell(0, 0, 5, 3) = 1;
    map.Write(folder.File("world.wmap"));
    ASSERT_TRUE(renderer->LoadMap(folder.File("world.wmap").c_str()));
  }
};

class ProbeApp : public Orvix::COrvixApp {
 public:
  void Frame() override {}
  void DrawOverlay() override {}
  int OnGameEvent(int code, int) override { return code; }
};

}  // namespace

TEST_F(EntityTest, NewEntityStartsInItsDocumentedState) {
  PlainEntity entity;
  EXPECT_EQ(entity.state, 1);
  EXPECT_TRUE(entity.visible);
  EXPECT_EQ(entity.width, 32);
  EXPECT_EQ(entity.height, 32);
  EXPECT_FLOAT_EQ(entity.frameRate, 10.0f);
  EXPECT_EQ(entity.pushDirection, -1);
  EXPECT_EQ(entity.moveDirection, -1);
  EXPECT_EQ(entity.renderer, renderer.get());
}

TEST_F(EntityTest, TileAndRoomFollowThePosition) {
  struct Case {
    Vec2 position, tile, room;
  };
  const Case cases[] = {
      {{100, 40}, {3, 1}, {0, 0}}, {{496, 0}, {16, 0}, {1, 0}}, {{-20, -20}, {-1, -1}, {-1, -1}}};
  for (const Case& c : cases) {
    PlainEntity entity;
    entity.SetPosition(c.position);
    EXPECT_EQ(entity.GetTile(), c.tile) << c.position.x << "," << c.position.y;
    EXPECT_EQ(entity.GetRoom(), c.room) << c.position.x << "," << c.position.y;
  }
}

TEST_F(EntityTest, AnimationRestartsAtZeroInsteadOfWrapping) {
  PlainEntity entity;
  entity.frameCount = 2;
  entity.frame = 1.9f;
  entity.Animate();
  entity.Tick(0.02f);
  EXPECT_FLOAT_EQ(entity.frame, 0.0f);
  entity.Tick(0.02f);  // not asked to animate: the frame stays
  EXPECT_FLOAT_EQ(entity.frame, 0.0f);
}

// Frame and base frame arrive in the peer's records: values no sprite has
// draw nothing (-1) instead of reaching an int conversion that overflows.
TEST_F(EntityTest, TheSpriteFrameIsMinusOneForFramesNoSpriteHas) {
  struct Case {
    float frame;
    int32_t baseFrame;
    int expected;
  };
  const Case cases[] = {{1.9f, 4, 5},   {0.0f, 0, 0},      {std::nanf(""), 0, -1}, {1.2e33f, 0, -1},
                        {-0.5f, 2, -1}, {-1.0e30f, 0, -1}, {1.0f, INT32_MAX, -1},  {1.0f, -3, -1}};
  for (const Case& c : cases) {
    PlainEntity entity;
    entity.frame = c.frame;
    entity.baseFrame = c.baseFrame;
    EXPECT_EQ(entity.SpriteFrame(), c.expected) << c.frame << " + " << c.baseFrame;
  }
}

TEST_F(EntityTest, ChangeStateSetsOrFlipsBits) {
  PlainEntity entity;
  entity.ChangeState(-2);
  EXPECT_EQ(entity.state, 3);
  entity.ChangeState(-2);
  EXPECT_EQ(entity.state, 1);
  entity.ChangeState(4);
  EXPECT_EQ(entity.state, 5);
  entity.ChangeState(0);
  EXPECT_EQ(entity.state, 5);
}

TEST_F(EntityTest, BaseDamageIgnoresZeroAndNegativeAmounts) {
  PlainEntity entity;
  entity.health = 4.0f;
  entity.TakeDamage(0.0f, 1, 0);
  entity.TakeDamage(-2.0f, 1, 0);
  EXPECT_FLOAT_EQ(entity.health, 4.0f);
  entity.TakeDamage(3.0f, 1, 0);
  EXPECT_FLOAT_EQ(entity.health, 1.0f);
}

TEST_F(EntityTest, FlashingTogglesVisibilityUntilItsTimeRunsOut) {
  PlainEntity entity;
  entity.flashing = true;
  entity.flashTime = 0.05f;
  entity.Tick(0.02f);
  EXPECT_FALSE(entity.visible);
  entity.Tick(0.02f);
  EXPECT_TRUE(entity.visible);
  entity.Tick(0.02f);
  EXPECT_FALSE(entity.flashing);
  EXPECT_TRUE(entity.visible);
  EXPECT_FLOAT_EQ(entity.flashTime, 0.0f);
}

TEST_F(EntityTest, PushTravelsSixteenPixelsAFrame) {
  PlainEntity entity;
  entity.SetPosition({64, 200});
  entity.SetPushDirection(DIR_RIGHT);
  entity.SetPushDistance(40);
  const float expected[] = {80, 96, 104, 104};
  for (float x : expected) {
    entity.Tick(0.016f);
    EXPECT_FLOAT_EQ(entity.GetPosition().x, x);
  }
  EXPECT_EQ(entity.pushDirection, -1);
  EXPECT_EQ(entity.pushDistance, 0);
}

TEST_F(EntityTest, PushStopsAtThePixelBeforeABlockingTile) {
  PlainEntity entity;
  entity.SetPosition({130, 100});  // the wall starts at x = 160
  entity.SetPushDirection(DIR_RIGHT);
  entity.SetPushDistance(64);
  entity.Tick(0.016f);
  entity.Tick(0.016f);
  EXPECT_FLOAT_EQ(entity.GetPosition().x, 159.0f);
  EXPECT_EQ(entity.pushDirection, -1);
}

TEST_F(EntityTest, DiagonalPushesMoveHorizontallyOnly) {
  for (int direction : {4, 5, 6, 7}) {
    PlainEntity entity;
    entity.SetPosition({300, 200});
    entity.SetPushDirection(direction);
    entity.SetPushDistance(8);
    entity.Tick(0.016f);
    const float expectedX = (direction == 4 || direction == 6) ? 308.0f : 292.0f;
    EXPECT_FLOAT_EQ(entity.GetPosition().x, expectedX) << direction;
    EXPECT_FLOAT_EQ(entity.GetPosition().y, 200.0f) << direction;
  }
}

TEST_F(EntityTest, AlignSlidesTowardTheNearestGridLineWithoutOvershoot) {
  // A constructed application's frame time is 0.0001 s; at this speed the
  // slide would carry 20 pixels, past any grid line.
  ProbeApp app;
  PlainEntity entity;
  entity.speed = 100000.0f;
  struct Case {
    float x;
    int expected;
  };
  for (const Case& c : {Case{8.0f, 16}, Case{7.9f, 0}, Case{17.0f, 16}, Case{31.0f, 32}}) {
    entity.SetPosition({c.x, c.x});
    EXPECT_EQ(entity.AlignX(16), c.expected) << c.x;
    EXPECT_EQ(entity.AlignY(16), c.expected) << c.x;
  }
  entity.speed = 10.0f;  // 0.002 pixels: the truncation keeps the cell
  entity.SetPosition({8.0f, 0});
  EXPECT_EQ(entity.AlignX(16), 8);
}

TEST_F(EntityTest, CollideNeedsTheShrunkBoxesToOverlap) {
  PlainEntity a, b;
  a.SetPosition({100, 100});
  b.SetPosition({122, 100});
  EXPECT_FALSE(Collide(&a, &b, 5));
  b.SetPosition({121, 100});
  EXPECT_TRUE(Collide(&a, &b, 5));
  EXPECT_TRUE(Collide(&b, &a, 5));
}

TEST_F(EntityTest, StepTileMovesOneTileWithinTheRoomOnly) {
  PlainEntity entity;
  entity.SetPosition({128, 96});  // tile (4, 3); the wall is at (5, 3)
  entity.StepTile(DIR_RIGHT);
  EXPECT_EQ(entity.GetPosition(), Vec2(128, 96));
  entity.StepTile(DIR_DOWN);
  EXPECT_EQ(entity.GetPosition(), Vec2(128, 128));
  entity.SetPosition({480, 96});  // tile (15, 3): the next column is the next room
  entity.StepTile(DIR_RIGHT);
  EXPECT_EQ(entity.GetPosition(), Vec2(480, 96));
}

TEST_F(EntityTest, IsInRoomCoversTheInnerTiles) {
  PlainEntity entity;
  entity.SetPosition({100, 100});
  EXPECT_TRUE(entity.IsInRoom({30, 16}));    // (1.0, 1.0) in tile units
  EXPECT_TRUE(entity.IsInRoom({478, 304}));  // (15.0, 10.0)
  EXPECT_FALSE(entity.IsInRoom({29, 100}));
  EXPECT_FALSE(entity.IsInRoom({100, 305}));
}

TEST_F(EntityTest, DeadWithoutAServerOnlyHidesAndRemoves) {
  PlainEntity entity;
  entity.Dead();
  EXPECT_EQ(entity.state, 0);
  EXPECT_TRUE(entity.removed);
  EXPECT_TRUE(entity.dead);
  EXPECT_FALSE(entity.visible);
}

TEST_F(EntityTest, StateRecordRoundTripsAndReportsMismatches) {
  PlainEntity source;
  source.uid = 12;
  source.typeId = 2;
  source.hostile = true;
  source.SetPosition({40, 50});
  source.SetDirection(DIR_LEFT);
  NetStream stream(64);
  ASSERT_TRUE(source.WriteState(&stream));
  EXPECT_EQ(stream.Size(), 24u);
  EXPECT_EQ(stream.Data()[20], 1);

  PlainEntity copy;
  copy.uid = 13;
  copy.typeId = 2;
  ASSERT_TRUE(copy.ReadState(&stream));
  EXPECT_EQ(copy.GetPosition(), Vec2(40, 50));
  EXPECT_EQ(copy.GetDirection(), DIR_LEFT);
  EXPECT_EQ(copy.uid, 13u);
  EXPECT_FALSE(copy.hostile);
  EXPECT_TRUE(log.Contains("UID modification error! 12"));

  NetStream shortStream(10);
  EXPECT_FALSE(copy.ReadState(&shortStream));
  EXPECT_FALSE(copy.WriteState(nullptr));
  EXPECT_FALSE(copy.ReadState(nullptr));
}

TEST_F(EntityTest, ReferencesBecomeNullWhenTheEntityIsReleased) {
  auto* entity = OX_NEW PlainEntity;
  EntityRef<PlainEntity> first(entity);
  EntityRef<PlainEntity> second = first;
  EntityRef<PlainEntity> third;
  third = entity;
  third.Reset();
  EXPECT_EQ(first.Get(), entity);
  OX_DELETE entity;
  EXPECT_FALSE(first);
  EXPECT_FALSE(second);
  EXPECT_EQ(first.Get(), nullptr);
}

TEST(EntityDirections, OffsetsPointTheWayOfEachDirection) {
  const struct {
    int direction;
    Vec2 offset;
  } cases[] = {{DIR_UP, {0, -5}},   {DIR_DOWN, {0, 5}}, {DIR_LEFT, {-5, 0}},
               {DIR_RIGHT, {5, 0}}, {DIR_NONE, {0, 0}}, {4, {0, 0}}};
  for (const auto& c : cases) EXPECT_EQ(DirectionOffset(c.direction, 5.0f), c.offset) << c.direction;
}
