#include "platform.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace Orvix {

namespace {

TickSource g_tickSource = nullptr;
bool g_headless = false;

uint32_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

bool DisplayAvailable() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && display[0] != '\0';
}

}  // namespace

uint32_t GetTickCount() { return g_tickSource ? g_tickSource() : MonotonicMilliseconds(); }

void SetTickSource(TickSource source) { g_tickSource = source; }

void SetHeadless(bool headless) { g_headless = headless; }

bool IsHeadless() { return g_headless || !DisplayAvailable(); }

void MessageBoxA(HWND, const char* text, const char* caption, int) {
  std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
}

void PumpPlatformEvents() {}

}  // namespace Orvix
