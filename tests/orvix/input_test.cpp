#include "orvix/input.h"

#include <gtest/gtest.h>

#include "orvix/orvix.h"
#include "render_helpers.h"

using namespace render_test;

namespace {

// SDL's key table can only be pressed by a real keyboard; the tests set a
// flag in it directly and restore it.
class PressedKey {
 public:
  PressedKey(Orvix::IInputHandler& input, unsigned key) : m_flags(input.GetEntireKeyState()), m_key(key) {
    m_flags[m_key] = 1;
  }
  ~PressedKey() { m_flags[m_key] = 0; }

 private:
  unsigned char* m_flags;
  unsigned m_key;
};

}  // namespace

using InputTest = RendererTest;

TEST_F(InputTest, NoKeyIsDownBeforeTheFirstUpdate) {
  Orvix::InputSDL input;
  EXPECT_EQ(input.GetEntireKeyState(), nullptr);
  for (unsigned key : {0u, unsigned(SDLK_SPACE), unsigned(SDLK_LAST) - 1})
    EXPECT_FALSE(input.GetKeyState(key));
}

TEST_F(InputTest, DisabledInputHidesKeysFromGetKeyStateOnly) {
  Orvix::InputSDL input;
  ASSERT_TRUE(input.Update());
  ASSERT_NE(input.GetEntireKeyState(), nullptr);
  PressedKey space(input, SDLK_SPACE);
  EXPECT_TRUE(input.GetKeyState(SDLK_SPACE));
  EXPECT_FALSE(input.GetKeyState(SDLK_a));
  input.DisableInput(true);
  EXPECT_FALSE(input.GetKeyState(SDLK_SPACE));
  EXPECT_EQ(input.GetEntireKeyState()[SDLK_SPACE], 1);
  input.DisableInput(false);
  EXPECT_TRUE(input.GetKeyState(SDLK_SPACE));
}

TEST_F(InputTest, KeysOutsideSdlsTableAreUp) {
  Orvix::InputSDL input;
  input.Update();
  for (unsigned key : {unsigned(SDLK_LAST), unsigned(SDLK_LAST) + 1, 100000u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(input.GetKeyState(key)) << key;
  }
}

TEST_F(InputTest, JoystickIsNeverDownAndOnKeyDownAlwaysAccepts) {
  Orvix::InputSDL input;
  Orvix::IInputHandler& handler = input;
  for (unsigned a : {0u, 1u, 77u}) {
    for (unsigned b : {0u, 5u, 0xFFFFFFFFu}) EXPECT_FALSE(handler.GetJoyState(a, b));
  }
  int argument = 0;
  for (int key : {-1, 0, int(SDLK_SPACE)}) {
    EXPECT_TRUE(handler.OnKeyDown(key, nullptr));
    EXPECT_TRUE(handler.OnKeyDown(key, &argument));
  }
}

TEST_F(InputTest, MouseStateFollowsSdl) {
  Orvix::InputSDL input;
  SDL_WarpMouse(12, 34);
  SDL_PumpEvents();
  ASSERT_TRUE(input.Update());
  Orvix::MouseState mouse = input.GetMouseState();
  EXPECT_EQ(mouse.x, 12);
  EXPECT_EQ(mouse.y, 34);
  EXPECT_FALSE(mouse.left || mouse.middle || mouse.right);  // the dummy driver has no buttons down
  input.DisableInput(true);                                 // the mouse is still reported
  EXPECT_EQ(input.GetMouseState().y, 34);
}

TEST(InputSDL, ButtonMaskGivesLeftMiddleAndRight) {
  struct Case {
    unsigned mask;
    bool left, middle, right;
  };
  const Case cases[] = {{0, false, false, false},
                        {SDL_BUTTON(1) | SDL_BUTTON(3), true, false, true},
                        {SDL_BUTTON(2), false, true, false},
                        {SDL_BUTTON(1) | SDL_BUTTON(2) | SDL_BUTTON(3) | SDL_BUTTON(4), true, true, true}};
  for (const Case& c : cases) {
    Orvix::MouseState mouse = {};
    Orvix::InputSDL::ReadButtonMask(c.mask, &mouse);
    EXPECT_EQ(mouse.left, c.left) << c.mask;
    EXPECT_EQ(mouse.middle, c.middle) << c.mask;
    EXPECT_EQ(mouse.right, c.right) << c.mask;
  }
}

TEST(InputSystem, TheSdlBranchMakesAnInputSdl) {
  class App : public Orvix::COrvixApp {
   public:
    void Frame() override {}
    void DrawOverlay() override {}
    int OnGameEvent(int code, int) override { return code; }
  } app;
  ASSERT_TRUE(app.InitInputSystem(Orvix::INPUT_SYSTEM_SDL));
  EXPECT_NE(dynamic_cast<Orvix::InputSDL*>(app.GetInputHandler()), nullptr);
  EXPECT_FALSE(app.InitInputSystem(Orvix::INPUT_SYSTEM_SDL));
  app.ShutdownInputSystem();
  EXPECT_EQ(app.GetInputHandler(), nullptr);
}
