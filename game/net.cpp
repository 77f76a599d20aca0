#include "game/net.h"

#include <cstring>

#include "orvix/memtrack.h"

namespace {

// A fresh buffer reads as zeros, never as whatever the heap held before.
uint8_t* AllocateZeroed(uint32_t capacity) { return OX_NEW uint8_t[capacity == 0 ? 1 : capacity](); }

bool Fits(uint32_t position, uint32_t count, uint32_t capacity) {
  return static_cast<uint64_t>(position) + count <= capacity;
}

}  // namespace

NetStream::NetStream(uint32_t capacity) : m_capacity(capacity), m_data(AllocateZeroed(capacity)) {}

NetStream::~NetStream() {
  OX_DELETE[] m_data;
  m_data = nullptr;
  m_capacity = 0;
  m_writePos = 0;
  m_readPos = 0;
}

void NetStream::Resize(uint32_t newCapacity) {
  if (newCapacity == m_capacity) {
    // Every received message is resized to its length; most have the length
    // of the one before, and the buffer can stay.
    std::memset(m_data, 0, m_capacity);
  } else {
    OX_DELETE[] m_data;
    m_data = AllocateZeroed(newCapacity);
    m_capacity = newCapacity;
  }
  m_writePos = 0;
  m_readPos = 0;
}

bool NetStream::Write(const void* source, uint32_t count, int position) {
  if (position >= 0) m_writePos = static_cast<uint32_t>(position);
  if (!Fits(m_writePos, count, m_capacity)) return false;
  if (count > 0) std::memcpy(m_data + m_writePos, source, count);
  m_writePos += count;
  return true;
}

bool NetStream::Read(void* destination, uint32_t count, int position) {
  return CopyOut(destination, count, position, true);
}

bool NetStream::Peek(void* destination, uint32_t count, int position) {
  return CopyOut(destination, count, position, false);
}

bool NetStream::CopyOut(void* destination, uint32_t count, int position, bool advance) {
  if (position >= 0) m_readPos = static_cast<uint32_t>(position);
  if (!Fits(m_readPos, count, m_capacity)) return false;
  if (count > 0) std::memcpy(destination, m_data + m_readPos, count);
  if (advance) m_readPos += count;
  return true;
}

void NetStream::Reset() {
  std::memset(m_data, 0, m_capacity);
  m_writePos = 0;
  m_readPos = 0;
}
