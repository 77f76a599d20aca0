#include "image.h"

#include <algorithm>

namespace ImageKit {

Image::Image(int width, int height, Rgb fill) : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  pixels_.resize(static_cast<size_t>(width_) * height_ * 3);
  Fill(Rect{0, 0, width_, height_}, fill);
}

Rgb Image::At(int x, int y) const {
  if (!Contains(x, y)) return Rgb{};
  const size_t at = (static_cast<size_t>(y) * width_ + x) * 3;
  return Rgb{pixels_[at], pixels_[at + 1], pixels_[at + 2]};
}

void Image::Set(int x, int y, Rgb colour) {
  if (!Contains(x, y)) return;
  const size_t at = (static_cast<size_t>(y) * width_ + x) * 3;
  pixels_[at] = colour.r;
  pixels_[at + 1] = colour.g;
  pixels_[at + 2] = colour.b;
}

void Image::Fill(Rect area, Rgb colour) {
  const int left = std::max(area.x, 0), top = std::max(area.y, 0);
  const int right = std::min(area.x + area.w, width_), bottom = std::min(area.y + area.h, height_);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) Set(x, y, colour);
}

void Image::Frame(Rect area, Rgb colour) {
  Fill(Rect{area.x, area.y, area.w, 1}, colour);
  Fill(Rect{area.x, area.y + area.h - 1, area.w, 1}, colour);
  Fill(Rect{area.x, area.y, 1, area.h}, colour);
  Fill(Rect{area.x + area.w - 1, area.y, 1, area.h}, colour);
}

void Image::Blit(const Image& source, Rect from, int x, int y, const Rgb* transparent) {
  for (int row = 0; row < from.h; ++row) {
    for (int col = 0; col < from.w; ++col) {
      const int sx = from.x + col, sy = from.y + row;
      if (!source.Contains(sx, sy)) continue;
      const Rgb colour = source.At(sx, sy);
      if (transparent && colour == *transparent) continue;
      Set(x + col, y + row, colour);
    }
  }
}

void Image::Blit(const Image& source, int x, int y, const Rgb* transparent) {
  Blit(source, Rect{0, 0, source.Width(), source.Height()}, x, y, transparent);
}

Image Image::Crop(Rect area) const {
  Image result(area.w, area.h);
  result.Blit(*this, area, 0, 0);
  return result;
}

Image Image::MirroredX() const {
  Image result(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) result.Set(width_ - 1 - x, y, At(x, y));
  return result;
}

Image Image::MirroredY() const {
  Image result(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) result.Set(x, height_ - 1 - y, At(x, y));
  return result;
}

Image Image::RotatedRight() const {
  Image result(height_, width_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) result.Set(height_ - 1 - y, x, At(x, y));
  return result;
}

Image Image::Scaled(int factor) const {
  if (factor < 1) factor = 1;
  Image result(width_ * factor, height_ * factor);
  for (int y = 0; y < result.height_; ++y)
    for (int x = 0; x < result.width_; ++x) result.Set(x, y, At(x / factor, y / factor));
  return result;
}

}  // namespace ImageKit
