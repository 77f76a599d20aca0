// CTestApp: the game's application object, driven by the engine's frame.
#pragma once

#include "orvix/orvix.h"

class CTestApp : public Orvix::COrvixApp {
 public:
  void Frame() override;
  void DrawOverlay() override;
  int OnGameEvent(int code, int argument) override;

 protected:
  bool Initialize() override;
  bool Shutdown() override;
};
