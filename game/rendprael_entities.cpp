// PraelRenderer: the entity list and the frame's tick and draw passes.
#include "game/entity.h"
#include "game/rendprael.h"
#include "orvix/orvix.h"

using EntityList = Orvix::TypedPtrList<Entity>;

void PraelRenderer::AddEntity(Entity* entity, bool atFront) {
  if (entity == nullptr) return;
  if (atFront) {
    m_entities.Prepend(entity);
  } else {
    m_entities.Append(entity);
  }
}

Entity* PraelRenderer::FindEntity(int uid) const {
  for (const Orvix::PtrListNode* node = m_entities.Head(); node != nullptr; node = node->next) {
    Entity* entity = EntityList::ValueOf(node);
    if (entity->GetUID() == static_cast<uint32_t>(uid)) return entity;
  }
  return nullptr;
}

bool PraelRenderer::RemoveEntity(int uid) {
  for (Orvix::PtrListNode* node = m_entities.Head(); node != nullptr; node = node->next) {
    if (EntityList::ValueOf(node)->GetUID() == static_cast<uint32_t>(uid)) {
      m_entities.Remove(node);
      return true;
    }
  }
  return false;
}

bool PraelRenderer::RemoveEntity(Entity* entity) { return m_entities.RemoveValue(entity); }

void PraelRenderer::SetEntityDropHandler(EntityDropHandler handler, void* context) {
  m_dropHandler = handler;
  m_dropContext = context;
}

void PraelRenderer::TickEntities() {
  const float seconds = Orvix::g_orvix != nullptr ? Orvix::g_orvix->GetTimeKey() : 0.0f;
  // Walked by index, not by node: a Tick may add entities (a sword, a
  // projectile, a pickup) and the new ones are ticked in the same pass.
  for (unsigned i = 0; i < m_entities.Count(); ++i) {
    Entity* entity = m_entities.At(i);
    if (entity->state == 0) continue;
    entity->Tick(seconds);
    bool inHeroRoom = false;
    if (m_localHero != nullptr) {
      const Vec2 room = entity->GetRoom();
      const Vec2 heroRoom = m_localHero->GetRoom();
      inHeroRoom = room.x == heroRoom.x && room.y == heroRoom.y;
    }
    entity->inHeroRoom = inHeroRoom;
  }

  // Whatever has ended, before or during the pass (by its own Tick or by
  // another's, a sword's hit), leaves before anything is drawn.
  for (Orvix::PtrListNode* node = m_entities.Head(); node != nullptr;) {
    Orvix::PtrListNode* next = node->next;
    Entity* entity = EntityList::ValueOf(node);
    if (entity->state == 0) {
      m_entities.Remove(node);
      if (m_dropHandler != nullptr) m_dropHandler(entity, m_dropContext);
    }
    node = next;
  }
}

void PraelRenderer::DrawEntities() {
  for (const Orvix::PtrListNode* node = m_entities.Head(); node != nullptr; node = node->next) {
    EntityList::ValueOf(node)->Draw(m_viewRoomX, m_viewRoomY);
  }
}
