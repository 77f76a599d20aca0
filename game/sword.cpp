#include "game/sword.h"

#include "game/aveth.h"
#include "game/hitreport.h"
#include "game/rendprael.h"

namespace {

const char* const kSwordSprites[Sword::kLevels] = {"WoodSword", "SteelSword", "MagicSword"};

}  // namespace

const char* Sword::SpriteOf(int swordLevel) {
  return kSwordSprites[swordLevel >= 0 && swordLevel < kLevels ? swordLevel : 0];
}

Sword::Sword(const char*, Orvix::IInputHandler*, NetConnection* connection, int swordLevel, Aveth* hero)
    : Entity(connection), level(swordLevel), owner(hero) {
  SetName(SpriteOf(level));
  if (renderer != nullptr) sprite = renderer->GetSpriteType(SpriteOf(level));
  SetName("Sword");
  baseFrame = 0;
  visible = false;
  transient = true;
  dead = true;  // a sword never announces a death
  notHittable = true;
  ownedByWorld = false;
}

Vec2 Sword::BladeAt(Vec2 from, float distance) const { return from + DirectionOffset(direction, distance); }

void Sword::Swing(Vec2 from, int swingDirection) {
  SetPosition(from);
  state = 1;
  baseFrame = swingDirection;  // one frame a direction
  reach = kReach;
  visible = true;
  direction = swingDirection;
  holdTime = kHoldSeconds;
  Move(DirectionOffset(direction, kReach));
}

void Sword::Tick(float seconds) {
  Entity::Tick(seconds);
  if (!visible) return;
  if (holdTime == 0.0f) {
    // The retraction is counted in frames, not seconds, as the blade was drawn.
    reach -= kRetractPerFrame;
    if (reach <= 0.0f) {
      reach = 0.0f;
      visible = false;
    }
    if (owner) SetPosition(BladeAt(owner->GetPosition(), reach));
  }
  if (holdTime >= 0.0f) {
    holdTime -= seconds;
    if (holdTime < 0.0f) holdTime = 0.0f;
  }
  // Every frame that began with the blade out, the last one included.
  if (IsServer()) HitOverlappingEntities();
}

void Sword::HitOverlappingEntities() {
  if (renderer == nullptr) return;
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    Entity* target = renderer->GetEntity(i);
    if (target == nullptr || target == this || target->isPlayer || target->notHittable) continue;
    if (!Collide(this, target, kHitInset)) continue;
    // Enemies flash when hurt, so one swing hits each of them once.
    if (target->flashing || target->untouchable) continue;
    target->TakeDamage(GetDamage(), direction, 0);
    SendHitReport(net, target, direction, 0);
  }
}
