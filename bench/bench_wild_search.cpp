// Step 12's creature search over the whole year 2026: 256 x 24 x 9,700 =
// 59,596,800 seeds (delays 300..9999), DPPt, a stationary creature with no
// lead. IV-first: six fixed IVs (31/31/31/31/31/31... as a 6V aim) and one
// nature, N = 1000. Forward: shiny only (TID 12345, SID 54321) with one
// nature, N = 100. The straightforward scan (one thread, each seed and each
// advance generated on its own by wildCreatureFrom and filtered) is timed on
// 4 of the 9,700 delays and scaled to the year.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench_threads.h"
#include "core/rng.h"
#include "core/wild_search.h"

namespace {

constexpr int32_t kAllHits = 1 << 20;
constexpr int32_t kSampleDelays = 4;

WildSearchRequest yearRequest(bool ivFirst, YearSearchKernel kernel = YearSearchKernel::Auto) {
  WildSearchRequest r{};
  r.window = YearWindow{2026, 300, 9999, 0xFFFFFFu};
  r.encounter = WildEncounter{WildGame::kDppt, WildKind::kStatic, WildLead::kNone, 0, 255, 1, 1, 100, false,
                              WildFeebas::kOff, 12345, 54321};
  r.filter = openWildFilter();
  r.filter.natureMask = 1u << 13;  // ようき
  if (ivFirst) {
    r.advanceCount = 1000;
    for (IvRange& iv : r.filter.ivs) iv = IvRange{31, 31};
  } else {
    r.advanceCount = 100;
    r.filter.shinyOnly = true;
  }
  r.way = ivFirst ? WildSearchWay::kIvFirst : WildSearchWay::kForward;
  r.kernel = kernel;
  return r;
}

void runYear(benchmark::State& state, bool ivFirst, YearSearchKernel kernel = YearSearchKernel::Auto) {
  if (!yearSearchKernelAvailable(kernel)) {
    state.SkipWithError("kernel not available on this processor");
    return;
  }
  const WildSearchRequest request = yearRequest(ivFirst, kernel);
  std::unique_ptr<WildHit[]> hits(new WildHit[kAllHits]);
  YearSearchResult result{};
  for (auto _ : state) {
    result = runWildSearch(request, hits.get(), kAllHits, YearSearchControl{coreCount(), nullptr, nullptr});
    benchmark::DoNotOptimize(hits[0]);
  }
  state.counters["hits"] = result.count;
  state.counters["threads"] = coreCount();
}

void BM_WildSearchYear_IvFirst6V(benchmark::State& state) { runYear(state, true); }
BENCHMARK(BM_WildSearchYear_IvFirst6V)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_WildSearchYear_ForwardShiny(benchmark::State& state) { runYear(state, false); }
BENCHMARK(BM_WildSearchYear_ForwardShiny)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_WildSearchYear_ForwardShiny_Avx2(benchmark::State& state) { runYear(state, false, YearSearchKernel::Avx2); }
BENCHMARK(BM_WildSearchYear_ForwardShiny_Avx2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_WildSearchYear_ForwardShiny_Scalar(benchmark::State& state) { runYear(state, false, YearSearchKernel::Scalar); }
BENCHMARK(BM_WildSearchYear_ForwardShiny_Scalar)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// One thread, every seed and every advance in turn, scaled to the year.
void straightforward(benchmark::State& state, bool ivFirst) {
  const WildSearchRequest request = yearRequest(ivFirst);
  int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t delay = request.window.delayMin; delay < request.window.delayMin + kSampleDelays; ++delay) {
      for (uint32_t hour = 0; hour < 24; ++hour) {
        for (uint32_t aa = 0; aa < 256; ++aa) {
          uint32_t lcg = aa << 24 | hour << 16 | (uint32_t(delay + request.window.year - 2000) & 0xFFFFu);
          for (int32_t n = 0; n < request.advanceCount; ++n, lcg = Lcg32::Next(lcg)) {
            WildCreature c;
            wildCreatureFrom(request.encounter, lcg, n, c);
            hits += wildCreatureKept(request.filter, c);
          }
        }
      }
    }
    const std::chrono::duration<double> sample = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(sample.count() * (request.window.delayMax - request.window.delayMin + 1) / kSampleDelays);
  }
  state.counters["sample_hits"] = static_cast<double>(hits);
}

void BM_WildSearchYear_ForwardShiny_Straightforward(benchmark::State& state) { straightforward(state, false); }
BENCHMARK(BM_WildSearchYear_ForwardShiny_Straightforward)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_WildSearchYear_IvFirst6V_Straightforward(benchmark::State& state) { straightforward(state, true); }
BENCHMARK(BM_WildSearchYear_IvFirst6V_Straightforward)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// Wide IVs without shininess (A, S and D at 30 or 31, 262,144 combinations,
// the nature by Synchronize), which the forward way scans seed by seed with
// the seeds' draws shared between their advances, against each advance
// generated on its own, both on delays 300..303 of every hour (98,304 seeds).
WildSearchRequest wideSample() {
  WildSearchRequest r = yearRequest(false);
  r.window.delayMax = r.window.delayMin + kSampleDelays - 1;
  r.encounter.lead = WildLead::kSync;
  r.encounter.leadNature = 13;
  r.filter.shinyOnly = false;
  r.filter.ivs[1] = r.filter.ivs[3] = r.filter.ivs[5] = IvRange{30, 31};
  return r;
}

void BM_WildSearchSample_ForwardWide(benchmark::State& state) {
  const WildSearchRequest request = wideSample();
  std::unique_ptr<WildHit[]> hits(new WildHit[kAllHits]);
  YearSearchResult result{};
  for (auto _ : state) {
    result = runWildSearch(request, hits.get(), kAllHits, YearSearchControl{1, nullptr, nullptr});
    benchmark::DoNotOptimize(hits[0]);
  }
  state.counters["hits"] = result.count;
}
BENCHMARK(BM_WildSearchSample_ForwardWide)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WildSearchSample_ForwardWide_Straightforward(benchmark::State& state) {
  const WildSearchRequest request = wideSample();
  int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    for (int32_t delay = request.window.delayMin; delay <= request.window.delayMax; ++delay) {
      for (uint32_t hour = 0; hour < 24; ++hour) {
        for (uint32_t aa = 0; aa < 256; ++aa) {
          uint32_t lcg = aa << 24 | hour << 16 | (uint32_t(delay + request.window.year - 2000) & 0xFFFFu);
          for (int32_t n = 0; n < request.advanceCount; ++n, lcg = Lcg32::Next(lcg)) {
            WildCreature c;
            wildCreatureFrom(request.encounter, lcg, n, c);
            hits += wildCreatureKept(request.filter, c);
          }
        }
      }
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_WildSearchSample_ForwardWide_Straightforward)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
