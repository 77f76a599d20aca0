// CTestApp::Frame, the game's work in each frame before the renderer ticks and
// draws the world, and HandleInput, which turns keys into hero events.
#include <SDL/SDL_keysym.h>

#include "game/aveth.h"
#include "game/frameclock.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "game/testapp.h"

void CTestApp::Frame() {
  ++m_framesRun;
  if (m_frameLimit > 0 && m_framesRun >= m_frameLimit) ForceShutdown();
  // Nothing walks the entity list here, so what ended in the last frame's
  // tick pass can go.
  ReleaseEndedEntities();

  if (m_framesRun == 1) PlaySound(kMusicOverworld);
  if (connection != nullptr) {
    if (connection->IsAuthenticated()) NetworkTick();
    connection->Pump();
  }
  HandleInput();
  ScrollRooms();
  UpdateWorldList();

  Orvix::IInputHandler* input = GetInputHandler();
  if (renderer != nullptr) renderer->RenderSprites(!scrolling);
  if (input != nullptr) input->DisableInput(scrolling);
  if (!scrolling && isServer) CheckRoomCleared();
  // On the frame clock a frame lasts a 60th of a second of game time
  // however long it took, so there is nothing to wait for, unless another
  // program plays along: the two must still meet in real time.
  if (FrameClock::IsInstalled()) {
    FrameClock::Advance();
    if (connection != nullptr && connection->IsConnected()) m_peerPacer.WaitForNextFrame();
  } else {
    m_pacer.WaitForNextFrame();
  }
}

bool CTestApp::KeyWentDown(Orvix::IInputHandler* input, unsigned key, bool* latch) const {
  if (!input->GetKeyState(key)) {
    *latch = false;
    return false;
  }
  if (*latch) return false;
  *latch = true;
  return true;
}

// The peer's copy of the hero does the same; the position is not read there.
void CTestApp::SendHeroAction(uint32_t messageType) {
  if (connection == nullptr || !connection->IsAuthenticated()) return;
  NetMessage message(messageType);
  const Vec2 at = localHero->GetPosition();
  message.stream.WriteValue(at.x);
  message.stream.WriteValue(at.y);
  connection->Send(message);
}

// One walking direction at a time, in the order up, down, right, left; the
// actions run once per press.
void CTestApp::HandleInput() {
  Orvix::IInputHandler* input = GetInputHandler();
  if (input == nullptr || localHero == nullptr) return;
  EventParam a(0);
  EventParam b(0);
  int walk = Aveth::EV_STOP;
  if (input->GetKeyState(SDLK_UP))
    walk = Aveth::EV_WALK_UP;
  else if (input->GetKeyState(SDLK_DOWN))
    walk = Aveth::EV_WALK_DOWN;
  else if (input->GetKeyState(SDLK_RIGHT))
    walk = Aveth::EV_WALK_RIGHT;
  else if (input->GetKeyState(SDLK_LEFT))
    walk = Aveth::EV_WALK_LEFT;
  localHero->SendEvent(walk, &a, &b);

  if (input->GetKeyState(SDLK_d)) localHero->SendEvent(Aveth::EV_STAIRS_DOWN, &a, &b);
  if (KeyWentDown(input, SDLK_SPACE, &attackLatch)) {
    localHero->SendEvent(Aveth::EV_ATTACK, &a, &b);
    SendHeroAction(MSG_ATTACK);
  }
  if (KeyWentDown(input, SDLK_LCTRL, &itemLatch)) {
    localHero->SendEvent(Aveth::EV_USE_ITEM, &a, &b);
    SendHeroAction(MSG_USE_ITEM);
  }
  if (KeyWentDown(input, SDLK_TAB, &tabLatch)) localHero->SendEvent(Aveth::EV_NEXT_ITEM, &a, &b);
}
