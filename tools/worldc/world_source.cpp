#include "world_source.h"

#include <algorithm>
#include <filesystem>

#include "source_text.h"

namespace World {

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
