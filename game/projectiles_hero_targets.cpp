// The enemies' projectiles that hurt heroes: the Pelvoks' rock and the
// Murla's energy ball. Both test the heroes they knew at launch, on every
// program, so each player's hero is hurt where that player sees it.
#include "game/aveth.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"

using namespace projectile_rules;

namespace {

// The rock flies over these layer-0 tiles and breaks on any other.
bool RockPassesOver(unsigned tile) {
  switch (tile) {
    case 0x00:
    case 0x09:
    case 0x0A:
    case 0x10:
    case 0x19:
    case 0x20:
    case 0x40:
    case 0x61:
      return true;
    default:
      return false;
  }
}

// The way a deflected rock flies off, per unit of its speed: sideways and
// back from where it came.
Vec2 DeflectedStep(int flightDirection) {
  switch (flightDirection) {
    case DIR_UP:
      return {1.0f, 1.0f};
    case DIR_DOWN:
      return {-1.0f, -1.0f};
    case DIR_LEFT:
      return {1.0f, -1.0f};
    case DIR_RIGHT:
      return {-1.0f, 1.0f};
    default:
      return {};
  }
}

}  // namespace

Rock::Rock(NetConnection* connection, PraelRenderer* world)
    : ProjectileEntity(connection, world, "Rock", 0, 0) {}

void Rock::Launch(int flightDirection, float flightSpeed) {
  direction = flightDirection;
  speed = flightSpeed;
}

bool Rock::FliesOverTile() const {
  if (map == nullptr) return true;
  return RockPassesOver(map->GetMapTile(static_cast<int>(tile.x), static_cast<int>(tile.y), 0));
}

// A rock is turned by a hero who faces it with his shield up (not swinging);
// the shield's rating plays no part. Anyone else it hits is hurt.
void Rock::TestHero(Aveth* hero) {
  if (hero == nullptr || deflected || !Collide(hero, this, kOverlapInset)) return;
  if (Faces(*hero, direction) && !IsSwinging(*hero)) {
    if (inHeroRoom) PlaySound(kSoundShield);
    deflected = true;
    speed *= 0.5f;
    return;
  }
  hero->TakeDamage(kDamage, direction, 0);
  Dead();
}

void Rock::Tick(float seconds) {
  Entity::Tick(seconds);
  // An ended rock still finishes this frame, as every projectile does.
  if (!FliesOverTile()) {
    Dead();
  } else {
    EndAtEdge(kDefaultMargins);
  }
  for (int heroUid = 0; heroUid < kHeroCount; ++heroUid) TestHero(GetHero(heroUid));

  if (deflected) {
    deflectTime += seconds;
    if (deflectTime > kDeflectSeconds) Dead();
    Move(DeflectedStep(direction) * (speed * seconds));
    return;
  }
  MoveStraight(seconds, direction);
}

EnergyBall::EnergyBall(NetConnection* connection, PraelRenderer* world)
    : ProjectileEntity(connection, world, "EnergyBall", 30, 4) {}

// The ball faces its main axis; a tie counts as vertical.
void EnergyBall::Launch(float dx, float dy, float flightSpeed, float hitDamage) {
  velocity = Vec2(dx, dy);
  speed = flightSpeed;
  damage = hitDamage;
  if (std::abs(dy) >= std::abs(dx)) {
    direction = dy > 0.0f ? DIR_DOWN : DIR_UP;
  } else {
    direction = dx > 0.0f ? DIR_RIGHT : DIR_LEFT;
  }
}

void EnergyBall::Tick(float seconds) {
  Entity::Tick(seconds);
  EndAtEdge(kEnergyBallMargins);
  for (int heroUid = 0; heroUid < kHeroCount; ++heroUid) {
    Aveth* hero = GetHero(heroUid);
    if (hero == nullptr || hero->flashing || !Collide(hero, this, kOverlapInset)) continue;
    // Once blocked, the other hero may still be in its way.
    if (MeetShieldOf(*hero, damage)) return;
  }
  Move(velocity * (speed * seconds));
}
