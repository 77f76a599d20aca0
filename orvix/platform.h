// The platform layer: the only part of the engine that knows the operating
// system, the windowing toolkit and the clock. Everything above it speaks
// these interfaces. Where a display exists the window toolkit is FLTK; where
// none exists (or the program asks for headless mode) nothing is ever shown
// and nothing ever waits for a click. Dialogs are declared in dialog.h.
#pragma once

#include <cstdint>

#include "orvixapi.h"

namespace Orvix {

// Opaque handles in place of the Win32 ones the interfaces were written for.
using HWND = void*;
using HINSTANCE = void*;

// The program's own module handle, for its LaunchContext.
ORVIX_API HINSTANCE GetProgramInstance();

// Milliseconds from a monotonic clock as an unsigned 32-bit count that wraps
// like the original tick count.
ORVIX_API uint32_t GetTickCount();

// Tests substitute the clock; null restores the real one.
using TickSource = uint32_t (*)();
ORVIX_API void SetTickSource(TickSource source);

// Headless mode: no window toolkit, message boxes go to standard error and
// return at once. Chosen by the program, and always in force when no display
// can be opened.
ORVIX_API void SetHeadless(bool headless);
ORVIX_API bool IsHeadless();

enum MessageBoxIcon { MB_OK = 0, MB_ICONERROR = 0x10, MB_ICONINFORMATION = 0x40 };

// A modal box with one OK button; returns when the user closed it. Headless:
// "[caption] text" on standard error, and returns at once.
ORVIX_API void MessageBoxA(HWND owner, const char* text, const char* caption, int icon);

// Runs the window toolkit's pending events and returns; never waits. Returns
// false when it took a quit message posted by PostQuitMessage (the message is
// consumed, as GetMessage does), true otherwise.
ORVIX_API bool PumpPlatformEvents();

// Like PumpPlatformEvents, but first waits up to maxSeconds for an event, so
// that a loop around a dialog does not spin.
ORVIX_API bool WaitPlatformEvents(double maxSeconds);

// Queues the quit message for the next pump.
ORVIX_API void PostQuitMessage(int exitCode);

// A plain top-level window of fixed client size that cannot be resized; the
// close box calls onClose (which may not destroy the window itself) and hides
// the window. Null when headless or when the window cannot be made.
using WindowCloseHandler = void (*)(void* context);
ORVIX_API HWND CreateFixedWindow(const char* title, int width, int height, bool topmost,
                                 WindowCloseHandler onClose, void* context);
ORVIX_API void DestroyFixedWindow(HWND window);

}  // namespace Orvix
