// The memory tracker's reports: the leak report written at static teardown
// (and rewritten after every later release) and the memory report written on
// request. Both are CRLF text files with fixed-width tables.
#include "memtrack_tracker.h"

#if PRAEL_MEMTRACK

#include <cinttypes>
#include <cstring>
#include <ctime>

namespace Orvix::Mem {

namespace {

constexpr const char* kRule =
    " ---------------------------------------------------------------------------------------------------"
    "------------------------------- \r\n";

// The local date and time into a title line with the fields month, day,
// year, hours, minutes and seconds.
void WriteTitle(std::FILE* file, const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  std::fputs(kRule, file);
  std::fprintf(file, format, local.tm_mon + 1, local.tm_mday, local.tm_year + 1900, local.tm_hour,
               local.tm_min, local.tm_sec);
  std::fputs(kRule, file);
  std::fputs("\r\n", file);
  std::fputs("\r\n", file);
}

// A title centred between bars, as wide as the rule.
void WriteBox(std::FILE* file, const char* title) {
  const int inner = 130;
  const int length = static_cast<int>(std::strlen(title));
  const int left = (inner - length) / 2;
  std::fprintf(file, "|%*s%s%*s|\r\n", left, "", title, inner - length - left, "");
}

void WriteSizeLine(std::FILE* file, const char* format, uint64_t size) {
  char text[64];
  FormatSize(size, text, sizeof text);
  std::fprintf(file, format, text);
}

void WriteCountLine(std::FILE* file, const char* format, uint64_t count) {
  char text[48];
  FormatWithSeparators(count, text, sizeof text);
  std::fprintf(file, format, text);
}

}  // namespace

bool MemoryTracker::WriteLeakReport() {
  Lock lock(*this);
  return WriteLeakReportLocked();
}

bool MemoryTracker::WriteLeakReportLocked() {
  std::FILE* file = std::fopen(m_files.leakReport, "w+b");
  if (file == nullptr) {
    BreakIntoDebugger();
    return false;
  }
  WriteTitle(file,
             "|                                          Memory leak report for:  %02d/%02d/%04d "
             "%02d:%02d:%02d                                            |\r\n");
  uint64_t leaks = 0;
  for (const AllocUnit* head : m_buckets) {
    for (const AllocUnit* unit = head; unit != nullptr; unit = unit->next)
      leaks += unit->madeByLibrary ? 0 : 1;
  }
  if (leaks > 0) {
    std::fprintf(file, "%" PRIu64 " memory leak%s found:\r\n", leaks, leaks == 1 ? "" : "s");
  } else {
    std::fputs("Congratulations! No memory leaks found!\r\n", file);
    if (m_stats.totalAllocUnitCount == 0) FreeReservoir();
  }
  std::fputs("\r\n", file);
  if (leaks > 0) WriteAllocationTable(file, false);
  std::fclose(file);
  return true;
}

void MemoryTracker::WriteAllocationTable(std::FILE* file, bool withLibraryBlocks) const {
  std::fputs(
      "Alloc.   Addr       Size       Addr       Size                        BreakOn BreakOn              "
      "\r\n",
      file);
  std::fputs(
      "Number Reported   Reported    Actual     Actual     Unused    Method  Dealloc Realloc Allocated by "
      "\r\n",
      file);
  std::fputs(
      "------ ---------- ---------- ---------- ---------- ---------- -------- ------- ------- "
      "--------------------------------------------------- \r\n",
      file);
  for (const AllocUnit* head : m_buckets) {
    for (const AllocUnit* unit = head; unit != nullptr; unit = unit->next) {
      if (unit->madeByLibrary && !withLibraryBlocks) continue;
      char owner[160];
      FormatOwner(unit->sourceFile, unit->sourceLine, unit->sourceFunction, owner, sizeof owner);
      std::fprintf(
          file, "%06d 0x%08" PRIXPTR " 0x%08X 0x%08" PRIXPTR " 0x%08X 0x%08X %-8s    %c       %c    %s\r\n",
          unit->allocationNumber, reinterpret_cast<uintptr_t>(unit->reportedAddress), unit->reportedSize,
          reinterpret_cast<uintptr_t>(unit->actualAddress), unit->actualSize, UnusedBytes(unit),
          AllocationTypeName(unit->allocationType), unit->breakOnDealloc ? 'Y' : 'N',
          unit->breakOnRealloc ? 'Y' : 'N', owner);
    }
  }
}

bool MemoryTracker::WriteMemoryReport(const char* fileName, bool overwrite) {
  Lock lock(*this);
  std::FILE* file = std::fopen(fileName, overwrite ? "w+b" : "ab");
  if (file == nullptr) {
    BreakIntoDebugger();
    return false;
  }
  WriteTitle(file,
             "|                                             Memory report for: %02d/%02d/%04d "
             "%02d:%02d:%02d                                               |\r\n");

  WriteBox(file, "T O T A L S");
  std::fputs(kRule, file);
  WriteCountLine(file, "              Allocation unit count: %10s\r\n", m_stats.totalAllocUnitCount);
  WriteSizeLine(file, "            Reported to application: %s\r\n", m_stats.totalReportedMemory);
  WriteSizeLine(file, "         Actual total memory in use: %s\r\n", m_stats.totalActualMemory);
  WriteSizeLine(file, "           Memory tracking overhead: %s\r\n",
                m_stats.totalActualMemory - m_stats.totalReportedMemory);
  std::fputs("\r\n", file);

  std::fputs(kRule, file);
  WriteBox(file, "P E A K S");
  WriteCountLine(file, "              Allocation unit count: %10s\r\n", m_stats.peakAllocUnitCount);
  WriteSizeLine(file, "            Reported to application: %s\r\n", m_stats.peakReportedMemory);
  WriteSizeLine(file, "                             Actual: %s\r\n", m_stats.peakActualMemory);
  WriteSizeLine(file, "           Memory tracking overhead: %s\r\n",
                m_stats.peakActualMemory - m_stats.peakReportedMemory);
  std::fputs("\r\n", file);

  std::fputs(kRule, file);
  WriteBox(file, "A C C U M U L A T E D");
  WriteCountLine(file, "              Allocation unit count: %s\r\n", m_stats.accumulatedAllocUnitCount);
  WriteSizeLine(file, "            Reported to application: %s\r\n", m_stats.accumulatedReportedMemory);
  WriteSizeLine(file, "                             Actual: %s\r\n", m_stats.accumulatedActualMemory);
  std::fputs("\r\n", file);

  uint64_t unused = 0;
  for (const AllocUnit* head : m_buckets) {
    for (const AllocUnit* unit = head; unit != nullptr; unit = unit->next) unused += UnusedBytes(unit);
  }
  std::fputs(kRule, file);
  WriteBox(file, "U N U S E D");
  WriteSizeLine(file, "    Memory allocated but not in use: %s\r\n", unused);
  std::fputs("\r\n", file);

  if (m_stats.totalAllocUnitCount > 0) WriteAllocationTable(file, true);
  std::fclose(file);
  return true;
}

}  // namespace Orvix::Mem

#endif
