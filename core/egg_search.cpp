#include "core/egg_search.h"

#include <cstdint>

#include "core/egg_search_kernel.h"
#include "core/rng.h"
#include "core/year_search.h"
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
  return true;
}

bool cpuHas(EggSearchKernel kernel) {
#if defined(QUILLMAR_EGG_SCAN_X86)
  __builtin_cpu_init();
  if (kernel == EggSearchKernel::Avx2) return __builtin_cpu_supports("avx2");
  if (kernel == EggSearchKernel::Avx512) {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi2");
  }
#endif
  return kernel == EggSearchKernel::Auto || kernel == EggSearchKernel::Scalar;
}

EggScanRow kernelFunction(EggSearchKernel kernel) {
#if defined(QUILLMAR_EGG_SCAN_X86)
  kernel = resolvedEggKernel(kernel);
  if (kernel == EggSearchKernel::Avx512) return eggScanRowAvx512;
  if (kernel == EggSearchKernel::Avx2) return eggScanRowAvx2;
#endif
  (void)kernel;
  return eggScanRowScalar;
}

// The egg search as the engine's scan: the kernel's frames checked with the
// egg list's own functions.
struct EggScan {
  using Hit = EggHit;
  const EggListRequest* egg;
  EggScanPlan plan;
  bool planPossible;
  EggScanRow row;

  bool possible() const { return planPossible; }

  template <typename Out>
  void scanRow(uint32_t rowBase, int32_t frames, Out& out) const {
    struct Context {
      const EggScan* scan;
      Out* out;
    } context{this, &out};
    const EggScanSink sink{
        [](void* c, uint32_t seed, int32_t frame, uint32_t firstPid) {
          const Context& x = *static_cast<Context*>(c);
          const EggListRequest& r = *x.scan->egg;
          const uint32_t pid = r.internationalMarriage ? MarriageReroll(firstPid, r.tid, r.sid) : firstPid;
          if (!eggFrameKept(r, pid, ShinyTest(pid, r.tid, r.sid))) return;
          x.out->add(EggHit{seed, frame, x.out->delay(), pid});
        },
        [](void* c) { return static_cast<Context*>(c)->out->stopRequested(); }, &context};
    row(plan, rowBase, frames, sink);
  }
};

YearSeeds seedsOf(const EggSearchRequest& r) {
  return YearSeeds{r.year, r.delayMin, r.delayMax, r.hourMask, r.egg.frameCount};
}

}  // namespace

void sortEggHits(EggHit* hits, int32_t count, int32_t threads) { year_search::sortAnyHits(hits, count, threads); }

bool eggSearchKernelAvailable(EggSearchKernel kernel) { return cpuHas(kernel); }

EggSearchKernel resolvedEggKernel(EggSearchKernel kernel) {
  if (kernel != EggSearchKernel::Auto) return kernel;
  return cpuHas(EggSearchKernel::Avx512) ? EggSearchKernel::Avx512
         : cpuHas(EggSearchKernel::Avx2) ? EggSearchKernel::Avx2
                                         : EggSearchKernel::Scalar;
}

bool eggSearchRequestValid(const EggSearchRequest& r) { return yearSeedsValid(seedsOf(r)) && cpuHas(r.kernel); }

int64_t eggSearchSeedCount(const EggSearchRequest& r) {
  return eggSearchRequestValid(r) ? yearSeedCount(seedsOf(r)) : 0;
}

EggSearchResult runEggSearch(const EggSearchRequest& request, EggHit* hits, int32_t capacity,
                             const EggSearchControl& control) {
  EggScan scan{&request.egg, EggScanPlan{}, false, kernelFunction(request.kernel)};
  scan.planPossible = planOf(request.egg, scan.plan);
  return year_search::runYearSearch(seedsOf(request), cpuHas(request.kernel), scan, hits, capacity, control);
}

bool eggHitMoment(const EggHit& hit, int32_t year, ConsoleMoment& moment) {
  // Every delay of a search window lies in 0..65535, so it is the delay the
  // seed's listing gives.
  SeedMomentCursor cursor = kSeedMomentStart;
  return listSeedMoments(hit.seed, year, cursor, &moment, 1).count == 1;
}
