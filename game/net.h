// NetStream: the byte buffer every network payload is built in and read from.
// NetMessage: a payload with its 32-bit message type, the unit the connection
// sends and receives.
//
// Values are copied in and out as the bytes they lie in memory: integers and
// floats little-endian (this platform's order), booleans one byte, texts as
// fixed-width zero-padded arrays, records as their bytes. A payload is the
// concatenation of its fields with no tags, lengths or padding between them.
#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>

static_assert(std::endian::native == std::endian::little,
              "payloads are copied as they lie in memory and must be little-endian");

class NetStream {
 public:
  explicit NetStream(uint32_t capacity);
  ~NetStream();
  NetStream(const NetStream&) = delete;
  NetStream& operator=(const NetStream&) = delete;

  // Drops the contents and makes the buffer exactly newCapacity bytes, zeroed,
  // with both positions at the start.
  void Resize(uint32_t newCapacity);

  // A position of 0 or more moves the write (or read) position there first,
  // even when the call then fails. A call that would pass the capacity copies
  // nothing and returns false. Reads are bounded by the capacity, not by what
  // was written.
  bool Write(const void* source, uint32_t count, int position = -1);
  bool Read(void* destination, uint32_t count, int position = -1);
  // As Read, but the read position does not advance.
  bool Peek(void* destination, uint32_t count, int position = -1);

  // Zeroes the whole buffer and moves both positions back to the start.
  void Reset();

  // Bytes written: the write position's offset from the start.
  uint32_t Size() const { return m_writePos; }
  uint32_t Capacity() const { return m_capacity; }
  uint8_t* Data() { return m_data; }
  const uint8_t* Data() const { return m_data; }

  // One value as its bytes, for the fixed-size fields of the message tables.
  template <typename T>
  bool WriteValue(const T& value, int position = -1) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Write(&value, sizeof(T), position);
  }
  template <typename T>
  bool ReadValue(T& value, int position = -1) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Read(&value, sizeof(T), position);
  }
  template <typename T>
  bool PeekValue(T& value, int position = -1) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Peek(&value, sizeof(T), position);
  }

 private:
  bool CopyOut(void* destination, uint32_t count, int position, bool advance);

  uint32_t m_capacity = 0;
  uint8_t* m_data = nullptr;  // owned, m_capacity bytes
  // Offsets rather than pointers: a position given past the end must make the
  // following calls fail, not point outside the buffer.
  uint32_t m_writePos = 0;
  uint32_t m_readPos = 0;
};

struct NetMessage {
  static constexpr uint32_t kDefaultCapacity = 512;

  NetMessage() : stream(kDefaultCapacity) {}
  explicit NetMessage(uint32_t messageType, uint32_t capacity = kDefaultCapacity)
      : type(messageType), stream(capacity) {}

  uint32_t type = 0;
  NetStream stream;
};
