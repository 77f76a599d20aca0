#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "orvix/orvix.h"
#include "orvix/rendererdx9.h"
#include "render_helpers.h"

using namespace render_test;

TEST_F(RendererTest, ImagesLoadOnlyFromBmpFilesOfAnyCase) {
  WriteSolidBmp("upper.BMP", 5, 3, kGrey);
  WriteSolidBmp("lower.bmp", 2, 7, kGrey);
  Orvix::Image* upper = renderer.LoadImageA("upper.BMP");
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(upper->width, 5);
  EXPECT_EQ(upper->height, 3);
  EXPECT_EQ(upper->surface->format->BitsPerPixel, renderer.GetScreen()->format->BitsPerPixel);
  EXPECT_TRUE(log.Contains("loading BMP image: upper.BMP"));
  Orvix::Image* lower = renderer.LoadImageA("lower.bmp");
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(lower->height, 7);

  LogCapture png;
  EXPECT_EQ(renderer.LoadImageA("picture.png"), nullptr);
  EXPECT_EQ(png.Text(), "Unknown image type: .png\r\n");

  LogCapture noDot;
  EXPECT_EQ(renderer.LoadImageA("nodot"), nullptr);
  EXPECT_EQ(noDot.Text(), "");

  EXPECT_EQ(renderer.LoadImageA("missing.bmp"), nullptr);
  EXPECT_EQ(renderer.GetNumImages(), 2u);
}

TEST_F(RendererTest, The513thImageIsRefused) {
  WriteSolidBmp("one.bmp", 1, 1, kGrey);
  for (unsigned i = 0; i < Orvix::RendererSDL::kMaxImages; ++i) {
    ASSERT_NE(renderer.LoadImageA("one.bmp"), nullptr) << i;
  }
  EXPECT_EQ(renderer.LoadImageA("one.bmp"), nullptr);
  EXPECT_EQ(renderer.GetNumImages(), 512u);
}

TEST_F(RendererTest, DrawImageBlitsTheWholeImageOpaque) {
  WriteBmp("pattern.bmp", 4, 2, [](int x, int) { return x < 2 ? kMagenta : kGrey; });
  Orvix::Image* image = renderer.LoadImageA("pattern.bmp");
  ASSERT_NE(image, nullptr);
  renderer.DrawImage(image, 10, 20);
  EXPECT_EQ(PixelAt(10, 20), Colour(kMagenta));  // images have no colour key
  EXPECT_EQ(PixelAt(13, 21), Colour(kGrey));
  EXPECT_EQ(PixelAt(14, 20), Colour(kBlack));
  EXPECT_EQ(PixelAt(10, 22), Colour(kBlack));

  renderer.DrawImage(nullptr, 0, 0);
  renderer.DrawImage(image, -2, 62);  // clipped by SDL at the edges
  EXPECT_EQ(PixelAt(0, 62), Colour(kGrey));
  EXPECT_EQ(PixelAt(0, 63), Colour(kGrey));
}

TEST_F(RendererTest, ClearScreenPaintsBlackAndPageFlipSucceeds) {
  FillScreen(kGrey);
  EXPECT_TRUE(renderer.ClearScreen());
  EXPECT_TRUE(ScreenIs(kBlack));
  EXPECT_TRUE(renderer.PageFlip());
}

TEST_F(RendererTest, MouseMotionIsNeverQueuedAndStepFrameDrainsTheQueue) {
  EXPECT_EQ(SDL_EventState(SDL_MOUSEMOTION, SDL_QUERY), SDL_IGNORE);
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = SDL_USEREVENT;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
  event.type = SDL_KEYDOWN;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
  renderer.StepFrame();
  EXPECT_EQ(SDL_PollEvent(&event), 0);
}

TEST(RendererSDLLifecycle, OperationsOutsideInitializeAndShutdownDoNothing) {
  ScopedTempDir folder;
  LogCapture log;
  WriteSolidBmp("one.bmp", 1, 1, kGrey);
  {
    TestRenderer renderer;
    EXPECT_EQ(renderer.NewSpriteType(), nullptr);
    EXPECT_FALSE(renderer.DeleteSpriteType(nullptr));
    EXPECT_EQ(renderer.LoadImageA("one.bmp"), nullptr);
    EXPECT_EQ(renderer.LoadTilemap("one.bmp", 1, 1, 0), -1);
    EXPECT_TRUE(renderer.ClearScreen());
    EXPECT_FALSE(renderer.PageFlip());
    renderer.StepFrame();

    Orvix::VideoRes mode = {32, 32, 32};
    ASSERT_TRUE(renderer.Initialize(nullptr, &mode));
    EXPECT_NE(renderer.LoadImageA("one.bmp"), nullptr);
    EXPECT_NE(renderer.NewSpriteType(), nullptr);
    renderer.Shutdown();
    EXPECT_EQ(renderer.GetScreen(), nullptr);
    EXPECT_EQ(renderer.NewSpriteType(), nullptr);
    EXPECT_EQ(renderer.GetNumImages(), 0u);
    EXPECT_EQ(renderer.GetNumTilemaps(), 0);
  }
  EXPECT_TRUE(log.Contains("RendererSDL object destroyed"));
  EXPECT_FALSE(log.Contains("dangling"));
}

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : m_name(name) {
    const char* previous = getenv(name);
    m_hadValue = previous != nullptr;
    if (m_hadValue) m_previous = previous;
    setenv(name, value, 1);
  }
  ~ScopedEnvironment() {
    if (m_hadValue) {
      setenv(m_name, m_previous.c_str(), 1);
    } else {
      unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::string m_previous;
  bool m_hadValue = false;
};

}  // namespace

TEST(RendererSDLLifecycle, WithoutAudioTheWindowStillOpens) {
  LogCapture log;
  ScopedEnvironment noAudio("SDL_AUDIODRIVER", "no-such-audio-driver");
  TestRenderer renderer;
  Orvix::VideoRes mode = {16, 16, 32};
  ASSERT_TRUE(renderer.Initialize(nullptr, &mode));
  EXPECT_NE(renderer.GetScreen(), nullptr);
  EXPECT_TRUE(log.Contains("Unable to init SDL: "));
  EXPECT_TRUE(log.Contains("SDL video started without audio"));
  renderer.Shutdown();
}

TEST(RendererSDLLifecycleDeathTest, AVideoModeSdlRefusesEndsTheProcessWithStatus1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto initializeWithoutVideo = [] {
    ScopedEnvironment noVideo("SDL_VIDEODRIVER", "no-such-video-driver");
    TestRenderer renderer;
    Orvix::VideoRes mode = {16, 16, 32};
    renderer.Initialize(nullptr, &mode);
  };
  EXPECT_EXIT(initializeWithoutVideo(), ::testing::ExitedWithCode(1), "");
}

TEST(RendererDX9, DoesNothingAndSaysSoWhenDestroyed) {
  LogCapture log;
  {
    Orvix::RendererDX9 renderer;
    Orvix::IRenderer& base = renderer;
    Orvix::VideoRes mode = {1, 1, 32};
    EXPECT_TRUE(base.Initialize(nullptr, &mode));
    base.StepFrame();
    EXPECT_TRUE(base.PageFlip());
    EXPECT_TRUE(base.ClearScreen());
    base.Shutdown();
  }
  EXPECT_EQ(log.Text(), "RendererDX9 object destroyed\r\n");
}

namespace {

// Pushes SDL's quit event during its third frame, as closing the window does.
class QuitOnThirdFrameApp : public Orvix::COrvixApp {
 public:
  int frames = 0;

  void Frame() override {
    ++frames;
    if (frames == 3) {
      SDL_Event quit;
      std::memset(&quit, 0, sizeof quit);
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
    if (frames > 50) ForceShutdown();  // the test fails rather than hangs
  }
  void DrawOverlay() override {}
  int OnGameEvent(int code, int) override { return code; }

 protected:
  bool Initialize() override {
    TestRenderer* renderer = CreateRenderer<TestRenderer>();
    return renderer->Initialize(nullptr, GetVideoRes());
  }
};

}  // namespace

TEST(RendererSDLFrameLoop, QuitEventEndsTheLoopAfterTheCurrentFrame) {
  ScopedTempDir folder;
  QuitOnThirdFrameApp app;
  Orvix::LaunchContext context;
  std::memset(&context, 0, sizeof context);
  std::strcpy(context.appName, "quit test");
  context.hInstance = &context;
  context.width = 32;
  context.height = 32;
  ASSERT_TRUE(app.Launch(&context));
  EXPECT_EQ(app.frames, 3);
  EXPECT_TRUE(app.ShutdownRequested());
  EXPECT_EQ(app.GetRenderer(), nullptr);
}
