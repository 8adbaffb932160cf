// The egg IV search over the whole year 2026: 256 x 24 x 9,700 = 59,596,800
// seeds (delays 300..9999), n = 0..29, DPPt, a 5V aim (H, A, B, C, D of 31,
// S open) from parents A 31/31/31/20/31/15 and B 12/31/8/31/31/31. Every hit
// is collected, so no seed is skipped. The straightforward scan (one thread,
// for each seed and each n the IVs by eggIvsAfter and the ranges checked) is
// timed on 20 of the 9,700 delays and scaled to the year. And the listing of
// 100,000 n of one seed.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench_threads.h"
#include "core/egg_iv_search.h"
#include "core/egg_ivs.h"
#include "core/rng.h"

namespace {

constexpr int32_t kAllHits = 1 << 20;
constexpr int32_t kSampleDelays = 20;

EggIvSearchRequest fullYearIvSearch(YearSearchKernel kernel) {
  EggIvSearchRequest r{};
  r.window.year = 2026;
  r.window.delayMin = 300;
  r.window.delayMax = 9999;
  r.window.hourMask = 0xFFFFFFu;
  r.frameCount = 30;
  r.parents = EggParents{EggGame::kDppt, {31, 31, 31, 20, 31, 15}, {12, 31, 8, 31, 31, 31}, PowerItem::kNone,
                         PowerItem::kNone};
  const IvRange wanted[kStatCount] = {{31, 31}, {31, 31}, {31, 31}, {0, 31}, {31, 31}, {31, 31}};
  for (int i = 0; i < kStatCount; ++i) r.ranges[i] = wanted[i];
  r.kernel = kernel;
  return r;
}

void runYear(benchmark::State& state, YearSearchKernel kernel, int32_t capacity) {
  if (!yearSearchKernelAvailable(kernel)) {
    state.SkipWithError("kernel not available on this processor");
    return;
  }
  const EggIvSearchRequest request = fullYearIvSearch(kernel);
  std::unique_ptr<EggIvHit[]> hits(new EggIvHit[kAllHits]);
  YearSearchResult result{};
  for (auto _ : state) {
    result = runEggIvSearch(request, hits.get(), capacity, YearSearchControl{coreCount(), nullptr, nullptr});
    benchmark::DoNotOptimize(hits[0]);
  }
  state.counters["hits"] = result.count;
  state.counters["threads"] = coreCount();
  state.counters["seeds"] = static_cast<double>(eggIvSearchSeedCount(request));
}

void BM_EggIvSearchYear(benchmark::State& state) { runYear(state, YearSearchKernel::Auto, kAllHits); }
BENCHMARK(BM_EggIvSearchYear)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_EggIvSearchYear_Avx2(benchmark::State& state) { runYear(state, YearSearchKernel::Avx2, kAllHits); }
BENCHMARK(BM_EggIvSearchYear_Avx2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_EggIvSearchYear_Scalar(benchmark::State& state) { runYear(state, YearSearchKernel::Scalar, kAllHits); }
BENCHMARK(BM_EggIvSearchYear_Scalar)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// What `quillmar-cli egg-iv-search` does by default: the first 100 hits.
void BM_EggIvSearchYearFirst100(benchmark::State& state) { runYear(state, YearSearchKernel::Auto, 100); }
BENCHMARK(BM_EggIvSearchYearFirst100)->Unit(benchmark::kMillisecond)->UseRealTime();

// One thread, every seed and every n in turn; the sample's time is scaled to
// the year's 9,700 delays.
void BM_EggIvSearchYear_Straightforward(benchmark::State& state) {
  const EggIvSearchRequest request = fullYearIvSearch(YearSearchKernel::Scalar);
  int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t delay = request.window.delayMin; delay < request.window.delayMin + kSampleDelays; ++delay) {
      for (uint32_t hour = 0; hour < 24; ++hour) {
        for (uint32_t aa = 0; aa < 256; ++aa) {
          uint32_t lcg = aa << 24 | hour << 16 | (uint32_t(delay + request.window.year - 2000) & 0xFFFFu);
          for (int32_t n = 0; n < request.frameCount; ++n, lcg = Lcg32::Next(lcg)) {
            hits += eggIvsWanted(eggIvsAfter(lcg, request.parents), request.ranges);
          }
        }
      }
    }
    const std::chrono::duration<double> sample = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(sample.count() * (request.window.delayMax - request.window.delayMin + 1) / kSampleDelays);
  }
  state.counters["sample_hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_EggIvSearchYear_Straightforward)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// The listing of n = 0..99,999 of one seed with every range open, so that
// every line is kept, in pages of 4,096 lines.
void BM_EggIvList100000(benchmark::State& state) {
  EggIvListRequest request{};
  request.seed = 0x12345678u;
  request.frameCount = 100000;
  request.parents = fullYearIvSearch(YearSearchKernel::Scalar).parents;
  for (IvRange& range : request.ranges) range = IvRange{0, 31};
  std::unique_ptr<EggIvLine[]> page(new EggIvLine[4096]);
  int64_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    EggIvCursor cursor = eggIvListStart(request);
    while (cursor.frame < request.frameCount) lines += listEggIvs(request, cursor, page.get(), 4096);
    benchmark::DoNotOptimize(page[0]);
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_EggIvList100000)->Unit(benchmark::kMillisecond);

}  // namespace
