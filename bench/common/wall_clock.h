// Seconds of real time, for measuring a span.
#pragma once

#include <time.h>

namespace prael_bench {

// A monotonic clock, in seconds from an unspecified start.
inline double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace prael_bench
