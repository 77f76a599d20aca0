// Aveth's frame: the stairs going down and up, the sword pose, the currency
// counter, the low-health warning and damage from touching enemies.
#include <cmath>

#include "game/aveth.h"
#include "game/hitreport.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "orvix/orvix.h"

namespace {

// The pixels a hero sinks into (or rises out of) the stairs each second.
constexpr float kStairsSpeed = 32.0f;
// The swing pose shows while this much of the swing is left.
constexpr float kSwingPoseSeconds = 0.02f;
constexpr int kContactInset = 5;

}  // namespace

void Aveth::Tick(float seconds) {
  Entity::Tick(seconds);
  if (state == STATE_PLAYING && health <= 0.0f) Fall();
  switch (state) {
    case STATE_INACTIVE:
    case STATE_HELD:
      return;
    case STATE_STAIRS_DOWN:
      TickStairsDown(seconds);
      return;
    case STATE_STAIRS_UP:
      TickStairsUp(seconds);
      return;
    case STATE_FALLEN:
      TickFallen(seconds);
      return;
    default:
      TickPlaying(seconds);
      return;
  }
}

// At the bottom of the stairs the hero comes out at the start cell of the room
// the stairs stand in, and remembers where to come back up.
void Aveth::TickStairsDown(float seconds) {
  baseFrame = HeroWalkFrame(DIR_UP);
  frameCount = 2.0f;
  stairDepth -= seconds * kStairsSpeed;
  Animate();
  if (stairDepth > 0.0f) return;
  state = STATE_PLAYING;
  stairDepth = 32.0f;
  returnPoints.push_back(tile);
  const RoomRecord* record = renderer != nullptr
                                 ? renderer->GetRoomRecord(static_cast<int>(room.x), static_cast<int>(room.y))
                                 : nullptr;
  if (record != nullptr) {
    const int32_t cell = record->startCell;
    SetPosition(Vec2(static_cast<float>((cell % 256) * kTileSize + 16),
                     static_cast<float>((cell / 256) * kTileSize)));
  }
  if (!remote && Orvix::g_orvix != nullptr) Orvix::g_orvix->OnGameEvent(1, 0);
}

void Aveth::TickStairsUp(float seconds) {
  if (!remote) StopSound(kMusicDungeon);
  baseFrame = HeroWalkFrame(DIR_DOWN);
  frameCount = 2.0f;
  stairDepth += seconds * kStairsSpeed;
  Animate();
  if (stairDepth < 32.0f) return;
  state = STATE_PLAYING;
  stairDepth = 32.0f;
  if (!remote) PlaySound(kMusicOverworld);
}

void Aveth::TickPlaying(float seconds) {
  CheckStairs();
  if (swingTime > 0.0f) {
    swingTime -= seconds;
    if (swingTime < 0.0f) {
      swingTime = 0.0f;
      frameCount = 2.0f;
    } else {
      frame = 0.0f;
      frameCount = 1.0f;
    }
  }
  if (direction >= DIR_UP && direction <= DIR_RIGHT)
    baseFrame = HeroWalkFrame(direction) + (swingTime >= kSwingPoseSeconds ? 2 : 0);
  if (remote) return;
  if (health <= 1.0f) {
    lowHealthTime -= seconds;
    if (lowHealthTime <= 0.0f) {
      PlaySound(kSoundLowHealth);
      lowHealthTime = kLowHealthInterval;
    }
  }
  CountCurrency();
  CheckContactDamage();
}

// Stepping onto a staircase takes the hero down, unless it has just come up
// it and not yet stepped off.
void Aveth::CheckStairs() {
  if (renderer == nullptr) return;
  const int row = static_cast<int>(std::floor((position.y + 14.0f + 16.0f) / kTileSize));
  if (renderer->GetMapTile(static_cast<int>(tile.x), row, 0) != kStairsTile) {
    onStairs = false;
    return;
  }
  if (onStairs) return;
  SendEvent(EV_STAIRS_DOWN, nullptr, nullptr);
  SetPosition(Vec2(std::floor((position.x + 16.0f) / kTileSize) * kTileSize,
                   std::floor((position.y + 30.0f) / kTileSize) * kTileSize));
}

// One unit a frame, with a tick of sound each, toward the pending amount. The
// counter stays within 0 to 999 and drops what would pass either end.
void Aveth::CountCurrency() {
  if (currencyPending < 0) {
    --currency;
    ++currencyPending;
    if (currency <= 0) {
      currency = 0;
      currencyPending = 0;
    }
    PlaySound(kSoundText);
  } else if (currencyPending > 0) {
    ++currency;
    --currencyPending;
    if (currency >= kMaxCounter) {
      currency = kMaxCounter;
      currencyPending = 0;
    }
    PlaySound(kSoundText);
    PlaySound(kSoundGetDralm);
  }
}

// Touching an enemy hurts and knocks the hero back, away from where it was
// walking (or along the enemy's own walk when the hero stands). While the
// hero flashes, nothing hurts it again.
void Aveth::CheckContactDamage() {
  if (renderer == nullptr) return;
  for (unsigned i = 0; i < renderer->GetEntityCount() && !flashing; ++i) {
    Entity* other = renderer->GetEntity(i);
    if (other == nullptr || other == this) continue;
    if (other->harmlessTime > 0.0f || other->flashing) continue;
    if (!other->contactDamages && !other->solid) continue;
    if (!Collide(this, other, kContactInset)) continue;
    if (other->solid) continue;  // walls do not push back
    const int knock = moveDirection != DIR_NONE ? ReverseDirection(moveDirection) : other->moveDirection;
    if (knock == DIR_NONE) continue;
    TakeDamage(static_cast<float>(other->contactDamage), knock, 0);
    SendHitReport(net, this, knock, pushDistance);
  }
}
