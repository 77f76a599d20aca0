#include "game/aveth.h"

#include <cstring>

#include "game/net.h"
#include "game/rendprael.h"
#include "game/sword.h"
#include "game/worldbounds.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"

namespace {

// Where the boomerang's x and y lie in the state record.
constexpr uint32_t kBoomerangOffset = 44;

}  // namespace

int HeroWalkFrame(int facing) {
  switch (facing) {
    case DIR_UP:
      return 9;
    case DIR_DOWN:
      return 6;
    case DIR_LEFT:
      return 0;
    case DIR_RIGHT:
      return 3;
    default:
      return 0;
  }
}

Aveth* FindHero(PraelRenderer* world, uint32_t heroUid) {
  if (world == nullptr) return nullptr;
  for (const Orvix::PtrListNode* node = world->GetEntities().Head(); node != nullptr; node = node->next) {
    Entity* entity = static_cast<Entity*>(node->value);
    if (entity == nullptr || !entity->isPlayer || entity->GetUID() != heroUid) continue;
    if (Aveth* hero = dynamic_cast<Aveth*>(entity)) return hero;
  }
  return nullptr;
}

Aveth::Aveth(const char*, Orvix::IInputHandler* inputHandler, NetConnection* connection,
             const char* spriteName)
    : Entity(connection), input(inputHandler) {
  for (int level = 0; level < kSwordCount; ++level) {
    swords[level] = OX_NEW Sword(Sword::SpriteOf(level), inputHandler, connection, level, this);
    if (renderer != nullptr) renderer->AddEntity(swords[level], false);
  }
  CreateBoomerangs();

  SetName("Aveth");
  if (renderer != nullptr) sprite = renderer->GetSpriteType(spriteName != nullptr ? spriteName : "Aveth");
  speed = 175.0f;
  maxHealth = 3.0f;
  health = 3.0f;
  frameCount = 2.0f;
  baseFrame = 0;
  position = Vec2();
  state = STATE_PLAYING;
  isPlayer = true;
  contactDamages = false;
  netUpdated = false;
  ownedByWorld = false;  // the application keeps its heroes
}

Aveth::~Aveth() {
  for (Sword*& sword : swords) {
    ReleaseOwned(sword);
    sword = nullptr;
  }
  for (Entity*& boomerang : boomerangs) {
    ReleaseOwned(boomerang);
    boomerang = nullptr;
  }
}

void Aveth::ReleaseOwned(Entity* owned) {
  if (owned == nullptr) return;
  // Only the world the hero was made in holds its weapons.
  if (renderer != nullptr && renderer == g_renderer) renderer->RemoveEntity(owned);
  OX_DELETE owned;
}

void Aveth::SendEvent(int event, EventParam* a, EventParam* b) {
  // A fallen hero does nothing until it stands up (or is placed).
  if (state == STATE_FALLEN && event != EV_PLACE) return;
  switch (event) {
    case EV_WALK_UP:
      Walk(DIR_UP);
      break;
    case EV_WALK_DOWN:
      Walk(DIR_DOWN);
      break;
    case EV_WALK_LEFT:
      Walk(DIR_LEFT);
      break;
    case EV_WALK_RIGHT:
      Walk(DIR_RIGHT);
      break;
    case EV_ATTACK:
      Attack();
      break;
    case EV_USE_ITEM:
      UseItem();
      break;
    case EV_STOP:
      moveDirection = DIR_NONE;
      break;
    case EV_PLACE:
      startTile =
          Vec2(static_cast<float>(a != nullptr ? a->i : 0), static_cast<float>(b != nullptr ? b->i : 0));
      Place(a != nullptr ? a->i : 0, b != nullptr ? b->i : 0);
      break;
    case EV_STAIRS_DOWN:
      StartStairsDown();
      break;
    case EV_STAIRS_UP:
      StartStairsUp();
      break;
    case EV_NEXT_ITEM:
      SelectNextItem();
      break;
    default:
      break;
  }
}

void Aveth::SetDirection(int newDirection) {
  Entity::SetDirection(newDirection);
  if (newDirection >= DIR_UP && newDirection <= DIR_RIGHT) baseFrame = HeroWalkFrame(newDirection);
}

// The hero sinks into the stairs going down and rises out of them coming up:
// only the top stairDepth rows are drawn, that much lower.
void Aveth::Draw(int roomX, int roomY) {
  if (sprite == nullptr || !visible || state == STATE_INACTIVE || renderer == nullptr) return;
  const int depth = static_cast<int>(stairDepth);
  const int x = static_cast<int>(position.x) - roomX * kRoomWidthPixels;
  const int y = static_cast<int>(position.y) - roomY * kRoomHeightPixels + (kTileSize - depth) + kHudHeight;
  renderer->DrawSprite(sprite, SpriteFrame(), x, y, depth, -1);
}

Vec2 Aveth::NextReturnPoint() {
  if (returnPoints.empty()) return Vec2(kStartTileX, kStartTileY);
  const Vec2 point = returnPoints.back();
  returnPoints.pop_back();
  return point;
}

void Aveth::SetHealth(float value) {
  health = value;
  if (health > maxHealth) health = maxHealth;
}

void Aveth::AddHealth(float amount) { SetHealth(health + amount); }

void Aveth::AddKey() {
  if (++keys > kMaxCounter) keys = kMaxCounter;
}

Entity* Aveth::GetBoomerangInUse() const {
  if (boomerangIndex < 0 || boomerangIndex >= kBoomerangCount) return nullptr;
  return boomerangs[boomerangIndex];
}

bool Aveth::WriteState(NetStream* stream) {
  if (!Entity::WriteState(stream)) return false;
  const Entity* boomerang = GetBoomerangInUse();
  const Vec2 boomerangAt = boomerang != nullptr ? boomerang->position : Vec2(kNoBoomerangAt, kNoBoomerangAt);
  return stream->WriteValue(health) && stream->WriteValue(maxHealth) && stream->WriteValue(baseFrame) &&
         stream->WriteValue(frame) && stream->WriteValue(frameCount) && stream->WriteValue(boomerangAt.x) &&
         stream->WriteValue(boomerangAt.y);
}

bool Aveth::ReadState(NetStream* stream) {
  if (stream == nullptr) return false;
  // A record cut short, or one placing the boomerang outside the world (other
  // than to say none is in use), changes nothing.
  uint8_t whole[kStateRecordBytes];
  if (!stream->Peek(whole, sizeof whole)) return false;
  Vec2 sentAt;
  std::memcpy(&sentAt.x, whole + kBoomerangOffset, sizeof sentAt.x);
  std::memcpy(&sentAt.y, whole + kBoomerangOffset + sizeof sentAt.x, sizeof sentAt.y);
  if (!InWorld(sentAt) && sentAt != Vec2(kNoBoomerangAt, kNoBoomerangAt)) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log(
        "Aveth::ReadState: record of %u refused: boomerang at (%f, %f)", uid, static_cast<double>(sentAt.x),
        static_cast<double>(sentAt.y));
    return false;
  }
  if (!Entity::ReadState(stream)) return false;
  Vec2 boomerangAt;
  if (!stream->ReadValue(health) || !stream->ReadValue(maxHealth) || !stream->ReadValue(baseFrame) ||
      !stream->ReadValue(frame) || !stream->ReadValue(frameCount) || !stream->ReadValue(boomerangAt.x) ||
      !stream->ReadValue(boomerangAt.y))
    return false;
  // The server moves its boomerangs itself; a client shows them where the
  // server says they are.
  Entity* boomerang = GetBoomerangInUse();
  if (!IsServer() && boomerang != nullptr) boomerang->SetPosition(boomerangAt);
  return true;
}
