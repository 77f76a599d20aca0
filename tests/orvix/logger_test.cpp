#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "orvix/dialog.h"
#include "orvix/logging.h"
#include "orvix/orvix.h"
#include "tests/common/temp_dir.h"

namespace {

// A logger of its own for each test; the process-wide one belongs to Launch.
class TestLogger : public Orvix::COrvixLogger {
 public:
  TestLogger() = default;
  ~TestLogger() = default;
};

class NamedApp : public Orvix::COrvixApp {
 public:
  void Frame() override {}
  void DrawOverlay() override {}
  int OnGameEvent(int code, int) override { return code; }

 protected:
  bool Initialize() override { return false; }
};

std::string DebugWindowText(Orvix::COrvixLogger& logger) {
  Orvix::COrvixDialog* dialog = logger.GetDebugDialog()->GetDialog();
  std::string text(Orvix::COrvixFltkDebugDialog::kShownCharacters + 16, '\0');
  const int length = dialog->GetItemText(Orvix::COrvixFltkDebugDialog::kTextControlId, text.data(),
                                         static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

TEST(Logger, FileStartsWithTheHeaderAndEndsWithTheClosingLine) {
  ScopedTempDir dir;
  NamedApp app;
  Orvix::LaunchContext context = {};
  std::strcpy(context.appName, "ORVIX App");
  context.hInstance = &context;
  ASSERT_TRUE(app.Launch(&context));
  {
    TestLogger logger;
    logger.Initialize("test.log", 4096);
    EXPECT_TRUE(logger.Log("message %d", 1));
  }
  EXPECT_EQ(ReadFileText("test.log"),
            "ORVIX App (build 1006)\n\r\n"
            "message 1\n"
            "\n-- logfile closed --\n");
}

TEST(Logger, MessagesBeforeInitializeAreDropped) {
  ScopedTempDir dir;
  TestLogger logger;
  EXPECT_TRUE(logger.Log("too early"));
  EXPECT_EQ(logger.GetBuffer(), nullptr);
  logger.Initialize("first.log", 4096);
  logger.Initialize("second.log", 4096);
  logger.Log("after");
  EXPECT_NE(std::string(logger.GetBuffer()).find("after\r\n"), std::string::npos);
  EXPECT_EQ(std::string(logger.GetBuffer()).find("too early"), std::string::npos);
  EXPECT_NE(ReadFileText("first.log").find("after\n"), std::string::npos);
  EXPECT_EQ(ReadFileText("second.log"), "") << "a second Initialize opens nothing";
}

TEST(Logger, AFullBufferKeepsTheNewestTextAndTheFileKeepsEverything) {
  ScopedTempDir dir;
  TestLogger logger;
  logger.Initialize("full.log", 64);
  std::string everything;
  for (int i = 0; i < 40; ++i) {
    logger.Log("line %02d", i);
    everything += "line " + std::string(i < 10 ? "0" : "") + std::to_string(i) + "\n";
  }
  const std::string buffer = logger.GetBuffer();
  EXPECT_LE(buffer.size(), 63u);
  EXPECT_EQ(buffer.substr(buffer.size() - 9), "line 39\r\n");
  EXPECT_NE(ReadFileText("full.log").find(everything), std::string::npos);

  const std::string longMessage(100, 'x');
  logger.Log("%s", (longMessage + "END").c_str());
  EXPECT_EQ(std::string(logger.GetBuffer()), std::string(63 - 5, 'x') + "END\r\n")
      << "a message longer than the buffer leaves its tail";
}

TEST(Logger, DebugWindowShowsTheNewest20000Characters) {
  ScopedTempDir dir;
  TestLogger logger;
  logger.Initialize("window.log", 1 << 20);
  ASSERT_TRUE(logger.OpenDebugWindow(nullptr));
  logger.Log("short");
  EXPECT_EQ(DebugWindowText(logger), std::string(logger.GetBuffer()));

  std::string message(30000, 'a');
  for (size_t i = 0; i < message.size(); ++i) message[i] = static_cast<char>('a' + i % 26);
  logger.Log("%s", message.c_str());
  const std::string shown = DebugWindowText(logger);
  const std::string logged = message + "\r\n";
  EXPECT_EQ(shown.size(), 20000u);
  EXPECT_EQ(shown, logged.substr(logged.size() - 20000));
}

TEST(Logger, ClosingTheDebugWindowLeavesTheFileLoggingAndItCanOpenAgain) {
  ScopedTempDir dir;
  TestLogger logger;
  logger.Initialize("closed.log", 4096);
  ASSERT_TRUE(logger.OpenDebugWindow(nullptr));
  Orvix::COrvixFltkDebugDialog* debug = logger.GetDebugDialog();
  debug->GetDialog()->UserPressedCloseBox();
  EXPECT_FALSE(debug->HasWindow());
  EXPECT_FALSE(debug->Update());
  EXPECT_TRUE(logger.Log("after closing"));
  EXPECT_NE(ReadFileText("closed.log").find("after closing\n"), std::string::npos);

  EXPECT_TRUE(logger.OpenDebugWindow(nullptr));
  EXPECT_TRUE(logger.GetDebugDialog()->HasWindow());
  EXPECT_NE(DebugWindowText(logger).find("after closing"), std::string::npos);
}

TEST(Logger, AnUnopenableFileIsReportedAndLoggingGoesOnInMemory) {
  ScopedTempDir dir;
  TestLogger logger;
  testing::internal::CaptureStderr();
  logger.Initialize("no-such-folder/log.txt", 4096);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Error] Failed to open logfile\n");
  EXPECT_FALSE(logger.IsFileOpen());
  EXPECT_TRUE(logger.Log("kept in memory"));
  EXPECT_EQ(std::string(logger.GetBuffer()), "kept in memory\r\n");
}
