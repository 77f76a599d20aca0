// The art sources: palettes, pictures drawn one character a pixel, pictures
// composed from others, and recolour maps.
//
// Picture files ("*.px") are plain text, read line by line:
//   # comment                       (also blank lines)
//   palette <file>                  colours of this file: "<char> r g b [name]" a line
//   colour <char> <r> <g> <b>       one more colour, for this file only
//   picture <name> <w> <h>          followed by exactly h rows of w characters;
//                                   '.' is always the transparent magenta
//   picture <name> = <layer> [+ <layer> ...]
//                                   drawn bottom to top, same size as the first
//   recolour <name> <a>><b> ...     swaps palette colour a for b (this file's palette)
//   ink <name> <char>               names a palette colour for the outline operation
// A layer is a picture name followed by operations, each after a '/':
//   flipx, flipy, rot90, rot180, rot270, x2 (every pixel doubled),
//   shift:<dx>:<dy>, pad:<n> (n transparent pixels added on every side),
//   map:<recolour name>, keep:<mask picture> (only the pixels where the mask
//   is not transparent), outline:<ink> (opaque pixels next to transparent ones)
// for example "hero_right_a/flipx" or "gorrit_down_a/map:red".
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "image.h"
#include "statement_file.h"

namespace ArtC {

using Palette = std::map<char, ImageKit::Rgb>;

struct Recolour {
  std::vector<std::pair<ImageKit::Rgb, ImageKit::Rgb>> swaps;
};

class PictureLibrary {
 public:
  // Reads one picture file; on failure `error` names the file and line.
  bool LoadFile(const std::string& path, std::string* error);

  // A layer expression as described above, or nothing (with `error` set).
  std::optional<ImageKit::Image> Resolve(const std::string& layer, std::string* error) const;
  // "a + b + c": the layers drawn over each other, magenta transparent.
  std::optional<ImageKit::Image> Compose(const std::string& layers, std::string* error) const;

  bool Has(const std::string& name) const { return pictures_.count(name) != 0; }
  size_t Count() const { return pictures_.size(); }

 private:
  // The rows of a "picture <name> <w> <h>" statement.
  static std::optional<ImageKit::Image> ReadRows(StatementFile& file, const Palette& palette,
                                                 std::string* error);

  std::map<std::string, ImageKit::Image> pictures_;
  std::map<std::string, Recolour> recolours_;
  std::map<std::string, ImageKit::Rgb> inks_;
};

// Reads a palette file: "<char> r g b [name]" a line, '#' comments.
bool ReadPaletteFile(const std::string& path, Palette* palette, std::string* error);

}  // namespace ArtC
