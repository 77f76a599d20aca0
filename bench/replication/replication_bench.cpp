// The network traffic of a shared room: the game's own application runs the
// server, headless, in this process, with both heroes and 20 monsters in its
// start room; a client connection on loopback, pumped in the same frames,
// plays the other side (it sends its hero's state every network tick, as a
// client does). Every byte is counted on the client's socket, so the figures
// are what crossed the link, framing included.
//
// Two phases of 5 s each at 60 frames a second: as the game broadcasts (each
// monster of the client's room every second frame, by the parity of its
// place in the list), and with every monster chosen in every frame. Printed:
// bytes per second each way in each phase, and their ratio (target: about a
// half, which the parity halving promises).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/common/headless_game.h"
#include "bench/common/play_folder.h"
#include "bench/common/wall_clock.h"
#include "bench/replication/counting_sockets.h"
#include "game/aveth.h"
#include "game/entitytypes.h"
#include "game/netconnection.h"
#include "game/netmessages.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/memtrack.h"
#include "orvix/platform.h"

namespace {

constexpr int kMonsters = 20;
constexpr long kSettleFrames = 60;
constexpr long kPhaseFrames = 300;
constexpr int kMonsterType = TYPE_PELVOK_BLUE;

// The other side of the link: it answers the handshake, takes whatever the
// server sends and sends its hero's state once a tick.
struct BenchClient {
  NetConnection connection{NetConnection::kAccessPassword, "Client"};
  ByteCounts counts;
  long messages[16] = {};
  uint32_t lastSendTick = 0;

  void netAuthenticated(const char*) {}
  void netRecvData(NetMessage* message) {
    if (message->type < 16) ++messages[message->type];
  }
  void netConnectionDropped() { std::fprintf(stderr, "replication_bench: the client lost the server\n"); }

  bool Join(uint16_t port) {
    connection.SetCallbacks(
        NetCallbacks::Bind<BenchClient, &BenchClient::netAuthenticated, &BenchClient::netRecvData,
                           &BenchClient::netConnectionDropped>(this));
    auto* sockets = OX_NEW CountingSocketSys(&counts);
    if (!sockets->Startup()) return false;
    connection.UseSocketSystem(sockets);
    return connection.Connect("127.0.0.1", false, port);
  }
  void Frame() {
    connection.Pump();
    const uint32_t now = Orvix::GetTickCount();
    if (!connection.IsAuthenticated() || now - lastSendTick < 17) return;
    lastSendTick = now;
    NetMessage state(MSG_PLAYER_STATE);
    state.stream.WriteValue(3776.0f);
    state.stream.WriteValue(2656.0f);
    state.stream.WriteValue(int32_t{DIR_DOWN});
    state.stream.WriteValue(3.0f);
    connection.Send(state);
  }
};

struct Phase {
  ByteCounts start;
  double startSeconds = 0.0;
  double toClientPerSecond = 0.0;
  double toServerPerSecond = 0.0;
  long stateMessages = 0;

  void Begin(const BenchClient& client) {
    start = client.counts;
    startSeconds = prael_bench::WallSeconds();
    stateMessages = -client.messages[MSG_ENTITY_STATE];
  }
  void End(const BenchClient& client) {
    const double seconds = prael_bench::WallSeconds() - startSeconds;
    toClientPerSecond = static_cast<double>(client.counts.received - start.received) / seconds;
    toServerPerSecond = static_cast<double>(client.counts.sent - start.sent) / seconds;
    stateMessages += client.messages[MSG_ENTITY_STATE];
  }
};

class BenchApp : public CTestApp {
 public:
  BenchClient client;
  Phase parity;
  Phase everyFrame;
  int monsters = 0;
  bool joined = false;

  void Frame() override {
    const long frame = GetFramesRun();
    if (frame == kSettleFrames) parity.Begin(client);
    if (frame == kSettleFrames + kPhaseFrames) {
      parity.End(client);
      everyFrame.Begin(client);
    }
    if (frame == kSettleFrames + 2 * kPhaseFrames) everyFrame.End(client);
    CTestApp::Frame();
    client.Frame();
    joined = joined || client.connection.IsAuthenticated();
    // The second phase: every monster of the room goes out in the next tick.
    if (frame >= kSettleFrames + kPhaseFrames) {
      for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
        Entity* entity = renderer->GetEntity(i);
        if (entity->hostile && !entity->dead) entity->syncSelected = true;
      }
      syncCount = 1;
    }
  }

 protected:
  bool Initialize() override {
    if (!CTestApp::Initialize()) return false;
    if (!client.Join(GetConnection()->ListeningPort())) return false;
    // The start room (7, 7): the server's hero, the client's hero once it
    // joins, and the monsters on free tiles of its inner part.
    for (int i = 0; i < kMonsters; ++i) {
      Vec2 tile;
      if (!PickFreeTile(&tile, kStartRoomX, kStartRoomY)) break;
      if (Spawn(kMonsterType, &tile, true, -1) != nullptr) ++monsters;
    }
    return true;
  }
};

}  // namespace

int main() {
  prael_bench::EnterHeadlessGame();
  const std::string folder = prael_bench::MakePlayFolder(PRAEL_RUN_DIR);
  std::srand(3);

  BenchApp app;
  app.SetServer(true);
  app.SetPlayerName("Server");
  app.SetGamePort(0);
  app.SetFrameLimit(kSettleFrames + 2 * kPhaseFrames + 1);
  Orvix::LaunchContext context = prael_bench::GameLaunchContext();
  app.Launch(&context);

  if (!app.joined || app.monsters != kMonsters) {
    std::fprintf(stderr, "replication_bench: %s, %d of %d monsters (logs in %s)\n",
                 app.joined ? "the client joined" : "the client never joined", app.monsters, kMonsters,
                 folder.c_str());
    return 1;
  }
  const double seconds = static_cast<double>(kPhaseFrames) / 60.0;
  std::printf(
      "replication_bench: both heroes and %d monsters in one room, %.0f s a phase, counted on the "
      "client's socket\n",
      kMonsters, seconds);
  std::printf(
      "  as broadcast (each monster every 2nd frame): server -> client %9.0f B/s (%ld state messages), "
      "client -> server %7.0f B/s\n",
      app.parity.toClientPerSecond, app.parity.stateMessages, app.parity.toServerPerSecond);
  std::printf(
      "  every monster every frame:                   server -> client %9.0f B/s (%ld state messages), "
      "client -> server %7.0f B/s\n",
      app.everyFrame.toClientPerSecond, app.everyFrame.stateMessages, app.everyFrame.toServerPerSecond);
  std::printf("  as broadcast / every frame, server -> client: %.2f (target about 0.5)\n",
              app.parity.toClientPerSecond / app.everyFrame.toClientPerSecond);
  std::printf("  (logs in %s)\n", folder.c_str());
  return 0;
}
