// Step 14's ID search over the whole year 2026: 256 x 24 x 9,700 =
// 59,596,800 seeds (delays 300..9999). A TID wanted (every seed's IDs checked)
// and one PID to make shiny (the kernel's shiny test first). The
// straightforward scan seeds the full twister (624 words) and twists it per
// seed, on 20 of the 9,700 delays, scaled to the year.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench_threads.h"
#include "core/rng.h"
#include "core/trainer_ids.h"

namespace {

constexpr int32_t kAllHits = 1 << 20;
constexpr int32_t kSampleDelays = 20;

IdSearchRequest yearRequest(bool tid, YearSearchKernel kernel) {
  IdSearchRequest r{};
  r.window = YearWindow{2026, 300, 9999, 0xFFFFFFu};
  if (tid) {
    r.tidWanted = true;
    r.tid = 12345;
  } else {
    r.pidCount = 1;
    r.pids[0] = 0x2684F4E0u;
  }
  r.kernel = kernel;
  return r;
}

void runYear(benchmark::State& state, bool tid, YearSearchKernel kernel) {
  if (!yearSearchKernelAvailable(kernel)) {
    state.SkipWithError("kernel not available on this processor");
    return;
  }
  const IdSearchRequest request = yearRequest(tid, kernel);
  std::unique_ptr<IdHit[]> hits(new IdHit[kAllHits]);
  YearSearchResult result{};
  for (auto _ : state) {
    result = runIdSearch(request, hits.get(), kAllHits, YearSearchControl{coreCount(), nullptr, nullptr});
    benchmark::DoNotOptimize(hits[0]);
  }
  state.counters["hits"] = result.count;
  state.counters["threads"] = coreCount();
}

void BM_IdSearchYear_Tid(benchmark::State& state) { runYear(state, true, YearSearchKernel::Auto); }
BENCHMARK(BM_IdSearchYear_Tid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
void BM_IdSearchYear_ShinyPid(benchmark::State& state) { runYear(state, false, YearSearchKernel::Auto); }
BENCHMARK(BM_IdSearchYear_ShinyPid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
void BM_IdSearchYear_Tid_Avx2(benchmark::State& state) { runYear(state, true, YearSearchKernel::Avx2); }
BENCHMARK(BM_IdSearchYear_Tid_Avx2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
void BM_IdSearchYear_Tid_Scalar(benchmark::State& state) { runYear(state, true, YearSearchKernel::Scalar); }
BENCHMARK(BM_IdSearchYear_Tid_Scalar)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_IdSearchYear_Straightforward(benchmark::State& state) {
  const IdSearchRequest request = yearRequest(true, YearSearchKernel::Scalar);
  Mt19937 mt;
  int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t delay = request.window.delayMin; delay < request.window.delayMin + kSampleDelays; ++delay) {
      for (uint32_t hour = 0; hour < 24; ++hour) {
        for (uint32_t aa = 0; aa < 256; ++aa) {
          Seed(mt, aa << 24 | hour << 16 | (uint32_t(delay + request.window.year - 2000) & 0xFFFFu));
          Twist(mt);
          const uint32_t second = Temper(mt, 1);
          hits += idsWanted(request, TrainerIds{int32_t(second & 0xFFFFu), int32_t(second >> 16)});
        }
      }
    }
    const std::chrono::duration<double> sample = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(sample.count() * (request.window.delayMax - request.window.delayMin + 1) / kSampleDelays);
  }
  state.counters["sample_hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_IdSearchYear_Straightforward)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
