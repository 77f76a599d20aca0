// Sheets: the bitmaps the game loads, each described by a "*.sheet" file.
//
// A grid sheet cuts its bitmap into equal tiles, numbered left to right, then
// top to bottom:
//   output <path>                   where the bitmap goes, under the output folder
//   tiles <w> <h> <columns> <count> tile size, tiles a row, number of tiles
//   background <r> <g> <b>          under every tile (default: magenta)
//   catalogue <file>                names the cells must carry (the map tile catalogue)
//   cell <n> [<label>] = <layers>   layers as in picture files
//   cells <a>-<b> = <layers>        the same picture in several cells
// A canvas sheet is one picture put together from pieces:
//   output <path>
//   canvas <w> <h>
//   palette <file>                  colours for the fills below
//   fill <x> <y> <w> <h> <char>
//   frame <x> <y> <w> <h> <char>    one-pixel outline
//   place <x> <y> = <layers>        magenta is transparent
//   row <x> <y> <count> = <layers>  the picture `count` times side by side
//   text <x> <y> <TEXT> [<recolour>] glyph pictures "glyph_<n>", 16 pixels apart
#pragma once

#include <string>
#include <vector>

#include "image.h"
#include "picture_library.h"

namespace ArtC {

struct Sheet {
  std::string output;
  ImageKit::Image image;
  bool grid = false;
  int tileWidth = 0;
  int tileHeight = 0;
  int columns = 0;
  int count = 0;
  std::vector<std::string> labels;  // per cell, empty when none
  std::vector<bool> drawn;          // per cell: some recipe filled it
};

// The glyph number of a character in the game's bitmap font.
int GlyphNumber(char character);

bool CompileSheet(const std::string& path, const PictureLibrary& library, Sheet* sheet, std::string* error);

}  // namespace ArtC
