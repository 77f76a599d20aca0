// Murla: a water dweller. Hidden, it picks a water tile of its room,
// surfaces there for two seconds, opens up and fires an energy ball at a
// hero, then sinks and moves on, with its full health back. The sword can
// hurt it only while it fires (it is untouchable the rest of the time once
// its first shot is over). A room without water keeps it hidden for good.
//
// States: 1 hidden, 4 under water (looking for water), 5 surfaced,
// 8 firing, 3 sinking.
//
// State record: the entity record and the enemies' 28-byte extension
// (game/enemy_common.h).
#pragma once

#include "game/entity.h"

class Murla : public Entity {
 public:
  static constexpr float kHealth = 2.0f;
  static constexpr float kSlowSpeed = 50.0f;
  static constexpr float kFastSpeed = 100.0f;
  static constexpr float kSurfacedSeconds = 2.0f;
  static constexpr float kShotDelay = 0.5f;      // into the firing phase
  static constexpr float kFiringSeconds = 1.0f;  // the shot comes 0.5 s before the end
  static constexpr float kSinkingSeconds = 1.5f;
  static constexpr float kBallSpeed = 225.0f;
  static constexpr float kBallDamage = 2.0f;
  static constexpr int kWaterDraws = 32;
  static constexpr unsigned char kWaterTile = 48;
  // Where the ball flies when the hero stands exactly on the Murla: down.
  static constexpr float kFixedAimX = 0.0f;
  static constexpr float kFixedAimY = 1.0f;

  enum MurlaState : int32_t {
    STATE_HIDDEN = 1,
    STATE_SINKING = 3,
    STATE_UNDER_WATER = 4,
    STATE_SURFACED = 5,
    STATE_FIRING = 8,
  };

  explicit Murla(NetConnection* net);

  void Tick(float seconds) override;
  void SetDirection(int newDirection) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  // 5: fire at a hero (a = direction); 11: hide on tile (a, b).
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;
  // Always a heart.
  virtual void DropPickup();

  // A water tile of the room's inner 14 x 9 found in 32 draws, in tiles;
  // (-1, -1) when the draws find none.
  Vec2 FindWaterTile(int roomColumn, int roomRow);
  // The unit vector from the Murla toward the hero it fires at, and true; false
  // when no hero is there to aim at.
  bool AimAtHero(Vec2* aim);

  bool fired = false;

 private:
  void TickUnderWater();
  void TickFiring();
  void FireBall();
};
