// Fuzz target: the game's receive path with a world loaded. Each input is
// what the other program sends, as for the connection's own target (first
// byte: side and piece size; see memory_sockets.h), but the messages reach
// the game application's handlers (netAuthenticated, netRecvData,
// netConnectionDropped) while it plays its frames: the network tick, the
// world list upkeep and the renderer's tick and draw passes, on a world whose
// rooms around the start spawn monsters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game/aveth.h"
#include "game/netconnection.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/memtrack.h"
#include "orvix/platform.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/memory_sockets.h"

namespace {

constexpr const char* kMapFile = "world.wmap";
// Frames before the target gives up on a connection that neither ends nor
// drains its input: far more than any input needs.
constexpr int kMaxFrames = 20000;

// Every read of the clock is a frame later, so the frame pacer never waits.
uint32_t g_now = 1000;
uint32_t FakeTick() { return g_now += 17; }

// A world of open ground; the start room and its four neighbours spawn one or
// two entities of each of the first sixteen types when a hero enters.
bool WriteWorld(const char* path) {
  std::vector<uint8_t> bytes(PraelRenderer::kMapFileBytes, 0);
  RoomRecord* rooms = reinterpret_cast<RoomRecord*>(bytes.data() + PraelRenderer::kMapFileTileBytes);
  const int around[][2] = {{7, 7}, {6, 7}, {8, 7}, {7, 6}, {7, 8}};
  for (const auto& room : around) {
    RoomRecord& record = rooms[room[1] * PraelRenderer::kWorldRoomsWide + room[0]];
    for (int type = 1; type <= 16; ++type) {
      record.spawnCounts[type][0] = 1;
      record.spawnCounts[type][1] = 2;
    }
    record.dungeonFlag = room[0] == 8 ? 1 : 0;
    record.doorLeft = DOOR_SHUTTER;
  }
  return fuzz::WriteFile(path, bytes.data(), bytes.size());
}

PraelRenderer* StartRenderer() {
  fuzz::StartHeadless();
  Orvix::SetTickSource(FakeTick);
  if (!fuzz::WriteTileSheet("maptiles.bmp", 512, 512, 32) || !WriteWorld(kMapFile)) return nullptr;
  static PraelRenderer renderer;
  Orvix::VideoRes mode = {512, 512, 32};
  if (!renderer.Initialize(nullptr, &mode)) return nullptr;
  if (renderer.LoadTilemap("maptiles.bmp", 32, 32, 0) != PraelRenderer::kMapTilemap) return nullptr;
  return &renderer;
}

// The game application without its start-up: the world, the local hero and
// the connection are set up as Initialize leaves them.
class FuzzApp final : public CTestApp {
 public:
  FuzzApp(PraelRenderer& world, bool server) {
    renderer = &world;
    isServer = server;
    world.SetEntityDropHandler(
        [](Entity* entity, void* self) { static_cast<FuzzApp*>(self)->RetireEntity(entity); }, this);
  }

  void PlaceLocalHero() {
    localHero = OX_NEW Aveth(playerName, nullptr, connection, isServer ? "Aveth" : "Aveth2");
    localHero->SetUID(isServer ? Aveth::kServerHeroUid : Aveth::kClientHeroUid);
    renderer->AddEntity(localHero, false);
    EventParam column(static_cast<int32_t>(isServer ? Aveth::kStartTileX : kClientStartTileX));
    EventParam row(static_cast<int32_t>(Aveth::kStartTileY));
    localHero->SendEvent(Aveth::EV_PLACE, &column, &row);
    renderer->SetLocalHero(localHero);
  }

  // One pass of the engine's frame loop.
  void PlayFrame() {
    UpdateTimeKey();
    Frame();
    renderer->StepFrame();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static PraelRenderer* world = StartRenderer();
  if (world == nullptr) __builtin_trap();
  if (size == 0) return 0;
  // Every input starts from the same world: the map as written, and the same
  // random choices.
  if (!world->LoadMap(kMapFile)) __builtin_trap();
  std::srand(1);

  const bool isServer = fuzz::ServerSide(data[0]);
  FuzzApp app(*world, isServer);
  app.SetPlayerName("Fuzz");
  app.connection = OX_NEW NetConnection(NetConnection::kAccessPassword, app.GetPlayerName());
  app.connection->UseSocketSystem(
      OX_NEW fuzz::MemorySocketSystem(data + 1, size - 1, fuzz::PieceSize(data[0])));
  app.connection->SetCallbacks(
      NetCallbacks::Bind<CTestApp, &CTestApp::netAuthenticated, &CTestApp::netRecvData,
                         &CTestApp::netConnectionDropped>(&app));
  if (isServer ? !app.connection->Listen(false) : !app.connection->Connect("127.0.0.1", false))
    __builtin_trap();
  app.PlaceLocalHero();

  // The server accepts in its first frame; either side then plays until the
  // peer's close or a refusal ends the connection, and one frame more.
  for (int frame = 0; frame < kMaxFrames; ++frame) {
    app.PlayFrame();
    if (!app.connection->IsConnected() && (frame > 0 || !isServer)) {
      app.PlayFrame();
      return 0;  // the application releases the world and the connection
    }
  }
  __builtin_trap();  // a connection that never ends
}
