// What the memory tracker costs per allocation: pairs of allocate and release
// of 16, 256 and 4096 bytes through the tracker (OX_NEW[] and OX_DELETE[],
// default options: guard words and a full pattern fill) and through the
// system allocator (malloc and free), in one run. Both sides hold the same
// background of live blocks, as a running game does. The closing lines print
// tracked / system for each size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "bench/common/ratio_reporter.h"
#include "orvix/memtrack.h"

namespace {

constexpr int kBackgroundBlocks = 4096;
constexpr std::size_t kBackgroundBlockSize = 48;
const int kSizes[] = {16, 256, 4096};

void BM_SystemPair(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    void* block = std::malloc(size);
    benchmark::DoNotOptimize(block);
    std::free(block);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_TrackedPair(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    char* block = OX_NEW char[size];
    benchmark::DoNotOptimize(block);
    OX_DELETE[] block;
  }
  state.SetItemsProcessed(state.iterations());
}

// Interleaved repetitions; the fastest of each is compared.
BENCHMARK(BM_SystemPair)->Arg(16)->Arg(256)->Arg(4096)->Repetitions(5)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_TrackedPair)->Arg(16)->Arg(256)->Arg(4096)->Repetitions(5)->Unit(benchmark::kNanosecond);

using prael_bench::RatioReporter;

}  // namespace

int main(int argc, char** argv) {
  void* systemBackground[kBackgroundBlocks];
  char* trackedBackground[kBackgroundBlocks];
  for (int i = 0; i < kBackgroundBlocks; ++i) {
    systemBackground[i] = std::malloc(kBackgroundBlockSize);
    trackedBackground[i] = OX_NEW char[kBackgroundBlockSize];
  }

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const int size : kSizes) {
    const double system = reporter.Fastest("BM_SystemPair/" + std::to_string(size));
    const double tracked = reporter.Fastest("BM_TrackedPair/" + std::to_string(size));
    if (system > 0.0 && tracked > 0.0) {
      std::printf("allocate+release %4d bytes: tracked %.1f ns / system %.1f ns = ratio %.2f\n", size,
                  tracked, system, tracked / system);
    }
  }
  benchmark::Shutdown();

  for (int i = 0; i < kBackgroundBlocks; ++i) {
    std::free(systemBackground[i]);
    OX_DELETE[] trackedBackground[i];
  }
  return 0;
}
