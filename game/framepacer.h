// FramePacer: holds the frame rate at about 60 frames per second. A frame
// starts at least 16.66 ms after the end of the previous one's wait; the very
// first frame does not wait. The millisecond tick count turns the limit into
// 17 ms.
//
// The wait sleeps for the time that is left and checks the clock again on
// waking, instead of reading the clock in a tight loop, so a paced game uses
// a small part of one core. The spinning wait is kept as a mode for the
// benchmark that compares the two.
#pragma once

#include <cstdint>

class FramePacer {
 public:
  enum class Wait { Sleep, Spin };
  static constexpr float kFrameSeconds = 0.01666f;

  using TickSource = uint32_t (*)();
  using Sleeper = void (*)(uint32_t milliseconds);

  // Reads Orvix::GetTickCount (which tests may replace) and sleeps the thread.
  FramePacer();
  // For tests: a clock and a sleep of their own.
  FramePacer(TickSource tick, Sleeper sleeper);
  // A pacer on the system's real clock, whatever clock the engine reads (the
  // frame clock of a repeatable game included).
  static FramePacer OnWallClock();

  void SetWait(Wait wait) { m_wait = wait; }
  Wait GetWait() const { return m_wait; }

  // Returns once the frame time has passed since the last call (at once on
  // the first call).
  void WaitForNextFrame();

 private:
  bool FrameTimeHasPassed(uint32_t now) const;

  TickSource m_tick;
  Sleeper m_sleep;
  Wait m_wait = Wait::Sleep;
  uint32_t m_lastFrameTick = 0;
  bool m_started = false;
};
