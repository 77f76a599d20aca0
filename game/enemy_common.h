// What the enemies share. Every enemy class derives directly from Entity and
// keeps its own source unit; the behaviour they have in common lives here as
// free functions on the entity, so that no enemy copies another's code.
//
// How a new enemy class uses this unit:
//   - constructor: InitEnemy (name, sprite and the flags every enemy has),
//     then its own health, speed (RollSpeed), harmlessTime
//     (RollHarmlessTime), frameRate and first state (SetState);
//   - Tick: a walker calls TickWalker with a WalkerBehaviour naming its turn
//     rule (TurnKeepingLine, TurnThenMaybeFire or its own) and its shot
//     (FireRock, ThrowSwordFrom or its own); other enemies write their own
//     Tick and may use WalkTowardTarget, TryStep and SendTurnAndFire;
//   - SetDirection: FaceWalkingFrames for the sprites that have facing rows;
//   - TakeDamage: TakeWalkerDamage with the class's DamageRules;
//   - Dead: DieInSpark (after any drop roll of the class's own);
//   - SendEvent: WalkerEvent;
//   - WriteState / ReadState: WriteEnemyState / ReadEnemyState.
// Random choices go through Roll, which is the runtime's rand(): the
// application seeds it, so a seeded run makes the same choices.
//
// State extension, written after the 24-byte entity record (little-endian):
//   0 target x f32 | 4 target y f32 | 8 health f32 | 12 baseFrame i32 |
//   16 frame f32 | 20 harmlessTime f32 | 24 speed f32   (28 bytes)
//
// Message 9, an enemy turns and fires (8 bytes): 0 uid u32 | 4 direction i32.
// Message 11, a dropped pickup (16 bytes): 0 kind i32 | 4 x f32 | 8 y f32 |
// 12 life f32.
#pragma once

#include <cstdint>

#include "game/entity.h"

class NetStream;

// Kills of skeletons since the last pickup drop of any enemy; a drop is
// certain once it exceeds 5. One counter for the whole program.
extern int32_t g_killsSinceDrop;

namespace enemy {

constexpr uint32_t kStateExtensionBytes = 28;
constexpr float kFireDelay = 0.5f;  // seconds between stopping and the shot
constexpr int kTurnAttempts = 4;    // tries a turn makes to find a free step
constexpr float kStunSeconds = 2.0f;
constexpr float kFlashSeconds = 0.5f;
constexpr float kRockSpeed = 350.0f;
constexpr float kThrowSwordSpeed = 350.0f;
constexpr int kDropChance = 35;       // in 100, for a killed enemy
constexpr int kCertainDropAfter = 5;  // skeleton kills without a drop

// Walker states.
enum WalkerState : int32_t {
  STATE_READY = 1,
  STATE_APPEARING = 3,
  STATE_CHOOSING = 4,
  STATE_WALKING = 5,
  STATE_FIRING = 8,
  STATE_STUNNED = 10,
};

// Events that reach an enemy through SendEvent.
enum Event : int {
  EV_WALK_UP = 1,
  EV_WALK_DOWN = 2,
  EV_WALK_LEFT = 3,
  EV_WALK_RIGHT = 4,
  EV_TURN_AND_FIRE = 5,  // a = direction
  EV_PLACE = 11,         // a = tile column, b = tile row
};

// rand() % n: a number from 0 to n - 1.
int Roll(int n);

// ----- construction
// Name, sprite (looked up in the game renderer when there is one) and what
// every enemy sets: hostile, contact damage, position (0, 0), baseFrame 0,
// frameCount 2.
void InitEnemy(Entity& enemy, const char* name, const char* spriteName);
// `fast` when roll 4 gives 3, else `slow`.
float RollSpeed(float slow, float fast);
// roll 10 / 10 + 0.1: 0.1 to 1.0 seconds of appearing.
float RollHarmlessTime();

// ----- the walker
struct WalkerBehaviour {
  // State 4 of a walker that decides for itself: choose the next step.
  void (*turn)(Entity& walker);
  // State 8, once the fire delay is over; null: the walker does not fire and
  // state 8 only returns it to choosing.
  void (*fire)(Entity& walker);
  // States 1 and 3 show the puff of appearing and face left; false: state 3
  // only clears harmlessTime and state 1 goes straight to choosing.
  bool appearsInPuff;
};

// The walker's whole frame: the base Tick, the return to appearing while
// harmlessTime is above 0, then the state's action.
void TickWalker(Entity& walker, float seconds, const WalkerBehaviour& behaviour);

// The direction a turn tries at `attempt`: on the first, the current one
// unless roll 5 gives 0; otherwise roll 4. `random` (when given) tells which.
int PickDirection(const Entity& walker, int attempt, bool* random = nullptr);
// Sets target one tile away in `stepDirection`; when that point is walkable
// and inside the room, turns that way and returns true.
bool TryStep(Entity& walker, int stepDirection);
// Moves toward target at speed along the facing; true on arrival (the
// position is then exactly the target).
bool WalkTowardTarget(Entity& walker, float seconds);
// Message 9 with (uid, d).
void SendTurnAndFire(Entity& enemy, int fireDirection);

// Turn rules for `WalkerBehaviour::turn`.
// Keeps its line four times in five; every random pick stops it to fire in
// state 8 and is announced with message 9 before it is tested.
void TurnKeepingLine(Entity& walker);
// Random picks are silent; after a successful step one in ten fires.
void TurnThenMaybeFire(Entity& walker);
// As TurnThenMaybeFire, but it never fires on its own.
void TurnWithoutFiring(Entity& walker);

// Puts an entity the enemy made (a shot, a spark, a pickup) into the world at
// the back of the list, where this same tick pass reaches it; without a world
// it is released at once.
void AddToWorld(Entity& from, Entity* newcomer);

// Shots for `WalkerBehaviour::fire`, from the walker's position in its facing.
void FireRock(Entity& walker);
void ThrowSwordFrom(Entity& thrower);

// Walking frames by facing: up 9, down 7, left 3, right 5; other directions
// leave baseFrame alone.
void FaceWalkingFrames(Entity& walker);

// Puts the enemy on the tile (column, row), facing up.
void PlaceOnTile(Entity& enemy, int column, int row);
// Events 1 to 4 (a step toward the grid), 5 (turn and fire) and 11 (place on
// a tile; `flipsAppearing` also flips state bit 2). Others do nothing.
void WalkerEvent(Entity& walker, int event, const EventParam* a, const EventParam* b, bool flipsAppearing);

// ----- damage, death and drops
struct DamageRules {
  // A hit of amount 0 or less stuns for 2 s (state 10); otherwise it only
  // flashes the enemy.
  bool stuns;
  // The server rolls for a drop when the hit kills.
  bool rollsDrop;
};
void TakeWalkerDamage(Entity& enemy, float amount, int knockDirection, const DamageRules& rules);

// An enemy dies once: true when it already has.
bool HasDied(const Entity& enemy);
// The common death: a DeathSpark where it stood, the kill and hit sounds in
// the hero's room, then the base Dead. Nothing when it has already died.
void DieInSpark(Entity& enemy);

// Draws roll 100: true when it is below 35 or the kill counter is above 5.
bool DropRollWins();
// A Dralm worth 1 (70 in 100), a Dralm worth 5 (15 in 100) or a heart.
int RollDropKind();
// Places a pickup of `kind` where the enemy stands for 10 s, adds it to the
// world and announces it with message 11; resets nothing.
void DropPickup(Entity& enemy, int kind);
// DropPickup with RollDropKind.
void DropWalkerPickup(Entity& enemy);
// The server's roll for a drop at a kill: when DropRollWins, resets the kill
// counter, drops with DropWalkerPickup and returns true.
bool DropIfRollWins(Entity& enemy);

// Plays `sound` when the enemy is in the local hero's room.
void PlayInHeroRoom(const Entity& enemy, int sound);

// ----- network state
bool WriteEnemyState(Entity& enemy, NetStream* stream);
bool ReadEnemyState(Entity& enemy, NetStream* stream);

}  // namespace enemy
