// CTestApp::UpdateWorldList: the upkeep of the world list after the frame's
// input and scrolling. The server culls what stands in rooms no hero is in
// (a room is populated again when a hero enters it) and chooses which
// entities of the client's room to broadcast: half of them each frame, by
// the parity of their place in the list, so each is sent every second frame.
// A client only drops the replicas that have ended.
#include "game/aveth.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/testapp.h"

void CTestApp::CullEntity(Entity* entity) {
  renderer->RemoveEntity(entity);
  // Effects and projectiles are made on each side on its own; a dead entity
  // has already been announced with message 8.
  if (!entity->transient && !entity->dead && connection != nullptr && connection->IsAuthenticated()) {
    NetMessage message(MSG_CULL, sizeof(uint32_t));
    message.stream.WriteValue(entity->GetUID());
    connection->Send(message);
  }
  RetireEntity(entity);
}

// Walked by node, the next one taken before an entity may leave the list;
// `place` counts the entities that stay, so it is an entity's index in the
// list as the walk leaves it.
void CTestApp::UpdateWorldList() {
  syncParity = !syncParity;
  syncCount = 0;
  if (renderer == nullptr) return;
  if (!isServer) {
    for (const Orvix::PtrListNode* node = renderer->GetEntities().Head(); node != nullptr;) {
      Entity* entity = Orvix::TypedPtrList<Entity>::ValueOf(node);
      node = node->next;
      if (entity->removed && !entity->isPlayer) {
        renderer->RemoveEntity(entity);
        RetireEntity(entity);
      }
    }
    return;
  }

  const bool haveLocalRoom = localHero != nullptr;
  const Vec2 localRoom = haveLocalRoom ? ViewRoomOf(localHero->GetPosition()) : Vec2();
  const bool haveClientRoom = remoteHero != nullptr;
  const Vec2 clientRoom = haveClientRoom ? ViewRoomOf(remoteHero->GetPosition()) : Vec2();
  unsigned place = 0;
  for (const Orvix::PtrListNode* node = renderer->GetEntities().Head(); node != nullptr;) {
    Entity* entity = Orvix::TypedPtrList<Entity>::ValueOf(node);
    node = node->next;
    entity->syncSelected = false;
    if (entity == localHero) {
      entity->syncSelected = true;
      ++syncCount;
      ++place;
      continue;
    }
    // An entity that has ended leaves the world here even when its state
    // stays above 0 (a spark that has played out), so that none stays ticking
    // unseen for the rest of the game.
    if (entity->removed && !entity->isPlayer) {
      CullEntity(entity);
      continue;
    }
    if (entity == remoteHero || entity->dead) {
      ++place;
      continue;
    }
    const Vec2 room = entity->GetRoom();
    if (!haveClientRoom || room != clientRoom) {
      const bool inLocalRoom = haveLocalRoom && room == localRoom;
      if (!entity->transient && !entity->isPlayer && !inLocalRoom) {
        CullEntity(entity);
        continue;
      }
    } else if ((place % 2 == 1) != syncParity) {
      entity->syncSelected = true;
      ++syncCount;
    }
    ++place;
  }
}
