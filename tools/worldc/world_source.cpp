#include "world_source.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "entity_types.h"
#include "tile_rules.h"

namespace World {

namespace {

// A text file read line by line, with the position for error messages.
class SourceReader {
 public:
  explicit SourceReader(const std::string& path) : path_(path), in_(path) {}
  bool IsOpen() const { return in_.is_open(); }
  bool Next(std::string* line) {
    if (!std::getline(in_, *line)) return false;
    ++lineNumber_;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
  }
  std::string Where() const { return path_ + ":" + std::to_string(lineNumber_) + ": "; }

 private:
  std::string path_;
  std::ifstream in_;
  int lineNumber_ = 0;
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  std::string word;
  while (stream >> word) words.push_back(word);
  return words;
}

bool IsBlankOrComment(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == '#';
}

bool ParseInt(const std::string& text, int low, int high, int* value) {
  if (text.empty()) return false;
  size_t used = 0;
  long parsed = 0;
  try {
    parsed = std::stol(text, &used, 0);
  } catch (...) {
    return false;
  }
  if (used != text.size() || parsed < low || parsed > high) return false;
  *value = static_cast<int>(parsed);
  return true;
}

// The rest of the line after the first `count` words, trimmed.
std::string TextAfterWords(const std::string& line, int count) {
  size_t at = 0;
  for (int i = 0; i < count; ++i) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string::npos) return "";
    at = line.find_first_of(" \t", at);
    if (at == std::string::npos) return "";
  }
  at = line.find_first_not_of(" \t", at);
  return at == std::string::npos ? "" : line.substr(at);
}

// "tile <char> <value> [name]"
bool ParseLegendLine(const std::string& line, const std::vector<std::string>& words, Legend* legend,
                     std::string* problem) {
  int value = 0;
  if (words.size() < 3 || words[1].size() != 1 || !ParseInt(words[2], 0, 255, &value)) {
    *problem = "expected: tile <character> <value 0-255> [name]";
    return false;
  }
  const char symbol = words[1][0];
  if (symbol == kDoorCellChar) {
    *problem = std::string("'") + kDoorCellChar + "' is kept for door cells";
    return false;
  }
  legend->entries[symbol] = LegendEntry{static_cast<uint8_t>(value), TextAfterWords(line, 3)};
  return true;
}

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

bool Legend::CharFor(uint8_t value, char* out) const {
  for (const auto& [symbol, entry] : entries) {
    if (entry.value == value) {
      *out = symbol;
      return true;
    }
  }
  return false;
}

bool ParseWorldFile(const std::string& path, WorldSource* world, std::string* error) {
  SourceReader reader(path);
  if (!reader.IsOpen()) {
    *error = path + ": cannot be read";
    return false;
  }
  std::string line;
  std::string legend;
  while (reader.Next(&line)) {
    if (IsBlankOrComment(line)) continue;
    const std::vector<std::string> words = Words(line);
    std::string problem;
    int fill = 0;
    if (words[0] == "fill" && words.size() == 2 && ParseInt(words[1], 0, 255, &fill)) {
      world->fill = static_cast<uint8_t>(fill);
    } else if (words[0] == "legend" && words.size() == 2) {
      legend = words[1];
      world->legends[legend];
      if (world->defaultLegend.empty()) world->defaultLegend = legend;
    } else if (words[0] == "tile") {
      if (legend.empty()) {
        *error = reader.Where() + "a tile line belongs to a legend: start one with 'legend <name>'";
        return false;
      }
      if (!ParseLegendLine(line, words, &world->legends[legend], &problem)) {
        *error = reader.Where() + problem;
        return false;
      }
    } else {
      *error =
          reader.Where() + "expected 'fill <value>', 'legend <name>' or 'tile <character> <value> [name]'";
      return false;
    }
  }
  return true;
}

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

bool CompileWorld(const std::string& worldFile, const std::string& roomDir, WorldSource* world, WorldMap* map,
                  std::string* error) {
  if (!ParseWorldFile(worldFile, world, error)) return false;
  *map = WorldMap();
  for (int y = 0; y < kWorldRoomsY; ++y) {
    for (int x = 0; x < kWorldRoomsX; ++x) {
      for (int r = 0; r < kRoomRows; ++r) {
        for (int c = 0; c < kRoomColumns; ++c) map->SetRoomTile(0, RoomId{x, y}, c, r, world->fill);
      }
    }
  }
  std::vector<std::string> files;
  std::error_code failure;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(roomDir, failure)) {
    if (entry.is_regular_file() && entry.path().extension() == ".room")
      files.push_back(entry.path().string());
  }
  if (failure) {
    *error = roomDir + ": " + failure.message();
    return false;
  }
  // Name order, so the same sources always give the same map and messages.
  std::sort(files.begin(), files.end());
  std::vector<bool> seen(kWorldRoomsX * kWorldRoomsY, false);
  for (const std::string& file : files) {
    if (!ParseRoomFile(file, world, map, &seen, error)) return false;
  }
  return true;
}

}  // namespace World
