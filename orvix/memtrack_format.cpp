// Texts of the memory tracker: type names, sizes, addresses and owners as the
// log and the reports print them.
#include "memtrack_tracker.h"

#if PRAEL_MEMTRACK

#include <cinttypes>
#include <cstring>

namespace Orvix::Mem {

const char* AllocationTypeName(int32_t type) {
  static const char* const kNames[] = {"Unknown", "new",    "new[]",    "malloc", "calloc",
                                       "realloc", "delete", "delete[]", "free"};
  if (type < 0 || type >= static_cast<int32_t>(sizeof kNames / sizeof kNames[0])) return kNames[0];
  return kNames[type];
}

void FormatWithSeparators(uint64_t value, char* out, std::size_t outSize) {
  char digits[32];
  const int count = std::snprintf(digits, sizeof digits, "%" PRIu64, value);
  char grouped[48];
  std::size_t length = 0;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) grouped[length++] = ',';
    grouped[length++] = digits[i];
  }
  grouped[length] = '\0';
  std::snprintf(out, outSize, "%s", grouped);
}

void FormatSize(uint64_t size, char* out, std::size_t outSize) {
  char number[48];
  FormatWithSeparators(size, number, sizeof number);
  if (size <= 1024) {
    std::snprintf(out, outSize, "%10s bytes     ", number);
  } else if (size <= 1048576) {
    std::snprintf(out, outSize, "%10s (%7.2fK)", number, static_cast<double>(size) / 1024.0);
  } else {
    std::snprintf(out, outSize, "%10s (%7.2fM)", number, static_cast<double>(size) / 1048576.0);
  }
}

void FormatAddress(const void* address, char* out, std::size_t outSize) {
  std::snprintf(out, outSize, "0x%08" PRIxPTR, reinterpret_cast<uintptr_t>(address));
}

const char* StripDirectory(const char* path) {
  if (path == nullptr) return "??";
  const char* slash = std::strrchr(path, '/');
  const char* backslash = std::strrchr(path, '\\');
  const char* last = slash;
  if (backslash != nullptr && (last == nullptr || backslash > last)) last = backslash;
  return last != nullptr ? last + 1 : path;
}

void FormatOwner(const char* file, int line, const char* function, char* out, std::size_t outSize) {
  std::snprintf(out, outSize, "%s(%05d)::%s", StripDirectory(file), line,
                function != nullptr ? function : "??");
}

}  // namespace Orvix::Mem

#endif
