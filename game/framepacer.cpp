#include "game/framepacer.h"

#include <chrono>
#include <thread>

#include "orvix/platform.h"

namespace {

uint32_t ReadTickCount() { return Orvix::GetTickCount(); }

uint32_t ReadWallClock() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SleepThread(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

FramePacer::FramePacer() : m_tick(ReadTickCount), m_sleep(SleepThread) {}

FramePacer::FramePacer(TickSource tick, Sleeper sleeper) : m_tick(tick), m_sleep(sleeper) {}

FramePacer FramePacer::OnWallClock() { return FramePacer(ReadWallClock, SleepThread); }

// The difference is unsigned, so a wrap of the tick count still measures the
// right interval.
bool FramePacer::FrameTimeHasPassed(uint32_t now) const {
  return static_cast<float>(now - m_lastFrameTick) / 1000.0f >= kFrameSeconds;
}

void FramePacer::WaitForNextFrame() {
  if (m_started) {
    for (uint32_t now = m_tick(); !FrameTimeHasPassed(now); now = m_tick()) {
      if (m_wait == Wait::Spin) continue;
      // Whole milliseconds still missing; a sleep ends no earlier than asked,
      // so one sleep normally covers the wait.
      const uint32_t elapsed = now - m_lastFrameTick;
      const uint32_t frameMs = static_cast<uint32_t>(kFrameSeconds * 1000.0f) + 1;
      m_sleep(elapsed < frameMs ? frameMs - elapsed : 1);
    }
  }
  m_started = true;
  m_lastFrameTick = m_tick();
}
