// Pushblock: a solid stone a hero shoves one tile, once, by walking against
// it without a break for a moment. When it starts to slide, the door of its
// room that waits for a push block opens. The server moves the block and
// broadcasts its state; every participant that starts the push (the pushing
// hero's, and the others through message 12) opens the door on its own map.
//
// State record: the 24-byte entity record, then 25 bytes, little-endian:
//   24 target x f32 | 28 target y f32 | 32 baseFrame i32 | 36 frame f32 |
//   40 harmlessTime f32 | 44 speed f32 | 48 moved u8. 49 bytes in all.
#pragma once

#include "game/entity.h"

class Pushblock : public Entity {
 public:
  static constexpr uint32_t kStateRecordBytes = Entity::kStateRecordBytes + 25;
  // Seconds of unbroken pushing that start the slide.
  static constexpr float kPushSeconds = 0.3f;
  static constexpr float kSlideSpeed = 64.0f;  // pixels a second

  enum Event : int {
    EV_PLACE = 11,  // a = tile column, b = tile row
    EV_PUSH = 14,   // a hero walks against the block; a = his walking direction
  };
  enum BlockState : int32_t {
    STATE_RESTING = 1,
    STATE_SLIDING = 5,
  };

  explicit Pushblock(NetConnection* net);

  void Tick(float seconds) override;
  void Dead() override;
  bool WriteState(NetStream* stream) override;
  bool ReadState(NetStream* stream) override;
  void SendEvent(int event, EventParam* a, EventParam* b) override;

  // Starts the one slide of the block, a tile in `slideDirection` (0 to 3),
  // unless it has moved before or layer 1 of the map marks the tile it would
  // slide onto. Called after an unbroken push, and on message 12.
  void StartPush(int slideDirection);

  bool moved = false;            // pushed once; it never moves again
  float pushTime = 0.0f;         // seconds pushed without a break
  bool pushedThisFrame = false;  // a push arrived since the last Tick

 private:
  void Push(int pushDirection);
  void Slide(float seconds);
  void OpenWaitingDoor();
};
