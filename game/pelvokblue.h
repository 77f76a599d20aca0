// CPelvokBlue: the blue Pelvok, the walker at full depth. It appears out of a
// puff of smoke, walks one tile at a time, keeps its line four times in five
// and stops to throw a rock at every random turn; a stunning hit freezes it
// for two seconds, a hard one knocks it back a tile.
//
// State record: the entity record and the enemies' 28-byte extension
// (game/enemy_common.h).
#pragma once

#include "game/entity.h"

class CPelvokBlue : public Entity {
 public:
  static constexpr float kHealth = 2.0f;
  static constexpr float kSlowSpeed = 50.0f;
  static constexpr float kFastSpeed = 100.0f;

  explicit CPelvokBlue(NetConnection* net);

  void Tick(float seconds) override;
  void SetDirection(int newDirection) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;
};
