// The world's tick pass in a crowded room.
//
// The shipped world, headless, with the server's hero in the lake (room
// (9, 8): ground and water) among 60 enemies spawned by the registry, all
// seven kinds in turn. For 20 seconds of game time at 60 frames a second the
// game renderer's tick pass runs as in play: every enemy walks, flies or
// surfaces and fires, and the rocks, arrows, swords and energy balls they
// fire fly until they hit something. The hero takes no damage, so it stays.
// Printed: the CPU time of one tick pass, on average and at its worst, as a
// share of the 16.67 ms frame (target: under 2 %), and how many entities the
// pass met.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <string>

#include "bench/common/headless_game.h"
#include "bench/common/play_folder.h"
#include "game/aveth.h"
#include "game/entitytypes.h"
#include "game/frameclock.h"
#include "game/netconnection.h"
#include "game/projectiles.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"
#include "orvix/platform.h"

namespace {

constexpr int kEnemies = 60;
constexpr int kWarmUpFrames = 60;
constexpr int kFrames = 20 * 60;
constexpr double kFrameMicros = 1e6 / 60.0;
constexpr int kRoomX = 9;
constexpr int kRoomY = 8;
constexpr int32_t kKinds[] = {TYPE_PELVOK_BLUE, TYPE_PELVOK_RED, TYPE_GORRIT_RED,
                              TYPE_GORRIT_BLUE, TYPE_SKELETON,   TYPE_BAT_BLUE,
                              TYPE_BAT_RED,     TYPE_SNAKE,      TYPE_MURLA};

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The application without the engine's frame loop: the bench steps the
// clock and runs the tick pass itself.
class BenchApp : public CTestApp {
 public:
  void NextFrame() {
    FrameClock::Advance();
    UpdateTimeKey();
  }
};

struct Figures {
  double meanMicros = 0.0;
  double worstMicros = 0.0;
  double meanEntities = 0.0;
  int shotsSeen = 0;
};

Figures Run(BenchApp& app, PraelRenderer& world) {
  Figures figures;
  double totalSeconds = 0.0;
  double totalEntities = 0.0;
  for (int frame = 0; frame < kWarmUpFrames + kFrames; ++frame) {
    app.NextFrame();
    const double before = ThreadCpuSeconds();
    world.TickEntities();
    const double spent = ThreadCpuSeconds() - before;
    app.ReleaseEndedEntities();
    if (frame < kWarmUpFrames) continue;
    totalSeconds += spent;
    if (spent * 1e6 > figures.worstMicros) figures.worstMicros = spent * 1e6;
    totalEntities += world.GetEntityCount();
    // The enemies' shots; the hero's own boomerangs belong to him.
    for (unsigned i = 0; i < world.GetEntityCount(); ++i) {
      Entity* entity = world.GetEntity(i);
      if (entity->ownedByWorld && dynamic_cast<Projectile*>(entity) != nullptr) ++figures.shotsSeen;
    }
  }
  figures.meanMicros = totalSeconds / kFrames * 1e6;
  figures.meanEntities = totalEntities / kFrames;
  return figures;
}

}  // namespace

int main() {
  prael_bench::EnterHeadlessGame();
  const std::string folder = prael_bench::MakePlayFolder(PRAEL_RUN_DIR);
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Initialize("log.txt", 1 << 20);
  std::srand(1);
  FrameClock::Install();

  int status = 0;
  {
    BenchApp app;
    PraelRenderer world;
    Orvix::VideoRes mode = {512, 512, 32};
    if (!world.Initialize(nullptr, &mode) || !world.LoadMap(PRAEL_RUN_DIR "/overworld1.wmap")) {
      std::fprintf(stderr, "enemies_bench: cannot open the world in %s\n", PRAEL_RUN_DIR);
      return 1;
    }
    app.renderer = &world;
    app.isServer = true;
    app.connection = OX_NEW NetConnection(NetConnection::kAccessPassword, "Bench");
    app.connection->PlayAlone();
    Aveth* hero = OX_NEW Aveth("Bench", nullptr, app.connection);
    hero->damageFactor = 0.0f;
    world.AddEntity(hero, false);
    app.localHero = hero;
    world.SetLocalHero(hero);
    EventParam column(kRoomX * 16 + 8);
    EventParam row(kRoomY * 11 + 2);
    hero->SendEvent(Aveth::EV_PLACE, &column, &row);
    world.SetView(kRoomX, kRoomY, 0.0f, 0.0f);

    for (int i = 0; i < kEnemies; ++i) {
      Vec2 tile;
      if (!app.PickFreeTile(&tile, kRoomX, kRoomY)) return 1;
      app.Spawn(kKinds[i % std::size(kKinds)], &tile, true, -1);
    }
    const Figures figures = Run(app, world);
    int enemiesLeft = 0;
    for (unsigned i = 0; i < world.GetEntityCount(); ++i)
      if (world.GetEntity(i)->hostile) ++enemiesLeft;

    const double meanShare = figures.meanMicros / kFrameMicros * 100.0;
    std::printf(
        "enemies_bench: the tick pass of room (%d, %d), %d enemies of 9 kinds and their shots, %d frames\n",
        kRoomX, kRoomY, kEnemies, kFrames);
    std::printf(
        "  entities ticked per frame:   %8.1f  (%d enemies at the end; shots in flight: %.1f a frame)\n",
        figures.meanEntities, enemiesLeft, static_cast<double>(figures.shotsSeen) / kFrames);
    std::printf("  tick pass (CPU), mean:       %8.1f us  (%.2f %% of a 16.67 ms frame, target < 2 %%)\n",
                figures.meanMicros, meanShare);
    std::printf("  tick pass (CPU), worst:      %8.1f us  (%.2f %% of a frame)\n", figures.worstMicros,
                figures.worstMicros / kFrameMicros * 100.0);
    std::printf("  (log in %s)\n", folder.c_str());
    status = meanShare < 2.0 ? 0 : 1;
    // Everything goes while the world still exists: the entities the world
    // owns, then the hero (whose swords leave the world with it); the
    // application frees its connection last.
    world.SetLocalHero(nullptr);
    for (unsigned i = world.GetEntityCount(); i-- > 0;) {
      Entity* entity = world.GetEntity(i);
      if (!entity->ownedByWorld) continue;
      world.RemoveEntity(entity);
      app.RetireEntity(entity);
    }
    app.ReleaseEndedEntities();
    world.RemoveEntity(hero);
    app.localHero = nullptr;
    OX_DELETE hero;
    app.renderer = nullptr;
    world.Shutdown();
  }
  FrameClock::Uninstall();
  return status;
}
