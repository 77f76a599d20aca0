// CTestApp: the life of world entities. Entities that end leave the game
// renderer's list in its tick pass and are handed to the application, which
// frees those the world owns at the next safe point: the start of the next
// frame, when nothing walks the list. At the end of the game everything the
// application owns is freed.
#include <cinttypes>
#include <cstdio>

#include "game/aveth.h"
#include "game/netconnection.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/memtrack.h"

void CTestApp::OnEntityDropped(Entity* entity, void* context) {
  static_cast<CTestApp*>(context)->RetireEntity(entity);
}

void CTestApp::RetireEntity(Entity* entity) {
  // Swords, boomerangs and heroes belong to their owners, who free them.
  if (entity != nullptr && entity->ownedByWorld) m_endedEntities.push_back(entity);
}

void CTestApp::ReleaseEndedEntities() {
  // Releasing an entity may end others (references to it become null), so
  // the list is taken whole before anything is freed.
  std::vector<Entity*> ended;
  ended.swap(m_endedEntities);
  for (Entity* entity : ended) OX_DELETE entity;
  std::vector<Aveth*> heroes;
  heroes.swap(m_retiredHeroes);
  for (Aveth* hero : heroes) {
    if (g_renderer != nullptr) g_renderer->RemoveEntity(hero);
    OX_DELETE hero;
  }
}

// The remote hero of a player who left stays in the world until the next
// safe point: the connection may report the drop from inside a tick.
void CTestApp::RetireRemoteHero() {
  if (remoteHero == nullptr) return;
  m_retiredHeroes.push_back(remoteHero);
  remoteHero = nullptr;
}

void CTestApp::ReleaseWorld() {
  if (g_renderer != nullptr) {
    g_renderer->SetLocalHero(nullptr);
    while (g_renderer->GetEntityCount() > 0) {
      Entity* entity = g_renderer->GetEntity(0);
      g_renderer->RemoveEntity(entity);
      RetireEntity(entity);
    }
  }
  RetireRemoteHero();
  ReleaseEndedEntities();
  OX_DELETE localHero;
  localHero = nullptr;
  // The entities borrowed the connection, so it goes last.
  OX_DELETE connection;
  connection = nullptr;
}

// One line per entity, in list order:
//   uid=U typeId=T name=N x=X y=Y health=H state=S remote=0|1
bool CTestApp::DumpWorld(const char* path) const {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  const unsigned count = g_renderer != nullptr ? g_renderer->GetEntityCount() : 0;
  for (unsigned i = 0; i < count; ++i) {
    Entity* entity = g_renderer->GetEntity(i);
    if (entity == nullptr) continue;
    const Vec2 at = entity->GetPosition();
    std::fprintf(
        file,
        "uid=%" PRIu32 " typeId=%" PRId32 " name=%s x=%.2f y=%.2f health=%.2f state=%" PRId32 " remote=%d\n",
        entity->GetUID(), entity->typeId, entity->name, static_cast<double>(at.x), static_cast<double>(at.y),
        static_cast<double>(entity->health), entity->state, entity->remote ? 1 : 0);
  }
  return std::fclose(file) == 0;
}
