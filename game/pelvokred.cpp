#include "game/pelvokred.h"

#include "game/enemy_common.h"

namespace {

const enemy::WalkerBehaviour kBehaviour = {enemy::TurnThenMaybeFire, enemy::FireRock, true};
const enemy::DamageRules kDamage = {true, true};

}  // namespace

CPelvokRed::CPelvokRed(NetConnection* connection) : Entity(connection) {
  enemy::InitEnemy(*this, "Red Pelvok", "PelvokRed");
  maxHealth = health = kHealth;
  speed = enemy::RollSpeed(kSlowSpeed, kFastSpeed);
  harmlessTime = enemy::RollHarmlessTime();
  SetState(enemy::STATE_APPEARING);
}

void CPelvokRed::Tick(float seconds) { enemy::TickWalker(*this, seconds, kBehaviour); }

void CPelvokRed::SetDirection(int newDirection) {
  Entity::SetDirection(newDirection);
  enemy::FaceWalkingFrames(*this);
}

void CPelvokRed::Dead() { enemy::DieInSpark(*this); }

bool CPelvokRed::WriteState(NetStream* stream) { return enemy::WriteEnemyState(*this, stream); }

bool CPelvokRed::ReadState(NetStream* stream) { return enemy::ReadEnemyState(*this, stream); }

void CPelvokRed::SendEvent(int event, EventParam* a, EventParam* b) {
  enemy::WalkerEvent(*this, event, a, b, true);
}

void CPelvokRed::TakeDamage(float amount, int knockDirection, int) {
  enemy::TakeWalkerDamage(*this, amount, knockDirection, kDamage);
}
