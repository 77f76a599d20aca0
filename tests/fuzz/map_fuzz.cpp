// Fuzz target: the world map loader and what reads the map. Each input is a
// map file ("overworld1.wmap" in the game), of any length. After the load,
// the start room and the first dungeon rooms are drawn with their doors, every
// door is opened, the start room is populated from its spawn counts as the
// server does, and a hero walks from its start tile for a few frames among
// what was spawned, taking any stairs it meets to the start cell of its room.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "game/aveth.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/memtrack.h"
#include "orvix/orvix.h"
#include "orvix/platform.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr const char* kMapFile = "fuzz.wmap";
constexpr int kStartRoomX = 7;
constexpr int kStartRoomY = 7;
constexpr int kDungeonRoomsDrawn = 3;
constexpr int kHeroFrames = 24;
constexpr uint32_t kFrameMilliseconds = 50;

uint32_t g_now = 1000;
uint32_t FakeTick() { return g_now; }

// The game application of a server playing alone, without its start-up; it
// owns the hero and releases the world when it goes.
class FuzzApp final : public CTestApp {
 public:
  explicit FuzzApp(PraelRenderer& world) {
    renderer = &world;
    isServer = true;
    world.SetEntityDropHandler(
        [](Entity* entity, void* self) { static_cast<FuzzApp*>(self)->RetireEntity(entity); }, this);
  }
  void NextFrame() {
    g_now += kFrameMilliseconds;
    UpdateTimeKey();
  }
};

PraelRenderer* StartRenderer() {
  fuzz::StartHeadless();
  Orvix::SetTickSource(FakeTick);
  if (!fuzz::WriteTileSheet("maptiles.bmp", 512, 512, 32)) return nullptr;
  static PraelRenderer renderer;
  Orvix::VideoRes mode = {512, 512, 32};
  if (!renderer.Initialize(nullptr, &mode)) return nullptr;
  if (renderer.LoadTilemap("maptiles.bmp", 32, 32, 0) != PraelRenderer::kMapTilemap) return nullptr;
  return &renderer;
}

void DrawRoomAndDoors(PraelRenderer& renderer, int roomX, int roomY) {
  renderer.SetView(roomX, roomY, 0.0f, 0.0f);
  renderer.DrawRoom(roomX, roomY, 0.0f, 0.0f);
  renderer.DrawDoors();
  for (int side = 1; side <= 4; ++side) renderer.OpenDoor(side);
  renderer.DrawDoors();
  renderer.DrawRoom(roomX, roomY, 0.5f, -0.25f);
}

void DrawRooms(PraelRenderer& renderer) {
  DrawRoomAndDoors(renderer, kStartRoomX, kStartRoomY);
  int drawn = 0;
  for (int roomY = 0; roomY < PraelRenderer::kWorldRoomsHigh && drawn < kDungeonRoomsDrawn; ++roomY) {
    for (int roomX = 0; roomX < PraelRenderer::kWorldRoomsWide && drawn < kDungeonRoomsDrawn; ++roomX) {
      if (renderer.GetRoomRecord(roomX, roomY)->dungeonFlag == 0) continue;
      DrawRoomAndDoors(renderer, roomX, roomY);
      ++drawn;
    }
  }
}

void Send(Entity& entity, int event, int a = 0, int b = 0) {
  EventParam first(static_cast<int32_t>(a));
  EventParam second(static_cast<int32_t>(b));
  entity.SendEvent(event, &first, &second);
}

// Down, right, up and left in turn, then down the stairs wherever it stands.
void WalkHero(FuzzApp& app, PraelRenderer& renderer) {
  Aveth* hero = OX_NEW Aveth("Fuzz", nullptr, nullptr, nullptr);
  app.localHero = hero;
  renderer.AddEntity(hero, false);
  renderer.SetLocalHero(hero);
  Send(*hero, Aveth::EV_PLACE, Aveth::kStartTileX, Aveth::kStartTileY);
  app.PopulateRoom(kStartRoomX, kStartRoomY, false);
  const int walks[] = {Aveth::EV_WALK_DOWN, Aveth::EV_WALK_RIGHT,  Aveth::EV_WALK_UP,
                       Aveth::EV_WALK_LEFT, Aveth::EV_STAIRS_DOWN, Aveth::EV_STOP};
  for (int frame = 0; frame < kHeroFrames; ++frame) {
    Send(*hero, walks[frame * 6 / kHeroFrames]);
    app.NextFrame();
    const Vec2 room = hero->GetRoom();
    renderer.SetView(static_cast<int>(room.x), static_cast<int>(room.y), 0.0f, 0.0f);
    renderer.StepFrame();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static PraelRenderer* renderer = StartRenderer();
  if (renderer == nullptr) __builtin_trap();
  if (!fuzz::WriteFile(kMapFile, data, size)) return 0;
  renderer->LoadMap(kMapFile);
  DrawRooms(*renderer);
  // The same random choices for every input.
  std::srand(1);
  FuzzApp app(*renderer);
  WalkHero(app, *renderer);
  return 0;  // the application releases the world
}
