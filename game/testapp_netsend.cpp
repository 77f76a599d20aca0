// CTestApp: the network tick. Each side sends its own hero's state; the
// server also sends the states of the entities UpdateWorldList chose, each
// record in a message of its own (message 2 with a count of 1).
//
// Message 0 from the server carries, after the hero's 16 bytes, one entry per
// hero for the boomerang it has in use, its own hero's first:
//   x f32 | y f32 | visible u8, or (-128, -128) and 0 when it has none.
#include "game/aveth.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/platform.h"

namespace {

constexpr float kNetworkTickSeconds = 0.0166f;

void WriteBoomerangEntry(NetStream& stream, const Aveth& hero) {
  const Entity* boomerang = hero.GetBoomerangInUse();
  const Vec2 at =
      boomerang != nullptr ? boomerang->position : Vec2(Aveth::kNoBoomerangAt, Aveth::kNoBoomerangAt);
  const uint8_t visible = boomerang != nullptr && boomerang->visible ? 1 : 0;
  stream.WriteValue(at.x);
  stream.WriteValue(at.y);
  stream.WriteValue(visible);
}

}  // namespace

void CTestApp::NetworkTick() {
  const uint32_t elapsedMs = Orvix::GetTickCount() - lastSendTick;
  if (static_cast<float>(elapsedMs) / 1000.0f < kNetworkTickSeconds) return;
  SendPlayerState();
  if (isServer) SendFullState();
  lastSendTick = Orvix::GetTickCount();
}

void CTestApp::SendPlayerState() {
  if (connection == nullptr || localHero == nullptr) return;
  NetMessage message(MSG_PLAYER_STATE);
  NetStream& stream = message.stream;
  const Vec2 at = localHero->GetPosition();
  stream.WriteValue(at.x);
  stream.WriteValue(at.y);
  stream.WriteValue(static_cast<int32_t>(localHero->GetDirection()));
  stream.WriteValue(localHero->health);
  if (isServer) {
    WriteBoomerangEntry(stream, *localHero);
    if (remoteHero != nullptr) WriteBoomerangEntry(stream, *remoteHero);
  }
  connection->Send(message);
}

// Heroes travel in message 0; the local hero is chosen only so that the
// count says there is something to send.
void CTestApp::SendFullState() {
  if (syncCount == 0 || renderer == nullptr || connection == nullptr) return;
  NetMessage message(MSG_ENTITY_STATE);
  const uint32_t oneRecord = 1;
  for (const Orvix::PtrListNode* node = renderer->GetEntities().Head(); node != nullptr; node = node->next) {
    Entity* entity = Orvix::TypedPtrList<Entity>::ValueOf(node);
    if (!entity->syncSelected || entity->dead || entity->isPlayer) continue;
    message.stream.Reset();
    if (message.stream.WriteValue(oneRecord) && entity->WriteState(&message.stream))
      connection->Send(message);
  }
  syncCount = 0;
}
