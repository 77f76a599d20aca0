// Shared set-up of the fuzz targets: SDL on its dummy drivers, the platform
// layer headless, and a private working folder for the files a target writes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Once per process: dummy drivers, headless mode, and a fresh folder under
// TMPDIR made the current one (removed when the process ends normally).
void StartHeadless();

// Replaces the file at `path` with `size` bytes; false when it cannot.
bool WriteFile(const char* path, const uint8_t* data, size_t size);

// Writes a BMP tile sheet of width x height pixels whose tiles of `tileSize`
// pixels each have a colour of their own; false when it cannot.
bool WriteTileSheet(const char* path, int width, int height, int tileSize);

}  // namespace fuzz
