// PraelRenderer: life cycle and the frame.
#include "game/rendprael.h"

#include "orvix/logging.h"
#include "orvix/orvix.h"

PraelRenderer* g_renderer = nullptr;

namespace {

constexpr const char* kWorldMapFile = "overworld1.wmap";
constexpr const char* kHudImageFile = "tevhud32.bmp";
constexpr const char* kFooterImageFile = "tevfooter32.bmp";
constexpr const char* kFontImageFile = "tevtext32.bmp";

void LogIfMissing(const void* loaded, const char* file) {
  if (loaded == nullptr) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("PraelRenderer::Initialize: cannot load %s", file);
  }
}

}  // namespace

PraelRenderer::PraelRenderer() { g_renderer = this; }

PraelRenderer::~PraelRenderer() {
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("PraelRenderer object destroyed");
  if (g_renderer == this) g_renderer = nullptr;
  m_entities.Clear();
  FreeRoomLayer();
}

bool PraelRenderer::Initialize(Orvix::HWND window, Orvix::VideoRes* mode) {
  FreeRoomLayer();
  if (!RendererSDL::Initialize(window, mode, kSpriteTypes)) return false;
  BuildTileFlags();
  LoadMap(kWorldMapFile);
  m_hudImage = LoadImageA(kHudImageFile);
  LogIfMissing(m_hudImage, kHudImageFile);
  m_footerImage = LoadImageA(kFooterImageFile);
  LogIfMissing(m_footerImage, kFooterImageFile);
  LoadFont(kFontImageFile);
  LogIfMissing(m_fontImage, kFontImageFile);
  return true;
}

// The images go with the renderer's image pool, the room layer with the
// tile sheet it was drawn from.
void PraelRenderer::Shutdown() {
  FreeRoomLayer();
  m_hudImage = nullptr;
  m_footerImage = nullptr;
  m_fontImage = nullptr;
  RendererSDL::Shutdown();
}

void PraelRenderer::StepFrame() {
  TickEntities();
  ClearUncoveredRows();
  DrawRoom(m_viewRoomX, m_viewRoomY, m_viewScrollX, m_viewScrollY);
  DrawEntities();
  // Drawn after the entities, so the arches cover whoever stands in a doorway.
  const RoomRecord* room = GetCurrentRoomRecord();
  if (room != nullptr && room->dungeonFlag != 0) DrawDoors();
  DrawImage(m_hudImage, 0, 0);
  DrawImage(m_footerImage, 0, kFooterTop);
  if (Orvix::g_orvix != nullptr) Orvix::g_orvix->DrawOverlay();
  RendererSDL::StepFrame();
  PageFlip();
}
