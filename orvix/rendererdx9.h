// A renderer whose operations do nothing, kept as the second implementation
// of the renderer interface. Nothing in the engine or the game creates one.
#pragma once

#include "orvixapi.h"
#include "renderer.h"

namespace Orvix {

class ORVIX_API RendererDX9 : public IRenderer {
 public:
  ~RendererDX9() override;
  bool Initialize(HWND, VideoRes*) override { return true; }
  void Shutdown() override {}
  void StepFrame() override {}
  bool PageFlip() override { return true; }
  bool ClearScreen() override { return true; }
};

}  // namespace Orvix
