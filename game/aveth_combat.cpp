// Aveth's actions: the sword attack and beam, the secondary items, placing,
// the stairs events, and taking damage.
#include "game/aveth.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "game/sword.h"

namespace {

constexpr float kItemSpawnDistance = 32.0f;
constexpr int kItemCount = 4;

}  // namespace

Vec2 Aveth::PointAhead(float distance) const { return position + DirectionOffset(direction, distance); }

// The beam flies whenever one is ready at (nearly) full health, even while a
// swing is still running; the sword itself swings once per 0.125 s.
void Aveth::Attack() {
  if (BeamDue() && LaunchBeam()) {
    beamReady = false;
    if (inHeroRoom) PlaySound(kSoundSwordCombined);
  } else if (inHeroRoom) {
    PlaySound(kSoundSword);
  }
  if (swingTime > 0.0f || state != STATE_PLAYING) return;
  Sword* sword = GetSword(swordIndex);
  if (sword != nullptr) sword->Swing(position, direction);
  busyTime = kSwingSeconds;
  swingTime = kSwingSeconds;
}

// One item at a time: the item in flight sets itemReady again when it ends.
// Nothing is spent unless something was thrown.
void Aveth::UseItem() {
  if (!itemReady) return;
  bool used = false;
  switch (selectedItem) {
    case ITEM_BOOMERANG:
      // The server flies both players' boomerangs; clients only show them.
      used = IsServer() && boomerangIndex > -1 && ThrowBoomerang();
      break;
    case ITEM_FIRE:
    case ITEM_BOMB:
      used = LaunchItem(selectedItem, PointAhead(kItemSpawnDistance));
      break;
    case ITEM_ARROW:
      if (currency <= 0) {
        currency = 0;
        break;
      }
      used = LaunchItem(ITEM_ARROW, PointAhead(kItemSpawnDistance));
      if (used) --currency;
      break;
    default:
      break;
  }
  if (!used) return;
  itemReady = false;
  busyTime = kSwingSeconds;
  swingTime = kSwingSeconds;
}

void Aveth::SelectNextItem() {
  if (++selectedItem > kItemCount) selectedItem = ITEM_BOOMERANG;
  PlaySound(kSoundText);
}

void Aveth::Place(int tileX, int tileY) {
  SetPosition(Vec2(static_cast<float>(tileX * kTileSize), static_cast<float>(tileY * kTileSize)));
  SetState(STATE_PLAYING);
  SetDirection(DIR_UP);
  if (swords[0] != nullptr) swords[0]->SetPosition(position);
}

void Aveth::StartStairsDown() {
  state = STATE_STAIRS_DOWN;
  if (inHeroRoom) PlaySound(kSoundStairs);
  if (!remote) StopSound(kMusicOverworld);
  stairDepth = 32.0f;
}

void Aveth::StartStairsUp() {
  state = STATE_STAIRS_UP;
  if (inHeroRoom) PlaySound(kSoundStairs);
  stairDepth = 0.0f;
  onStairs = true;
}

// Every hurt costs damageFactor of its amount, starts a second of flashing
// (during which nothing hurts the hero again) and a 64-pixel knock-back.
void Aveth::TakeDamage(float amount, int knockDirection, int) {
  if (state == STATE_FALLEN) return;  // nothing hurts a hero that is down
  flashing = true;
  flashTime = 1.0f;
  health -= amount * damageFactor;
  SetPushDistance(static_cast<int>(kKnockBackPixels));
  SetPushDirection(knockDirection);
  if (inHeroRoom) PlaySound(kSoundHurt);
}
