#include <SDL/SDL_keysym.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "orvix/inputscript.h"
#include "orvix/memtrack.h"
#include "orvix/orvix.h"
#include "tests/common/temp_dir.h"

namespace {

using Orvix::InputScript;

struct ScriptDeleter {
  void operator()(InputScript* script) const { OX_DELETE script; }
};
using ScriptPtr = std::unique_ptr<InputScript, ScriptDeleter>;

ScriptPtr ParseOrFail(const char* text) {
  char error[256] = {};
  ScriptPtr script(InputScript::Parse(text, error, sizeof error));
  EXPECT_NE(script, nullptr) << error;
  return script;
}

}  // namespace

TEST(InputScript, KeysGoDownAndUpAtTheirGameTime) {
  ScriptPtr script = ParseOrFail(
      "# walk up, then right\n"
      "0 press up\n"
      "100 release up\n"
      "100 press 275   # right by its SDL code\n"
      "250 release right\n");
  ASSERT_NE(script, nullptr);
  EXPECT_FALSE(script->GetKeyState(SDLK_UP)) << "nothing is down before the first frame";

  script->Advance(5.0f);  // the first frame is time 0 whatever its frame time
  EXPECT_TRUE(script->GetKeyState(SDLK_UP));
  EXPECT_EQ(script->GetClockMs(), 0.0);
  script->Advance(0.06f);
  EXPECT_TRUE(script->GetKeyState(SDLK_UP));
  script->Advance(0.05f);  // 110 ms
  EXPECT_FALSE(script->GetKeyState(SDLK_UP));
  EXPECT_TRUE(script->GetKeyState(SDLK_RIGHT));
  EXPECT_FALSE(script->IsFinished());
  script->Advance(0.15f);  // 260 ms
  EXPECT_FALSE(script->GetKeyState(SDLK_RIGHT));
  EXPECT_TRUE(script->IsFinished());
}

TEST(InputScript, APressAndReleaseInOneFrameAreSeenForOneFrame) {
  ScriptPtr script = ParseOrFail("10 press space\n20 release space\n30 press d\n");
  ASSERT_NE(script, nullptr);
  script->Advance(0.0f);
  script->Advance(0.5f);  // everything is due at once
  EXPECT_TRUE(script->GetKeyState(SDLK_SPACE));
  EXPECT_FALSE(script->GetKeyState(SDLK_d)) << "commands after a deferred release wait with it";
  script->Advance(0.016f);
  EXPECT_FALSE(script->GetKeyState(SDLK_SPACE));
  EXPECT_TRUE(script->GetKeyState(SDLK_d));
}

TEST(InputScript, KeyNamesLettersAndCodes) {
  const struct {
    const char* key;
    unsigned code;
  } cases[] = {
      {"up", SDLK_UP},   {"DOWN", SDLK_DOWN},   {"left", SDLK_LEFT},   {"right", SDLK_RIGHT},
      {"tab", SDLK_TAB}, {"lctrl", SDLK_LCTRL}, {"D", SDLK_d},         {"x", SDLK_x},
      {"9", 9},          {"511", 511},          {"space", SDLK_SPACE},
  };
  for (const auto& testCase : cases) {
    const std::string text = std::string("0 press ") + testCase.key + "\n";
    ScriptPtr script = ParseOrFail(text.c_str());
    ASSERT_NE(script, nullptr) << testCase.key;
    script->Advance(0.0f);
    EXPECT_TRUE(script->GetKeyState(testCase.code)) << testCase.key;
    EXPECT_EQ(script->GetEntireKeyState()[testCase.code], 1) << testCase.key;
  }
}

TEST(InputScript, DisabledInputHidesTheKeys) {
  ScriptPtr script = ParseOrFail("0 press up\n");
  ASSERT_NE(script, nullptr);
  script->Advance(0.0f);
  script->DisableInput(true);
  EXPECT_FALSE(script->GetKeyState(SDLK_UP));
  script->DisableInput(false);
  EXPECT_TRUE(script->GetKeyState(SDLK_UP));
  EXPECT_FALSE(script->GetKeyState(InputScript::kKeyCount));
  EXPECT_FALSE(script->GetKeyState(0xFFFFFFFFu));
}

TEST(InputScript, MalformedLinesAreRefusedWithTheirLineNumber) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"0 press\n", "line 1:"},
      {"# c\n\nabc press up\n", "line 3: the time"},
      {"-5 press up\n", "line 1: the time"},
      {"100 press up\n50 release up\n", "line 2: the time is earlier"},
      {"0 hold up\n", "line 1: expected"},
      {"0 press banana\n", "line 1: unknown key"},
      {"0 press 512\n", "line 1: unknown key"},
      {"0 press up now\n", "line 1: expected"},
      {"0 quit now\n", "line 1: expected"},
      {"99999999999 press up\n", "line 1: the time"},
  };
  for (const auto& testCase : cases) {
    char error[256] = {};
    InputScript* script = InputScript::Parse(testCase.text, error, sizeof error);
    EXPECT_EQ(script, nullptr) << testCase.text;
    OX_DELETE script;
    EXPECT_EQ(std::string(error).rfind(testCase.expected, 0), 0u) << testCase.text << " gave: " << error;
  }
}

TEST(InputScript, LongLinesAreRefused) {
  const std::string text = "0 press up #" + std::string(300, 'x') + "\n";
  char error[256] = {};
  EXPECT_EQ(InputScript::Parse(text.c_str(), error, sizeof error), nullptr);
  EXPECT_NE(std::string(error).find("longer than"), std::string::npos) << error;
}

TEST(InputScript, LoadsAFileWithWindowsLineEnds) {
  ScopedTempDir dir;
  FILE* file = std::fopen("walk.txt", "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("0 press left\r\n40 release left\r\n", file);
  std::fclose(file);
  char error[256] = {};
  ScriptPtr script(InputScript::Load("walk.txt", error, sizeof error));
  ASSERT_NE(script, nullptr) << error;
  script->Advance(0.0f);
  EXPECT_TRUE(script->GetKeyState(SDLK_LEFT));
  script->Advance(0.05f);
  EXPECT_FALSE(script->GetKeyState(SDLK_LEFT));

  EXPECT_EQ(InputScript::Load("missing.txt", error, sizeof error), nullptr);
  EXPECT_NE(std::string(error).find("missing.txt"), std::string::npos) << error;
}

TEST(InputScript, AnEmptyScriptIsFinishedAndPressesNothing) {
  ScriptPtr script = ParseOrFail("# nothing\n\n");
  ASSERT_NE(script, nullptr);
  script->Advance(0.0f);
  EXPECT_TRUE(script->IsFinished());
  EXPECT_FALSE(script->GetKeyState(SDLK_UP));
}

namespace {

// Counts its frames and the frames in which Up was down.
class ScriptedApp : public Orvix::COrvixApp {
 public:
  int frames = 0;
  int framesWithUp = 0;
  void Frame() override {
    ++frames;
    if (GetInputHandler()->GetKeyState(SDLK_UP)) ++framesWithUp;
    if (frames > 1000) ForceShutdown();  // a safety net; the script ends the run
  }
  void DrawOverlay() override {}
  int OnGameEvent(int code, int) override { return code; }
};

}  // namespace

TEST(InputScript, QuitEndsTheApplicationsLoop) {
  ScopedTempDir dir;
  ScriptedApp app;
  app.SetInputHandler(ParseOrFail("0 press up\n0 quit\n").release());
  Orvix::LaunchContext context;
  std::memset(&context, 0, sizeof context);
  context.hInstance = &context;
  ASSERT_TRUE(app.Launch(&context));
  EXPECT_EQ(app.frames, 1);
  EXPECT_EQ(app.framesWithUp, 1);
}
