// The content tools' image library: bitmap files in both directions, PNG
// output that a decoder accepts, blits with a transparent colour, labels.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "bmp.h"
#include "label.h"
#include "png.h"
#include "tests/common/temp_dir.h"

using namespace ImageKit;

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

uint32_t BigEndian32(const std::vector<uint8_t>& b, size_t at) {
  return (b[at] << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

Image Gradient(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.Set(x, y,
                Rgb{static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 11), static_cast<uint8_t>(x ^ y)});
  return image;
}

}  // namespace

TEST(ImageKitBmp, RoundTripKeepsEveryPixelAndPadsRows) {
  ScopedTempDir dir;
  const Image original = Gradient(5, 3);  // 15 bytes a row: one byte of padding
  ASSERT_TRUE(WriteBmp("a.bmp", original));
  const std::vector<uint8_t> bytes = ReadBytes("a.bmp");
  EXPECT_EQ(bytes.size(), 14u + 40u + 16u * 3u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  // The first stored row is the bottom one, blue first.
  EXPECT_EQ(bytes[54], original.At(0, 2).b);
  EXPECT_EQ(bytes[56], original.At(0, 2).r);
  Image loaded;
  ASSERT_TRUE(ReadBmp("a.bmp", &loaded));
  ASSERT_EQ(loaded.Width(), 5);
  ASSERT_EQ(loaded.Height(), 3);
  EXPECT_EQ(loaded.Pixels(), original.Pixels());
}

TEST(ImageKitBmp, SameImageGivesSameBytes) {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteBmp("a.bmp", Gradient(9, 4)));
  ASSERT_TRUE(WriteBmp("b.bmp", Gradient(9, 4)));
  EXPECT_EQ(ReadBytes("a.bmp"), ReadBytes("b.bmp"));
}

TEST(ImageKitBmp, ReadsTopDownThirtyTwoBitFiles) {
  ScopedTempDir dir;
  std::vector<uint8_t> file = {'B', 'M', 0,  0, 0, 0, 0, 0, 0, 0,    54,   0,    0,
                               0,   40,  0,  0, 0, 2, 0, 0, 0, 0xfe, 0xff, 0xff, 0xff,  // width 2, height -2
                               1,   0,   32, 0, 0, 0, 0, 0};
  file.resize(54, 0);
  // Top row: red, green; bottom row: blue, white (B, G, R, X order).
  const uint8_t pixels[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
  file.insert(file.end(), std::begin(pixels), std::end(pixels));
  WriteBytes("top.bmp", file);
  Image image;
  ASSERT_TRUE(ReadBmp("top.bmp", &image));
  EXPECT_EQ(image.At(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(image.At(1, 0), (Rgb{0, 255, 0}));
  EXPECT_EQ(image.At(0, 1), (Rgb{0, 0, 255}));
  EXPECT_EQ(image.At(1, 1), (Rgb{255, 255, 255}));
}

TEST(ImageKitBmp, RejectsBrokenFiles) {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteBmp("good.bmp", Gradient(4, 4)));
  std::vector<uint8_t> good = ReadBytes("good.bmp");

  std::vector<uint8_t> truncated(good.begin(), good.end() - 5);
  WriteBytes("truncated.bmp", truncated);
  std::vector<uint8_t> eightBit = good;
  eightBit[28] = 8;
  WriteBytes("8bit.bmp", eightBit);
  std::vector<uint8_t> badOffset = good;
  badOffset[10] = 0xff;
  badOffset[11] = 0xff;
  WriteBytes("offset.bmp", badOffset);
  WriteBytes("tiny.bmp", {'B', 'M', 1, 2});

  for (const char* name : {"truncated.bmp", "8bit.bmp", "offset.bmp", "tiny.bmp", "missing.bmp"}) {
    Image image;
    std::string error;
    EXPECT_FALSE(ReadBmp(name, &image, &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

TEST(ImageKitPng, WritesADecodableRgbImage) {
  ScopedTempDir dir;
  const Image original = Gradient(6, 4);
  ASSERT_TRUE(WritePng("a.png", original));
  const std::vector<uint8_t> png = ReadBytes("a.png");
  ASSERT_GT(png.size(), 8u + 25u + 12u + 12u);
  EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
            (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}));
  // Walk the chunks, checking each CRC, and inflate the image data.
  size_t at = 8;
  std::vector<uint8_t> packed;
  std::vector<std::string> types;
  while (at + 12 <= png.size()) {
    const uint32_t length = BigEndian32(png, at);
    ASSERT_LE(at + 12 + length, png.size());
    types.emplace_back(png.begin() + at + 4, png.begin() + at + 8);
    const uint32_t crc = crc32(0L, png.data() + at + 4, length + 4);
    EXPECT_EQ(crc, BigEndian32(png, at + 8 + length)) << types.back();
    if (types.back() == "IHDR") {
      EXPECT_EQ(BigEndian32(png, at + 8), 6u);
      EXPECT_EQ(BigEndian32(png, at + 12), 4u);
    }
    if (types.back() == "IDAT")
      packed.insert(packed.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
    at += 12 + length;
  }
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  std::vector<uint8_t> raw(4 * (1 + 6 * 3));
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, packed.data(), packed.size()), Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(raw[y * 19], 0);  // filter byte
    for (int x = 0; x < 6; ++x) EXPECT_EQ(raw[y * 19 + 1 + x * 3], original.At(x, y).r);
  }
}

TEST(ImageKitImage, BlitSkipsTheTransparentColourAndClips) {
  Image target(4, 4, Rgb{1, 2, 3});
  Image sprite(2, 2, kMagenta);
  sprite.Set(1, 1, Rgb{9, 9, 9});
  target.Blit(sprite, 3, 3, &kMagenta);  // only (0, 0) of the sprite lands inside
  EXPECT_EQ(target.At(3, 3), (Rgb{1, 2, 3}));
  target.Blit(sprite, 2, 2, &kMagenta);
  EXPECT_EQ(target.At(2, 2), (Rgb{1, 2, 3}));
  EXPECT_EQ(target.At(3, 3), (Rgb{9, 9, 9}));
  target.Blit(sprite, -1, -1);  // opaque blit, clipped at the top-left
  EXPECT_EQ(target.At(0, 0), (Rgb{9, 9, 9}));
}

TEST(ImageKitImage, MirrorsRotatesAndScales) {
  Image image(2, 1);
  image.Set(0, 0, Rgb{10, 0, 0});
  image.Set(1, 0, Rgb{20, 0, 0});
  EXPECT_EQ(image.MirroredX().At(0, 0).r, 20);
  const Image turned = image.RotatedRight();
  ASSERT_EQ(turned.Width(), 1);
  ASSERT_EQ(turned.Height(), 2);
  EXPECT_EQ(turned.At(0, 0).r, 10);
  EXPECT_EQ(turned.At(0, 1).r, 20);
  const Image big = image.Scaled(3);
  EXPECT_EQ(big.Width(), 6);
  EXPECT_EQ(big.At(2, 2).r, 10);
  EXPECT_EQ(big.At(3, 0).r, 20);
}

TEST(ImageKitLabel, DrawsInkOnlyInsideItsWidth) {
  Image image(20, 7, Rgb{});
  const Rgb ink{200, 200, 200};
  DrawLabel(image, 1, 1, "10", ink);
  EXPECT_EQ(LabelWidth("10"), 7);
  int inked = 0;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 20; ++x)
      if (image.At(x, y) == ink) {
        ++inked;
        EXPECT_GE(x, 1);
        EXPECT_LT(x, 1 + LabelWidth("10"));
        EXPECT_GE(y, 1);
        EXPECT_LT(y, 6);
      }
  EXPECT_EQ(inked, 8 + 12);  // the ink of "1" and of "0"
}
