// NetByteQueue: a first-in first-out run of bytes in one growable buffer. The
// connection keeps its unsent frames and its not yet complete received bytes
// in one each.
#pragma once

#include <cstdint>

class NetByteQueue {
 public:
  NetByteQueue() = default;
  ~NetByteQueue();
  NetByteQueue(const NetByteQueue&) = delete;
  NetByteQueue& operator=(const NetByteQueue&) = delete;

  uint32_t Size() const { return m_end - m_begin; }
  bool Empty() const { return m_end == m_begin; }
  const uint8_t* Front() const { return m_data + m_begin; }

  void Append(const void* bytes, uint32_t count);
  // Room for at least count more bytes at the back; Commit tells how many of
  // them were filled.
  uint8_t* Reserve(uint32_t count);
  void Commit(uint32_t count) { m_end += count; }
  // Drops count bytes from the front.
  void Consume(uint32_t count);
  // Forgets the contents and gives the buffer back.
  void Release();

 private:
  uint8_t* m_data = nullptr;  // owned, m_capacity bytes
  uint32_t m_capacity = 0;
  uint32_t m_begin = 0;  // first byte still queued
  uint32_t m_end = 0;    // one past the last
};
