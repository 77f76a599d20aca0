// The platform layer: the only part of the engine that knows the operating
// system, the windowing toolkit and the clock. Everything above it speaks
// these interfaces.
#pragma once

#include <cstdint>

#include "orvixapi.h"

namespace Orvix {

// Opaque handles in place of the Win32 ones the interfaces were written for.
using HWND = void*;
using HINSTANCE = void*;

// Milliseconds from a monotonic clock as an unsigned 32-bit count that wraps
// like the original tick count.
ORVIX_API uint32_t GetTickCount();

// Tests substitute the clock; null restores the real one.
using TickSource = uint32_t (*)();
ORVIX_API void SetTickSource(TickSource source);

// Headless mode: no window toolkit, message boxes go to standard error and
// return at once. Chosen by the program, and always in force when no display
// exists.
ORVIX_API void SetHeadless(bool headless);
ORVIX_API bool IsHeadless();

enum MessageBoxIcon { MB_ICONERROR = 0x10, MB_ICONINFORMATION = 0x40 };

// A modal box with one OK button; returns when the user closed it (at once when
// headless).
ORVIX_API void MessageBoxA(HWND owner, const char* text, const char* caption, int icon);

// Runs the window toolkit's pending events and returns; never waits.
ORVIX_API void PumpPlatformEvents();

}  // namespace Orvix
