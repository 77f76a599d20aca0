// The application's per-frame work on a test world: keys to hero events,
// room scrolling, the exit of a cave, the HUD values and the release of ended
// entities.
#include <SDL/SDL_keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "game/aveth.h"
#include "game/netconnection.h"
#include "game/rendprael.h"
#include "game/sword.h"
#include "game/testapp.h"
#include "orvix/memtrack.h"
#include "tests/game/hero_fixtures.h"
#include "tests/game/net_test_support.h"

namespace {

// A keyboard whose keys the test holds down.
class HeldKeys : public Orvix::IInputHandler {
 public:
  bool Update() override { return true; }
  bool GetKeyState(unsigned key) override { return !m_disabled && keys.count(key) != 0; }
  bool GetJoyState(unsigned, unsigned) override { return false; }
  bool OnKeyDown(int, void*) override { return true; }
  std::set<unsigned> keys;
};

// An entity that ends when told and counts its own release.
class Ender : public Entity {
 public:
  explicit Ender(int* released) : Entity(nullptr), m_released(released) { SetName("Ender"); }
  ~Ender() override { ++*m_released; }
  void SendEvent(int, EventParam*, EventParam*) override {}

 private:
  int* m_released;
};

class AppTest : public hero_test::WorldTest<CTestApp> {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    app->renderer = renderer.get();
    app->isServer = true;
    keyboard = OX_NEW HeldKeys;
    app->SetInputHandler(keyboard);  // the application owns it
  }
  void TearDown() override {
    app->ShutdownInputSystem();
    WorldTest::TearDown();
  }
  // A local hero the application owns, at pixel position (x, y).
  Aveth* MakeLocalHero(float x, float y) {
    Aveth* hero = MakeHero(x, y);
    heroes.pop_back();
    app->localHero = hero;
    return hero;
  }
  // One frame as the engine runs it, without the pacing wait.
  void RunFrame(float seconds) {
    Step(seconds);
    app->HandleInput();
    app->ScrollRooms();
    renderer->StepFrame();
  }

  // Loads the world and connects the application, as the host, to `guest`
  // over loopback; the application owns the host's connection. Null when
  // the two cannot connect.
  NetConnection* HostFor(NetConnection& guest) {
    StartTestLog();
    LoadWorld();
    NetConnection* host = OX_NEW NetConnection(NetConnection::kAccessPassword, "Host");
    app->connection = host;
    return ConnectOnLoopback(*host, guest) ? host : nullptr;
  }

  HeldKeys* keyboard = nullptr;
};

}  // namespace

TEST_F(AppTest, UpWithLeftMovesUpAndNoKeyStops) {
  LoadWorld();
  Aveth* hero = MakeLocalHero(3840.0f, 2656.0f);
  keyboard->keys = {SDLK_UP, SDLK_LEFT};
  RunFrame(0.02f);
  EXPECT_EQ(hero->GetPosition(), Vec2(3840.0f, 2656.0f - 3.5f));
  EXPECT_EQ(hero->moveDirection, DIR_UP);
  const struct {
    std::set<unsigned> keys;
    int direction;
  } cases[] = {
      {{SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}, DIR_DOWN},
      {{SDLK_LEFT, SDLK_RIGHT}, DIR_RIGHT},
      {{SDLK_LEFT}, DIR_LEFT},
      {{}, DIR_NONE},
  };
  for (const auto& testCase : cases) {
    keyboard->keys = testCase.keys;
    RunFrame(0.02f);
    EXPECT_EQ(hero->moveDirection, testCase.direction);
  }
}

TEST_F(AppTest, AHeldSpaceGivesOneAttackAndOneMessageSeven) {
  NetConnection guest(NetConnection::kAccessPassword, "Guest");
  PeerRecorder guestLog(guest);
  NetConnection* host = HostFor(guest);
  ASSERT_NE(host, nullptr);

  Aveth* hero = MakeLocalHero(3840.0f, 2656.0f);
  hero->beamReady = false;  // the sword alone
  keyboard->keys = {SDLK_SPACE};
  int swings = 0;
  for (int frame = 0; frame < 30; ++frame) {
    const float holdBefore = hero->GetSword(0)->holdTime;
    RunFrame(0.02f);
    if (hero->GetSword(0)->holdTime > holdBefore) ++swings;
  }
  EXPECT_EQ(swings, 1);
  keyboard->keys = {};
  RunFrame(0.02f);
  keyboard->keys = {SDLK_SPACE};
  RunFrame(0.02f);
  EXPECT_TRUE(hero->GetSword(0)->visible) << "a new press attacks again";
  PumpFor({host, &guest}, 200);
  ASSERT_EQ(guestLog.messages.size(), 2u);
  for (const ReceivedMessage& message : guestLog.messages) {
    EXPECT_EQ(message.type, 7u);
    EXPECT_EQ(message.payload.size(), 8u);
  }
}

TEST_F(AppTest, LeftControlUsesTheItemOncePerPressAndSendsMessageThirteen) {
  NetConnection guest(NetConnection::kAccessPassword, "Guest");
  PeerRecorder guestLog(guest);
  NetConnection* host = HostFor(guest);
  ASSERT_NE(host, nullptr);
  renderer->SetEntityDropHandler(
      [](Entity* entity, void* context) { static_cast<CTestApp*>(context)->RetireEntity(entity); },
      app.get());

  Aveth* hero = MakeLocalHero(3840.0f, 2656.0f);
  hero->selectedItem = Aveth::ITEM_FIRE;
  const unsigned withoutItems = renderer->GetEntityCount();
  int fires = 0;
  for (int press = 0; press < 2; ++press) {
    keyboard->keys = {SDLK_LCTRL};
    for (int frame = 0; frame < 5; ++frame) {
      RunFrame(0.02f);
      if (renderer->GetEntityCount() > withoutItems && renderer->GetEntity(withoutItems)->stateTime <= 0.02f)
        ++fires;
    }
    keyboard->keys = {};
    for (int frame = 0; frame < 100 && !hero->itemReady; ++frame) RunFrame(0.02f);  // the fire burns out
    app->ReleaseEndedEntities();
  }
  EXPECT_EQ(fires, 2) << "one fire a press";
  EXPECT_EQ(renderer->GetEntityCount(), withoutItems);
  PumpFor({host, &guest}, 200);
  ASSERT_EQ(guestLog.messages.size(), 2u);
  for (const ReceivedMessage& message : guestLog.messages) {
    EXPECT_EQ(message.type, 13u);
    EXPECT_EQ(message.payload.size(), 8u);
  }
}

TEST_F(AppTest, TabAndDActOnTheHero) {
  LoadWorld();
  Aveth* hero = MakeLocalHero(3840.0f, 2656.0f);
  keyboard->keys = {SDLK_TAB};
  for (int frame = 0; frame < 5; ++frame) RunFrame(0.02f);
  EXPECT_EQ(hero->selectedItem, Aveth::ITEM_FIRE) << "once per press";
  keyboard->keys = {SDLK_d};
  RunFrame(0.02f);
  EXPECT_EQ(hero->state, Aveth::STATE_STAIRS_DOWN);
}

TEST_F(AppTest, LeavingARoomScrollsHalfASecondAndASecondEdgeWaits) {
  LoadWorld();
  // Room (7, 7) spans pixels 3584..4095 and 2464..2815.
  Aveth* hero = MakeLocalHero(3570.0f, 2656.0f);
  keyboard->keys = {SDLK_LEFT};
  RunFrame(0.02f);
  EXPECT_TRUE(app->scrolling);
  EXPECT_EQ(app->roomX, 6);
  EXPECT_EQ(app->roomY, 7);
  EXPECT_EQ(renderer->GetViewRoomX(), 6);
  EXPECT_GT(renderer->GetViewScrollX(), 0.9f);
  EXPECT_EQ(hero->GetRoom(), Vec2(6.0f, 7.0f));

  // Walking back over the edge while the scroll runs changes nothing.
  keyboard->keys = {};
  hero->SetPosition(Vec2(3600.0f, 2656.0f));
  int frames = 1;
  while (app->scrolling && frames < 100) {
    RunFrame(0.02f);
    ++frames;
    if (app->scrolling) {
      EXPECT_EQ(app->roomX, 6) << frames;
    }
  }
  EXPECT_NEAR(frames, 25, 1) << "two rooms a second";
  EXPECT_EQ(renderer->GetViewScrollX(), 0.0f);
  RunFrame(0.02f);
  EXPECT_TRUE(app->scrolling) << "the hero now stands in room 7 again";
  EXPECT_EQ(app->roomX, 7);
}

TEST_F(AppTest, TheScrollDirectionFollowsTheEdgeCrossed) {
  LoadWorld();
  const struct {
    Vec2 at;
    int roomX, roomY;
    float scrollX, scrollY;
    int push;
  } cases[] = {
      {{4090.0f, 2656.0f}, 8, 7, -1.0f, 0.0f, DIR_RIGHT},
      {{3840.0f, 2440.0f}, 7, 6, 0.0f, 1.0f, DIR_UP},
      {{3840.0f, 2800.0f}, 7, 8, 0.0f, -1.0f, DIR_DOWN},
  };
  for (const auto& testCase : cases) {
    Aveth* hero = MakeLocalHero(testCase.at.x, testCase.at.y);
    app->roomX = 7;
    app->roomY = 7;
    app->scrolling = false;
    app->scrollX = app->scrollY = 0.0f;
    Step(0.0f);
    app->ScrollRooms();
    EXPECT_EQ(app->roomX, testCase.roomX) << testCase.at.x << "," << testCase.at.y;
    EXPECT_EQ(app->roomY, testCase.roomY) << testCase.at.x << "," << testCase.at.y;
    EXPECT_EQ(app->scrollX, testCase.scrollX);
    EXPECT_EQ(app->scrollY, testCase.scrollY);
    EXPECT_EQ(hero->pushDirection, testCase.push);
    EXPECT_EQ(hero->pushDistance, 8);
    renderer->SetLocalHero(nullptr);
    renderer->RemoveEntity(hero);
    OX_DELETE hero;
    app->localHero = nullptr;
  }
}

TEST_F(AppTest, LeavingACaveDownwardsReturnsToTheStairsItWentDown) {
  map.Room(5, 13).exitFlag = 1;
  LoadWorld();
  Aveth* hero = MakeLocalHero(2800.0f, 4920.0f);  // leaving room (5, 13) through its bottom
  hero->returnPoints.push_back(Vec2(109.0f, 102.0f));
  app->roomX = 5;
  app->roomY = 13;
  Step(0.02f);
  app->ScrollRooms();
  EXPECT_FALSE(app->scrolling);
  EXPECT_EQ(hero->GetPosition(), Vec2(109.0f * 32, 102.0f * 32));
  EXPECT_EQ(hero->state, Aveth::STATE_STAIRS_UP);
  EXPECT_EQ(app->roomX, 6) << "the view jumps to the stairs' room";
  EXPECT_EQ(app->roomY, 9);
  EXPECT_TRUE(hero->returnPoints.empty());
}

TEST_F(AppTest, TheHudDrawsCountersOfAHundredWithoutTheX) {
  LoadWorld();
  rendprael_test::WriteFont("font.bmp");
  ASSERT_TRUE(renderer->LoadFont("font.bmp"));
  Aveth* hero = MakeLocalHero(3840.0f, 2656.0f);
  const struct {
    int currency;
    unsigned firstGlyph;
  } cases[] = {{99, 23 /* X */}, {100, 33 /* 1 */}, {999, 41 /* 9 */}, {0, 23}};
  for (const auto& testCase : cases) {
    hero->currency = testCase.currency;
    renderer->ClearScreen();
    app->DrawOverlay();
    EXPECT_EQ(PixelAt(195 + 2, 48 + 2), Colour(rendprael_test::GlyphColour(testCase.firstGlyph)))
        << testCase.currency;
  }
  // Keys (2) are drawn below the currency, with the X.
  EXPECT_EQ(PixelAt(195 + 2, 80 + 2), Colour(rendprael_test::GlyphColour(23)));
  EXPECT_EQ(PixelAt(195 + 16 + 2, 80 + 2), Colour(rendprael_test::GlyphColour(34)));
}

TEST_F(AppTest, EndedEntitiesAreReleasedAtTheNextFrameButNeverWhatAHeroOwns) {
  LoadWorld();
  Aveth* hero = MakeLocalHero(3840.0f, 2656.0f);
  renderer->SetEntityDropHandler(
      [](Entity* entity, void* context) { static_cast<CTestApp*>(context)->RetireEntity(entity); },
      app.get());
  int released = 0;
  Ender* ender = OX_NEW Ender(&released);
  renderer->AddEntity(ender, false);
  ender->Dead();
  hero->GetSword(1)->state = 0;  // a sword leaving the world stays its hero's
  renderer->StepFrame();
  EXPECT_EQ(renderer->GetEntityCount(), 5u) << "the ender and the sword are out of the list";
  EXPECT_EQ(released, 0) << "not during the tick pass";
  app->ReleaseEndedEntities();
  EXPECT_EQ(released, 1);
  EXPECT_NE(hero->GetSword(1), nullptr);
  hero->GetSword(1)->state = 1;
  renderer->AddEntity(hero->GetSword(1), false);
}

TEST_F(AppTest, TheWorldDumpHasOneLinePerEntity) {
  LoadWorld();
  Aveth* hero = MakeLocalHero(3840.0f, 2656.0f);
  hero->health = 2.5f;
  ASSERT_TRUE(app->DumpWorld("world.txt"));
  const std::string dump = ReadFileText("world.txt");
  EXPECT_NE(dump.find("uid=0 typeId=0 name=Aveth x=3840.00 y=2656.00 health=2.50 state=1 remote=0\n"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("name=Sword"), std::string::npos);
  EXPECT_NE(dump.find("name=Boomerang"), std::string::npos);
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 6) << "the hero, its three swords and two boomerangs";
  EXPECT_FALSE(app->DumpWorld("no/such/folder/world.txt"));
}
