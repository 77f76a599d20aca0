// Room files: properties, a legend of their own and the grids of both layers.
#include "world_source.h"

#include "entity_types.h"
#include "source_text.h"
#include "tile_rules.h"

namespace World {

namespace {

int WallByName(const std::string& name) {
  for (int wall = 0; wall < kWallCount; ++wall) {
    if (name == WallName(wall)) return wall;
  }
  return -1;
}

int DoorStateByName(const std::string& name) {
  static const char* const kNames[] = {"none", "open", "push", "shutter", "locked"};
  for (int state = 0; state <= kDoorLocked; ++state) {
    if (name == kNames[state]) return state;
  }
  int state = -1;
  return ParseInt(name, 0, kDoorLocked, &state) ? state : -1;
}

// Which door cell (wall and index) room cell (c, r) is; false for other cells.
bool DoorCellAt(int c, int r, int* wall, int* index) {
  for (int w = 0; w < kWallCount; ++w) {
    const DoorCells cells = DoorCellsOf(w);
    for (int i = 0; i < cells.count; ++i) {
      if (cells.column[i] == c && cells.row == r) {
        *wall = w;
        *index = i;
        return true;
      }
    }
  }
  return false;
}

// One room being read: its grids wait until the whole file is known, because
// door cells take their tiles from door lines that may follow the grid.
struct RoomDraft {
  RoomId id;
  RoomRecord record;
  Legend legend;
  bool hasLayer[kLayers] = {false, false};
  std::vector<std::string> rows[kLayers];
  bool hex[kLayers] = {false, false};
};

bool ReadGrid(SourceReader& reader, RoomDraft* draft, int layer, bool hex, std::string* error) {
  draft->hasLayer[layer] = true;
  draft->hex[layer] = hex;
  std::string line;
  for (int r = 0; r < kRoomRows; ++r) {
    if (!reader.Next(&line)) {
      *error = reader.Where() + "the grid ends after " + std::to_string(r) + " of 11 rows";
      return false;
    }
    if (hex) {
      const std::vector<std::string> words = Words(line);
      if (words.size() != static_cast<size_t>(kRoomColumns)) {
        *error = reader.Where() + "a hex row holds 16 values, this one " + std::to_string(words.size());
        return false;
      }
      std::string bytes;
      for (const std::string& word : words) {
        int value = 0;
        if (word.size() != 2 || !ParseInt("0x" + word, 0, 255, &value)) {
          *error = reader.Where() + "'" + word + "' is no two-digit hexadecimal value";
          return false;
        }
        bytes.push_back(static_cast<char>(value));
      }
      draft->rows[layer].push_back(bytes);
    } else {
      if (line.size() < static_cast<size_t>(kRoomColumns) ||
          (line.size() > static_cast<size_t>(kRoomColumns) && line[kRoomColumns] != ' ' &&
           line[kRoomColumns] != '\t')) {
        *error = reader.Where() + "a grid row is 16 characters wide";
        return false;
      }
      draft->rows[layer].push_back(line.substr(0, kRoomColumns));
    }
  }
  return true;
}

bool ParseRoomLine(const std::string& line, RoomDraft* draft, SourceReader& reader, std::string* error) {
  const std::vector<std::string> words = Words(line);
  const std::string& key = words[0];
  std::string problem;
  if (key == "name") {
    return true;  // read by the caller
  } else if (key == "exit" && words.size() == 1) {
    draft->record.exitFlag = 1;
  } else if (key == "dungeon" && words.size() == 1) {
    draft->record.dungeonFlag = 1;
  } else if (key == "start") {
    int x = 0, y = 0, c = 0, r = 0;
    if (words.size() != 5 || !ParseInt(words[1], 0, kWorldRoomsX - 1, &x) ||
        !ParseInt(words[2], 0, kWorldRoomsY - 1, &y) || !ParseInt(words[3], 0, kRoomColumns - 1, &c) ||
        !ParseInt(words[4], 0, kRoomRows - 1, &r)) {
      problem = "expected: start <room x 0-15> <room y 0-29> <cell column 0-15> <cell row 0-10>";
    } else {
      draft->record.startCell = CellIndex(RoomId{x, y}, c, r);
    }
  } else if (key == "door") {
    const int wall = words.size() == 3 ? WallByName(words[1]) : -1;
    const int state = words.size() == 3 ? DoorStateByName(words[2]) : -1;
    if (wall < 0 || state < 0) {
      problem = "expected: door <top|bottom|right|left> <none|open|push|shutter|locked>";
    } else {
      draft->record.doors[wall] = state;
    }
  } else if (key == "spawn") {
    int type = words.size() == 4 ? EntityTypeByName(words[1]) : -1;
    int minimum = 0, maximum = 0;
    if (words.size() != 4 || (type < 0 && !ParseInt(words[1], 0, kSpawnTypes - 1, &type)) ||
        !ParseInt(words[2], -128, 127, &minimum) || !ParseInt(words[3], -128, 127, &maximum)) {
      problem = "expected: spawn <type name or id 0-63> <min> <max>";
    } else {
      draft->record.spawns[type] = SpawnRange{static_cast<int8_t>(minimum), static_cast<int8_t>(maximum)};
    }
  } else if (key == "tile") {
    if (!ParseLegendLine(line, words, &draft->legend, &problem)) {
      *error = reader.Where() + problem;
      return false;
    }
  } else if ((key == "layer0" || key == "layer1") &&
             (words.size() == 1 || (words.size() == 2 && words[1] == "hex"))) {
    const int layer = key == "layer0" ? 0 : 1;
    if (draft->hasLayer[layer]) {
      problem = key + " is given twice";
    } else {
      return ReadGrid(reader, draft, layer, words.size() == 2, error);
    }
  } else {
    problem = "unknown line '" + line + "'";
  }
  if (!problem.empty()) {
    *error = reader.Where() + problem;
    return false;
  }
  return true;
}

bool CellValue(const RoomDraft& draft, int layer, int c, int r, uint8_t* value, std::string* problem) {
  const char symbol = draft.rows[layer][r][c];
  if (draft.hex[layer]) {
    *value = static_cast<uint8_t>(symbol);
    return true;
  }
  if (layer == 1) {
    switch (symbol) {
      case '.':
        *value = 0;
        return true;
      case 'P':
        *value = kPushBlockMark;
        return true;
      case 'x':
        *value = 1;
        return true;
      default:
        *problem = std::string("layer 1 knows '.', 'P' and 'x', not '") + symbol + "'";
        return false;
    }
  }
  if (symbol == kDoorCellChar) {
    int wall = 0, index = 0;
    if (!DoorCellAt(c, r, &wall, &index)) {
      *problem = "a door cell 'D' stands where no wall has its door";
      return false;
    }
    const int state = draft.record.doors[wall];
    if (state < kDoorOpen || state > kDoorLocked) {
      *problem = std::string("a door cell 'D' on the ") + WallName(wall) + " wall, which has no door line";
      return false;
    }
    *value = DoorTile(wall, state, index);
    return true;
  }
  const auto found = draft.legend.entries.find(symbol);
  if (found == draft.legend.entries.end()) {
    *problem = std::string("'") + symbol + "' is not in the legend";
    return false;
  }
  *value = found->second.value;
  return true;
}

}  // namespace

bool ParseRoomFile(const std::string& path, WorldSource* world, WorldMap* map, std::vector<bool>* seen,
                   std::string* error) {
  SourceReader reader(path);
  if (!reader.IsOpen()) {
    *error = path + ": cannot be read";
    return false;
  }
  RoomDraft draft;
  draft.legend = world->legends[world->defaultLegend];
  bool haveRoom = false;
  std::string name;
  std::string line;
  while (reader.Next(&line)) {
    if (IsBlankOrComment(line)) continue;
    const std::vector<std::string> words = Words(line);
    if (!haveRoom) {
      int x = 0, y = 0;
      if (words.size() != 3 || words[0] != "room" || !ParseInt(words[1], 0, kWorldRoomsX - 1, &x) ||
          !ParseInt(words[2], 0, kWorldRoomsY - 1, &y)) {
        *error = reader.Where() + "a room file starts with 'room <x 0-15> <y 0-29>'";
        return false;
      }
      draft.id = RoomId{x, y};
      const size_t index = static_cast<size_t>(y * kWorldRoomsX + x);
      if ((*seen)[index]) {
        *error = reader.Where() + "room " + words[1] + " " + words[2] + " is described twice";
        return false;
      }
      (*seen)[index] = true;
      haveRoom = true;
      continue;
    }
    if (words[0] == "name") name = TextAfterWords(line, 1);
    if (words[0] == "legend") {
      const auto found = world->legends.find(words.size() == 2 ? words[1] : "");
      if (found == world->legends.end() || draft.hasLayer[0]) {
        *error = reader.Where() + "expected 'legend <name>' of a legend in world.txt, before the grids";
        return false;
      }
      draft.legend = found->second;
      continue;
    }
    if (!ParseRoomLine(line, &draft, reader, error)) return false;
  }
  if (!haveRoom || !draft.hasLayer[0]) {
    *error = path + ": a room file needs its 'room' line and a layer0 grid";
    return false;
  }
  for (int layer = 0; layer < kLayers; ++layer) {
    if (!draft.hasLayer[layer]) continue;
    for (int r = 0; r < kRoomRows; ++r) {
      for (int c = 0; c < kRoomColumns; ++c) {
        uint8_t value = 0;
        std::string problem;
        if (!CellValue(draft, layer, c, r, &value, &problem)) {
          *error = path + ": layer" + std::to_string(layer) + " row " + std::to_string(r) + " column " +
                   std::to_string(c) + ": " + problem;
          return false;
        }
        map->SetRoomTile(layer, draft.id, c, r, value);
      }
    }
  }
  if (!draft.hasLayer[1]) {
    for (int r = 0; r < kRoomRows; ++r) {
      for (int c = 0; c < kRoomColumns; ++c) map->SetRoomTile(1, draft.id, c, r, 0);
    }
  }
  map->Room(draft.id) = draft.record;
  if (!name.empty()) world->roomNames[draft.id.y * kWorldRoomsX + draft.id.x] = name;
  return true;
}

}  // namespace World
