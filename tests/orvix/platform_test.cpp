#include "orvix/platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

uint32_t g_fakeTicks = 0;
uint32_t FakeTicks() { return g_fakeTicks; }

}  // namespace

TEST(Platform, TickSourceReplacesTheClockUntilReset) {
  g_fakeTicks = 0xFFFFFFF0u;
  Orvix::SetTickSource(FakeTicks);
  EXPECT_EQ(Orvix::GetTickCount(), 0xFFFFFFF0u);
  g_fakeTicks = 5;
  EXPECT_EQ(Orvix::GetTickCount(), 5u);
  Orvix::SetTickSource(nullptr);
  const uint32_t first = Orvix::GetTickCount();
  const uint32_t second = Orvix::GetTickCount();
  EXPECT_LT(second - first, 1000u) << "the real clock runs forward in milliseconds";
}

TEST(Platform, HeadlessMessageBoxWritesCaptionAndTextToStandardError) {
  ASSERT_TRUE(Orvix::IsHeadless());
  testing::internal::CaptureStderr();
  Orvix::MessageBoxA(nullptr, "Failed to open logfile", "Error", Orvix::MB_ICONINFORMATION);
  Orvix::MessageBoxA(nullptr, nullptr, nullptr, Orvix::MB_ICONERROR);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Error] Failed to open logfile\n[] \n");
}

TEST(Platform, PumpTakesAPostedQuitMessageOnce) {
  EXPECT_TRUE(Orvix::PumpPlatformEvents());
  Orvix::PostQuitMessage(0);
  EXPECT_FALSE(Orvix::PumpPlatformEvents());
  EXPECT_TRUE(Orvix::PumpPlatformEvents());
  Orvix::PostQuitMessage(0);
  EXPECT_FALSE(Orvix::WaitPlatformEvents(10.0)) << "a pending quit message ends the wait at once";
  EXPECT_TRUE(Orvix::WaitPlatformEvents(0.0));
}

TEST(Platform, HeadlessHasNoWindowsButAProgramInstance) {
  EXPECT_EQ(Orvix::CreateFixedWindow("ORVIX App", 512, 512, false, nullptr, nullptr), nullptr);
  Orvix::DestroyFixedWindow(nullptr);
  EXPECT_NE(Orvix::GetProgramInstance(), nullptr);
}
