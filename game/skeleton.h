// Skeleton: a walker that needs no puff to appear, never fires on its own
// (only when told, with a thrown sword) and rolls for its drop as it dies.
// Every skeleton death that drops nothing counts in the kill counter all
// enemies share (g_killsSinceDrop), which makes a drop certain above 5.
//
// State record: the entity record and the enemies' 28-byte extension
// (game/enemy_common.h).
#pragma once

#include "game/entity.h"

class Skeleton : public Entity {
 public:
  static constexpr float kHealth = 2.0f;
  static constexpr float kSpeed = 50.0f;
  static constexpr float kFrameRate = 8.0f;

  explicit Skeleton(NetConnection* net);

  void Tick(float seconds) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;

  // Enables the one-in-ten shot after a step; no skeleton sets it.
  bool shoots = false;
};
