// The game renderer's entity list and its frame: tick pass, removal of ended
// entities, the hero-room flag, drawing order, HUD, footer and overlay.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/entity.h"
#include "orvix/orvix.h"
#include "rendprael_fixtures.h"

namespace rendprael_test {
namespace {

using Journal = std::vector<std::string>;

// An entity that notes its ticks and draws in the journal and draws itself
// as a solid 32 x 32 square of its colour.
class TestEntity : public Entity {
 public:
  TestEntity(uint32_t id, Rgb colour, Journal* journal)
      : Entity(nullptr), m_colour(colour), m_journal(journal) {
    uid = id;
  }
  void SendEvent(int, EventParam*, EventParam*) override {}
  void Tick(float seconds) override {
    m_journal->push_back("tick " + std::to_string(uid));
    lastTickSeconds = seconds;
    if (onTick) onTick(*this);
  }
  void Draw(int roomX, int roomY) override {
    m_journal->push_back("draw " + std::to_string(uid));
    SDL_Surface* screen = g_renderer->GetScreen();
    SDL_Rect box = {static_cast<Sint16>(x - roomX * 512), static_cast<Sint16>(y - roomY * 352 + 128), 32, 32};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, m_colour.r, m_colour.g, m_colour.b));
  }
  void PlaceInRoom(float roomX, float roomY) { room = Vec2{roomX, roomY}; }

  int x = 0;
  int y = 0;
  float lastTickSeconds = -1.0f;
  std::function<void(TestEntity&)> onTick;

 private:
  Rgb m_colour;
  Journal* m_journal;
};

// The application the frame draws the overlay for: it marks a pixel square.
class OverlayApp : public Orvix::COrvixApp {
 public:
  void Frame() override {}
  void DrawOverlay() override {
    ++overlays;
    SDL_Surface* screen = g_renderer->GetScreen();
    SDL_Rect box = {0, 0, 8, 8};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 1, 2, 3));
  }
  int OnGameEvent(int code, int) override { return code; }
  int overlays = 0;
};

constexpr Rgb kRed = {200, 0, 0};
constexpr Rgb kBlue = {0, 0, 200};

class PraelFrame : public PraelRendererTest {
 protected:
  TestEntity& Make(uint32_t uid, Rgb colour = kRed) {
    entities.push_back(std::make_unique<TestEntity>(uid, colour, &journal));
    return *entities.back();
  }
  std::vector<uint32_t> ListedUids() const {
    std::vector<uint32_t> uids;
    for (unsigned i = 0; i < renderer->GetEntityCount(); ++i)
      uids.push_back(renderer->GetEntity(i)->GetUID());
    return uids;
  }

  Journal journal;
  std::vector<std::unique_ptr<TestEntity>> entities;  // outlive the renderer's list
};

TEST_F(PraelFrame, AddsAtEitherEndFindsAndRemovesByUid) {
  renderer->AddEntity(&Make(10), false);
  renderer->AddEntity(&Make(11), false);
  renderer->AddEntity(&Make(1), true);
  renderer->AddEntity(&Make(11), false);
  renderer->AddEntity(nullptr, false);
  EXPECT_EQ(ListedUids(), (std::vector<uint32_t>{1, 10, 11, 11}));

  EXPECT_EQ(renderer->FindEntity(11), entities[1].get());  // the first in list order
  EXPECT_EQ(renderer->FindEntity(1), entities[2].get());
  EXPECT_EQ(renderer->FindEntity(12), nullptr);

  EXPECT_TRUE(renderer->RemoveEntity(11));
  EXPECT_EQ(ListedUids(), (std::vector<uint32_t>{1, 10, 11}));
  EXPECT_EQ(renderer->FindEntity(11), entities[3].get());
  EXPECT_TRUE(renderer->RemoveEntity(11));
  EXPECT_FALSE(renderer->RemoveEntity(11));
  EXPECT_TRUE(renderer->RemoveEntity(1));
  EXPECT_EQ(ListedUids(), (std::vector<uint32_t>{10}));
  // Removal only unlinks: the entity lives on for its owner.
  EXPECT_EQ(entities[2]->GetUID(), 1u);

  // Entities that share a uid (a hero's swords) are removed by pointer.
  TestEntity& firstSword = Make(0);
  TestEntity& secondSword = Make(0);
  renderer->AddEntity(&firstSword, false);
  renderer->AddEntity(&secondSword, false);
  EXPECT_TRUE(renderer->RemoveEntity(&secondSword));
  EXPECT_FALSE(renderer->RemoveEntity(&secondSword));
  EXPECT_EQ(renderer->GetEntity(1), &firstSword);
  EXPECT_EQ(renderer->GetEntityCount(), 2u);
}

TEST_F(PraelFrame, EndedEntitiesLeaveBeforeTheDrawPass) {
  std::vector<Entity*> dropped;
  renderer->SetEntityDropHandler(
      [](Entity* entity, void* context) { static_cast<std::vector<Entity*>*>(context)->push_back(entity); },
      &dropped);
  TestEntity& endedBefore = Make(10);
  endedBefore.state = 0;
  TestEntity& victim = Make(11);
  TestEntity& endsItself = Make(12);
  endsItself.onTick = [](TestEntity& self) { self.state = 0; };
  TestEntity& killer = Make(13);
  killer.onTick = [&victim](TestEntity&) { victim.state = 0; };
  TestEntity& survivor = Make(14);
  for (auto& entity : entities) renderer->AddEntity(entity.get(), false);

  renderer->StepFrame();
  EXPECT_EQ(journal, (Journal{"tick 11", "tick 12", "tick 13", "tick 14", "draw 13", "draw 14"}));
  EXPECT_EQ(ListedUids(), (std::vector<uint32_t>{13, 14}));
  EXPECT_EQ(dropped, (std::vector<Entity*>{&endedBefore, &victim, &endsItself}));
  EXPECT_EQ(renderer->FindEntity(11), nullptr);
  EXPECT_EQ(renderer->GetEntity(1), &survivor);
}

TEST_F(PraelFrame, EntitiesAddedDuringTheTickPassAreTickedInIt) {
  TestEntity& hero = Make(0);
  TestEntity& sword = Make(20);
  hero.onTick = [this, &sword](TestEntity&) {
    if (renderer->FindEntity(20) == nullptr) renderer->AddEntity(&sword, false);
  };
  renderer->AddEntity(&hero, false);
  renderer->StepFrame();
  EXPECT_EQ(journal, (Journal{"tick 0", "tick 20", "draw 0", "draw 20"}));
}

TEST_F(PraelFrame, FlagsTheEntitiesInTheLocalHerosRoom) {
  TestEntity& hero = Make(0);
  hero.PlaceInRoom(7, 6);
  TestEntity& near = Make(10);
  near.PlaceInRoom(7, 6);
  TestEntity& sameColumn = Make(11);
  sameColumn.PlaceInRoom(7, 5);
  TestEntity& sameRow = Make(12);
  sameRow.PlaceInRoom(6, 6);
  sameRow.inHeroRoom = true;
  for (auto& entity : entities) renderer->AddEntity(entity.get(), false);

  // Without a local hero no entity is in the hero's room.
  near.inHeroRoom = true;
  renderer->StepFrame();
  EXPECT_FALSE(near.inHeroRoom);

  renderer->SetLocalHero(&hero);
  renderer->StepFrame();
  EXPECT_TRUE(hero.inHeroRoom);
  EXPECT_TRUE(near.inHeroRoom);
  EXPECT_FALSE(sameColumn.inHeroRoom);
  EXPECT_FALSE(sameRow.inHeroRoom);

  // The hero moves on; the flags follow in the next frame.
  hero.PlaceInRoom(7, 5);
  renderer->StepFrame();
  EXPECT_FALSE(near.inHeroRoom);
  EXPECT_TRUE(sameColumn.inHeroRoom);
}

TEST_F(PraelFrame, DrawsInLayersAndTicksWithTheApplicationsFrameTime) {
  render_test::WriteSolidBmp("tevhud32.bmp", 512, 128, {10, 20, 30});
  render_test::WriteSolidBmp("tevfooter32.bmp", 512, 32, {40, 50, 60});
  MapFile map;
  map.Room(7, 6).dungeonFlag = 1;
  map.Room(7, 6).doorLeft = DOOR_OPEN;
  map.Write("overworld1.wmap");
  renderer->Shutdown();
  renderer = std::make_unique<PraelRenderer>();
  Orvix::VideoRes mode = {512, 512, 32};
  ASSERT_TRUE(renderer->Initialize(nullptr, &mode));
  ASSERT_EQ(renderer->LoadTilemap("maptiles.bmp", 32, 32, 0), 0);
  ASSERT_EQ(g_renderer, renderer.get());
  renderer->SetView(7, 6, 0.0f, 0.0f);

  OverlayApp app;
  TestEntity& below = Make(10, kRed);
  below.x = 7 * 512 + 64;
  below.y = 6 * 352 + 64;
  TestEntity& above = Make(11, kBlue);
  above.x = below.x + 16;
  above.y = below.y;
  TestEntity& inDoorway = Make(12, kBlue);
  inDoorway.x = 7 * 512;
  inDoorway.y = 6 * 352 + 160;
  TestEntity& underHud = Make(13, kBlue);
  underHud.x = 7 * 512 + 200;
  underHud.y = 6 * 352 - 20;
  for (auto& entity : entities) renderer->AddEntity(entity.get(), false);

  renderer->StepFrame();
  EXPECT_EQ(below.lastTickSeconds, app.GetTimeKey());
  EXPECT_EQ(app.overlays, 1);
  EXPECT_TRUE(RectangleIs(0, 0, 8, 8, {1, 2, 3}));          // the overlay, over the HUD
  EXPECT_TRUE(RectangleIs(8, 0, 504, 128, {10, 20, 30}));   // the HUD, over the entity above the room
  EXPECT_TRUE(RectangleIs(0, 480, 512, 32, {40, 50, 60}));  // the footer
  EXPECT_TRUE(RectangleIs(64, 192, 16, 32, kRed));
  EXPECT_TRUE(RectangleIs(80, 192, 32, 32, kBlue));   // later in the list, drawn over
  EXPECT_TRUE(ShowsTile(0, 288, 121));                // the arch covers the entity in the doorway
  EXPECT_TRUE(RectangleIs(200, 128, 32, 12, kBlue));  // the part below the HUD band shows
}

// Only what the room layer and the HUD leave uncovered is cleared; here there
// is no HUD image, so the rows above the room's tiles must still be cleared
// of the last frame, and all rows when the room cannot be drawn.
TEST_F(PraelFrame, ClearsEveryRowThatNoOpaqueLayerCovers) {
  struct Case {
    const char* what;
    int roomX;
    bool tiles;
    int firstTileRow;  // the screen's first row showing room tiles, or 512
  };
  const Case cases[] = {
      {"room drawn: the ring of tiles starts a tile above the room", 7, true, 96},
      {"room outside the world", -1, true, 512},
      {"tiles switched off", 7, false, 512},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    renderer->SetView(c.roomX, 6, 0.0f, 0.0f);
    renderer->RenderTiles(c.tiles);
    SDL_Surface* screen = renderer->GetScreen();
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 255, 255));
    renderer->StepFrame();
    EXPECT_TRUE(RectangleIs(0, 0, 512, c.firstTileRow, {0, 0, 0}));
    if (c.firstTileRow < 512) {
      EXPECT_TRUE(ShowsTile(0, c.firstTileRow, 0));
    }
  }
}

TEST_F(PraelFrame, DestructionEmptiesTheListAndUnpublishesTheRenderer) {
  renderer->AddEntity(&Make(10), false);
  renderer->Shutdown();
  renderer.reset();
  EXPECT_EQ(g_renderer, nullptr);
  EXPECT_TRUE(log.Contains("PraelRenderer object destroyed"));
  EXPECT_EQ(entities[0]->GetUID(), 10u);
}

}  // namespace
}  // namespace rendprael_test
