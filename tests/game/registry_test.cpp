// The entity registry: Spawn by type number, PopulateRoom from a room's spawn
// counts and second tile layer, and PickFreeTile.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "game/netmessages.h"
#include "game/pushblock.h"
#include "game/rendprael.h"
#include "tests/game/net_test_support.h"
#include "tests/game/registry_fixtures.h"

namespace {

using registry_test::RegistryTest;

TEST_F(RegistryTest, ReservedTypeCreatesNothing) {
  LoadWorld();
  const Vec2 tile(3.0f, 4.0f);
  EXPECT_EQ(app->Spawn(TYPE_RESERVED, &tile, true, -1), nullptr);
  EXPECT_EQ(renderer->GetEntityCount(), 0u);
  EXPECT_EQ(app->nextUid, CTestApp::kFirstSpawnedUid);
}

TEST_F(RegistryTest, FreeTileIsAnInnerTileOfTheRoom) {
  LoadWorld();
  for (unsigned seed = 1; seed <= 50; ++seed) {
    std::srand(seed);
    Vec2 tile;
    ASSERT_TRUE(app->PickFreeTile(&tile, kRoomX, kRoomY));
    EXPECT_GE(tile.x, kRoomX * 16 + 2);
    EXPECT_LE(tile.x, kRoomX * 16 + 13);
    EXPECT_GE(tile.y, kRoomY * 11 + 2);
    EXPECT_LE(tile.y, kRoomY * 11 + 8);
  }
}

// Every free value is accepted; the room's only free tile is always found,
// also when the random draws keep missing it.
TEST_F(RegistryTest, OnlyFreeTileIsFoundForEachFreeValue) {
  for (uint8_t free : {0, 16, 32, 64, 145, 160, 161}) {
    FillInnerTiles(48);
    map.Cell(kRoomX, kRoomY, 13, 8) = free;
    LoadWorld();
    Vec2 tile;
    ASSERT_TRUE(app->PickFreeTile(&tile, kRoomX, kRoomY)) << "value " << int(free);
    EXPECT_EQ(tile, RoomTile(13, 8)) << "value " << int(free);
  }
}

// A room without a free inner tile gives up instead of drawing for ever, and
// its monsters are not spawned.
TEST_F(RegistryTest, RoomWithoutFreeTileGetsNoMonsters) {
  FillInnerTiles(48);
  map.Cell(kRoomX, kRoomY, 0, 0) = 0;  // free, but on the room's edge
  SetCounts(TYPE_PELVOK_BLUE, 2, 2);
  LoadWorld();
  Vec2 tile(-1.0f, -1.0f);
  EXPECT_FALSE(app->PickFreeTile(&tile, kRoomX, kRoomY));
  app->PopulateRoom(kRoomX, kRoomY, false);
  EXPECT_EQ(renderer->GetEntityCount(), 0u);
  EXPECT_TRUE(log.Contains("room (3, 2) has no free tile"));
}

TEST_F(RegistryTest, RoomOutsideTheWorldIsLoggedAndLeftAlone) {
  LoadWorld();
  app->PopulateRoom(40, 2, false);
  EXPECT_EQ(renderer->GetEntityCount(), 0u);
  EXPECT_TRUE(log.Contains("room (40, 2) is outside the world"));
}

TEST_F(RegistryTest, EverySecondLayerTileIsReportedDirty) {
  SecondLayerCell(4, 4) = 7;
  SecondLayerCell(15, 10) = 9;
  SecondLayerCell(16, 4) = 7;  // the next room's
  LoadWorld();
  app->PopulateRoom(kRoomX, kRoomY, false);
  const std::string text = log.Text();
  size_t count = 0;
  for (size_t at = text.find("dirty tile"); at != std::string::npos; at = text.find("dirty tile", at + 1))
    ++count;
  EXPECT_EQ(count, 2u);
}

TEST_F(RegistryTest, PushBlocksComeFromTheSecondLayer) {
  SecondLayerCell(3, 4) = 16;
  SecondLayerCell(12, 9) = 16;
  SecondLayerCell(7, 7) = 5;  // some other mark: no block
  LoadWorld();
  app->PopulateRoom(kRoomX, kRoomY, false);
  ASSERT_EQ(CountType(TYPE_PUSHBLOCK), 2);
  std::set<std::pair<float, float>> tiles;
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    Entity* block = renderer->GetEntity(i);
    EXPECT_TRUE(dynamic_cast<Pushblock*>(block) != nullptr);
    tiles.insert({block->GetPosition().x / 32.0f, block->GetPosition().y / 32.0f});
  }
  EXPECT_EQ(tiles, (std::set<std::pair<float, float>>{{RoomTile(3, 4).x, RoomTile(3, 4).y},
                                                      {RoomTile(12, 9).x, RoomTile(12, 9).y}}));
}

TEST_F(RegistryTest, ServerGivesConsecutiveUidsFromTen) {
  LoadWorld();
  const Vec2 tile = RoomTile(5, 4);
  EXPECT_EQ(app->Spawn(TYPE_PUSHBLOCK, &tile, true, -1)->GetUID(), 10u);
  EXPECT_EQ(app->Spawn(TYPE_PUSHBLOCK, &tile, true, -1)->GetUID(), 11u);
  EXPECT_EQ(app->Spawn(TYPE_RESERVED, &tile, true, -1), nullptr);
  EXPECT_EQ(app->Spawn(TYPE_PUSHBLOCK, &tile, true, -1)->GetUID(), 12u);
  EXPECT_EQ(app->nextUid, 13);
}

TEST_F(RegistryTest, ClientSpawnWithTheSentUidLeavesNextUidAlone) {
  app->isServer = false;
  LoadWorld();
  const Vec2 tile = RoomTile(5, 4);
  Entity* entity = app->Spawn(TYPE_PUSHBLOCK, &tile, true, 57);
  ASSERT_NE(entity, nullptr);
  EXPECT_EQ(entity->GetUID(), 57u);
  EXPECT_EQ(app->nextUid, CTestApp::kFirstSpawnedUid);
}

// The peer hears message 3 with the 24-byte record: uid, type, position.
TEST_F(RegistryTest, ServerWithAPeerAnnouncesTheNewEntity) {
  StartTestLog();
  NetConnection client(NetConnection::kAccessPassword, "Client");
  PeerRecorder heard(client);
  app->connection = OX_NEW NetConnection(NetConnection::kAccessPassword, "Server");
  ASSERT_TRUE(ConnectOnLoopback(*app->connection, client));
  LoadWorld();
  const Vec2 tile = RoomTile(5, 4);
  Entity* entity = app->Spawn(TYPE_PUSHBLOCK, &tile, true, -1);
  ASSERT_NE(entity, nullptr);
  EXPECT_EQ(app->Spawn(TYPE_RESERVED, &tile, true, -1), nullptr);
  ASSERT_TRUE(PumpUntil({app->connection, &client}, [&] { return !heard.messages.empty(); }));
  PumpFor({app->connection, &client}, 50);
  ASSERT_EQ(heard.messages.size(), 1u);
  const ReceivedMessage& message = heard.messages[0];
  EXPECT_EQ(message.type, MSG_SPAWN);
  ASSERT_EQ(message.payload.size(), Entity::kStateRecordBytes);
  uint32_t uid = 0;
  int32_t type = 0;
  float x = 0.0f;
  std::memcpy(&uid, message.payload.data(), 4);
  std::memcpy(&type, message.payload.data() + 4, 4);
  std::memcpy(&x, message.payload.data() + 8, 4);
  EXPECT_EQ(uid, 10u);
  EXPECT_EQ(type, TYPE_PUSHBLOCK);
  EXPECT_EQ(x, tile.x * 32.0f);
}

}  // namespace
