// Bat: a flier. It crosses water and the other tiles that stop walkers (tile
// values 162 to 164 besides the walkers' own), in eight directions and in
// half-tile steps, and now and then slows to a stop, rests a second and
// speeds up again. Any hit kills it; it never drops anything. The blue and
// the red bat differ only in their sprite.
//
// Directions: 0 to 3 as every entity's, then 4 up-right, 5 up-left,
// 6 down-right, 7 down-left.
//
// State record: the entity record and the enemies' 28-byte extension
// (game/enemy_common.h).
#pragma once

#include "game/entity.h"

class Bat : public Entity {
 public:
  static constexpr float kHealth = 1.0f;
  static constexpr float kFullSpeed = 85.0f;
  static constexpr float kFullFrameRate = 25.0f;
  static constexpr float kFirstFrameRate = 20.0f;
  static constexpr int kStepPixels = 16;
  static constexpr int kDirections = 8;
  // The flutter: speedFactor falls (resting) or rises by this much a second.
  static constexpr float kFlutterRate = 0.25f;
  static constexpr float kRestSeconds = 1.0f;
  // One frame in this many, a bat at full speed starts to rest.
  static constexpr int kRestChance = 500;

  enum Direction8 : int32_t {
    DIR_UP_RIGHT = 4,
    DIR_UP_LEFT = 5,
    DIR_DOWN_RIGHT = 6,
    DIR_DOWN_LEFT = 7,
  };

  Bat(NetConnection* net, bool isBlue);

  void Tick(float seconds) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  // Any hit kills: the arguments do not matter.
  void TakeDamage(float amount, int knockDirection, int extra) override;
  // The walkers' ground and the three tiles only a flier crosses.
  bool IsWalkable(Vec2 point) override;

  // The step of direction 0 to 7 in pixels; (0, 0) for any other.
  static Vec2 StepOf(int stepDirection);

  bool blue;
  float speedFactor = 1.0f;
  bool resting = false;
  float restTime = 0.0f;

 private:
  void Flutter(float seconds);
  void ChooseStep();
  void Fly(float seconds);
  void Fire();
};
