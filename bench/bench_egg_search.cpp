// The egg search over the whole year: 256 x 24 x 9,700 = 59,596,800 seeds,
// frames 0..99, marriage rerolls, shiny only, TID 12345 and SID 54321. Every
// hit is collected (the array has room for all), so no seed is skipped; the
// straightforward scan (a full 624-word twister per seed, one thread) is timed
// on 20 of the 9,700 delays and scaled to the year.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench_threads.h"
#include "core/egg_search.h"
#include "core/rng.h"
#include "tests/reference/egg_search_year.h"

namespace {

constexpr int32_t kAllHits = 1 << 22;  // the year holds about 3.6 million hits
constexpr int32_t kSampleDelays = 20;

void runYear(benchmark::State& state, YearSearchKernel kernel, int32_t capacity, int32_t threads,
             int everstone = -1) {
  if (!yearSearchKernelAvailable(kernel)) {
    state.SkipWithError("kernel not available on this processor");
    return;
  }
  EggSearchRequest request = fullYearEggSearch(kernel);
  request.egg.everstoneNature = everstone;
  std::unique_ptr<EggHit[]> hits(new EggHit[kAllHits]);
  YearSearchResult result{};
  for (auto _ : state) {
    result = runEggSearch(request, hits.get(), capacity, YearSearchControl{threads, nullptr, nullptr});
    benchmark::DoNotOptimize(hits[0]);
  }
  state.counters["hits"] = result.count;
  state.counters["threads"] = threads;
  state.counters["seeds"] = static_cast<double>(eggSearchSeedCount(request));
}

void BM_EggSearchYear(benchmark::State& state) { runYear(state, YearSearchKernel::Auto, kAllHits, coreCount()); }
BENCHMARK(BM_EggSearchYear)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same year with an Everstone passing ようき: each frame's PID the first
// output at or after it of that nature.
void BM_EggSearchYear_Everstone(benchmark::State& state) {
  runYear(state, YearSearchKernel::Auto, kAllHits, coreCount(), 13);
}
BENCHMARK(BM_EggSearchYear_Everstone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_EggSearchYear_Everstone_Avx2(benchmark::State& state) {
  runYear(state, YearSearchKernel::Avx2, kAllHits, coreCount(), 13);
}
BENCHMARK(BM_EggSearchYear_Everstone_Avx2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_EggSearchYear_Avx2(benchmark::State& state) { runYear(state, YearSearchKernel::Avx2, kAllHits, coreCount()); }
BENCHMARK(BM_EggSearchYear_Avx2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_EggSearchYear_Scalar(benchmark::State& state) {
  runYear(state, YearSearchKernel::Scalar, kAllHits, coreCount());
}
BENCHMARK(BM_EggSearchYear_Scalar)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// What `quillmar-cli egg-search` does by default: the first 100 hits.
void BM_EggSearchYearFirst100(benchmark::State& state) { runYear(state, YearSearchKernel::Auto, 100, coreCount()); }
BENCHMARK(BM_EggSearchYearFirst100)->Unit(benchmark::kMillisecond)->UseRealTime();

// One thread seeds, twists and tests every seed in full; the time of the
// sample is scaled to the year's 9,700 delays.
void BM_EggSearchYear_Straightforward(benchmark::State& state) {
  const EggSearchRequest request = fullYearEggSearch(YearSearchKernel::Scalar);
  const EggListRequest& egg = request.egg;
  auto mt = std::make_unique<Mt19937>();
  int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t delay = request.window.delayMin; delay < request.window.delayMin + kSampleDelays; ++delay) {
      for (uint32_t hour = 0; hour < 24; ++hour) {
        for (uint32_t aa = 0; aa < 256; ++aa) {
          Seed(*mt, aa << 24 | hour << 16 | (uint32_t(delay + request.window.year - 2000) & 0xFFFFu));
          Twist(*mt);
          for (int32_t frame = 0; frame < egg.frameCount; ++frame) {
            const uint32_t pid = MarriageReroll(Temper(*mt, frame), egg.tid, egg.sid);
            hits += eggFrameKept(egg, pid, ShinyTest(pid, egg.tid, egg.sid));
          }
        }
      }
    }
    const std::chrono::duration<double> sample = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(sample.count() * (request.window.delayMax - request.window.delayMin + 1) / kSampleDelays);
  }
  state.counters["sample_hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_EggSearchYear_Straightforward)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
