// Aveth's projectiles: the sword beam (ThrowSword), the two boomerangs, fire,
// bombs and arrows. Each new projectile is made with the hero's connection
// and world, placed, launched and added at the back of the world's list,
// which releases it once it has ended. The boomerangs are the hero's own and
// are reused.
#include "game/aveth.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"

namespace {

constexpr float kBeamSpeed = 350.0f;
constexpr float kBoomerangSpeed = 330.0f;
constexpr float kFireSpeed = 60.0f;
constexpr float kFireDamage = 1.0f;
constexpr float kBombSpeed = 60.0f;
constexpr float kBombDamage = 2.0f;
constexpr float kArrowSpeed = 320.0f;
constexpr float kArrowDamage = 1.0f;

// One line a throw, so that a run of the game can be followed in its log.
void LogThrow(const char* function, const Entity& projectile, int facing) {
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("Aveth::%s: %s from (%.0f, %.0f) facing %d",
                                                         function, projectile.name, projectile.position.x,
                                                         projectile.position.y, facing);
}

}  // namespace

void Aveth::CreateBoomerangs() {
  for (int index = 0; index < kBoomerangCount; ++index) {
    Boomerang* boomerang = OX_NEW Boomerang(net, renderer, this, index == 1);
    boomerang->ownedByWorld = false;  // the hero releases it
    boomerangs[index] = boomerang;
    if (renderer != nullptr) renderer->AddEntity(boomerang, false);
  }
}

// A new projectile of the hero's, placed at `at`, launched the way he faces
// and added to the world, which releases it once it has ended.
template <typename T>
bool Aveth::ThrowNew(Vec2 at, float flightSpeed, float damage) {
  if (renderer == nullptr) return false;
  T* projectile = OX_NEW T(net, renderer, this);
  projectile->SetPosition(at);
  projectile->Launch(direction, flightSpeed, damage);
  renderer->AddEntity(projectile, false);
  LogThrow("ThrowNew", *projectile, direction);
  return true;
}

bool Aveth::LaunchBeam() {
  return ThrowNew<ThrowSword>(position, kBeamSpeed, static_cast<float>(swordIndex + 1));
}

bool Aveth::ThrowBoomerang() {
  Boomerang* boomerang = static_cast<Boomerang*>(GetBoomerangInUse());
  if (boomerang == nullptr) return false;
  boomerang->Launch(direction, kBoomerangSpeed);
  LogThrow("ThrowBoomerang", *boomerang, direction);
  return true;
}

bool Aveth::LaunchItem(int item, Vec2 spawnPoint) {
  switch (item) {
    case ITEM_FIRE:
      return ThrowNew<Fire>(spawnPoint, kFireSpeed, kFireDamage);
    case ITEM_BOMB:
      return ThrowNew<Bomb>(spawnPoint, kBombSpeed, kBombDamage);
    case ITEM_ARROW:
      return ThrowNew<Arrow>(spawnPoint, kArrowSpeed, kArrowDamage);
    default:
      return false;
  }
}
