// InputScript: an input handler that plays a script of timed key presses and
// releases instead of reading a keyboard, so that tests and demos drive the
// real program. A program hands it to its application with
// COrvixApp::SetInputHandler.
//
// Script text, one command a line; "#" starts a comment, blank lines are
// skipped:
//
//   TIME press KEY
//   TIME release KEY
//   TIME quit
//
// TIME is game time in milliseconds (a whole number, never smaller than the
// line before): the sum of the engine's frame times since the first frame,
// which is time 0. Game time rather than frames, so that a script moves the
// same distance whatever the frame rate. KEY is an SDL key code (0 to 511) or
// one of the names up, down, left, right, space, tab, return, escape, lctrl,
// rctrl, lshift, rshift, or a single letter (a number is always a key
// code: "9" is Tab, the digit 9 is 57). "quit" asks the application to shut
// down after the current frame.
//
// A key pressed and released within one frame would never be seen, so a
// release waits for the next frame when its press came in the same one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "input.h"
#include "orvixapi.h"

namespace Orvix {

class ORVIX_API InputScript : public IInputHandler {
 public:
  static constexpr unsigned kKeyCount = 512;  // covers SDL's key codes
  static constexpr int kMaxLineLength = 255;

  // Reads and parses a script file. Null when it cannot be read or a line is
  // malformed; `error` then says which line and why. Release the handler with
  // OX_DELETE, or hand it to the application, which then owns it.
  static InputScript* Load(const char* path, char* error, size_t errorSize);
  // The same for script text in memory.
  static InputScript* Parse(const char* text, char* error, size_t errorSize);

  ~InputScript() override;
  InputScript(const InputScript&) = delete;
  InputScript& operator=(const InputScript&) = delete;

  // Advances the script by the engine's frame time (nothing on the first
  // call, which is time 0) and applies the commands that are due.
  bool Update() override;
  bool GetKeyState(unsigned key) override;
  bool GetJoyState(unsigned, unsigned) override { return false; }
  bool OnKeyDown(int, void*) override { return true; }

  // Update with an explicit frame time, for callers without an application.
  void Advance(float seconds);
  // Game time reached, in milliseconds, and whether every command has run.
  double GetClockMs() const { return m_clockMs; }
  bool IsFinished() const { return m_next >= m_commandCount; }

 private:
  enum class Action : uint8_t { Press, Release, Quit };
  struct Command {
    uint32_t timeMs;
    Action action;
    uint16_t key;
  };

  InputScript() = default;
  bool ParseText(const char* text, char* error, size_t errorSize);
  static bool ParseLine(const char* line, Command* command, uint32_t previousTimeMs, const char** reason);
  void RunDueCommands();

  Command* m_commands = nullptr;  // owned, m_commandCount entries in time order
  unsigned m_commandCount = 0;
  unsigned m_next = 0;  // first command not yet run
  double m_clockMs = 0.0;
  bool m_started = false;
  unsigned char m_keys[kKeyCount] = {};
  unsigned char m_pressedThisFrame[kKeyCount] = {};
};

}  // namespace Orvix
