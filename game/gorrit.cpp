#include "game/gorrit.h"

#include "game/enemy_common.h"
#include "game/projectiles.h"
#include "orvix/memtrack.h"

namespace {

// The arrow flies from the Gorrit in its facing; the Gorrit is its owner.
void FireArrow(Entity& gorrit) {
  Arrow* arrow = OX_NEW Arrow(gorrit.net, gorrit.renderer, &gorrit);
  arrow->SetPosition(gorrit.position);
  arrow->Launch(gorrit.direction, Gorrit::kArrowSpeed, Gorrit::kArrowDamage);
  enemy::AddToWorld(gorrit, arrow);
}

const enemy::WalkerBehaviour kBlueBehaviour = {enemy::TurnKeepingLine, FireArrow, true};
const enemy::WalkerBehaviour kRedBehaviour = {enemy::TurnThenMaybeFire, FireArrow, true};
const enemy::DamageRules kDamage = {false, true};

}  // namespace

Gorrit::Gorrit(NetConnection* connection, bool isBlue) : Entity(connection), blue(isBlue) {
  enemy::InitEnemy(*this, "Gorrit", blue ? "GorritBlue" : "GorritRed");
  maxHealth = health = blue ? kBlueHealth : kRedHealth;
  speed = enemy::RollSpeed(kSlowSpeed, kFastSpeed);
  harmlessTime = enemy::RollHarmlessTime();
  SetState(enemy::STATE_APPEARING);
}

void Gorrit::Tick(float seconds) { enemy::TickWalker(*this, seconds, blue ? kBlueBehaviour : kRedBehaviour); }

void Gorrit::SetDirection(int newDirection) {
  Entity::SetDirection(newDirection);
  enemy::FaceWalkingFrames(*this);
}

void Gorrit::Dead() { enemy::DieInSpark(*this); }

bool Gorrit::WriteState(NetStream* stream) { return enemy::WriteEnemyState(*this, stream); }

bool Gorrit::ReadState(NetStream* stream) { return enemy::ReadEnemyState(*this, stream); }

void Gorrit::SendEvent(int event, EventParam* a, EventParam* b) {
  enemy::WalkerEvent(*this, event, a, b, true);
}

void Gorrit::TakeDamage(float amount, int knockDirection, int) {
  enemy::TakeWalkerDamage(*this, amount, knockDirection, kDamage);
}
