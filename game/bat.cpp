#include "game/bat.h"

#include "game/enemy_common.h"
#include "game/rendprael.h"

namespace {

// The bat's box is tested at its centre.
constexpr float kHalfBox = 16.0f;
// Tiles a bat crosses that stop the walkers.
constexpr unsigned kFlierTileFirst = 162;
constexpr unsigned kFlierTileLast = 164;

// Directions whose arrival is judged on the vertical distance; the others
// (left, right and down-right) on the horizontal one.
bool ArrivesVertically(int stepDirection) {
  return stepDirection != DIR_LEFT && stepDirection != DIR_RIGHT && stepDirection != Bat::DIR_DOWN_RIGHT;
}

float SignOf(float value) { return value < 0.0f ? -1.0f : 1.0f; }

}  // namespace

Bat::Bat(NetConnection* net, bool isBlue) : Entity(net), blue(isBlue) {
  enemy::InitEnemy(*this, "Bat", isBlue ? "BatBlue" : "BatRed");
  health = kHealth;
  speed = kFullSpeed * speedFactor;
  frameRate = kFirstFrameRate;
  harmlessTime = 0.0f;
  SetState(enemy::STATE_READY);
}

Vec2 Bat::StepOf(int stepDirection) {
  constexpr float kStep = static_cast<float>(kStepPixels);
  switch (stepDirection) {
    case DIR_UP_RIGHT:
      return Vec2(kStep, -kStep);
    case DIR_UP_LEFT:
      return Vec2(-kStep, -kStep);
    case DIR_DOWN_RIGHT:
      return Vec2(kStep, kStep);
    case DIR_DOWN_LEFT:
      return Vec2(-kStep, kStep);
    default:  // the four main directions, or no step at all
      return DirectionOffset(stepDirection, kStep);
  }
}

void Bat::Tick(float seconds) {
  Entity::Tick(seconds);
  Flutter(seconds);
  switch (state) {
    case enemy::STATE_READY:
      Animate();
      SetState(enemy::STATE_CHOOSING);
      break;
    case enemy::STATE_APPEARING:
      SetState(enemy::STATE_READY);
      harmlessTime = 0.0f;
      break;
    case enemy::STATE_CHOOSING:
      if (remote)
        SetState(enemy::STATE_WALKING);
      else
        ChooseStep();
      break;
    case enemy::STATE_WALKING:
      Fly(seconds);
      break;
    case enemy::STATE_FIRING:
      Animate();
      if (stateTime > enemy::kFireDelay) {
        Fire();
        SetState(remote ? enemy::STATE_WALKING : enemy::STATE_CHOOSING);
      }
      break;
    default:
      break;
  }
}

// Four seconds of slowing to a stop, a second still, four seconds of
// speeding up again.
void Bat::Flutter(float seconds) {
  if (resting) {
    speedFactor -= kFlutterRate * seconds;
    if (speedFactor < 0.0f) {
      speedFactor = 0.0f;
      restTime -= seconds;
      if (restTime <= 0.0f) resting = false;
    }
  } else if (speedFactor < 1.0f) {
    speedFactor += kFlutterRate * seconds;
  } else if (enemy::Roll(kRestChance) == 0) {
    resting = true;
    restTime = kRestSeconds;
  }
  speed = speedFactor * kFullSpeed;
  frameRate = speedFactor * kFullFrameRate;
}

// Up to four tries: the current direction two times in three on the first,
// otherwise any of the eight. A step is taken only when the centre of the
// bat's box lands on ground it crosses, inside the room.
void Bat::ChooseStep() {
  for (int attempt = 0; attempt < enemy::kTurnAttempts; ++attempt) {
    const bool keepLine = attempt == 0 && enemy::Roll(3) != 0;
    const int stepDirection = keepLine ? direction : enemy::Roll(kDirections);
    target = position + StepOf(stepDirection);
    const Vec2 centre = target + Vec2(kHalfBox, kHalfBox);
    if (!IsWalkable(centre) || !IsInRoom(centre)) continue;
    SetDirection(stepDirection);
    SetState(enemy::STATE_WALKING);
    return;
  }
}

// A diagonal moves the full step on both axes; arrival is judged on one,
// as a walker judges it: the step may not pass the target.
void Bat::Fly(float seconds) {
  if (remote && netUpdated) {
    netUpdated = false;
    return;
  }
  const float step = speed * seconds;
  const Vec2 stepVector = StepOf(direction);
  const bool vertical = ArrivesVertically(direction);
  const float along = vertical ? stepVector.y : stepVector.x;
  const float remaining =
      vertical ? (target.y - position.y) * SignOf(along) : (target.x - position.x) * SignOf(along);
  // A direction with no step (a record from the network) counts as arrived.
  if (along == 0.0f || step > remaining) {
    if (stepVector.x != 0.0f) position.x = target.x;
    if (stepVector.y != 0.0f) position.y = target.y;
    SetState(remote ? enemy::STATE_WALKING : enemy::STATE_CHOOSING);
  } else {
    if (stepVector.x != 0.0f) position.x += step * SignOf(stepVector.x);
    if (stepVector.y != 0.0f) position.y += step * SignOf(stepVector.y);
  }
  moveDirection = direction;
  Animate();
}

// Only event 5 brings a bat to fire: a sword thrown the way it faces.
void Bat::Fire() { enemy::ThrowSwordFrom(*this); }

void Bat::Dead() { enemy::DieInSpark(*this); }

bool Bat::WriteState(NetStream* stream) { return enemy::WriteEnemyState(*this, stream); }

bool Bat::ReadState(NetStream* stream) { return enemy::ReadEnemyState(*this, stream); }

void Bat::SendEvent(int event, EventParam* a, EventParam* b) { enemy::WalkerEvent(*this, event, a, b, true); }

void Bat::TakeDamage(float, int, int) { Dead(); }

bool Bat::IsWalkable(Vec2 point) {
  if (Entity::IsWalkable(point)) return true;
  if (renderer == nullptr) return false;
  const unsigned cell =
      renderer->GetMapTile(static_cast<int>(point.x / kTileSize), static_cast<int>(point.y / kTileSize), 0);
  return cell >= kFlierTileFirst && cell <= kFlierTileLast;
}
