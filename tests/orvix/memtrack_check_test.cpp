// The memory tracker's checks and reports: guard damage, mismatched releases,
// the leak report and the memory report. Most cases drive a tracker of their
// own so that the files it writes hold nothing but the case.
#include "orvix/memtrack.h"

#if PRAEL_MEMTRACK

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "orvix/memtrack_tracker.h"
#include "tests/common/temp_dir.h"

namespace {

using Orvix::Mem::AllocationType;
using Orvix::Mem::AllocUnit;
using Orvix::Mem::MemoryTracker;
using Orvix::Mem::Owner;
using testing::HasSubstr;
using testing::Not;

constexpr Owner kOwner = {"/src/game/world.cpp", 42, "Spawn"};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

void Poke(const void* reported, long offset, unsigned char value) {
  static_cast<unsigned char*>(const_cast<void*>(reported))[offset] = value;
}

class MemTrackCheck : public testing::Test {
 protected:
  void TearDown() override { tracker->WriteLeakReport(); }  // frees its reservoir once all is released

  std::string Log() const { return ReadFileText(folder.File("memory.log")); }
  std::string Leaks() const { return ReadFileText(folder.File("memleaks.log")); }

  ScopedTempDir folder;
  std::unique_ptr<MemoryTracker> tracker =
      std::make_unique<MemoryTracker>(Orvix::Mem::ReportFiles{"memory.log", "memleaks.log"});
};

}  // namespace

TEST_F(MemTrackCheck, GuardDamageIsLoggedWithTheUnitDumpOnRelease) {
  struct Case {
    long offset;  // from the reported address
    const char* message;
  };
  const Case cases[] = {
      {10, "A memory allocation unit was corrupt because of an overrun:"},
      {13, "A memory allocation unit was corrupt because of an overrun:"},
      {-1, "A memory allocation unit was corrupt because of an underrun:"},
      {-16, "A memory allocation unit was corrupt because of an underrun:"},
  };
  for (const Case& c : cases) {
    std::remove("memory.log");
    void* block = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW_ARRAY, 10);
    const AllocUnit unit = *tracker->FindUnit(block);
    Poke(block, c.offset, 0);
    tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE_ARRAY, block);

    char reported[32];
    char actual[32];
    Orvix::Mem::FormatAddress(unit.reportedAddress, reported, sizeof reported);
    Orvix::Mem::FormatAddress(unit.actualAddress, actual, sizeof actual);
    const std::vector<std::string> expected = {
        std::string(c.message) + "\r",
        std::string("  Address (reported): ") + reported + "\r",
        std::string("  Address (actual)  : ") + actual + "\r",
        "  Size (reported)   : 0x0000000A (        10 bytes     )\r",
        "  Size (actual)     : 0x0000002A (        42 bytes     )\r",
        "  Owner             : world.cpp(42)::Spawn\r",
        "  Allocation type   : new[]\r",
        "  Allocation number : " + std::to_string(unit.allocationNumber) + "\r",
    };
    EXPECT_EQ(Lines(Log()), expected) << "offset " << c.offset;
  }
}

TEST_F(MemTrackCheck, OverrunThroughTheGlobalOperatorsIsLoggedOnDelete) {
  char* text = OX_NEW char[8];
  const AllocUnit* unit = Orvix::Mem::CurrentTracker().FindUnit(text);
  ASSERT_NE(unit, nullptr);
  static_cast<unsigned char*>(unit->actualAddress)[16 + 8] = 'x';  // one byte past the end
  OX_DELETE[] text;
  const std::string log = Log();
  EXPECT_THAT(log, HasSubstr("A memory allocation unit was corrupt because of an overrun:\r\n"));
  EXPECT_THAT(log, HasSubstr("  Size (reported)   : 0x00000008 (         8 bytes     )\r\n"));
  EXPECT_THAT(log, HasSubstr("  Owner             : memtrack_check_test.cpp("));
  EXPECT_THAT(log, HasSubstr("  Allocation type   : new[]\r\n"));
}

TEST_F(MemTrackCheck, ReleaseMustMatchTheAllocationMethod) {
  using namespace Orvix::Mem;
  struct Case {
    AllocationType allocated;
    AllocationType released;
    bool matches;
  };
  const Case cases[] = {
      {ALLOC_NEW, ALLOC_DELETE, true},        {ALLOC_NEW_ARRAY, ALLOC_DELETE_ARRAY, true},
      {ALLOC_MALLOC, ALLOC_FREE, true},       {ALLOC_CALLOC, ALLOC_FREE, true},
      {ALLOC_REALLOC, ALLOC_FREE, true},      {ALLOC_NEW_ARRAY, ALLOC_UNKNOWN, true},
      {ALLOC_NEW_ARRAY, ALLOC_DELETE, false}, {ALLOC_NEW, ALLOC_DELETE_ARRAY, false},
      {ALLOC_MALLOC, ALLOC_DELETE, false},    {ALLOC_NEW, ALLOC_FREE, false},
  };
  for (const Case& c : cases) {
    std::remove("memory.log");
    void* block = tracker->Allocate(kOwner, c.allocated, 16);
    tracker->Release(kOwner, c.released, block);
    EXPECT_EQ(tracker->FindUnit(block), nullptr) << "the block is released either way";
    const std::string expected = std::string("A memory allocation unit was released with ") +
                                 AllocationTypeName(c.released) + " but allocated with " +
                                 AllocationTypeName(c.allocated) + ":\r\n";
    if (c.matches) {
      EXPECT_EQ(Log(), "") << AllocationTypeName(c.allocated) << " / " << AllocationTypeName(c.released);
    } else {
      EXPECT_THAT(Log(), HasSubstr(expected));
      EXPECT_THAT(Log(), HasSubstr("  Allocation type   : " + std::string(AllocationTypeName(c.allocated))));
    }
  }
}

TEST_F(MemTrackCheck, ValidateAllCountsTheDamagedUnits) {
  void* intact = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_MALLOC, 20);
  void* damaged = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_MALLOC, 20);
  EXPECT_TRUE(tracker->ValidateAll());
  EXPECT_EQ(Log(), "");
  Poke(damaged, 20, 0);
  EXPECT_FALSE(tracker->ValidateAll());
  EXPECT_TRUE(tracker->ValidateUnit(intact));
  EXPECT_THAT(Log(), HasSubstr("A memory allocation unit was corrupt because of an overrun:\r\n"));
  EXPECT_THAT(Log(),
              HasSubstr("While validting all allocation units, 1 allocation unit(s) were found to have "
                        "problems\r\n"));
  Poke(damaged, 20, 0xDE);
  EXPECT_TRUE(tracker->ValidateAll());
  tracker->Release(kOwner, Orvix::Mem::ALLOC_FREE, intact);
  tracker->Release(kOwner, Orvix::Mem::ALLOC_FREE, damaged);
}

TEST_F(MemTrackCheck, AlwaysValidateAllFindsDamageAtTheNextRequest) {
  tracker->GetOptions().alwaysValidateAll = true;
  void* damaged = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_MALLOC, 8);
  Poke(damaged, -4, 0);
  EXPECT_EQ(Log(), "");
  void* next = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_MALLOC, 8);
  EXPECT_THAT(Log(), HasSubstr("A memory allocation unit was corrupt because of an underrun:\r\n"));
  EXPECT_THAT(Log(),
              HasSubstr("While validting all allocation units, 1 allocation unit(s) were found to have "
                        "problems\r\n"));
  Poke(damaged, -4, 0x0D);
  tracker->Release(kOwner, Orvix::Mem::ALLOC_FREE, damaged);
  tracker->Release(kOwner, Orvix::Mem::ALLOC_FREE, next);
}

TEST_F(MemTrackCheck, ReallocationOfABlockFromNewIsReportedAndStillServed) {
  void* block = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW, 8);
  std::memcpy(block, "12345678", 8);
  void* moved = tracker->Reallocate({"pool.cpp", 9, "Grow"}, block, 64);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(std::memcmp(moved, "12345678", 8), 0);
  EXPECT_THAT(Log(),
              HasSubstr("A memory allocation unit was reallocated with realloc but allocated with new:\r\n"));
  const AllocUnit* unit = tracker->FindUnit(moved);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->allocationType, Orvix::Mem::ALLOC_REALLOC);
  EXPECT_STREQ(unit->sourceFile, "pool.cpp");
  EXPECT_EQ(unit->reportedSize, 64u);
  const Orvix::Mem::Statistics stats = tracker->GetStatistics();
  EXPECT_EQ(stats.totalReportedMemory, 64u);
  EXPECT_EQ(stats.accumulatedReportedMemory, 64u) << "8 at first, then the growth of 56";
  EXPECT_EQ(stats.accumulatedAllocUnitCount, 1u);
  tracker->Release(kOwner, Orvix::Mem::ALLOC_FREE, moved);
}

TEST_F(MemTrackCheck, LeakReportListsEachLiveBlock) {
  void* first = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW, 10);
  void* second = tracker->Allocate({"pool.cpp", 7, "Grow"}, Orvix::Mem::ALLOC_MALLOC, 1536);
  ASSERT_TRUE(tracker->WriteLeakReport());
  const std::vector<std::string> lines = Lines(Leaks());
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], " " + std::string(130, '-') + " \r");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\| {42}Memory leak report for:  \d\d/\d\d/\d{4} )"
                                                    R"(\d\d:\d\d:\d\d {44}\|\r)")))
      << lines[1];
  EXPECT_EQ(lines[2], lines[0]);
  EXPECT_EQ(lines[3], "\r");
  EXPECT_EQ(lines[4], "\r");
  EXPECT_EQ(lines[5], "2 memory leaks found:\r");
  EXPECT_EQ(lines[6], "\r");
  EXPECT_EQ(lines[7],
            "Alloc.   Addr       Size       Addr       Size                        BreakOn BreakOn           "
            "   \r");
  EXPECT_EQ(lines[8],
            "Number Reported   Reported    Actual     Actual     Unused    Method  Dealloc Realloc Allocated "
            "by \r");
  const std::regex row(
      R"(\d{6} 0x[0-9A-F]{8,} 0x([0-9A-F]{8}) 0x[0-9A-F]{8,} 0x([0-9A-F]{8}) 0x([0-9A-F]{8}) )"
      R"((\S+) +(Y|N) +(Y|N) +(\S+)\r)");
  EXPECT_EQ(lines[9],
            "------ ---------- ---------- ---------- ---------- ---------- -------- ------- ------- "
            "--------------------------------------------------- \r");
  std::vector<std::string> rows = {lines[10], lines[11]};
  std::sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
    return a.find("new") != std::string::npos && b.find("new") == std::string::npos;
  });
  std::smatch match;
  ASSERT_TRUE(std::regex_match(rows[0], match, row)) << rows[0];
  EXPECT_EQ(match[1], "0000000A");
  EXPECT_EQ(match[2], "0000002A");
  EXPECT_EQ(match[3], "00000008");  // two whole words of the ten bytes still hold the pattern
  EXPECT_EQ(match[4], "new");
  EXPECT_EQ(match[7], "world.cpp(00042)::Spawn");
  ASSERT_TRUE(std::regex_match(rows[1], match, row)) << rows[1];
  EXPECT_EQ(match[1], "00000600");
  EXPECT_EQ(match[3], "00000600");
  EXPECT_EQ(match[4], "malloc");
  EXPECT_EQ(match[7], "pool.cpp(00007)::Grow");

  tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE, first);
  ASSERT_TRUE(tracker->WriteLeakReport());
  EXPECT_THAT(Leaks(), HasSubstr("\r\n1 memory leak found:\r\n"));
  tracker->Release(kOwner, Orvix::Mem::ALLOC_FREE, second);
}

TEST_F(MemTrackCheck, StaticTeardownReportIsRewrittenAfterEveryLaterRelease) {
  void* block = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW, 4);
  tracker->BeginStaticTeardown();
  EXPECT_THAT(Leaks(), HasSubstr("1 memory leak found:\r\n"));
  tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE, block);
  EXPECT_THAT(Leaks(), HasSubstr("\r\n\r\nCongratulations! No memory leaks found!\r\n\r\n"));
  EXPECT_THAT(Leaks(), Not(HasSubstr("Alloc.")));
  // Memory is still served after the reservoir was given back.
  block = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW, 4);
  tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE, block);
}

TEST_F(MemTrackCheck, BlocksOfTheSharedLibrariesAreLeftOutOfTheLeakReport) {
  void* library = tracker->Allocate({nullptr, 0, nullptr}, Orvix::Mem::ALLOC_NEW, 16, true);
  void* program = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW, 24);
  tracker->BeginStaticTeardown();
  const std::string oneLeak = Leaks();
  EXPECT_THAT(oneLeak, HasSubstr("1 memory leak found:\r\n"));
  EXPECT_THAT(oneLeak, HasSubstr(" 0x00000018 "));
  EXPECT_THAT(oneLeak, Not(HasSubstr(" 0x00000010 ")));
  tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE, program);
  EXPECT_THAT(Leaks(), HasSubstr("Congratulations! No memory leaks found!\r\n"));

  // The report on request still shows every live block, and the library's
  // block is still served and checked.
  ASSERT_TRUE(tracker->WriteMemoryReport("report.log", true));
  EXPECT_THAT(ReadFileText("report.log"), HasSubstr(" 0x00000010 "));
  EXPECT_TRUE(tracker->ValidateUnit(library));
  tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE, library);
  EXPECT_THAT(Leaks(), HasSubstr("Congratulations! No memory leaks found!\r\n"));
}

TEST_F(MemTrackCheck, MemoryReportShowsTotalsPeaksAccumulatedAndUnused) {
  void* kept = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW_ARRAY, 1536);
  void* gone = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_NEW_ARRAY, 512);
  tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE_ARRAY, gone);
  std::memset(kept, 0, 512);
  ASSERT_TRUE(tracker->WriteMemoryReport("report.log", true));
  const std::string report = ReadFileText("report.log");
  const std::string rule = " " + std::string(130, '-') + " \r\n";
  const std::string expected =
      "\r\n\r\n"
      "|                                                           T O T A L S                               "
      "      "
      "                       |\r\n" +
      rule +
      "              Allocation unit count:          1\r\n"
      "            Reported to application:      1,536 (   1.50K)\r\n"
      "         Actual total memory in use:      1,568 (   1.53K)\r\n"
      "           Memory tracking overhead:         32 bytes     \r\n"
      "\r\n" +
      rule +
      "|                                                            P E A K S                                "
      "      "
      "                       |\r\n"
      "              Allocation unit count:          2\r\n"
      "            Reported to application:      2,048 (   2.00K)\r\n"
      "                             Actual:      2,112 (   2.06K)\r\n"
      "           Memory tracking overhead:         64 bytes     \r\n"
      "\r\n" +
      rule +
      "|                                                      A C C U M U L A T E D                          "
      "      "
      "                       |\r\n"
      "              Allocation unit count: 2\r\n"
      "            Reported to application:      2,048 (   2.00K)\r\n"
      "                             Actual:      2,112 (   2.06K)\r\n"
      "\r\n" +
      rule +
      "|                                                           U N U S E D                               "
      "      "
      "                       |\r\n"
      "    Memory allocated but not in use:      1,024 bytes     \r\n"
      "\r\n"
      "Alloc.   Addr       Size       Addr       Size                        BreakOn BreakOn              "
      "\r\n";
  EXPECT_THAT(report, HasSubstr(expected));
  EXPECT_THAT(report, HasSubstr("                                             Memory report for: "));
  EXPECT_THAT(report, HasSubstr(" 0x00000600 "));

  ASSERT_TRUE(tracker->WriteMemoryReport("report.log", false));
  const std::string twice = ReadFileText("report.log");
  EXPECT_EQ(twice.substr(0, report.size()), report);
  EXPECT_GT(twice.size(), report.size()) << "the second report is appended";
  tracker->Release(kOwner, Orvix::Mem::ALLOC_DELETE_ARRAY, kept);
}

TEST_F(MemTrackCheck, LogAllWritesOneLinePerRequestAndCleansUpTheOldLog) {
  WriteFileText("memory.log", "from the previous run\r\n");
  tracker->GetOptions().alwaysLogAll = true;
  void* block = tracker->Allocate(kOwner, Orvix::Mem::ALLOC_MALLOC, 2000);
  tracker->Release(kOwner, Orvix::Mem::ALLOC_FREE, block);
  const std::vector<std::string> lines = Lines(Log());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "00001 world.cpp(00042)::Spawn                    malloc            :      2,000 (   1.95K)\r");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(" {65}OK: 0x[0-9a-f]{8,} \\(hash: \\d+\\)\r")))
      << lines[1];
  EXPECT_TRUE(std::regex_match(
      lines[2], std::regex(" {6}world\\.cpp\\(00042\\)::Spawn {22}free\\(0x[0-9a-f]{8,}\\)\r")))
      << lines[2];
}

#endif
