#include "ptrlist.h"

#include "memtrack.h"

namespace Orvix {

PtrListNode* PtrList::Append(void* value) {
  PtrListNode* node = OX_NEW PtrListNode{value, nullptr, m_tail};
  if (m_tail != nullptr) {
    m_tail->next = node;
  } else {
    m_head = node;
  }
  m_tail = node;
  ++m_count;
  return node;
}

PtrListNode* PtrList::Prepend(void* value) {
  PtrListNode* node = OX_NEW PtrListNode{value, m_head, nullptr};
  if (m_head != nullptr) {
    m_head->prev = node;
  } else {
    m_tail = node;
  }
  m_head = node;
  ++m_count;
  return node;
}

void* PtrList::RemoveHead() {
  if (m_head == nullptr) return nullptr;
  void* value = m_head->value;
  Remove(m_head);
  return value;
}

void PtrList::Remove(PtrListNode* node) {
  if (node == nullptr) return;
  if (node->prev != nullptr) {
    node->prev->next = node->next;
  } else {
    m_head = node->next;
  }
  if (node->next != nullptr) {
    node->next->prev = node->prev;
  } else {
    m_tail = node->prev;
  }
  --m_count;
  OX_DELETE node;
}

bool PtrList::RemoveValue(const void* value) {
  for (PtrListNode* node = m_head; node != nullptr; node = node->next) {
    if (node->value == value) {
      Remove(node);
      return true;
    }
  }
  return false;
}

void PtrList::Clear() {
  PtrListNode* node = m_head;
  while (node != nullptr) {
    PtrListNode* next = node->next;
    OX_DELETE node;
    node = next;
  }
  m_head = nullptr;
  m_tail = nullptr;
  m_count = 0;
}

void* PtrList::At(unsigned index) const {
  if (index >= m_count) return nullptr;
  PtrListNode* node = m_head;
  for (unsigned i = 0; i < index; ++i) node = node->next;
  return node->value;
}

}  // namespace Orvix
