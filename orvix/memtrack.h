// Owner tagging for the memory tracker.
//
// Every heap allocation and release of the engine and of the game is written
// through these macros, so the tracker learns the source file, line and
// function of the code just before the global operators run:
//
//   Image* image = OX_NEW Image;         OX_DELETE image;
//   char* text = OX_NEW char[n];         OX_DELETE[] text;
//   void* block = OX_MALLOC(n);          OX_FREE(block);
//
// Each deliverable (liborvix.so and the game) carries its own tracker; the
// functions below bind to the tracker of the deliverable that calls them.
#pragma once

#include <cstddef>

namespace Orvix::Mem {

// Records the owner of the next allocation or release. The tracker resets it
// to "??" after each one.
void SetOwner(const char* file, int line, const char* function);
inline void Nothing() {}

void* TrackedMalloc(const char* file, int line, const char* function, std::size_t size);
void* TrackedCalloc(const char* file, int line, const char* function, std::size_t count,
                    std::size_t size);
void* TrackedRealloc(const char* file, int line, const char* function, void* block,
                     std::size_t size);
void TrackedFree(const char* file, int line, const char* function, void* block);

}  // namespace Orvix::Mem

#define OX_NEW (::Orvix::Mem::SetOwner(__FILE__, __LINE__, __func__), false) ? nullptr : new
#define OX_DELETE                                                   \
  (::Orvix::Mem::SetOwner(__FILE__, __LINE__, __func__), false) ? \
      ::Orvix::Mem::Nothing() :                                   \
      delete
#define OX_MALLOC(size) ::Orvix::Mem::TrackedMalloc(__FILE__, __LINE__, __func__, (size))
#define OX_CALLOC(count, size) \
  ::Orvix::Mem::TrackedCalloc(__FILE__, __LINE__, __func__, (count), (size))
#define OX_REALLOC(block, size) \
  ::Orvix::Mem::TrackedRealloc(__FILE__, __LINE__, __func__, (block), (size))
#define OX_FREE(block) ::Orvix::Mem::TrackedFree(__FILE__, __LINE__, __func__, (block))
