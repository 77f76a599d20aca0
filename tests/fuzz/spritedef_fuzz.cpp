// Fuzz target: the sprite definition file reader. Each input is a whole
// definition file; a small tile sheet, "tiles.bmp", is there for its
// LOAD_TILEMAP statements. After the parse every frame of every sprite that
// was declared is drawn, as the game draws them.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "orvix/renderersdl.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Few enough that a file can use them all up.
constexpr int kSpriteTypes = 256;
constexpr const char* kDefinitionFile = "fuzz.def";

class FuzzRenderer final : public Orvix::RendererSDL {
 public:
  using RendererSDL::Initialize;
  bool Initialize(Orvix::HWND window, Orvix::VideoRes* mode) override {
    return RendererSDL::Initialize(window, mode, kSpriteTypes);
  }

  // Every sprite type in the pool, each of its frames and one past the last.
  void DrawEverySprite() {
    for (unsigned i = 0; i < m_spriteTypePool->GetNumAllocs(); ++i) {
      Orvix::SpriteType* type = static_cast<Orvix::SpriteType*>((*m_spriteTypePool)[i]);
      for (int frame = -1; frame <= type->frameCount; ++frame) DrawSprite(type, frame, 100, 100, -1, -1);
      DrawSprite(type, 0, -8, 500, 8, 40);
    }
  }

  // Forgets what the last input declared: its sprite types and the tilemaps
  // it loaded (which otherwise stay until Shutdown).
  void Forget() {
    ClearSpriteTypeList();
    for (int i = 0; i < m_numTilemaps; ++i) SDL_FreeSurface(m_tilemaps[i].surface);
    std::memset(m_tilemaps, 0, sizeof m_tilemaps);
    m_numTilemaps = 0;
  }
};

FuzzRenderer* StartRenderer() {
  fuzz::StartHeadless();
  if (!fuzz::WriteTileSheet("tiles.bmp", 128, 64, 16)) return nullptr;
  // Lives for the whole process, as the game's renderer lives for the game.
  static FuzzRenderer renderer;
  Orvix::VideoRes mode = {512, 512, 32};
  return renderer.Initialize(nullptr, &mode) ? &renderer : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzRenderer* renderer = StartRenderer();
  if (renderer == nullptr) __builtin_trap();
  if (!fuzz::WriteFile(kDefinitionFile, data, size)) return 0;
  renderer->LoadSpriteDef(kDefinitionFile);
  renderer->DrawEverySprite();
  renderer->Forget();
  return 0;
}
