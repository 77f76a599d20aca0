// FrameClock: the clock of a repeatable game. A headless game with a fixed
// seed must make the same choices every time it runs, and the choices follow
// the frame times (how far things move, when timers run out, when the
// script's keys are pressed). With the frame clock in place of the system's,
// every frame lasts one 60th of a second of game time however long it really
// took, and nothing waits between frames.
//
// The clock feeds the engine's millisecond tick count (Orvix::SetTickSource),
// so frame n reads n * 1000 / 60 rounded to the millisecond: the frames last
// 17, 17 and 16 ms in turn and the clock never drifts from the 60th.
#pragma once

#include <cstdint>

class FrameClock {
 public:
  static constexpr uint32_t kFramesPerSecond = 60;

  // Makes the frame clock the engine's tick count, at frame 0.
  static void Install();
  // Gives the engine its real clock back.
  static void Uninstall();
  static bool IsInstalled() { return s_installed; }
  // One frame later.
  static void Advance() { ++s_frames; }
  // Milliseconds of game time at the current frame.
  static uint32_t Now();

 private:
  static bool s_installed;
  static uint64_t s_frames;
};
