#include <gtest/gtest.h>

#include "game/testapp.h"

TEST(GameApplication, PublishesItselfAsTheEngineApplication) {
  {
    CTestApp app;
    EXPECT_EQ(Orvix::g_orvix, &app);
  }
  EXPECT_EQ(Orvix::g_orvix, nullptr);
}
