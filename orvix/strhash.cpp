#include "strhash.h"

#include <cstring>

#include "memtrack.h"

namespace Orvix {

StringHashTable::StringHashTable(unsigned keyLength) : m_keyLength(keyLength) {}

int32_t StringHashTable::Hash(const char* name) {
  int32_t sum = 0;
  for (const char* c = name; *c != '\0'; ++c) sum += static_cast<int8_t>(*c);
  return sum;
}

StringHashTable::Entry* StringHashTable::Find(const char* name, int32_t hash) const {
  const Bucket& bucket = m_buckets[static_cast<uint32_t>(hash) % kBucketCount];
  for (Entry* entry = bucket.head; entry != nullptr; entry = entry->next) {
    if (entry->hash == hash && std::strcmp(entry->name, name) == 0) return entry;
  }
  return nullptr;
}

bool StringHashTable::Insert(const char* name, void* value) {
  if (name == nullptr || std::strlen(name) >= m_keyLength) return false;
  const int32_t hash = Hash(name);
  if (Find(name, hash) != nullptr) return false;

  Entry* entry = OX_NEW Entry{hash, OX_NEW char[m_keyLength], value, nullptr};
  std::strncpy(entry->name, name, m_keyLength);
  Bucket& bucket = m_buckets[static_cast<uint32_t>(hash) % kBucketCount];
  if (bucket.tail != nullptr) {
    bucket.tail->next = entry;
  } else {
    bucket.head = entry;
  }
  bucket.tail = entry;
  ++bucket.count;
  ++m_count;
  return true;
}

void* StringHashTable::Lookup(const char* name) const {
  if (name == nullptr) return nullptr;
  const Entry* entry = Find(name, Hash(name));
  return entry != nullptr ? entry->value : nullptr;
}

bool StringHashTable::Contains(const char* name) const {
  return name != nullptr && Find(name, Hash(name)) != nullptr;
}

unsigned StringHashTable::RemoveValue(const void* value) {
  unsigned removed = 0;
  for (Bucket& bucket : m_buckets) {
    Entry* previous = nullptr;
    Entry* entry = bucket.head;
    while (entry != nullptr) {
      Entry* next = entry->next;
      if (entry->value == value) {
        if (previous != nullptr) {
          previous->next = next;
        } else {
          bucket.head = next;
        }
        if (bucket.tail == entry) bucket.tail = previous;
        --bucket.count;
        --m_count;
        ++removed;
        OX_DELETE[] entry->name;
        OX_DELETE entry;
      } else {
        previous = entry;
      }
      entry = next;
    }
  }
  return removed;
}

void StringHashTable::Clear() {
  for (Bucket& bucket : m_buckets) {
    Entry* entry = bucket.head;
    while (entry != nullptr) {
      Entry* next = entry->next;
      OX_DELETE[] entry->name;
      OX_DELETE entry;
      entry = next;
    }
    bucket = Bucket{};
  }
  m_count = 0;
}

void StringHashTable::ForEach(Visitor visit, void* context) const {
  for (const Bucket& bucket : m_buckets) {
    for (const Entry* entry = bucket.head; entry != nullptr; entry = entry->next) {
      visit(entry->name, entry->value, context);
    }
  }
}

}  // namespace Orvix
