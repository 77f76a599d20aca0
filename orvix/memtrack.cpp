// Placeholder owner tagging until the tracker lands: owners are ignored and
// the C allocator serves the tagged C allocations.
#include "memtrack.h"

#include <cstdlib>

namespace Orvix::Mem {

void SetOwner(const char*, int, const char*) {}

void* TrackedMalloc(const char*, int, const char*, std::size_t size) { return std::malloc(size); }

void* TrackedCalloc(const char*, int, const char*, std::size_t count, std::size_t size) {
  return std::calloc(count, size);
}

void* TrackedRealloc(const char*, int, const char*, void* block, std::size_t size) {
  return std::realloc(block, size);
}

void TrackedFree(const char*, int, const char*, void* block) { std::free(block); }

}  // namespace Orvix::Mem
