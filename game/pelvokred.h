// CPelvokRed: the red Pelvok, a walker of one heart. It turns without a word
// and, after one step in ten, stops to throw a rock the way it now faces.
//
// State record: the entity record and the enemies' 28-byte extension
// (game/enemy_common.h).
#pragma once

#include "game/entity.h"

class CPelvokRed : public Entity {
 public:
  static constexpr float kHealth = 1.0f;
  static constexpr float kSlowSpeed = 50.0f;
  static constexpr float kFastSpeed = 100.0f;

  explicit CPelvokRed(NetConnection* net);

  void Tick(float seconds) override;
  void SetDirection(int newDirection) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;
};
