// The game's message types, carried by NetConnection after the handshake.
// Payloads are described where each message is built and read.
#pragma once

#include <cstdint>

enum GameMessage : uint32_t {
  MSG_PLAYER_STATE = 0,  // hero x, y, direction, health (+ boomerangs from the server)
  MSG_ENTER_ROOM = 1,    // the client's scroll into a room ended: room column, row
  MSG_ENTITY_STATE = 2,  // count, then that many entity state records
  MSG_SPAWN = 3,         // a new entity's 24-byte state record
  MSG_CULL = 4,          // uid of an entity taken out of the world
  MSG_CHAT = 5,          // length, then zero-terminated text
  MSG_HIT = 6,           // uid, x, y, health, flash time, direction, push distance
  MSG_ATTACK = 7,        // the attacking hero's position
  MSG_DEATH = 8,         // uid of an entity that died
  MSG_TURN_FIRE = 9,     // uid of an enemy, the direction it turns to and fires in
  MSG_DOOR = 10,         // door side, room column, room row
  MSG_PICKUP = 11,       // pickup kind, x, y, life
  MSG_PUSH = 12,         // uid of a push block, direction of its slide
  MSG_USE_ITEM = 13,     // the hero's position
};

// The fixed part of MSG_PLAYER_STATE: x f32, y f32, direction i32, health f32.
constexpr uint32_t kPlayerStateBytes = 16;
