// Test entry: SDL always runs on its dummy drivers, and the platform layer in
// headless mode, so no test waits for a window or a click.
#include <gtest/gtest.h>

#include <cstdlib>

#include "orvix/platform.h"

// The sanitizer build's leak checker skips leaks inside the libraries we
// build on: sdl12-compat 1.2.60 never frees the surface it makes for each
// SDL_SetVideoMode. Their stacks pass through code without frame pointers,
// so allocation stacks are taken the slow way to see the SDL call.
extern "C" const char* __lsan_default_suppressions() { return "leak:SDL_SetVideoMode\n"; }
extern "C" const char* __lsan_default_options() { return "fast_unwind_on_malloc=0"; }

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Orvix::SetHeadless(true);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
