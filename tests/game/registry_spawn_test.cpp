// The registry's Spawn and PopulateRoom with the game's own classes: the type
// table, uids, the message to a connected peer, the counts of a room, the
// push blocks, and a room entered by the second hero.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "game/bat.h"
#include "game/gorrit.h"
#include "game/murla.h"
#include "game/netmessages.h"
#include "game/pelvokblue.h"
#include "game/pelvokred.h"
#include "game/pushblock.h"
#include "game/skeleton.h"
#include "game/snake.h"
#include "tests/game/net_test_support.h"
#include "tests/game/registry_fixtures.h"

namespace {

using registry_test::RegistryTest;

struct TypeCase {
  int typeId;
  bool (*isExpected)(Entity*);
  const char* name;
};

template <typename T>
bool Is(Entity* entity) {
  return dynamic_cast<T*>(entity) != nullptr;
}
bool IsBlueGorrit(Entity* entity) { return Is<Gorrit>(entity) && static_cast<Gorrit*>(entity)->blue; }
bool IsRedGorrit(Entity* entity) { return Is<Gorrit>(entity) && !static_cast<Gorrit*>(entity)->blue; }
bool IsBlueBat(Entity* entity) { return Is<Bat>(entity) && static_cast<Bat*>(entity)->blue; }
bool IsRedBat(Entity* entity) { return Is<Bat>(entity) && !static_cast<Bat*>(entity)->blue; }

TEST_F(RegistryTest, EachTypeNumberMakesItsClassOnTheTile) {
  const TypeCase cases[] = {
      {2, Is<CPelvokBlue>, "CPelvokBlue"},
      {6, Is<Murla>, "Murla"},
      {7, Is<CPelvokRed>, "CPelvokRed"},
      {9, IsRedGorrit, "red Gorrit"},
      {10, IsBlueGorrit, "blue Gorrit"},
      {11, Is<Skeleton>, "Skeleton"},
      {12, IsBlueBat, "blue Bat"},
      {13, IsRedBat, "red Bat"},
      {18, Is<Snake>, "Snake"},
      {30, Is<Pushblock>, "Pushblock"},
      {0, Is<CPelvokRed>, "CPelvokRed"},
      {63, Is<CPelvokRed>, "CPelvokRed"},
  };
  LoadWorld();
  for (const TypeCase& test : cases) {
    const Vec2 tile = RoomTile(5, 4);
    Entity* entity = app->Spawn(test.typeId, &tile, true, -1);
    ASSERT_NE(entity, nullptr) << test.name;
    EXPECT_TRUE(test.isExpected(entity)) << "type " << test.typeId << " made " << entity->name;
    EXPECT_EQ(entity->typeId, test.typeId);
    EXPECT_EQ(entity->GetPosition(), tile * 32.0f) << test.name;
    EXPECT_EQ(entity->net, app->connection);
    EXPECT_EQ(renderer->GetEntity(0), entity) << "added at the front";
  }
}

struct CountCase {
  int minimum, maximum;
  int fewest, most;
};

TEST_F(RegistryTest, RoomCountsGiveNumbersBetweenTheirBounds) {
  const CountCase cases[] = {{0, 0, 0, 0},
                             {2, 0, 0, 0},
                             {1, 3, 1, 3},
                             {-2, 1, 0, 1},
                             // a minimum above the maximum spawns the maximum
                             {2, 1, 1, 1},
                             {5, 2, 2, 2}};
  for (const CountCase& test : cases) {
    SetCounts(TYPE_SNAKE, test.minimum, test.maximum);
    LoadWorld();
    std::set<int> seen;
    for (unsigned seed = 1; seed <= 40; ++seed) {
      std::srand(seed);
      app->PopulateRoom(kRoomX, kRoomY, false);
      seen.insert(CountType(TYPE_SNAKE));
      TearDownWorld();
    }
    EXPECT_EQ(*seen.begin(), test.fewest) << test.minimum << ", " << test.maximum;
    EXPECT_EQ(*seen.rbegin(), test.most) << test.minimum << ", " << test.maximum;
  }
}

TEST_F(RegistryTest, MonstersStandOnFreeInnerTilesOfTheRoom) {
  FillInnerTiles(48);
  map.Cell(kRoomX, kRoomY, 4, 3) = 0;
  map.Cell(kRoomX, kRoomY, 11, 7) = 161;
  SetCounts(TYPE_PELVOK_BLUE, 6, 6);
  LoadWorld();
  app->PopulateRoom(kRoomX, kRoomY, false);
  ASSERT_EQ(CountType(TYPE_PELVOK_BLUE), 6);
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    const Vec2 at = renderer->GetEntity(i)->GetPosition() * (1.0f / 32.0f);
    EXPECT_TRUE(at == RoomTile(4, 3) || at == RoomTile(11, 7)) << at.x << ", " << at.y;
  }
}

// The room is populated once for both heroes: when the second one comes in,
// the first one is already there.
TEST_F(RegistryTest, SecondHeroEnteringAPopulatedRoomAddsNothing) {
  SetCounts(TYPE_PELVOK_RED, 2, 2);
  LoadWorld();
  const float inRoomX = kRoomX * 512.0f + 200.0f;
  const float inRoomY = kRoomY * 352.0f + 150.0f;
  Aveth* server = MakeHero(inRoomX, inRoomY);
  heroes.pop_back();
  app->localHero = server;
  Aveth* client = MakeHero(inRoomX - 2000.0f, inRoomY);
  heroes.pop_back();
  app->remoteHero = client;

  app->PopulateRoom(kRoomX, kRoomY, false);  // the server's hero came first
  EXPECT_EQ(CountType(TYPE_PELVOK_RED), 2);
  client->SetPosition(Vec2(inRoomX + 64.0f, inRoomY));
  app->PopulateRoom(kRoomX, kRoomY, true);  // then the client's
  EXPECT_EQ(CountType(TYPE_PELVOK_RED), 2);
  app->PopulateRoom(kRoomX, kRoomY, false);  // the server's hero again, the client's there
  EXPECT_EQ(CountType(TYPE_PELVOK_RED), 2);

  client->SetPosition(Vec2(inRoomX - 2000.0f, inRoomY));
  app->PopulateRoom(kRoomX, kRoomY, false);  // after a cull the room fills again
  EXPECT_EQ(CountType(TYPE_PELVOK_RED), 4);
}

}  // namespace
