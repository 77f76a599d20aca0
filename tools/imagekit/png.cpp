#include "png.h"

#include <zlib.h>

#include <fstream>
#include <vector>

namespace ImageKit {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value >> 24);
  out.push_back((value >> 16) & 0xff);
  out.push_back((value >> 8) & 0xff);
  out.push_back(value & 0xff);
}

// A chunk is its length, its type, its data and a CRC over type and data.
void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  Put32(out, static_cast<uint32_t>(crc));
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

bool WritePng(const std::string& path, const Image& image, std::string* error) {
  if (image.Empty()) return Fail(error, path + ": empty image");
  const size_t rowBytes = static_cast<size_t>(image.Width()) * 3;
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * image.Height());
  const std::vector<uint8_t>& pixels = image.Pixels();
  for (int y = 0; y < image.Height(); ++y) {
    raw.push_back(0);  // filter type: none
    raw.insert(raw.end(), pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    return Fail(error, path + ": compression failed");
  packed.resize(packedSize);

  std::vector<uint8_t> header;
  Put32(header, static_cast<uint32_t>(image.Width()));
  Put32(header, static_cast<uint32_t>(image.Height()));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter 0, no interlace

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return Fail(error, "cannot create " + path);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!file) return Fail(error, "cannot write " + path);
  return true;
}

}  // namespace ImageKit
