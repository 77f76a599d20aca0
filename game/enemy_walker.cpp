// The walker: the behaviour of the enemies that walk one tile at a time in
// the four main directions, turn at random and stop now and then to fire.
// A walker whose remote flag is set is a replica: it never decides a turn or
// a shot, it walks to the target the network gave it and fires when told.
#include <algorithm>

#include "game/enemy_common.h"

namespace enemy {

namespace {

constexpr int kPuffFrames = 3;
constexpr float kPuffFramesPerSecond = 10.0f;
constexpr int kLeftWalkingFrame = 3;

// State 3: the three puff frames play during the last 0.3 s of harmlessTime.
void Appear(Entity& walker, float seconds, bool inPuff) {
  if (!inPuff) {
    walker.SetState(STATE_READY);
    walker.harmlessTime = 0.0f;
    return;
  }
  walker.harmlessTime -= seconds;
  walker.baseFrame = 0;
  walker.frameCount = kPuffFrames;
  walker.frame = std::max(0.0f, kPuffFrames - kPuffFramesPerSecond * walker.harmlessTime);
  if (walker.harmlessTime <= 0.0f) {
    // The puff's last frame number would otherwise be shown on the walking
    // rows until the animation next wraps.
    walker.frame = 0.0f;
    walker.baseFrame = kLeftWalkingFrame;
    walker.SetState(STATE_READY);
    walker.harmlessTime = 0.0f;
  }
}

void BeReady(Entity& walker, bool inPuff) {
  if (inPuff) {
    walker.baseFrame = kLeftWalkingFrame;
    walker.frameCount = 2.0f;
    walker.Animate();
  }
  walker.SetState(STATE_CHOOSING);
}

// The state a walker takes after finishing a step or a shot: a replica waits
// for the network in 5, a walker of its own chooses again.
int NextAfterAction(const Entity& walker) { return walker.remote ? STATE_WALKING : STATE_CHOOSING; }

// Red walkers: random picks are silent; after a successful step one in ten
// fires (when `mayFire`).
void TurnSilently(Entity& walker, bool mayFire) {
  for (int attempt = 0; attempt < kTurnAttempts; ++attempt) {
    bool random = false;
    const int stepDirection = PickDirection(walker, attempt, &random);
    if (!TryStep(walker, stepDirection)) continue;
    walker.SetState(STATE_WALKING);
    if (mayFire && Roll(10) == 1) {
      walker.SetState(STATE_FIRING);
      SendTurnAndFire(walker, stepDirection);
    }
    return;
  }
}

}  // namespace

int PickDirection(const Entity& walker, int attempt, bool* random) {
  const bool picked = !(attempt == 0 && Roll(5) != 0);
  if (random != nullptr) *random = picked;
  return picked ? Roll(4) : walker.direction;
}

bool TryStep(Entity& walker, int stepDirection) {
  walker.target = walker.position + DirectionOffset(stepDirection, Entity::kTileSize);
  if (!walker.IsWalkable(walker.target) || !walker.IsInRoom(walker.target)) return false;
  walker.SetDirection(stepDirection);
  return true;
}

bool WalkTowardTarget(Entity& walker, float seconds) {
  const Vec2 unit = DirectionOffset(walker.direction, 1.0f);
  if (unit.x == 0.0f && unit.y == 0.0f) return false;
  // One axis moves: the one of the facing, toward the target's coordinate.
  const bool across = unit.x != 0.0f;
  const float sign = across ? unit.x : unit.y;
  float& coordinate = across ? walker.position.x : walker.position.y;
  const float goal = across ? walker.target.x : walker.target.y;
  const float step = walker.speed * seconds;
  if (step <= (goal - coordinate) * sign) {
    coordinate += step * sign;
    return false;
  }
  coordinate = goal;
  return true;
}

void TurnKeepingLine(Entity& walker) {
  for (int attempt = 0; attempt < kTurnAttempts; ++attempt) {
    bool random = false;
    const int stepDirection = PickDirection(walker, attempt, &random);
    if (random) {
      walker.SetState(STATE_FIRING);
      SendTurnAndFire(walker, stepDirection);
    }
    if (TryStep(walker, stepDirection)) {
      if (walker.state != STATE_FIRING) walker.SetState(STATE_WALKING);
      return;
    }
  }
}

void TurnThenMaybeFire(Entity& walker) { TurnSilently(walker, true); }

void TurnWithoutFiring(Entity& walker) { TurnSilently(walker, false); }

void TickWalker(Entity& walker, float seconds, const WalkerBehaviour& behaviour) {
  walker.Entity::Tick(seconds);
  // Restarts stateTime every frame while the walker is appearing.
  if (walker.harmlessTime > 0.0f) walker.SetState(STATE_APPEARING);
  switch (walker.state) {
    case STATE_READY:
      BeReady(walker, behaviour.appearsInPuff);
      break;
    case STATE_APPEARING:
      Appear(walker, seconds, behaviour.appearsInPuff);
      break;
    case STATE_CHOOSING:
      walker.Animate();
      if (walker.remote) {
        walker.SetState(STATE_WALKING);
      } else {
        behaviour.turn(walker);
      }
      break;
    case STATE_WALKING:
      if (walker.remote && walker.netUpdated) {
        // The update has just put it where the server has it.
        walker.netUpdated = false;
        break;
      }
      // Written directly; tile and room follow in the next base Tick.
      if (WalkTowardTarget(walker, seconds)) walker.SetState(NextAfterAction(walker));
      walker.moveDirection = walker.direction;
      walker.frameCount = 2.0f;
      walker.Animate();
      break;
    case STATE_FIRING:
      walker.Animate();
      if (behaviour.fire == nullptr) {
        walker.SetState(STATE_CHOOSING);
      } else if (walker.stateTime > kFireDelay) {
        behaviour.fire(walker);
        walker.SetState(NextAfterAction(walker));
      }
      break;
    case STATE_STUNNED:
      walker.Animate();
      if (walker.stateTime > kStunSeconds) walker.SetState(STATE_WALKING);
      break;
    default:
      break;
  }
}

}  // namespace enemy
