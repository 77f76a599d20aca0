// Effects: short animations the game makes for itself. A DeathSpark plays
// once where an enemy dies; Smoke puffs are scattered by a bomb's explosion.
// Both are local to each participant (transient, never announced, never hit)
// and end on their own once their animation has run.
#pragma once

#include "game/entity.h"

class DeathSpark : public Entity {
 public:
  // The caller puts it where the enemy died and adds it to the world.
  explicit DeathSpark(NetConnection* net);

  void Tick(float seconds) override;
  void SendEvent(int, EventParam*, EventParam*) override {}
};

class Smoke : public Entity {
 public:
  static constexpr float kFlickerInterval = 0.03f;

  Smoke(NetConnection* net, PraelRenderer* spriteRenderer);

  void Tick(float seconds) override;
  void Dead() override { Entity::Dead(); }
  void SendEvent(int, EventParam*, EventParam*) override {}

  // Puts the puff at `where` with a rate of its own (3.00 to 4.99 frames a
  // second), so the puffs of one explosion fade out at different times.
  void Place(Vec2 where);

  // All puffs share one flicker timer: each lowers it in its own Tick, and the
  // first one to find it run out flickers and winds it up again.
  static float flickerTimer;

  PraelRenderer* spriteRenderer;  // borrowed: where the sprite is looked up
};
