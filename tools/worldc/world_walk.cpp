#include "world_walk.h"

#include <array>
#include <deque>
#include <set>
#include <tuple>

#include "tile_rules.h"

namespace World {

namespace {

// The hero moves on a 16-pixel grid; its collision box is the lower half of
// its 32 x 32 picture, so it covers two neighbouring quarter-tiles in one
// quarter row. A node is the left one of those quarters plus the hero's
// "still on the stairs it came up" flag.
constexpr int kQuarterColumns = kMapColumns * 2;
constexpr int kQuarterRows = kLayerRows * 2;

struct Node {
  int fx = 0;
  int fy = 0;
  bool onStairs = false;
};

int NodeIndex(const Node& node) {
  return ((node.fy * kQuarterColumns) + node.fx) * 2 + (node.onStairs ? 1 : 0);
}

RoomId RoomOfTile(int column, int row) { return RoomId{column / kRoomColumns, row / kRoomRows}; }

bool InWorld(RoomId room) {
  return room.x >= 0 && room.x < kWorldRoomsX && room.y >= 0 && room.y < kWorldRoomsY;
}

int RoomIndex(RoomId room) { return room.y * kWorldRoomsX + room.x; }

using OpenDoors = std::vector<std::array<bool, kWallCount>>;

// Layer 0 as the hero meets it: door cells of dungeon rooms show their door
// as this walk has opened it.
class WalkTiles {
 public:
  WalkTiles(const WorldMap& map, const OpenDoors& open) : map_(map), open_(open) {}

  uint8_t At(int column, int row) const {
    const uint8_t tile = map_.Tile(0, column, row);
    if (column < 0 || row < 0 || column >= kMapColumns || row >= kLayerRows) return tile;
    const RoomId room = RoomOfTile(column, row);
    const RoomRecord& record = map_.Room(room);
    if (!record.dungeonFlag) return tile;
    const int c = column - room.x * kRoomColumns;
    const int r = row - room.y * kRoomRows;
    for (int wall = 0; wall < kWallCount; ++wall) {
      const int state = record.doors[wall];
      if (state < kDoorOpen || state > kDoorLocked) continue;
      const DoorCells cells = DoorCellsOf(wall);
      for (int i = 0; i < cells.count; ++i) {
        if (cells.column[i] != c || cells.row != r) continue;
        // A locked door is counted, not refused: the hero carries keys.
        const bool open = open_[RoomIndex(room)][wall] || state == kDoorLocked;
        return DoorTile(wall, open ? static_cast<int>(kDoorOpen) : state, i);
      }
    }
    return tile;
  }

  // The hero's four probe points, each tested against its quarter of the tile.
  bool Fits(int x, int y) const {
    static constexpr int kProbes[4][2] = {{2, 16}, {30, 31}, {30, 16}, {2, 31}};
    for (const auto& probe : kProbes) {
      const int px = x + probe[0];
      const int py = y + probe[1];
      if (px < 0 || py < 0) return false;
      const int quadrant = ((py % 32) >= 16 ? 2 : 0) + ((px % 32) >= 16 ? 1 : 0);
      if (!HeroQuadrantFree(At(px / 32, py / 32), quadrant)) return false;
    }
    return true;
  }

  bool NodeFits(const Node& node) const { return Fits(node.fx * 16, (node.fy - 1) * 16); }

 private:
  const WorldMap& map_;
  const OpenDoors& open_;
};

// The tile the game tests for stairs and for the hero's room.
void CheckCell(const Node& node, int* column, int* row) {
  *column = (node.fx + 1) / 2;
  *row = node.fy / 2;
}

RoomId RoomOfNode(const Node& node) {
  int column = 0, row = 0;
  CheckCell(node, &column, &row);
  return RoomOfTile(column, row);
}

struct LegKey {
  int entry;
  int returnColumn;
  int returnRow;
  bool operator<(const LegKey& other) const {
    return std::tie(entry, returnColumn, returnRow) <
           std::tie(other.entry, other.returnColumn, other.returnRow);
  }
};

class Walker {
 public:
  Walker(const WorldMap& map, const OpenDoors& open) : map_(map), tiles_(map, open) {}

  WalkResult Run() {
    WalkResult result;
    result.roomsReached.assign(kWorldRoomsX * kWorldRoomsY, false);
    inside_.assign(kWorldRoomsX * kWorldRoomsY, false);
    const Node start{kStartColumn * 2, kStartRow * 2 + 1, false};
    result.startFits = tiles_.NodeFits(start);
    WalkLeg first;
    first.arrivalFits = result.startFits;
    first.arrivalRoom = RoomOfNode(start);
    first.stairsColumn = kStartColumn;
    first.stairsRow = kStartRow;
    pending_.push_back({start, first});
    while (!pending_.empty()) {
      auto [entry, leg] = pending_.front();
      pending_.pop_front();
      if (leg.arrivalFits) Explore(entry, &leg);
      for (size_t i = 0; i < leg.roomsReached.size(); ++i) {
        if (leg.roomsReached[i]) result.roomsReached[i] = true;
      }
      result.legs.push_back(std::move(leg));
    }
    result.insideReached = inside_;
    return result;
  }

 private:
  void Explore(const Node& entry, WalkLeg* leg) {
    leg->roomsReached.assign(kWorldRoomsX * kWorldRoomsY, false);
    std::vector<uint8_t> visited(static_cast<size_t>(kQuarterColumns) * kQuarterRows * 2, 0);
    std::deque<Node> queue;
    Enter(entry, leg, &visited, &queue);
    static constexpr int kSteps[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
    while (!queue.empty()) {
      const Node node = queue.front();
      queue.pop_front();
      const RoomId here = RoomOfNode(node);
      for (const auto& step : kSteps) {
        Node next{node.fx + step[0], node.fy + step[1], node.onStairs};
        if (next.fx < 0 || next.fy < 1 || next.fx + 1 >= kQuarterColumns || next.fy >= kQuarterRows) continue;
        if (!tiles_.NodeFits(next)) continue;
        const RoomId there = RoomOfNode(next);
        if (there.y > here.y && map_.Room(here).exitFlag) {
          leg->reachesExit = true;  // the hero is taken back up the stairs it came down
          continue;
        }
        Enter(next, leg, &visited, &queue);
      }
    }
  }

  // Puts the hero on `node`, or sends it down the stairs found there.
  void Enter(Node node, WalkLeg* leg, std::vector<uint8_t>* visited, std::deque<Node>* queue) {
    int column = 0, row = 0;
    CheckCell(node, &column, &row);
    if (map_.Tile(0, column, row) == kStairsTile) {
      if (!node.onStairs) {
        Descend(column, row);
        return;
      }
    } else {
      node.onStairs = false;
    }
    const int index = NodeIndex(node);
    if ((*visited)[index]) return;
    (*visited)[index] = 1;
    const RoomId room = RoomOfNode(node);
    if (InWorld(room)) {
      leg->roomsReached[RoomIndex(room)] = true;
      const int c = column - room.x * kRoomColumns;
      const int r = row - room.y * kRoomRows;
      if (c >= 2 && c <= kRoomColumns - 3 && r >= 2 && r <= kRoomRows - 3) inside_[RoomIndex(room)] = true;
    }
    queue->push_back(node);
  }

  void Descend(int stairsColumn, int stairsRow) {
    const RoomId stairsRoom = RoomOfTile(stairsColumn, stairsRow);
    const int32_t cell = map_.Room(stairsRoom).startCell;
    // The hero lands half a tile right of the start cell.
    const Node arrival{2 * (cell % kMapColumns) + 1, 2 * (cell / kMapColumns) + 1, false};
    const LegKey key{cell, stairsColumn, stairsRow};
    if (!legsSeen_.insert(key).second) return;
    WalkLeg leg;
    leg.fromStairs = true;
    leg.stairsRoom = stairsRoom;
    leg.stairsColumn = stairsColumn;
    leg.stairsRow = stairsRow;
    leg.arrivalRoom = RoomOfTile(cell % kMapColumns, cell / kMapColumns);
    leg.arrivalFits = cell >= 0 && cell < kLayerBytes && tiles_.NodeFits(arrival);
    leg.roomsReached.assign(kWorldRoomsX * kWorldRoomsY, false);
    pending_.push_back({arrival, std::move(leg)});
  }

  const WorldMap& map_;
  WalkTiles tiles_;
  std::deque<std::pair<Node, WalkLeg>> pending_;
  std::set<LegKey> legsSeen_;
  std::vector<bool> inside_;
};

// Doors a hero opens by being inside their room: push-block doors (the block
// is pushed) and shutters (the monsters are beaten).
bool OpenDoorsOfReachedRooms(const WorldMap& map, const WalkResult& walk, OpenDoors* open) {
  bool changed = false;
  for (int y = 0; y < kWorldRoomsY; ++y) {
    for (int x = 0; x < kWorldRoomsX; ++x) {
      const RoomId room{x, y};
      if (!walk.insideReached[RoomIndex(room)]) continue;
      for (int wall = 0; wall < kWallCount; ++wall) {
        const int state = map.Room(room).doors[wall];
        if ((state == kDoorPushBlock || state == kDoorShutter) && !(*open)[RoomIndex(room)][wall]) {
          (*open)[RoomIndex(room)][wall] = true;
          changed = true;
        }
      }
    }
  }
  return changed;
}

}  // namespace

bool HeroFits(const WorldMap& map, int x, int y) {
  const OpenDoors closed(kWorldRoomsX * kWorldRoomsY, std::array<bool, kWallCount>{});
  return WalkTiles(map, closed).Fits(x, y);
}

WalkResult WalkWorld(const WorldMap& map) {
  OpenDoors open(kWorldRoomsX * kWorldRoomsY, std::array<bool, kWallCount>{});
  for (int i = 0; i < kWorldRoomsX * kWorldRoomsY; ++i) {
    for (int wall = 0; wall < kWallCount; ++wall)
      open[i][wall] = map.Room(RoomId{i % 16, i / 16}).doors[wall] == kDoorOpen;
  }
  WalkResult walk;
  do {
    walk = Walker(map, open).Run();
  } while (OpenDoorsOfReachedRooms(map, walk, &open));
  for (int y = 0; y < kWorldRoomsY; ++y) {
    for (int x = 0; x < kWorldRoomsX; ++x) {
      const RoomRecord& record = map.Room(RoomId{x, y});
      if (!walk.Reached(RoomId{x, y}) || !record.dungeonFlag) continue;
      for (int32_t state : record.doors) walk.lockedDoorsMet += state == kDoorLocked ? 1 : 0;
    }
  }
  return walk;
}

}  // namespace World
