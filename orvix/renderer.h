// The renderer interface the application frame owns and steps each frame.
#pragma once

#include "orvixapi.h"
#include "platform.h"

namespace Orvix {

struct VideoRes {
  int width;
  int height;
  int bpp;
};

class ORVIX_API IRenderer {
 public:
  virtual ~IRenderer() = default;
  virtual bool Initialize(HWND window, VideoRes* mode) = 0;
  virtual void Shutdown() = 0;
  virtual void StepFrame() = 0;
  virtual bool PageFlip() = 0;
  virtual bool ClearScreen() = 0;
};

}  // namespace Orvix
