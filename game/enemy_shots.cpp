// The shots walkers fire: each flies from the walker's position in its
// facing and joins the world behind the walker.
#include "game/enemy_common.h"
#include "game/projectiles.h"
#include "orvix/memtrack.h"

namespace enemy {

namespace {

constexpr float kThrowSwordDamage = 1.0f;

}  // namespace

void FireRock(Entity& walker) {
  Rock* rock = OX_NEW Rock(walker.net, walker.renderer);
  rock->SetPosition(walker.position);
  rock->Launch(walker.direction, kRockSpeed);
  AddToWorld(walker, rock);
}

void ThrowSwordFrom(Entity& thrower) {
  ThrowSword* sword = OX_NEW ThrowSword(thrower.net, thrower.renderer, nullptr);
  sword->SetPosition(thrower.position);
  sword->Launch(thrower.direction, kThrowSwordSpeed, kThrowSwordDamage);
  AddToWorld(thrower, sword);
}

}  // namespace enemy
