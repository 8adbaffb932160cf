// The PID search against the straightforward 2 x 65,536-state scan it replaced,
// on the worked examples: every figure here has its reference in the same run.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/pid_search.h"
#include "core/rng.h"
#include "tests/reference/reference_scans.h"

namespace {

using ScanFn = bool (*)(PidSteps&, uint32_t, uint32_t, int, int);

std::unique_ptr<AppState> searchState(std::initializer_list<IvRange> ranges, int nature) {
  auto app = std::make_unique<AppState>();
  int i = 0;
  for (IvRange r : ranges) app->measure.ivRanges[i++] = r;
  app->measure.natureIndex = nature;
  app->measure.measurementCount = 1;
  return app;
}

// IVs 10,12,22,0,7,29, nature 15: one candidate.
std::unique_ptr<AppState> fixedExample() {
  return searchState({{10, 10}, {12, 12}, {22, 22}, {0, 0}, {7, 7}, {29, 29}}, 15);
}
// H 0..31, A 0..31, the rest as above, nature 15.
std::unique_ptr<AppState> openHpAttack() {
  return searchState({{0, 31}, {0, 31}, {22, 22}, {0, 0}, {7, 7}, {29, 29}}, 15);
}

void BM_FixedSearch(benchmark::State& state) {
  auto app = fixedExample();
  for (auto _ : state) {
    searchPidCandidates(app->pids, app->measure);
    benchmark::DoNotOptimize(app->pids.pidCandidates[0]);
  }
  // The states the scan built and tested for this one pair of IV words.
  uint64_t checks = 0;
  app->pids.pidCandidateCount = 0;
  scanIvWords(app->pids, firstIvWord(10, 12, 22), secondIvWord(0, 7, 29), 15, 0, checks);
  state.counters["checks/pair"] = static_cast<double>(checks);
  state.counters["found"] = app->pids.pidCandidateCount;
}
BENCHMARK(BM_FixedSearch)->Unit(benchmark::kNanosecond);

void BM_FixedSearch_Straightforward(benchmark::State& state) {
  auto app = fixedExample();
  for (auto _ : state) {
    app->pids.pidCandidateCount = 0;
    scanIvWordsStraightforward(app->pids, firstIvWord(10, 12, 22), secondIvWord(0, 7, 29), 15, 0);
    benchmark::DoNotOptimize(app->pids.pidCandidates[0]);
  }
  state.counters["checks/pair"] = 2.0 * 65536.0;
  state.counters["found"] = app->pids.pidCandidateCount;
}
BENCHMARK(BM_FixedSearch_Straightforward)->Unit(benchmark::kMicrosecond);

// The range search's nesting over H and A with the given scan; returns the
// number of IV-word pairs scanned before the 16th candidate ended it.
int rangeSearch16(PidSteps& pids, ScanFn scan) {
  pids.pidCandidateCount = 0;
  int pairs = 0;
  for (int h = 0; h <= 31; ++h)
    for (int a = 0; a <= 31; ++a) {
      ++pairs;
      if (scan(pids, firstIvWord(h, a, 22), secondIvWord(0, 7, 29), 15, kRangeSearchLimit)) return pairs;
    }
  return pairs;
}

void BM_RangeSearch16(benchmark::State& state) {
  auto app = openHpAttack();
  for (auto _ : state) {
    searchPidCandidates(app->pids, app->measure);
    benchmark::DoNotOptimize(app->pids.pidCandidates[15]);
  }
  state.counters["found"] = app->pids.pidCandidateCount;
  state.counters["pairs"] = rangeSearch16(app->pids, scanIvWords);
}
BENCHMARK(BM_RangeSearch16)->Unit(benchmark::kMicrosecond);

void BM_RangeSearch16_Straightforward(benchmark::State& state) {
  auto app = openHpAttack();
  int pairs = 0;
  for (auto _ : state) {
    pairs = rangeSearch16(app->pids, scanIvWordsStraightforward);
    benchmark::DoNotOptimize(app->pids.pidCandidates[15]);
  }
  state.counters["found"] = app->pids.pidCandidateCount;
  state.counters["pairs"] = pairs;
}
BENCHMARK(BM_RangeSearch16_Straightforward)->Unit(benchmark::kMillisecond);

// quillmar-cli pid --all: every combination of H 0..31 and A 0..31 scanned
// without a limit, each from an empty list (as the command prints them).
void BM_AllCandidates(benchmark::State& state) {
  auto app = openHpAttack();
  uint64_t checks = 0;
  uint64_t pairs = 0;
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (int h = 0; h <= 31; ++h)
      for (int a = 0; a <= 31; ++a) {
        app->pids.pidCandidateCount = 0;
        scanIvWords(app->pids, firstIvWord(h, a, 22), secondIvWord(0, 7, 29), 15, 0, checks);
        found += app->pids.pidCandidateCount;
        ++pairs;
      }
    benchmark::DoNotOptimize(found);
  }
  state.counters["checks/pair"] = static_cast<double>(checks) / static_cast<double>(pairs);
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_AllCandidates)->Unit(benchmark::kMicrosecond);

void BM_AllCandidates_Straightforward(benchmark::State& state) {
  auto app = openHpAttack();
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (int h = 0; h <= 31; ++h)
      for (int a = 0; a <= 31; ++a) {
        app->pids.pidCandidateCount = 0;
        scanIvWordsStraightforward(app->pids, firstIvWord(h, a, 22), secondIvWord(0, 7, 29), 15, 0);
        found += app->pids.pidCandidateCount;
      }
    benchmark::DoNotOptimize(found);
  }
  state.counters["checks/pair"] = 2.0 * 65536.0;
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_AllCandidates_Straightforward)->Unit(benchmark::kMillisecond);

// Random 15-bit IV words (a fixed sequence): the average number of states
// built and tested per pair, over pairs that are not the worked examples.
void BM_ScanRandomPairs(benchmark::State& state) {
  auto app = std::make_unique<AppState>();
  uint64_t checks = 0;
  uint64_t pairs = 0;
  for (auto _ : state) {
    uint32_t x = 1;
    for (int i = 0; i < 4096; ++i) {
      x = Lcg32::Next(x);
      uint32_t w1 = (x >> 16) & 0x7FFFu;
      x = Lcg32::Next(x);
      uint32_t w2 = (x >> 16) & 0x7FFFu;
      app->pids.pidCandidateCount = 0;
      scanIvWords(app->pids, w1, w2, i % kNatureCount, 0, checks);
      ++pairs;
    }
    benchmark::DoNotOptimize(app->pids.pidCandidates[0]);
  }
  state.counters["checks/pair"] = static_cast<double>(checks) / static_cast<double>(pairs);
}
BENCHMARK(BM_ScanRandomPairs)->Unit(benchmark::kMicrosecond);

}  // namespace
