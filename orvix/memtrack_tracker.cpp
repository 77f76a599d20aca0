// The memory tracker's bookkeeping: allocation, release and reallocation of
// tracked blocks, the unit reservoir, the address hash and the statistics.
#include "memtrack_tracker.h"

#if PRAEL_MEMTRACK

#include <bit>
#include <cstdlib>
#include <cstring>

namespace Orvix::Mem {

static_assert(std::endian::native == std::endian::little,
              "the fill patterns and guard words are written as little-endian words");

namespace {

// Sizes are kept in 32 bits; a larger request cannot be tracked and is
// treated as exhausted memory rather than truncated.
constexpr std::size_t kLargestRequest = UINT32_MAX - 2 * kGuardBytes;

unsigned BucketOf(const void* reportedAddress) {
  return static_cast<unsigned>((reinterpret_cast<uintptr_t>(reportedAddress) >> 4) & (kHashBuckets - 1));
}

bool IsCAllocation(AllocationType type) {
  return type == ALLOC_MALLOC || type == ALLOC_CALLOC || type == ALLOC_REALLOC;
}

bool ReleaseMatches(AllocationType allocated, AllocationType released) {
  switch (released) {
    case ALLOC_UNKNOWN:
      return true;
    case ALLOC_DELETE:
      return allocated == ALLOC_NEW;
    case ALLOC_DELETE_ARRAY:
      return allocated == ALLOC_NEW_ARRAY;
    case ALLOC_FREE:
      return IsCAllocation(allocated);
    default:
      return false;
  }
}

void CopyOwnerText(char (&out)[kOwnerTextSize], const char* text) {
  if (text == nullptr || text[0] == '\0') text = "??";
  const std::size_t length = strnlen(text, kOwnerTextSize - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

void FillOwner(AllocUnit* unit, Owner owner) {
  CopyOwnerText(unit->sourceFile, owner.file != nullptr ? StripDirectory(owner.file) : nullptr);
  CopyOwnerText(unit->sourceFunction, owner.function);
  unit->sourceLine = owner.line;
}

// Every fresh and every released block is filled, so the fill goes in
// 64-byte pieces rather than word by word.
void WriteWords(unsigned char* to, std::size_t bytes, uint32_t word) {
  unsigned char piece[64];
  for (std::size_t i = 0; i < sizeof piece; i += 4) std::memcpy(piece + i, &word, 4);
  std::size_t i = 0;
  for (; i + sizeof piece <= bytes; i += sizeof piece) std::memcpy(to + i, piece, sizeof piece);
  std::memcpy(to + i, piece, bytes - i);  // the tail, which starts on a word boundary of the pattern
}

}  // namespace

void MemoryTracker::SetOwner(const char* file, int line, const char* function) {
  m_owner = {file, line, function};
}

void* MemoryTracker::Allocate(Owner owner, AllocationType type, std::size_t size, bool madeByLibrary) {
  Lock lock(*this);
  const int32_t request = static_cast<int32_t>(++m_requestCounter);
  if (m_options.alwaysLogAll) {
    char ownerText[160];
    char sizeText[64];
    FormatOwner(owner.file, owner.line, owner.function, ownerText, sizeof ownerText);
    FormatSize(size, sizeText, sizeof sizeText);
    Log("%05d %-40s %8s            : %s", request, ownerText, AllocationTypeName(type), sizeText);
  }
  if (m_breakOnRequest != 0 && request == m_breakOnRequest) BreakIntoDebugger();

  AllocUnit* unit = TakeUnit();
  void* block = size <= kLargestRequest ? std::malloc(size + 2 * kGuardBytes) : nullptr;
  if (block == nullptr) {
    ReturnUnit(unit);
    ResetOwner();
    throw TrackerError("Request for allocation failed. Out of memory.");
  }

  unit->reportedSize = static_cast<uint32_t>(size);
  unit->actualSize = unit->reportedSize + 2 * kGuardBytes;
  unit->actualAddress = block;
  unit->reportedAddress = static_cast<unsigned char*>(block) + kGuardBytes;
  unit->allocationType = type;
  unit->allocationNumber = request;
  unit->madeByLibrary = madeByLibrary;
  FillOwner(unit, owner);
  Insert(unit);
  AddToTotals(unit->reportedSize, unit->actualSize);
  ++m_stats.accumulatedAllocUnitCount;
  ++m_stats.totalAllocUnitCount;
  if (m_stats.totalAllocUnitCount > m_stats.peakAllocUnitCount)
    m_stats.peakAllocUnitCount = m_stats.totalAllocUnitCount;

  Wipe(unit, kUnusedPattern, 0);
  if (type == ALLOC_CALLOC) std::memset(unit->reportedAddress, 0, unit->reportedSize);

  if (m_options.alwaysValidateAll) CheckAllGuards();
  if (m_options.alwaysLogAll) {
    char address[32];
    FormatAddress(unit->reportedAddress, address, sizeof address);
    Log("%65sOK: %s (hash: %u)", "", address, BucketOf(unit->reportedAddress));
  }
  ResetOwner();
  return unit->reportedAddress;
}

void MemoryTracker::Release(Owner owner, AllocationType type, void* address) {
  if (address == nullptr) return;
  Lock lock(*this);
  if (m_options.alwaysLogAll) {
    char ownerText[160];
    char addressText[32];
    FormatOwner(owner.file, owner.line, owner.function, ownerText, sizeof ownerText);
    FormatAddress(address, addressText, sizeof addressText);
    Log("      %-40s %8s(%s)", ownerText, AllocationTypeName(type), addressText);
  }
  AllocUnit* unit = Find(address);
  if (unit == nullptr) FailUntracked("Request to deallocate RAM that was never allocated");

  CheckGuards(unit);
  if (!ReleaseMatches(unit->allocationType, type)) {
    Log("A memory allocation unit was released with %s but allocated with %s:", AllocationTypeName(type),
        AllocationTypeName(unit->allocationType));
    DumpUnit(unit, "  ");
    BreakIntoDebugger();
  }
  if (unit->breakOnDealloc) BreakIntoDebugger();

  Wipe(unit, kReleasedPattern, 0);
  std::free(unit->actualAddress);
  Remove(unit);
  m_stats.totalReportedMemory -= unit->reportedSize;
  m_stats.totalActualMemory -= unit->actualSize;
  --m_stats.totalAllocUnitCount;
  ReturnUnit(unit);
  ResetOwner();

  if (m_options.alwaysValidateAll) CheckAllGuards();
  if (m_staticTeardown) WriteLeakReportLocked();
}

void* MemoryTracker::Reallocate(Owner owner, void* address, std::size_t size) {
  if (address == nullptr) return Allocate(owner, ALLOC_REALLOC, size);
  Lock lock(*this);
  const int32_t request = static_cast<int32_t>(++m_requestCounter);
  if (m_options.alwaysLogAll) {
    char ownerText[160];
    char addressText[32];
    char sizeText[64];
    FormatOwner(owner.file, owner.line, owner.function, ownerText, sizeof ownerText);
    FormatAddress(address, addressText, sizeof addressText);
    FormatSize(size, sizeText, sizeof sizeText);
    Log("%05d %-40s %8s(%s): %s", request, ownerText, AllocationTypeName(ALLOC_REALLOC), addressText,
        sizeText);
  }
  AllocUnit* unit = Find(address);
  if (unit == nullptr) FailUntracked("Request to reallocate RAM that was never allocated");

  CheckGuards(unit);
  if (!IsCAllocation(unit->allocationType)) {
    Log("A memory allocation unit was reallocated with %s but allocated with %s:",
        AllocationTypeName(ALLOC_REALLOC), AllocationTypeName(unit->allocationType));
    DumpUnit(unit, "  ");
    BreakIntoDebugger();
  }
  if (unit->breakOnRealloc) BreakIntoDebugger();

  void* block = size <= kLargestRequest ? std::realloc(unit->actualAddress, size + 2 * kGuardBytes) : nullptr;
  if (block == nullptr) {
    ResetOwner();
    throw TrackerError("Request for reallocation failed. Out of memory.");
  }

  const uint32_t oldReportedSize = unit->reportedSize;
  const uint32_t oldActualSize = unit->actualSize;
  void* const newReportedAddress = static_cast<unsigned char*>(block) + kGuardBytes;
  const bool moved = newReportedAddress != unit->reportedAddress;
  if (moved) Remove(unit);
  unit->reportedSize = static_cast<uint32_t>(size);
  unit->actualSize = unit->reportedSize + 2 * kGuardBytes;
  unit->actualAddress = block;
  unit->reportedAddress = newReportedAddress;
  unit->allocationType = ALLOC_REALLOC;
  unit->allocationNumber = request;
  FillOwner(unit, owner);
  if (moved) Insert(unit);

  m_stats.totalReportedMemory -= oldReportedSize;
  m_stats.totalActualMemory -= oldActualSize;
  AddToTotals(unit->reportedSize, unit->actualSize);
  // Only growth counts as newly handed-out memory; AddToTotals counted it all.
  m_stats.accumulatedReportedMemory -= std::min(oldReportedSize, unit->reportedSize);
  m_stats.accumulatedActualMemory -= std::min(oldActualSize, unit->actualSize);

  Wipe(unit, kUnusedPattern, oldReportedSize);
  CheckGuards(unit);
  if (m_options.alwaysLogAll) {
    char addressText[32];
    FormatAddress(unit->reportedAddress, addressText, sizeof addressText);
    Log("%65sOK: %s (hash: %u)", "", addressText, BucketOf(unit->reportedAddress));
  }
  ResetOwner();
  return unit->reportedAddress;
}

void MemoryTracker::FailUntracked(const char* text) {
  Log("%s", text);
  BreakIntoDebugger();
  ResetOwner();
  throw TrackerError(text);
}

const AllocUnit* MemoryTracker::FindUnit(const void* reportedAddress) {
  Lock lock(*this);
  return Find(reportedAddress);
}

Statistics MemoryTracker::GetStatistics() {
  Lock lock(*this);
  return m_stats;
}

bool MemoryTracker::SetBreakOnDealloc(const void* reportedAddress, bool enabled) {
  Lock lock(*this);
  AllocUnit* unit = Find(reportedAddress);
  if (unit == nullptr) return false;
  unit->breakOnDealloc = enabled;
  return true;
}

bool MemoryTracker::SetBreakOnRealloc(const void* reportedAddress, bool enabled) {
  Lock lock(*this);
  AllocUnit* unit = Find(reportedAddress);
  if (unit == nullptr || !IsCAllocation(unit->allocationType)) return false;
  unit->breakOnRealloc = enabled;
  return true;
}

AllocUnit* MemoryTracker::TakeUnit() {
  if (m_reservoir == nullptr) {
    auto* block = static_cast<AllocUnit*>(std::calloc(kUnitsPerReservoirBlock, sizeof(AllocUnit)));
    if (block == nullptr) throw TrackerError("Unable to allocate RAM for internal memory tracking data");
    if (m_reservoirBlockCount == m_reservoirBlockCapacity) {
      const std::size_t capacity = m_reservoirBlockCapacity == 0 ? 16 : m_reservoirBlockCapacity * 2;
      auto* blocks = static_cast<AllocUnit**>(std::realloc(m_reservoirBlocks, capacity * sizeof(AllocUnit*)));
      if (blocks == nullptr) {
        std::free(block);
        throw TrackerError("Unable to allocate RAM for internal memory tracking data");
      }
      m_reservoirBlocks = blocks;
      m_reservoirBlockCapacity = capacity;
    }
    m_reservoirBlocks[m_reservoirBlockCount++] = block;
    for (unsigned i = 0; i + 1 < kUnitsPerReservoirBlock; ++i) block[i].next = &block[i + 1];
    m_reservoir = block;
  }
  AllocUnit* unit = m_reservoir;
  m_reservoir = unit->next;
  std::memset(unit, 0, sizeof *unit);
  return unit;
}

// The unit is zeroed when it is taken again.
void MemoryTracker::ReturnUnit(AllocUnit* unit) {
  unit->next = m_reservoir;
  m_reservoir = unit;
}

// Only called when no unit is live: every unit is then on the free chain.
void MemoryTracker::FreeReservoir() {
  for (std::size_t i = 0; i < m_reservoirBlockCount; ++i) std::free(m_reservoirBlocks[i]);
  std::free(m_reservoirBlocks);
  m_reservoirBlocks = nullptr;
  m_reservoirBlockCount = 0;
  m_reservoirBlockCapacity = 0;
  m_reservoir = nullptr;
}

AllocUnit* MemoryTracker::Find(const void* reportedAddress) const {
  for (AllocUnit* unit = m_buckets[BucketOf(reportedAddress)]; unit != nullptr; unit = unit->next) {
    if (unit->reportedAddress == reportedAddress) return unit;
  }
  return nullptr;
}

void MemoryTracker::Insert(AllocUnit* unit) {
  AllocUnit*& head = m_buckets[BucketOf(unit->reportedAddress)];
  unit->prev = nullptr;
  unit->next = head;
  if (head != nullptr) head->prev = unit;
  head = unit;
}

void MemoryTracker::Remove(AllocUnit* unit) {
  if (unit->prev != nullptr) {
    unit->prev->next = unit->next;
  } else {
    m_buckets[BucketOf(unit->reportedAddress)] = unit->next;
  }
  if (unit->next != nullptr) unit->next->prev = unit->prev;
  unit->next = nullptr;
  unit->prev = nullptr;
}

void MemoryTracker::AddToTotals(uint64_t reported, uint64_t actual) {
  m_stats.totalReportedMemory += reported;
  m_stats.totalActualMemory += actual;
  if (m_stats.totalReportedMemory > m_stats.peakReportedMemory)
    m_stats.peakReportedMemory = m_stats.totalReportedMemory;
  if (m_stats.totalActualMemory > m_stats.peakActualMemory)
    m_stats.peakActualMemory = m_stats.totalActualMemory;
  m_stats.accumulatedReportedMemory += reported;
  m_stats.accumulatedActualMemory += actual;
}

uint32_t MemoryTracker::WipeWord(uint32_t pattern) {
  if (!m_options.randomWipe) return pattern;
  // xorshift32: the game's own rand() sequence must not be disturbed.
  m_randomState ^= m_randomState << 13;
  m_randomState ^= m_randomState >> 17;
  m_randomState ^= m_randomState << 5;
  return m_randomState;
}

void MemoryTracker::Wipe(AllocUnit* unit, uint32_t pattern, uint32_t fromOffset) {
  auto* reported = static_cast<unsigned char*>(unit->reportedAddress);
  if (m_options.alwaysWipeAll && fromOffset < unit->reportedSize) {
    WriteWords(reported + fromOffset, unit->reportedSize - fromOffset, WipeWord(pattern));
  }
  WriteWords(static_cast<unsigned char*>(unit->actualAddress), kGuardBytes, kPrefixPattern);
  WriteWords(reported + unit->reportedSize, kGuardBytes, kPostfixPattern);
}

void MemoryTracker::BeginStaticTeardown() {
  Lock lock(*this);
  m_staticTeardown = true;
  WriteLeakReportLocked();
}

}  // namespace Orvix::Mem

#endif
