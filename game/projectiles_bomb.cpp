// The hero's bomb: it lies where it was dropped for a second, then explodes,
// hurting every entity near it (heroes, its dropper included) and scattering
// smoke.
#include <cmath>

#include "game/effects.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"

using namespace projectile_rules;

Bomb::Bomb(NetConnection* connection, PraelRenderer* world, Entity* thrower)
    : ItemProjectile(connection, world, "Bomb", 0, 1, thrower) {}

void Bomb::Launch(int droppedFacing, float dropSpeed, float hitDamage) {
  speed = dropSpeed;
  direction = ReverseDirection(droppedFacing);
  damage = hitDamage;
  fuse = kFuseSeconds;
  PlayLaunchSound(kSoundBombDrop);
}

// A bomb dropped at the edge of the room is taken away unexploded.
void Bomb::Tick(float seconds) {
  Entity::Tick(seconds);
  if (EndAtEdge(kBombMargins)) return;
  fuse -= seconds;
  if (fuse < 0.0f) Explode();
}

// Only the server hurts; every program hears the blast and sees the smoke.
// Swords, effects, projectiles (the bomb itself among them) and pickups are
// not hurt: they have no health to lose, and a report of them would name an
// entity the peer does not have.
void Bomb::Explode() {
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("Bomb::Explode: at (%.0f, %.0f)", position.x,
                                                         position.y);
  if (inHeroRoom) PlaySound(kSoundBombBlow);
  if (map != nullptr && IsServer()) {
    for (unsigned i = 0; i < map->GetEntityCount(); ++i) {
      Entity* target = map->GetEntity(i);
      if (!IsOtherLiveEntity(target) || target->notHittable || target->isPickup || target->flashing) continue;
      float distance = (target->GetPosition() - position).Length();
      if (target->isPlayer) distance += kHeroBlastAllowance;
      if (distance > kBlastRadius) continue;
      HurtOnServer(target, damage, target->hostile ? ReverseDirection(direction) : direction);
    }
  }
  ScatterSmoke();
  Dead();
}

void Bomb::ScatterSmoke() {
  if (map == nullptr) return;
  static const Vec2 kPuffOffsets[kSmokePuffs] = {{0.0f, 0.0f},    {16.0f, 32.0f}, {-16.0f, 32.0f},
                                                 {32.0f, 0.0f},   {-32.0f, 0.0f}, {16.0f, -32.0f},
                                                 {-16.0f, -32.0f}};
  for (const Vec2& offset : kPuffOffsets) {
    Smoke* puff = OX_NEW Smoke(net, map);
    puff->Place(position + offset);
    map->AddEntity(puff, false);
  }
}
