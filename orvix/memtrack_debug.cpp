// Debugger breaks of the memory tracker. A bare trap would kill a program run
// without a debugger, so the tracker stops only when one is attached; its
// messages are in the memory log either way.
#include "memtrack_tracker.h"

#if PRAEL_MEMTRACK

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace Orvix::Mem {

// Reads the TracerPid field of /proc/self/status with plain system calls: the
// tracker may be mid-allocation and must not allocate itself.
bool DebuggerAttached() {
  const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char text[4096];
  std::size_t length = 0;
  for (;;) {
    const ssize_t got = read(fd, text + length, sizeof text - 1 - length);
    if (got <= 0) break;
    length += static_cast<std::size_t>(got);
    if (length == sizeof text - 1) break;
  }
  close(fd);
  text[length] = '\0';
  const char* field = std::strstr(text, "TracerPid:");
  if (field == nullptr) return false;
  return std::strtol(field + std::strlen("TracerPid:"), nullptr, 10) != 0;
}

void BreakIntoDebugger() {
  if (DebuggerAttached()) std::raise(SIGTRAP);
}

}  // namespace Orvix::Mem

#endif
