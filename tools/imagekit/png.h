// PNG output for review sheets and previews: 8-bit RGB, no interlace, every
// row with filter 0, compressed with zlib. Deterministic bytes.
#pragma once

#include <string>

#include "image.h"

namespace ImageKit {

bool WritePng(const std::string& path, const Image& image, std::string* error = nullptr);

}  // namespace ImageKit
