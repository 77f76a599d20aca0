// Snake: a walker that appears without warning and charges. When a hero
// stands within 8 pixels of its row or column in the same room it runs at
// the hero at four times its pace until a step is blocked; otherwise it walks
// like a Pelvok without ever stopping to fire. Its sprite has a right-facing
// pair of frames at 0 and a left-facing pair at 2; walking up or down keeps
// the last of them.
//
// State record: the entity record and the enemies' 28-byte extension
// (game/enemy_common.h).
#pragma once

#include "game/entity.h"

class Snake : public Entity {
 public:
  static constexpr float kHealth = 1.0f;
  static constexpr float kSpeed = 60.0f;
  static constexpr float kChargeSpeed = 240.0f;
  static constexpr float kFrameRate = 5.0f;
  // A hero this close to the snake's line, across it, draws a charge.
  static constexpr float kLineTolerance = 8.0f;

  explicit Snake(NetConnection* net);

  void Tick(float seconds) override;
  void SetDirection(int newDirection) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;

  // The direction (0 to 3) toward a hero in the snake's room that stands on
  // its row or column, hero 0 before hero 1; -1 when there is none.
  int FindHeroInLine();
  // Starts a charge in `chargeTo`; -1 starts nothing.
  void StartCharge(int chargeTo);

  bool charging = false;
  int32_t chargeDirection = DIR_NONE;

 private:
  // State 4: the charge rule.
  static void ChooseStep(Entity& walker);
};
