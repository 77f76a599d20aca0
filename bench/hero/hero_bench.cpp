// The game's frame cost and its CPU use while paced.
//
// Two runs of the real game application, headless, in this process: the hero
// walks about its start room among 30 wandering entities for 600 frames
// (10 s at 60 frames a second), once with the sleeping frame wait and once
// with the spinning one. Printed: the CPU time of one frame's tick and draw
// (the renderer's StepFrame, with the input update around it), and the
// process's CPU use over each run as a share of one core, with their ratio.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "bench/common/headless_game.h"
#include "bench/common/play_folder.h"
#include "bench/common/wall_clock.h"
#include "game/aveth.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/inputscript.h"
#include "orvix/memtrack.h"
#include "orvix/platform.h"

namespace {

constexpr int kWanderers = 30;
constexpr long kFrames = 600;

// Walks to and fro along a row, turning at anything that blocks it.
class Wanderer : public Entity {
 public:
  explicit Wanderer(NetConnection* connection) : Entity(connection) {
    SetName("Wanderer");
    if (renderer != nullptr) sprite = renderer->GetSpriteType("PelvokRed");
    speed = 60.0f;
    health = maxHealth = 1.0f;
    hostile = true;
    frameCount = 2.0f;
    baseFrame = 3;
    direction = DIR_RIGHT;
  }
  void SendEvent(int, EventParam*, EventParam*) override {}
  void Tick(float seconds) override {
    Entity::Tick(seconds);
    const float step = direction == DIR_RIGHT ? speed * seconds : -speed * seconds;
    const Vec2 next(position.x + step, position.y);
    if (IsWalkable(next) && IsWalkable(Vec2(next.x + 31.0f, next.y)))
      SetPosition(next);
    else
      direction = direction == DIR_RIGHT ? DIR_LEFT : DIR_RIGHT;
    moveDirection = direction;
    Animate();
  }
};

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The hero walks a square in the start room, over and over.
const char* const kWalkScript =
    "300 press left\n1100 release left\n1100 press up\n1700 release up\n1700 press right\n2500 release "
    "right\n"
    "2500 press down\n3100 release down\n3100 press left\n3900 release left\n3900 press up\n4500 release up\n"
    "4500 press right\n5300 release right\n5300 press down\n5900 release down\n5900 press left\n"
    "6700 release left\n6700 press up\n7300 release up\n7300 press right\n8100 release right\n";

// The game with 30 wanderers in the start room; it measures the CPU time
// spent between the end of one Frame and the start of the next, which is
// the input update and the renderer's StepFrame (tick and draw).
class BenchApp : public CTestApp {
 public:
  double frameCpuSeconds = 0.0;
  long measuredFrames = 0;

  void Frame() override {
    const double now = ThreadCpuSeconds();
    // The first frames load and settle; they are not counted.
    if (GetFramesRun() >= 10) {
      frameCpuSeconds += now - m_frameEnd;
      ++measuredFrames;
    }
    CTestApp::Frame();
    m_frameEnd = ThreadCpuSeconds();
  }

 protected:
  bool Initialize() override {
    if (!CTestApp::Initialize()) return false;
    // Rows 5 and 6 of the village green (7, 7) are open from edge to edge.
    for (int i = 0; i < kWanderers; ++i) {
      Wanderer* wanderer = OX_NEW Wanderer(GetConnection());
      wanderer->SetPosition(Vec2(3584.0f + 32.0f + (i % 14) * 32.0f,
                                 2464.0f + (i < 14 ? 160.0f : 192.0f) + (i >= 28 ? 64.0f : 0.0f)));
      renderer->AddEntity(wanderer, false);
    }
    return true;
  }

 private:
  double m_frameEnd = 0.0;
};

struct RunFigures {
  double cpuShare;     // of one core, over the whole run
  double frameMicros;  // CPU time of one tick and draw
  double wallSeconds;
};

RunFigures Play(FramePacer::Wait wait) {
  BenchApp app;
  app.SetServer(true);
  app.SetPlayerName("Bench");
  app.SetGamePort(0);
  app.SetFrameLimit(kFrames);
  app.SetFrameWait(wait);
  char error[128];
  app.SetInputScript(Orvix::InputScript::Parse(kWalkScript, error, sizeof error));
  Orvix::LaunchContext context = prael_bench::GameLaunchContext();
  const double cpuBefore = ProcessCpuSeconds();
  const double wallBefore = prael_bench::WallSeconds();
  app.Launch(&context);
  const double wall = prael_bench::WallSeconds() - wallBefore;
  RunFigures figures;
  figures.wallSeconds = wall;
  figures.cpuShare = (ProcessCpuSeconds() - cpuBefore) / wall;
  figures.frameMicros = app.measuredFrames > 0 ? app.frameCpuSeconds / app.measuredFrames * 1e6 : 0.0;
  return figures;
}

}  // namespace

int main() {
  prael_bench::EnterHeadlessGame();
  const std::string folder = prael_bench::MakePlayFolder(PRAEL_RUN_DIR);
  std::srand(1);

  const RunFigures paced = Play(FramePacer::Wait::Sleep);
  const RunFigures spinning = Play(FramePacer::Wait::Spin);
  std::printf("hero_bench: %ld frames of headless play, the hero and %d entities in view\n", kFrames,
              kWanderers);
  std::printf("  one frame's tick and draw (CPU):  %8.1f us  (%.1f%% of a 16.67 ms frame)\n",
              paced.frameMicros, paced.frameMicros / 16666.7 * 100.0);
  std::printf("  CPU use, sleeping wait:            %8.1f %% of one core over %.1f s (target < 10 %%)\n",
              paced.cpuShare * 100.0, paced.wallSeconds);
  std::printf("  CPU use, spinning wait:            %8.1f %% of one core over %.1f s\n",
              spinning.cpuShare * 100.0, spinning.wallSeconds);
  std::printf("  spinning / sleeping:               %8.1f x\n", spinning.cpuShare / paced.cpuShare);
  std::printf("  (logs in %s)\n", folder.c_str());
  return paced.cpuShare < 0.10 ? 0 : 1;
}
