// Windows bitmap files as the engine loads them.
//
// Written: "BM" file header (14 bytes) and a 40-byte BITMAPINFOHEADER, then
// the rows bottom to top, blue-green-red, each padded to a multiple of four
// bytes. All header fields are little-endian and fixed (72 dpi), so the same
// image always gives the same bytes.
// Read: uncompressed 24- and 32-bit files, bottom-up or top-down.
#pragma once

#include <string>

#include "image.h"

namespace ImageKit {

bool WriteBmp(const std::string& path, const Image& image, std::string* error = nullptr);
bool ReadBmp(const std::string& path, Image* image, std::string* error = nullptr);

}  // namespace ImageKit
