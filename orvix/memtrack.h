// Owner tagging and the memory tracker.
//
// Every heap allocation and release of the engine and of the game is written
// through these macros, so the tracker learns the source file, line and
// function of the code just before the global operators run:
//
//   Image* image = OX_NEW Image;         OX_DELETE image;
//   char* text = OX_NEW char[n];         OX_DELETE[] text;
//   void* block = OX_MALLOC(n);          OX_FREE(block);
//
// Each deliverable (liborvix.so and the game) carries its own tracker: the
// global operators new and delete and every function declared here bind to
// the tracker of the deliverable whose code calls them. A block must be
// released by the deliverable that allocated it.
//
// The build option PRAEL_MEMTRACK compiles the tracker out (the sanitizer
// build does so); the macros then stand for the plain operators and the C
// allocator.
#pragma once

#include <cstddef>
#include <cstdint>

#if PRAEL_MEMTRACK

#include <exception>

#include "orvixapi.h"

namespace Orvix::Mem {

// The tracker's own failures: release or reallocation of an address it never
// handed out, and exhausted memory. The one exception the system raises.
class TrackerError : public std::exception {
 public:
  explicit TrackerError(const char* text) : m_text(text) {}
  const char* what() const noexcept override { return m_text; }

 private:
  const char* m_text;  // a string literal
};

// Figures of one tracker; "reported" is what callers asked for, "actual"
// includes the guard words. Kept in 64 bits so that the accumulated figures
// of a long session do not wrap.
struct Statistics {
  uint64_t totalReportedMemory;
  uint64_t totalActualMemory;
  uint64_t peakReportedMemory;
  uint64_t peakActualMemory;
  uint64_t accumulatedReportedMemory;
  uint64_t accumulatedActualMemory;
  uint64_t accumulatedAllocUnitCount;
  uint64_t totalAllocUnitCount;
  uint64_t peakAllocUnitCount;
};

struct Options {
  bool alwaysValidateAll = false;    // check every live block on each allocation and release
  bool alwaysLogAll = false;         // one "memory.log" line per allocation and release
  bool alwaysWipeAll = true;         // fill fresh and released memory with the patterns
  bool randomWipe = false;           // a random word instead of the pattern on each wipe
  bool cleanupLogOnFirstRun = true;  // delete the old log before the first message
};

// Records the owner of the next allocation or release. The tracker resets it
// to "??" after each one.
void SetOwner(const char* file, int line, const char* function);
inline void Nothing() {}

// The C allocator with owner tagging. Like their C namesakes they return null
// when memory is exhausted; releasing an address that was never allocated
// throws TrackerError.
void* TrackedMalloc(const char* file, int line, const char* function, std::size_t size);
void* TrackedCalloc(const char* file, int line, const char* function, std::size_t count, std::size_t size);
void* TrackedRealloc(const char* file, int line, const char* function, void* block, std::size_t size);
void TrackedFree(const char* file, int line, const char* function, void* block);

// The calling deliverable's figures.
Statistics MemoryStatistics();
// Writes the memory report (totals, peaks, accumulated and unused figures and
// the table of live blocks); appends unless overwrite. False when the file
// cannot be opened.
bool DumpMemoryReport(const char* fileName, bool overwrite);
// Stops in the debugger (when one is attached) at the given request number;
// 0 turns it off.
void BreakOnAllocation(int requestNumber);
// Sets a live block's flag; false when the block is not tracked (or, for
// reallocation, was not made by malloc, calloc or realloc).
bool BreakOnDeallocation(const void* block, bool enabled);
bool BreakOnReallocation(const void* block, bool enabled);
Options& TrackerOptions();
// Checks the guard words of every live block; false when any was damaged.
bool ValidateAllAllocations();

}  // namespace Orvix::Mem

// Allocation with an explicit owner, as `new (__FILE__, __LINE__) T`.
void* operator new(std::size_t size, const char* file, int line);
void* operator new[](std::size_t size, const char* file, int line);
void operator delete(void* block, const char* file, int line) noexcept;
void operator delete[](void* block, const char* file, int line) noexcept;

namespace Orvix {
// The engine library's own tracker, for programs and tests that inspect it.
ORVIX_API Mem::Statistics EngineMemoryStatistics();
ORVIX_API bool DumpEngineMemoryReport(const char* fileName, bool overwrite);
}  // namespace Orvix

#define OX_NEW (::Orvix::Mem::SetOwner(__FILE__, __LINE__, __func__), false) ? nullptr : new
#define OX_DELETE \
  (::Orvix::Mem::SetOwner(__FILE__, __LINE__, __func__), false) ? ::Orvix::Mem::Nothing() : delete
#define OX_MALLOC(size) ::Orvix::Mem::TrackedMalloc(__FILE__, __LINE__, __func__, (size))
#define OX_CALLOC(count, size) ::Orvix::Mem::TrackedCalloc(__FILE__, __LINE__, __func__, (count), (size))
#define OX_REALLOC(block, size) ::Orvix::Mem::TrackedRealloc(__FILE__, __LINE__, __func__, (block), (size))
#define OX_FREE(block) ::Orvix::Mem::TrackedFree(__FILE__, __LINE__, __func__, (block))

#else  // the tracker compiled out

#include <cstdlib>

#define OX_NEW new
#define OX_DELETE delete
#define OX_MALLOC(size) std::malloc(size)
#define OX_CALLOC(count, size) std::calloc((count), (size))
#define OX_REALLOC(block, size) std::realloc((block), (size))
#define OX_FREE(block) std::free(block)

#endif
