#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orvix/logging.h"
#include "orvix/orvix.h"
#include "tests/common/temp_dir.h"

namespace {

std::vector<std::string>* g_events = nullptr;
void Record(const std::string& event) {
  if (g_events != nullptr) g_events->push_back(event);
}

class FakeRenderer : public Orvix::IRenderer {
 public:
  ~FakeRenderer() override { Record("renderer destroyed"); }
  bool Initialize(Orvix::HWND, Orvix::VideoRes*) override { return true; }
  void Shutdown() override { Record("renderer Shutdown"); }
  void StepFrame() override { Record("StepFrame"); }
  bool PageFlip() override { return true; }
  bool ClearScreen() override { return true; }
};

class FailingInput : public Orvix::IInputHandler {
 public:
  ~FailingInput() override { Record("input destroyed"); }
  bool Update() override { return false; }
  bool GetKeyState(unsigned) override { return false; }
  bool GetJoyState(unsigned, unsigned) override { return false; }
  bool OnKeyDown(int, void*) override { return true; }
};

// An application whose every step is recorded; it can be told to fail its
// start-up, make a renderer, and ask for shutdown in a given frame.
class ProbeApp : public Orvix::COrvixApp {
 public:
  bool initializeResult = true;
  bool makeRenderer = false;
  int shutdownInFrame = 1;
  int frames = 0;
  float timeKeyInInitialize = -1;
  float timeKeyInFirstFrame = -1;
  uint32_t* clockDuringInitialize = nullptr;  // set to advance the clock there
  uint32_t clockAfterInitialize = 0;

  void Frame() override {
    ++frames;
    Record("Frame");
    if (frames == 1) timeKeyInFirstFrame = GetTimeKey();
    if (frames == shutdownInFrame) ForceShutdown();
  }
  void DrawOverlay() override {}
  int OnGameEvent(int code, int) override { return code; }
  bool Replace(Orvix::LaunchContext* context) { return LCReplaceDefaults(context); }

 protected:
  bool Initialize() override {
    Record("Initialize");
    timeKeyInInitialize = GetTimeKey();
    if (clockDuringInitialize != nullptr) *clockDuringInitialize = clockAfterInitialize;
    if (makeRenderer) CreateRenderer<FakeRenderer>();
    return initializeResult;
  }
  bool Shutdown() override {
    Record("Shutdown");
    return COrvixApp::Shutdown();
  }
};

Orvix::LaunchContext MakeContext(int width, int height, int bpp) {
  Orvix::LaunchContext context;
  std::memset(&context, 0, sizeof context);
  std::strcpy(context.appName, "ORVIX App");
  context.hInstance = &context;
  context.width = width;
  context.height = height;
  context.bpp = bpp;
  return context;
}

uint32_t g_clock = 0;
uint32_t FakeClock() { return g_clock; }

class AppFrameTest : public testing::Test {
 protected:
  void SetUp() override { g_events = &events; }
  void TearDown() override {
    g_events = nullptr;
    Orvix::SetTickSource(nullptr);
  }
  // What the process-wide log received since the test began.
  std::string NewLogText() const {
    const char* buffer = Orvix::CSingleton<Orvix::COrvixLogger>::Instance().GetBuffer();
    const std::string all = buffer != nullptr ? buffer : "";
    return all.size() > m_logStart ? all.substr(m_logStart) : "";
  }
  void MarkLog() {
    const char* buffer = Orvix::CSingleton<Orvix::COrvixLogger>::Instance().GetBuffer();
    m_logStart = buffer != nullptr ? std::strlen(buffer) : 0;
  }

  ScopedTempDir dir;
  std::vector<std::string> events;
  size_t m_logStart = 0;
};

size_t CountOf(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

}  // namespace

TEST(AppFrame, DefaultsFillOnlyZeroValues) {
  struct Case {
    int width, height, bpp;
    int expectedWidth, expectedHeight, expectedBpp;
  };
  const Case cases[] = {{512, 512, 0, 512, 512, 32}, {0, 0, 0, 1024, 768, 32}, {640, 0, 16, 640, 768, 16}};
  for (const Case& c : cases) {
    ProbeApp app;
    Orvix::LaunchContext context = MakeContext(c.width, c.height, c.bpp);
    ASSERT_TRUE(app.Replace(&context));
    EXPECT_EQ(context.width, c.expectedWidth);
    EXPECT_EQ(context.height, c.expectedHeight);
    EXPECT_EQ(context.bpp, c.expectedBpp);
  }
}

TEST_F(AppFrameTest, LaunchKeepsItsOwnCompletedCopyAndOpensLogAndDebugWindow) {
  ProbeApp app;
  Orvix::LaunchContext context = MakeContext(512, 512, 0);
  MarkLog();
  ASSERT_TRUE(app.Launch(&context));
  EXPECT_EQ(context.bpp, 0) << "the caller's context is not changed";
  EXPECT_EQ(app.GetScreenWidth(), 512);
  EXPECT_EQ(app.GetVideoRes()->bpp, 32);
  EXPECT_STREQ(app.GetLaunchContext().appName, "ORVIX App");
  EXPECT_NE(NewLogText().find("-- Initialization --\r\n"), std::string::npos);
  Orvix::COrvixLogger& logger = Orvix::CSingleton<Orvix::COrvixLogger>::Instance();
  ASSERT_NE(logger.GetDebugDialog(), nullptr);
}

TEST_F(AppFrameTest, NullInstanceIsACriticalErrorBeforeAnythingStarts) {
  ProbeApp app;
  app.makeRenderer = true;
  Orvix::LaunchContext context = MakeContext(512, 512, 0);
  context.hInstance = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(app.Launch(&context));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "[Critical Error] Critical Error: hInstance undefined in launch context\n");
  EXPECT_TRUE(events.empty()) << "neither Initialize, Shutdown nor the renderer ran";
}

TEST_F(AppFrameTest, FailedInitializeSkipsTheFramesButStillShutsDown) {
  ProbeApp app;
  app.initializeResult = false;
  app.makeRenderer = true;
  Orvix::LaunchContext context = MakeContext(512, 512, 0);
  EXPECT_TRUE(app.Launch(&context));
  EXPECT_EQ(events,
            (std::vector<std::string>{"Initialize", "Shutdown", "renderer Shutdown", "renderer destroyed"}));
  EXPECT_EQ(app.GetRenderer(), nullptr);
}

TEST_F(AppFrameTest, ShutdownRequestedInAFrameLetsThatFrameFinish) {
  ProbeApp app;
  app.makeRenderer = true;
  app.shutdownInFrame = 2;
  Orvix::LaunchContext context = MakeContext(512, 512, 0);
  EXPECT_TRUE(app.Launch(&context));
  EXPECT_EQ(events, (std::vector<std::string>{"Initialize", "Frame", "StepFrame", "Frame", "StepFrame",
                                              "Shutdown", "renderer Shutdown", "renderer destroyed"}));
}

TEST_F(AppFrameTest, WithoutARendererTheLoopStillRunsAndEnds) {
  ProbeApp app;
  app.shutdownInFrame = 3;
  Orvix::LaunchContext context = MakeContext(0, 0, 0);
  EXPECT_TRUE(app.Launch(&context));
  EXPECT_EQ(app.frames, 3);
  EXPECT_EQ(app.GetRenderer(), nullptr);
}

TEST_F(AppFrameTest, TimeKeyCoversInitializeAndSurvivesTheTickWrap) {
  struct Case {
    uint32_t atConstruction;
    uint32_t afterInitialize;
    float firstFrameSeconds;
  };
  for (const Case& c : {Case{1000, 3500, 2.5f}, Case{0xFFFFFF00u, 0x100u, 0.512f}}) {
    Orvix::SetTickSource(FakeClock);
    g_clock = c.atConstruction;
    ProbeApp app;
    app.clockDuringInitialize = &g_clock;
    app.clockAfterInitialize = c.afterInitialize;
    Orvix::LaunchContext context = MakeContext(512, 512, 0);
    ASSERT_TRUE(app.Launch(&context));
    EXPECT_FLOAT_EQ(app.timeKeyInInitialize, 0.0001f);
    EXPECT_FLOAT_EQ(app.timeKeyInFirstFrame, c.firstFrameSeconds);
  }
}

TEST_F(AppFrameTest, InputSystemIsChosenOnce) {
  ProbeApp app;
  EXPECT_TRUE(app.InitInputSystem(Orvix::INPUT_SYSTEM_RESERVED));
  EXPECT_EQ(app.GetInputHandler(), nullptr);
  EXPECT_FALSE(app.InitInputSystem(Orvix::INPUT_SYSTEM_SDL));
  EXPECT_EQ(app.GetInputHandler(), nullptr);
  app.ShutdownInputSystem();
  EXPECT_FALSE(app.InitInputSystem(static_cast<Orvix::InputSystem>(7)));
  EXPECT_TRUE(app.InitInputSystem(Orvix::INPUT_SYSTEM_SDL)) << "an unknown system leaves the choice open";
  EXPECT_NE(app.GetInputHandler(), nullptr);
  EXPECT_FALSE(app.InitInputSystem(Orvix::INPUT_SYSTEM_RESERVED));
}

TEST_F(AppFrameTest, FailedInputUpdateIsLoggedEveryFrameAndTheFrameGoesOn) {
  ProbeApp app;
  app.shutdownInFrame = 3;
  app.SetInputHandler(OX_NEW FailingInput);
  Orvix::LaunchContext context = MakeContext(512, 512, 0);
  MarkLog();
  ASSERT_TRUE(app.Launch(&context));
  EXPECT_EQ(app.frames, 3);
  EXPECT_EQ(CountOf(NewLogText(), "Input update failed\r\n"), 3u);
  EXPECT_EQ(app.GetInputHandler(), nullptr) << "the base Shutdown released the handler";
}

TEST_F(AppFrameTest, MessageBoxesLogTheirTextVerbatim) {
  ProbeApp app;
  Orvix::LaunchContext context = MakeContext(512, 512, 0);
  ASSERT_TRUE(app.Launch(&context));
  MarkLog();
  testing::internal::CaptureStderr();
  app.Message("%s at %d%%", "loaded %s", 50);
  app.CriticalError("broken %c", '!');
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "[System Message] loaded %s at 50%\n[Critical Error] broken !\n");
  EXPECT_EQ(NewLogText(), "loaded %s at 50%\r\nbroken !\r\n");
}

TEST_F(AppFrameTest, AnApplicationThatNeverLaunchedReleasesWhatItOwns) {
  {
    ProbeApp app;
    app.SetInputHandler(OX_NEW FailingInput);
    app.CreateRenderer<FakeRenderer>();
  }
  EXPECT_EQ(events, (std::vector<std::string>{"input destroyed", "renderer Shutdown", "renderer destroyed"}));
}

TEST_F(AppFrameTest, HeadlessThereIsNoPrimaryWindow) {
  ProbeApp app;
  EXPECT_EQ(app.CreatePrimaryWindow(512, 512, false), nullptr);
  app.DestroyPrimaryWindow();
}

TEST(AppFrame, PublishesItselfWhileAlive) {
  {
    ProbeApp app;
    EXPECT_EQ(Orvix::g_orvix, &app);
  }
  EXPECT_EQ(Orvix::g_orvix, nullptr);
}
