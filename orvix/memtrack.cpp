// The tracker of this deliverable: its one instance, the replaced global
// operators new and delete, and the owner-tagging entry points.
//
// This file is compiled into liborvix.so and into every program. The
// library's link keeps the operators and the Orvix::Mem functions local
// (orvix/orvix.map), so that the library's allocations reach its own instance
// while the program's, and those of the C++ runtime, reach the program's.
#include "memtrack_tracker.h"

#if PRAEL_MEMTRACK

#include <new>

#if !ORVIX_ENGINE_LIBRARY
// The program's code, as the linker lays it out.
extern "C" char __executable_start[];
extern "C" char etext[];
#endif

namespace Orvix::Mem {

namespace {

#if ORVIX_ENGINE_LIBRARY
// The engine's reports sit beside the game's in the same folder.
constexpr ReportFiles kReportFiles = {"orvix-memory.log", "orvix-memleaks.log"};
#else
constexpr ReportFiles kReportFiles = {"memory.log", "memleaks.log"};
#endif

constinit MemoryTracker g_tracker{kReportFiles};

// Made first and destroyed last among this deliverable's static objects: it
// cleans up the previous run's log at load and writes the leak report once
// the static destructors have released what they own.
struct TrackerLifetime {
  TrackerLifetime() { g_tracker.CleanupLogOnFirstRun(); }
  ~TrackerLifetime() { g_tracker.BeginStaticTeardown(); }
  TrackerLifetime(const TrackerLifetime&) = delete;
  TrackerLifetime& operator=(const TrackerLifetime&) = delete;
};
__attribute__((init_priority(101))) TrackerLifetime g_lifetime;

class BadAllocation : public std::bad_alloc {
 public:
  const char* what() const noexcept override { return "bad allocation"; }
};

// The operator new protocol: on exhausted memory the installed new-handler
// gets its chance to free some, and without one the request fails.
void* NewBlock(Owner owner, AllocationType type, std::size_t size, const void* caller) {
  if (size == 0) size = 1;
  const bool madeByLibrary = !IsOwnCode(caller);
  for (;;) {
    try {
      return g_tracker.Allocate(owner, type, size, madeByLibrary);
    } catch (const TrackerError&) {
    }
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw BadAllocation();
    handler();
  }
}

void* NewBlockNoThrow(AllocationType type, std::size_t size, const void* caller) noexcept {
  try {
    return NewBlock(g_tracker.CurrentOwner(), type, size, caller);
  } catch (...) {
    return nullptr;
  }
}

// A release cannot report failure through operator delete; an untracked
// address ends the program with the tracker's exception.
void DeleteBlock(AllocationType type, void* block) noexcept {
  if (block != nullptr) g_tracker.Release(g_tracker.CurrentOwner(), type, block);
}

// Like their C namesakes, the tagged C allocations return null on failure.
void* TryAllocate(Owner owner, AllocationType type, std::size_t size) {
  try {
    return g_tracker.Allocate(owner, type, size);
  } catch (const TrackerError&) {
    return nullptr;
  }
}

}  // namespace

MemoryTracker& CurrentTracker() { return g_tracker; }

#if ORVIX_ENGINE_LIBRARY
// The library's operators are local to it: only its own code reaches them.
bool IsOwnCode(const void*) { return true; }
#else
bool IsOwnCode(const void* address) {
  const auto* code = static_cast<const char*>(address);
  return code >= __executable_start && code < etext;
}
#endif

void SetOwner(const char* file, int line, const char* function) { g_tracker.SetOwner(file, line, function); }

void* TrackedMalloc(const char* file, int line, const char* function, std::size_t size) {
  return TryAllocate({file, line, function}, ALLOC_MALLOC, size);
}

void* TrackedCalloc(const char* file, int line, const char* function, std::size_t count, std::size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  return TryAllocate({file, line, function}, ALLOC_CALLOC, count * size);
}

void* TrackedRealloc(const char* file, int line, const char* function, void* block, std::size_t size) {
  try {
    return g_tracker.Reallocate({file, line, function}, block, size);
  } catch (const TrackerError&) {
    // Exhausted memory leaves the block as it was; an untracked block is the
    // caller's error and stays an exception.
    if (block == nullptr || g_tracker.FindUnit(block) != nullptr) return nullptr;
    throw;
  }
}

void TrackedFree(const char* file, int line, const char* function, void* block) {
  g_tracker.Release({file, line, function}, ALLOC_FREE, block);
}

Statistics MemoryStatistics() { return g_tracker.GetStatistics(); }

bool DumpMemoryReport(const char* fileName, bool overwrite) {
  return g_tracker.WriteMemoryReport(fileName, overwrite);
}

void BreakOnAllocation(int requestNumber) { g_tracker.BreakOnAllocation(requestNumber); }

bool BreakOnDeallocation(const void* block, bool enabled) {
  return g_tracker.SetBreakOnDealloc(block, enabled);
}

bool BreakOnReallocation(const void* block, bool enabled) {
  return g_tracker.SetBreakOnRealloc(block, enabled);
}

Options& TrackerOptions() { return g_tracker.GetOptions(); }

bool ValidateAllAllocations() { return g_tracker.ValidateAll(); }

}  // namespace Orvix::Mem

using namespace Orvix::Mem;

// The caller's address tells the program's own code from the shared
// libraries' (see MemoryTracker::Allocate).
void* operator new(std::size_t size) {
  return NewBlock(g_tracker.CurrentOwner(), ALLOC_NEW, size, __builtin_return_address(0));
}
void* operator new[](std::size_t size) {
  return NewBlock(g_tracker.CurrentOwner(), ALLOC_NEW_ARRAY, size, __builtin_return_address(0));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return NewBlockNoThrow(ALLOC_NEW, size, __builtin_return_address(0));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return NewBlockNoThrow(ALLOC_NEW_ARRAY, size, __builtin_return_address(0));
}
void* operator new(std::size_t size, const char* file, int line) {
  return NewBlock({file, line, "??"}, ALLOC_NEW, size, __builtin_return_address(0));
}
void* operator new[](std::size_t size, const char* file, int line) {
  return NewBlock({file, line, "??"}, ALLOC_NEW_ARRAY, size, __builtin_return_address(0));
}

void operator delete(void* block) noexcept { DeleteBlock(ALLOC_DELETE, block); }
void operator delete[](void* block) noexcept { DeleteBlock(ALLOC_DELETE_ARRAY, block); }
void operator delete(void* block, std::size_t) noexcept { DeleteBlock(ALLOC_DELETE, block); }
void operator delete[](void* block, std::size_t) noexcept { DeleteBlock(ALLOC_DELETE_ARRAY, block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { DeleteBlock(ALLOC_DELETE, block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  DeleteBlock(ALLOC_DELETE_ARRAY, block);
}
void operator delete(void* block, const char*, int) noexcept { DeleteBlock(ALLOC_DELETE, block); }
void operator delete[](void* block, const char*, int) noexcept { DeleteBlock(ALLOC_DELETE_ARRAY, block); }

#endif
