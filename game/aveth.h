// Aveth: the hero. Every player has one: the local hero is driven by the
// keyboard through the application's frame, the other player's hero is a
// remote replica driven by network messages. Every action reaches the hero as
// a numbered event (SendEvent), so that a key press and the matching network
// message do the same thing.
//
// The hero owns its three swords and two boomerangs (all world entities with
// ownedByWorld clear); the application owns the heroes.
//
// State record: the 24-byte entity record, then 28 bytes, little-endian:
//   24 health f32 | 28 maxHealth f32 | 32 baseFrame i32 | 36 frame f32 |
//   40 frameCount f32 | 44 x, 48 y f32 of the boomerang in use, (-128, -128)
//   when there is none. 52 bytes in all.
//
// Units: game/aveth.cpp (construction, events, the record), aveth_walk.cpp
// (walking, doors, walkability), aveth_tick.cpp (the frame: stairs, counters,
// contact damage), aveth_combat.cpp (sword, items, damage), aveth_items.cpp
// (the projectiles the hero throws), aveth_death.cpp (falling at no health
// and standing up again).
#pragma once

#include <vector>

#include "game/entity.h"

namespace Orvix {
class IInputHandler;
}
class Sword;

class Aveth : public Entity {
 public:
  static constexpr int kSwordCount = 3;
  static constexpr int kBoomerangCount = 2;
  static constexpr uint32_t kStateRecordBytes = Entity::kStateRecordBytes + 28;
  // Where heroes are first placed, and where a hero leaving a cave with no
  // return point comes up.
  static constexpr int kStartTileX = 120;
  static constexpr int kStartTileY = 83;
  // The heroes' uids: the server's hero and the client's.
  static constexpr uint32_t kServerHeroUid = 0;
  static constexpr uint32_t kClientHeroUid = 1;
  // The boomerang place that records and player states send for a hero with
  // no boomerang in flight.
  static constexpr float kNoBoomerangAt = -128.0f;
  static constexpr float kSwingSeconds = 0.125f;
  static constexpr float kKnockBackPixels = 64.0f;
  static constexpr float kLowHealthInterval = 0.3f;
  static constexpr int kMaxCounter = 999;
  static constexpr unsigned char kStairsTile = 64;
  // How long a fallen hero stays down before it stands up again.
  static constexpr float kFallenSeconds = 2.0f;

  enum Event : int {
    EV_WALK_UP = 1,
    EV_WALK_DOWN = 2,
    EV_WALK_LEFT = 3,
    EV_WALK_RIGHT = 4,
    EV_ATTACK = 5,
    EV_USE_ITEM = 6,
    EV_STOP = 7,
    EV_PLACE = 11,  // a = tile column, b = tile row
    EV_STAIRS_DOWN = 12,
    EV_STAIRS_UP = 13,
    EV_PUSH = 14,  // sent to a solid entity the hero walks into; a = the hero's moveDirection
    EV_NEXT_ITEM = 15,
  };
  enum HeroState : int32_t {
    STATE_INACTIVE = 0,
    STATE_PLAYING = 1,
    STATE_HELD = 2,    // inactive as 0, but stays in the world
    STATE_FALLEN = 3,  // out of hearts: hidden until it stands up again
    STATE_STAIRS_DOWN = 6,
    STATE_STAIRS_UP = 7,
  };
  enum Item : int32_t {
    ITEM_BOOMERANG = 1,
    ITEM_FIRE = 2,
    ITEM_BOMB = 3,
    ITEM_ARROW = 4,
  };

  // The name is the player's and is not kept (every hero is named "Aveth").
  // spriteName null means "Aveth"; the client's hero is drawn with "Aveth2".
  // Creates the swords and boomerangs and adds them to the world.
  Aveth(const char* playerName, Orvix::IInputHandler* input, NetConnection* net,
        const char* spriteName = nullptr);
  // Takes the swords and boomerangs out of the world and releases them.
  ~Aveth() override;

  // ----- overridden operations
  void Draw(int roomX, int roomY) override;
  void Tick(float seconds) override;
  void SetDirection(int newDirection) override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;
  void TakeDamage(float amount, int knockDirection, int extra) override;
  bool IsWalkable(Vec2 point) override;

  // ----- used by the application, the items and the network handlers
  // The tile of the last staircase taken down (popped), or the start tile.
  Vec2 NextReturnPoint();
  void SetItemReady(bool ready) { itemReady = ready; }
  void SetBeamReady(bool ready) { beamReady = ready; }
  // Health set or raised, never above maxHealth.
  void SetHealth(float value);
  void AddHealth(float amount);
  void AddKey();
  // Counted into currency one unit a frame.
  void AddCurrency(int amount) { currencyPending += amount; }
  // A sword beam is thrown with the next attack: one is ready and health is
  // within a quarter heart of full.
  bool BeamDue() const { return beamReady && health + 0.25f >= maxHealth; }
  Sword* GetSword(int index) const { return index >= 0 && index < kSwordCount ? swords[index] : nullptr; }
  // The boomerang chosen by boomerangIndex; null when none is chosen or made.
  Entity* GetBoomerangInUse() const;

  // ----- fields, as the application, the HUD, items and projectiles read them
  // Boomerang 0 ("Boomerang") and 1 ("BoomerangB"), made by CreateBoomerangs.
  Entity* boomerangs[kBoomerangCount] = {};
  Orvix::IInputHandler* input;  // borrowed: the engine's input handler
  float swingTime = 0.0f;       // seconds left of the current swing
  Sword* swords[kSwordCount] = {};
  int32_t swordIndex = 0;      // -1: no sword
  int32_t boomerangIndex = 0;  // -1: no boomerang
  int32_t fireVariant = 0;
  int32_t shield = 1;  // enemy projectiles subtract it from their damage
  float damageFactor = 0.5f;
  bool beamReady = true;
  bool itemReady = true;
  int32_t currency = 0;
  int32_t keys = 2;
  int32_t extraCount = 0;
  int32_t currencyPending = 10;  // counted into currency one unit a frame
  float lowHealthTime = 0.0f;
  int32_t selectedItem = ITEM_BOOMERANG;
  float stairDepth = 32.0f;        // pixels of the hero above the stairs (32 = all)
  bool onStairs = false;           // just came up and still standing on the stairs
  std::vector<Vec2> returnPoints;  // tiles where the hero went down stairs
  // Where event 11 last placed the hero: it stands up there after a fall.
  Vec2 startTile{static_cast<float>(kStartTileX), static_cast<float>(kStartTileY)};
  float fallenTime = 0.0f;  // seconds the fallen hero stays down

 private:
  // aveth_walk.cpp
  void Walk(int walkDirection);
  void TryUnlockDoor(int walkDirection, Vec2 candidate);
  bool TouchesSolidEntity(Vec2 point);
  // aveth_tick.cpp
  void TickStairsDown(float seconds);
  void TickStairsUp(float seconds);
  void TickPlaying(float seconds);
  void CheckStairs();
  void CountCurrency();
  void CheckContactDamage();
  // aveth_death.cpp
  void Fall();
  void TickFallen(float seconds);
  void StandUp();
  // aveth_combat.cpp
  void Attack();
  void UseItem();
  void SelectNextItem();
  void Place(int tileX, int tileY);
  void StartStairsDown();
  void StartStairsUp();
  Vec2 PointAhead(float distance) const;
  // aveth_items.cpp: the projectiles. Each reports whether it threw one.
  void CreateBoomerangs();
  bool LaunchBeam();
  bool ThrowBoomerang();
  bool LaunchItem(int item, Vec2 spawnPoint);
  template <typename T>
  bool ThrowNew(Vec2 at, float flightSpeed, float damage);

  // Takes an entity the hero owns out of the world and releases it.
  void ReleaseOwned(Entity* owned);
};

// The walking frames start at these frames of the hero's sprite, by facing;
// the swing pose is two frames further.
int HeroWalkFrame(int facing);

// The hero (an entity with isPlayer set) with this uid in the world's entity
// list, or null when it is not there (yet). Other entities may share a hero's
// uid (his swords), so the list is searched for heroes only.
Aveth* FindHero(PraelRenderer* world, uint32_t heroUid);
