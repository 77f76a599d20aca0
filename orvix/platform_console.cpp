// The console backend: what a person must see goes to standard error, so that
// nothing waits for a click where no display exists.
#include <cstdio>

#include "platform.h"
#include "platform_internal.h"

namespace Orvix {

void ConsoleMessageBox(const char* text, const char* caption, int) {
  std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
  std::fflush(stderr);
}

}  // namespace Orvix
