// A table from names to pointers, shared by the sprite-type names and the
// engine settings. 17 buckets of singly chained entries; an entry keeps a
// copy of its name in a buffer of exactly the key length, so names must be
// shorter than the key length. Within a bucket entries stay in the order in
// which they were inserted.
#pragma once

#include <cstdint>

#include "orvixapi.h"

namespace Orvix {

class ORVIX_API StringHashTable {
 public:
  static constexpr unsigned kBucketCount = 17;

  explicit StringHashTable(unsigned keyLength);
  ~StringHashTable() { Clear(); }
  StringHashTable(const StringHashTable&) = delete;
  StringHashTable& operator=(const StringHashTable&) = delete;

  // False, changing nothing, when the name is already present, is null or is
  // not shorter than the key length.
  bool Insert(const char* name, void* value);
  // The value stored under exactly this name (case-sensitive), or null.
  void* Lookup(const char* name) const;
  bool Contains(const char* name) const;
  // Removes every entry holding `value`; the number removed.
  unsigned RemoveValue(const void* value);
  // Frees every entry and its name copy.
  void Clear();

  unsigned Count() const { return m_count; }
  unsigned KeyLength() const { return m_keyLength; }

  // Calls `visit` for every entry, bucket 0 to 16 and within a bucket in
  // insertion order.
  using Visitor = void (*)(const char* name, void* value, void* context);
  void ForEach(Visitor visit, void* context) const;

  // The sum of the name's characters taken as signed bytes.
  static int32_t Hash(const char* name);
  static unsigned BucketOf(const char* name) { return static_cast<uint32_t>(Hash(name)) % kBucketCount; }

 private:
  struct Entry {
    int32_t hash;
    char* name;  // owned, key length bytes
    void* value;
    Entry* next;
  };
  struct Bucket {
    Entry* head = nullptr;
    Entry* tail = nullptr;
    unsigned count = 0;
  };

  Entry* Find(const char* name, int32_t hash) const;

  Bucket m_buckets[kBucketCount];
  unsigned m_keyLength;
  unsigned m_count = 0;
};

}  // namespace Orvix
