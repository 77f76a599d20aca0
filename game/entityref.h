// EntityRef<T>: a pointer to an entity kept across frames by an object that
// does not own it (a projectile's owner and heroes, for example). When the
// entity is released, every reference to it becomes null, so nothing can use
// an entity after it has gone.
#pragma once

#include "game/entity.h"

class EntityRefBase {
 public:
  EntityRefBase() = default;
  explicit EntityRefBase(Entity* entity) { Attach(entity); }
  EntityRefBase(const EntityRefBase& other) { Attach(other.m_entity); }
  EntityRefBase& operator=(const EntityRefBase& other) {
    if (this != &other) Reset(other.m_entity);
    return *this;
  }
  ~EntityRefBase() { Detach(); }

  void Reset(Entity* entity = nullptr) {
    Detach();
    Attach(entity);
  }
  Entity* GetEntity() const { return m_entity; }

  // Called by the entity's destructor for every reference still pointing at it.
  static void ClearAll(Entity* entity);

 private:
  void Attach(Entity* entity);
  void Detach();

  Entity* m_entity = nullptr;
  EntityRefBase* m_next = nullptr;  // the entity's chain of references
  EntityRefBase* m_prev = nullptr;
};

template <typename T>
class EntityRef : public EntityRefBase {
 public:
  EntityRef() = default;
  EntityRef(T* entity) : EntityRefBase(entity) {}  // NOLINT: a plain pointer converts
  EntityRef& operator=(T* entity) {
    Reset(entity);
    return *this;
  }
  T* Get() const { return static_cast<T*>(GetEntity()); }
  T* operator->() const { return Get(); }
  explicit operator bool() const { return GetEntity() != nullptr; }
};
