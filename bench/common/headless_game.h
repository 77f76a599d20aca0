// Start-up of the benchmarks that play the game itself in their process:
// headless on SDL's dummy drivers, in the window the game opens.
#pragma once

#include <stdlib.h>

#include <cstdio>

#include "orvix/orvix.h"
#include "orvix/platform.h"

namespace prael_bench {

// SDL reads its drivers when it starts, so this comes before anything that
// starts it.
inline void EnterHeadlessGame() {
  Orvix::SetHeadless(true);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// What the game's program hands the engine: its 512 x 512 window, named as
// the game names it, with no command line.
inline Orvix::LaunchContext GameLaunchContext() {
  Orvix::LaunchContext context{};
  context.hInstance = Orvix::GetProgramInstance();
  context.width = 512;
  context.height = 512;
  std::snprintf(context.appName, sizeof context.appName, "%s", "ORVIX App");
  return context;
}

}  // namespace prael_bench
