// Entity: the abstract base of every object in the world (heroes, swords,
// pickups, push blocks, effects, enemies, projectiles). It holds the position
// in world pixels and derives the tile and room from it, an animated sprite,
// health, a network identity, behaviour flags and a knock-back push carried
// out over several frames, and it reads and writes the common 24-byte state
// record every entity exchanges over the network.
//
// Ownership. The game renderer's entity list holds every live entity but owns
// only its nodes. An entity whose state becomes 0 leaves the list in the next
// tick pass; from then on it belongs to whoever is told of it:
//   - ownedByWorld set (the default): the application releases it at a safe
//     point after the tick pass;
//   - ownedByWorld clear: another object keeps it (a hero its swords and
//     boomerangs, the application its heroes) and releases it itself.
// Objects that keep a pointer to an entity they do not own across frames hold
// it in an EntityRef (game/entityref.h), which becomes null when the entity
// is released, so no pointer to a released entity survives.
//
// State record (24 bytes, little-endian, written and read as one block):
//   0 uid u32 | 4 typeId i32 | 8 x f32 | 12 y f32 | 16 direction i32 |
//   20 hostile u8 | 21 three bytes of padding (ignored by receivers)
#pragma once

#include <cstdint>

#include "game/vec2.h"

namespace Orvix {
struct SpriteType;
}
class PraelRenderer;
class NetConnection;
class NetStream;
class EntityRefBase;
class Pickup;

// A 4-byte event argument: an integer or a float.
union EventParam {
  int32_t i;
  float f;
  EventParam() : i(0) {}
  EventParam(int32_t value) : i(value) {}  // NOLINT: built from integers everywhere
  EventParam(float value) : f(value) {}    // NOLINT
};

// Directions used by every entity.
enum Direction : int32_t {
  DIR_NONE = -1,
  DIR_UP = 0,
  DIR_DOWN = 1,
  DIR_LEFT = 2,
  DIR_RIGHT = 3,
};

class Entity {
 public:
  static constexpr int kTileSize = 32;
  static constexpr int kRoomWidthTiles = 16;
  static constexpr int kRoomHeightTiles = 11;
  static constexpr int kRoomWidthPixels = kTileSize * kRoomWidthTiles;    // 512
  static constexpr int kRoomHeightPixels = kTileSize * kRoomHeightTiles;  // 352
  static constexpr int kHudHeight = 128;                                  // screen rows above the room
  static constexpr uint32_t kStateRecordBytes = 24;

  explicit Entity(NetConnection* net);
  virtual ~Entity();
  Entity(const Entity&) = delete;
  Entity& operator=(const Entity&) = delete;

  // ----- virtual operations, in slot order
  virtual void Draw(int roomX, int roomY);
  virtual void Tick(float seconds);
  virtual void Move(Vec2 delta);
  virtual void SetPosition(Vec2 newPosition);
  virtual void SetTile(Vec2 newTile);
  virtual void SetRoom(float x, float y);
  virtual void SetRoom(Vec2 newRoom);
  virtual Vec2 GetPosition() { return position; }
  virtual int GetDirection() { return direction; }
  virtual Vec2 GetTile() { return tile; }
  virtual Vec2 GetRoom() { return room; }
  virtual void SetDirection(int newDirection) { direction = newDirection; }
  virtual void SetRemote(bool isRemote) { remote = isRemote; }
  virtual void Animate() { animateNow = true; }
  virtual void Dead();
  virtual void PushStep();
  virtual bool WriteState(NetStream* stream);
  virtual bool ReadState(NetStream* stream);
  virtual void SendEvent(int event, EventParam* a, EventParam* b) = 0;
  virtual void SetState(int newState);
  virtual void ChangeState(int bits);
  virtual void SetUID(uint32_t newUid) { uid = newUid; }
  virtual uint32_t GetUID() { return uid; }
  virtual void TakeDamage(float amount, int direction, int extra);
  virtual void SetPushDirection(int newDirection) { pushDirection = newDirection; }
  virtual void SetPushDistance(int pixels) { pushDistance = pixels; }
  virtual bool IsWalkable(Vec2 point);
  virtual bool IsInRoom(Vec2 point);

  // ----- shared helpers
  // Copies at most 64 characters (the last one becomes the terminator).
  void SetName(const char* newName);
  // A new pickup standing for `kind` (2 Dralm worth 5, 4 Heart, 8 Key, any
  // other value Dralm worth 1), made with this entity's connection. The caller
  // places it, gives it a life, adds it to the world and announces it.
  Pickup* SpawnPickup(int kind);
  // A coordinate moved toward the nearest multiple of `grid` at twice the
  // entity's speed, never past the grid line.
  int AlignX(int grid);
  int AlignY(int grid);
  // One whole tile in direction 0 to 3, when the target is walkable and in the
  // same room row or column.
  void StepTile(int stepDirection);
  // True when this program runs the world (its connection is the server's).
  bool IsServer() const;
  // The sprite frame Draw shows: frame + baseFrame, or -1 (nothing) for
  // values no sprite has.
  int SpriteFrame() const;
  // Uses the engine's frame time, so that callers outside Tick (events) move
  // as far as the frame that is running.
  static float FrameTime();
  // floor((p + 16) / 32) per axis, and the room of such a tile.
  static Vec2 TileOf(Vec2 point);
  static Vec2 RoomOfTile(Vec2 tileOfPoint);
  // The room of a point in whole rooms: the room of its tile.
  static Vec2 RoomOfPoint(Vec2 point) { return RoomOfTile(TileOf(point)); }

  // ----- fields, as every subclass and the world read them
  char name[64] = {};
  int32_t state = 1;
  float stateTime = 0.0f;
  Vec2 position;
  Vec2 tile;
  Vec2 room;
  int32_t direction = DIR_UP;
  float speed = 0.0f;
  Vec2 target;
  float maxHealth = 0.0f;
  float health = 0.0f;
  uint32_t uid = 0;
  bool remote = false;
  bool animateNow = false;
  bool isPlayer = false;
  bool hostile = false;
  bool isPickup = false;
  bool solid = false;
  bool syncSelected = false;
  int32_t typeId = 0;
  bool netUpdated = false;
  bool visible = true;
  bool contactDamages = false;
  int32_t contactDamage = 1;
  float harmlessTime = 0.0f;
  bool transient = false;
  bool dead = false;
  bool removed = false;
  bool untouchable = false;
  bool inHeroRoom = false;
  bool notHittable = false;
  bool flashing = false;
  float flashTime = 0.0f;
  int32_t width = 32;
  int32_t height = 32;
  int32_t moveDirection = DIR_NONE;
  int32_t pushDirection = DIR_NONE;
  int32_t pushDistance = 0;
  Orvix::SpriteType* sprite = nullptr;  // the renderer's
  int32_t baseFrame = 0;
  float frame = 0.0f;
  float frameCount = 0.0f;
  float frameRate = 10.0f;
  PraelRenderer* renderer;  // borrowed: the game renderer
  NetConnection* net;       // borrowed: the application's connection
  float busyTime = 0.0f;

  // Who releases the entity once it has left the world (see the top).
  bool ownedByWorld = true;

 protected:
  // Recomputes tile and room from position.
  void UpdateTileAndRoom();

 private:
  friend class EntityRefBase;
  EntityRefBase* m_refs = nullptr;  // the references that point here, chained
};

// True when the boxes of a and b, each shrunk by `inset` pixels on every side,
// overlap (touching edges do not).
bool Collide(Entity* a, Entity* b, int inset);

// `distance` pixels in direction 0 to 3 (up, down, left, right); (0, 0) for
// any other direction.
Vec2 DirectionOffset(int direction, float distance);

// The opposite of direction 0 to 3 (up and down, left and right swapped);
// DIR_NONE for any other direction.
int ReverseDirection(int direction);

// True for the layer-0 tile values an entity may stand on.
bool IsWalkableTile(unsigned tile);
