#include <gtest/gtest.h>

#include <vector>

#include "game/framepacer.h"

namespace {

// A clock that moves only when the pacer sleeps or a test advances it, and
// by one millisecond on every read while spinning.
uint32_t g_now = 0;
bool g_readsAdvance = false;
std::vector<uint32_t> g_sleeps;

uint32_t FakeTick() { return g_readsAdvance ? g_now++ : g_now; }
void FakeSleep(uint32_t milliseconds) {
  g_sleeps.push_back(milliseconds);
  g_now += milliseconds;
}

class FramePacerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_now = 1000;
    g_readsAdvance = false;
    g_sleeps.clear();
  }
  FramePacer pacer{FakeTick, FakeSleep};
};

}  // namespace

TEST_F(FramePacerTest, TheFirstFrameDoesNotWait) {
  pacer.WaitForNextFrame();
  EXPECT_EQ(g_now, 1000u);
  EXPECT_TRUE(g_sleeps.empty());
}

TEST_F(FramePacerTest, AFrameStartsSeventeenMillisecondsAfterThePrevious) {
  const struct {
    uint32_t workMs;  // time the frame itself took
    std::vector<uint32_t> sleeps;
  } cases[] = {
      {0, {17}},             // an idle frame sleeps the whole frame time in one go
      {5, {12}}, {16, {1}},  // 16 ms is still below 16.66 ms
      {17, {}},              // a frame that took its time does not wait at all
      {40, {}},
  };
  for (const auto& testCase : cases) {
    SetUp();
    FramePacer fresh(FakeTick, FakeSleep);
    fresh.WaitForNextFrame();
    const uint32_t start = g_now;
    g_now += testCase.workMs;
    fresh.WaitForNextFrame();
    EXPECT_EQ(g_sleeps, testCase.sleeps) << "work " << testCase.workMs;
    EXPECT_GE(g_now - start, 17u) << "work " << testCase.workMs;
  }
}

TEST_F(FramePacerTest, AWrapOfTheTickCountStillWaitsTheFrameTime) {
  g_now = 0xFFFFFFF8u;
  pacer.WaitForNextFrame();
  pacer.WaitForNextFrame();
  EXPECT_EQ(g_now, 9u);  // 17 ms later, across the wrap
  EXPECT_EQ(g_sleeps, std::vector<uint32_t>{17});
}

TEST_F(FramePacerTest, TheSpinningWaitNeverSleeps) {
  pacer.SetWait(FramePacer::Wait::Spin);
  g_readsAdvance = true;
  pacer.WaitForNextFrame();
  const uint32_t start = g_now;
  pacer.WaitForNextFrame();
  EXPECT_TRUE(g_sleeps.empty());
  EXPECT_GE(g_now - start, 17u);
}
