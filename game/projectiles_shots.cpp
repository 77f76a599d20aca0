// The shots that fly straight until they hit: the sword beam and the arrow.
#include "game/aveth.h"
#include "game/pickup.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"

using namespace projectile_rules;

namespace {

// The beam's picture row by direction: up, down, right and left in the
// sprite, three frames each.
int BeamFirstFrame(int flightDirection) {
  switch (flightDirection) {
    case DIR_DOWN:
      return 3;
    case DIR_LEFT:
      return 9;
    case DIR_RIGHT:
      return 6;
    default:
      return 0;
  }
}

}  // namespace

ThrowSword::ThrowSword(NetConnection* connection, PraelRenderer* world, Entity* thrower)
    : ProjectileEntity(connection, world, "ThrowSword", 40, 3), owner(thrower) {}

void ThrowSword::Launch(int flightDirection, float flightSpeed, float hitDamage) {
  speed = flightSpeed;
  direction = flightDirection;
  damage = hitDamage;
  frameRate = 30.0f;
  frameCount = 3.0f;
  baseFrame = BeamFirstFrame(flightDirection);
}

// Every hostile entity the beam touches in its last frame is hit: the beam
// ends, but the walk goes on. Heroes are never hit, whoever threw it.
void ThrowSword::Tick(float seconds) {
  Animate();
  Entity::Tick(seconds);
  EndAtEdge(kDefaultMargins);
  if (map != nullptr) {
    for (unsigned i = 0; i < map->GetEntityCount(); ++i) {
      Entity* target = map->GetEntity(i);
      if (!TouchesHostile(target)) continue;
      HurtOnServer(target, damage, direction);
      Dead();
    }
  }
  MoveStraight(seconds, direction);
}

void ThrowSword::Dead() {
  if (Aveth* hero = HeroOwner(owner.Get())) hero->SetBeamReady(true);
  Entity::Dead();
}

Arrow::Arrow(NetConnection* connection, PraelRenderer* world, Entity* thrower)
    : ItemProjectile(connection, world, "Arrow", 0, 0, thrower), firedByHero(HeroOwner(thrower) != nullptr) {}

void Arrow::Launch(int flightDirection, float flightSpeed, float hitDamage) {
  speed = flightSpeed;
  direction = flightDirection;
  damage = hitDamage;
  frameRate = 0.0f;
  frameCount = 0.0f;
  baseFrame = flightDirection;  // one picture a direction
  PlayLaunchSound(kSoundArrow);
}

void Arrow::Tick(float seconds) {
  Entity::Tick(seconds);  // no animation: the picture is the direction
  EndAtEdge(kDefaultMargins);
  // A hero's arrow stays one when its hero leaves the world in its flight.
  if (firedByHero) {
    HitAsHerosArrow();
  } else if (!HitAsEnemysArrow()) {
    return;
  }
  MoveStraight(seconds, direction);
}

// A hero's arrow picks up for its hero whatever it flies over and stops at
// the first enemy it meets.
void Arrow::HitAsHerosArrow() {
  if (map == nullptr) return;
  for (unsigned i = 0; i < map->GetEntityCount(); ++i) {
    Entity* target = map->GetEntity(i);
    if (IsOtherLiveEntity(target) && target->isPickup && Collide(target, this, kOverlapInset)) {
      Aveth* hero = HeroOwner(owner.Get());
      if (hero != nullptr) static_cast<Pickup*>(target)->Collect(hero);
      continue;
    }
    if (!TouchesHostile(target)) continue;
    HurtOnServer(target, damage, direction);
    Dead();
    return;
  }
}

// An enemy's arrow is blocked by a hero who faces it with a strong enough
// shield and is not swinging; any other hero it meets is hurt, and the arrow
// stops there. Flashing heroes are not spared.
bool Arrow::HitAsEnemysArrow() {
  if (map == nullptr) return true;
  for (unsigned i = 0; i < map->GetEntityCount(); ++i) {
    Entity* entity = map->GetEntity(i);
    if (!IsOtherLiveEntity(entity) || !entity->isPlayer || !Collide(entity, this, kOverlapInset)) continue;
    Aveth* hero = dynamic_cast<Aveth*>(entity);
    if (hero == nullptr) continue;
    if (MeetShieldOf(*hero, damage)) return false;
  }
  return true;
}
