#include "segheap.h"

#include <cstdio>
#include <cstring>

#include "logging.h"
#include "memtrack.h"

namespace Orvix {

namespace {

constexpr unsigned kChunkAlignment = alignof(void*);

unsigned RoundUpToAlignment(unsigned bytes) {
  return (bytes + kChunkAlignment - 1) / kChunkAlignment * kChunkAlignment;
}

void CopyHeapName(char (&target)[32], const char* name) {
  std::snprintf(target, sizeof target, "%s", name != nullptr ? name : "");
}

}  // namespace

// ----- SegmentHeap

SegmentHeap::SegmentHeap(unsigned chunkSize, unsigned chunkCount, const char* name)
    : m_chunkSize(chunkSize),
      m_chunkCount(chunkCount),
      m_chunkStride(RoundUpToAlignment(kHeaderBytes + chunkSize)),
      m_heapSizeBytes(chunkCount * m_chunkStride) {
  CopyHeapName(m_name, name);
  m_pool = OX_NEW unsigned char[m_heapSizeBytes > 0 ? m_heapSizeBytes : 1];
  Clear(true);
}

SegmentHeap::~SegmentHeap() {
  if (m_chunksInUse > 0) {
    CSingleton<COrvixLogger>::Instance().Log("Warning: SegmentHeap destroyed with dangling allocations!");
  }
  m_freeChunks.Clear();
  m_usedChunks.Clear();
  OX_DELETE[] m_pool;
}

void SegmentHeap::Clear(bool zero) {
  if (zero) std::memset(m_pool, 0, m_heapSizeBytes);
  m_freeChunks.Clear();
  for (unsigned i = 0; i < m_chunkCount; ++i) m_freeChunks.Append(ChunkAt(i));
  m_usedChunks.Clear();
  m_chunksInUse = 0;
}

void* SegmentHeap::GetChunk() {
  unsigned char* chunk = static_cast<unsigned char*>(m_freeChunks.RemoveHead());
  if (chunk == nullptr) return nullptr;
  PtrListNode* node = m_usedChunks.Append(chunk);
  std::memcpy(chunk, &node, sizeof node);
  ++m_chunksInUse;
  return chunk + kHeaderBytes;
}

void SegmentHeap::FreeChunk(void* userBytes) {
  if (userBytes == nullptr) return;
  unsigned char* chunk = static_cast<unsigned char*>(userBytes) - kHeaderBytes;
  PtrListNode* node = nullptr;
  std::memcpy(&node, chunk, sizeof node);
  m_usedChunks.Remove(node);
  --m_chunksInUse;
  m_freeChunks.Append(chunk);
}

void* SegmentHeap::operator[](unsigned i) const {
  unsigned char* chunk = static_cast<unsigned char*>(m_usedChunks.At(i));
  return chunk != nullptr ? chunk + kHeaderBytes : nullptr;
}

// ----- StaticHeap

StaticHeap::StaticHeap(unsigned size, const char* name) : m_heapSizeBytes(size) {
  CopyHeapName(m_name, name);
  m_pool = OX_NEW unsigned char[size > 0 ? size : 1];
  Clear(true);
}

StaticHeap::~StaticHeap() { OX_DELETE[] m_pool; }

void* StaticHeap::Alloc(unsigned n) {
  const unsigned bytesFree = m_heapSizeBytes - m_bytesUsed;
  if (n > bytesFree) {
    CSingleton<COrvixLogger>::Instance().Log(
        "NVHeap (%s) allocation failed (tried to allocated %d bytes -- %d bytes free)", m_name,
        static_cast<int>(n), static_cast<int>(bytesFree));
    return nullptr;
  }
  void* block = m_pool + m_bytesUsed;
  m_bytesUsed += n;
  return block;
}

// A resize smaller than what is already used would leave the count beyond
// the pool; the count is then held at the new size so Alloc stays in bounds.
void StaticHeap::Resize(unsigned size) {
  OX_DELETE[] m_pool;
  m_pool = OX_NEW unsigned char[size > 0 ? size : 1];
  std::memset(m_pool, 0, size);
  m_heapSizeBytes = size;
  if (m_bytesUsed > size) m_bytesUsed = size;
}

void StaticHeap::Clear(bool zero) {
  if (zero) std::memset(m_pool, 0, m_heapSizeBytes);
  m_bytesUsed = 0;
}

}  // namespace Orvix
