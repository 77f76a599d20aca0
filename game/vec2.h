// Two 32-bit floats: world positions in pixels, tiles and rooms.
#pragma once

#include <cmath>

struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;

  Vec2() = default;
  Vec2(float newX, float newY) : x(newX), y(newY) {}

  Vec2 operator+(Vec2 other) const { return {x + other.x, y + other.y}; }
  Vec2 operator-(Vec2 other) const { return {x - other.x, y - other.y}; }
  Vec2 operator*(float factor) const { return {x * factor, y * factor}; }
  Vec2& operator+=(Vec2 other) {
    x += other.x;
    y += other.y;
    return *this;
  }
  bool operator==(const Vec2&) const = default;
  float Length() const { return std::sqrt(x * x + y * y); }
};
