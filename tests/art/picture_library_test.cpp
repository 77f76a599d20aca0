// The art compiler's picture files: palettes, pictures, compositions and the
// operations of a layer, and the errors a person editing them sees.
#include "picture_library.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/temp_dir.h"

using ArtC::PictureLibrary;
using ImageKit::Image;
using ImageKit::kMagenta;
using ImageKit::Rgb;

namespace {

constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};
constexpr Rgb kInk{1, 2, 3};

const char kPalette[] = "# test colours\nr 200 0 0 red\nb 0 0 200 blue\nk 1 2 3 ink\n";

// A library read from `text` (with the palette above), or the error.
struct Loaded {
  bool ok;
  std::string error;
};

Loaded Load(PictureLibrary& library, const std::string& text) {
  WriteFileText("colours.txt", kPalette);
  WriteFileText("test.px", "palette colours.txt\n" + text);
  Loaded result;
  result.ok = library.LoadFile("test.px", &result.error);
  return result;
}

Image Must(const PictureLibrary& library, const std::string& layer) {
  std::string error;
  std::optional<Image> image = library.Resolve(layer, &error);
  EXPECT_TRUE(image.has_value()) << layer << ": " << error;
  return image.value_or(Image());
}

}  // namespace

TEST(ArtPictures, ReadsRowsThroughThePalette) {
  ScopedTempDir dir;
  PictureLibrary library;
  ASSERT_TRUE(Load(library, "picture p 3 2\nr.b\n bbr \n").ok);  // white space around a row is ignored
  const Image p = Must(library, "p");
  ASSERT_EQ(p.Width(), 3);
  ASSERT_EQ(p.Height(), 2);
  EXPECT_EQ(p.At(0, 0), kRed);
  EXPECT_EQ(p.At(1, 0), kMagenta);
  EXPECT_EQ(p.At(2, 0), kBlue);
  EXPECT_EQ(p.At(2, 1), kRed);
}

TEST(ArtPictures, LayerOperations) {
  ScopedTempDir dir;
  PictureLibrary library;
  ASSERT_TRUE(Load(library,
                   "recolour swap r>b\n"
                   "ink edge k\n"
                   "picture p 2 2\nrb\n..\n"
                   "picture square 3 3\nrrr\nrrr\nrrr\n"
                   "picture corner 3 3\n...\n.rr\n.rr\n"
                   "picture both = p + p/flipy\n")
                  .ok);
  EXPECT_EQ(Must(library, "p/flipx").At(0, 0), kBlue);
  EXPECT_EQ(Must(library, "p/flipy").At(0, 1), kRed);
  EXPECT_EQ(Must(library, "p/rot90").At(1, 0), kRed);  // the left column turns to the top row
  EXPECT_EQ(Must(library, "p/rot90").At(1, 1), kBlue);
  EXPECT_EQ(Must(library, "p/rot180").At(1, 1), kRed);
  EXPECT_EQ(Must(library, "p/rot270").At(0, 1), kRed);
  EXPECT_EQ(Must(library, "p/map:swap").At(0, 0), kBlue);
  EXPECT_EQ(Must(library, "p/x2").Width(), 4);
  EXPECT_EQ(Must(library, "p/x2").At(1, 1), kRed);
  EXPECT_EQ(Must(library, "p/pad:1").Width(), 4);
  EXPECT_EQ(Must(library, "p/pad:1").At(1, 1), kRed);
  EXPECT_EQ(Must(library, "p/shift:1:0").At(1, 0), kRed);
  EXPECT_EQ(Must(library, "p/shift:1:0").At(0, 0), kMagenta);
  const Image kept = Must(library, "square/keep:corner");
  EXPECT_EQ(kept.At(0, 0), kMagenta);
  EXPECT_EQ(kept.At(2, 2), kRed);
  const Image outlined = Must(library, "square/keep:corner/outline:edge");
  EXPECT_EQ(outlined.At(1, 1), kInk);  // next to the transparent corner
  EXPECT_EQ(outlined.At(2, 2), kRed);  // the picture's own border is not an edge
  const Image both = Must(library, "both");
  EXPECT_EQ(both.At(0, 1), kRed);  // the second layer shows where the first is transparent
  EXPECT_EQ(both.At(0, 0), kRed);
}

TEST(ArtPictures, MistakesAreReportedWithFileAndLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"picture p 3 1\nrb\n", "test.px:3: row has 2 pixels"},
      {"picture p 2 1\nrz\n", "test.px:3: colour 'z' is not in the palette"},
      {"picture p 1 1\nr\npicture p 1 1\nb\n", "test.px:4: picture \"p\" is defined twice"},
      {"picture p 1 2\nr\n", "test.px:3: picture \"p\" ends early"},
      {"pictur p 1 1\n", "test.px:2: unknown statement"},
      {"recolour x r>q\n", "test.px:2: recolour swap \"r>q\""},
      {"picture q = missing/flipx\n", "test.px:2: unknown picture \"missing\""},
      {"picture p 1 1\nr\npicture q = p/spin\n", "test.px:4: unknown operation \"spin\""},
      {"picture p 1 1\nr\npicture q = p/map:none\n", "test.px:4: unknown recolour \"none\""},
  };
  for (const Case& c : cases) {
    ScopedTempDir dir;
    PictureLibrary library;
    const Loaded loaded = Load(library, c.text);
    EXPECT_FALSE(loaded.ok) << c.text;
    EXPECT_NE(loaded.error.find(c.message), std::string::npos) << "got: " << loaded.error;
  }
}
