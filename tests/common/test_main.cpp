// Test entry: SDL always runs on its dummy drivers, and the platform layer in
// headless mode, so no test waits for a window or a click.
#include <gtest/gtest.h>

#include <cstdlib>

#include "orvix/platform.h"

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Orvix::SetHeadless(true);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
