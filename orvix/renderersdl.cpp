// RendererSDL: start-up, shut-down, the frame's event pump and whole-screen
// operations. Images, tilemaps and sprite types live in their own units.
#include "renderersdl.h"

#include <cstdlib>

#include "logging.h"
#include "memtrack.h"
#include "orvix.h"
#include "platform.h"

namespace Orvix {

RendererSDL::RendererSDL() : m_spriteTypeNames(kSpriteNameKeyLength) {}

RendererSDL::~RendererSDL() {
  CSingleton<COrvixLogger>::Instance().Log("RendererSDL object destroyed");
  // A renderer destroyed without Shutdown still gives its pools back.
  if (m_spriteTypePool != nullptr) m_spriteTypePool->Clear(false);
  OX_DELETE m_spriteTypePool;
  FreeImages();
  OX_DELETE m_imagePool;
  FreeTilemaps();
  m_spriteTypeNames.Clear();
}

bool RendererSDL::Initialize(HWND, VideoRes* mode, int maxSpriteTypes) {
  COrvixLogger& log = CSingleton<COrvixLogger>::Instance();
  if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0) {
    log.Log("Unable to init SDL: %s", SDL_GetError());
    // A machine without a sound device still shows the game; the sound
    // module reports its own failure.
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
      log.Log("Unable to init SDL: %s", SDL_GetError());
      return false;
    }
    log.Log("RendererSDL::Initialize: SDL video started without audio");
  }
  m_screen = SDL_SetVideoMode(mode->width, mode->height, mode->bpp, 0);
  if (m_screen == nullptr) {
    log.Log("Unable to set %dx%d video: %s", mode->width, mode->height, SDL_GetError());
    std::exit(1);
  }
  // A new video surface is not guaranteed to be blank.
  SDL_FillRect(m_screen, nullptr, 0);
  if (g_orvix != nullptr) SDL_WM_SetCaption(g_orvix->GetLaunchContext().appName, nullptr);
  SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);

  // From here SDL's event handling in StepFrame keeps the window responsive.
  if (g_orvix != nullptr) g_orvix->DispatchWin32Msgs(false);

  const unsigned spriteTypes = maxSpriteTypes > 0 ? static_cast<unsigned>(maxSpriteTypes) : 0u;
  OX_DELETE m_spriteTypePool;
  m_spriteTypePool = OX_NEW SegmentHeap(sizeof(SpriteType), spriteTypes, nullptr);
  m_spriteTypePool->Clear(true);
  FreeImages();
  OX_DELETE m_imagePool;
  m_imagePool = OX_NEW SegmentHeap(sizeof(Image), kMaxImages, nullptr);
  m_imagePool->Clear(true);
  return true;
}

// SDL_Quit does not release surfaces the program made, so images and
// tilemaps are freed here before SDL goes down.
void RendererSDL::Shutdown() {
  ClearSpriteTypeList();
  OX_DELETE m_spriteTypePool;
  m_spriteTypePool = nullptr;
  FreeImages();
  OX_DELETE m_imagePool;
  m_imagePool = nullptr;
  FreeTilemaps();
  m_screen = nullptr;
  SDL_Quit();
}

// Input is read before the program's frame and events are pumped here, after
// it, so a frame's key state reflects the events of the previous frame.
void RendererSDL::StepFrame() {
  PumpPlatformEvents();
  if (m_screen == nullptr) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT && g_orvix != nullptr) g_orvix->ForceShutdown();
  }
}

bool RendererSDL::PageFlip() { return m_screen != nullptr && SDL_Flip(m_screen) != -1; }

bool RendererSDL::ClearScreen() {
  if (m_screen != nullptr) SDL_FillRect(m_screen, nullptr, 0);
  return true;
}

bool RendererSDL::LockScreen() { return m_screen != nullptr && SDL_LockSurface(m_screen) == 0; }

void RendererSDL::UnlockScreen() {
  if (m_screen != nullptr) SDL_UnlockSurface(m_screen);
}

}  // namespace Orvix
