#include "game/pushblock.h"

#include <cstring>

#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "game/worldbounds.h"
#include "orvix/logging.h"

namespace {

Orvix::COrvixLogger& Logger() { return Orvix::CSingleton<Orvix::COrvixLogger>::Instance(); }

// Layer 1 of the map marks where push blocks stand and where they cannot go.
constexpr int kBlockLayer = 1;

// Where the slide's goal and speed lie in the state record.
constexpr uint32_t kTargetOffset = 24;
constexpr uint32_t kSpeedOffset = 44;

// The last door side (1 top, 2 bottom, 3 right, 4 left) of the record whose
// state waits for a push block; 0 when none does.
int LastWaitingDoor(const RoomRecord& record) {
  const int32_t doors[] = {record.doorTop, record.doorBottom, record.doorRight, record.doorLeft};
  int side = 0;
  for (int i = 0; i < 4; ++i) {
    if (doors[i] == DOOR_PUSH_BLOCK) side = i + 1;
  }
  return side;
}

}  // namespace

Pushblock::Pushblock(NetConnection* connection) : Entity(connection) {
  hostile = false;
  contactDamages = false;
  solid = true;
  if (renderer != nullptr) sprite = renderer->GetSpriteType("PushStone");
  baseFrame = 0;
  frameCount = 1.0f;
  frameRate = 0.0f;
  SetPosition(Vec2(0.0f, 0.0f));
  speed = kSlideSpeed;
  health = -1.0f;
  harmlessTime = 0.0f;
  SetState(STATE_RESTING);
  SetName("Pushblock");
}

void Pushblock::SendEvent(int event, EventParam* a, EventParam* b) {
  switch (event) {
    case EV_PLACE:
      if (a == nullptr || b == nullptr) return;
      SetPosition(Vec2(static_cast<float>(a->i * kTileSize), static_cast<float>(b->i * kTileSize)));
      SetState(STATE_RESTING);
      break;
    case EV_PUSH:
      if (a != nullptr) Push(a->i);
      break;
    default:
      break;
  }
}

// The push time counts frames, not events: a hero may test the block several
// times in one frame (a knock-back tests every pixel it travels).
void Pushblock::Push(int pushDirection) {
  if (moved) return;
  if (!pushedThisFrame) pushTime += FrameTime();
  if (pushTime > kPushSeconds) {
    StartPush(pushDirection);
    pushTime = 0.0f;
  }
  pushedThisFrame = true;
}

void Pushblock::StartPush(int slideDirection) {
  if (moved) return;
  // A push with no walking direction (a hero standing still) has nowhere to go.
  if (slideDirection < DIR_UP || slideDirection > DIR_RIGHT) return;
  target = position + DirectionOffset(slideDirection, static_cast<float>(kTileSize));
  const Vec2 targetTile = TileOf(target);
  if (renderer == nullptr || renderer->GetMapTile(static_cast<int>(targetTile.x),
                                                  static_cast<int>(targetTile.y), kBlockLayer) != 0) {
    target = position;
    return;
  }
  moved = true;
  Logger().Log("Pushblock::StartPush: block %u slides from (%.0f, %.0f) to (%.0f, %.0f)", uid,
               static_cast<double>(position.x), static_cast<double>(position.y),
               static_cast<double>(target.x), static_cast<double>(target.y));
  PlaySound(kSoundSecret);
  SetDirection(slideDirection);
  SetState(STATE_SLIDING);
  if (net != nullptr && net->IsConnected()) {
    NetMessage message(MSG_PUSH);
    message.stream.WriteValue(static_cast<int32_t>(uid));
    message.stream.WriteValue(static_cast<int32_t>(slideDirection));
    net->Send(message);
  }
  OpenWaitingDoor();
}

// The door of the block's own room: on a participant whose view shows another
// room (the other hero pushed), the view's room has nothing to do with it.
void Pushblock::OpenWaitingDoor() {
  const int roomX = static_cast<int>(room.x);
  const int roomY = static_cast<int>(room.y);
  const RoomRecord* record = renderer->GetRoomRecord(roomX, roomY);
  if (record == nullptr) return;
  const int side = LastWaitingDoor(*record);
  if (side == 0) return;
  Logger().Log("Pushblock::StartPush: door %d of room (%d, %d) opens", side, roomX, roomY);
  renderer->OpenDoor(side, roomX, roomY);
}

void Pushblock::Tick(float seconds) {
  Entity::Tick(seconds);
  // Every participant forgets a push that paused, so that a hero needs the
  // same unbroken push on either side.
  if (pushedThisFrame) {
    pushedThisFrame = false;
  } else {
    pushTime = 0.0f;
  }
  // Clients see the slide through the server's state records.
  if (!IsServer()) return;
  if (state == STATE_SLIDING) Slide(seconds);
}

void Pushblock::Slide(float seconds) {
  const float step = speed * seconds;
  float remaining;
  switch (direction) {
    case DIR_DOWN:
      remaining = target.y - position.y;
      break;
    case DIR_LEFT:
      remaining = position.x - target.x;
      break;
    case DIR_RIGHT:
      remaining = target.x - position.x;
      break;
    default:
      remaining = position.y - target.y;
      break;
  }
  if (step <= remaining) {
    Move(DirectionOffset(direction, step));
  } else {
    SetPosition(target);
    SetState(STATE_RESTING);
    moved = true;
  }
  moveDirection = direction;
}

void Pushblock::Dead() {
  if (removed || state == 0) return;
  Entity::Dead();
}

bool Pushblock::WriteState(NetStream* stream) {
  if (!Entity::WriteState(stream)) return false;
  const uint8_t movedByte = moved ? 1 : 0;
  return stream->WriteValue(target.x) && stream->WriteValue(target.y) && stream->WriteValue(baseFrame) &&
         stream->WriteValue(frame) && stream->WriteValue(harmlessTime) && stream->WriteValue(speed) &&
         stream->WriteValue(movedByte);
}

bool Pushblock::ReadState(NetStream* stream) {
  if (stream == nullptr) return false;
  // A record cut short, or one whose slide would leave the world, changes
  // nothing, not even its entity part.
  uint8_t whole[kStateRecordBytes];
  if (!stream->Peek(whole, sizeof whole)) return false;
  Vec2 goal;
  float goalSpeed = 0.0f;
  std::memcpy(&goal.x, whole + kTargetOffset, sizeof goal.x);
  std::memcpy(&goal.y, whole + kTargetOffset + sizeof goal.x, sizeof goal.y);
  std::memcpy(&goalSpeed, whole + kSpeedOffset, sizeof goalSpeed);
  if (!MovesWithinWorld(goal, goalSpeed)) {
    Logger().Log("Pushblock::ReadState: record of %u refused: it slides to (%f, %f) at speed %f", uid,
                 static_cast<double>(goal.x), static_cast<double>(goal.y), static_cast<double>(goalSpeed));
    return false;
  }
  if (!Entity::ReadState(stream)) return false;
  Vec2 slideTarget;
  int32_t frameBase = 0;
  float frameNow = 0.0f;
  float harmless = 0.0f;
  float slideSpeed = 0.0f;
  uint8_t movedByte = 0;
  if (!stream->ReadValue(slideTarget.x) || !stream->ReadValue(slideTarget.y) ||
      !stream->ReadValue(frameBase) || !stream->ReadValue(frameNow) || !stream->ReadValue(harmless) ||
      !stream->ReadValue(slideSpeed) || !stream->ReadValue(movedByte))
    return false;
  target = slideTarget;
  baseFrame = frameBase;
  frame = frameNow;
  harmlessTime = harmless;
  speed = slideSpeed;
  moved = movedByte != 0;
  return true;
}
