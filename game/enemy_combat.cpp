// What the enemies share in a fight: the damage they take, their death in a
// spark and the pickups they drop. Hurting and drops are decided on the
// server; a client learns of them through messages.
#include "game/effects.h"
#include "game/enemy_common.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/pickup.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "orvix/memtrack.h"

namespace enemy {

void AddToWorld(Entity& from, Entity* newcomer) {
  if (from.renderer != nullptr) {
    from.renderer->AddEntity(newcomer, false);
  } else {
    OX_DELETE newcomer;
  }
}

void PlayInHeroRoom(const Entity& enemy, int sound) {
  if (enemy.inHeroRoom) PlaySound(sound);
}

bool HasDied(const Entity& enemy) { return enemy.removed || enemy.state == 0; }

void DieInSpark(Entity& enemy) {
  if (HasDied(enemy)) return;
  DeathSpark* spark = OX_NEW DeathSpark(enemy.net);
  spark->SetPosition(enemy.position);
  AddToWorld(enemy, spark);
  PlayInHeroRoom(enemy, kSoundKill);
  PlayInHeroRoom(enemy, kSoundHit);
  enemy.Entity::Dead();
}

bool DropRollWins() {
  const bool rolled = Roll(100) < kDropChance;
  return rolled || g_killsSinceDrop > kCertainDropAfter;
}

int RollDropKind() {
  const int roll = Roll(100);
  if (roll < 70) return PICKUP_DRALM;
  if (roll < 85) return PICKUP_DRALM_FIVE;
  return PICKUP_HEART;
}

void DropPickup(Entity& enemy, int kind) {
  Pickup* pickup = enemy.SpawnPickup(kind);
  if (pickup == nullptr) return;
  pickup->Place(enemy.position, Pickup::kDropLife);
  AddToWorld(enemy, pickup);
  if (enemy.net == nullptr) return;
  NetMessage message(MSG_PICKUP);
  message.stream.WriteValue(static_cast<int32_t>(kind));
  message.stream.WriteValue(enemy.position.x);
  message.stream.WriteValue(enemy.position.y);
  message.stream.WriteValue(Pickup::kDropLife);
  enemy.net->Send(message);
}

void DropWalkerPickup(Entity& enemy) { DropPickup(enemy, RollDropKind()); }

bool DropIfRollWins(Entity& enemy) {
  if (!DropRollWins()) return false;
  g_killsSinceDrop = 0;
  DropWalkerPickup(enemy);
  return true;
}

void TakeWalkerDamage(Entity& enemy, float amount, int knockDirection, const DamageRules& rules) {
  // A dead enemy stays dead: a stun would otherwise bring its state back
  // from 0 and keep it in the world.
  if (enemy.flashing || HasDied(enemy)) return;
  if (rules.stuns && amount <= 0.0f) {
    enemy.SetState(STATE_STUNNED);
    PlayInHeroRoom(enemy, kSoundHit);
    return;
  }
  // A walker that is not stunned only flashes at a hit of 0 or less; such a
  // hit (the boomerang's -1) must not heal it.
  if (amount > 0.0f) enemy.health -= amount;
  enemy.flashing = true;
  enemy.flashTime = kFlashSeconds;
  if (enemy.health <= 0.0f) {
    enemy.Dead();
    if (rules.rollsDrop && enemy.IsServer()) DropIfRollWins(enemy);
    return;
  }
  if (knockDirection != DIR_NONE) {
    PlayInHeroRoom(enemy, kSoundHit);
    enemy.StepTile(knockDirection);
  }
}

}  // namespace enemy
