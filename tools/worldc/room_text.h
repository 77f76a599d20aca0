// Writes a room of a map back as room-file text (the form the compiler reads),
// so any map can be inspected, diffed or turned back into sources.
#pragma once

#include <string>

#include "wmap.h"
#include "world_source.h"

namespace World {

// The grid uses the first legend of `world` that names every tile of the
// room (the default legend first); without one it is written in hex.
std::string DumpRoom(const WorldMap& map, RoomId room, const WorldSource& world);

}  // namespace World
