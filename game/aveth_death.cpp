// Aveth out of hearts. A hero whose health reaches 0 falls in a death spark
// with the kill sound and lies hidden for two seconds; then it stands up with
// full hearts where it was last placed, or, when it fell in a cave, on the
// staircase it came down by. Only the player's own program decides that: the
// other program sees the fall and the rise in the hero's health, which comes
// with its state, and shows the spark and the hero accordingly.
#include "game/aveth.h"
#include "game/effects.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "orvix/memtrack.h"
#include "orvix/orvix.h"

void Aveth::Fall() {
  state = STATE_FALLEN;
  stateTime = 0.0f;
  fallenTime = kFallenSeconds;
  flashing = false;
  flashTime = 0.0f;
  visible = false;
  moveDirection = DIR_NONE;
  pushDistance = 0;
  swingTime = 0.0f;
  busyTime = 0.0f;
  if (renderer != nullptr) {
    DeathSpark* spark = OX_NEW DeathSpark(net);
    spark->SetPosition(position);
    renderer->AddEntity(spark, false);
  }
  if (inHeroRoom) PlaySound(kSoundKill);
}

void Aveth::TickFallen(float seconds) {
  visible = false;  // a hit reported by the network may have started flashing
  if (remote) {
    // The player's own program stood the hero up: its health came back.
    if (health > 0.0f) {
      state = STATE_PLAYING;
      visible = true;
    }
    return;
  }
  fallenTime -= seconds;
  if (fallenTime <= 0.0f) StandUp();
}

void Aveth::StandUp() {
  health = maxHealth;
  visible = true;
  fallenTime = 0.0f;
  if (returnPoints.empty()) {
    Place(static_cast<int>(startTile.x), static_cast<int>(startTile.y));
  } else {
    // Out of the cave, on the staircase it went down by; it does not walk
    // straight back down.
    const Vec2 stairs = NextReturnPoint();
    Place(static_cast<int>(stairs.x), static_cast<int>(stairs.y));
    onStairs = true;
    StopSound(kMusicDungeon);
    PlaySound(kMusicOverworld);
  }
  // The view follows the hero to where it stands.
  if (Orvix::g_orvix != nullptr) Orvix::g_orvix->OnGameEvent(1, 0);
}
