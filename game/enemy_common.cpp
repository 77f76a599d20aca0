// What the enemies share: construction, the events every enemy answers and
// the state extension. The walker's frame is in enemy_walker.cpp, damage,
// death and drops in enemy_combat.cpp, the shots in enemy_shots.cpp.
#include "game/enemy_common.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/worldbounds.h"
#include "orvix/logging.h"

int32_t g_killsSinceDrop = 0;

namespace enemy {

int Roll(int n) { return std::rand() % n; }

void InitEnemy(Entity& enemy, const char* name, const char* spriteName) {
  enemy.SetName(name);
  if (enemy.renderer != nullptr) enemy.sprite = enemy.renderer->GetSpriteType(spriteName);
  enemy.hostile = true;
  enemy.contactDamages = true;
  enemy.SetPosition(Vec2(0.0f, 0.0f));
  enemy.baseFrame = 0;
  enemy.frameCount = 2.0f;
}

float RollSpeed(float slow, float fast) { return Roll(4) == 3 ? fast : slow; }

float RollHarmlessTime() { return static_cast<float>(Roll(10)) / 10.0f + 0.1f; }

void FaceWalkingFrames(Entity& walker) {
  switch (walker.direction) {
    case DIR_UP:
      walker.baseFrame = 9;
      break;
    case DIR_DOWN:
      walker.baseFrame = 7;
      break;
    case DIR_LEFT:
      walker.baseFrame = 3;
      break;
    case DIR_RIGHT:
      walker.baseFrame = 5;
      break;
    default:
      break;
  }
}

namespace {

// Events 1 to 4: a step of speed x frame time, sliding onto the 16-pixel
// grid across the way, taken only onto walkable ground.
void StepByEvent(Entity& walker, int facing) {
  walker.SetDirection(facing);
  const float step = walker.speed * Entity::FrameTime();
  const Vec2 at = walker.position;
  Vec2 next;
  switch (facing) {
    case DIR_UP:
      next = Vec2(static_cast<float>(walker.AlignX(16)), at.y - step);
      break;
    case DIR_DOWN:
      next = Vec2(static_cast<float>(walker.AlignX(16)), at.y + step);
      break;
    case DIR_LEFT:
      next = Vec2(at.x - step, static_cast<float>(walker.AlignY(16)));
      break;
    default:
      next = Vec2(at.x + step, static_cast<float>(walker.AlignY(16)));
      break;
  }
  if (walker.IsWalkable(next)) {
    walker.SetPosition(next);
    walker.Animate();
  }
}

int IntOf(const EventParam* param) { return param != nullptr ? param->i : 0; }

}  // namespace

void PlaceOnTile(Entity& enemy, int column, int row) {
  enemy.SetPosition(
      Vec2(static_cast<float>(column * Entity::kTileSize), static_cast<float>(row * Entity::kTileSize)));
  enemy.SetDirection(DIR_UP);
  enemy.SetRoom(std::floor(enemy.tile.x / Entity::kRoomWidthTiles),
                std::floor(enemy.tile.y / Entity::kRoomHeightTiles));
}

void WalkerEvent(Entity& walker, int event, const EventParam* a, const EventParam* b, bool flipsAppearing) {
  switch (event) {
    case EV_WALK_UP:
    case EV_WALK_DOWN:
    case EV_WALK_LEFT:
    case EV_WALK_RIGHT:
      StepByEvent(walker, event - EV_WALK_UP);
      break;
    case EV_TURN_AND_FIRE: {
      // The direction comes from the network: a shot in no direction would
      // fly nowhere and a walker facing nowhere never arrives.
      const int fireDirection = IntOf(a);
      if (fireDirection < DIR_UP || fireDirection > DIR_RIGHT) {
        Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("%s::SendEvent: turn to direction %d ignored",
                                                               walker.name, fireDirection);
        break;
      }
      walker.SetDirection(fireDirection);
      walker.SetState(STATE_FIRING);
      break;
    }
    case EV_PLACE:
      if (flipsAppearing) walker.ChangeState(-2);
      PlaceOnTile(walker, IntOf(a), IntOf(b));
      break;
    default:
      break;
  }
}

void SendTurnAndFire(Entity& enemy, int fireDirection) {
  if (enemy.net == nullptr) return;
  NetMessage message(MSG_TURN_FIRE);
  message.stream.WriteValue(enemy.uid);
  message.stream.WriteValue(static_cast<int32_t>(fireDirection));
  enemy.net->Send(message);
}

namespace {

// The extension's fields as they travel, in order.
struct StateExtension {
  float targetX;
  float targetY;
  float health;
  int32_t baseFrame;
  float frame;
  float harmlessTime;
  float speed;
};
static_assert(sizeof(StateExtension) == kStateExtensionBytes);

}  // namespace

bool WriteEnemyState(Entity& enemy, NetStream* stream) {
  if (!enemy.Entity::WriteState(stream)) return false;
  return stream->WriteValue(enemy.target.x) && stream->WriteValue(enemy.target.y) &&
         stream->WriteValue(enemy.health) && stream->WriteValue(enemy.baseFrame) &&
         stream->WriteValue(enemy.frame) && stream->WriteValue(enemy.harmlessTime) &&
         stream->WriteValue(enemy.speed);
}

bool ReadEnemyState(Entity& enemy, NetStream* stream) {
  if (stream == nullptr) return false;
  // The whole record is looked at first: one cut short, or one that would
  // send the enemy walking out of the world, changes nothing.
  uint8_t whole[Entity::kStateRecordBytes + kStateExtensionBytes];
  if (!stream->Peek(whole, sizeof whole)) return false;
  StateExtension read{};
  std::memcpy(&read, whole + Entity::kStateRecordBytes, sizeof read);
  if (!MovesWithinWorld(Vec2(read.targetX, read.targetY), read.speed)) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log(
        "%s::ReadState: record of %u refused: it walks to (%f, %f) at speed %f", enemy.name, enemy.uid,
        static_cast<double>(read.targetX), static_cast<double>(read.targetY),
        static_cast<double>(read.speed));
    return false;
  }
  // The record applies the direction through SetDirection; the baseFrame
  // applied afterwards replaces the facing frame it chose.
  if (!enemy.Entity::ReadState(stream) || !stream->Read(&read, sizeof read)) return false;
  enemy.target = Vec2(read.targetX, read.targetY);
  enemy.health = read.health;
  enemy.baseFrame = read.baseFrame;
  enemy.frame = read.frame;
  enemy.harmlessTime = read.harmlessTime;
  enemy.speed = read.speed;
  return true;
}

}  // namespace enemy
