#include <benchmark/benchmark.h>

#include <memory>

#include "core/pid_search.h"
#include "core/rng.h"

namespace {

std::unique_ptr<AppState> searchState(std::initializer_list<IvRange> ranges, int nature) {
  auto app = std::make_unique<AppState>();
  int i = 0;
  for (IvRange r : ranges) app->ivRanges[i++] = r;
  app->natureIndex = nature;
  app->measurementCount = 1;
  return app;
}

// All six IVs fixed (10,12,22,0,7,29), nature 15: one candidate.
void BM_FixedSearch(benchmark::State& state) {
  auto app = searchState({{10, 10}, {12, 12}, {22, 22}, {0, 0}, {7, 7}, {29, 29}}, 15);
  for (auto _ : state) {
    searchPidCandidates(*app);
    benchmark::DoNotOptimize(app->pidCandidates[0]);
  }
}
BENCHMARK(BM_FixedSearch)->Unit(benchmark::kMicrosecond);

// H 0..31, A 0..31, rest fixed, nature 15: stops at the 16th candidate.
void BM_RangeSearch16(benchmark::State& state) {
  auto app = searchState({{0, 31}, {0, 31}, {22, 22}, {0, 0}, {7, 7}, {29, 29}}, 15);
  for (auto _ : state) {
    searchPidCandidates(*app);
    benchmark::DoNotOptimize(app->pidCandidates[15]);
  }
}
BENCHMARK(BM_RangeSearch16)->Unit(benchmark::kMillisecond);

// One million Mersenne Twister outputs in the egg list's reading order.
void BM_Mt1M(benchmark::State& state) {
  Mt19937 mt{};
  for (auto _ : state) {
    Seed(mt, 0);
    uint32_t acc = 0;
    int p = 0;
    for (int i = 0; i < 1000000; ++i) {
      if (p == 0) Twist(mt);
      acc ^= Temper(mt, p);
      if (++p == kMtWordCount) p = 0;
    }
    benchmark::DoNotOptimize(acc);
  }
}
BENCHMARK(BM_Mt1M)->Unit(benchmark::kMillisecond);

}  // namespace
