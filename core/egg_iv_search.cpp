#include "core/egg_iv_search.h"

#include "core/egg_search_kernel.h"
#include "core/rng.h"
#include "core/year_search.h"

namespace {

uint32_t outside(const IvRange& range, int32_t iv) { return iv < range.low || iv > range.high ? 1u : 0u; }

uint32_t goodMask(const int32_t (&ivs)[kStatCount], const IvRange (&ranges)[kStatCount]) {
  uint32_t good = 0;
  for (int i = 0; i < kStatCount; ++i) good |= (outside(ranges[i], ivs[i]) ^ 1u) << i;
  return good;
}

// The kernel's view of a valid request.
EggIvScanPlan planOf(const EggIvSearchRequest& r) {
  EggIvScanPlan plan{};
  for (int j = 0; j < 3; ++j) {
    for (int32_t v = 0; v < 32; ++v) {
      plan.fieldMissed[j][v] = outside(r.ranges[j], v) << j | outside(r.ranges[j + 3], v) << (j + 3);
    }
  }
  const EggParents& p = r.parents;
  plan.goodA = goodMask(p.ivsA, r.ranges);
  plan.goodB = goodMask(p.ivsB, r.ranges);
  const bool itemA = p.itemA != PowerItem::kNone;
  const bool itemB = p.itemB != PowerItem::kNone;
  if (p.game == EggGame::kDppt) {
    plan.shape = EggIvScanShape::kDppt;
  } else if (!itemA && !itemB) {
    plan.shape = EggIvScanShape::kHgss;
  } else if (itemA && itemB) {
    plan.shape = EggIvScanShape::kHgssTwoItems;
    plan.forcedStat[0] = uint32_t(p.itemA) - 1;
    plan.forcedGood[0] = plan.goodA;
    plan.forcedStat[1] = uint32_t(p.itemB) - 1;
    plan.forcedGood[1] = plan.goodB;
  } else {
    plan.shape = EggIvScanShape::kHgssOneItem;
    plan.forcedStat[0] = uint32_t(itemA ? p.itemA : p.itemB) - 1;
    plan.forcedGood[0] = itemA ? plan.goodA : plan.goodB;
  }
  return plan;
}

EggIvScanRow kernelFunction(EggSearchKernel kernel) {
#if defined(QUILLMAR_EGG_SCAN_X86)
  kernel = resolvedEggKernel(kernel);
  if (kernel == EggSearchKernel::Avx512) return eggIvScanRowAvx512;
  if (kernel == EggSearchKernel::Avx2) return eggIvScanRowAvx2;
#endif
  (void)kernel;
  return eggIvScanRowScalar;
}

// The IV search as the engine's scan: the kernel's frames checked with
// eggIvsAfter.
struct EggIvScan {
  using Hit = EggIvHit;
  const EggIvSearchRequest* request;
  EggIvScanPlan plan;
  EggIvScanRow row;

  bool possible() const { return true; }

  template <typename Out>
  void scanRow(uint32_t rowBase, int32_t frames, Out& out) const {
    struct Context {
      const EggIvScan* scan;
      Out* out;
    } context{this, &out};
    const EggScanSink sink{
        [](void* c, uint32_t seed, int32_t frame, uint32_t state) {
          const Context& x = *static_cast<Context*>(c);
          const EggIvSearchRequest& r = *x.scan->request;
          if (eggIvsWanted(eggIvsAfter(state, r.parents), r.ranges)) x.out->add(EggIvHit{seed, frame, x.out->delay()});
        },
        [](void* c) { return static_cast<Context*>(c)->out->stopRequested(); }, &context};
    row(plan, rowBase, frames, sink);
  }
};

YearSeeds seedsOf(const EggIvSearchRequest& r) {
  return YearSeeds{r.year, r.delayMin, r.delayMax, r.hourMask, r.frameCount};
}

}  // namespace

bool eggIvSearchRequestValid(const EggIvSearchRequest& r) {
  return yearSeedsValid(seedsOf(r)) && eggParentsValid(r.parents) && ivRangesValid(r.ranges) &&
         eggSearchKernelAvailable(r.kernel);
}

int64_t eggIvSearchSeedCount(const EggIvSearchRequest& r) {
  return eggIvSearchRequestValid(r) ? yearSeedCount(seedsOf(r)) : 0;
}

EggSearchResult runEggIvSearch(const EggIvSearchRequest& request, EggIvHit* hits, int32_t capacity,
                               const EggSearchControl& control) {
  const bool valid = eggIvSearchRequestValid(request);
  EggIvScan scan{&request, valid ? planOf(request) : EggIvScanPlan{}, kernelFunction(request.kernel)};
  return year_search::runYearSearch(seedsOf(request), valid, scan, hits, capacity, control);
}

EggIvs eggIvHitIvs(const EggIvHit& hit, const EggParents& parents) {
  return eggIvsAt(hit.seed, uint32_t(hit.frame), parents);
}

bool eggIvHitMoment(const EggIvHit& hit, int32_t year, ConsoleMoment& moment) {
  return eggHitMoment(EggHit{hit.seed, hit.frame, hit.delay, 0}, year, moment);
}
