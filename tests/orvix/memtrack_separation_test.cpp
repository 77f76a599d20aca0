// The engine library and the program each carry a memory tracker: a block
// allocated by the library's code is recorded by the library's tracker, one
// allocated by the program's code by the program's.
#include "orvix/memtrack.h"

#if PRAEL_MEMTRACK

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "orvix/orvix.h"
#include "tests/common/temp_dir.h"

namespace {

class ProbeApp : public Orvix::COrvixApp {
 public:
  void Frame() override {}
  void DrawOverlay() override {}
  int OnGameEvent(int code, int) override { return code; }
};

}  // namespace

TEST(MemTrackSeparation, LibraryAllocationsReachOnlyTheLibrarysTracker) {
  ScopedTempDir folder;
  ProbeApp app;
  const Orvix::Mem::Statistics engineBefore = Orvix::EngineMemoryStatistics();
  const Orvix::Mem::Statistics programBefore = Orvix::Mem::MemoryStatistics();
  const bool created =
      app.InitInputSystem(Orvix::INPUT_SYSTEM_SDL);  // the engine allocates its input handler
  const Orvix::Mem::Statistics engineDuring = Orvix::EngineMemoryStatistics();
  const Orvix::Mem::Statistics programDuring = Orvix::Mem::MemoryStatistics();
  const bool reported = Orvix::DumpEngineMemoryReport("engine-report.log", true);
  app.ShutdownInputSystem();
  const Orvix::Mem::Statistics engineAfter = Orvix::EngineMemoryStatistics();
  const Orvix::Mem::Statistics programAfter = Orvix::Mem::MemoryStatistics();

  ASSERT_TRUE(created);
  EXPECT_EQ(engineDuring.totalAllocUnitCount, engineBefore.totalAllocUnitCount + 1);
  EXPECT_EQ(engineDuring.totalReportedMemory, engineBefore.totalReportedMemory + sizeof(Orvix::InputSDL));
  EXPECT_EQ(engineAfter.totalAllocUnitCount, engineBefore.totalAllocUnitCount);
  EXPECT_EQ(programDuring.accumulatedAllocUnitCount, programBefore.accumulatedAllocUnitCount);
  EXPECT_EQ(programAfter.accumulatedAllocUnitCount, programBefore.accumulatedAllocUnitCount);
  ASSERT_TRUE(reported);
  EXPECT_THAT(ReadFileText("engine-report.log"), testing::HasSubstr("orvix.cpp("))
      << "owned by the engine's code";
  EXPECT_THAT(ReadFileText("engine-report.log"), testing::HasSubstr("::InitInputSystem\r\n"));
}

TEST(MemTrackSeparation, ProgramAllocationsReachOnlyTheProgramsTracker) {
  const Orvix::Mem::Statistics engineBefore = Orvix::EngineMemoryStatistics();
  const Orvix::Mem::Statistics programBefore = Orvix::Mem::MemoryStatistics();
  double* value = OX_NEW double(2.5);
  asm volatile("" : : "g"(value) : "memory");  // a new-expression whose result is unused may be left out
  const Orvix::Mem::Statistics engineDuring = Orvix::EngineMemoryStatistics();
  const Orvix::Mem::Statistics programDuring = Orvix::Mem::MemoryStatistics();
  OX_DELETE value;
  const Orvix::Mem::Statistics programAfter = Orvix::Mem::MemoryStatistics();

  EXPECT_EQ(programDuring.totalAllocUnitCount, programBefore.totalAllocUnitCount + 1);
  EXPECT_EQ(programDuring.totalReportedMemory, programBefore.totalReportedMemory + sizeof(double));
  EXPECT_EQ(programAfter.totalAllocUnitCount, programBefore.totalAllocUnitCount);
  EXPECT_EQ(engineDuring.accumulatedAllocUnitCount, engineBefore.accumulatedAllocUnitCount);
}

#endif
