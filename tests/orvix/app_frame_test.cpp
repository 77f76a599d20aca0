#include <gtest/gtest.h>

#include <cstring>

#include "orvix/orvix.h"
#include "tests/common/temp_dir.h"

namespace {

class ProbeApp : public Orvix::COrvixApp {
 public:
  int frames = 0;
  void Frame() override { ++frames; }
  void DrawOverlay() override {}
  int OnGameEvent(int code, int) override { return code; }
  bool Replace(Orvix::LaunchContext* context) { return LCReplaceDefaults(context); }
};

Orvix::LaunchContext MakeContext(int width, int height, int bpp) {
  Orvix::LaunchContext context;
  std::memset(&context, 0, sizeof context);
  context.hInstance = &context;
  context.width = width;
  context.height = height;
  context.bpp = bpp;
  return context;
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
