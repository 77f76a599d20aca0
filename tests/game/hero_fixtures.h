// Shared pieces of the hero, sword and application tests: a fake clock that
// gives the engine the frame time a test asks for, the game's sounds as short
// silent samples whose plays a test can count, and a world on a map the test
// writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/aveth.h"
#include "game/soundtable.h"
#include "orvix/memtrack.h"
#include "orvix/orvix.h"
#include "tests/common/temp_dir.h"
#include "tests/game/rendprael_fixtures.h"

namespace hero_test {

// A fresh current folder that holds links to every data file of the run
// folder, so that a whole game can start in it and write its logs apart.
class PlayFolder {
 public:
  PlayFolder();
  std::string File(const std::string& name) const { return m_folder.File(name); }

 private:
  std::string m_runFolder;
  ScopedTempDir m_folder;
};

// Runs `seconds` on the fake clock and makes it the engine's frame time.
// `app` must be the application (g_orvix) whose time key is read.
template <typename App>
class Clocked : public App {
 public:
  void StepClock(float seconds);
};

// The fake clock behind Orvix::GetTickCount while a ClockScope lives.
class ClockScope {
 public:
  ClockScope();
  ~ClockScope();
  static void Advance(uint32_t milliseconds);
};

template <typename App>
void Clocked<App>::StepClock(float seconds) {
  ClockScope::Advance(static_cast<uint32_t>(seconds * 1000.0f + 0.5f));
  this->UpdateTimeKey();
}

// The smallest application: the engine's frame and nothing else, recording
// the game events it is sent.
class BareApp : public Orvix::COrvixApp {
 public:
  void Frame() override {}
  void DrawOverlay() override {}
  int OnGameEvent(int code, int argument) override {
    gameEvents.push_back({code, argument});
    return code;
  }
  std::vector<std::pair<int, int>> gameEvents;
};

// The 28 game sounds as silent samples long enough to be playing when a test
// looks, so that a test can see which ones started.
class SoundScope {
 public:
  SoundScope();
  ~SoundScope();
  // True when sound `index` has started since the last call for it (it is
  // then stopped, so the next play shows again).
  bool TakePlay(int index);
};

// A world on a map the test writes, with the application `App` as the
// engine's application (its frame time set with Step). The map is all
// walkable ground (tile 0) unless a test sets cells before calling LoadWorld.
template <typename App>
class WorldTest : public rendprael_test::PraelRendererTest {
 protected:
  void SetUp() override {
    PraelRendererTest::SetUp();
    app = std::make_unique<Clocked<App>>();
    app->StepClock(0.016f);
  }
  void TearDown() override {
    for (Aveth* hero : heroes) {
      renderer->RemoveEntity(hero);
      OX_DELETE hero;
    }
    heroes.clear();
    app.reset();
    PraelRendererTest::TearDown();
  }

  // Loads the map with the cells the test has set.
  void LoadWorld() {
    map.Write(folder.File("world.wmap"));
    ASSERT_TRUE(renderer->LoadMap(folder.File("world.wmap").c_str()));
  }
  // A hero at pixel position (x, y), added to the world and owned by the
  // test; the first one made is the renderer's local hero.
  Aveth* MakeHero(float x, float y, const char* sprite = nullptr) {
    Aveth* hero = OX_NEW Aveth("Tester", nullptr, nullptr, sprite);
    heroes.push_back(hero);
    renderer->AddEntity(hero, false);
    hero->SetPosition(Vec2(x, y));
    if (renderer->GetLocalHero() == nullptr) renderer->SetLocalHero(hero);
    return hero;
  }
  // Frame time for the next events.
  void Step(float seconds) { app->StepClock(seconds); }
  // Frame time, then the renderer's frame: the world's tick pass and drawing.
  void TickWorld(float seconds) {
    Step(seconds);
    renderer->StepFrame();
  }
  void Send(Entity* entity, int event, int a = 0, int b = 0) {
    EventParam first(static_cast<int32_t>(a));
    EventParam second(static_cast<int32_t>(b));
    entity->SendEvent(event, &first, &second);
  }

  rendprael_test::MapFile map;
  ClockScope clock;
  std::unique_ptr<Clocked<App>> app;
  std::vector<Aveth*> heroes;  // owned by the test
};

using HeroTest = WorldTest<BareApp>;

}  // namespace hero_test
