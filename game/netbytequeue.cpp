#include "game/netbytequeue.h"

#include <cstring>

#include "orvix/memtrack.h"

namespace {
constexpr uint32_t kInitialCapacity = 16 * 1024;
}

NetByteQueue::~NetByteQueue() { Release(); }

void NetByteQueue::Append(const void* bytes, uint32_t count) {
  if (count == 0) return;
  std::memcpy(Reserve(count), bytes, count);
  Commit(count);
}

uint8_t* NetByteQueue::Reserve(uint32_t count) {
  if (m_capacity - m_end >= count) return m_data + m_end;
  const uint32_t used = Size();
  if (m_capacity - used >= count && m_begin >= used) {
    // Moving the queued bytes to the front costs no more than the bytes
    // consumed since the last move, so it stays cheap however full we run.
    std::memmove(m_data, m_data + m_begin, used);
  } else {
    // Twice what is needed, so that the next moves stay cheap too.
    uint32_t capacity = kInitialCapacity;
    while (capacity < 2 * (used + count)) capacity *= 2;
    uint8_t* data = OX_NEW uint8_t[capacity];
    if (used > 0) std::memcpy(data, m_data + m_begin, used);
    OX_DELETE[] m_data;
    m_data = data;
    m_capacity = capacity;
  }
  m_begin = 0;
  m_end = used;
  return m_data + m_end;
}

void NetByteQueue::Consume(uint32_t count) {
  m_begin += count < Size() ? count : Size();
  if (m_begin == m_end) m_begin = m_end = 0;
}

void NetByteQueue::Release() {
  OX_DELETE[] m_data;
  m_data = nullptr;
  m_capacity = 0;
  m_begin = m_end = 0;
}
