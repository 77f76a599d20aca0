#include "game/snake.h"

#include <cmath>

#include "game/aveth.h"
#include "game/enemy_common.h"

namespace {

constexpr int kRightFacingFrame = 0;
constexpr int kLeftFacingFrame = 2;
constexpr uint32_t kHeroUids[] = {Aveth::kServerHeroUid, Aveth::kClientHeroUid};

}  // namespace

Snake::Snake(NetConnection* net) : Entity(net) {
  enemy::InitEnemy(*this, "Snake", "Snake");
  health = kHealth;
  speed = kSpeed;
  frameRate = kFrameRate;
  harmlessTime = 0.0f;
  SetState(enemy::STATE_CHOOSING);
}

void Snake::Tick(float seconds) {
  // It never fires: state 8 only returns it to choosing.
  static const enemy::WalkerBehaviour kBehaviour = {ChooseStep, nullptr, true};
  enemy::TickWalker(*this, seconds, kBehaviour);
}

void Snake::SetDirection(int newDirection) {
  Entity::SetDirection(newDirection);
  if (newDirection == DIR_LEFT) baseFrame = kLeftFacingFrame;
  if (newDirection == DIR_RIGHT) baseFrame = kRightFacingFrame;
}

void Snake::Dead() { enemy::DieInSpark(*this); }

bool Snake::WriteState(NetStream* stream) { return enemy::WriteEnemyState(*this, stream); }

bool Snake::ReadState(NetStream* stream) { return enemy::ReadEnemyState(*this, stream); }

// Placing a snake leaves its state alone: it never appears in a puff.
void Snake::SendEvent(int event, EventParam* a, EventParam* b) {
  enemy::WalkerEvent(*this, event, a, b, false);
}

void Snake::TakeDamage(float amount, int knockDirection, int) {
  static const enemy::DamageRules kRules = {true, true};
  enemy::TakeWalkerDamage(*this, amount, knockDirection, kRules);
}

int Snake::FindHeroInLine() {
  for (uint32_t heroUid : kHeroUids) {
    Entity* hero = FindHero(renderer, heroUid);
    if (hero == nullptr || hero->GetRoom() != GetRoom()) continue;
    const Vec2 heroAt = hero->GetPosition();
    if (std::fabs(position.x - heroAt.x) < kLineTolerance) return heroAt.y > position.y ? DIR_DOWN : DIR_UP;
    if (std::fabs(position.y - heroAt.y) < kLineTolerance)
      return heroAt.x >= position.x ? DIR_RIGHT : DIR_LEFT;
  }
  return DIR_NONE;
}

void Snake::StartCharge(int chargeTo) {
  if (chargeTo == DIR_NONE) return;
  charging = true;
  chargeDirection = chargeTo;
}

// A charge runs on in its direction until a step is blocked; then the snake
// slows down and picks at random, keeping its line four times in five.
void Snake::ChooseStep(Entity& walker) {
  Snake& snake = static_cast<Snake&>(walker);
  if (!snake.charging) snake.StartCharge(snake.FindHeroInLine());
  for (int attempt = 0; attempt < enemy::kTurnAttempts; ++attempt) {
    int stepDirection;
    if (snake.charging) {
      stepDirection = snake.chargeDirection;
      snake.speed = kChargeSpeed;
    } else {
      stepDirection = enemy::PickDirection(snake, attempt);
    }
    if (enemy::TryStep(snake, stepDirection)) {
      if (snake.state != enemy::STATE_FIRING) snake.SetState(enemy::STATE_WALKING);
      return;
    }
    if (snake.charging) {
      snake.charging = false;
      snake.speed = kSpeed;
    }
  }
}
