// CTestApp: the connection's callbacks and the dispatch of received game
// messages to their receivers (testapp_netrecv.cpp).
#include <cstring>

#include "game/aveth.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netlogtext.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/logging.h"

namespace {

Orvix::COrvixLogger& Logger() { return Orvix::CSingleton<Orvix::COrvixLogger>::Instance(); }

// Bytes a message must hold before its receiver reads anything: a short
// payload would otherwise be applied as zeros (message 4 with uid 0 would take
// a hero out of the world).
uint32_t MinimumPayload(uint32_t type) {
  switch (type) {
    case MSG_PLAYER_STATE:
      return kPlayerStateBytes;
    case MSG_ENTER_ROOM:
      return 8;
    case MSG_ENTITY_STATE:
    case MSG_CULL:
    case MSG_CHAT:
    case MSG_DEATH:
      return 4;
    case MSG_SPAWN:
      return Entity::kStateRecordBytes;
    case MSG_HIT:
      return 28;
    case MSG_TURN_FIRE:
    case MSG_PUSH:
      return 8;
    case MSG_DOOR:
      return 12;
    case MSG_PICKUP:
      return 16;
    default:
      return 0;  // 7 and 13 carry a position nobody reads; other types are ignored
  }
}

// What a client sends: its hero's state, the room it scrolled into, hits on
// its own hero, its hero's attack and item use, doors its keys unlocked and
// push blocks its hero set sliding.
bool IsClientMessageType(uint32_t type) {
  switch (type) {
    case MSG_PLAYER_STATE:
    case MSG_ENTER_ROOM:
    case MSG_HIT:
    case MSG_ATTACK:
    case MSG_DOOR:
    case MSG_USE_ITEM:
    case MSG_PUSH:
      return true;
    default:
      return false;
  }
}

void LogUnauthorized(NetMessage& message) {
  char text[256];
  PrintableText(message.stream.Data(), message.stream.Size(), text, sizeof text);
  Logger().Log("Server received unauthorized net message:");
  Logger().Log("type: %d", static_cast<int>(message.type));
  Logger().Log("data: %s", text);
}

}  // namespace

// The peer's hero joins the world once the handshake is done; a peer that
// comes back finds its hero again. The name is the peer's text and is logged,
// so it is made printable first.
void CTestApp::netAuthenticated(const char* peerName) {
  const char* name = peerName != nullptr ? peerName : "";
  PrintableText(reinterpret_cast<const uint8_t*>(name), static_cast<uint32_t>(std::strlen(name)), remoteName,
                sizeof remoteName);
  if (isServer)
    Logger().Log("%s joined", remoteName);
  else
    Logger().Log("joined %s", remoteName);
  if (isServer) SendExistingEntities();
  if (remoteHero != nullptr) {
    remoteHero->SetState(Aveth::STATE_PLAYING);
    return;
  }
  if (isServer)
    remoteHero = CreateHero("Aveth2", Aveth::kClientHeroUid, kClientStartTileX, Aveth::kStartTileY);
  else
    remoteHero = CreateHero("Aveth", Aveth::kServerHeroUid, Aveth::kStartTileX, Aveth::kStartTileY);
  remoteHero->netUpdated = true;
  remoteHero->SetRemote(true);
}

// Without this a client would never learn of the monsters and blocks of
// rooms populated before it came: their states would name uids it does not
// know, and a room the server's hero stands in is not populated again.
void CTestApp::SendExistingEntities() {
  if (renderer == nullptr || connection == nullptr) return;
  for (const Orvix::PtrListNode* node = renderer->GetEntities().Head(); node != nullptr; node = node->next) {
    Entity* entity = Orvix::TypedPtrList<Entity>::ValueOf(node);
    if (entity->GetUID() < static_cast<uint32_t>(kFirstSpawnedUid) || entity->dead || entity->removed)
      continue;
    NetMessage message(MSG_SPAWN);
    if (entity->Entity::WriteState(&message.stream)) connection->Send(message);
  }
}

void CTestApp::netConnectionDropped() {
  if (!ShutdownRequested()) Logger().Log("Connection Dropped");
  RetireRemoteHero();
}

// The server runs the world: a client may only speak for its own hero, so
// that it cannot spawn, move, hurt or kill anything else.
bool CTestApp::AcceptedFromClient(NetMessage& message) {
  if (!IsClientMessageType(message.type)) return false;
  if (message.type != MSG_HIT) return true;
  uint32_t uid = 0;
  return message.stream.PeekValue(uid, 0) && uid == Aveth::kClientHeroUid;
}

void CTestApp::netRecvData(NetMessage* message) {
  if (message == nullptr) return;
  if (isServer && !AcceptedFromClient(*message)) {
    LogUnauthorized(*message);
    return;
  }
  NetStream& payload = message->stream;
  const uint32_t needed = MinimumPayload(message->type);
  if (payload.Size() < needed) {
    Logger().Log("CTestApp::netRecvData: message %u holds %u bytes, fewer than its %u", message->type,
                 payload.Size(), needed);
    return;
  }
  switch (message->type) {
    case MSG_PLAYER_STATE:
      ReceivePlayerState(payload);
      break;
    case MSG_ENTER_ROOM:
      ReceiveEnterRoom(payload);
      break;
    case MSG_ENTITY_STATE:
      ReceiveStateUpdate(payload);
      break;
    case MSG_SPAWN:
      ReceiveSpawn(payload);
      break;
    case MSG_CULL:
      ReceiveCull(payload);
      break;
    case MSG_CHAT:
      ReceiveChat(payload);
      break;
    case MSG_HIT:
      ReceiveHit(payload);
      break;
    case MSG_ATTACK:
      ReceiveRemoteHeroAction(Aveth::EV_ATTACK);
      break;
    case MSG_DEATH:
      ReceiveDeath(payload);
      break;
    case MSG_TURN_FIRE:
      ReceiveEnemyEvent(payload);
      break;
    case MSG_DOOR:
      ReceiveDoor(payload);
      break;
    case MSG_PICKUP:
      ReceivePickup(payload);
      break;
    case MSG_PUSH:
      ReceivePush(payload);
      break;
    case MSG_USE_ITEM:
      ReceiveRemoteHeroAction(Aveth::EV_USE_ITEM);
      break;
    default:
      break;  // types this game does not know are ignored
  }
}
