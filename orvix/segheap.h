// The engine's private heaps. Each takes one block from the general allocator
// when it is made, so frequent small records never reach the allocator later:
//
//   SegmentHeap  a pool of equal chunks with free and in-use lists (sprite
//                types, images);
//   StaticHeap   a bump allocator that only grows until it is cleared (the
//                settings' "cvar heap").
#pragma once

#include "orvixapi.h"
#include "ptrlist.h"

namespace Orvix {

// Chunk layout: a header holding the address of the chunk's node in the
// in-use list (so freeing needs no search), then the bytes handed out. The
// header is one pointer wide and every chunk starts on a pointer boundary, so
// the records kept in chunks are aligned.
class ORVIX_API SegmentHeap {
 public:
  SegmentHeap(unsigned chunkSize, unsigned chunkCount, const char* name);
  ~SegmentHeap();
  SegmentHeap(const SegmentHeap&) = delete;
  SegmentHeap& operator=(const SegmentHeap&) = delete;

  // A free chunk, or null when every chunk is in use. Never-used chunks come
  // first, in pool order; freed chunks are reused last.
  void* GetChunk();
  // Returns a chunk that GetChunk gave out; null is ignored.
  void FreeChunk(void* chunk);
  // Every chunk becomes free (in pool order); `zero` also zero-fills the pool.
  void Clear(bool zero);

  unsigned GetNumAllocs() const { return m_chunksInUse; }
  unsigned GetHeapSizeBytes() const { return m_heapSizeBytes; }
  unsigned GetChunkSize() const { return m_chunkSize; }
  unsigned GetChunkCount() const { return m_chunkCount; }
  const char* GetName() const { return m_name; }

  // The i-th chunk in use, in the order they were taken; null when i is not
  // below the number in use.
  void* operator[](unsigned i) const;

  static constexpr unsigned kHeaderBytes = sizeof(PtrListNode*);

 private:
  unsigned char* ChunkAt(unsigned index) const { return m_pool + index * m_chunkStride; }

  char m_name[32] = {};
  unsigned char* m_pool = nullptr;  // owned
  unsigned m_chunkSize = 0;
  unsigned m_chunkCount = 0;
  unsigned m_chunkStride = 0;  // header plus chunk size, rounded to a pointer boundary
  unsigned m_heapSizeBytes = 0;
  PtrList m_freeChunks;  // chunk (header) addresses
  PtrList m_usedChunks;  // chunk (header) addresses, in the order taken
  unsigned m_chunksInUse = 0;
};

// Allocations are neither aligned nor individually freed: callers that keep
// aligned records ask for sizes that keep the next one aligned.
class ORVIX_API StaticHeap {
 public:
  StaticHeap(unsigned size, const char* name);
  ~StaticHeap();
  StaticHeap(const StaticHeap&) = delete;
  StaticHeap& operator=(const StaticHeap&) = delete;

  // `n` bytes, or null (with a log line) when fewer are left.
  void* Alloc(unsigned n);
  // Replaces the pool by a new zeroed one of `size` bytes; the bytes-used
  // count is kept (callers resize empty heaps).
  void Resize(unsigned size);
  void Clear(bool zero);

  unsigned GetHeapSizeBytes() const { return m_heapSizeBytes; }
  unsigned GetBytesUsed() const { return m_bytesUsed; }
  const char* GetName() const { return m_name; }

 private:
  char m_name[32] = {};
  unsigned char* m_pool = nullptr;  // owned
  unsigned m_heapSizeBytes = 0;
  unsigned m_bytesUsed = 0;
};

}  // namespace Orvix
