#include "game/frameclock.h"

#include "orvix/platform.h"

bool FrameClock::s_installed = false;
uint64_t FrameClock::s_frames = 0;

void FrameClock::Install() {
  s_frames = 0;
  s_installed = true;
  Orvix::SetTickSource(Now);
}

void FrameClock::Uninstall() {
  s_installed = false;
  Orvix::SetTickSource(nullptr);
}

uint32_t FrameClock::Now() {
  return static_cast<uint32_t>((s_frames * 1000 + kFramesPerSecond / 2) / kFramesPerSecond);
}
