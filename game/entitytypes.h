// The entity types both programs agree on. The number travels in every state
// record (typeId) and indexes a room's spawn counts in the map file, so the
// numbers are fixed. The registry (CTestApp::Spawn) turns a number into an
// object with CreateEntityOfType.
#pragma once

#include <cstdint>

class Entity;
class NetConnection;

enum EntityTypeId : int32_t {
  TYPE_PELVOK_BLUE = 2,
  TYPE_MURLA = 6,
  TYPE_PELVOK_RED = 7,  // also every number the table does not name
  TYPE_GORRIT_RED = 9,
  TYPE_GORRIT_BLUE = 10,
  TYPE_SKELETON = 11,
  TYPE_BAT_BLUE = 12,
  TYPE_BAT_RED = 13,
  TYPE_SNAKE = 18,
  TYPE_PUSHBLOCK = 30,
  TYPE_RESERVED = 50,  // creates nothing
};

// A new object of the type with `net` as its connection, not yet in the
// world; null for the reserved type. The caller owns it.
Entity* CreateEntityOfType(int32_t typeId, NetConnection* net);
