#include "game/worldbounds.h"

#include <cmath>

#include "game/entity.h"
#include "game/rendprael.h"

bool WorldRoomOf(float column, float row, int* roomColumn, int* roomRow) {
  if (!(column >= 0.0f && column < PraelRenderer::kWorldRoomsWide && row >= 0.0f &&
        row < PraelRenderer::kWorldRoomsHigh))
    return false;
  *roomColumn = static_cast<int>(column);
  *roomRow = static_cast<int>(row);
  return true;
}

bool InWorld(Vec2 at) {
  int roomColumn = 0;
  int roomRow = 0;
  return WorldRoomOf(at.x / Entity::kRoomWidthPixels, at.y / Entity::kRoomHeightPixels, &roomColumn,
                     &roomRow);
}

bool MovesWithinWorld(Vec2 goal, float speed) {
  return InWorld(goal) && std::isfinite(speed) && speed >= 0.0f;
}
