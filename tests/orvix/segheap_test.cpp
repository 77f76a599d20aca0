#include "orvix/segheap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "orvix/ptrlist.h"
#include "render_helpers.h"

using Orvix::PtrList;
using Orvix::PtrListNode;
using Orvix::SegmentHeap;
using Orvix::StaticHeap;
using render_test::LogCapture;

namespace {

std::vector<int> Values(const PtrList& list) {
  std::vector<int> values;
  for (PtrListNode* node = list.Head(); node != nullptr; node = node->next)
    values.push_back(*static_cast<int*>(node->value));
  return values;
}

std::vector<int> ValuesBackwards(const PtrList& list) {
  std::vector<int> values;
  for (PtrListNode* node = list.Tail(); node != nullptr; node = node->prev)
    values.push_back(*static_cast<int*>(node->value));
  return values;
}

}  // namespace

TEST(PtrList, KeepsBothChainsAndTheCountThroughEveryChange) {
  int a = 1, b = 2, c = 3, d = 4;
  PtrList list;
  EXPECT_EQ(list.RemoveHead(), nullptr);
  list.Append(&b);
  PtrListNode* nodeC = list.Append(&c);
  list.Prepend(&a);
  list.Append(&d);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{4, 3, 2, 1}));
  EXPECT_EQ(list.Count(), 4u);
  EXPECT_EQ(list.At(2), &c);
  EXPECT_EQ(list.At(4), nullptr);

  list.Remove(nodeC);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(list.RemoveHead(), &a);
  EXPECT_TRUE(list.RemoveValue(&d));
  EXPECT_FALSE(list.RemoveValue(&d));
  EXPECT_EQ(Values(list), (std::vector<int>{2}));
  EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{2}));
  EXPECT_EQ(list.Head(), list.Tail());

  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.Head(), nullptr);
  EXPECT_EQ(list.Tail(), nullptr);
}

TEST(SegmentHeap, TwoChunksComeInPoolOrderThenNullAndAFreedOneReturns) {
  SegmentHeap heap(16, 2, "pair");
  void* first = heap.GetChunk();
  void* second = heap.GetChunk();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_LT(first, second);
  EXPECT_EQ(heap.GetChunk(), nullptr);
  EXPECT_EQ(heap.GetNumAllocs(), 2u);
  heap.FreeChunk(first);
  EXPECT_EQ(heap.GetNumAllocs(), 1u);
  EXPECT_EQ(heap.GetChunk(), first);
  heap.Clear(false);
}

TEST(SegmentHeap, FreedChunksAreReusedLastInTheOrderFreed) {
  SegmentHeap heap(8, 3, nullptr);
  EXPECT_STREQ(heap.GetName(), "");
  void* chunks[3];
  for (void*& chunk : chunks) chunk = heap.GetChunk();
  heap.FreeChunk(chunks[1]);
  heap.FreeChunk(chunks[0]);
  EXPECT_EQ(heap.GetChunk(), chunks[1]);
  EXPECT_EQ(heap.GetChunk(), chunks[0]);
  heap.Clear(false);

  // After a clear, never-used chunks again come first.
  SegmentHeap bigger(8, 4, "four");
  void* a = bigger.GetChunk();
  void* b = bigger.GetChunk();
  bigger.FreeChunk(a);
  void* c = bigger.GetChunk();
  EXPECT_NE(c, a);
  EXPECT_GT(c, b);
  bigger.Clear(false);
}

TEST(SegmentHeap, IndexingFollowsTheOrderChunksWereTaken) {
  SegmentHeap heap(4, 4, "indexed");
  void* a = heap.GetChunk();
  void* b = heap.GetChunk();
  void* c = heap.GetChunk();
  heap.FreeChunk(a);
  void* d = heap.GetChunk();
  EXPECT_EQ(heap[0], b);
  EXPECT_EQ(heap[1], c);
  EXPECT_EQ(heap[2], d);
  EXPECT_EQ(heap[3], nullptr);
  heap.Clear(false);
}

TEST(SegmentHeap, ClearWithZeroGivesZeroedChunksAndWithoutKeepsContents) {
  SegmentHeap heap(24, 2, "zeroing");
  char* chunk = static_cast<char*>(heap.GetChunk());
  std::memset(chunk, 0x5A, 24);
  heap.Clear(false);
  char* again = static_cast<char*>(heap.GetChunk());
  ASSERT_EQ(again, chunk);
  EXPECT_EQ(again[23], 0x5A);
  heap.Clear(true);
  again = static_cast<char*>(heap.GetChunk());
  for (int i = 0; i < 24; ++i) ASSERT_EQ(again[i], 0) << i;
  EXPECT_EQ(heap.GetNumAllocs(), 1u);
  heap.Clear(false);
  EXPECT_EQ(heap.GetNumAllocs(), 0u);
}

TEST(SegmentHeap, ChunksAreAlignedForPointersAndSizedWithTheirHeaders) {
  SegmentHeap heap(13, 5, "odd");
  EXPECT_EQ(heap.GetHeapSizeBytes(), 5u * 24u);
  for (int i = 0; i < 5; ++i) {
    void* chunk = heap.GetChunk();
    EXPECT_EQ(reinterpret_cast<uintptr_t>(chunk) % alignof(void*), 0u);
    std::memset(chunk, 0xFF, 13);  // filling a chunk leaves its neighbours' headers intact
  }
  for (unsigned i = 0; i < 5; ++i) heap.FreeChunk(heap[0]);
  EXPECT_EQ(heap.GetNumAllocs(), 0u);
}

TEST(SegmentHeap, DestroyingWithAChunkTakenWarns) {
  LogCapture log;
  {
    SegmentHeap heap(8, 2, "dangling");
    heap.GetChunk();
  }
  EXPECT_TRUE(log.Contains("Warning: SegmentHeap destroyed with dangling allocations!"));

  LogCapture quiet;
  {
    SegmentHeap heap(8, 2, "tidy");
    heap.FreeChunk(heap.GetChunk());
  }
  EXPECT_FALSE(quiet.Contains("dangling"));
}

TEST(StaticHeap, SixteenBytesServeTenThenRefuseSevenThenServeSix) {
  LogCapture log;
  StaticHeap heap(16, "tiny");
  char* ten = static_cast<char*>(heap.Alloc(10));
  ASSERT_NE(ten, nullptr);
  EXPECT_EQ(heap.Alloc(7), nullptr);
  EXPECT_TRUE(log.Contains("NVHeap (tiny) allocation failed (tried to allocated 7 bytes -- 6 bytes free)"));
  char* six = static_cast<char*>(heap.Alloc(6));
  ASSERT_NE(six, nullptr);
  EXPECT_EQ(six, ten + 10);  // no alignment, no header
  EXPECT_EQ(heap.Alloc(1), nullptr);
  EXPECT_EQ(heap.Alloc(0), six + 6);
}

TEST(StaticHeap, ClearAndResize) {
  StaticHeap heap(8, "grows");
  char* block = static_cast<char*>(heap.Alloc(8));
  std::memset(block, 7, 8);
  heap.Clear(true);
  EXPECT_EQ(heap.GetBytesUsed(), 0u);
  block = static_cast<char*>(heap.Alloc(4));
  EXPECT_EQ(block[0], 0);

  heap.Resize(32);
  EXPECT_EQ(heap.GetHeapSizeBytes(), 32u);
  EXPECT_EQ(heap.GetBytesUsed(), 4u);  // kept across the resize
  EXPECT_NE(heap.Alloc(28), nullptr);
  EXPECT_EQ(heap.Alloc(1), nullptr);

  // Shrinking below what is used cannot leave Alloc past the pool.
  heap.Resize(16);
  EXPECT_EQ(heap.GetBytesUsed(), 16u);
  EXPECT_EQ(heap.Alloc(1), nullptr);
  EXPECT_EQ(heap.Alloc(4000000000u), nullptr);
}
