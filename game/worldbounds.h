// The world's extent, for the values a peer sends. Entities turn positions
// into tiles and rooms with integer conversions, so a position, or a place an
// entity is told to walk or slide to, must lie inside the world (and be a
// number) before anything is moved by it.
#pragma once

#include "game/vec2.h"

// The room of a room index given in floats; false for one outside the world
// or not a number, which would otherwise reach an integer conversion.
bool WorldRoomOf(float column, float row, int* roomColumn, int* roomRow);

// A pixel position inside the world.
bool InWorld(Vec2 at);

// A goal and a speed that keep a mover inside the world: walkers and sliding
// blocks step toward the goal and stop on it, so with the goal inside and a
// finite speed that is not negative, every step lies between the start and
// the goal.
bool MovesWithinWorld(Vec2 goal, float speed);
