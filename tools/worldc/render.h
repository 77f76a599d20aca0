// Pictures of the world for review: one room at full size, or the whole
// world at a quarter of it, drawn from tilemap 0 (32 x 32 tiles, 16 a row)
// with the door tiles and arches that the game draws in dungeon rooms.
#pragma once

#include "image.h"
#include "wmap.h"

namespace World {

// 512 x 352 pixels.
ImageKit::Image RenderRoom(const WorldMap& map, const ImageKit::Image& tiles, RoomId room);

// Every room that is not plain `fill`, framed and labelled with its
// coordinates, each tile drawn 8 x 8 pixels.
ImageKit::Image RenderOverview(const WorldMap& map, const ImageKit::Image& tiles, uint8_t fill);

}  // namespace World
