// The engine's doubly chained list of pointers: head, tail and count, one
// node per value. The heaps keep their free and in-use chunks in it and the
// game keeps its entities in it. The list owns its nodes, never the values.
//
// Nodes are made and released only by the out-of-line code of the engine
// library, so a list used from the game still has all its nodes on the
// engine's memory tracker.
#pragma once

#include "orvixapi.h"

namespace Orvix {

struct PtrListNode {
  void* value;
  PtrListNode* next;
  PtrListNode* prev;
};

class ORVIX_API PtrList {
 public:
  PtrList() = default;
  ~PtrList() { Clear(); }
  PtrList(const PtrList&) = delete;
  PtrList& operator=(const PtrList&) = delete;

  // Both return the new node, whose address stays valid until it is removed.
  PtrListNode* Append(void* value);
  PtrListNode* Prepend(void* value);

  // Detaches the head and frees its node; returns its value, null when empty.
  void* RemoveHead();
  // Detaches a node of this list and frees it.
  void Remove(PtrListNode* node);
  // Removes the first node holding `value`; false when there is none.
  bool RemoveValue(const void* value);
  // Frees every node.
  void Clear();

  PtrListNode* Head() const { return m_head; }
  PtrListNode* Tail() const { return m_tail; }
  unsigned Count() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }

  // The value at position `index` counted from the head (a walk), null past
  // the end.
  void* At(unsigned index) const;

 private:
  PtrListNode* m_head = nullptr;
  PtrListNode* m_tail = nullptr;
  unsigned m_count = 0;
};

// A typed face of the list for callers that keep one kind of value in it.
template <typename T>
class TypedPtrList {
 public:
  PtrListNode* Append(T* value) { return m_list.Append(value); }
  PtrListNode* Prepend(T* value) { return m_list.Prepend(value); }
  T* RemoveHead() { return static_cast<T*>(m_list.RemoveHead()); }
  void Remove(PtrListNode* node) { m_list.Remove(node); }
  bool RemoveValue(const T* value) { return m_list.RemoveValue(value); }
  void Clear() { m_list.Clear(); }
  PtrListNode* Head() const { return m_list.Head(); }
  PtrListNode* Tail() const { return m_list.Tail(); }
  unsigned Count() const { return m_list.Count(); }
  bool IsEmpty() const { return m_list.IsEmpty(); }
  T* At(unsigned index) const { return static_cast<T*>(m_list.At(index)); }
  static T* ValueOf(const PtrListNode* node) { return static_cast<T*>(node->value); }

 private:
  PtrList m_list;
};

}  // namespace Orvix
