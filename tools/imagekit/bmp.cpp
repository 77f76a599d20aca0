#include "bmp.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace ImageKit {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value & 0xff);
  out.push_back((value >> 8) & 0xff);
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xffff);
  Put16(out, value >> 16);
}

uint32_t Get16(const std::vector<uint8_t>& in, size_t at) { return in[at] | (in[at + 1] << 8); }

uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
  return Get16(in, at) | (Get16(in, at + 2) << 16);
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

bool WriteBmp(const std::string& path, const Image& image, std::string* error) {
  const uint32_t rowBytes = (static_cast<uint32_t>(image.Width()) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * image.Height();
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kFileHeaderSize + kInfoHeaderSize + pixelBytes);
  Put32(out, 0);
  Put32(out, kFileHeaderSize + kInfoHeaderSize);
  Put32(out, kInfoHeaderSize);
  Put32(out, image.Width());
  Put32(out, image.Height());
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, 0);   // no compression
  Put32(out, pixelBytes);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Rgb c = image.At(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (uint32_t pad = image.Width() * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return Fail(error, "cannot create " + path);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!file) return Fail(error, "cannot write " + path);
  return true;
}

bool ReadBmp(const std::string& path, Image* image, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail(error, "cannot open " + path);
  const std::vector<uint8_t> in((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (in.size() < kFileHeaderSize + kInfoHeaderSize || in[0] != 'B' || in[1] != 'M')
    return Fail(error, path + ": not a bitmap file");
  const uint32_t dataOffset = Get32(in, 10);
  const uint32_t headerSize = Get32(in, 14);
  const int32_t width = static_cast<int32_t>(Get32(in, 18));
  const int32_t rawHeight = static_cast<int32_t>(Get32(in, 22));
  const uint32_t bits = Get16(in, 28);
  const uint32_t compression = Get32(in, 30);
  if (headerSize < kInfoHeaderSize) return Fail(error, path + ": unsupported bitmap header");
  if ((bits != 24 && bits != 32) || compression != 0)
    return Fail(error, path + ": only uncompressed 24- and 32-bit bitmaps are read");
  // Bounds keep the size arithmetic below far from overflow.
  if (width <= 0 || rawHeight == 0 || width > 65536 || std::abs(rawHeight) > 65536)
    return Fail(error, path + ": bad bitmap size");
  const bool topDown = rawHeight < 0;
  const int32_t height = std::abs(rawHeight);
  const uint64_t bytesPerPixel = bits / 8;
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bytesPerPixel + 3) & ~uint64_t{3};
  if (dataOffset > in.size() || in.size() - dataOffset < rowBytes * height)
    return Fail(error, path + ": bitmap data is truncated");
  Image result(width, height);
  for (int32_t row = 0; row < height; ++row) {
    const size_t rowStart = dataOffset + static_cast<size_t>(row) * rowBytes;
    const int32_t y = topDown ? row : height - 1 - row;
    for (int32_t x = 0; x < width; ++x) {
      const size_t at = rowStart + x * bytesPerPixel;
      result.Set(x, y, Rgb{in[at + 2], in[at + 1], in[at]});
    }
  }
  *image = std::move(result);
  return true;
}

}  // namespace ImageKit
