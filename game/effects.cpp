#include "game/effects.h"

#include <cstdlib>

#include "game/rendprael.h"

namespace {

constexpr float kSmokeFrames = 3.0f;
// A puff flickers once it is half a frame old.
constexpr float kSmokeFlickerFrom = 0.5f;

}  // namespace

float Smoke::flickerTimer = 0.0f;

DeathSpark::DeathSpark(NetConnection* connection) : Entity(connection) {
  if (renderer != nullptr) sprite = renderer->GetSpriteType("DeathSpark");
  SetName("DeathSpark");
  visible = true;
  transient = true;
  dead = true;  // never announced
  notHittable = true;
  baseFrame = 0;
  frameRate = 10.0f;
  frameCount = 5.0f;
}

void DeathSpark::Tick(float seconds) {
  Animate();
  Entity::Tick(seconds);
  // The spark ends on its last picture. Dead (with no message, as dead is
  // preset) also sets state 0, which is what takes an entity out of the
  // world's list; removed alone would leave the spark ticking for ever.
  if (frame >= frameCount - 1.0f) Dead();
}

Smoke::Smoke(NetConnection* connection, PraelRenderer* lookup) : Entity(connection), spriteRenderer(lookup) {
  if (spriteRenderer != nullptr) sprite = spriteRenderer->GetSpriteType("Smoke");
  SetName("Smoke");
  visible = true;
  transient = true;
  dead = true;
  notHittable = true;
  direction = DIR_UP;
}

void Smoke::Place(Vec2 where) {
  SetPosition(where);
  baseFrame = 0;
  frameRate = static_cast<float>(std::rand() % 200) / 100.0f + 3.0f;
  frameCount = kSmokeFrames;
}

void Smoke::Tick(float seconds) {
  // The frame runs by itself: the base animation would wrap it to 0 instead
  // of letting the puff end.
  frame += seconds * frameRate;
  flickerTimer -= seconds;
  if (frame > kSmokeFlickerFrom && flickerTimer <= 0.0f) {
    visible = !visible;
    flickerTimer = kFlickerInterval;
  }
  if (frame >= frameCount) Dead();
  Entity::Tick(seconds);
}
