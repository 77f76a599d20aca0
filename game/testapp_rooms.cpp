// CTestApp: the room view. The view follows the local hero from room to room
// with a half-second scroll, jumps when a staircase or a cave's exit moves the
// hero, and opens the shutters of a room once its last enemy is gone.
#include <cmath>

#include "game/aveth.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "game/testapp.h"
#include "orvix/logging.h"

namespace {

// A scroll is pushed this far into the new room, so the hero does not stand
// on the edge it came over.
constexpr int kScrollPushPixels = 8;
// Offsets run from 1 to 0 at this many rooms a second.
constexpr float kScrollRoomsPerSecond = 2.0f;

// The room of a hero's position as the view reckons it: the tile of its
// centre, counted in rooms.
float RoomColumnOf(Vec2 position) {
  return ((position.x - 16.0f) / Entity::kTileSize + 1.0f) / Entity::kRoomWidthTiles;
}
float RoomRowOf(Vec2 position) {
  return ((position.y - 16.0f) / Entity::kTileSize + 1.0f) / Entity::kRoomHeightTiles;
}

// Moves an offset toward 0 by step; true when it reached 0.
bool MoveTowardZero(float* offset, float step) {
  if (*offset > 0.0f) {
    *offset -= step;
    if (*offset <= 0.0f) *offset = 0.0f;
  } else if (*offset < 0.0f) {
    *offset += step;
    if (*offset >= 0.0f) *offset = 0.0f;
  }
  return *offset == 0.0f;
}

}  // namespace

Vec2 CTestApp::ViewRoomOf(Vec2 position) {
  return {std::floor(RoomColumnOf(position)), std::floor(RoomRowOf(position))};
}

void CTestApp::ScrollRooms() {
  m_scrollEndedThisFrame = false;
  if (localHero != nullptr) {
    const Vec2 at = localHero->GetPosition();
    const int column = static_cast<int>(RoomColumnOf(at));
    const int row = static_cast<int>(RoomRowOf(at));
    if (!scrolling) {
      if (column < roomX) {
        StartScroll(-1, 0, DIR_LEFT);
      } else if (column > roomX) {
        StartScroll(1, 0, DIR_RIGHT);
      } else if (row < roomY) {
        StartScroll(0, -1, DIR_UP);
      } else if (row > roomY) {
        const RoomRecord* record = renderer != nullptr ? renderer->GetRoomRecord(roomX, roomY) : nullptr;
        if (record != nullptr && record->exitFlag != 0) {
          ReturnFromExitRoom();
          return;
        }
        StartScroll(0, 1, DIR_DOWN);
      }
    }
    if (scrolling) AdvanceScroll();
  }
  if (m_scrollEndedThisFrame) {
    if (isServer) {
      PopulateRoom(roomX, roomY, false);
    } else if (connection != nullptr && connection->IsAuthenticated()) {
      NetMessage message(MSG_ENTER_ROOM);
      message.stream.WriteValue(static_cast<float>(roomX));
      message.stream.WriteValue(static_cast<float>(roomY));
      connection->Send(message);
    }
  }
  if (renderer != nullptr) renderer->SetView(roomX, roomY, scrollX, scrollY);
}

void CTestApp::StartScroll(int stepX, int stepY, int pushDirection) {
  scrolling = true;
  roomX += stepX;
  roomY += stepY;
  if (stepX != 0) scrollX = static_cast<float>(-stepX);
  if (stepY != 0) scrollY = static_cast<float>(-stepY);
  localHero->SetPushDistance(kScrollPushPixels);
  localHero->SetPushDirection(pushDirection);
  localHero->SetRoom(static_cast<float>(roomX), static_cast<float>(roomY));
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("CTestApp::ScrollRooms: to room (%d, %d)", roomX,
                                                         roomY);
}

void CTestApp::AdvanceScroll() {
  const float step = kScrollRoomsPerSecond * GetTimeKey();
  const bool xDone = MoveTowardZero(&scrollX, step);
  const bool yDone = MoveTowardZero(&scrollY, step);
  if (!xDone || !yDone) return;
  scrolling = false;
  m_scrollEndedThisFrame = true;
  // A hero hurt just before the scroll stops flashing on its next tick.
  localHero->flashTime = 0.0f;
  localHero->flashing = true;
}

// Leaving a cave through its mouth: the hero comes up the stairs it went down.
void CTestApp::ReturnFromExitRoom() {
  const Vec2 returnTile = localHero->NextReturnPoint();
  localHero->SetPosition(returnTile * static_cast<float>(Entity::kTileSize));
  EventParam none(0);
  localHero->SendEvent(Aveth::EV_STAIRS_UP, &none, &none);
  OnGameEvent(1, 0);
}

// Code 1: a staircase (or a cave's exit) moved the local hero; the view jumps
// to its room, and a dungeon room starts the dungeon music.
int CTestApp::OnGameEvent(int code, int) {
  if (code != 1) return code;
  if (localHero == nullptr) return 0;
  const Vec2 heroRoom = localHero->GetRoom();
  roomX = static_cast<int>(heroRoom.x);
  roomY = static_cast<int>(heroRoom.y);
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log(
      "CTestApp::OnGameEvent: the view moves to room (%d, %d)", roomX, roomY);
  const RoomRecord* record = renderer != nullptr ? renderer->GetRoomRecord(roomX, roomY) : nullptr;
  if (record == nullptr || record->dungeonFlag == 0) return 0;
  return PlaySound(kMusicDungeon) ? 1 : 0;
}

void CTestApp::CheckRoomCleared() {
  if (localHero == nullptr || renderer == nullptr) return;
  const Vec2 heroRoom = ViewRoomOf(localHero->GetPosition());
  const RoomRecord* record =
      renderer->GetRoomRecord(static_cast<int>(heroRoom.x), static_cast<int>(heroRoom.y));
  if (record == nullptr) return;
  const bool hasShutter = record->doorTop == DOOR_SHUTTER || record->doorBottom == DOOR_SHUTTER ||
                          record->doorRight == DOOR_SHUTTER || record->doorLeft == DOOR_SHUTTER;
  if (!hasShutter) return;
  for (const Orvix::PtrListNode* node = renderer->GetEntities().Head(); node != nullptr; node = node->next) {
    Entity* entity = Orvix::TypedPtrList<Entity>::ValueOf(node);
    if (entity != nullptr && entity->hostile && entity->GetRoom() == heroRoom) return;
  }
  // OpenDoor's sides: 1 top, 2 bottom, 3 right, 4 left; -1 is the view room.
  if (record->doorRight == DOOR_SHUTTER) renderer->OpenDoor(3, -1, -1);
  if (record->doorLeft == DOOR_SHUTTER) renderer->OpenDoor(4, -1, -1);
  if (record->doorTop == DOOR_SHUTTER) renderer->OpenDoor(1, -1, -1);
  if (record->doorBottom == DOOR_SHUTTER) renderer->OpenDoor(2, -1, -1);
}
