// Sword: the hero's melee weapon, an entity of its own beside its owner. A
// swing puts the blade 27 pixels in front of the hero for a short hold, then
// pulls it back into the hero 10 pixels a frame. While it is out, the server's
// copy hits every other entity it overlaps (never a hero) and reports each hit
// with message 6; clients hurt nothing and learn of hits from that message.
//
// Each hero makes three swords, of level 0, 1 and 2 (damage 1, 2 and 3), and
// owns them: they are never released by the world (ownedByWorld is clear).
#pragma once

#include "game/entity.h"
#include "game/entityref.h"

namespace Orvix {
class IInputHandler;
}
class Aveth;

class Sword : public Entity {
 public:
  static constexpr int kLevels = 3;
  static constexpr float kReach = 27.0f;
  static constexpr float kHoldSeconds = 0.08f;
  static constexpr float kRetractPerFrame = 10.0f;
  static constexpr int kHitInset = 7;

  // The sprite name and the input handler are accepted and not used: the
  // level chooses the sprite ("WoodSword", "SteelSword", "MagicSword").
  Sword(const char* spriteName, Orvix::IInputHandler* input, NetConnection* net, int level, Aveth* owner);

  void Tick(float seconds) override;
  void SendEvent(int, EventParam*, EventParam*) override {}

  // Puts the blade out in front of `from`, facing `swingDirection` (0 to 3).
  void Swing(Vec2 from, int swingDirection);

  // The sprite of a sword of `swordLevel`: "WoodSword", "SteelSword" or
  // "MagicSword".
  static const char* SpriteOf(int swordLevel);
  int GetLevel() const { return level; }
  float GetDamage() const { return static_cast<float>(level + 1); }

  int32_t level;
  float reach = 0.0f;      // distance of the blade from the owner, pixels
  float holdTime = 0.0f;   // seconds the blade stays fully out
  EntityRef<Aveth> owner;  // the hero that swings it; it outlives its swords

 private:
  // The blade's place `distance` pixels from `from` in the sword's direction.
  Vec2 BladeAt(Vec2 from, float distance) const;
  void HitOverlappingEntities();
};
