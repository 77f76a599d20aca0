// The frame clock of repeatable games: a 60th of a second a frame, read in
// whole milliseconds without drift, through the engine's tick count.
#include <gtest/gtest.h>

#include "game/frameclock.h"
#include "orvix/platform.h"

namespace {

class FrameClockTest : public testing::Test {
 protected:
  void SetUp() override { FrameClock::Install(); }
  void TearDown() override { FrameClock::Uninstall(); }
};

TEST_F(FrameClockTest, EngineTickCountFollowsTheFrames) {
  const uint32_t expected[] = {0, 17, 33, 50, 67, 83, 100};
  for (uint32_t milliseconds : expected) {
    EXPECT_EQ(Orvix::GetTickCount(), milliseconds);
    FrameClock::Advance();
  }
}

TEST_F(FrameClockTest, AnHourOfFramesIsAnHour) {
  for (int frame = 0; frame < 60 * 3600; ++frame) FrameClock::Advance();
  EXPECT_EQ(Orvix::GetTickCount(), 3600u * 1000u);
}

TEST_F(FrameClockTest, InstallStartsAtZeroAndUninstallRestoresTheRealClock) {
  FrameClock::Advance();
  FrameClock::Install();
  EXPECT_EQ(Orvix::GetTickCount(), 0u);
  FrameClock::Uninstall();
  EXPECT_FALSE(FrameClock::IsInstalled());
  // The real clock counts from the machine's start, far from frame 1's 17 ms.
  EXPECT_NE(Orvix::GetTickCount(), FrameClock::Now());
}

}  // namespace
