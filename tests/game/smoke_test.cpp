#include <gtest/gtest.h>

#include <string>

#include "game/testapp.h"
#include "orvix/logging.h"
#include "tests/common/temp_dir.h"
#include "tests/game/hero_fixtures.h"

TEST(GameApplication, PublishesItselfAsTheEngineApplication) {
  {
    CTestApp app;
    EXPECT_EQ(Orvix::g_orvix, &app);
  }
  EXPECT_EQ(Orvix::g_orvix, nullptr);
}

TEST(GameApplication, SetUpTextsAreCutToTheirFields) {
  CTestApp app;
  app.SetPlayerName(std::string(100, 'n').c_str());
  app.SetServerAddress(std::string(100, 'a').c_str());
  EXPECT_EQ(std::string(app.GetPlayerName()), std::string(63, 'n'));
  EXPECT_EQ(std::string(app.GetServerAddress()), std::string(23, 'a'));
  app.SetPlayerName("");
  EXPECT_STREQ(app.GetPlayerName(), "");
}

TEST(GameApplication, AFrameLimitEndsTheGameAfterThatManyFrames) {
  hero_test::PlayFolder folder;
  CTestApp app;
  app.SetServer(true);
  app.SetGamePort(0);
  app.SetPlayerName("A");
  app.SetFrameLimit(30);
  Orvix::LaunchContext context = {};
  context.hInstance = Orvix::GetProgramInstance();
  context.width = 512;
  context.height = 512;
  ASSERT_TRUE(app.Launch(&context));
  EXPECT_EQ(app.GetFramesRun(), 30);
}
