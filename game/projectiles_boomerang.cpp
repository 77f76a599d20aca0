// The hero's boomerang. The hero makes two (the plain one and the unlimited
// "BoomerangB") and reuses them: a boomerang is never taken out of the world,
// it flies out when thrown, turns, homes back on its owner wherever he walks
// and hides when he catches it.
//
// Only the server decides: where it turns, what it stuns and when it is
// caught. Clients are told where it is through the owner's state.
#include "game/aveth.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "orvix/logging.h"

using namespace projectile_rules;

namespace {

// One step of an outbound flight: the four directions, then up-right,
// up-left, down-right and down-left.
Vec2 OutboundStep(int flightDirection) {
  switch (flightDirection) {
    case DIR_UP:
      return {0.0f, -1.0f};
    case DIR_DOWN:
      return {0.0f, 1.0f};
    case DIR_LEFT:
      return {-1.0f, 0.0f};
    case DIR_RIGHT:
      return {1.0f, 0.0f};
    case 4:
      return {1.0f, -1.0f};
    case 5:
      return {-1.0f, -1.0f};
    case 6:
      return {1.0f, 1.0f};
    case 7:
      return {-1.0f, 1.0f};
    default:
      return {};
  }
}

}  // namespace

Boomerang::Boomerang(NetConnection* connection, PraelRenderer* world, Aveth* thrower, bool isUnlimited)
    : ProjectileEntity(connection, world, isUnlimited ? "BoomerangB" : "Boomerang", 30, 8),
      owner(thrower),
      unlimited(isUnlimited) {
  SetName("Boomerang");
  visible = false;  // in the owner's hand until thrown
}

void Boomerang::Launch(int flightDirection, float flightSpeed) {
  speed = flightSpeed;
  direction = flightDirection;
  damage = -1.0f;  // stuns, never wounds
  returning = false;
  visible = true;
  travelled = 0.0f;
  soundTime = 0.0f;
  if (owner) SetPosition(owner->GetPosition());
}

void Boomerang::Tick(float seconds) {
  Animate();
  Entity::Tick(seconds);
  if (visible && soundTime <= 0.0f) {
    if (inHeroRoom) PlaySound(kSoundBoomerang);
    soundTime = kWhirrInterval;
  }
  soundTime -= seconds;
  if (IsServer()) DecideOnServer();

  Vec2 flight = FlightVector(seconds);
  const float length = flight.Length();
  // Exactly on its owner there is no way to go; it waits a frame.
  if (length == 0.0f) return;
  flight = flight * (speed * seconds / length);
  if (!returning) travelled += flight.Length();
  if (visible) Move(flight);
}

// The room's edge and a hit turn it at once (it stops and comes back); the
// plain boomerang's range turns it while it still flies on a little.
void Boomerang::DecideOnServer() {
  if (OutsideMargins(position, kDefaultMargins)) {
    Return();
    speed = 0.0f;
  }
  if (!unlimited && travelled > kRange) Return();
  if (!owner || !visible || map == nullptr) return;
  for (unsigned i = 0; i < map->GetEntityCount(); ++i) {
    Entity* target = map->GetEntity(i);
    if (!TouchesHostile(target)) continue;
    HurtOnServer(target, damage, direction);
    if (!returning) {
      Return();
      speed = 0.0f;
    }
  }
}

// Outbound: straight along its direction. Returning: along the line from its
// owner, with a speed that turns negative and so carries it home.
Vec2 Boomerang::FlightVector(float seconds) {
  if (!returning) {
    if (IsServer()) visible = true;
    return OutboundStep(direction);
  }
  if (!owner) return {};
  const Vec2 fromOwner = position - owner->GetPosition();
  if (visible && fromOwner.Length() < kCatchDistance && IsServer()) {
    visible = false;
    owner->SetItemReady(true);
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("Boomerang: caught by hero %u at (%.0f, %.0f)",
                                                           owner->GetUID(), position.x, position.y);
  }
  if (speed > kReturnSpeed) {
    speed -= kTurnAcceleration * seconds;
  } else {
    speed = kReturnSpeed;
  }
  return fromOwner;
}

void Boomerang::Dead() {
  if (state == 0) return;
  if (owner) owner->SetItemReady(true);
  Entity::Dead();
}
