// The start room of the shipped world with the HUD, footer and HUD text,
// rendered from the run folder's data and compared pixel for pixel with the
// checked-in reference image tests/game/golden/start_room.png. The
// renderer is deterministic, so any difference is a change in the renderer,
// the art or the map.
//
// After an intended change of the art or the map, regenerate the reference
// from the run folder:
//   PRAEL_UPDATE_GOLDEN=1 ../tests/game/game_tests --gtest_filter='PraelGolden.*'
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "game/rendprael.h"
#include "image.h"
#include "orvix/orvix.h"
#include "png.h"
#include "tests/orvix/render_helpers.h"

namespace {

const std::filesystem::path kReference = std::filesystem::path(PRAEL_GOLDEN_DIR) / "start_room.png";
const std::filesystem::path kArtifact = "../artifacts/golden/start_room_actual.png";

// The counters as the game's overlay shows them at the start.
class StartApp : public Orvix::COrvixApp {
 public:
  void Frame() override {}
  void DrawOverlay() override {
    g_renderer->DrawString(195, 48, "X%d", 0);
    g_renderer->DrawString(195, 80, "X%d", 0);
    g_renderer->DrawString(195, 96, "X%d", 0);
  }
  int OnGameEvent(int code, int) override { return code; }
};

uint32_t BigEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
         static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

// Reads a PNG as ImageKit writes it: 8-bit RGB, not interlaced, every row
// with filter 0. Anything else is refused with a reason.
bool ReadReferencePng(const std::filesystem::path& path, ImageKit::Image* image, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || std::memcmp(data, kSignature, 8) != 0) return *error = "not a PNG file", false;

  uint32_t width = 0;
  uint32_t height = 0;
  std::string packed;
  for (size_t at = 8; at + 12 <= bytes.size();) {
    const uint32_t length = BigEndian32(data + at);
    if (length > bytes.size() - at - 12) return *error = "chunk runs past the end", false;
    const std::string type(bytes, at + 4, 4);
    const uint8_t* body = data + at + 8;
    if (type == "IHDR") {
      if (length != 13 || body[8] != 8 || body[9] != 2 || body[12] != 0) {
        return *error = "not 8-bit RGB without interlace", false;
      }
      width = BigEndian32(body);
      height = BigEndian32(body + 4);
    } else if (type == "IDAT") {
      packed.append(reinterpret_cast<const char*>(body), length);
    }
    at += 12 + length;
  }
  if (width == 0 || height == 0 || width > 4096 || height > 4096) return *error = "bad size", false;

  const size_t stride = 1 + 3 * static_cast<size_t>(width);
  std::string raw(stride * height, '\0');
  uLongf rawSize = raw.size();
  if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                 reinterpret_cast<const Bytef*>(packed.data()), packed.size()) != Z_OK ||
      rawSize != raw.size()) {
    return *error = "pixel data does not unpack to the image size", false;
  }
  *image = ImageKit::Image(static_cast<int>(width), static_cast<int>(height));
  for (uint32_t y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint8_t*>(raw.data()) + y * stride;
    if (row[0] != 0) return *error = "row filter other than 0", false;
    for (uint32_t x = 0; x < width; ++x) {
      image->Set(static_cast<int>(x), static_cast<int>(y), {row[1 + 3 * x], row[2 + 3 * x], row[3 + 3 * x]});
    }
  }
  return true;
}

ImageKit::Image ScreenImage(PraelRenderer& renderer) {
  SDL_Surface* screen = renderer.GetScreen();
  ImageKit::Image image(screen->w, screen->h);
  EXPECT_TRUE(renderer.LockScreen());
  for (int y = 0; y < screen->h; ++y) {
    for (int x = 0; x < screen->w; ++x) {
      Uint32 pixel = 0;
      std::memcpy(
          &pixel,
          static_cast<const Uint8*>(screen->pixels) + y * screen->pitch + x * screen->format->BytesPerPixel,
          screen->format->BytesPerPixel);
      ImageKit::Rgb colour;
      SDL_GetRGB(pixel, screen->format, &colour.r, &colour.g, &colour.b);
      image.Set(x, y, colour);
    }
  }
  renderer.UnlockScreen();
  return image;
}

TEST(PraelGolden, StartRoomWithTheHudMatchesTheReference) {
  render_test::LogCapture log;
  StartApp app;
  auto renderer = std::make_unique<PraelRenderer>();
  Orvix::VideoRes mode = {512, 512, 32};
  ASSERT_TRUE(renderer->Initialize(nullptr, &mode));
  ASSERT_TRUE(renderer->LoadSpriteDef("sprite.def")) << log.Text();
  EXPECT_FALSE(log.Contains("PraelRenderer")) << "the run folder lacks data:\n" << log.Text();
  renderer->SetView(7, 7, 0.0f, 0.0f);
  renderer->StepFrame();
  const ImageKit::Image frame = ScreenImage(*renderer);
  renderer->Shutdown();

  std::string error;
  if (std::getenv("PRAEL_UPDATE_GOLDEN") != nullptr) {
    std::filesystem::create_directories(kReference.parent_path());
    ASSERT_TRUE(ImageKit::WritePng(kReference.string(), frame, &error)) << error;
    GTEST_SKIP() << "reference written to " << kReference;
  }

  ImageKit::Image reference;
  ASSERT_TRUE(ReadReferencePng(kReference, &reference, &error)) << kReference << ": " << error;
  ASSERT_EQ(reference.Width(), frame.Width());
  ASSERT_EQ(reference.Height(), frame.Height());
  int differing = 0;
  int firstX = -1;
  int firstY = -1;
  for (int y = 0; y < frame.Height(); ++y) {
    for (int x = 0; x < frame.Width(); ++x) {
      if (frame.At(x, y) == reference.At(x, y)) continue;
      if (differing++ == 0) firstX = x, firstY = y;
    }
  }
  if (differing != 0) {
    std::filesystem::create_directories(kArtifact.parent_path());
    ImageKit::WritePng(kArtifact.string(), frame, &error);
  }
  EXPECT_EQ(differing, 0) << "first at (" << firstX << ", " << firstY << "); the frame is in "
                          << std::filesystem::absolute(kArtifact);
}

}  // namespace
