// The seed hit, told by the coin or Elm's answers over the widest calibration
// table: 1201 seconds by 2001 delays around 2026-04-27 02:58:59, delay 1370
// (all 2,403,201 cells have a delay in range). The sequences typed are those
// of a cell 7 s late and 3 frames long, so that some cells match; every match
// is collected.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/hit_sequence.h"
#include "core/rng.h"

namespace {

const CalibrationTable kWidest{{2026, 4, 27, 2, 58, 59, 1370}, kMaxCalibrationSeconds, kMaxCalibrationDelays};
const CalibrationTable kDefault{{2026, 4, 27, 2, 58, 59, 1370}, 1, 10};
constexpr int32_t kMatchCapacity = 1 << 16;

HitSearch searchOf(const CalibrationTable& table, HitSource source, int32_t length, int32_t skip) {
  CalibrationCell hit{};
  calibrationCellAt(table, table.seconds > 7 ? 7 : 1, 3, hit);
  HitSearch search{source, false, skip, length, {}};
  if (source == HitSource::kCoin) {
    coinFlips(hit.seed, skip, length, search.letters);
  } else {
    elmAnswers(hit.seed, 2, length, false, search.letters);  // hit at skip 2 of 0..skip
  }
  return search;
}

void runMatch(benchmark::State& state, const CalibrationTable& table, const HitSearch& search, int32_t threads) {
  std::unique_ptr<HitMatch[]> matches(new HitMatch[kMatchCapacity]);
  int32_t found = 0;
  for (auto _ : state) {
    CalibrationCursor cursor = calibrationStart(table);
    found = findHitMatches(table, search, cursor, matches.get(), kMatchCapacity, threads);
    benchmark::DoNotOptimize(matches[0]);
  }
  state.counters["matches"] = found;
  state.counters["threads"] = threads;
}

void BM_CoinWidest(benchmark::State& state) {
  runMatch(state, kWidest, searchOf(kWidest, HitSource::kCoin, 10, 0), 2);
}
BENCHMARK(BM_CoinWidest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CoinWidest_OneThread(benchmark::State& state) {
  runMatch(state, kWidest, searchOf(kWidest, HitSource::kCoin, 10, 0), 1);
}
BENCHMARK(BM_CoinWidest_OneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

// One thread seeds the whole 624-word twister of every cell, twists it and
// reads the ten flips.
void BM_CoinWidest_FullTwister(benchmark::State& state) {
  const HitSearch search = searchOf(kWidest, HitSource::kCoin, 10, 0);
  auto mt = std::make_unique<Mt19937>();
  static CalibrationCell page[1024];
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    CalibrationCursor cursor = calibrationStart(kWidest);
    for (int32_t n = 1024; n == 1024;) {
      n = listCalibrationCells(kWidest, cursor, page, 1024);
      for (int32_t i = 0; i < n; ++i) {
        Seed(*mt, page[i].seed);
        Twist(*mt);
        int32_t j = 0;
        while (j < search.length && (Temper(*mt, j) & 1u) == search.letters[j]) ++j;
        found += j == search.length;
      }
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_CoinWidest_FullTwister)->Unit(benchmark::kMillisecond)->UseRealTime();

// Past the first twist's short reach: every cell's whole twister is seeded.
void BM_CoinWidestSkip300(benchmark::State& state) {
  runMatch(state, kWidest, searchOf(kWidest, HitSource::kCoin, 10, 300), 2);
}
BENCHMARK(BM_CoinWidestSkip300)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CallsWidest(benchmark::State& state) {
  runMatch(state, kWidest, searchOf(kWidest, HitSource::kElm, 6, 4), 2);
}
BENCHMARK(BM_CallsWidest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CoinDefault(benchmark::State& state) {
  runMatch(state, kDefault, searchOf(kDefault, HitSource::kCoin, 10, 0), 2);
}
BENCHMARK(BM_CoinDefault)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_CallsDefault(benchmark::State& state) {
  runMatch(state, kDefault, searchOf(kDefault, HitSource::kElm, 6, 4), 2);
}
BENCHMARK(BM_CallsDefault)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
