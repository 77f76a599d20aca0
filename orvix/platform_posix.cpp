// The operating-system services of the platform layer: the tick count and the
// program's module handle.
#include <dlfcn.h>
#include <time.h>

#include "platform.h"

namespace Orvix {

namespace {

TickSource g_tickSource = nullptr;

uint32_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms =
      static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  // Truncation to 32 bits is the point: the count wraps like the original.
  return static_cast<uint32_t>(ms);
}

}  // namespace

HINSTANCE GetProgramInstance() {
  // The handle of the main program is already loaded; RTLD_NOLOAD only looks
  // it up.
  return dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD);
}

uint32_t GetTickCount() { return g_tickSource ? g_tickSource() : MonotonicMilliseconds(); }

void SetTickSource(TickSource source) { g_tickSource = source; }

}  // namespace Orvix
