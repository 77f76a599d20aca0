// Backends of the platform layer, private to the engine library: the console
// backend used when headless and the FLTK backend used where a display exists.
#pragma once

namespace Orvix {

// Standard error in place of a box; never waits.
void ConsoleMessageBox(const char* text, const char* caption, int icon);

// Opens the X display for FLTK on first use; false when there is none. Never
// ends the process, unlike FLTK's own opening.
bool FltkOpenDisplay();
// True once FLTK has a display, so that pumping it has a meaning.
bool FltkDisplayIsOpen();
void FltkCheck();
void FltkWait(double maxSeconds);
void FltkMessageBox(const char* text, const char* caption, int icon);

}  // namespace Orvix
