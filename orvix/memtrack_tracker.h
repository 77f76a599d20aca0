// The memory tracker behind the owner-tagging macros (see memtrack.h).
//
// Each live block is an allocation unit in a hash table keyed on the address
// handed to the caller. A block from the system allocator is laid out as
//
//   [16 bytes: four 0xBAADF00D words][reported bytes][16 bytes: four 0xDEADC0DE words]
//
// so that an underrun or overrun shows as a damaged guard word when the block
// is released or validated. Fresh memory is filled with 0xFEEDFACE and
// released memory with 0xDEADBEEF (little-endian words; a tail shorter than a
// word takes the low bytes first), which makes reads of uninitialised or
// freed memory recognisable in a debugger.
//
// The tracker must serve allocations before any static constructor has run
// (the C++ runtime allocates early) and after every static destructor, so its
// state is constant-initialised and has no destructor.
#pragma once

#if PRAEL_MEMTRACK

#include <sched.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "memtrack.h"

namespace Orvix::Mem {

enum AllocationType : int32_t {
  ALLOC_UNKNOWN = 0,
  ALLOC_NEW = 1,
  ALLOC_NEW_ARRAY = 2,
  ALLOC_MALLOC = 3,
  ALLOC_CALLOC = 4,
  ALLOC_REALLOC = 5,
  ALLOC_DELETE = 6,
  ALLOC_DELETE_ARRAY = 7,
  ALLOC_FREE = 8,
};

constexpr uint32_t kPrefixPattern = 0xBAADF00D;
constexpr uint32_t kPostfixPattern = 0xDEADC0DE;
constexpr uint32_t kUnusedPattern = 0xFEEDFACE;
constexpr uint32_t kReleasedPattern = 0xDEADBEEF;
constexpr uint32_t kGuardBytes = 16;  // on each side of a block
constexpr unsigned kHashBuckets = 4096;
constexpr unsigned kUnitsPerReservoirBlock = 256;
constexpr std::size_t kOwnerTextSize = 40;

struct AllocUnit {
  uint32_t actualSize;                  // reportedSize + 2 * kGuardBytes
  uint32_t reportedSize;                // what the caller asked for
  void* actualAddress;                  // from the system allocator
  void* reportedAddress;                // actualAddress + kGuardBytes, handed to the caller
  char sourceFile[kOwnerTextSize];      // without its directory; "??" when unknown
  char sourceFunction[kOwnerTextSize];  // "??" when unknown
  int32_t sourceLine;
  AllocationType allocationType;
  bool breakOnDealloc;
  bool breakOnRealloc;
  bool madeByLibrary;        // requested by a shared library's code, not this deliverable's
  int32_t allocationNumber;  // the request that created or last reallocated it
  AllocUnit* next;           // chain within a hash bucket
  AllocUnit* prev;
};

struct Owner {
  const char* file;
  int line;
  const char* function;
};

// Names of the two files a tracker writes, relative to the current folder.
struct ReportFiles {
  const char* memoryLog;
  const char* leakReport;
};

class MemoryTracker {
 public:
  constexpr explicit MemoryTracker(ReportFiles files) : m_files(files) {}
  MemoryTracker(const MemoryTracker&) = delete;
  MemoryTracker& operator=(const MemoryTracker&) = delete;

  void SetOwner(const char* file, int line, const char* function);
  Owner CurrentOwner() const { return m_owner; }

  // Throws TrackerError when memory or the tracking data cannot be had.
  // The program's operator new also serves the shared libraries (the C++
  // runtime, the window toolkit), some of which keep blocks for the life of
  // the process, such as font caches: their blocks are tracked and checked
  // like any other but are not this program's leaks, and the leak report
  // leaves them out.
  void* Allocate(Owner owner, AllocationType type, std::size_t size, bool madeByLibrary = false);
  // Throws TrackerError for an address that was never allocated; null is
  // not an address and is ignored.
  void Release(Owner owner, AllocationType type, void* address);
  void* Reallocate(Owner owner, void* address, std::size_t size);

  // The unit of a live block, null when the address is not tracked.
  const AllocUnit* FindUnit(const void* reportedAddress);
  // Checks a live block's guard words; logs and breaks when one is damaged.
  bool ValidateUnit(const void* reportedAddress);
  bool ValidateAll();

  Statistics GetStatistics();
  Options& GetOptions() { return m_options; }
  void BreakOnAllocation(int requestNumber) { m_breakOnRequest = requestNumber; }
  bool SetBreakOnDealloc(const void* reportedAddress, bool enabled);
  bool SetBreakOnRealloc(const void* reportedAddress, bool enabled);

  // Static teardown: from here on every release rewrites the leak report, so
  // the last report written describes the process's true end.
  void BeginStaticTeardown();
  bool WriteLeakReport();
  bool WriteMemoryReport(const char* fileName, bool overwrite);
  // Deletes the memory log if the first-run clean-up is still pending.
  void CleanupLogOnFirstRun();

  // One line to the memory log, printf-style.
  void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  class Lock;

  // The helpers below expect the caller to hold the lock.
  AllocUnit* TakeUnit();
  void ReturnUnit(AllocUnit* unit);
  void FreeReservoir();
  AllocUnit* Find(const void* reportedAddress) const;
  void Insert(AllocUnit* unit);
  void Remove(AllocUnit* unit);
  void AddToTotals(uint64_t reported, uint64_t actual);
  void Wipe(AllocUnit* unit, uint32_t pattern, uint32_t fromOffset);
  bool CheckGuards(const AllocUnit* unit);
  bool CheckAllGuards();
  void DumpUnit(const AllocUnit* unit, const char* indent);
  void ResetOwner() { m_owner = {"??", 0, "??"}; }
  [[noreturn]] void FailUntracked(const char* text);
  bool WriteLeakReportLocked();
  void WriteAllocationTable(std::FILE* file, bool withLibraryBlocks) const;
  uint32_t UnusedBytes(const AllocUnit* unit) const;
  uint32_t WipeWord(uint32_t pattern);

  ReportFiles m_files;
  AllocUnit* m_buckets[kHashBuckets] = {};
  AllocUnit* m_reservoir = nullptr;         // chain of unused units
  AllocUnit** m_reservoirBlocks = nullptr;  // system blocks of kUnitsPerReservoirBlock units
  std::size_t m_reservoirBlockCount = 0;
  std::size_t m_reservoirBlockCapacity = 0;
  Statistics m_stats = {};
  Owner m_owner = {"??", 0, "??"};
  uint32_t m_requestCounter = 0;
  int m_breakOnRequest = 0;
  Options m_options = {};
  bool m_staticTeardown = false;
  uint32_t m_randomState = 0x2545F491;
  std::atomic_flag m_busy;  // guards the state; C++ runtimes may allocate on any thread
};

// A spin lock: the tracker's critical sections are short and must not
// allocate, which rules out heavier locks.
class MemoryTracker::Lock {
 public:
  explicit Lock(MemoryTracker& tracker) : m_flag(tracker.m_busy) {
    while (m_flag.test_and_set(std::memory_order_acquire)) {
      while (m_flag.test(std::memory_order_relaxed)) sched_yield();
    }
  }
  ~Lock() { m_flag.clear(std::memory_order_release); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  std::atomic_flag& m_flag;
};

// The tracker of the deliverable this code is linked into.
MemoryTracker& CurrentTracker();
// Whether code at this address belongs to that deliverable rather than to a
// shared library it loaded.
bool IsOwnCode(const void* address);

// Text helpers shared by the log, the reports and the tests.
const char* AllocationTypeName(int32_t type);
// "1,234,567": the number with a comma every three digits.
void FormatWithSeparators(uint64_t value, char* out, std::size_t outSize);
// "     1,536 (   1.50K)": the size as the reports show it.
void FormatSize(uint64_t size, char* out, std::size_t outSize);
// "0x" and at least eight hexadecimal digits.
void FormatAddress(const void* address, char* out, std::size_t outSize);
// "file(00042)::function" with the directory stripped from the file.
void FormatOwner(const char* file, int line, const char* function, char* out, std::size_t outSize);
// The file name after the last '/' or '\'; "??" for null.
const char* StripDirectory(const char* path);

// Stops in an attached debugger; without one the caller has logged what
// happened and the program goes on.
bool DebuggerAttached();
void BreakIntoDebugger();

}  // namespace Orvix::Mem

#endif
