// CTestApp: the entity registry. Spawn turns a type number into an object in
// the world with a network-wide uid; PopulateRoom fills a room with the
// monsters its spawn counts ask for and the push blocks its second tile layer
// holds, when a hero enters it.
//
// Uids: 0 and 1 are the heroes', 2 to 9 are never given, and the server gives
// every entity it spawns the next one from 10 up. A client spawns only with
// the uid the server sent.
#include <cstdlib>

#include "game/aveth.h"
#include "game/entitytypes.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/logging.h"

namespace {

Orvix::COrvixLogger& Logger() { return Orvix::CSingleton<Orvix::COrvixLogger>::Instance(); }

// The event that puts an entity on a tile (a = column, b = row).
constexpr int kPlaceEvent = 11;
// Layer-0 tile values a monster may be placed on.
constexpr unsigned char kFreeTiles[] = {0, 16, 32, 64, 145, 160, 161};
// The candidates: the inner 12 x 7 tiles of a room, two tiles in from its
// left and top edges.
constexpr int kInnerColumns = 12;
constexpr int kInnerRows = 7;
constexpr int kInnerOffset = 2;
// Random draws before the candidates are searched in order; a room whose
// inner tiles are all taken gets nothing instead of stopping the game.
constexpr int kFreeTileDraws = 256;
// Monsters one room may hold from its spawn counts: one per inner tile. The
// counts allow 64 types times 127, and a world list that long would make
// every frame crawl.
constexpr int kMaxMonstersPerRoom = kInnerColumns * kInnerRows;
// The push block tile of map layer 1.
constexpr unsigned char kPushBlockTile = 16;

bool IsFreeTile(unsigned char tile) {
  for (unsigned char free : kFreeTiles)
    if (tile == free) return true;
  return false;
}

// The room of an entity as the registry reckons it: the tile of its centre,
// counted in whole rooms.
bool IsInRoom(Entity* entity, int roomColumn, int roomRow) {
  const Vec2 room = Entity::RoomOfPoint(entity->GetPosition());
  return static_cast<int>(room.x) == roomColumn && static_cast<int>(room.y) == roomRow;
}

}  // namespace

Entity* CTestApp::Spawn(int typeId, const Vec2* tile, bool, int32_t givenUid) {
  if (renderer == nullptr || tile == nullptr) {
    Logger().Log("CTestApp::Spawn: no world to put type %d into", typeId);
    return nullptr;
  }
  Entity* entity = CreateEntityOfType(typeId, connection);
  if (entity == nullptr) return nullptr;
  renderer->AddEntity(entity, true);
  EventParam column(static_cast<int32_t>(tile->x));
  EventParam row(static_cast<int32_t>(tile->y));
  entity->SendEvent(kPlaceEvent, &column, &row);
  entity->typeId = typeId;
  if (givenUid < 0)
    entity->SetUID(static_cast<uint32_t>(nextUid++));
  else
    entity->SetUID(static_cast<uint32_t>(givenUid));
  Logger().Log("CTestApp::Spawn: %s (type %d) uid %u on tile (%d, %d)", entity->name, typeId,
               entity->GetUID(), column.i, row.i);
  if (isServer && connection != nullptr && connection->IsConnected()) {
    // The peer makes its replica from the common record alone.
    NetMessage message(MSG_SPAWN);
    if (entity->Entity::WriteState(&message.stream))
      connection->Send(message);
    else
      Logger().Log("CTestApp::Spawn: the record of uid %u does not fit its message", entity->GetUID());
  }
  return entity;
}

void CTestApp::PopulateRoom(int roomColumn, int roomRow, bool fromPeer) {
  if (renderer == nullptr) return;
  const RoomRecord* record = renderer->GetRoomRecord(roomColumn, roomRow);
  if (record == nullptr) {
    Logger().Log("CTestApp::PopulateRoom: room (%d, %d) is outside the world", roomColumn, roomRow);
    return;
  }
  // A room the other hero already stands in was populated when it came.
  Aveth* otherHero = fromPeer ? localHero : remoteHero;
  if (otherHero != nullptr && IsInRoom(otherHero, roomColumn, roomRow)) return;

  SpawnMonsters(*record, roomColumn, roomRow);
  SpawnPushBlocks(roomColumn, roomRow);
}

int CTestApp::RollSpawnCount(int minimum, int maximum) {
  if (maximum <= 0) return 0;
  // A pair whose minimum lies above its maximum would leave no count to draw
  // from (and a width of 0 would divide by zero): it spawns its maximum.
  if (minimum > maximum) minimum = maximum;
  return std::rand() % (maximum + 1 - minimum) + minimum;
}

void CTestApp::SpawnMonsters(const RoomRecord& record, int roomColumn, int roomRow) {
  int placed = 0;
  for (int type = 0; type < RoomRecord::kSpawnTypes; ++type) {
    const int count = RollSpawnCount(record.spawnCounts[type][0], record.spawnCounts[type][1]);
    for (int i = 0; i < count; ++i) {
      if (placed == kMaxMonstersPerRoom) {
        Logger().Log(
            "CTestApp::PopulateRoom: room (%d, %d) asks for more than %d monsters; the rest are not placed",
            roomColumn, roomRow, kMaxMonstersPerRoom);
        return;
      }
      ++placed;
      Vec2 tile;
      if (!PickFreeTile(&tile, roomColumn, roomRow)) {
        Logger().Log("CTestApp::PopulateRoom: room (%d, %d) has no free tile; no monsters there", roomColumn,
                     roomRow);
        return;
      }
      Spawn(type, &tile, true, -1);
    }
  }
}

void CTestApp::SpawnPushBlocks(int roomColumn, int roomRow) {
  const int firstColumn = roomColumn * Entity::kRoomWidthTiles;
  const int firstRow = roomRow * Entity::kRoomHeightTiles;
  for (int column = firstColumn; column < firstColumn + Entity::kRoomWidthTiles; ++column) {
    for (int row = firstRow; row < firstRow + Entity::kRoomHeightTiles; ++row) {
      const unsigned char cell = renderer->GetMapTile(column, row, 1);
      if (cell == 0) continue;
      Logger().Log("dirty tile");
      if (cell != kPushBlockTile) continue;
      const Vec2 tile(static_cast<float>(column), static_cast<float>(row));
      Spawn(TYPE_PUSHBLOCK, &tile, true, -1);
    }
  }
}

bool CTestApp::PickFreeTile(Vec2* result, int roomColumn, int roomRow) {
  if (renderer == nullptr || result == nullptr) return false;
  const int firstColumn = roomColumn * Entity::kRoomWidthTiles + kInnerOffset;
  const int firstRow = roomRow * Entity::kRoomHeightTiles + kInnerOffset;
  for (int draw = 0; draw < kFreeTileDraws; ++draw) {
    // The column is drawn first.
    const int column = std::rand() % kInnerColumns + firstColumn;
    const int row = std::rand() % kInnerRows + firstRow;
    if (IsFreeTile(renderer->GetMapTile(column, row, 0))) {
      *result = Vec2(static_cast<float>(column), static_cast<float>(row));
      return true;
    }
  }
  // So many misses mean few free tiles, or none: look at each one in turn.
  for (int column = firstColumn; column < firstColumn + kInnerColumns; ++column) {
    for (int row = firstRow; row < firstRow + kInnerRows; ++row) {
      if (!IsFreeTile(renderer->GetMapTile(column, row, 0))) continue;
      *result = Vec2(static_cast<float>(column), static_cast<float>(row));
      return true;
    }
  }
  return false;
}
