// worldc: the world compiler. Builds "overworld1.wmap" from the text sources
// under content/world, checks maps, prints rooms back as text and draws them.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bmp.h"
#include "png.h"
#include "render.h"
#include "room_text.h"
#include "validator.h"
#include "wmap.h"
#include "world_source.h"

namespace {

constexpr const char* kUsage =
    "usage: worldc compile <world.txt> <room-dir> <out.wmap>\n"
    "       worldc validate <map.wmap>\n"
    "       worldc dump <map.wmap> <room-x> <room-y> [<world.txt>]\n"
    "       worldc render <map.wmap> <maptiles.bmp> <room-x> <room-y> <out.png>\n"
    "       worldc overview <map.wmap> <maptiles.bmp> <out.png> [<world.txt>]\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "worldc: %s\n", message.c_str());
  return 1;
}

bool ParseRoom(const char* xText, const char* yText, World::RoomId* room) {
  try {
    room->x = std::stoi(xText);
    room->y = std::stoi(yText);
  } catch (...) {
    return false;
  }
  return room->x >= 0 && room->x < World::kWorldRoomsX && room->y >= 0 && room->y < World::kWorldRoomsY;
}

// Prints every fault; true when there was none.
bool Report(const World::WorldMap& map, const std::string& what) {
  const std::vector<World::Fault> faults = World::ValidateMap(map);
  for (const World::Fault& fault : faults)
    std::fprintf(stderr, "%s: %s\n", what.c_str(), FormatFault(fault).c_str());
  if (!faults.empty()) std::fprintf(stderr, "%s: %zu fault(s)\n", what.c_str(), faults.size());
  return faults.empty();
}

int Compile(const std::string& worldFile, const std::string& roomDir, const std::string& out) {
  World::WorldSource source;
  World::WorldMap map;
  std::string error;
  if (!World::CompileWorld(worldFile, roomDir, &source, &map, &error)) return Fail(error);
  // A map with faults is not left behind, so the build stops until they are mended.
  std::error_code ignored;
  std::filesystem::remove(out, ignored);
  if (!Report(map, roomDir)) return 1;
  if (!map.Save(out, &error)) return Fail(error);
  return 0;
}

int Validate(const std::string& path) {
  World::WorldMap map;
  std::string error;
  if (!map.Load(path, &error)) return Fail(error);
  return Report(map, path) ? 0 : 1;
}

bool LoadWorldText(const char* path, World::WorldSource* source) {
  std::string error;
  if (path && !World::ParseWorldFile(path, source, &error)) {
    std::fprintf(stderr, "worldc: %s\n", error.c_str());
    return false;
  }
  return true;
}

int Dump(const std::string& path, World::RoomId room, const char* worldFile) {
  World::WorldMap map;
  World::WorldSource source;
  std::string error;
  if (!map.Load(path, &error)) return Fail(error);
  if (!LoadWorldText(worldFile, &source)) return 1;
  std::fputs(World::DumpRoom(map, room, source).c_str(), stdout);
  return 0;
}

int Draw(const std::string& mapPath, const std::string& tilesPath, const World::RoomId* room,
         const std::string& out, const char* worldFile) {
  World::WorldMap map;
  World::WorldSource source;
  ImageKit::Image tiles;
  std::string error;
  if (!map.Load(mapPath, &error) || !ImageKit::ReadBmp(tilesPath, &tiles, &error)) return Fail(error);
  if (!LoadWorldText(worldFile, &source)) return 1;
  const ImageKit::Image picture =
      room ? World::RenderRoom(map, tiles, *room) : World::RenderOverview(map, tiles, source.fill);
  if (!ImageKit::WritePng(out, picture, &error)) return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  World::RoomId room;
  if (command == "compile" && argc == 5) return Compile(argv[2], argv[3], argv[4]);
  if (command == "validate" && argc == 3) return Validate(argv[2]);
  if (command == "dump" && (argc == 5 || argc == 6) && ParseRoom(argv[3], argv[4], &room)) {
    return Dump(argv[2], room, argc == 6 ? argv[5] : nullptr);
  }
  if (command == "render" && argc == 7 && ParseRoom(argv[4], argv[5], &room)) {
    return Draw(argv[2], argv[3], &room, argv[6], nullptr);
  }
  if (command == "overview" && (argc == 5 || argc == 6)) {
    return Draw(argv[2], argv[3], nullptr, argv[4], argc == 6 ? argv[5] : nullptr);
  }
  std::fputs(kUsage, stderr);
  return 2;
}
