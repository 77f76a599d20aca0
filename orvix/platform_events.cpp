// Headless choice, message boxes and the event pump: each picks the console
// or the FLTK backend.
#include <time.h>

#include "platform.h"
#include "platform_internal.h"

namespace Orvix {

namespace {

bool g_headless = false;
bool g_quitPosted = false;

bool TakeQuitMessage() {
  const bool posted = g_quitPosted;
  g_quitPosted = false;
  return posted;
}

}  // namespace

void SetHeadless(bool headless) { g_headless = headless; }

bool IsHeadless() { return g_headless || !FltkOpenDisplay(); }

void MessageBoxA(HWND, const char* text, const char* caption, int icon) {
  if (IsHeadless())
    ConsoleMessageBox(text, caption, icon);
  else
    FltkMessageBox(text, caption, icon);
}

bool PumpPlatformEvents() {
  if (!g_headless && FltkDisplayIsOpen()) FltkCheck();
  return !TakeQuitMessage();
}

bool WaitPlatformEvents(double maxSeconds) {
  if (g_quitPosted) return !TakeQuitMessage();
  if (!g_headless && FltkDisplayIsOpen()) {
    FltkWait(maxSeconds);
  } else {
    const long nanoseconds = maxSeconds > 0 ? static_cast<long>(maxSeconds * 1e9) : 0;
    timespec pause{nanoseconds / 1000000000L, nanoseconds % 1000000000L};
    nanosleep(&pause, nullptr);
  }
  return !TakeQuitMessage();
}

void PostQuitMessage(int) { g_quitPosted = true; }

}  // namespace Orvix
