// The hero's fire: it creeps one tile the way the hero faces, then burns in
// place, hurting every entity it touches (heroes, its thrower included) each
// frame that entity is not flashing.
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"

using namespace projectile_rules;

Fire::Fire(NetConnection* connection, PraelRenderer* world, Entity* thrower)
    : ItemProjectile(connection, world, "Fire", 15, 2, thrower) {}

void Fire::Launch(int thrownDirection, float creepSpeed, float hitDamage) {
  speed = creepSpeed;
  direction = ReverseDirection(thrownDirection);
  damage = hitDamage;
  travelled = 0.0f;
  burnTime = kBurnSeconds;
  PlayLaunchSound(kSoundFire);
}

void Fire::Tick(float seconds) {
  Animate();
  Entity::Tick(seconds);
  EndAtEdge(kDefaultMargins);
  if (IsServer()) BurnOverlappingEntities();

  if (travelled < kCreepPixels) {
    MoveStraight(seconds, ReverseDirection(direction));
    travelled += speed * seconds;
    return;
  }
  burnTime -= seconds;
  if (burnTime <= 0.0f) Dead();
}

// Enemies are knocked the way the thrower faced, away from him; everything
// else, heroes included, the fire's own way, back toward him. Swords, effects, projectiles and
// pickups are not burnt: they have no health to lose, and a report of them
// would name an entity the peer does not have.
void Fire::BurnOverlappingEntities() {
  if (map == nullptr) return;
  for (unsigned i = 0; i < map->GetEntityCount(); ++i) {
    Entity* target = map->GetEntity(i);
    if (!IsOtherLiveEntity(target) || target->notHittable || target->isPickup || target->flashing) continue;
    if (!Collide(target, this, kOverlapInset)) continue;
    HurtOnServer(target, damage, target->hostile ? ReverseDirection(direction) : direction);
  }
}
