#include "validator.h"

#include <sstream>

#include "entity_types.h"
#include "tile_rules.h"
#include "world_walk.h"

namespace World {

namespace {

using Faults = std::vector<Fault>;

void Add(Faults* faults, FaultKind kind, RoomId room, const std::string& text) {
  faults->push_back(Fault{kind, room, text});
}

std::string Cell(int c, int r) { return "(" + std::to_string(c) + ", " + std::to_string(r) + ")"; }

std::string RoomName(RoomId room) {
  return "(" + std::to_string(room.x) + ", " + std::to_string(room.y) + ")";
}

bool AnyTileIn(const WorldMap& map, RoomId room, int firstC, int lastC, int firstR, int lastR,
               bool (*wanted)(uint8_t)) {
  for (int r = firstR; r <= lastR; ++r) {
    for (int c = firstC; c <= lastC; ++c) {
      if (wanted(map.RoomTile(0, room, c, r))) return true;
    }
  }
  return false;
}

bool IsWater(uint8_t tile) { return tile == kWaterTile; }
bool IsStairs(uint8_t tile) { return tile == kStairsTile; }

void CheckSpawns(const WorldMap& map, RoomId room, Faults* faults) {
  const RoomRecord& record = map.Room(room);
  for (int type = 0; type < kSpawnTypes; ++type) {
    const SpawnRange range = record.spawns[type];
    if (range.maximum > 0 && (range.minimum > range.maximum || range.minimum < 0)) {
      Add(faults, FaultKind::kBadSpawnRange, room,
          "type " + std::to_string(type) + " spawns " + std::to_string(range.minimum) + " to " +
              std::to_string(range.maximum));
    }
  }
  if (record.IsPopulated() && !AnyTileIn(map, room, 2, 13, 2, 8, SpawnFree)) {
    Add(faults, FaultKind::kNoFreeTile, room,
        "monsters are spawned but the inner 12 x 7 tiles hold no free tile");
  }
  if (record.Spawns(kTypeMurla) && !AnyTileIn(map, room, 1, 14, 1, 9, IsWater)) {
    Add(faults, FaultKind::kMurlaWithoutWater, room,
        "Murlas are spawned but the inner 14 x 9 tiles hold no water");
  }
}

void CheckStairs(const WorldMap& map, RoomId room, Faults* faults) {
  if (!AnyTileIn(map, room, 0, kRoomColumns - 1, 0, kRoomRows - 1, IsStairs)) return;
  const int32_t cell = map.Room(room).startCell;
  const int column = cell % kMapColumns;
  const int row = cell / kMapColumns;
  const std::string where = "map cell " + Cell(column, row);
  if (cell < 0 || row >= kLayerRows) {
    Add(faults, FaultKind::kStairsWithoutStart, room,
        "the stairs lead outside the map (start cell " + std::to_string(cell) + ")");
  } else if (!HeroFits(map, column * 32 + 16, row * 32)) {
    Add(faults, FaultKind::kStairsWithoutStart, room,
        "the stairs lead to " + where + ", where no hero can stand");
  } else if (map.Tile(0, column + 1, row) == kStairsTile) {
    Add(faults, FaultKind::kStairsWithoutStart, room, "the stairs lead onto stairs at " + where);
  }
}

void CheckDoors(const WorldMap& map, RoomId room, Faults* faults) {
  const RoomRecord& record = map.Room(room);
  for (int wall = 0; wall < kWallCount; ++wall) {
    const int state = record.doors[wall];
    const std::string side = std::string(WallName(wall)) + " wall";
    if (state == kDoorNone) continue;
    if (state < kDoorOpen || state > kDoorLocked) {
      Add(faults, FaultKind::kDoorNeverOpens, room,
          "the " + side + " has the unknown door state " + std::to_string(state));
      continue;
    }
    if (!record.dungeonFlag) {
      Add(faults, FaultKind::kDoorNeverOpens, room,
          "the " + side + " has a door, but doors are drawn only in dungeon rooms");
    }
    const DoorCells cells = DoorCellsOf(wall);
    for (int i = 0; i < cells.count; ++i) {
      if (!IsDoorTileOf(wall, i, map.RoomTile(0, room, cells.column[i], cells.row))) {
        Add(faults, FaultKind::kDoorWithoutCells, room,
            "the " + side + " has door state " + std::to_string(state) + " but cell " +
                Cell(cells.column[i], cells.row) + " holds no door");
        break;
      }
    }
  }
}

// Push blocks: each must be movable one way the hero can push it, and the
// way must not end in a wall or water unless layer 1 marks it.
void CheckPushBlocks(const WorldMap& map, RoomId room, Faults* faults) {
  static constexpr int kDirections[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
  int blocks = 0;
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      if (map.RoomTile(1, room, c, r) != kPushBlockMark) continue;
      ++blocks;
      bool movable = false;
      for (const auto& d : kDirections) {
        const int tc = c + d[0], tr = r + d[1];
        if (tc < 1 || tc > kRoomColumns - 2 || tr < 1 || tr > kRoomRows - 2) continue;
        const int column = room.x * kRoomColumns + c, row = room.y * kRoomRows + r;
        if (!HeroFits(map, (column - d[0]) * 32, (row - d[1]) * 32)) continue;  // nowhere to push from
        if (map.RoomTile(1, room, tc, tr) != 0) continue;
        movable = true;
        if (HeroBlockFlags(map.RoomTile(0, room, tc, tr)) != 0) {
          Add(faults, FaultKind::kPushBlockPath, room,
              "the push block at " + Cell(c, r) + " can slide into the blocked tile at " + Cell(tc, tr) +
                  " (mark it on layer 1)");
        }
      }
      if (!movable) {
        Add(faults, FaultKind::kPushBlockPath, room,
            "the push block at " + Cell(c, r) +
                " cannot move: layer-1 values lie under every path a hero can push it");
      }
    }
  }
  const RoomRecord& record = map.Room(room);
  for (int wall = 0; wall < kWallCount; ++wall) {
    if (record.doors[wall] == kDoorPushBlock && blocks == 0) {
      Add(faults, FaultKind::kDoorNeverOpens, room,
          std::string("the ") + WallName(wall) + " door opens for a push block, but the room has none");
    }
  }
}

// Compares the quarters of the tiles on both sides of an edge.
void CheckEdges(const WorldMap& map, RoomId room, Faults* faults) {
  const int baseC = room.x * kRoomColumns, baseR = room.y * kRoomRows;
  auto free = [&](int column, int row, int quadrant) {
    if (column < 0 || row < 0 || column >= kMapColumns || row >= kLayerRows) return false;
    return HeroQuadrantFree(map.Tile(0, column, row), quadrant);
  };
  // Right edge (against the room to the right) and bottom edge (against the
  // room below); each room also answers for its left and top world border.
  std::ostringstream right, bottom, border;
  for (int r = 0; r < kRoomRows; ++r) {
    bool mismatch = false, open = false;
    for (int half = 0; half < 2; ++half) {
      const int row = baseR + r;
      const bool here = free(baseC + 15, row, half * 2 + 1);
      const bool there = free(baseC + 16, row, half * 2);
      mismatch = mismatch || (room.x == kWorldRoomsX - 1 ? here : here != there);
      open = open || (room.x == 0 && free(baseC, row, half * 2));
    }
    if (mismatch) right << " " << r;
    if (open) border << " left row " << r;
  }
  for (int c = 0; c < kRoomColumns; ++c) {
    bool mismatch = false, open = false;
    for (int half = 0; half < 2; ++half) {
      const int column = baseC + c;
      const bool here = free(column, baseR + 10, 2 + half);
      const bool there = free(column, baseR + 11, half);
      mismatch = mismatch || (room.y == kWorldRoomsY - 1 ? here : here != there);
      open = open || (room.y == 0 && free(column, baseR, half));
    }
    if (mismatch) bottom << " " << c;
    if (open) border << " top column " << c;
  }
  if (!right.str().empty()) {
    Add(faults, FaultKind::kEdgeMismatch, room,
        room.x == kWorldRoomsX - 1 ? "the right edge is open to the world's edge at rows" + right.str()
                                   : "the right edge and room " + RoomName(RoomId{room.x + 1, room.y}) +
                                         " disagree on what is open at rows" + right.str());
  }
  if (!bottom.str().empty()) {
    Add(faults, FaultKind::kEdgeMismatch, room,
        room.y == kWorldRoomsY - 1 ? "the bottom edge is open to the world's edge at columns" + bottom.str()
                                   : "the bottom edge and room " + RoomName(RoomId{room.x, room.y + 1}) +
                                         " disagree on what is open at columns" + bottom.str());
  }
  if (!border.str().empty()) {
    Add(faults, FaultKind::kEdgeMismatch, room, "open to the world's edge at" + border.str());
  }
}

bool HasContent(const WorldMap& map, RoomId room) {
  const RoomRecord& record = map.Room(room);
  if (record.IsPopulated() || record.exitFlag || record.dungeonFlag) return true;
  for (int32_t door : record.doors) {
    if (door != 0) return true;
  }
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      if (map.RoomTile(1, room, c, r) != 0) return true;
    }
  }
  return false;
}

void CheckWalk(const WorldMap& map, Faults* faults) {
  const RoomId startRoom{kStartColumn / kRoomColumns, kStartRow / kRoomRows};
  for (int column : {kStartColumn, kClientStartColumn}) {
    if (!HeroFits(map, column * 32, kStartRow * 32)) {
      Add(faults, FaultKind::kStartTileBlocked, startRoom,
          "the start tile " + Cell(column, kStartRow) + " is not walkable");
    }
  }
  const WalkResult walk = WalkWorld(map);
  if (!walk.startFits) return;  // nothing is reachable; the start tile fault says why
  for (int y = 0; y < kWorldRoomsY; ++y) {
    for (int x = 0; x < kWorldRoomsX; ++x) {
      const RoomId room{x, y};
      if (!walk.Reached(room) && HasContent(map, room)) {
        Add(faults, FaultKind::kUnreachableRoom, room,
            "no hero can reach this room, which has monsters, push blocks, doors or flags");
      }
    }
  }
  for (const WalkLeg& leg : walk.legs) {
    if (leg.fromStairs && leg.arrivalFits && !leg.reachesExit) {
      Add(faults, FaultKind::kNoWayBack, leg.stairsRoom,
          "the stairs at map cell " + Cell(leg.stairsColumn, leg.stairsRow) + " lead to room " +
              RoomName(leg.arrivalRoom) + ", from which no exit leads back");
    }
  }
}

}  // namespace

const char* FaultKindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::kNoFreeTile:
      return "no-free-tile";
    case FaultKind::kMurlaWithoutWater:
      return "murla-without-water";
    case FaultKind::kStairsWithoutStart:
      return "stairs-without-start";
    case FaultKind::kEdgeMismatch:
      return "edge-mismatch";
    case FaultKind::kStartTileBlocked:
      return "start-tile-blocked";
    case FaultKind::kDoorWithoutCells:
      return "door-without-cells";
    case FaultKind::kDoorNeverOpens:
      return "door-never-opens";
    case FaultKind::kPushBlockPath:
      return "push-block-path";
    case FaultKind::kBadSpawnRange:
      return "bad-spawn-range";
    case FaultKind::kUnreachableRoom:
      return "unreachable-room";
    case FaultKind::kNoWayBack:
      return "no-way-back";
  }
  return "?";
}

std::string FormatFault(const Fault& fault) {
  return "room " + RoomName(fault.room) + " [" + FaultKindName(fault.kind) + "]: " + fault.text;
}

std::vector<Fault> ValidateMap(const WorldMap& map) {
  Faults faults;
  for (int y = 0; y < kWorldRoomsY; ++y) {
    for (int x = 0; x < kWorldRoomsX; ++x) {
      const RoomId room{x, y};
      CheckSpawns(map, room, &faults);
      CheckStairs(map, room, &faults);
      CheckDoors(map, room, &faults);
      CheckPushBlocks(map, room, &faults);
      CheckEdges(map, room, &faults);
    }
  }
  CheckWalk(map, &faults);
  return faults;
}

}  // namespace World
