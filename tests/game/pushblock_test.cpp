// The push block: placement, the unbroken push that starts its one slide, the
// slide itself, the door it opens, message 12 and its state record.
#include "game/pushblock.h"

#include <gtest/gtest.h>

#include <cstring>

#include "game/entitytypes.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"
#include "tests/game/net_test_support.h"

namespace {

// Blocks in room (0, 0) of a free map, placed at tile (5, 5): pixels (160, 160).
class PushblockTest : public hero_test::HeroTest {
 protected:
  void SetUp() override {
    hero_test::HeroTest::SetUp();
    server.PlayAlone();  // runs the world, so blocks slide
  }
  // Layer-1 cell (column, row) of room (roomX, roomY).
  uint8_t& MarkCell(int roomX, int roomY, int column, int row) {
    return map.tiles[PraelRenderer::kLayerBytes + roomY * 2816 + row * 256 + roomX * 16 + column];
  }
  void PlaceAt(Pushblock& block, int column, int row) { Send(&block, Pushblock::EV_PLACE, column, row); }
  // One frame of `seconds`: the hero pushes (or not), then the block ticks.
  void Frame(Pushblock& block, float seconds, bool pushing, int pushDirection = DIR_RIGHT) {
    Step(seconds);
    if (pushing) Send(&block, Pushblock::EV_PUSH, pushDirection);
    block.Tick(seconds);
  }

  NetConnection server{NetConnection::kAccessPassword, "Server"};
  NetConnection client{NetConnection::kAccessPassword, "Client"};
};

}  // namespace

TEST_F(PushblockTest, ANewBlockIsASolidRestingStonePlacedByEventEleven) {
  LoadWorld();
  Pushblock block(&server);
  EXPECT_STREQ(block.name, "Pushblock");
  EXPECT_TRUE(block.solid);
  EXPECT_FALSE(block.hostile);
  EXPECT_FALSE(block.contactDamages);
  EXPECT_EQ(block.state, Pushblock::STATE_RESTING);
  EXPECT_EQ(block.speed, 64.0f);
  EXPECT_EQ(block.health, -1.0f);
  EXPECT_FALSE(block.moved);
  PlaceAt(block, 21, 14);
  EXPECT_EQ(block.GetPosition(), Vec2(672.0f, 448.0f));
  EXPECT_EQ(block.GetRoom(), Vec2(1.0f, 1.0f));
}

TEST_F(PushblockTest, TypeThirtyIsAPushBlock) {
  LoadWorld();
  Entity* made = CreateEntityOfType(TYPE_PUSHBLOCK, &server);
  auto* block = dynamic_cast<Pushblock*>(made);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->net, &server);
  OX_DELETE made;
}

TEST_F(PushblockTest, OnlyAnUnbrokenPushOfMoreThanAThirdOfASecondStartsTheSlide) {
  LoadWorld();
  struct Burst {
    int frames;  // of 0.031 s each
    bool pushing;
  };
  const struct {
    const char* what;
    NetConnection* participant;
    std::vector<Burst> bursts;
    bool slides;
  } cases[] = {
      {"0.2 s, a break, 0.2 s", &server, {{7, true}, {1, false}, {7, true}}, false},
      {"the same on a client", &client, {{7, true}, {1, false}, {7, true}}, false},
      {"0.279 s", &server, {{9, true}}, false},
      {"0.31 s", &server, {{10, true}}, true},
      {"0.31 s on a client", &client, {{10, true}}, true},
  };
  for (const auto& testCase : cases) {
    Pushblock block(testCase.participant);
    PlaceAt(block, 5, 5);
    for (const Burst& burst : testCase.bursts)
      for (int frame = 0; frame < burst.frames; ++frame) Frame(block, 0.031f, burst.pushing);
    EXPECT_EQ(block.moved, testCase.slides) << testCase.what;
    EXPECT_EQ(block.state, testCase.slides ? Pushblock::STATE_SLIDING : Pushblock::STATE_RESTING)
        << testCase.what;
    EXPECT_EQ(block.target, testCase.slides ? Vec2(192.0f, 160.0f) : Vec2()) << testCase.what;
  }
}

TEST_F(PushblockTest, PushesInOneFrameCountThatFrameOnce) {
  LoadWorld();
  Pushblock block(&server);
  PlaceAt(block, 5, 5);
  for (int frame = 0; frame < 2; ++frame) {
    Step(0.1f);
    // A hero knocked against the block tests it at every pixel.
    for (int test = 0; test < 16; ++test) Send(&block, Pushblock::EV_PUSH, DIR_RIGHT);
    block.Tick(0.1f);
  }
  EXPECT_FLOAT_EQ(block.pushTime, 0.2f);
  EXPECT_FALSE(block.moved);
}

TEST_F(PushblockTest, ABlockedTargetKeepsTheBlockWhichMayBeTriedAnotherWay) {
  MarkCell(0, 0, 5, 5) = 16;  // the block's own mark
  MarkCell(0, 0, 6, 5) = 1;   // it may not slide right
  LoadWorld();
  Pushblock block(&server);
  PlaceAt(block, 5, 5);
  block.StartPush(DIR_RIGHT);
  EXPECT_FALSE(block.moved);
  EXPECT_EQ(block.state, Pushblock::STATE_RESTING);
  EXPECT_EQ(block.target, block.GetPosition());
  block.StartPush(DIR_NONE);  // a push from a hero who stands
  EXPECT_FALSE(block.moved);
  block.StartPush(DIR_DOWN);
  EXPECT_TRUE(block.moved);
  EXPECT_EQ(block.target, Vec2(160.0f, 192.0f));
}

TEST_F(PushblockTest, TheSlideTakesHalfASecondOnTheServerAndABlockMovedOnceStaysPut) {
  LoadWorld();
  Pushblock block(&server);
  Pushblock replica(&client);
  PlaceAt(block, 5, 5);
  PlaceAt(replica, 5, 5);
  block.StartPush(DIR_LEFT);
  replica.StartPush(DIR_LEFT);
  for (int frame = 0; frame < 9; ++frame) {
    Frame(block, 0.05f, false);
    Frame(replica, 0.05f, false);
  }
  EXPECT_EQ(block.state, Pushblock::STATE_SLIDING) << "0.45 s";
  EXPECT_NEAR(block.GetPosition().x, 160.0f - 28.8f, 1e-3f);
  EXPECT_EQ(block.moveDirection, DIR_LEFT);
  EXPECT_EQ(replica.GetPosition(), Vec2(160.0f, 160.0f)) << "clients follow the server's records";
  for (int frame = 0; frame < 2; ++frame) Frame(block, 0.05f, false);
  EXPECT_EQ(block.state, Pushblock::STATE_RESTING) << "0.55 s";
  EXPECT_EQ(block.GetPosition(), Vec2(128.0f, 160.0f));
  EXPECT_TRUE(block.moved);

  for (int frame = 0; frame < 20; ++frame) Frame(block, 0.05f, true, DIR_RIGHT);
  block.StartPush(DIR_DOWN);
  for (int frame = 0; frame < 20; ++frame) Frame(block, 0.05f, false);
  EXPECT_EQ(block.GetPosition(), Vec2(128.0f, 160.0f));
  EXPECT_EQ(block.state, Pushblock::STATE_RESTING);
  EXPECT_EQ(block.pushTime, 0.0f);
}

TEST_F(PushblockTest, TheSlideOpensTheLastWaitingDoorOfTheBlocksOwnRoom) {
  map.Room(0, 0).doorTop = DOOR_PUSH_BLOCK;
  map.Room(0, 0).doorLeft = DOOR_PUSH_BLOCK;
  map.Room(0, 0).doorRight = DOOR_LOCKED;
  map.Room(1, 0).doorLeft = DOOR_PUSH_BLOCK;
  map.Room(2, 0).doorBottom = DOOR_SHUTTER;
  LoadWorld();
  renderer->SetView(0, 0, 0.0f, 0.0f);
  hero_test::SoundScope sounds;

  Pushblock inView(&server);
  PlaceAt(inView, 5, 5);
  inView.StartPush(DIR_UP);
  const RoomRecord* room = renderer->GetRoomRecord(0, 0);
  EXPECT_EQ(room->doorLeft, DOOR_OPEN);
  EXPECT_EQ(room->doorTop, DOOR_PUSH_BLOCK) << "only the last waiting door opens";
  EXPECT_EQ(room->doorRight, DOOR_LOCKED);
  EXPECT_TRUE(sounds.TakePlay(kSoundSecret));
  EXPECT_TRUE(sounds.TakePlay(kSoundUnlock));

  // Pushed by the other hero in a room this participant does not show.
  Pushblock elsewhere(&server);
  PlaceAt(elsewhere, 16 + 5, 5);
  elsewhere.StartPush(DIR_UP);
  EXPECT_EQ(renderer->GetRoomRecord(1, 0)->doorLeft, DOOR_OPEN);
  EXPECT_EQ(room->doorTop, DOOR_PUSH_BLOCK);
  EXPECT_FALSE(sounds.TakePlay(kSoundUnlock)) << "the door of a room out of view opens silently";

  Pushblock noDoor(&server);
  PlaceAt(noDoor, 32 + 5, 5);
  noDoor.StartPush(DIR_UP);
  EXPECT_TRUE(noDoor.moved);
  EXPECT_EQ(renderer->GetRoomRecord(2, 0)->doorBottom, DOOR_SHUTTER);
}

TEST_F(PushblockTest, TheSlideIsAnnouncedWithMessageTwelve) {
  LoadWorld();
  StartTestLog();
  NetConnection host(NetConnection::kAccessPassword, "Host");
  PeerRecorder hostLog(host);
  NetConnection guest(NetConnection::kAccessPassword, "Guest");
  PeerRecorder guestLog(guest);
  ASSERT_TRUE(ConnectOnLoopback(host, guest));

  Pushblock block(&guest);
  block.SetUID(57);
  PlaceAt(block, 5, 5);
  block.StartPush(DIR_DOWN);
  block.StartPush(DIR_UP);  // moved already: nothing more is sent
  ASSERT_TRUE(PumpUntil({&host, &guest}, [&] { return !hostLog.messages.empty(); }));
  PumpFor({&host, &guest}, 50);
  ASSERT_EQ(hostLog.messages.size(), 1u);
  EXPECT_EQ(hostLog.messages[0].type, static_cast<uint32_t>(MSG_PUSH));
  ASSERT_EQ(hostLog.messages[0].payload.size(), 8u);
  int32_t fields[2];
  std::memcpy(fields, hostLog.messages[0].payload.data(), sizeof fields);
  EXPECT_EQ(fields[0], 57);
  EXPECT_EQ(fields[1], DIR_DOWN);
}

TEST_F(PushblockTest, TheStateRecordCarriesTheSlideInFortyNineBytes) {
  LoadWorld();
  Pushblock block(&server);
  block.SetUID(33);
  block.typeId = 30;
  PlaceAt(block, 5, 5);
  block.StartPush(DIR_RIGHT);
  Frame(block, 0.25f, false);
  NetStream stream(64);
  ASSERT_TRUE(block.WriteState(&stream));
  EXPECT_EQ(stream.Size(), Pushblock::kStateRecordBytes);
  EXPECT_EQ(stream.Size(), 49u);

  Pushblock copy(&client);
  copy.SetUID(33);
  copy.typeId = 30;
  ASSERT_TRUE(copy.ReadState(&stream));
  EXPECT_EQ(copy.GetPosition(), Vec2(176.0f, 160.0f));
  EXPECT_EQ(copy.target, Vec2(192.0f, 160.0f));
  EXPECT_EQ(copy.GetDirection(), DIR_RIGHT);
  EXPECT_TRUE(copy.moved);
  EXPECT_EQ(copy.speed, 64.0f);

  // Cut one byte short: nothing of it is applied.
  NetStream shortStream(48);
  ASSERT_TRUE(shortStream.Write(stream.Data(), 48));
  Pushblock untouched(&client);
  EXPECT_FALSE(untouched.ReadState(&shortStream));
  EXPECT_EQ(untouched.GetPosition(), Vec2(0.0f, 0.0f));
  EXPECT_FALSE(untouched.moved);
  NetStream tooSmall(40);
  EXPECT_FALSE(block.WriteState(&tooSmall));
  EXPECT_FALSE(block.WriteState(nullptr));
  EXPECT_FALSE(block.ReadState(nullptr));
}

TEST_F(PushblockTest, DeadEndsABlockOnce) {
  LoadWorld();
  Pushblock block(&server);
  block.Dead();
  EXPECT_TRUE(block.removed);
  EXPECT_EQ(block.state, 0);
  block.removed = false;  // state 0 alone keeps a second Dead from acting
  block.Dead();
  EXPECT_FALSE(block.removed);
}
