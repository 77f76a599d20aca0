#include "review.h"

#include <algorithm>

#include "label.h"

namespace ArtC {

using ImageKit::Image;
using ImageKit::kMagenta;
using ImageKit::Rect;
using ImageKit::Rgb;

namespace {

constexpr int kPageWidth = 1240;
constexpr int kMargin = 12;
constexpr Rgb kPaper{34, 36, 44};
constexpr Rgb kInk{236, 232, 214};
constexpr Rgb kDim{150, 154, 170};
constexpr Rgb kCheckLight{92, 84, 100};
constexpr Rgb kCheckDark{70, 64, 78};

// Magenta shown as a checkerboard, so transparent pixels stand out from black.
Image ShowTransparency(const Image& source, int scale) {
  Image scaled = source.Scaled(scale);
  for (int y = 0; y < scaled.Height(); ++y)
    for (int x = 0; x < scaled.Width(); ++x)
      if (scaled.At(x, y) == kMagenta) scaled.Set(x, y, ((x / 4 + y / 4) % 2) ? kCheckLight : kCheckDark);
  return scaled;
}

class Page {
 public:
  Page() : image_(kPageWidth, 30000, kPaper) {}

  void Heading(const std::string& text) {
    NewRow();
    y_ += kMargin;
    ImageKit::DrawLabel(image_, kMargin, y_, text, kInk, 3);
    y_ += ImageKit::LabelHeight(3) + kMargin;
  }

  // Places a picture with a caption under it, wrapping to a new row when full.
  void Item(const Image& picture, const std::string& caption) {
    const int width = std::max(picture.Width(), ImageKit::LabelWidth(caption, 1));
    if (x_ + width + kMargin > kPageWidth) NewRow();
    image_.Blit(picture, x_, y_);
    ImageKit::DrawLabel(image_, x_, y_ + picture.Height() + 3, caption, kDim, 1);
    rowHeight_ = std::max(rowHeight_, picture.Height() + 3 + ImageKit::LabelHeight(1) + 6);
    x_ += width + 6;
  }

  void NewRow() {
    if (x_ > kMargin) y_ += rowHeight_;
    x_ = kMargin;
    rowHeight_ = 0;
  }

  Image Finish() {
    NewRow();
    return image_.Crop(Rect{0, 0, kPageWidth, std::min(y_ + kMargin, image_.Height())});
  }

 private:
  Image image_;
  int x_ = kMargin;
  int y_ = 0;
  int rowHeight_ = 0;
};

Image Tile(const Sheet& sheet, int tile) {
  const Rect area{(tile % sheet.columns) * sheet.tileWidth, (tile / sheet.columns) * sheet.tileHeight,
                  sheet.tileWidth, sheet.tileHeight};
  return sheet.image.Crop(area);
}

}  // namespace

Image RenderReview(const std::vector<Sheet>& sheets, const SpriteDefinition& sprites) {
  Page page;
  for (const Sheet& sheet : sheets) {
    page.Heading(sheet.output);
    if (!sheet.grid) {
      const int scale = sheet.image.Width() * 2 <= kPageWidth - 2 * kMargin ? 2 : 1;
      page.Item(ShowTransparency(sheet.image, scale), "");
      continue;
    }
    const int scale = sheet.tileWidth <= 16 ? 3 : 2;
    for (int tile = 0; tile < sheet.count; ++tile) {
      if (!sheet.drawn[tile]) continue;
      page.Item(ShowTransparency(Tile(sheet, tile), scale), std::to_string(tile));
    }
  }
  page.Heading("sprite.def");
  for (const SpriteDecl& sprite : sprites.sprites) {
    page.NewRow();
    page.Item(Image(1, 1, kPaper), sprite.name + " (tilemap " + std::to_string(sprite.tilemap) + ")");
    page.NewRow();
    if (sprite.tilemap < 0 || sprite.tilemap >= static_cast<int>(sprites.tilemaps.size())) continue;
    const std::string& path = sprites.tilemaps[sprite.tilemap].path;
    const auto sheet =
        std::find_if(sheets.begin(), sheets.end(), [&](const Sheet& s) { return s.output == path; });
    if (sheet == sheets.end() || !sheet->grid) continue;
    for (size_t frame = 0; frame < sprite.frames.size(); ++frame) {
      const int tile = sprite.frames[frame];
      if (tile >= sheet->count) continue;
      page.Item(ShowTransparency(Tile(*sheet, tile), 2), std::to_string(frame) + ":" + std::to_string(tile));
    }
  }
  return page.Finish();
}

}  // namespace ArtC
