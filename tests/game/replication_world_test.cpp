// The server's upkeep of the world list (which entities it broadcasts, which
// it culls), the network tick, and the arrival and departure of the peer.
#include <gtest/gtest.h>

#include <memory>

#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "orvix/memtrack.h"
#include "tests/game/net_test_support.h"
#include "tests/game/replication_fixtures.h"

using replication_test::InRoom;
using replication_test::Probe;

namespace {

class WorldListTest : public replication_test::ReplicationTest {
 protected:
  // The application's connection (it owns it), joined on loopback by a
  // guest that records what it receives.
  void ConnectGuest(bool bindApplication = false) {
    NetConnection* host = OX_NEW NetConnection(NetConnection::kAccessPassword, "Host");
    app->connection = host;
    if (bindApplication) {
      host->SetCallbacks(NetCallbacks::Bind<CTestApp, &CTestApp::netAuthenticated, &CTestApp::netRecvData,
                                            &CTestApp::netConnectionDropped>(app.get()));
    }
    guest = std::make_unique<NetConnection>(NetConnection::kAccessPassword, "Guest");
    guestLog = std::make_unique<PeerRecorder>(*guest);
    ASSERT_TRUE(ConnectOnLoopback(*host, *guest));
  }
  // Everything sent so far has reached the guest.
  void Settle() { PumpFor({app->connection, guest.get()}, 100); }
  int Received(uint32_t type) const {
    int count = 0;
    for (const ReceivedMessage& message : guestLog->messages) count += message.type == type;
    return count;
  }

  std::unique_ptr<NetConnection> guest;
  std::unique_ptr<PeerRecorder> guestLog;
};

}  // namespace

TEST_F(WorldListTest, EntitiesOfTheClientsRoomAreChosenEverySecondFrame) {
  MakeLocalHero(InRoom(7, 7).x, InRoom(7, 7).y);
  MakeRemoteHero(InRoom(8, 7).x, InRoom(8, 7).y);
  Probe* first = AddProbe(10, InRoom(8, 7, 100.0f));
  Probe* second = AddProbe(11, InRoom(8, 7, 200.0f));
  int chosen[2] = {};
  for (int frame = 0; frame < 6; ++frame) {
    app->UpdateWorldList();
    chosen[0] += first->syncSelected;
    chosen[1] += second->syncSelected;
    EXPECT_NE(first->syncSelected, second->syncSelected) << "neighbours go in turns";
    EXPECT_EQ(app->syncCount, 2) << "the local hero and one of the two";
  }
  EXPECT_EQ(chosen[0], 3);
  EXPECT_EQ(chosen[1], 3);
}

TEST_F(WorldListTest, AMonsterThatLeavesTheClientsRoomForTheServerHerosIsNeitherSentNorCulled) {
  ConnectGuest();
  MakeLocalHero(InRoom(7, 7).x, InRoom(7, 7).y);
  MakeRemoteHero(InRoom(8, 7).x, InRoom(8, 7).y);
  Probe* monster = AddProbe(10, InRoom(8, 7));
  app->UpdateWorldList();
  app->UpdateWorldList();
  monster->SetPosition(InRoom(7, 7, 200.0f));
  for (int frame = 0; frame < 4; ++frame) {
    app->UpdateWorldList();
    EXPECT_FALSE(monster->syncSelected) << frame;
    app->SendFullState();
  }
  EXPECT_TRUE(InWorld(monster));
  Settle();
  EXPECT_EQ(Received(MSG_CULL), 0);
  EXPECT_EQ(Received(MSG_ENTITY_STATE), 0);
}

TEST_F(WorldListTest, AMonsterInARoomNoHeroIsInIsCulledOnTheNextFrame) {
  ConnectGuest();
  MakeLocalHero(InRoom(7, 7).x, InRoom(7, 7).y);
  MakeRemoteHero(InRoom(8, 7).x, InRoom(8, 7).y);
  Probe* monster = AddProbe(12, InRoom(8, 7), &released);
  Probe* spark = AddProbe(13, InRoom(9, 7));
  spark->transient = true;  // effects are made on each side on its own
  app->UpdateWorldList();
  monster->SetPosition(InRoom(9, 7));
  app->UpdateWorldList();
  EXPECT_FALSE(InWorld(monster));
  EXPECT_TRUE(InWorld(spark));
  app->ReleaseEndedEntities();
  EXPECT_EQ(released, 1);
  Settle();
  ASSERT_EQ(Received(MSG_CULL), 1);
  for (const ReceivedMessage& message : guestLog->messages) {
    if (message.type != MSG_CULL) continue;
    EXPECT_EQ(message.payload, (std::vector<uint8_t>{12, 0, 0, 0}));
  }
}

TEST_F(WorldListTest, WithoutAClientEveryRoomButTheServerHerosIsEmptied) {
  MakeLocalHero(InRoom(7, 7).x, InRoom(7, 7).y);
  Probe* near = AddProbe(10, InRoom(7, 7));
  Probe* far = AddProbe(11, InRoom(8, 7));
  app->UpdateWorldList();
  EXPECT_TRUE(InWorld(near));
  EXPECT_FALSE(InWorld(far));
  EXPECT_FALSE(near->syncSelected);
}

// A dead entity has been announced already and leaves through the tick pass;
// one that has ended without its state reaching 0 leaves here, on both sides.
TEST_F(WorldListTest, EndedEntitiesLeaveWithoutAMessageAndDeadOnesAreLeftToTheTickPass) {
  ConnectGuest();
  MakeLocalHero(InRoom(7, 7).x, InRoom(7, 7).y);
  MakeRemoteHero(InRoom(8, 7).x, InRoom(8, 7).y);
  Probe* dying = AddProbe(10, InRoom(9, 7));
  dying->dead = true;
  Probe* playedOut = AddProbe(11, InRoom(8, 7));
  playedOut->dead = true;
  playedOut->transient = true;
  playedOut->removed = true;
  app->UpdateWorldList();
  EXPECT_TRUE(InWorld(dying));
  EXPECT_FALSE(InWorld(playedOut));
  Settle();
  EXPECT_EQ(Received(MSG_CULL), 0);
}

TEST_F(WorldListTest, AClientDropsEndedReplicasButKeepsItsHeroes) {
  app->isServer = false;
  Aveth* local = MakeLocalHero(InRoom(7, 7).x, InRoom(7, 7).y);
  Aveth* remote = MakeRemoteHero(InRoom(9, 7).x, InRoom(9, 7).y);
  Probe* ended = AddProbe(10, InRoom(7, 7), &released);
  ended->removed = true;
  Probe* far = AddProbe(11, InRoom(12, 7), &released);
  remote->removed = true;
  app->UpdateWorldList();
  app->ReleaseEndedEntities();
  EXPECT_EQ(released, 1);
  EXPECT_TRUE(InWorld(far)) << "a client never culls";
  EXPECT_TRUE(InWorld(local));
  EXPECT_TRUE(InWorld(remote));
}

TEST_F(WorldListTest, TheStateBroadcastSendsEachChosenEntityInAMessageOfItsOwn) {
  ConnectGuest();
  MakeLocalHero(InRoom(7, 7).x, InRoom(7, 7).y);
  MakeRemoteHero(InRoom(8, 7).x, InRoom(8, 7).y);
  AddProbe(10, InRoom(8, 7, 100.0f));
  AddProbe(11, InRoom(8, 7, 200.0f));
  AddProbe(12, InRoom(8, 7, 300.0f));
  for (int frame = 0; frame < 2; ++frame) {
    app->UpdateWorldList();
    app->SendFullState();
    EXPECT_EQ(app->syncCount, 0);
  }
  app->SendFullState();  // nothing chosen since the last broadcast
  Settle();
  std::vector<uint32_t> uids;
  for (const ReceivedMessage& message : guestLog->messages) {
    ASSERT_EQ(message.type, MSG_ENTITY_STATE);
    ASSERT_EQ(message.payload.size(), 4u + Entity::kStateRecordBytes);
    EXPECT_EQ(message.payload[0], 1u) << "a count of one";
    uids.push_back(message.payload[4]);
  }
  std::sort(uids.begin(), uids.end());
  EXPECT_EQ(uids, (std::vector<uint32_t>{10, 11, 12})) << "each once in two frames, no hero";
}

TEST_F(WorldListTest, TheNetworkTickSendsAtMostEverySixteenPointSixMilliseconds) {
  ConnectGuest();
  Aveth* local = MakeLocalHero(3840.0f, 2656.0f);
  local->health = 2.5f;
  app->lastSendTick = Orvix::GetTickCount();
  const struct {
    uint32_t advanceMs;
    int sent;
  } steps[] = {{0, 0}, {10, 0}, {7, 1}, {16, 1}, {1, 2}, {100, 3}};
  for (const auto& step : steps) {
    hero_test::ClockScope::Advance(step.advanceMs);
    app->NetworkTick();
    Settle();
    EXPECT_EQ(Received(MSG_PLAYER_STATE), step.sent) << step.advanceMs;
  }
  ASSERT_FALSE(guestLog->messages.empty());
  const ReceivedMessage& state = guestLog->messages.back();
  ASSERT_EQ(state.payload.size(), 16u + 9u) << "the hero, then its boomerang entry";
  float health = 0.0f;
  std::memcpy(&health, state.payload.data() + 12, sizeof health);
  EXPECT_EQ(health, 2.5f);
  float boomerangX = 0.0f;
  std::memcpy(&boomerangX, state.payload.data() + 16, sizeof boomerangX);
  EXPECT_EQ(boomerangX, local->GetBoomerangInUse()->GetPosition().x);
  EXPECT_EQ(state.payload[24], 0) << "in the hero's hand";

  MakeRemoteHero(3776.0f, 2656.0f);
  hero_test::ClockScope::Advance(20);
  app->NetworkTick();
  Settle();
  EXPECT_EQ(guestLog->messages.back().payload.size(), 16u + 2 * 9u) << "and the client's hero's";
}

TEST_F(WorldListTest, APeerJoinsLeavesAndAnotherJoinsWithAHeroOfItsOwn) {
  MakeLocalHero(3840.0f, 2656.0f);
  std::snprintf(app->playerName, sizeof app->playerName, "%s", "Host");
  ConnectGuest(true);
  EXPECT_EQ(LogLines("Guest joined"), 1);
  Aveth* first = app->remoteHero;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetUID(), Aveth::kClientHeroUid);
  EXPECT_TRUE(first->remote);
  EXPECT_TRUE(first->netUpdated);
  EXPECT_EQ(first->GetPosition(), Vec2(118.0f * 32, 83.0f * 32));
  EXPECT_TRUE(InWorld(first));
  EXPECT_STREQ(app->remoteName, "Guest");

  // The same peer name arriving again while the hero exists reuses it.
  first->SetState(Aveth::STATE_INACTIVE);
  app->netAuthenticated("Guest");
  EXPECT_EQ(app->remoteHero, first);
  EXPECT_EQ(first->state, Aveth::STATE_PLAYING);

  guest->Disconnect();
  PumpUntil({app->connection}, [&] { return app->remoteHero == nullptr; });
  EXPECT_EQ(LogLines("Connection Dropped"), 1);
  app->ReleaseEndedEntities();
  EXPECT_EQ(renderer->GetEntityCount(), 6u) << "the local hero, its swords and boomerangs only";

  guest = std::make_unique<NetConnection>(NetConnection::kAccessPassword, "Second\x1b[1m");
  guestLog = std::make_unique<PeerRecorder>(*guest);
  ASSERT_TRUE(guest->Connect("127.0.0.1", false, app->connection->ListeningPort()));
  ASSERT_TRUE(PumpUntil({app->connection, guest.get()}, [&] { return guest->IsAuthenticated(); }));
  ASSERT_NE(app->remoteHero, nullptr);
  EXPECT_TRUE(InWorld(app->remoteHero));
  EXPECT_EQ(LogLines("Second.[1m joined"), 1) << "the peer's name made printable";
}

TEST_F(WorldListTest, AClientThatJoinsLearnsOfEveryEntitySpawnedBeforeIt) {
  MakeLocalHero(3840.0f, 2656.0f);
  AddProbe(10, InRoom(7, 7, 100.0f));
  AddProbe(11, InRoom(7, 7, 200.0f));
  AddProbe(12, InRoom(7, 7, 300.0f))->dead = true;  // announced by its death already
  AddProbe(0, InRoom(7, 7, 300.0f));                // made by an entity, not spawned
  ConnectGuest(true);
  Settle();
  std::vector<uint32_t> spawned;
  for (const ReceivedMessage& message : guestLog->messages) {
    if (message.type != MSG_SPAWN) continue;
    ASSERT_EQ(message.payload.size(), Entity::kStateRecordBytes);
    spawned.push_back(message.payload[0]);
  }
  EXPECT_EQ(spawned, (std::vector<uint32_t>{10, 11}));
}
