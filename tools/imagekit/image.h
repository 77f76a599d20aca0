// An RGB raster held in memory, with the few drawing operations the content
// tools need: fills, frames, blits with an optional transparent colour,
// mirroring and integer scaling.
#pragma once

#include <cstdint>
#include <vector>

namespace ImageKit {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// The colour every tile sheet and sprite sheet treats as transparent.
inline constexpr Rgb kMagenta{255, 0, 255};

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

class Image {
 public:
  Image() = default;
  Image(int width, int height, Rgb fill = Rgb{});

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Reads and writes outside the raster are ignored (At gives black).
  Rgb At(int x, int y) const;
  void Set(int x, int y, Rgb colour);

  void Fill(Rect area, Rgb colour);
  // A one-pixel outline just inside the rectangle.
  void Frame(Rect area, Rgb colour);

  // Copies `from` of `source` so that its top-left lands at (x, y). Pixels of
  // `transparent` are skipped when one is given; everything is clipped.
  void Blit(const Image& source, Rect from, int x, int y, const Rgb* transparent = nullptr);
  void Blit(const Image& source, int x, int y, const Rgb* transparent = nullptr);

  Image Crop(Rect area) const;
  Image MirroredX() const;
  Image MirroredY() const;
  // Quarter turn clockwise.
  Image RotatedRight() const;
  // Every pixel becomes a factor x factor block.
  Image Scaled(int factor) const;

  // Raw rows, top to bottom, three bytes (r, g, b) per pixel.
  const std::vector<uint8_t>& Pixels() const { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace ImageKit
