#include "picture_library.h"

#include <sstream>

namespace ArtC {

using ImageKit::Image;
using ImageKit::kMagenta;
using ImageKit::Rgb;

namespace {

bool ParseColour(const std::vector<std::string>& words, size_t first, Rgb* colour) {
  int r, g, b;
  if (words.size() < first + 3 || !ParseInt(words[first], &r) || !ParseInt(words[first + 1], &g) ||
      !ParseInt(words[first + 2], &b))
    return false;
  if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return false;
  *colour = Rgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
  return true;
}

}  // namespace

bool ReadPaletteFile(const std::string& path, Palette* palette, std::string* error) {
  StatementFile file;
  if (!file.Open(path, error)) return false;
  while (file.Next()) {
    const std::vector<std::string>& words = file.Words();
    Rgb colour;
    if (words[0].size() != 1 || words[0] == "." || !ParseColour(words, 1, &colour))
      return file.Fail(error, "expected \"<char> r g b [name]\"");
    (*palette)[words[0][0]] = colour;
  }
  return true;
}

bool PictureLibrary::LoadFile(const std::string& path, std::string* error) {
  StatementFile file;
  if (!file.Open(path, error)) return false;
  Palette palette;
  while (file.Next()) {
    const std::vector<std::string>& words = file.Words();
    const std::string& keyword = words[0];
    if (keyword == "palette" && words.size() == 2) {
      if (!ReadPaletteFile((file.Folder() / words[1]).string(), &palette, error)) return false;
    } else if (keyword == "colour") {
      Rgb colour;
      if (words.size() != 5 || words[1].size() != 1 || words[1] == "." || !ParseColour(words, 2, &colour))
        return file.Fail(error, "expected \"colour <char> r g b\"");
      palette[words[1][0]] = colour;
    } else if (keyword == "recolour" && words.size() >= 3) {
      Recolour recolour;
      for (size_t i = 2; i < words.size(); ++i) {
        const std::string& swap = words[i];
        if (swap.size() != 3 || swap[1] != '>' || !palette.count(swap[0]) || !palette.count(swap[2]))
          return file.Fail(error,
                           "recolour swap \"" + swap + "\" must be <a>><b> with both colours in the palette");
        recolour.swaps.emplace_back(palette[swap[0]], palette[swap[2]]);
      }
      recolours_[words[1]] = recolour;
    } else if (keyword == "ink" && words.size() == 3) {
      if (words[2].size() != 1 || !palette.count(words[2][0]))
        return file.Fail(error, "ink colour must be in the palette");
      inks_[words[1]] = palette[words[2][0]];
    } else if (keyword == "picture" && words.size() >= 4 && words[2] == "=") {
      if (pictures_.count(words[1])) return file.Fail(error, "picture \"" + words[1] + "\" is defined twice");
      std::string why;
      std::optional<Image> image = Compose(file.AfterEquals(), &why);
      if (!image) return file.Fail(error, why);
      pictures_[words[1]] = std::move(*image);
    } else if (keyword == "picture" && words.size() == 4) {
      if (pictures_.count(words[1])) return file.Fail(error, "picture \"" + words[1] + "\" is defined twice");
      std::optional<Image> image = ReadRows(file, palette, error);
      if (!image) return false;
      pictures_[words[1]] = std::move(*image);
    } else {
      return file.Fail(error, "unknown statement \"" + keyword + "\"");
    }
  }
  return true;
}

std::optional<Image> PictureLibrary::ReadRows(StatementFile& file, const Palette& palette,
                                              std::string* error) {
  const std::vector<std::string> words = file.Words();
  int width, height;
  if (!ParseInt(words[2], &width) || !ParseInt(words[3], &height) || width < 1 || height < 1 ||
      width > 1024 || height > 1024) {
    file.Fail(error, "bad picture size");
    return std::nullopt;
  }
  Image image(width, height, kMagenta);
  std::string line;
  for (int row = 0; row < height; ++row) {
    if (!file.NextRawLine(&line)) {
      file.Fail(error, "picture \"" + words[1] + "\" ends early");
      return std::nullopt;
    }
    const std::string pixels = Trim(line);
    if (static_cast<int>(pixels.size()) != width) {
      file.Fail(error, "row has " + std::to_string(pixels.size()) + " pixels, picture is " +
                           std::to_string(width) + " wide");
      return std::nullopt;
    }
    for (int x = 0; x < width; ++x) {
      if (pixels[x] == '.') continue;
      const auto found = palette.find(pixels[x]);
      if (found == palette.end()) {
        file.Fail(error, std::string("colour '") + pixels[x] + "' is not in the palette");
        return std::nullopt;
      }
      image.Set(x, row, found->second);
    }
  }
  return image;
}

std::optional<Image> PictureLibrary::Resolve(const std::string& layer, std::string* error) const {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(Trim(layer));
  while (std::getline(in, part, '/')) parts.push_back(part);
  if (parts.empty() || parts[0].empty()) {
    *error = "empty layer";
    return std::nullopt;
  }
  const auto found = pictures_.find(parts[0]);
  if (found == pictures_.end()) {
    *error = "unknown picture \"" + parts[0] + "\"";
    return std::nullopt;
  }
  Image image = found->second;
  for (size_t i = 1; i < parts.size(); ++i) {
    const std::string& op = parts[i];
    if (op == "flipx") {
      image = image.MirroredX();
    } else if (op == "flipy") {
      image = image.MirroredY();
    } else if (op == "rot90") {
      image = image.RotatedRight();
    } else if (op == "rot180") {
      image = image.RotatedRight().RotatedRight();
    } else if (op == "rot270") {
      image = image.RotatedRight().RotatedRight().RotatedRight();
    } else if (op.rfind("pad:", 0) == 0) {
      int border;
      if (!ParseInt(op.substr(4), &border) || border < 0 || border > 256) {
        *error = "expected pad:<pixels>, got \"" + op + "\"";
        return std::nullopt;
      }
      Image padded(image.Width() + 2 * border, image.Height() + 2 * border, kMagenta);
      padded.Blit(image, border, border);
      image = std::move(padded);
    } else if (op.rfind("keep:", 0) == 0) {
      const auto mask = pictures_.find(op.substr(5));
      if (mask == pictures_.end() || mask->second.Width() != image.Width() ||
          mask->second.Height() != image.Height()) {
        *error = "\"" + op + "\" needs a mask picture of the same size";
        return std::nullopt;
      }
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
          if (mask->second.At(x, y) == kMagenta) image.Set(x, y, kMagenta);
    } else if (op.rfind("outline:", 0) == 0) {
      const auto ink = inks_.find(op.substr(8));
      if (ink == inks_.end()) {
        *error = "unknown ink \"" + op.substr(8) + "\"";
        return std::nullopt;
      }
      // Opaque pixels next to a transparent one (inside the picture) take the ink.
      const Image before = image;
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
          if (before.At(x, y) == kMagenta) continue;
          const int neighbours[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
          for (const auto& [nx, ny] : neighbours)
            if (before.Contains(nx, ny) && before.At(nx, ny) == kMagenta) {
              image.Set(x, y, ink->second);
              break;
            }
        }
    } else if (op == "x2") {
      image = image.Scaled(2);
    } else if (op.rfind("map:", 0) == 0) {
      const auto recolour = recolours_.find(op.substr(4));
      if (recolour == recolours_.end()) {
        *error = "unknown recolour \"" + op.substr(4) + "\"";
        return std::nullopt;
      }
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
          for (const auto& [from, to] : recolour->second.swaps)
            if (image.At(x, y) == from) {
              image.Set(x, y, to);
              break;
            }
    } else if (op.rfind("shift:", 0) == 0) {
      int dx, dy;
      const size_t colon = op.find(':', 6);
      if (colon == std::string::npos || !ParseInt(op.substr(6, colon - 6), &dx) ||
          !ParseInt(op.substr(colon + 1), &dy)) {
        *error = "expected shift:<dx>:<dy>, got \"" + op + "\"";
        return std::nullopt;
      }
      Image moved(image.Width(), image.Height(), kMagenta);
      moved.Blit(image, dx, dy);
      image = std::move(moved);
    } else {
      *error = "unknown operation \"" + op + "\"";
      return std::nullopt;
    }
  }
  return image;
}

std::optional<Image> PictureLibrary::Compose(const std::string& layers, std::string* error) const {
  std::optional<Image> result;
  std::istringstream in(layers);
  std::string layer;
  while (std::getline(in, layer, '+')) {
    std::optional<Image> image = Resolve(layer, error);
    if (!image) return std::nullopt;
    if (!result)
      result = std::move(image);
    else
      result->Blit(*image, 0, 0, &kMagenta);
  }
  if (!result) *error = "no layers";
  return result;
}

}  // namespace ArtC
