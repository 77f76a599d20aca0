// What every projectile shares: the heroes it knows, its construction, the
// edge of the room, the straight flight and the rules of shields.
#include "game/projectiles.h"

#include <algorithm>
#include <cmath>

#include "game/aveth.h"
#include "game/hitreport.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"

Projectile::Projectile(PraelRenderer* world) {
  if (world == nullptr) return;
  // Heroes who join later are not seen by projectiles already in flight.
  for (uint32_t heroUid = 0; heroUid < kHeroCount; ++heroUid) heroes[heroUid] = FindHero(world, heroUid);
}

Aveth* Projectile::GetHero(int heroUid) const {
  return heroUid >= 0 && heroUid < kHeroCount ? heroes[heroUid].Get() : nullptr;
}

namespace projectile_rules {

bool OutsideMargins(Vec2 position, const EdgeMargins& margins) {
  const float localX =
      position.x - std::floor(position.x / Entity::kRoomWidthPixels) * Entity::kRoomWidthPixels;
  const float localY =
      position.y - std::floor(position.y / Entity::kRoomHeightPixels) * Entity::kRoomHeightPixels;
  return localX < margins.left || localX > margins.right || localY < margins.top || localY > margins.bottom;
}

bool Faces(const Entity& hero, int direction) { return hero.direction == ReverseDirection(direction); }

bool IsSwinging(const Aveth& hero) { return hero.swingTime > 0.0f; }

bool ShieldBlocks(const Aveth& hero, int direction, float damage) {
  return Faces(hero, direction) && damage <= static_cast<float>(hero.shield) && !IsSwinging(hero);
}

float DamageThroughShield(float damage, const Aveth& hero) {
  return std::max(0.0f, damage - static_cast<float>(hero.shield));
}

Aveth* HeroOwner(Entity* owner) {
  if (owner == nullptr || !owner->isPlayer) return nullptr;
  return dynamic_cast<Aveth*>(owner);
}

}  // namespace projectile_rules

ProjectileEntity::ProjectileEntity(NetConnection* connection, PraelRenderer* world, const char* spriteName,
                                   float animationRate, float animationFrames)
    : Entity(connection), Projectile(world), map(world) {
  SetName(spriteName);
  if (map != nullptr) sprite = map->GetSpriteType(spriteName);
  frameRate = animationRate;
  frameCount = animationFrames;
  visible = true;
  transient = true;
  dead = true;  // a projectile never announces its end
  notHittable = true;
  baseFrame = 0;
  direction = DIR_UP;
}

bool ProjectileEntity::EndAtEdge(const EdgeMargins& margins) {
  if (!projectile_rules::OutsideMargins(position, margins)) return false;
  Dead();
  return true;
}

void ProjectileEntity::MoveStraight(float seconds, int flightDirection) {
  Move(DirectionOffset(flightDirection, speed * seconds));
}

void ProjectileEntity::PlayLaunchSound(int sound) {
  const Entity* localHero = map != nullptr ? map->GetLocalHero() : nullptr;
  if (localHero == nullptr) return;
  const Vec2 heroRoom = localHero->room;
  const Vec2 ownRoom = RoomOfPoint(position);
  if (ownRoom == heroRoom) PlaySound(sound);
}

bool ProjectileEntity::IsOtherLiveEntity(const Entity* entity) const {
  return entity != nullptr && entity != this && entity->state != 0;
}

bool ProjectileEntity::TouchesHostile(Entity* entity) {
  return IsOtherLiveEntity(entity) && entity->hostile &&
         Collide(entity, this, projectile_rules::kOverlapInset);
}

bool ProjectileEntity::MeetShieldOf(Aveth& hero, float damage) {
  Dead();
  if (projectile_rules::ShieldBlocks(hero, direction, damage)) {
    if (inHeroRoom) PlaySound(kSoundShield);
    return false;
  }
  hero.TakeDamage(projectile_rules::DamageThroughShield(damage, hero), direction, 0);
  return true;
}

void ProjectileEntity::HurtOnServer(Entity* target, float amount, int knockDirection) {
  if (!IsServer()) return;
  target->TakeDamage(amount, knockDirection, 0);
  SendHitReport(net, target, knockDirection, 0);
}

ItemProjectile::ItemProjectile(NetConnection* connection, PraelRenderer* world, const char* spriteName,
                               float animationRate, float animationFrames, Entity* thrower)
    : ProjectileEntity(connection, world, spriteName, animationRate, animationFrames), owner(thrower) {}

// Only a hero is told; an enemy's arrow tells nobody.
void ItemProjectile::Dead() {
  if (Aveth* hero = projectile_rules::HeroOwner(owner.Get())) hero->SetItemReady(true);
  Entity::Dead();
}
