// Checks of the memory tracker: guard words of one block or of all blocks,
// the unit dump that accompanies every complaint, and the memory log the
// complaints go to.
#include "memtrack_tracker.h"

#if PRAEL_MEMTRACK

#include <cstdarg>
#include <cstring>

namespace Orvix::Mem {

namespace {

bool WordsEqual(const unsigned char* at, uint32_t word) {
  bool equal = true;
  for (uint32_t i = 0; i < kGuardBytes; i += 4) {
    uint32_t found;
    std::memcpy(&found, at + i, 4);
    equal = equal && found == word;
  }
  return equal;
}

}  // namespace

// The log is opened and closed for every line so that nothing is lost when
// the program dies right after a complaint.
void MemoryTracker::Log(const char* format, ...) {
  CleanupLogOnFirstRun();
  char line[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::FILE* file = std::fopen(m_files.memoryLog, "ab");
  if (file == nullptr) {
    BreakIntoDebugger();
    return;
  }
  std::fprintf(file, "%s\r\n", line);
  std::fclose(file);
}

void MemoryTracker::CleanupLogOnFirstRun() {
  if (!m_options.cleanupLogOnFirstRun) return;
  std::remove(m_files.memoryLog);
  m_options.cleanupLogOnFirstRun = false;
}

void MemoryTracker::DumpUnit(const AllocUnit* unit, const char* indent) {
  char reportedAddress[32];
  char actualAddress[32];
  char reportedSize[64];
  char actualSize[64];
  FormatAddress(unit->reportedAddress, reportedAddress, sizeof reportedAddress);
  FormatAddress(unit->actualAddress, actualAddress, sizeof actualAddress);
  FormatSize(unit->reportedSize, reportedSize, sizeof reportedSize);
  FormatSize(unit->actualSize, actualSize, sizeof actualSize);
  Log("%sAddress (reported): %s", indent, reportedAddress);
  Log("%sAddress (actual)  : %s", indent, actualAddress);
  Log("%sSize (reported)   : 0x%08X (%s)", indent, unit->reportedSize, reportedSize);
  Log("%sSize (actual)     : 0x%08X (%s)", indent, unit->actualSize, actualSize);
  Log("%sOwner             : %s(%d)::%s", indent, unit->sourceFile, unit->sourceLine, unit->sourceFunction);
  Log("%sAllocation type   : %s", indent, AllocationTypeName(unit->allocationType));
  Log("%sAllocation number : %d", indent, unit->allocationNumber);
}

bool MemoryTracker::CheckGuards(const AllocUnit* unit) {
  const auto* prefix = static_cast<const unsigned char*>(unit->actualAddress);
  const auto* postfix = static_cast<const unsigned char*>(unit->reportedAddress) + unit->reportedSize;
  const bool underrun = !WordsEqual(prefix, kPrefixPattern);
  const bool overrun = !WordsEqual(postfix, kPostfixPattern);
  if (underrun) {
    Log("A memory allocation unit was corrupt because of an underrun:");
    DumpUnit(unit, "  ");
    BreakIntoDebugger();
  }
  if (overrun) {
    Log("A memory allocation unit was corrupt because of an overrun:");
    DumpUnit(unit, "  ");
    BreakIntoDebugger();
  }
  return !underrun && !overrun;
}

bool MemoryTracker::CheckAllGuards() {
  int failures = 0;
  uint64_t found = 0;
  for (AllocUnit* head : m_buckets) {
    for (AllocUnit* unit = head; unit != nullptr; unit = unit->next) {
      ++found;
      if (!CheckGuards(unit)) ++failures;
    }
  }
  if (found != m_stats.totalAllocUnitCount) {
    Log("Memory tracking hash table corrupt!");
    ++failures;
  }
  if (failures > 0) {
    BreakIntoDebugger();
    Log("While validting all allocation units, %d allocation unit(s) were found to have problems", failures);
  }
  return failures == 0;
}

bool MemoryTracker::ValidateUnit(const void* reportedAddress) {
  Lock lock(*this);
  const AllocUnit* unit = Find(reportedAddress);
  return unit != nullptr && CheckGuards(unit);
}

bool MemoryTracker::ValidateAll() {
  Lock lock(*this);
  return CheckAllGuards();
}

uint32_t MemoryTracker::UnusedBytes(const AllocUnit* unit) const {
  const auto* reported = static_cast<const unsigned char*>(unit->reportedAddress);
  uint32_t unused = 0;
  for (uint32_t offset = 0; offset + 4 <= unit->reportedSize; offset += 4) {
    uint32_t word;
    std::memcpy(&word, reported + offset, 4);
    if (word == kUnusedPattern) unused += 4;
  }
  return unused;
}

}  // namespace Orvix::Mem

#endif
