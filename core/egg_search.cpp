#include "core/egg_search.h"

#include <cstdint>

#include "core/egg_search_kernel.h"
#include "core/everstone.h"
#include "core/rng.h"
#include "core/year_search_engine.h"
#include "data/tables.h"

namespace {

// The kernel's view of the filters: for each choice, the set of PIDs
// eggFrameKept lets through, as a test that vector code can make. Returns
// false when no frame can be kept at all.
bool planOf(const EggListRequest& egg, EggScanPlan& plan) {
  plan = EggScanPlan{};
  plan.shinyValue = uint32_t(egg.tid) ^ uint32_t(egg.sid);
  plan.marriage = egg.internationalMarriage;
  plan.shinyOnly = egg.shinyOnly;
  if (plan.shinyOnly && plan.shinyValue >= 0x10000u) return false;
  if (egg.natureChoice > 0) {
    if (egg.natureChoice > kNatureCount) return false;
    plan.nature = true;
    plan.natureIndex = uint32_t(egg.natureChoice - 1);
  }
  if (egg.genderChoice > 0) {
    // The gender values the filter passes, as one range; every option's set
    // is one, and a set with holes would only make the kernel report more.
    int low = -1;
    int high = -1;
    for (int g = 0; g < 256; ++g) {
      if (!GenderFilter(egg.genderChoice - 1, g)) continue;
      if (low < 0) low = g;
      high = g;
    }
    if (low < 0) return false;
    plan.gender = true;
    plan.genderLow = uint32_t(low);
    plan.genderSpan = uint32_t(high - low);
  }
  if (egg.abilityChoice > 0) {
    if (egg.abilityChoice > 2) return false;
    plan.ability = true;
    plan.abilityBit = uint32_t(egg.abilityChoice - 1);
  }
  if (egg.everstoneNature >= 0) {
    plan.everstone = true;
    plan.everstoneNature = uint32_t(egg.everstoneNature);
  }
  return true;
}

// The egg search as the engine's scan: the kernel's frames checked with the
// egg list's own functions.
struct EggScan {
  using Hit = EggHit;
  const EggListRequest* egg;
  EggScanPlan plan;
  bool planPossible;
  ScanRow<EggScanPlan> row;

  bool possible() const { return planPossible; }

  template <typename Out>
  void takePid(uint32_t seed, int32_t frame, uint32_t firstPid, Out& out) const {
    const uint32_t pid = egg->internationalMarriage ? MarriageReroll(firstPid, egg->tid, egg->sid) : firstPid;
    if (eggFrameKept(*egg, pid, ShinyTest(pid, egg->tid, egg->sid))) out.add(EggHit{seed, frame, out.delay(), pid});
  }

  // A frame the kernel reported; frame -1: a seed whose Everstone frames
  // from `value` on the kernel left to be worked out here, output by output.
  template <typename Out>
  void take(uint32_t seed, int32_t frame, uint32_t value, Out& out) const {
    if (frame >= 0) {
      takePid(seed, frame, value, out);
      return;
    }
    Mt19937 mt;
    Seed(mt, seed);
    EverstoneFrames frames(mt, egg->everstoneNature);
    for (int32_t i = static_cast<int32_t>(value); i < egg->frameCount; ++i) takePid(seed, i, frames.pidOf(i), out);
  }

  template <typename Out>
  void scanRow(uint32_t rowBase, int32_t frames, Out& out) const {
    year_search::KernelRow<EggScan, Out> kernelRow{this, &out};
    row(plan, rowBase, frames, kernelRow.sink());
  }
};

constexpr ScanRows<EggScanPlan> kRows{eggScanRowScalar, QUILLMAR_VECTOR_KERNEL(eggScanRowAvx2),
                                      QUILLMAR_VECTOR_KERNEL(eggScanRowAvx512)};

}  // namespace

void sortEggHits(EggHit* hits, int32_t count, int32_t threads) { year_search::sortAnyHits(hits, count, threads); }

bool eggSearchRequestValid(const EggSearchRequest& r) {
  return yearWindowValid(r.window) && r.egg.frameCount >= 1 && r.egg.everstoneNature >= -1 &&
         r.egg.everstoneNature < kNatureCount && yearSearchKernelAvailable(r.kernel);
}

int64_t eggSearchSeedCount(const EggSearchRequest& r) {
  return eggSearchRequestValid(r) ? yearWindowSeedCount(r.window) : 0;
}

YearSearchResult runEggSearch(const EggSearchRequest& request, EggHit* hits, int32_t capacity,
                              const YearSearchControl& control) {
  EggScan scan{&request.egg, EggScanPlan{}, false, scanRowFor(request.kernel, kRows)};
  scan.planPossible = planOf(request.egg, scan.plan);
  return year_search::runYearSearch(request.window, request.egg.frameCount, eggSearchRequestValid(request), scan, hits,
                                    capacity, control);
}
