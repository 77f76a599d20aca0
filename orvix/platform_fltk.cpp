// The FLTK backend's connection to the display and its event pump.
#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>

#include "platform_internal.h"

namespace Orvix {

namespace {

enum class DisplayState { Untried, Open, Unavailable };
DisplayState g_displayState = DisplayState::Untried;

}  // namespace

// FLTK's own opening ends the process when the display is missing, so the
// display is opened here and handed over.
bool FltkOpenDisplay() {
  if (g_displayState == DisplayState::Untried) {
    const char* name = std::getenv("DISPLAY");
    Display* display = (name != nullptr && name[0] != '\0') ? XOpenDisplay(name) : nullptr;
    if (display != nullptr) {
      fl_open_display(display);
      Fl::scheme("gtk+");
      g_displayState = DisplayState::Open;
    } else {
      g_displayState = DisplayState::Unavailable;
    }
  }
  return g_displayState == DisplayState::Open;
}

bool FltkDisplayIsOpen() { return g_displayState == DisplayState::Open; }

void FltkCheck() { Fl::check(); }

void FltkWait(double maxSeconds) { Fl::wait(maxSeconds); }

}  // namespace Orvix
