#include "game/murla.h"

#include <cmath>

#include "game/aveth.h"
#include "game/enemy_common.h"
#include "game/netconnection.h"
#include "game/pickup.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/soundtable.h"
#include "orvix/memtrack.h"

namespace {

constexpr int kHiddenFrame = 3;
constexpr int kDownFacingFrame = 3;
constexpr int kOtherFacingFrame = 2;
constexpr int kSurfacedFrames = 2;
constexpr float kRecoveredHealth = 2.0f;

}  // namespace

Murla::Murla(NetConnection* net) : Entity(net) {
  enemy::InitEnemy(*this, "Murla", "Murla");
  health = kHealth;
  speed = enemy::RollSpeed(kSlowSpeed, kFastSpeed);  // carried in its record, never used to move
  harmlessTime = 0.0f;
  visible = false;
  frame = 0.0f;
  SetState(STATE_HIDDEN);
}

void Murla::Tick(float seconds) {
  Entity::Tick(seconds);
  switch (state) {
    case STATE_HIDDEN:
      baseFrame = kHiddenFrame;
      frameCount = 0.0f;
      animateNow = false;
      visible = false;
      SetState(STATE_UNDER_WATER);
      break;
    case STATE_SINKING:
      harmlessTime -= seconds;
      baseFrame = 0;
      frameCount = kSurfacedFrames;
      Animate();
      visible = true;
      if (harmlessTime <= 0.0f) {
        harmlessTime = 0.0f;
        SetState(remote ? STATE_SURFACED : STATE_UNDER_WATER);
      }
      break;
    case STATE_UNDER_WATER:
      TickUnderWater();
      break;
    case STATE_SURFACED:
      baseFrame = 0;
      frameCount = kSurfacedFrames;
      Animate();
      visible = true;
      if (stateTime >= kSurfacedSeconds) {
        fired = false;
        SetState(STATE_FIRING);
      }
      break;
    case STATE_FIRING:
      TickFiring();
      break;
    default:
      break;
  }
}

void Murla::TickUnderWater() {
  visible = false;
  if (remote) {
    SetState(STATE_SURFACED);
    return;
  }
  const Vec2 water = FindWaterTile(static_cast<int>(room.x), static_cast<int>(room.y));
  if (water.x == -1.0f) return;  // no water this time: look again next frame
  SetPosition(water * static_cast<float>(kTileSize));
  SetState(STATE_SURFACED);
}

// Open for 1.5 s: the shot after 0.5 s, the dive 1.0 s after the shot.
void Murla::TickFiring() {
  untouchable = false;
  baseFrame = kHiddenFrame;
  frameCount = 0.0f;
  frame = 0.0f;
  if (stateTime > kShotDelay && !fired && !remote) {
    EventParam facing(static_cast<int32_t>(direction));
    EventParam none(0);
    SendEvent(enemy::EV_TURN_AND_FIRE, &facing, &none);  // restarts stateTime
    enemy::SendTurnAndFire(*this, direction);
  }
  if (stateTime > kFiringSeconds) {
    harmlessTime = kSinkingSeconds;
    SetState(STATE_SINKING);
    health = kRecoveredHealth;
    untouchable = true;
  }
}

void Murla::SetDirection(int newDirection) {
  Entity::SetDirection(newDirection);
  baseFrame = newDirection == DIR_DOWN ? kDownFacingFrame : kOtherFacingFrame;
}

void Murla::SendEvent(int event, EventParam* a, EventParam* b) {
  const int first = a != nullptr ? a->i : 0;
  const int second = b != nullptr ? b->i : 0;
  switch (event) {
    case enemy::EV_TURN_AND_FIRE:
      SetDirection(first);
      SetState(STATE_FIRING);
      fired = true;
      FireBall();
      break;
    case enemy::EV_PLACE:
      visible = false;
      SetState(STATE_UNDER_WATER);
      enemy::PlaceOnTile(*this, first, second);
      break;
    default:
      break;
  }
}

// With no hero to aim at, nothing is fired.
void Murla::FireBall() {
  Vec2 aim;
  if (!AimAtHero(&aim)) return;
  EnergyBall* ball = OX_NEW EnergyBall(net, renderer);
  ball->SetPosition(position);
  ball->Launch(aim.x, aim.y, kBallSpeed, kBallDamage);
  enemy::AddToWorld(*this, ball);
}

Vec2 Murla::FindWaterTile(int roomColumn, int roomRow) {
  if (renderer == nullptr) return Vec2(-1.0f, -1.0f);
  for (int draw = 0; draw < kWaterDraws; ++draw) {
    // The column is drawn first.
    const int column = enemy::Roll(kRoomWidthTiles - 2) + 1 + roomColumn * kRoomWidthTiles;
    const int row = enemy::Roll(kRoomHeightTiles - 2) + 1 + roomRow * kRoomHeightTiles;
    if (renderer->GetMapTile(column, row, 0) == kWaterTile)
      return Vec2(static_cast<float>(column), static_cast<float>(row));
  }
  return Vec2(-1.0f, -1.0f);
}

// The server's hero, unless a peer is connected and only the client's hero
// stands in the Murla's room.
bool Murla::AimAtHero(Vec2* aim) {
  Entity* hero = FindHero(renderer, Aveth::kServerHeroUid);
  if (net != nullptr && net->IsConnected()) {
    Entity* clientHero = FindHero(renderer, Aveth::kClientHeroUid);
    const Vec2 ownRoom = RoomOfPoint(position);
    const bool serverHeroHere = hero != nullptr && RoomOfPoint(hero->GetPosition()) == ownRoom;
    if (clientHero != nullptr && !serverHeroHere && RoomOfPoint(clientHero->GetPosition()) == ownRoom)
      hero = clientHero;
  }
  if (hero == nullptr) return false;
  const Vec2 toHero = hero->GetPosition() - position;
  const float length = std::sqrt(toHero.x * toHero.x + toHero.y * toHero.y);
  if (length == 0.0f)
    *aim = Vec2(kFixedAimX, kFixedAimY);
  else
    *aim = Vec2(toHero.x / length, toHero.y / length);
  return true;
}

// Any amount hurts; there is no knock-back and no stun.
void Murla::TakeDamage(float amount, int, int) {
  if (flashing) return;
  health -= amount;
  flashing = true;
  flashTime = enemy::kFlashSeconds;
  if (health <= 0.0f) {
    // Only the server drops: a client's heart would stand in its world alone.
    if (IsServer() && enemy::DropRollWins()) {
      g_killsSinceDrop = 0;
      DropPickup();
    }
    Dead();
    return;
  }
  enemy::PlayInHeroRoom(*this, kSoundHit);
}

void Murla::DropPickup() { enemy::DropPickup(*this, PICKUP_HEART); }

void Murla::Dead() { enemy::DieInSpark(*this); }

bool Murla::WriteState(NetStream* stream) { return enemy::WriteEnemyState(*this, stream); }

bool Murla::ReadState(NetStream* stream) { return enemy::ReadEnemyState(*this, stream); }
