// The world's editable sources and their compilation into a WorldMap.
//
// world.txt holds what all rooms share:
//   fill <value>                  layer-0 value of every room no file describes
//   legend <name>                 starts a legend; the first one is every room's default
//   tile <char> <value> [name]    a legend entry: a grid character and its tile value
// Each *.room file describes one room:
//   room <x> <y>                  first line: which room of the 16 x 30 world
//   name <text>                   shown on previews
//   legend <name>                 the legend of world.txt the grids use
//   exit | dungeon                the room's exit and dungeon flags
//   start <x> <y> <c> <r>         where this room's stairs lead: room (x, y), cell (c, r)
//   door <top|bottom|right|left> <open|push|shutter|locked|0-4>
//   spawn <type name or id> <min> <max>
//   tile <char> <value> [name]    a legend entry for this room only
//   layer0                        then 11 rows of 16 characters; `D` marks door
//                                 cells, drawn as the wall's door state
//   layer0 hex / layer1 hex       then 11 rows of 16 hexadecimal bytes
//   layer1                        then 11 rows: `.` nothing, `P` push block, `x` a
//                                 mark a push block cannot slide onto
// Lines starting with `#` are comments; text after a grid row is ignored.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "wmap.h"

namespace World {

inline constexpr char kDoorCellChar = 'D';

struct LegendEntry {
  uint8_t value = 0;
  std::string name;
};

struct Legend {
  std::map<char, LegendEntry> entries;
  // The first character given for a value, for dumping rooms as text.
  bool CharFor(uint8_t value, char* out) const;
};

struct WorldSource {
  uint8_t fill = 0;
  std::map<std::string, Legend> legends;
  std::string defaultLegend;
  std::map<int, std::string> roomNames;  // by y * 16 + x
};

// Reads world.txt. Errors are "file:line: text".
bool ParseWorldFile(const std::string& path, WorldSource* world, std::string* error);
// Reads one room file into `map` (on top of the fill). `seen` guards against
// two files describing the same room.
bool ParseRoomFile(const std::string& path, WorldSource* world, WorldMap* map, std::vector<bool>* seen,
                   std::string* error);
// Fills the map and compiles every *.room file under `roomDir`, in name order.
bool CompileWorld(const std::string& worldFile, const std::string& roomDir, WorldSource* world, WorldMap* map,
                  std::string* error);

}  // namespace World
