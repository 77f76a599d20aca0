#include "game/skeleton.h"

#include "game/enemy_common.h"

namespace {

// The shot roll of a step is made only for a skeleton that shoots.
void Turn(Entity& walker) {
  if (static_cast<Skeleton&>(walker).shoots) {
    enemy::TurnThenMaybeFire(walker);
  } else {
    enemy::TurnWithoutFiring(walker);
  }
}

const enemy::WalkerBehaviour kBehaviour = {Turn, enemy::ThrowSwordFrom, false};
const enemy::DamageRules kDamage = {true, false};

}  // namespace

Skeleton::Skeleton(NetConnection* connection) : Entity(connection) {
  enemy::InitEnemy(*this, "Skeleton", "Skeleton");
  maxHealth = health = kHealth;
  speed = kSpeed;
  frameRate = kFrameRate;
  harmlessTime = 0.0f;
  SetState(enemy::STATE_READY);
}

void Skeleton::Tick(float seconds) { enemy::TickWalker(*this, seconds, kBehaviour); }

void Skeleton::Dead() {
  if (enemy::HasDied(*this)) return;
  // The server rolls; every other death, a client's included, counts.
  if (!(IsServer() && enemy::DropIfRollWins(*this))) g_killsSinceDrop += 1;
  enemy::DieInSpark(*this);
}

bool Skeleton::WriteState(NetStream* stream) { return enemy::WriteEnemyState(*this, stream); }

bool Skeleton::ReadState(NetStream* stream) { return enemy::ReadEnemyState(*this, stream); }

void Skeleton::SendEvent(int event, EventParam* a, EventParam* b) {
  enemy::WalkerEvent(*this, event, a, b, true);
}

void Skeleton::TakeDamage(float amount, int knockDirection, int) {
  enemy::TakeWalkerDamage(*this, amount, knockDirection, kDamage);
}
