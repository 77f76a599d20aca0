#include "game/entityref.h"

void EntityRefBase::Attach(Entity* entity) {
  m_entity = entity;
  if (entity == nullptr) return;
  m_prev = nullptr;
  m_next = entity->m_refs;
  if (m_next != nullptr) m_next->m_prev = this;
  entity->m_refs = this;
}

void EntityRefBase::Detach() {
  if (m_entity == nullptr) return;
  if (m_prev != nullptr) {
    m_prev->m_next = m_next;
  } else {
    m_entity->m_refs = m_next;
  }
  if (m_next != nullptr) m_next->m_prev = m_prev;
  m_entity = nullptr;
  m_next = m_prev = nullptr;
}

void EntityRefBase::ClearAll(Entity* entity) {
  while (entity->m_refs != nullptr) entity->m_refs->Detach();
}
