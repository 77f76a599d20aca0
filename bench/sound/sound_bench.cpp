// Measures, in one run: the mixer's processor time per second of audio with
// 8 and with 64 voices playing (targets: 64 voices under 1% of real time),
// and the time to load all 28 game sounds (target: under 200 ms).
// Run from the run folder, or give it as the argument.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/common/wall_clock.h"
#include "game/mixer.h"
#include "game/soundtable.h"

namespace {

double ProcessSeconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec + now.tv_nsec * 1e-9;
}

bool LoadAll(CMixer& mixer) {
  for (int index = 0; index < kGameSoundCount; ++index)
    if (!mixer.LoadSample(index, kGameSoundFiles[index], GameSoundLoops(index))) {
      std::fprintf(stderr, "sound_bench: %s\n", mixer.GetError());
      return false;
    }
  return true;
}

// Processor seconds spent mixing one second of audio with `voices` channels
// playing, every voice looping one of the game's sounds.
double MixCostPerSecond(int voices) {
  MixerFormat format;  // what the game asks of the device: 22,050 Hz stereo
  CMixer mixer(format);
  for (int slot = 0; slot < kGameSoundCount; ++slot)
    if (!mixer.LoadSample(slot, kGameSoundFiles[slot], true)) return -1.0;
  for (int channel = 0; channel < voices; ++channel) mixer.Play(channel, channel % kGameSoundCount);

  constexpr int kDeviceFrames = 1024;  // the size SDL asks for per callback
  constexpr int kSeconds = 120;
  std::vector<int16_t> block(kDeviceFrames * format.channels);
  const int blocks = kSeconds * format.rate / kDeviceFrames;
  const double start = ProcessSeconds();
  for (int i = 0; i < blocks; ++i) mixer.Render(block.data(), kDeviceFrames);
  const double spent = ProcessSeconds() - start;
  return spent / (static_cast<double>(blocks) * kDeviceFrames / format.rate);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && chdir(argv[1]) != 0) {
    std::perror(argv[1]);
    return 1;
  }

  const double cost8 = MixCostPerSecond(8);
  const double cost64 = MixCostPerSecond(64);
  if (cost8 < 0 || cost64 < 0) {
    std::fprintf(stderr, "sound_bench: run it from the run folder (the game's sounds are missing)\n");
    return 1;
  }
  std::printf("mixing, 8 voices:  %7.3f ms per second of audio (%.3f%% of real time)\n", cost8 * 1e3,
              cost8 * 100);
  std::printf("mixing, 64 voices: %7.3f ms per second of audio (%.3f%% of real time; target < 1%%)\n",
              cost64 * 1e3, cost64 * 100);
  std::printf("64 voices cost %.2f times 8 voices\n", cost64 / cost8);

  // Wall time is what a player waits; processor time is the same work
  // without the other programs that share this machine.
  constexpr int kRounds = 7;
  std::vector<double> walls, processors;
  for (int round = 0; round < kRounds; ++round) {
    CMixer mixer{MixerFormat{}};
    const double wallStart = prael_bench::WallSeconds();
    const double processorStart = ProcessSeconds();
    if (!LoadAll(mixer)) return 1;
    processors.push_back(ProcessSeconds() - processorStart);
    walls.push_back(prael_bench::WallSeconds() - wallStart);
  }
  std::sort(walls.begin(), walls.end());
  std::sort(processors.begin(), processors.end());
  std::printf(
      "loading all %d sounds (target < 200 ms), median of %d rounds: %.1f ms wall, %.1f ms processor\n",
      kGameSoundCount, kRounds, walls[kRounds / 2] * 1e3, processors[kRounds / 2] * 1e3);
  return 0;
}
