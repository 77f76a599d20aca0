#include "game/enemy_heroes.h"

#include "game/entity.h"
#include "game/rendprael.h"

namespace enemy {

Entity* FindHero(PraelRenderer* world, uint32_t heroUid) {
  if (world == nullptr) return nullptr;
  for (const Orvix::PtrListNode* node = world->GetEntities().Head(); node != nullptr; node = node->next) {
    Entity* entity = static_cast<Entity*>(node->value);
    if (entity != nullptr && entity->isPlayer && entity->GetUID() == heroUid) return entity;
  }
  return nullptr;
}

}  // namespace enemy
