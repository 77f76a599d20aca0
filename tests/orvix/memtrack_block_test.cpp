// The memory tracker as a program meets it: the replaced global operators and
// the tagged C allocations of this test program's own tracker.
#include "orvix/memtrack.h"

#if PRAEL_MEMTRACK

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "orvix/memtrack_tracker.h"
#include "tests/common/temp_dir.h"

namespace {

using Orvix::Mem::AllocUnit;
using Orvix::Mem::CurrentTracker;

// A block the compiler cannot prove unused: a new-expression whose result is
// never read may be left out altogether.
void KeepAlive(const void* block) { asm volatile("" : : "g"(block) : "memory"); }

std::vector<unsigned char> ActualBytes(const void* reported) {
  const AllocUnit* unit = CurrentTracker().FindUnit(reported);
  if (unit == nullptr) return {};
  const auto* bytes = static_cast<const unsigned char*>(unit->actualAddress);
  return std::vector<unsigned char>(bytes, bytes + unit->actualSize);
}

std::vector<unsigned char> Repeat(std::initializer_list<unsigned char> word, size_t bytes) {
  std::vector<unsigned char> out;
  while (out.size() < bytes) out.insert(out.end(), word);
  out.resize(bytes);
  return out;
}

std::vector<unsigned char> Slice(const std::vector<unsigned char>& bytes, size_t from, size_t to) {
  return std::vector<unsigned char>(bytes.begin() + static_cast<long>(from),
                                    bytes.begin() + static_cast<long>(to));
}

}  // namespace

TEST(MemTrackBlock, NewOfTenBytesIsGuardedAndFilledWithTheUnusedPattern) {
  const uint64_t liveBefore = Orvix::Mem::MemoryStatistics().totalAllocUnitCount;
  void* block = ::operator new(10);
  const AllocUnit* unit = CurrentTracker().FindUnit(block);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->actualSize, 42u);
  EXPECT_EQ(unit->reportedSize, 10u);
  EXPECT_EQ(static_cast<unsigned char*>(unit->actualAddress) + 16, block);
  EXPECT_EQ(unit->allocationType, Orvix::Mem::ALLOC_NEW);

  {
    const std::vector<unsigned char> bytes = ActualBytes(block);
    ASSERT_EQ(bytes.size(), 42u);
    EXPECT_EQ(Slice(bytes, 0, 16), Repeat({0x0D, 0xF0, 0xAD, 0xBA}, 16));
    EXPECT_EQ(Slice(bytes, 16, 26), Repeat({0xCE, 0xFA, 0xED, 0xFE}, 10));
    EXPECT_EQ(bytes[24], 0xCE);
    EXPECT_EQ(bytes[25], 0xFA);
    EXPECT_EQ(Slice(bytes, 26, 42), Repeat({0xDE, 0xC0, 0xAD, 0xDE}, 16));
  }
  ::operator delete(block);
  EXPECT_EQ(Orvix::Mem::MemoryStatistics().totalAllocUnitCount, liveBefore);
}

TEST(MemTrackBlock, CallocZeroesAndReallocFillsOnlyTheGrowth) {
  auto* zeroed = static_cast<unsigned char*>(OX_CALLOC(3, 5));
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(Slice(ActualBytes(zeroed), 16, 31), std::vector<unsigned char>(15, 0));
  OX_FREE(zeroed);

  auto* grown = static_cast<unsigned char*>(OX_MALLOC(4));
  ASSERT_NE(grown, nullptr);
  std::memcpy(grown, "abcd", 4);
  grown = static_cast<unsigned char*>(OX_REALLOC(grown, 4000));
  ASSERT_NE(grown, nullptr);
  const std::vector<unsigned char> bytes = ActualBytes(grown);
  ASSERT_EQ(bytes.size(), 4032u);
  EXPECT_EQ(std::memcmp(grown, "abcd", 4), 0);
  EXPECT_EQ(Slice(bytes, 20, 4016), Repeat({0xCE, 0xFA, 0xED, 0xFE}, 3996));
  EXPECT_EQ(Slice(bytes, 4016, 4032), Repeat({0xDE, 0xC0, 0xAD, 0xDE}, 16));
  EXPECT_EQ(CurrentTracker().FindUnit(grown)->allocationType, Orvix::Mem::ALLOC_REALLOC);
  OX_FREE(grown);
}

TEST(MemTrackBlock, OwnerTagIsRecordedWithoutItsDirectoryAndThenReset) {
  const int line = __LINE__ + 1;
  int* value = OX_NEW int(5);
  const AllocUnit* unit = CurrentTracker().FindUnit(value);
  ASSERT_NE(unit, nullptr);
  EXPECT_STREQ(unit->sourceFile, "memtrack_block_test.cpp");
  EXPECT_EQ(unit->sourceLine, line);
  EXPECT_STREQ(unit->sourceFunction, "TestBody");
  const Orvix::Mem::Owner after = CurrentTracker().CurrentOwner();
  EXPECT_STREQ(after.file, "??");
  EXPECT_EQ(after.line, 0);
  EXPECT_STREQ(after.function, "??");
  OX_DELETE value;

  void* untagged = ::operator new[](3);
  EXPECT_STREQ(CurrentTracker().FindUnit(untagged)->sourceFile, "??");
  EXPECT_STREQ(CurrentTracker().FindUnit(untagged)->sourceFunction, "??");
  ::operator delete[](untagged);
}

TEST(MemTrackBlock, TheProgramsCodeIsToldFromTheSharedLibraries) {
  EXPECT_TRUE(Orvix::Mem::IsOwnCode(reinterpret_cast<const void*>(&ActualBytes)));
  EXPECT_FALSE(Orvix::Mem::IsOwnCode(dlsym(RTLD_DEFAULT, "strlen")));                      // the C library
  EXPECT_FALSE(Orvix::Mem::IsOwnCode(dlsym(RTLD_DEFAULT, "_ZNSt13runtime_errorC1EPKc")));  // the C++ runtime

  int* own = OX_NEW int(3);
  EXPECT_FALSE(CurrentTracker().FindUnit(own)->madeByLibrary);
  OX_DELETE own;
}

TEST(MemTrackBlock, StatisticsFollowAllocationsAndReleases) {
  const Orvix::Mem::Statistics before = Orvix::Mem::MemoryStatistics();
  char* text = OX_NEW char[100];
  KeepAlive(text);
  const Orvix::Mem::Statistics during = Orvix::Mem::MemoryStatistics();
  OX_DELETE[] text;
  const Orvix::Mem::Statistics after = Orvix::Mem::MemoryStatistics();

  EXPECT_EQ(during.totalAllocUnitCount, before.totalAllocUnitCount + 1);
  EXPECT_EQ(during.totalReportedMemory, before.totalReportedMemory + 100);
  EXPECT_EQ(during.totalActualMemory, before.totalActualMemory + 132);
  EXPECT_EQ(during.accumulatedAllocUnitCount, before.accumulatedAllocUnitCount + 1);
  EXPECT_EQ(during.accumulatedReportedMemory, before.accumulatedReportedMemory + 100);
  EXPECT_GE(during.peakReportedMemory, during.totalReportedMemory);
  EXPECT_GE(during.peakAllocUnitCount, during.totalAllocUnitCount);
  EXPECT_EQ(after.totalAllocUnitCount, before.totalAllocUnitCount);
  EXPECT_EQ(after.totalReportedMemory, before.totalReportedMemory);
  EXPECT_EQ(after.totalActualMemory, before.totalActualMemory);
  EXPECT_EQ(after.accumulatedReportedMemory, during.accumulatedReportedMemory);
}

TEST(MemTrackBlock, ExhaustedMemoryFollowsEachInterfaceContract) {
  const size_t huge = SIZE_MAX / 2;
  try {
    void* block = ::operator new(huge);
    ::operator delete(block);
    ADD_FAILURE() << "operator new did not fail";
  } catch (const std::bad_alloc& error) {
    EXPECT_STREQ(error.what(), "bad allocation");
  }
  EXPECT_EQ(::operator new[](huge, std::nothrow), nullptr);
  EXPECT_EQ(OX_MALLOC(huge), nullptr);
  EXPECT_EQ(OX_CALLOC(SIZE_MAX / 4, 8), nullptr);  // the product overflows

  // A failed reallocation leaves the block as it was.
  void* block = OX_MALLOC(8);
  EXPECT_EQ(OX_REALLOC(block, huge), nullptr);
  EXPECT_NE(CurrentTracker().FindUnit(block), nullptr);
  OX_FREE(block);
}

namespace {
int g_handlerCalls = 0;
void GiveUpHandler() {
  ++g_handlerCalls;
  std::set_new_handler(nullptr);
}
}  // namespace

TEST(MemTrackBlock, NewHandlerGetsItsChanceBeforeTheRequestFails) {
  g_handlerCalls = 0;
  std::set_new_handler(GiveUpHandler);
  EXPECT_THROW(
      {
        void* block = ::operator new(SIZE_MAX / 2);
        ::operator delete(block);
      },
      std::bad_alloc);
  EXPECT_EQ(g_handlerCalls, 1);
  std::set_new_handler(nullptr);
}

TEST(MemTrackBlock, ReleasingAnUntrackedAddressRaisesTheTrackersException) {
  ScopedTempDir folder;
  void* foreign = std::malloc(16);  // from the system allocator, unknown to the tracker
  try {
    OX_FREE(foreign);
    ADD_FAILURE() << "no exception";
  } catch (const Orvix::Mem::TrackerError& error) {
    EXPECT_STREQ(error.what(), "Request to deallocate RAM that was never allocated");
  }
  try {
    void* moved = OX_REALLOC(foreign, 32);
    ADD_FAILURE() << "no exception for " << moved;
  } catch (const Orvix::Mem::TrackerError& error) {
    EXPECT_STREQ(error.what(), "Request to reallocate RAM that was never allocated");
  }
  std::free(foreign);
  const std::string log = ReadFileText("memory.log");
  EXPECT_THAT(log, testing::HasSubstr("Request to deallocate RAM that was never allocated\r\n"));
  EXPECT_THAT(log, testing::HasSubstr("Request to reallocate RAM that was never allocated\r\n"));
  OX_FREE(nullptr);  // like free(), a null release is nothing
}

TEST(MemTrackBlock, ReallocationBreaksAreOnlyForCAllocations) {
  int* object = OX_NEW int(1);
  void* block = OX_MALLOC(4);
  EXPECT_FALSE(Orvix::Mem::BreakOnReallocation(object, true));
  EXPECT_TRUE(Orvix::Mem::BreakOnReallocation(block, true));
  EXPECT_TRUE(CurrentTracker().FindUnit(block)->breakOnRealloc);
  EXPECT_TRUE(Orvix::Mem::BreakOnDeallocation(object, true));
  EXPECT_TRUE(CurrentTracker().FindUnit(object)->breakOnDealloc);
  EXPECT_FALSE(Orvix::Mem::BreakOnDeallocation(&object, true));  // not a tracked block
  // Without a debugger the breaks only continue.
  OX_DELETE object;
  block = OX_REALLOC(block, 8);
  OX_FREE(block);
}

#endif
