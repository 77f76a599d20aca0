// Projectiles: the short-lived things heroes and enemies throw, shoot or drop.
// Each class is an Entity and, as a second base, a Projectile, which holds
// the two heroes (uid 0 and uid 1) as they were when it was made.
//
//   Rock        thrown by the Pelvoks; hurts heroes, turned by a facing shield
//   EnergyBall  the Murla's; hurts heroes, blocked by a strong enough shield
//   ThrowSword  the hero's sword beam, also thrown by bats and skeletons;
//               hurts hostile entities, never heroes
//   Fire        the hero's item 2; creeps one tile, then burns in place,
//               hurting everything it touches
//   Arrow       the hero's item 4 (hurts an enemy, collects pickups) or the
//               Gorrit's (hurts heroes)
//   Boomerang   the hero's item 1, owned and reused by the hero; stuns
//               enemies and comes back to its owner wherever he walks
//   Bomb        the hero's item 3; explodes after a second, hurting
//               everything near it, heroes included
//
// A thrower makes one, places it at its own position (SetPosition), starts it
// with its launch operation and adds it at the back of the world's entity
// list. From then on the projectile runs in its own Tick and ends with Dead,
// which gives the hero that threw it his beam or his item back.
//
// Hurting through the entity list happens on the server only, which reports
// every hit with message 6; the hero tests of the rock, the energy ball and
// an enemy's arrow run on every program.
//
// Every pointer a projectile keeps to another entity (its owner, the heroes)
// is an EntityRef: an entity released while the projectile flies (a hero
// whose player left, say) is simply no longer there for it.
//
// Units: game/projectiles.cpp (the shared base and helpers),
// projectiles_hero_targets.cpp (Rock, EnergyBall), projectiles_shots.cpp
// (ThrowSword, Arrow), projectiles_fire.cpp (Fire), projectiles_bomb.cpp
// (Bomb), projectiles_boomerang.cpp (Boomerang).
#pragma once

#include "game/entity.h"
#include "game/entityref.h"

class Aveth;

// The second base of every projectile: the heroes it may hurt.
class Projectile {
 public:
  static constexpr int kHeroCount = 2;

  // Looks both heroes up in the world of `world` (null: none).
  explicit Projectile(PraelRenderer* world);

  // The hero of uid 0 or 1 as found at construction; null when there was none
  // or it has been released since.
  Aveth* GetHero(int heroUid) const;

 protected:
  EntityRef<Aveth> heroes[kHeroCount];
};

// Room-local margins: a projectile ends once it is outside them.
struct EdgeMargins {
  float left, right, top, bottom;
};

// Shared rules of every projectile.
namespace projectile_rules {

constexpr EdgeMargins kDefaultMargins = {32.0f, 480.0f, 32.0f, 320.0f};
constexpr EdgeMargins kEnergyBallMargins = {32.0f, 460.0f, 32.0f, 300.0f};
constexpr EdgeMargins kBombMargins = {4.0f, 508.0f, 4.0f, 348.0f};
// Boxes are shrunk by this many pixels on every side for every overlap test.
constexpr int kOverlapInset = 6;

// True when `position`, taken within its room, lies outside the margins.
bool OutsideMargins(Vec2 position, const EdgeMargins& margins);
// True when the hero faces a projectile flying in `direction`.
bool Faces(const Entity& hero, int direction);
// True when the hero is in the middle of a sword swing.
bool IsSwinging(const Aveth& hero);
// True when the hero's shield stops a blow of `damage` flying in `direction`:
// he faces it, the shield is at least as strong and he is not swinging.
bool ShieldBlocks(const Aveth& hero, int direction, float damage);
// What a hero's shield leaves of `damage`; a shield stops a blow, it never
// heals.
float DamageThroughShield(float damage, const Aveth& hero);
// The hero that owns `owner`, or null when the owner is none or not a hero.
Aveth* HeroOwner(Entity* owner);

}  // namespace projectile_rules

// The parts every projectile shares: the renderer that holds its world, the
// edge test and the straight flight.
class ProjectileEntity : public Entity, public Projectile {
 public:
  ProjectileEntity(NetConnection* net, PraelRenderer* world, const char* spriteName, float animationRate,
                   float animationFrames);

  // Projectiles act through their own Tick, never through events.
  void SendEvent(int, EventParam*, EventParam*) override {}

 protected:
  // Dead when outside the margins; true when it was.
  bool EndAtEdge(const EdgeMargins& margins);
  // speed x seconds in direction 0 to 3; other directions do not move.
  void MoveStraight(float seconds, int flightDirection);
  // Plays a launch sound when the projectile starts in the local hero's room.
  // A launch comes before the world's tick pass has told the new projectile
  // whether it is there (inHeroRoom), so the rooms are compared here.
  void PlayLaunchSound(int sound);
  // Tells whether the entity is one a projectile may act on at all: not this
  // projectile, not ended.
  bool IsOtherLiveEntity(const Entity* entity) const;
  // A hostile entity, live, that overlaps this projectile.
  bool TouchesHostile(Entity* entity);
  // The projectile ends at a hero: his shield turns it (ShieldBlocks) or he
  // takes what the shield leaves of `damage`. True when he was hurt.
  bool MeetShieldOf(Aveth& hero, float damage);
  // On the server: hurts the target and reports the hit to the peer. Clients
  // leave hurting to the server.
  void HurtOnServer(Entity* target, float amount, int knockDirection);

  PraelRenderer* map;  // borrowed: the game renderer, which holds the world
};

// A projectile with damage and a thrower, which gives the hero who threw it
// his item back when it ends (fire, arrows, bombs).
class ItemProjectile : public ProjectileEntity {
 public:
  ItemProjectile(NetConnection* net, PraelRenderer* world, const char* spriteName, float animationRate,
                 float animationFrames, Entity* thrower);
  void Dead() override;

  float damage = 0.0f;
  EntityRef<Entity> owner;  // null when an enemy passes none
};

class Rock : public ProjectileEntity {
 public:
  static constexpr float kDeflectSeconds = 0.3f;
  static constexpr float kDamage = 1.0f;

  Rock(NetConnection* net, PraelRenderer* world);
  void Launch(int flightDirection, float flightSpeed);
  void Tick(float seconds) override;

  bool deflected = false;  // a hero's shield turned the rock away
  float deflectTime = 0.0f;

 private:
  bool FliesOverTile() const;
  void TestHero(Aveth* hero);
};

class EnergyBall : public ProjectileEntity {
 public:
  EnergyBall(NetConnection* net, PraelRenderer* world);
  // (dx, dy) is the flight direction, a unit vector.
  void Launch(float dx, float dy, float flightSpeed, float hitDamage);
  void Tick(float seconds) override;

  Vec2 velocity;
  float damage = 0.0f;
};

// The sword beam: hurts every hostile entity it touches, then ends.
class ThrowSword : public ProjectileEntity {
 public:
  // owner: the hero that threw the beam, or null (a bat's or a skeleton's).
  ThrowSword(NetConnection* net, PraelRenderer* world, Entity* thrower);
  void Launch(int flightDirection, float flightSpeed, float hitDamage);
  void Tick(float seconds) override;
  void Dead() override;

  float damage = 0.0f;
  EntityRef<Entity> owner;
};

class Fire : public ItemProjectile {
 public:
  static constexpr float kBurnSeconds = 0.8f;
  static constexpr float kCreepPixels = 32.0f;

  Fire(NetConnection* net, PraelRenderer* world, Entity* thrower);
  // The fire creeps in `thrownDirection` but keeps the reverse as its own
  // direction: the way it knocks everything but enemies.
  void Launch(int thrownDirection, float creepSpeed, float hitDamage);
  void Tick(float seconds) override;

  float travelled = 0.0f;  // pixels crept so far
  float burnTime = 0.0f;   // seconds left to burn once it stands still

 private:
  void BurnOverlappingEntities();
};

class Arrow : public ItemProjectile {
 public:
  // owner: a hero, or the Gorrit that shot it.
  Arrow(NetConnection* net, PraelRenderer* world, Entity* thrower);
  void Launch(int flightDirection, float flightSpeed, float hitDamage);
  void Tick(float seconds) override;

  bool firedByHero;  // the owner was a hero when the arrow was made

 private:
  void HitAsHerosArrow();
  // False when the arrow hurt a hero and must stop where it is.
  bool HitAsEnemysArrow();
};

class Boomerang : public ProjectileEntity {
 public:
  static constexpr float kRange = 150.0f;
  static constexpr float kCatchDistance = 16.0f;
  static constexpr float kReturnSpeed = -330.0f;
  static constexpr float kTurnAcceleration = 2000.0f;
  static constexpr float kWhirrInterval = 0.18f;

  // unlimited: the "BoomerangB", which flies until something turns it.
  Boomerang(NetConnection* net, PraelRenderer* world, Aveth* thrower, bool unlimited);
  // Starts from the owner's position.
  void Launch(int flightDirection, float flightSpeed);
  void Tick(float seconds) override;
  void Dead() override;
  void Return() { returning = true; }

  float damage = 0.0f;
  float travelled = 0.0f;  // pixels flown outward
  EntityRef<Aveth> owner;
  bool unlimited;
  bool returning = false;
  float soundTime = 0.0f;  // until the next whirr

 private:
  void DecideOnServer();
  Vec2 FlightVector(float seconds);
};

class Bomb : public ItemProjectile {
 public:
  static constexpr float kFuseSeconds = 1.0f;
  static constexpr float kBlastRadius = 60.0f;
  // A hero counts as this much further from the blast than he stands.
  static constexpr float kHeroBlastAllowance = 32.0f;
  static constexpr int kSmokePuffs = 7;

  Bomb(NetConnection* net, PraelRenderer* world, Entity* thrower);
  // Dropped where it was placed; `droppedFacing` reversed is the way the
  // blast knocks heroes.
  void Launch(int droppedFacing, float dropSpeed, float hitDamage);
  void Tick(float seconds) override;
  virtual void Explode();

  float fuse = 0.0f;  // seconds left before the explosion

 private:
  // Seven puffs around the bomb, added to the world, which releases them.
  void ScatterSmoke();
};
