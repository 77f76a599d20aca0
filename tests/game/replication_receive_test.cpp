// What each received game message does, on the server and on a client, and
// what the server refuses from a client.
#include <gtest/gtest.h>

#include "game/entityref.h"
#include "game/entitytypes.h"
#include "game/netmessages.h"
#include "game/pickup.h"
#include "game/pushblock.h"
#include "game/rendprael.h"
#include "game/sword.h"
#include "tests/game/replication_fixtures.h"

using replication_test::InRoom;
using replication_test::Payload;
using replication_test::Probe;

namespace {

class ReceiveTest : public replication_test::ReplicationTest {};

Payload PlayerState(Vec2 at, int32_t facing, float health) {
  return Payload().Add(at.x).Add(at.y).Add(facing).Add(health);
}

}  // namespace

TEST_F(ReceiveTest, AClientsPlayerStateMovesOnlyTheServersCopyOfItsHero) {
  Aveth* local = MakeLocalHero(3840.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3776.0f, 2656.0f);
  local->boomerangs[0]->SetPosition(Vec2(10.0f, 10.0f));
  remote->boomerangs[0]->SetPosition(Vec2(20.0f, 20.0f));
  remote->frame = 0.0f;
  remote->frameCount = 2.0f;

  Deliver(MSG_PLAYER_STATE, PlayerState(Vec2(3700.0f, 2600.0f), DIR_LEFT, 9.0f));
  EXPECT_EQ(remote->GetPosition(), Vec2(3700.0f, 2600.0f));
  EXPECT_EQ(remote->GetDirection(), DIR_LEFT);
  EXPECT_EQ(remote->health, remote->maxHealth) << "never above the hero's maximum";
  EXPECT_TRUE(remote->animateNow) << "a hero that moved walks";
  EXPECT_EQ(local->GetPosition(), Vec2(3840.0f, 2656.0f));
  EXPECT_EQ(local->boomerangs[0]->GetPosition(), Vec2(10.0f, 10.0f));
  EXPECT_EQ(remote->boomerangs[0]->GetPosition(), Vec2(20.0f, 20.0f));

  // Boomerang entries from a client are never read.
  Payload withEntries = PlayerState(Vec2(3700.0f, 2600.0f), DIR_DOWN, 2.0f);
  withEntries.Add(1.0f).Add(2.0f).Add(uint8_t{1}).Add(3.0f).Add(4.0f).Add(uint8_t{1});
  remote->animateNow = false;
  Deliver(MSG_PLAYER_STATE, withEntries);
  EXPECT_FALSE(remote->animateNow) << "a hero that stands still does not walk";
  EXPECT_EQ(remote->health, 2.0f);
  EXPECT_EQ(local->boomerangs[0]->GetPosition(), Vec2(10.0f, 10.0f));
  EXPECT_EQ(remote->boomerangs[0]->GetPosition(), Vec2(20.0f, 20.0f));
}

TEST_F(ReceiveTest, TheServersPlayerStatePlacesBothBoomerangsOnAClient) {
  app->isServer = false;
  Aveth* local = MakeLocalHero(3776.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3840.0f, 2656.0f);
  local->boomerangs[0]->SetPosition(Vec2(10.0f, 10.0f));
  remote->boomerangs[0]->SetPosition(Vec2(20.0f, 20.0f));
  Payload state = PlayerState(Vec2(3800.0f, 2650.0f), DIR_RIGHT, 2.5f);
  state.Add(100.0f).Add(200.0f).Add(uint8_t{1}).Add(300.0f).Add(400.0f).Add(uint8_t{0});
  Deliver(MSG_PLAYER_STATE, state);
  EXPECT_EQ(remote->GetPosition(), Vec2(3800.0f, 2650.0f));
  EXPECT_EQ(remote->health, 2.5f);
  EXPECT_EQ(remote->boomerangs[0]->GetPosition(), Vec2(100.0f, 200.0f)) << "the server's hero's boomerang";
  EXPECT_TRUE(remote->boomerangs[0]->visible);
  EXPECT_EQ(local->boomerangs[0]->GetPosition(), Vec2(300.0f, 400.0f)) << "ours, as the server flies it";
  EXPECT_FALSE(local->boomerangs[0]->visible);

  // A hero without a boomerang in use is skipped.
  local->boomerangIndex = -1;
  Payload again = PlayerState(Vec2(3800.0f, 2650.0f), DIR_RIGHT, 2.5f);
  again.Add(1.0f).Add(2.0f).Add(uint8_t{1}).Add(3.0f).Add(4.0f).Add(uint8_t{1});
  Deliver(MSG_PLAYER_STATE, again);
  EXPECT_EQ(remote->boomerangs[0]->GetPosition(), Vec2(1.0f, 2.0f));
  EXPECT_EQ(local->boomerangs[0]->GetPosition(), Vec2(300.0f, 400.0f));
}

TEST_F(ReceiveTest, HeroMessagesWaitForARemoteHero) {
  Aveth* local = MakeLocalHero(3840.0f, 2656.0f);
  Deliver(MSG_PLAYER_STATE, PlayerState(Vec2(1.0f, 2.0f), DIR_LEFT, 1.0f));
  Deliver(MSG_ATTACK, Payload().Add(1.0f).Add(2.0f));
  EXPECT_EQ(local->GetPosition(), Vec2(3840.0f, 2656.0f));
  EXPECT_EQ(local->swingTime, 0.0f);

  Aveth* remote = MakeRemoteHero(3776.0f, 2656.0f);
  remote->SetState(Aveth::STATE_PLAYING);
  Deliver(MSG_ATTACK, Payload().Add(1.0f).Add(2.0f));
  EXPECT_GT(remote->swingTime, 0.0f) << "the peer's hero swings its sword here too";
  EXPECT_TRUE(remote->GetSword(0)->visible);
  EXPECT_EQ(LogLines("CTestApp::netRecvData: remote's hero attacks"), 1);
  Deliver(MSG_USE_ITEM, Payload().Add(1.0f).Add(2.0f));
  EXPECT_EQ(LogLines("CTestApp::netRecvData: remote's hero uses its item"), 1);
}

TEST_F(ReceiveTest, StateUpdatesMoveReplicasAndAnUnknownUidEndsTheMessage) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  Probe* first = AddProbe(10, InRoom(7, 7));
  Probe* second = AddProbe(11, InRoom(7, 7));
  Deliver(MSG_ENTITY_STATE, Payload()
                                .Add(uint32_t{3})
                                .AddRecord(10, 2, Vec2(3700.0f, 2600.0f), DIR_LEFT)
                                .AddRecord(99, 2, Vec2(1.0f, 1.0f))
                                .AddRecord(11, 2, Vec2(3600.0f, 2600.0f)));
  EXPECT_EQ(first->GetPosition(), Vec2(3700.0f, 2600.0f));
  EXPECT_EQ(first->GetDirection(), DIR_LEFT);
  EXPECT_TRUE(first->netUpdated);
  EXPECT_TRUE(first->animateNow);
  EXPECT_EQ(LogLines("entity not found: 99"), 1) << "one line for the message";
  EXPECT_EQ(second->GetPosition(), InRoom(7, 7)) << "records after an unknown one are not read";
  EXPECT_FALSE(second->netUpdated);

  Deliver(MSG_ENTITY_STATE,
          Payload().Add(uint32_t{2}).AddRecord(98, 2, Vec2(1.0f, 1.0f)).AddRecord(98, 2, Vec2(1.0f, 1.0f)));
  EXPECT_EQ(LogLines("entity not found: 98"), 1);
}

TEST_F(ReceiveTest, AStateUpdateCountLargerThanItsPayloadIsRefused) {
  app->isServer = false;
  Probe* probe = AddProbe(10, InRoom(7, 7));
  const struct {
    uint32_t count;
    int records;
  } cases[] = {{0xFFFFFFFFu, 1}, {2, 1}, {1, 0}, {0x80000000u, 3}};
  for (const auto& testCase : cases) {
    Payload payload;
    payload.Add(testCase.count);
    for (int i = 0; i < testCase.records; ++i) payload.AddRecord(10, 2, Vec2(5.0f, 5.0f));
    Deliver(MSG_ENTITY_STATE, payload);
    EXPECT_EQ(probe->GetPosition(), InRoom(7, 7)) << testCase.count;
    EXPECT_FALSE(probe->netUpdated) << testCase.count;
  }
  EXPECT_TRUE(log.Contains("4294967295 state records do not fit in 24 bytes"));
}

TEST_F(ReceiveTest, AChatLineNamesThePeerAndShowsOnlyPrintableTextWithinThePayload) {
  app->isServer = false;
  std::snprintf(app->remoteName, sizeof app->remoteName, "%s", "Host");
  const struct {
    uint32_t length;
    std::string text;
    std::string line;
  } cases[] = {
      {5, "hello", "Host: hello"},  // five bytes, no terminator
      {6, std::string("hi!!!\0", 6), "Host: hi!!!"},
      {1000, "short", "Host: short"},    // a length past the payload
      {3, "abcdef", "Host: abc"},        // a length inside it
      {6, "a\x1b[2Jb", "Host: a.[2Jb"},  // an escape sequence
      {0, "", "Host: "},
  };
  for (const auto& testCase : cases) {
    Deliver(MSG_CHAT, Payload().Add(testCase.length).AddText(testCase.text));
    EXPECT_EQ(LogLines(testCase.line), 1) << testCase.line;
  }
}

TEST_F(ReceiveTest, TheServerLogsAndDropsEveryTypeAClientMustNotSend) {
  MakeLocalHero(3840.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3776.0f, 2656.0f);
  Probe* probe = AddProbe(10, InRoom(7, 7));
  const Payload uidOnly = Payload().Add(uint32_t{10});
  const struct {
    uint32_t type;
    Payload payload;
  } cases[] = {
      {MSG_ENTITY_STATE, Payload().Add(uint32_t{1}).AddRecord(10, 2, Vec2(1.0f, 1.0f))},
      {MSG_SPAWN, Payload().AddRecord(50, 2, Vec2(3700.0f, 2600.0f))},
      {MSG_CULL, uidOnly},
      {MSG_CHAT, Payload().Add(uint32_t{2}).AddText("hi")},
      {MSG_DEATH, uidOnly},
      {MSG_TURN_FIRE, Payload().Add(uint32_t{10}).Add(int32_t{2})},
      {MSG_PICKUP, Payload().Add(uint32_t{4}).Add(3700.0f).Add(2600.0f).Add(10.0f)},
      // A hit on anything but the client's own hero.
      {MSG_HIT, Payload().AddHit(10, Vec2(1.0f, 1.0f), -5.0f, 1.0f, 0, 0)},
      {MSG_HIT, Payload().AddHit(0, Vec2(1.0f, 1.0f), 0.0f, 1.0f, 0, 0)},
      {14, uidOnly},
      {0xFFFFFFFFu, Payload()},
  };
  const unsigned entitiesBefore = renderer->GetEntityCount();
  for (const auto& testCase : cases) {
    const std::string typeLine = "type: " + std::to_string(static_cast<int>(testCase.type));
    const int before = LogLines("Server received unauthorized net message:");
    const int typeLinesBefore = LogLines(typeLine);
    Deliver(testCase.type, testCase.payload);
    EXPECT_EQ(LogLines("Server received unauthorized net message:"), before + 1) << testCase.type;
    EXPECT_EQ(LogLines(typeLine), typeLinesBefore + 1) << testCase.type;
  }
  EXPECT_EQ(renderer->GetEntityCount(), entitiesBefore);
  EXPECT_TRUE(InWorld(probe));
  EXPECT_EQ(probe->GetPosition(), InRoom(7, 7));
  EXPECT_FALSE(probe->dead);
  EXPECT_TRUE(probe->events.empty());
  EXPECT_TRUE(probe->damage.empty());
  EXPECT_EQ(probe->health, 3.0f);
  EXPECT_EQ(app->GetLocalHero()->health, 3.0f);
  EXPECT_EQ(LogLines("remote: hi"), 0) << "a client's chat is not shown as chat";
  EXPECT_EQ(remote->GetPosition(), Vec2(3776.0f, 2656.0f));
}

TEST_F(ReceiveTest, TheDataLineShowsOnlyThePayloadMadePrintable) {
  MakeLocalHero(3840.0f, 2656.0f);
  const struct {
    std::string payload;
    std::string line;
  } cases[] = {
      {"ABC", "data: ABC"},  // no terminator: nothing past the payload is read
      {std::string("AB\0CD", 5), "data: AB"},
      {"\x07tab\there\x7f", "data: .tab.here."},
      {"", "data: "},
  };
  for (const auto& testCase : cases) {
    Deliver(MSG_DEATH, Payload().AddText(testCase.payload));
    EXPECT_EQ(LogLines(testCase.line), 1) << testCase.line;
  }
}

TEST_F(ReceiveTest, AClientsHitOnItsOwnHeroIsAccepted) {
  MakeLocalHero(3840.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3776.0f, 2656.0f);
  Deliver(MSG_HIT,
          Payload().AddHit(Aveth::kClientHeroUid, Vec2(3770.0f, 2650.0f), 2.5f, 0.75f, DIR_LEFT, 40));
  EXPECT_EQ(LogLines("Server received unauthorized net message:"), 0);
  EXPECT_EQ(remote->health, 2.5f);
  EXPECT_EQ(remote->GetPosition(), Vec2(3770.0f, 2650.0f));
  EXPECT_TRUE(remote->flashing);
  EXPECT_EQ(remote->flashTime, 0.75f);
  EXPECT_EQ(remote->pushDirection, DIR_LEFT);
  EXPECT_EQ(remote->pushDistance, 40);
}

// The report carries the hitter's result: a replica ends with the reported
// health, whatever its own rules would have made of the hit.
TEST_F(ReceiveTest, AHitLeavesAReplicaWithTheReportedHealth) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  Probe* probe = AddProbe(10, InRoom(7, 7));
  const float reports[] = {2.0f, 1.0f, 1.0f};
  for (float reported : reports) {
    probe->flashing = false;
    Deliver(MSG_HIT, Payload().AddHit(10, Vec2(3650.0f, 2500.0f), reported, 0.5f, DIR_RIGHT, 0));
    EXPECT_EQ(probe->health, reported);
    EXPECT_FALSE(probe->dead);
  }
  EXPECT_EQ(probe->damage, (std::vector<float>{1.0f, 1.0f, 0.0f})) << "the damage that gives the report";
  EXPECT_EQ(probe->GetPosition(), Vec2(3650.0f, 2500.0f));
  EXPECT_TRUE(probe->flashing);
  EXPECT_EQ(probe->flashTime, 0.5f);
  EXPECT_EQ(probe->pushDistance, 0) << "only heroes take the push";

  // A hit for nobody changes nothing.
  Deliver(MSG_HIT, Payload().AddHit(77, Vec2(1.0f, 1.0f), 0.0f, 0.5f, 0, 0));
  EXPECT_EQ(probe->damage.size(), 3u);
}

// The server's hero carries uid 0, as every sword does: messages for uid 0
// reach the hero, never a sword.
TEST_F(ReceiveTest, MessagesForAHeroUidReachTheHeroNotItsSwords) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3840.0f, 2656.0f);
  Sword* sword = remote->GetSword(0);
  const Vec2 swordAt = sword->GetPosition();
  Deliver(MSG_HIT, Payload().AddHit(Aveth::kServerHeroUid, Vec2(3830.0f, 2650.0f), 2.0f, 1.0f, DIR_UP, 64));
  EXPECT_EQ(remote->GetPosition(), Vec2(3830.0f, 2650.0f));
  EXPECT_EQ(remote->health, 2.0f);
  EXPECT_EQ(sword->GetPosition(), swordAt);
}

TEST_F(ReceiveTest, ACullTakesAReplicaOutAndReleasesItButNeverAHero) {
  app->isServer = false;
  Aveth* local = MakeLocalHero(3776.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3840.0f, 2656.0f);
  Probe* probe = AddProbe(10, InRoom(7, 7), &released);
  EntityRef<Probe> target(probe);  // as a projectile holds its target
  Deliver(MSG_CULL, Payload().Add(uint32_t{10}));
  EXPECT_FALSE(InWorld(probe));
  EXPECT_EQ(released, 0) << "not while the frame may still use it";
  app->ReleaseEndedEntities();
  EXPECT_EQ(released, 1);
  EXPECT_FALSE(target) << "no reference outlives it";

  for (uint32_t heroUid : {Aveth::kServerHeroUid, Aveth::kClientHeroUid, 77u}) {
    Deliver(MSG_CULL, Payload().Add(heroUid));
  }
  EXPECT_TRUE(InWorld(local));
  EXPECT_TRUE(InWorld(remote));
  EXPECT_TRUE(InWorld(remote->GetSword(0)));
}

TEST_F(ReceiveTest, DeathsEnemyEventsAndDoorsReachTheirTargets) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  Probe* probe = AddProbe(10, InRoom(7, 7));
  Deliver(MSG_TURN_FIRE, Payload().Add(uint32_t{10}).Add(int32_t{DIR_LEFT}));
  EXPECT_EQ(probe->events, (std::vector<std::pair<int, int>>{{5, DIR_LEFT}}));
  Deliver(MSG_DEATH, Payload().Add(uint32_t{10}));
  EXPECT_TRUE(probe->dead);
  EXPECT_EQ(probe->state, 0);

  ASSERT_NE(renderer->GetRoomRecord(8, 7), nullptr);
  renderer->GetRoomRecord(8, 7)->doorLeft = 3;
  Deliver(MSG_DOOR, Payload().Add(int32_t{4}).Add(8.0f).Add(7.0f));
  EXPECT_EQ(renderer->GetRoomRecord(8, 7)->doorLeft, DOOR_OPEN);
  renderer->GetRoomRecord(8, 7)->doorTop = 3;
  const float outside[][2] = {{-1.0f, 7.0f}, {16.0f, 7.0f}, {8.0f, 38.0f}, {NAN, 7.0f}, {8.0f, INFINITY}};
  for (const auto& room : outside) {
    Deliver(MSG_DOOR, Payload().Add(int32_t{1}).Add(room[0]).Add(room[1]));
  }
  EXPECT_EQ(renderer->GetRoomRecord(8, 7)->doorTop, 3);
}

// A payload shorter than its message's fields is dropped whole: its missing
// fields are never taken as zeros.
TEST_F(ReceiveTest, APayloadShorterThanItsFieldsHasNoEffect) {
  app->isServer = false;
  Aveth* local = MakeLocalHero(3776.0f, 2656.0f);
  Aveth* remote = MakeRemoteHero(3840.0f, 2656.0f);
  Probe* probe = AddProbe(10, InRoom(7, 7));
  const struct {
    uint32_t type;
    Payload payload;
  } cases[] = {
      {MSG_PLAYER_STATE, Payload().Add(100.0f).Add(100.0f)},
      {MSG_ENTITY_STATE, Payload().Add(uint16_t{1})},
      {MSG_CULL, Payload().Add(uint16_t{0})},
      {MSG_HIT, Payload().Add(uint32_t{10}).Add(1.0f)},
      {MSG_DEATH, Payload().Add(uint8_t{10})},
      {MSG_TURN_FIRE, Payload().Add(uint32_t{10})},
      {MSG_DOOR, Payload().Add(int32_t{4}).Add(7.0f)},
      {MSG_CHAT, Payload().Add(uint8_t{5})},
  };
  for (const auto& testCase : cases) {
    Deliver(testCase.type, testCase.payload);
    EXPECT_TRUE(log.Contains("CTestApp::netRecvData: message " + std::to_string(testCase.type) + " holds"))
        << testCase.type;
  }
  EXPECT_TRUE(InWorld(local));
  EXPECT_TRUE(InWorld(remote));
  EXPECT_EQ(remote->GetPosition(), Vec2(3840.0f, 2656.0f));
  EXPECT_EQ(remote->health, 3.0f);
  EXPECT_TRUE(InWorld(probe));
  EXPECT_FALSE(probe->dead);
  EXPECT_TRUE(probe->events.empty());
  EXPECT_TRUE(probe->damage.empty());
}

TEST_F(ReceiveTest, ASpawnWithAUidThatIsNotFreeOrAPlaceOutsideTheWorldMakesNothing) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  MakeRemoteHero(3840.0f, 2656.0f);
  AddProbe(10, InRoom(7, 7));
  const struct {
    uint32_t uid;
    Vec2 at;
  } cases[] = {
      {Aveth::kServerHeroUid, InRoom(7, 7)},
      {Aveth::kClientHeroUid, InRoom(7, 7)},
      {5, InRoom(7, 7)},
      {10, InRoom(7, 7)},
      {0x80000000u, InRoom(7, 7)},
      {20, Vec2(-64.0f, 100.0f)},
      {21, Vec2(100.0f, 1.0e9f)},
      {22, Vec2(NAN, 100.0f)},
  };
  const unsigned entitiesBefore = renderer->GetEntityCount();
  for (const auto& testCase : cases) {
    Deliver(MSG_SPAWN, Payload().AddRecord(testCase.uid, 2, testCase.at));
  }
  EXPECT_EQ(renderer->GetEntityCount(), entitiesBefore);
  EXPECT_EQ(LogLines("CTestApp::netRecvData: spawn with uid 10, which is not free"), 1);
  EXPECT_EQ(LogLines("CTestApp::netRecvData: spawn with uid 2147483648, which is not free"), 1);
  EXPECT_TRUE(log.Contains("CTestApp::netRecvData: spawn of 22 at (nan, 100.000000), outside the world"));
  EXPECT_EQ(app->nextUid, CTestApp::kFirstSpawnedUid);
}

TEST_F(ReceiveTest, ASpawnMakesARemoteReplicaWithTheServersUid) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  Deliver(MSG_SPAWN, Payload().AddRecord(40, TYPE_PUSHBLOCK, Vec2(3712.0f, 2592.0f)));
  Entity* block = renderer->FindEntity(40);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::string(block->name), "Pushblock");
  EXPECT_EQ(block->typeId, TYPE_PUSHBLOCK);
  EXPECT_TRUE(block->remote);
  EXPECT_EQ(block->GetPosition(), Vec2(3712.0f, 2592.0f));
  EXPECT_EQ(app->nextUid, CTestApp::kFirstSpawnedUid) << "the server gives the uids";
  const unsigned entities = renderer->GetEntityCount();
  Deliver(MSG_SPAWN, Payload().AddRecord(41, TYPE_RESERVED, Vec2(3712.0f, 2592.0f)));
  EXPECT_EQ(renderer->GetEntityCount(), entities) << "the reserved type makes nothing";
}

TEST_F(ReceiveTest, APushStartsTheSlideOfThatBlockOnly) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  const Vec2 tile(116.0f, 81.0f);
  auto* block = static_cast<Pushblock*>(app->Spawn(TYPE_PUSHBLOCK, &tile, true, 40));
  ASSERT_NE(block, nullptr);
  Probe* probe = AddProbe(41, InRoom(7, 7));
  Deliver(MSG_PUSH, Payload().Add(uint32_t{41}).Add(int32_t{DIR_LEFT}));
  Deliver(MSG_PUSH, Payload().Add(uint32_t{40}).Add(int32_t{9}));
  EXPECT_FALSE(block->moved) << "no such direction";
  EXPECT_TRUE(probe->events.empty());
  Deliver(MSG_PUSH, Payload().Add(uint32_t{40}).Add(int32_t{DIR_LEFT}));
  EXPECT_TRUE(block->moved);
  EXPECT_EQ(block->state, Pushblock::STATE_SLIDING);
  EXPECT_EQ(block->target, Vec2(115.0f * 32, 81.0f * 32));
}

// A client's hero pushes blocks too: its push must reach the server's block,
// or the two worlds part ways.
TEST_F(ReceiveTest, AClientsPushSlidesTheServersBlock) {
  MakeLocalHero(3840.0f, 2656.0f);
  MakeRemoteHero(3776.0f, 2656.0f);
  const Vec2 tile(116.0f, 81.0f);
  auto* block = static_cast<Pushblock*>(app->Spawn(TYPE_PUSHBLOCK, &tile, true, -1));
  ASSERT_NE(block, nullptr);
  Deliver(MSG_PUSH, Payload().Add(block->GetUID()).Add(int32_t{DIR_LEFT}));
  EXPECT_EQ(LogLines("Server received unauthorized net message:"), 0);
  EXPECT_TRUE(block->moved);
  EXPECT_EQ(block->state, Pushblock::STATE_SLIDING);
}

TEST_F(ReceiveTest, ADroppedPickupIsMadeHereWithItsPlaceAndLife) {
  app->isServer = false;
  MakeLocalHero(3776.0f, 2656.0f);
  const unsigned entities = renderer->GetEntityCount();
  Deliver(MSG_PICKUP, Payload().Add(uint32_t{PICKUP_HEART}).Add(3700.0f).Add(2600.0f).Add(10.0f));
  ASSERT_EQ(renderer->GetEntityCount(), entities + 1);
  auto* heart = dynamic_cast<Heart*>(renderer->GetEntity(entities));
  ASSERT_NE(heart, nullptr) << "added at the back";
  EXPECT_EQ(heart->GetPosition(), Vec2(3700.0f, 2600.0f));
  EXPECT_EQ(heart->life, 10.0f);
  EXPECT_EQ(LogLines("pickup spawned: 4 (3700.000000, 2600.000000) life: 10.000000"), 1);

  const float bad[][3] = {{NAN, 2600.0f, 10.0f},
                          {3700.0f, -1.0f, 10.0f},
                          {3700.0f, 2600.0f, INFINITY},
                          {3700.0f, 2600.0f, NAN},
                          {1.0e9f, 2600.0f, 10.0f}};
  for (const auto& fields : bad) {
    Deliver(MSG_PICKUP, Payload().Add(uint32_t{PICKUP_KEY}).Add(fields[0]).Add(fields[1]).Add(fields[2]));
  }
  EXPECT_EQ(renderer->GetEntityCount(), entities + 1);
}
