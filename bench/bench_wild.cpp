// Step 11's listing of 100,000 advances of one seed, every creature kept, with
// wildListStart / wildListNext, against the straightforward listing: for each
// advance a fresh generator stepped from the seed that many times, then the
// creature drawn by the rules' model (tests/reference/wild_model.h). The
// straightforward listing is quadratic (5 x 10^9 steps for the 100,000
// advances), so it runs once. _ModelStepped: the same model with its
// generator stepped once per advance, the creature's own cost.
#include <benchmark/benchmark.h>

#include "core/wild.h"
#include "tests/reference/wild_model.h"

namespace {

constexpr int32_t kAdvances = 100000;
constexpr uint32_t kSeed = 0x12345678u;

WildEncounter stationarySync() {
  return {WildGame::kDppt, WildKind::kStatic, WildLead::kSync, 3, 127, 50, 50, 0, false, WildFeebas::kOff, 12345,
          54321};
}
WildEncounter grassCuteCharm() {
  return {WildGame::kHgss, WildKind::kGrass, WildLead::kCuteFemale, 0, 127, 2, 4, 0, false, WildFeebas::kOff, 12345,
          54321};
}

WildFilter everything() {
  WildFilter f{};
  for (IvRange& r : f.ivs) r = IvRange{0, 31};
  f.hiddenPowerType = -1;
  f.hiddenPowerMin = 30;
  return f;
}

void finish(benchmark::State& state, int64_t kept, int64_t pidTries) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kAdvances);
  state.counters["kept"] = static_cast<double>(kept);
  state.counters["tries/adv"] = static_cast<double>(pidTries) / kAdvances;
}

void listing(benchmark::State& state, const WildEncounter& e) {
  const WildFilter filter = everything();
  int64_t kept = 0, tries = 0;
  for (auto _ : state) {
    kept = tries = 0;
    WildListCursor cursor = wildListStart(kSeed, 0, kAdvances);
    WildCreature c{};
    while (wildListNext(e, filter, cursor, c)) {
      ++kept;
      tries += c.pidTries;
    }
    benchmark::DoNotOptimize(tries);
  }
  finish(state, kept, tries);
}

void straightforward(benchmark::State& state, const WildEncounter& e) {
  const WildFilter filter = everything();
  int64_t kept = 0, tries = 0;
  for (auto _ : state) {
    kept = tries = 0;
    for (int32_t n = 0; n < kAdvances; ++n) {
      const WildCreature c = wild_model::creatureAt(e, kSeed, n);
      if (wild_model::kept(filter, c)) {
        ++kept;
        tries += c.pidTries;
      }
    }
    benchmark::DoNotOptimize(tries);
  }
  finish(state, kept, tries);
}

// The model's creature at each advance, its generator stepped once per advance
// as the listing's is: what the listing costs without the quadratic stepping.
void modelStepped(benchmark::State& state, const WildEncounter& e) {
  const WildFilter filter = everything();
  int64_t kept = 0, tries = 0;
  for (auto _ : state) {
    kept = tries = 0;
    wild_model::Draws d{kSeed};
    for (int32_t n = 0; n < kAdvances; ++n, d.next()) {
      const WildCreature c = wild_model::creatureFrom(e, d.state, n);
      if (wild_model::kept(filter, c)) {
        ++kept;
        tries += c.pidTries;
      }
    }
    benchmark::DoNotOptimize(tries);
  }
  finish(state, kept, tries);
}

void BM_WildStationarySync100000(benchmark::State& state) { listing(state, stationarySync()); }
BENCHMARK(BM_WildStationarySync100000)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_WildStationarySync100000_Straightforward(benchmark::State& state) { straightforward(state, stationarySync()); }
BENCHMARK(BM_WildStationarySync100000_Straightforward)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_WildStationarySync100000_ModelStepped(benchmark::State& state) { modelStepped(state, stationarySync()); }
BENCHMARK(BM_WildStationarySync100000_ModelStepped)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WildGrassCuteCharm100000(benchmark::State& state) { listing(state, grassCuteCharm()); }
BENCHMARK(BM_WildGrassCuteCharm100000)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_WildGrassCuteCharm100000_Straightforward(benchmark::State& state) { straightforward(state, grassCuteCharm()); }
BENCHMARK(BM_WildGrassCuteCharm100000_Straightforward)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
void BM_WildGrassCuteCharm100000_ModelStepped(benchmark::State& state) { modelStepped(state, grassCuteCharm()); }
BENCHMARK(BM_WildGrassCuteCharm100000_ModelStepped)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
