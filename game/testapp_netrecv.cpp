// CTestApp: what each received game message does. netRecvData
// (testapp_net.cpp) has already checked that the sender may send it and that
// the payload holds at least the fixed fields read here.
//
// Payloads, little-endian (f32 floats, i32 / u32 integers):
//   0  player state: x f32 | y f32 | direction i32 | health f32; from the
//      server then, for its own hero and then for the client's: boomerang
//      x f32 | y f32 | visible u8 (9 bytes each)
//   1  room entered: column f32 | row f32
//   2  state update: count u32 | count entity state records (the 24-byte
//      record, then the class's own fields)
//   3  spawn: the new entity's 24-byte state record (uid u32 | typeId i32 |
//      x f32 | y f32 | direction i32 | hostile u8 | 3 bytes padding)
//   4  cull, 8 death: uid u32
//   5  chat: length u32 | length bytes of text
//   6  hit: uid u32 | x f32 | y f32 | health f32 | flash time f32 |
//      direction i32 | push distance i32
//   7  attack, 13 item use: the hero's position (not read)
//   9  enemy event: uid u32 | value i32
//   10 door: side i32 | room column f32 | room row f32
//   11 pickup dropped: kind u32 | x f32 | y f32 | life f32
//   12 push block slides: uid u32 | direction i32
#include <cmath>
#include <cstdint>
#include <cstring>

#include "game/aveth.h"
#include "game/net.h"
#include "game/netlogtext.h"
#include "game/netmessages.h"
#include "game/pickup.h"
#include "game/pushblock.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "game/testapp.h"
#include "game/worldbounds.h"
#include "orvix/logging.h"

namespace {

Orvix::COrvixLogger& Logger() { return Orvix::CSingleton<Orvix::COrvixLogger>::Instance(); }

constexpr uint32_t kBoomerangEntryBytes = 9;

struct BoomerangEntry {
  Vec2 at;
  uint8_t visible = 0;
};

BoomerangEntry ReadBoomerangEntry(NetStream& payload) {
  BoomerangEntry entry;
  payload.ReadValue(entry.at.x);
  payload.ReadValue(entry.at.y);
  payload.ReadValue(entry.visible);
  return entry;
}

// The server moves every boomerang; a client shows them where it says.
void ApplyBoomerangEntry(Aveth* hero, const BoomerangEntry& entry) {
  if (hero == nullptr || hero->boomerangIndex == -1 || !InWorld(entry.at)) return;
  Entity* boomerang = hero->GetBoomerangInUse();
  if (boomerang == nullptr) return;
  boomerang->SetPosition(entry.at);
  boomerang->visible = entry.visible != 0;
}

}  // namespace

Entity* CTestApp::FindNetEntity(uint32_t uid) const {
  if (uid == Aveth::kServerHeroUid || uid == Aveth::kClientHeroUid) {
    if (localHero != nullptr && localHero->GetUID() == uid) return localHero;
    if (remoteHero != nullptr && remoteHero->GetUID() == uid) return remoteHero;
    return nullptr;
  }
  return renderer != nullptr ? renderer->FindEntity(static_cast<int>(uid)) : nullptr;
}

// The peer is the authority for its own hero; the server's message also
// places the boomerangs it moves, which a server never takes from a client.
void CTestApp::ReceivePlayerState(NetStream& payload) {
  if (remoteHero == nullptr) return;
  float x = 0.0f;
  float y = 0.0f;
  int32_t facing = 0;
  float health = 0.0f;
  payload.ReadValue(x);
  payload.ReadValue(y);
  payload.ReadValue(facing);
  payload.ReadValue(health);
  if (!isServer) {
    const uint32_t size = payload.Size();
    if (size >= kPlayerStateBytes + kBoomerangEntryBytes)
      ApplyBoomerangEntry(remoteHero, ReadBoomerangEntry(payload));
    if (size >= kPlayerStateBytes + 2 * kBoomerangEntryBytes)
      ApplyBoomerangEntry(localHero, ReadBoomerangEntry(payload));
  }
  if (!InWorld(Vec2(x, y))) {
    Logger().Log("CTestApp::netRecvData: hero at (%f, %f), outside the world", x, y);
    return;
  }
  remoteHero->SetHealth(health);
  const Vec2 at = remoteHero->GetPosition();
  if (x != at.x || y != at.y) remoteHero->Animate();
  remoteHero->SetPosition(Vec2(x, y));
  remoteHero->SetDirection(facing);
}

void CTestApp::ReceiveEnterRoom(NetStream& payload) {
  float column = 0.0f;
  float row = 0.0f;
  payload.ReadValue(column);
  payload.ReadValue(row);
  int roomColumn = 0;
  int roomRow = 0;
  if (!WorldRoomOf(column, row, &roomColumn, &roomRow)) {
    Logger().Log("CTestApp::netRecvData: room (%f, %f) lies outside the world", column, row);
    return;
  }
  PopulateRoom(roomColumn, roomRow, true);
}

// Records are applied in order; the first that cannot be applied ends the
// message, since the records after it cannot be found without it.
void CTestApp::ReceiveStateUpdate(NetStream& payload) {
  uint32_t count = 0;
  payload.ReadValue(count);
  const uint32_t recordBytes = payload.Size() - sizeof count;
  if (count > recordBytes / Entity::kStateRecordBytes) {
    Logger().Log("CTestApp::netRecvData: %u state records do not fit in %u bytes", count, recordBytes);
    return;
  }
  for (uint32_t i = 0; i < count; ++i) {
    // uid, type id, x, y, ...: the record is looked at before an entity reads it.
    uint8_t record[Entity::kStateRecordBytes] = {};
    payload.Peek(record, sizeof record);
    uint32_t uid = 0;
    Vec2 at;
    std::memcpy(&uid, record, sizeof uid);
    std::memcpy(&at.x, record + 8, sizeof at.x);
    std::memcpy(&at.y, record + 12, sizeof at.y);
    if (!InWorld(at)) {
      Logger().Log("CTestApp::netRecvData: state of %u at (%f, %f), outside the world", uid, at.x, at.y);
      return;
    }
    Entity* entity = FindNetEntity(uid);
    if (entity == nullptr) {
      Logger().Log("entity not found: %d", static_cast<int>(uid));
      return;
    }
    if (!entity->ReadState(&payload)) {
      Logger().Log("CTestApp::netRecvData: the state record of %u is cut short or damaged", uid);
      return;
    }
    if (!entity->isPlayer) entity->Animate();
    entity->netUpdated = true;
  }
}

// The server's new entity gets its replica here, on the tile of the
// record's position and with the server's uid.
void CTestApp::ReceiveSpawn(NetStream& payload) {
  uint32_t uid = 0;
  int32_t typeId = 0;
  Vec2 at;
  payload.ReadValue(uid);
  payload.ReadValue(typeId);
  payload.ReadValue(at.x);
  payload.ReadValue(at.y);
  const Vec2 tile(at.x / Entity::kTileSize, at.y / Entity::kTileSize);
  int roomColumn = 0;
  int roomRow = 0;
  if (!WorldRoomOf(tile.x / Entity::kRoomWidthTiles, tile.y / Entity::kRoomHeightTiles, &roomColumn,
                   &roomRow)) {
    Logger().Log("CTestApp::netRecvData: spawn of %u at (%f, %f), outside the world", uid, at.x, at.y);
    return;
  }
  // Uids are the server's to give, once each; the heroes' are never given.
  if (uid < static_cast<uint32_t>(kFirstSpawnedUid) || uid > static_cast<uint32_t>(INT32_MAX) ||
      FindNetEntity(uid) != nullptr) {
    Logger().Log("CTestApp::netRecvData: spawn with uid %u, which is not free", uid);
    return;
  }
  if (Entity* entity = Spawn(typeId, &tile, true, static_cast<int32_t>(uid))) entity->SetRemote(true);
}

// Heroes leave the world only with their players.
void CTestApp::ReceiveCull(NetStream& payload) {
  uint32_t uid = 0;
  payload.ReadValue(uid);
  Entity* entity = FindNetEntity(uid);
  if (entity == nullptr || entity->isPlayer || renderer == nullptr) return;
  if (renderer->RemoveEntity(entity)) RetireEntity(entity);
}

void CTestApp::ReceiveChat(NetStream& payload) {
  uint32_t length = 0;
  payload.ReadValue(length);
  const uint32_t available = payload.Size() - sizeof length;
  char text[512];
  PrintableText(payload.Data() + sizeof length, length < available ? length : available, text, sizeof text);
  Logger().Log("%s: %s", remoteName, text);
}

// The hitter has already applied the hit to its own copy; the report brings
// its result here. The local rules still run (flashing, knock-back, a stun
// or a death), fed with the damage that turns our health into the reported
// one, and the reported health is then taken as it stands.
void CTestApp::ReceiveHit(NetStream& payload) {
  uint32_t uid = 0;
  Vec2 at;
  float health = 0.0f;
  float flashTime = 0.0f;
  int32_t knockDirection = 0;
  int32_t pushDistance = 0;
  payload.ReadValue(uid);
  payload.ReadValue(at.x);
  payload.ReadValue(at.y);
  payload.ReadValue(health);
  payload.ReadValue(flashTime);
  payload.ReadValue(knockDirection);
  payload.ReadValue(pushDistance);
  Entity* entity = FindNetEntity(uid);
  if (entity == nullptr) return;
  if (!InWorld(at)) {
    Logger().Log("CTestApp::netRecvData: hit of %u at (%f, %f), outside the world", uid, at.x, at.y);
    return;
  }
  entity->SetPosition(at);
  entity->TakeDamage(entity->health - health, knockDirection, 0);
  entity->health = health;
  entity->flashTime = flashTime;
  entity->flashing = true;
  if (entity->isPlayer) {
    entity->SetPushDirection(knockDirection);
    entity->SetPushDistance(pushDistance);
  }
  if (entity->inHeroRoom) PlaySound(kSoundHurt);
}

void CTestApp::ReceiveRemoteHeroAction(int heroEvent) {
  if (remoteHero == nullptr) return;
  Logger().Log("CTestApp::netRecvData: %s's hero %s", remoteName,
               heroEvent == Aveth::EV_ATTACK ? "attacks" : "uses its item");
  EventParam none(0);
  EventParam alsoNone(0);
  remoteHero->Animate();
  remoteHero->SendEvent(heroEvent, &none, &alsoNone);
}

void CTestApp::ReceiveDeath(NetStream& payload) {
  uint32_t uid = 0;
  payload.ReadValue(uid);
  if (Entity* entity = FindNetEntity(uid)) entity->Dead();
}

// An enemy's turn that makes it fire (event 5 with the direction).
void CTestApp::ReceiveEnemyEvent(NetStream& payload) {
  uint32_t uid = 0;
  int32_t value = 0;
  payload.ReadValue(uid);
  payload.ReadValue(value);
  Entity* entity = FindNetEntity(uid);
  if (entity == nullptr) return;
  EventParam direction(value);
  EventParam none(0);
  entity->SendEvent(5, &direction, &none);
}

void CTestApp::ReceiveDoor(NetStream& payload) {
  int32_t side = 0;
  float column = 0.0f;
  float row = 0.0f;
  payload.ReadValue(side);
  payload.ReadValue(column);
  payload.ReadValue(row);
  int roomColumn = 0;
  int roomRow = 0;
  if (renderer == nullptr || !WorldRoomOf(column, row, &roomColumn, &roomRow)) return;
  renderer->OpenDoor(side, roomColumn, roomRow);
}

// An enemy's drop: each side makes its own pickup, and each hero collects it
// on both sides.
void CTestApp::ReceivePickup(NetStream& payload) {
  uint32_t kind = 0;
  Vec2 at;
  float life = 0.0f;
  payload.ReadValue(kind);
  payload.ReadValue(at.x);
  payload.ReadValue(at.y);
  payload.ReadValue(life);
  if (!InWorld(at) || !std::isfinite(life)) {
    Logger().Log("CTestApp::netRecvData: pickup at (%f, %f) with life %f dropped", at.x, at.y, life);
    return;
  }
  if (localHero == nullptr || renderer == nullptr) return;
  Pickup* pickup = localHero->SpawnPickup(static_cast<int>(kind));
  pickup->Place(at, life);
  renderer->AddEntity(pickup, false);
  Logger().Log("pickup spawned: %d (%f, %f) life: %f", static_cast<int>(kind), at.x, at.y, life);
}

void CTestApp::ReceivePush(NetStream& payload) {
  uint32_t uid = 0;
  int32_t slideDirection = 0;
  payload.ReadValue(uid);
  payload.ReadValue(slideDirection);
  if (auto* block = dynamic_cast<Pushblock*>(FindNetEntity(uid))) block->StartPush(slideDirection);
}
