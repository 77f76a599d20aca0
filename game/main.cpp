// Program entry: fills the launch context and hands control to the engine.
#include <cstdlib>
#include <cstring>

#include "game/testapp.h"

int main(int argc, char** argv) {
  std::srand(Orvix::GetTickCount());
  Orvix::LaunchContext context;
  std::memset(&context, 0, sizeof context);
  context.hInstance = &context;
  context.width = 512;
  context.height = 512;
  std::strncpy(context.appName, "ORVIX App", sizeof context.appName - 1);
  CTestApp app;
  app.Launch(&context);
  return 0;
}
