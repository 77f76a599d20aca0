#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game/net.h"

namespace {

std::vector<uint8_t> Bytes(const NetStream& stream) {
  return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Capacity());
}

}  // namespace

TEST(NetStream, WriteThatDoesNotFitWritesNothing) {
  NetStream stream(2);
  const uint32_t value = 0xAABBCCDD;
  EXPECT_FALSE(stream.Write(&value, 4));
  EXPECT_EQ(stream.Size(), 0u);
  EXPECT_EQ(Bytes(stream), (std::vector<uint8_t>{0, 0}));
  // What fits still goes in afterwards.
  const uint16_t small = 0x0102;
  EXPECT_TRUE(stream.Write(&small, 2));
  EXPECT_EQ(stream.Size(), 2u);
}

TEST(NetStream, WriteAtPositionZeroRewindsAndLaterWritesFollowIt) {
  NetStream stream(16);
  const uint8_t first[6] = {1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(stream.Write(first, 6));
  const uint8_t rewrite[2] = {9, 9};
  ASSERT_TRUE(stream.Write(rewrite, 2, 0));
  EXPECT_EQ(stream.Size(), 2u);
  const uint8_t next = 7;
  ASSERT_TRUE(stream.Write(&next, 1));
  EXPECT_EQ(stream.Size(), 3u);
  EXPECT_EQ(std::memcmp(stream.Data(), "\x09\x09\x07\x04\x05\x06", 6), 0);
}

TEST(NetStream, PositionPastTheEndMakesWritesFailUntilRewound) {
  NetStream stream(8);
  const uint8_t byte = 1;
  EXPECT_FALSE(stream.Write(&byte, 1, 100));
  EXPECT_FALSE(stream.Write(&byte, 1));
  EXPECT_TRUE(stream.Write(&byte, 1, 7));
  EXPECT_EQ(stream.Size(), 8u);
  EXPECT_FALSE(stream.Write(&byte, 1));
}

TEST(NetStream, ResizeDiscardsTheContents) {
  for (uint32_t newCapacity : {16u, 32u}) {  // the same capacity and a new one
    NetStream stream(16);
    const char text[] = "payload-bytes";
    ASSERT_TRUE(stream.Write(text, sizeof text));
    stream.Resize(newCapacity);
    EXPECT_EQ(stream.Capacity(), newCapacity);
    EXPECT_EQ(stream.Size(), 0u);
    char read[sizeof text];
    ASSERT_TRUE(stream.Read(read, sizeof read));
    EXPECT_EQ(std::vector<char>(read, read + sizeof read), std::vector<char>(sizeof read, 0));
  }
}

TEST(NetStream, ResetZeroesEverythingAndUnwrittenBytesReadAsZero) {
  NetStream stream(512);
  const uint64_t marker = 0x1122334455667788ull;
  ASSERT_TRUE(stream.Write(&marker, 8));
  ASSERT_TRUE(stream.Write(&marker, 8, 500));
  stream.Reset();
  EXPECT_EQ(stream.Size(), 0u);
  uint64_t value = 99;
  ASSERT_TRUE(stream.Read(&value, 8, 0));
  EXPECT_EQ(value, 0u);
  ASSERT_TRUE(stream.Read(&value, 8, 500));
  EXPECT_EQ(value, 0u);
}

TEST(NetStream, PeekThenReadGiveTheSameBytesAndAdvanceOnce) {
  NetStream stream(16);
  const uint32_t values[2] = {0x01020304, 0x05060708};
  ASSERT_TRUE(stream.Write(values, sizeof values));
  uint32_t peeked = 0;
  uint32_t read = 0;
  ASSERT_TRUE(stream.Peek(&peeked, 4));
  ASSERT_TRUE(stream.Read(&read, 4));
  EXPECT_EQ(peeked, values[0]);
  EXPECT_EQ(read, values[0]);
  ASSERT_TRUE(stream.Read(&read, 4));
  EXPECT_EQ(read, values[1]);
  // A position given to Peek still moves the read position.
  ASSERT_TRUE(stream.Peek(&peeked, 4, 0));
  ASSERT_TRUE(stream.Read(&read, 4));
  EXPECT_EQ(read, values[0]);
}

TEST(NetStream, ReadsAreBoundedByCapacityNotBySizeAndAFailedReadKeepsTheDestination) {
  NetStream stream(6);
  const uint32_t value = 7;
  ASSERT_TRUE(stream.Write(&value, 4));
  uint32_t first = 0;
  uint32_t second = 0xDEADBEEF;
  EXPECT_TRUE(stream.Read(&first, 4));
  EXPECT_EQ(first, 7u);
  EXPECT_FALSE(stream.Read(&second, 4));  // 4 + 4 > 6
  EXPECT_EQ(second, 0xDEADBEEFu);
  uint16_t tail = 1;
  EXPECT_TRUE(stream.Read(&tail, 2));  // unwritten, inside the capacity
  EXPECT_EQ(tail, 0u);
}

TEST(NetStream, ValuesAreCopiedLittleEndian) {
  struct Case {
    const char* name;
    std::vector<uint8_t> expected;
    bool (*write)(NetStream&);
  };
  const Case cases[] = {
      {"uint32", {0x44, 0x33, 0x22, 0x11}, [](NetStream& s) { return s.WriteValue(uint32_t{0x11223344}); }},
      {"int32 -2", {0xFE, 0xFF, 0xFF, 0xFF}, [](NetStream& s) { return s.WriteValue(int32_t{-2}); }},
      {"float 1.0", {0x00, 0x00, 0x80, 0x3F}, [](NetStream& s) { return s.WriteValue(1.0f); }},
      {"bool", {0x01}, [](NetStream& s) { return s.WriteValue(true); }},
  };
  for (const Case& c : cases) {
    NetStream stream(8);
    ASSERT_TRUE(c.write(stream)) << c.name;
    EXPECT_EQ(std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size()), c.expected) << c.name;
  }
}

TEST(NetStream, TypedValuesRoundTrip) {
  NetStream stream(32);
  ASSERT_TRUE(stream.WriteValue(-12.5f));
  ASSERT_TRUE(stream.WriteValue(int32_t{-3}));
  ASSERT_TRUE(stream.WriteValue(uint8_t{200}));
  float f = 0;
  int32_t i = 0;
  uint8_t b = 0;
  ASSERT_TRUE(stream.PeekValue(f));
  EXPECT_EQ(f, -12.5f);
  ASSERT_TRUE(stream.ReadValue(f));
  ASSERT_TRUE(stream.ReadValue(i));
  ASSERT_TRUE(stream.ReadValue(b));
  EXPECT_EQ(i, -3);
  EXPECT_EQ(b, 200);
}

TEST(NetMessage, StartsWithA512ByteEmptyStream) {
  NetMessage message;
  EXPECT_EQ(message.type, 0u);
  EXPECT_EQ(message.stream.Capacity(), 512u);
  EXPECT_EQ(message.stream.Size(), 0u);
  NetMessage removal(4, 4);
  EXPECT_EQ(removal.type, 4u);
  EXPECT_EQ(removal.stream.Capacity(), 4u);
}

TEST(NetStream, ZeroCapacityStreamRefusesEveryNonEmptyCopy) {
  NetStream stream(0);
  uint8_t byte = 5;
  EXPECT_TRUE(stream.Write(&byte, 0));
  EXPECT_FALSE(stream.Write(&byte, 1));
  EXPECT_FALSE(stream.Read(&byte, 1));
  EXPECT_EQ(byte, 5);
}
