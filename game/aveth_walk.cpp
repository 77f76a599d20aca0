// Aveth: walking with grid alignment, locked doors, and the hero's own test of
// where it may stand.
#include <cmath>

#include "game/aveth.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"

namespace {

constexpr int kAlignGrid = 16;

// The four points of the hero's box that meet walls: the lower half only, so
// the hero's head may overlap what stands behind it.
constexpr int kProbeCount = 4;
const Vec2 kProbeOffsets[kProbeCount] = {{2.0f, 16.0f}, {30.0f, 31.0f}, {30.0f, 16.0f}, {2.0f, 31.0f}};

// Locked door tiles (as the doors write them into the map) and their walls.
constexpr unsigned char kFirstDoorTile = 136;
constexpr unsigned char kLastDoorTile = 141;

// The wall (OpenDoor's side) that a door tile closes, when the hero walking in
// `walkDirection` meets it; 0 when the door does not face that way.
int DoorSideFacing(unsigned char doorTile, int walkDirection) {
  switch (walkDirection) {
    case DIR_UP:
      return doorTile == 136 || doorTile == 137 ? 1 : 0;
    case DIR_DOWN:
      return doorTile == 138 || doorTile == 139 ? 2 : 0;
    case DIR_LEFT:
      return doorTile == 141 ? 4 : 0;
    case DIR_RIGHT:
      return doorTile == 140 ? 3 : 0;
    default:
      return 0;
  }
}

// The quadrant of its tile a point (in tile units) lies in, as tile-flag bits.
uint32_t QuadrantOf(float tileX, float tileY) {
  const bool right = tileX - std::trunc(tileX) >= 0.5f;
  const bool lower = tileY - std::trunc(tileY) >= 0.5f;
  if (lower) return right ? PraelRenderer::kBlocksBottomRight : PraelRenderer::kBlocksBottomLeft;
  return right ? PraelRenderer::kBlocksTopRight : PraelRenderer::kBlocksTopLeft;
}

}  // namespace

void Aveth::Walk(int walkDirection) {
  if (busyTime != 0.0f || state != STATE_PLAYING) return;
  SetDirection(walkDirection);
  // While walking along one axis the hero slides onto the 16-pixel grid of the
  // other, so that it fits through gaps one tile wide.
  const float step = speed * FrameTime();
  Vec2 candidate = position;
  switch (walkDirection) {
    case DIR_UP:
      candidate = Vec2(static_cast<float>(AlignX(kAlignGrid)), position.y - step);
      break;
    case DIR_DOWN:
      candidate = Vec2(static_cast<float>(AlignX(kAlignGrid)), position.y + step);
      break;
    case DIR_LEFT:
      candidate = Vec2(position.x - step, static_cast<float>(AlignY(kAlignGrid)));
      break;
    case DIR_RIGHT:
      candidate = Vec2(position.x + step, static_cast<float>(AlignY(kAlignGrid)));
      break;
    default:
      return;
  }
  // Set before the test: a push block the hero walks into is pushed in the
  // direction of this step, not of the last one.
  moveDirection = walkDirection;
  if (IsWalkable(candidate)) {
    SetPosition(candidate);
    Animate();
  } else {
    TryUnlockDoor(walkDirection, candidate);
  }
  frameCount = 2.0f;
}

void Aveth::TryUnlockDoor(int walkDirection, Vec2 candidate) {
  if (renderer == nullptr) return;
  unsigned char doorTile = 0;
  for (const Vec2& offset : kProbeOffsets) {
    const Vec2 probe = (candidate + offset) * (1.0f / kTileSize);
    const unsigned char tileValue =
        renderer->GetMapTile(static_cast<int>(probe.x), static_cast<int>(probe.y), 0);
    if (tileValue >= kFirstDoorTile && tileValue <= kLastDoorTile) {
      doorTile = tileValue;
      break;
    }
  }
  const int side = DoorSideFacing(doorTile, walkDirection);
  if (side == 0) return;
  if (--keys < 0) {
    keys = 0;
    return;
  }
  renderer->OpenDoor(side, static_cast<int>(room.x), static_cast<int>(room.y));
  if (net != nullptr && net->IsConnected()) {
    NetMessage message(MSG_DOOR);
    message.stream.WriteValue(static_cast<int32_t>(side));
    message.stream.WriteValue(room.x);
    message.stream.WriteValue(room.y);
    net->Send(message);
  }
}

bool Aveth::IsWalkable(Vec2 point) {
  if (renderer == nullptr) return false;
  for (const Vec2& offset : kProbeOffsets) {
    const Vec2 probe = (point + offset) * (1.0f / kTileSize);
    const unsigned char tileValue =
        renderer->GetMapTile(static_cast<int>(probe.x), static_cast<int>(probe.y), 0);
    if (renderer->TileBlocks(tileValue, static_cast<int>(QuadrantOf(probe.x, probe.y)))) return false;
  }
  return !TouchesSolidEntity(point);
}

// A solid entity (a push block) under the hero's feet blocks it and is told
// that the hero pushes against it.
bool Aveth::TouchesSolidEntity(Vec2 point) {
  const int left = static_cast<int>(point.x + 4.0f);
  const int top = static_cast<int>(point.y + 16.0f);
  const int right = static_cast<int>(point.x + 28.0f);
  const int bottom = static_cast<int>(point.y + 30.0f);
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    Entity* other = renderer->GetEntity(i);
    if (other == nullptr || !other->solid) continue;
    const Vec2 at = other->GetPosition();
    const int otherLeft = static_cast<int>(at.x);
    const int otherTop = static_cast<int>(at.y);
    const int otherRight = otherLeft + other->width;
    const int otherBottom = otherTop + other->height;
    if (top >= otherBottom || otherTop >= bottom || left >= otherRight || otherLeft >= right) continue;
    EventParam pushDirection(static_cast<int32_t>(moveDirection));
    EventParam none(0);
    other->SendEvent(EV_PUSH, &pushDirection, &none);
    return true;
  }
  return false;
}
