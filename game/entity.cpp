#include "game/entity.h"

#include <strings.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "game/entityref.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/pickup.h"
#include "game/rendprael.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"
#include "orvix/orvix.h"

namespace {

// The 24-byte state record as it lies on the wire.
struct StateRecord {
  uint32_t uid;
  int32_t typeId;
  float x;
  float y;
  int32_t direction;
  uint8_t hostile;
  uint8_t padding[3];
};
static_assert(sizeof(StateRecord) == Entity::kStateRecordBytes);

void Log(const char* format, float a, float b) {
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log(format, a, b);
}

}  // namespace

Vec2 DirectionOffset(int direction, float distance) {
  switch (direction) {
    case DIR_UP:
      return {0.0f, -distance};
    case DIR_DOWN:
      return {0.0f, distance};
    case DIR_LEFT:
      return {-distance, 0.0f};
    case DIR_RIGHT:
      return {distance, 0.0f};
    default:
      return {};
  }
}

int ReverseDirection(int direction) {
  switch (direction) {
    case DIR_UP:
      return DIR_DOWN;
    case DIR_DOWN:
      return DIR_UP;
    case DIR_LEFT:
      return DIR_RIGHT;
    case DIR_RIGHT:
      return DIR_LEFT;
    default:
      return DIR_NONE;
  }
}

bool IsWalkableTile(unsigned tile) {
  switch (tile) {
    case 0x00:
    case 0x09:
    case 0x0A:
    case 0x10:
    case 0x12:
    case 0x19:
    case 0x20:
    case 0x40:
    case 0xA0:
    case 0xA1:
      return true;
    default:
      return false;
  }
}

Entity::Entity(NetConnection* connection) : renderer(g_renderer), net(connection) {}

Entity::~Entity() { EntityRefBase::ClearAll(this); }

Vec2 Entity::TileOf(Vec2 point) {
  return {std::floor((point.x + 16.0f) / kTileSize), std::floor((point.y + 16.0f) / kTileSize)};
}

Vec2 Entity::RoomOfTile(Vec2 tileOfPoint) {
  return {std::floor(tileOfPoint.x / kRoomWidthTiles), std::floor(tileOfPoint.y / kRoomHeightTiles)};
}

void Entity::UpdateTileAndRoom() {
  tile = TileOf(position);
  room = RoomOfTile(tile);
}

float Entity::FrameTime() { return Orvix::g_orvix ? Orvix::g_orvix->GetTimeKey() : 0.0f; }

bool Entity::IsServer() const { return net != nullptr && net->IsServer(); }

void Entity::SetName(const char* newName) {
  std::snprintf(name, sizeof name, "%s", newName != nullptr ? newName : "");
}

void Entity::Tick(float seconds) {
  stateTime += seconds;
  if (busyTime != 0.0f) {
    busyTime -= seconds;
    if (busyTime < 0.0f) busyTime = 0.0f;
  }
  UpdateTileAndRoom();
  if (animateNow) {
    // The frame restarts at 0 rather than wrapping, so a late frame never
    // skips the first picture of the cycle.
    frame += seconds * frameRate;
    if (frame >= frameCount) frame = 0.0f;
    animateNow = false;
  }
  if (flashing) {
    visible = !visible;
    if (flashTime != -1.0f) {
      flashTime -= seconds;
      if (flashTime < 0.0f) {
        flashing = false;
        flashTime = 0.0f;
        visible = true;
      }
    }
  }
  PushStep();
}

void Entity::Draw(int roomX, int roomY) {
  if (sprite == nullptr || !visible || state == 0 || renderer == nullptr) return;
  const int x = static_cast<int>(position.x) - roomX * kRoomWidthPixels;
  const int y = static_cast<int>(position.y) - roomY * kRoomHeightPixels + kHudHeight;
  renderer->DrawSprite(sprite, SpriteFrame(), x, y, -1, -1);
}

// Frame and base frame may come from the peer's record. One that no sprite
// has (not a number, negative, or so large that the sum would overflow) gives
// -1, which the renderer draws as nothing.
int Entity::SpriteFrame() const {
  constexpr float kLargestFrame = 65536.0f;
  if (!(frame >= 0.0f && frame < kLargestFrame) || baseFrame < 0 ||
      baseFrame > static_cast<int32_t>(kLargestFrame))
    return -1;
  return static_cast<int>(frame) + baseFrame;
}

void Entity::Move(Vec2 delta) {
  position += delta;
  UpdateTileAndRoom();
}

void Entity::SetPosition(Vec2 newPosition) {
  position = newPosition;
  UpdateTileAndRoom();
}

void Entity::SetTile(Vec2 newTile) {
  tile = newTile;
  position = newTile * static_cast<float>(kTileSize);
}

void Entity::SetRoom(float x, float y) { room = Vec2(x, y); }

void Entity::SetRoom(Vec2 newRoom) { room = newRoom; }

void Entity::SetState(int newState) {
  state = newState;
  stateTime = 0.0f;
}

void Entity::ChangeState(int bits) {
  if (bits > 0) {
    state |= bits;
  } else if (bits < 0) {
    state ^= -bits;
  }
}

void Entity::TakeDamage(float amount, int, int) {
  if (amount > 0.0f) health -= amount;
}

void Entity::Dead() {
  if (IsServer() && !dead) {
    NetMessage message(MSG_DEATH);
    message.stream.WriteValue(uid);
    net->Send(message);
  }
  removed = true;
  visible = false;
  dead = true;
  state = 0;
}

bool Entity::IsWalkable(Vec2 point) {
  if (renderer == nullptr) return false;
  const int column = static_cast<int>(point.x / kTileSize);
  const int row = static_cast<int>(point.y / kTileSize);
  return IsWalkableTile(renderer->GetMapTile(column, row, 0));
}

bool Entity::IsInRoom(Vec2 point) {
  const float tx = (point.x + 2.0f) / kTileSize;
  const float ty = (point.y + 16.0f) / kTileSize;
  const int left = static_cast<int>(room.x * kRoomWidthTiles + 1);
  const int right = static_cast<int>(room.x * kRoomWidthTiles + 15);
  const int top = static_cast<int>(room.y * kRoomHeightTiles + 1);
  const int bottom = static_cast<int>(room.y * kRoomHeightTiles + 10);
  return left <= tx && tx <= right && top <= ty && ty <= bottom;
}

// A push travels at most 16 pixels a frame, one pixel at a time, and ends at
// the last good pixel before a blocked tile or a room edge.
void Entity::PushStep() {
  if (pushDirection == DIR_NONE || pushDistance <= 0) {
    pushDistance = 0;
    pushDirection = DIR_NONE;
    return;
  }
  int steps = 16;
  if (pushDistance < 16) {
    steps = pushDistance;
    pushDistance = 0;
  } else {
    pushDistance -= 16;
  }
  const bool isHero = strcasecmp(name, "aveth") == 0;
  for (int i = 0; i < steps; ++i) {
    Vec2 next = position;
    bool sameRoom;
    switch (pushDirection) {
      case DIR_UP:
      case DIR_DOWN:
        next.y += pushDirection == DIR_UP ? -1.0f : 1.0f;
        sameRoom =
            static_cast<int>(next.y / kRoomHeightPixels) == static_cast<int>(position.y / kRoomHeightPixels);
        break;
      case DIR_LEFT:
      case 5:
      case 7:
        next.x -= 1.0f;
        sameRoom = static_cast<int>((next.x + 16.0f) / kRoomWidthPixels) ==
                   static_cast<int>((position.x + 16.0f) / kRoomWidthPixels);
        break;
      case DIR_RIGHT:
      case 4:
      case 6:
        next.x += 1.0f;
        sameRoom =
            static_cast<int>(next.x / kRoomWidthPixels) == static_cast<int>(position.x / kRoomWidthPixels);
        break;
      default:
        sameRoom = false;
        break;
    }
    if (!sameRoom || !IsWalkable(next)) {
      pushDistance = 0;
      pushDirection = DIR_NONE;
      return;
    }
    if (!isHero && (next.x <= 32.0f || next.y <= 32.0f)) Log("BAD PUSH: %f, %f", next.x, next.y);
    SetPosition(next);
  }
}

void Entity::StepTile(int stepDirection) {
  const Vec2 from = TileOf(position);
  Vec2 to = from;
  Vec2 next = position;
  bool sameRoom;
  switch (stepDirection) {
    case DIR_UP:
    case DIR_DOWN:
      to.y += stepDirection == DIR_UP ? -1.0f : 1.0f;
      next.y = to.y * kTileSize;
      sameRoom = std::floor(to.y / kRoomHeightTiles) == std::floor(from.y / kRoomHeightTiles);
      break;
    case DIR_LEFT:
    case DIR_RIGHT:
      to.x += stepDirection == DIR_LEFT ? -1.0f : 1.0f;
      next.x = to.x * kTileSize;
      sameRoom = std::floor(to.x / kRoomWidthTiles) == std::floor(from.x / kRoomWidthTiles);
      break;
    default:
      return;
  }
  if (sameRoom && IsWalkable(next)) SetPosition(next);
}

namespace {

// Moves `coordinate` toward the nearest multiple of `grid` by `step`, never
// past the grid line; exact halves go forward.
int AlignCoordinate(float coordinate, int grid, float step) {
  const int cell = static_cast<int>(coordinate) / grid;
  const float offset = coordinate - static_cast<float>(cell * grid);
  float value;
  if (offset < static_cast<float>(grid / 2)) {
    value = std::fmax(coordinate - step, static_cast<float>(cell * grid));
  } else {
    value = std::fmin(coordinate + step, static_cast<float>((cell + 1) * grid));
  }
  return static_cast<int>(value);
}

}  // namespace

int Entity::AlignX(int grid) { return AlignCoordinate(position.x, grid, 2.0f * speed * FrameTime()); }

int Entity::AlignY(int grid) { return AlignCoordinate(position.y, grid, 2.0f * speed * FrameTime()); }

bool Entity::WriteState(NetStream* stream) {
  if (stream == nullptr) return false;
  StateRecord record{};
  record.uid = uid;
  record.typeId = typeId;
  record.x = position.x;
  record.y = position.y;
  record.direction = direction;
  record.hostile = hostile ? 1 : 0;
  return stream->Write(&record, sizeof record);
}

bool Entity::ReadState(NetStream* stream) {
  if (stream == nullptr) return false;
  StateRecord record{};
  // A record cut short by its message is not applied at all.
  if (!stream->Read(&record, sizeof record)) return false;
  position = Vec2(record.x, record.y);
  direction = record.direction;
  SetDirection(record.direction);
  auto& logger = Orvix::CSingleton<Orvix::COrvixLogger>::Instance();
  if (record.typeId != typeId) logger.Log("type modification error! %d", record.typeId);
  if (record.uid != uid) logger.Log("UID modification error! %d", static_cast<int>(record.uid));
  return true;
}

Pickup* Entity::SpawnPickup(int kind) {
  switch (kind) {
    case PICKUP_DRALM_FIVE:
      return OX_NEW Dralm(5, net, renderer);
    case PICKUP_HEART:
      return OX_NEW Heart(net, renderer);
    case PICKUP_KEY:
      return OX_NEW Key(net, renderer);
    default:
      return OX_NEW Dralm(1, net, renderer);
  }
}

// Whole pixels as the int conversion would give them, kept in float so that a
// position far outside any world (a damaged record) cannot overflow an int.
bool Collide(Entity* a, Entity* b, int inset) {
  const Vec2 pa = a->GetPosition();
  const Vec2 pb = b->GetPosition();
  const float aLeft = std::trunc(pa.x) + static_cast<float>(inset);
  const float aTop = std::trunc(pa.y) + static_cast<float>(inset);
  const float aRight = std::trunc(pa.x) + static_cast<float>(a->width - inset);
  const float aBottom = std::trunc(pa.y) + static_cast<float>(a->height - inset);
  const float bLeft = std::trunc(pb.x) + static_cast<float>(inset);
  const float bTop = std::trunc(pb.y) + static_cast<float>(inset);
  const float bRight = std::trunc(pb.x) + static_cast<float>(b->width - inset);
  const float bBottom = std::trunc(pb.y) + static_cast<float>(b->height - inset);
  return !(aTop >= bBottom || bTop >= aBottom || aLeft >= bRight || bLeft >= aRight);
}
