#include "core/egg_iv_search.h"

#include "core/egg_iv_kernel.h"
#include "core/rng.h"
#include "core/year_search_engine.h"

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

constexpr ScanRows<EggIvScanPlan> kRows{eggIvScanRowScalar, QUILLMAR_VECTOR_KERNEL(eggIvScanRowAvx2),
                                        QUILLMAR_VECTOR_KERNEL(eggIvScanRowAvx512)};

// The IV search as the engine's scan: the kernel's frames checked with
// eggIvsAfter.
struct EggIvScan {
  using Hit = EggIvHit;
  const EggIvSearchRequest* request;
  EggIvScanPlan plan;
  ScanRow<EggIvScanPlan> row;

  bool possible() const { return true; }

  template <typename Out>
  void take(uint32_t seed, int32_t frame, uint32_t state, Out& out) const {
    if (eggIvsWanted(eggIvsAfter(state, request->parents), request->ranges)) out.add(EggIvHit{seed, frame, out.delay()});
  }

  template <typename Out>
  void scanRow(uint32_t rowBase, int32_t frames, Out& out) const {
    year_search::KernelRow<EggIvScan, Out> kernelRow{this, &out};
    row(plan, rowBase, frames, kernelRow.sink());
  }
};

}  // namespace

bool eggIvSearchRequestValid(const EggIvSearchRequest& r) {
  return yearWindowValid(r.window) && r.frameCount >= 1 && eggParentsValid(r.parents) && ivRangesValid(r.ranges) &&
         yearSearchKernelAvailable(r.kernel);
}

int64_t eggIvSearchSeedCount(const EggIvSearchRequest& r) {
  return eggIvSearchRequestValid(r) ? yearWindowSeedCount(r.window) : 0;
}

YearSearchResult runEggIvSearch(const EggIvSearchRequest& request, EggIvHit* hits, int32_t capacity,
                                const YearSearchControl& control) {
  const bool valid = eggIvSearchRequestValid(request);
  EggIvScan scan{&request, valid ? planOf(request) : EggIvScanPlan{}, scanRowFor(request.kernel, kRows)};
  return year_search::runYearSearch(request.window, request.frameCount, valid, scan, hits, capacity, control);
}

EggIvs eggIvHitIvs(const EggIvHit& hit, const EggParents& parents) {
  return eggIvsAt(hit.seed, uint32_t(hit.frame), parents);
}
