#include "render.h"

#include <algorithm>
#include <string>

#include "label.h"
#include "tile_rules.h"

namespace World {

namespace {

constexpr int kTileSize = 32;
constexpr int kSheetColumns = 16;
constexpr int kOverviewTile = 8;
constexpr ImageKit::Rgb kPushBlockFrame{255, 220, 0};

// Arch tiles and their room cells, by wall (top, bottom, right, left).
struct Arch {
  uint8_t tile;
  int cells;
  int column[2];
  int row;
};
constexpr Arch kArches[kWallCount] = {
    {122, 2, {7, 8}, 0}, {123, 2, {7, 8}, 10}, {120, 1, {15, 0}, 5}, {121, 1, {0, 0}, 5}};

ImageKit::Rect TileArea(uint8_t tile) {
  return ImageKit::Rect{(tile % kSheetColumns) * kTileSize, (tile / kSheetColumns) * kTileSize, kTileSize,
                        kTileSize};
}

// Tiles are keyed with magenta, as the game's tilemaps are; what shows
// through is the black of the cleared screen.
void DrawTile(ImageKit::Image& canvas, const ImageKit::Image& tiles, uint8_t tile, int x, int y) {
  const ImageKit::Rect area = TileArea(tile);
  if (!tiles.Contains(area.x + kTileSize - 1, area.y + kTileSize - 1)) {
    // A value the sheet does not draw yet: a loud marker, so it shows.
    canvas.Fill(ImageKit::Rect{x, y, kTileSize, kTileSize}, ImageKit::Rgb{255, 0, 128});
    return;
  }
  canvas.Blit(tiles, area, x, y, &ImageKit::kMagenta);
}

// The room's layer 0 as the game shows it: in dungeon rooms the doors write
// their state's tiles into the door cells and arches cover the doorways.
// Push blocks are entities, not tiles; a yellow frame shows where each waits.
void DrawRoomAt(ImageKit::Image& canvas, const WorldMap& map, const ImageKit::Image& tiles, RoomId room,
                int x0, int y0) {
  const RoomRecord& record = map.Room(room);
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      DrawTile(canvas, tiles, map.RoomTile(0, room, c, r), x0 + c * kTileSize, y0 + r * kTileSize);
    }
  }
  for (int r = 0; r < kRoomRows; ++r) {
    for (int c = 0; c < kRoomColumns; ++c) {
      if (map.RoomTile(1, room, c, r) != kPushBlockMark) continue;
      const ImageKit::Rect cell{x0 + c * kTileSize, y0 + r * kTileSize, kTileSize, kTileSize};
      canvas.Frame(cell, kPushBlockFrame);
      canvas.Frame(ImageKit::Rect{cell.x + 1, cell.y + 1, cell.w - 2, cell.h - 2}, kPushBlockFrame);
    }
  }
  if (!record.dungeonFlag) return;
  for (int wall = 0; wall < kWallCount; ++wall) {
    const int state = record.doors[wall];
    if (state <= kDoorNone) continue;
    const DoorCells cells = DoorCellsOf(wall);
    for (int i = 0; i < cells.count && state <= kDoorLocked; ++i) {
      DrawTile(canvas, tiles, DoorTile(wall, state, i), x0 + cells.column[i] * kTileSize,
               y0 + cells.row * kTileSize);
    }
    const Arch& arch = kArches[wall];
    for (int i = 0; i < arch.cells; ++i) {
      DrawTile(canvas, tiles, arch.tile, x0 + arch.column[i] * kTileSize, y0 + arch.row * kTileSize);
    }
  }
}

// Each 4 x 4 block of `full` becomes the average of its pixels.
ImageKit::Image Shrink(const ImageKit::Image& full, int factor) {
  ImageKit::Image small(full.Width() / factor, full.Height() / factor);
  for (int y = 0; y < small.Height(); ++y) {
    for (int x = 0; x < small.Width(); ++x) {
      int sum[3] = {0, 0, 0};
      for (int dy = 0; dy < factor; ++dy) {
        for (int dx = 0; dx < factor; ++dx) {
          const ImageKit::Rgb p = full.At(x * factor + dx, y * factor + dy);
          sum[0] += p.r;
          sum[1] += p.g;
          sum[2] += p.b;
        }
      }
      const int n = factor * factor;
      small.Set(x, y, ImageKit::Rgb{uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)});
    }
  }
  return small;
}

}  // namespace

ImageKit::Image RenderRoom(const WorldMap& map, const ImageKit::Image& tiles, RoomId room) {
  ImageKit::Image canvas(kRoomColumns * kTileSize, kRoomRows * kTileSize);
  DrawRoomAt(canvas, map, tiles, room, 0, 0);
  return canvas;
}

ImageKit::Image RenderOverview(const WorldMap& map, const ImageKit::Image& tiles, uint8_t fill) {
  int left = kWorldRoomsX, right = -1, top = kWorldRoomsY, bottom = -1;
  for (int y = 0; y < kWorldRoomsY; ++y) {
    for (int x = 0; x < kWorldRoomsX; ++x) {
      if (map.IsUnusedRoom(RoomId{x, y}, fill)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return ImageKit::Image(kRoomColumns * kOverviewTile, kRoomRows * kOverviewTile);
  const int roomW = kRoomColumns * kOverviewTile, roomH = kRoomRows * kOverviewTile;
  ImageKit::Image overview((right - left + 1) * roomW, (bottom - top + 1) * roomH, ImageKit::Rgb{24, 24, 24});
  const int factor = kTileSize / kOverviewTile;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const RoomId room{x, y};
      if (map.IsUnusedRoom(room, fill)) continue;
      const int ox = (x - left) * roomW, oy = (y - top) * roomH;
      overview.Blit(Shrink(RenderRoom(map, tiles, room), factor), ox, oy);
      overview.Frame(ImageKit::Rect{ox, oy, roomW, roomH}, ImageKit::Rgb{0, 0, 0});
      ImageKit::DrawLabelBoxed(overview, ox + 3, oy + 3, std::to_string(x) + "," + std::to_string(y),
                               ImageKit::Rgb{255, 255, 255}, ImageKit::Rgb{0, 0, 0});
    }
  }
  return overview;
}

}  // namespace World
