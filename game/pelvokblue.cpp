#include "game/pelvokblue.h"

#include "game/enemy_common.h"

namespace {

const enemy::WalkerBehaviour kBehaviour = {enemy::TurnKeepingLine, enemy::FireRock, true};
const enemy::DamageRules kDamage = {true, true};

}  // namespace

CPelvokBlue::CPelvokBlue(NetConnection* connection) : Entity(connection) {
  enemy::InitEnemy(*this, "Blue Pelvok", "PelvokBlue");
  maxHealth = health = kHealth;
  // The speed is drawn before the appearing time, always in this order.
  speed = enemy::RollSpeed(kSlowSpeed, kFastSpeed);
  harmlessTime = enemy::RollHarmlessTime();
  SetState(enemy::STATE_APPEARING);
}

void CPelvokBlue::Tick(float seconds) { enemy::TickWalker(*this, seconds, kBehaviour); }

void CPelvokBlue::SetDirection(int newDirection) {
  Entity::SetDirection(newDirection);
  enemy::FaceWalkingFrames(*this);
}

void CPelvokBlue::Dead() { enemy::DieInSpark(*this); }

bool CPelvokBlue::WriteState(NetStream* stream) { return enemy::WriteEnemyState(*this, stream); }

bool CPelvokBlue::ReadState(NetStream* stream) { return enemy::ReadEnemyState(*this, stream); }

void CPelvokBlue::SendEvent(int event, EventParam* a, EventParam* b) {
  enemy::WalkerEvent(*this, event, a, b, true);
}

void CPelvokBlue::TakeDamage(float amount, int knockDirection, int) {
  enemy::TakeWalkerDamage(*this, amount, knockDirection, kDamage);
}
