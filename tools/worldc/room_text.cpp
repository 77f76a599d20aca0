#include "room_text.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "entity_types.h"
#include "tile_rules.h"

namespace World {

namespace {

const char* DoorStateName(int state) {
  static const char* const kNames[] = {"none", "open", "push", "shutter", "locked"};
  return state >= 0 && state <= kDoorLocked ? kNames[state] : nullptr;
}

// True when cell (c, r) is a door cell that the room's door state draws.
bool IsDrawnDoorCell(const WorldMap& map, RoomId room, int c, int r) {
  const RoomRecord& record = map.Room(room);
  for (int wall = 0; wall < kWallCount; ++wall) {
    if (record.doors[wall] < kDoorOpen || record.doors[wall] > kDoorLocked) continue;
    const DoorCells cells = DoorCellsOf(wall);
    for (int i = 0; i < cells.count; ++i) {
      if (cells.column[i] == c && cells.row == r) return IsDoorTileOf(wall, i, map.RoomTile(0, room, c, r));
    }
  }
  return false;
}

bool LegendCovers(const WorldMap& map, RoomId room, const Legend& legend) {
  char unused = 0;
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      if (!IsDrawnDoorCell(map, room, c, r) && !legend.CharFor(map.RoomTile(0, room, c, r), &unused))
        return false;
    }
  }
  return true;
}

void WriteHexGrid(std::ostringstream& out, const WorldMap& map, RoomId room, int layer) {
  out << "layer" << layer << " hex\n";
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      char text[4];
      std::snprintf(text, sizeof text, "%02x", map.RoomTile(layer, room, c, r));
      out << (c ? " " : "") << text;
    }
    out << "\n";
  }
}

void WriteLayer1(std::ostringstream& out, const WorldMap& map, RoomId room) {
  bool any = false, plain = true;
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      const uint8_t value = map.RoomTile(1, room, c, r);
      any = any || value != 0;
      plain = plain && (value == 0 || value == 1 || value == kPushBlockMark);
    }
  }
  if (!any) return;
  if (!plain) return WriteHexGrid(out, map, room, 1);
  out << "layer1\n";
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      const uint8_t value = map.RoomTile(1, room, c, r);
      out << (value == kPushBlockMark ? 'P' : value ? 'x' : '.');
    }
    out << "\n";
  }
}

}  // namespace

std::string DumpRoom(const WorldMap& map, RoomId room, const WorldSource& world) {
  std::ostringstream out;
  const RoomRecord& record = map.Room(room);
  out << "room " << room.x << " " << room.y << "\n";
  const auto name = world.roomNames.find(room.y * kWorldRoomsX + room.x);
  if (name != world.roomNames.end()) out << "name " << name->second << "\n";
  if (record.exitFlag) out << "exit\n";
  if (record.dungeonFlag) out << "dungeon\n";
  if (record.startCell != 0) {
    const int column = record.startCell % kMapColumns, row = record.startCell / kMapColumns;
    out << "start " << column / kRoomColumns << " " << row / kRoomRows << " " << column % kRoomColumns << " "
        << row % kRoomRows << "\n";
  }
  for (int wall = 0; wall < kWallCount; ++wall) {
    if (record.doors[wall] == kDoorNone) continue;
    const char* state = DoorStateName(record.doors[wall]);
    out << "door " << WallName(wall) << " " << (state ? state : std::to_string(record.doors[wall]).c_str())
        << "\n";
  }
  for (int type = 0; type < kSpawnTypes; ++type) {
    const SpawnRange range = record.spawns[type];
    if (range.minimum == 0 && range.maximum == 0) continue;
    const std::string typeName = EntityTypeName(type);
    out << "spawn " << (EntityTypeByName(typeName) == type ? typeName : std::to_string(type)) << " "
        << int(range.minimum) << " " << int(range.maximum) << "\n";
  }
  // The default legend first, then the others by name.
  std::vector<const std::pair<const std::string, Legend>*> order;
  for (const auto& entry : world.legends) {
    if (entry.first == world.defaultLegend)
      order.insert(order.begin(), &entry);
    else
      order.push_back(&entry);
  }
  const std::pair<const std::string, Legend>* chosen = nullptr;
  for (const auto* entry : order) {
    if (LegendCovers(map, room, entry->second)) {
      chosen = entry;
      break;
    }
  }
  if (!chosen) {
    WriteHexGrid(out, map, room, 0);
  } else {
    if (chosen->first != world.defaultLegend) out << "legend " << chosen->first << "\n";
    out << "layer0\n";
    for (int r = 0; r < kRoomRows; ++r) {
      for (int c = 0; c < kRoomColumns; ++c) {
        char symbol = kDoorCellChar;
        if (!IsDrawnDoorCell(map, room, c, r)) chosen->second.CharFor(map.RoomTile(0, room, c, r), &symbol);
        out << symbol;
      }
      out << "\n";
    }
  }
  WriteLayer1(out, map, room);
  return out.str();
}

}  // namespace World
