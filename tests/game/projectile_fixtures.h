// Shared pieces of the projectile tests: a world on an open map with a
// connection that runs it (the server's) and one that does not (a client's),
// a small enemy that records the blows it takes, and entities the test makes
// and releases.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "game/netconnection.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"

namespace projectile_test {

// A hostile entity standing still; it flashes when hurt if told to.
class TestEnemy : public Entity {
 public:
  explicit TestEnemy(NetConnection* connection) : Entity(connection) {
    SetName("TestEnemy");
    hostile = true;
    health = 4.0f;
    maxHealth = 4.0f;
  }
  void SendEvent(int, EventParam*, EventParam*) override {}
  void TakeDamage(float amount, int knockDirection, int extra) override {
    Entity::TakeDamage(amount, knockDirection, extra);
    blows.push_back({amount, knockDirection});
    if (flashOnHit) {
      flashing = true;
      flashTime = 1.0f;
    }
  }
  struct Blow {
    float amount;
    int direction;
    bool operator==(const Blow&) const = default;
  };
  std::vector<Blow> blows;
  bool flashOnHit = false;
};

class ProjectileTest : public hero_test::HeroTest {
 protected:
  void SetUp() override {
    hero_test::HeroTest::SetUp();
    LoadWorld();
    server.PlayAlone();
    renderer->SetEntityDropHandler(
        [](Entity* entity, void* context) { static_cast<ProjectileTest*>(context)->ended.push_back(entity); },
        this);
  }
  void TearDown() override {
    for (Entity* entity : made) {
      renderer->RemoveEntity(entity);
      std::erase(ended, entity);
      OX_DELETE entity;
    }
    made.clear();
    // What the game made (thrown items, smoke) and the world would release.
    for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) ended.push_back(renderer->GetEntity(i));
    for (Entity* entity : ended) {
      if (!entity->ownedByWorld) continue;
      renderer->RemoveEntity(entity);
      OX_DELETE entity;
    }
    ended.clear();
    hero_test::HeroTest::TearDown();
  }

  // An entity the test releases at its end; added to the world unless told
  // otherwise.
  template <typename T, typename... Args>
  T* Make(Args&&... args) {
    T* entity = OX_NEW T(std::forward<Args>(args)...);
    made.push_back(entity);
    renderer->AddEntity(entity, false);
    return entity;
  }
  // A hero of the world's connection (the server's unless told otherwise),
  // released by the fixture; the first one made is the local hero.
  Aveth* MakeWorldHero(float x, float y, uint32_t heroUid, NetConnection* connection = nullptr) {
    Aveth* hero = OX_NEW Aveth("Tester", nullptr, connection != nullptr ? connection : &server);
    heroes.push_back(hero);
    hero->SetUID(heroUid);
    renderer->AddEntity(hero, false);
    hero->SetPosition(Vec2(x, y));
    if (renderer->GetLocalHero() == nullptr) renderer->SetLocalHero(hero);
    return hero;
  }
  // Takes a hero out of the world and releases it, as when its player leaves.
  void ReleaseHero(Aveth* hero) {
    renderer->RemoveEntity(hero);
    if (renderer->GetLocalHero() == hero) renderer->SetLocalHero(nullptr);
    std::erase(heroes, hero);
    OX_DELETE hero;
  }
  TestEnemy* MakeEnemy(float x, float y, NetConnection* connection = nullptr) {
    TestEnemy* enemy = Make<TestEnemy>(connection != nullptr ? connection : &server);
    enemy->SetPosition(Vec2(x, y));
    return enemy;
  }
  // Releases an entity made with Make before the test ends.
  void Release(Entity* entity) {
    renderer->RemoveEntity(entity);
    std::erase(made, entity);
    std::erase(ended, entity);
    OX_DELETE entity;
  }
  // Ticks `entity` alone for `frames` frames of `seconds`, or until it ends.
  // Returns the frames it ran.
  int Fly(Entity* entity, int frames, float seconds = 0.016f) {
    int run = 0;
    while (run < frames && entity->state != 0) {
      entity->inHeroRoom = true;
      entity->Tick(seconds);
      ++run;
    }
    return run;
  }

  NetConnection server{NetConnection::kAccessPassword, "Server"};
  NetConnection client{NetConnection::kAccessPassword, "Client"};
  std::vector<Entity*> made;   // owned by the test
  std::vector<Entity*> ended;  // left the world; released at the end when the world owns them
};

}  // namespace projectile_test
