#include <benchmark/benchmark.h>

#include "core/rng.h"

namespace {

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
