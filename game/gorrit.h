// Gorrit: the armoured walker, blue (three hearts, keeps its line and shoots
// at every random turn, as the blue Pelvok) or red (two hearts, turns in
// silence and shoots after one step in ten). It fires arrows and cannot be
// stunned: a hit of nothing only makes it flash.
//
// State record: the entity record and the enemies' 28-byte extension
// (game/enemy_common.h).
#pragma once

#include "game/entity.h"

class Gorrit : public Entity {
 public:
  static constexpr float kBlueHealth = 3.0f;
  static constexpr float kRedHealth = 2.0f;
  static constexpr float kSlowSpeed = 40.0f;
  static constexpr float kFastSpeed = 60.0f;
  static constexpr float kArrowSpeed = 250.0f;
  static constexpr float kArrowDamage = 1.0f;

  Gorrit(NetConnection* net, bool isBlue);

  void Tick(float seconds) override;
  void SetDirection(int newDirection) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;

  bool blue;  // the variant: sprite, health and turn rule
};
