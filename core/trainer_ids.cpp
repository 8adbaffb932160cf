#include "core/trainer_ids.h"

#include "core/egg_search_kernel.h"
#include "core/rng.h"
#include "core/year_search_engine.h"

namespace {

constexpr uint32_t kUpperBit = 0x80000000u;
constexpr int32_t kTwistShift = 397;

uint32_t temper(uint32_t y) {
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  return y ^ (y >> 18);
}

constexpr ScanRows<EggScanPlan> kRows{eggScanRowScalar, QUILLMAR_VECTOR_KERNEL(eggScanRowAvx2),
                                      QUILLMAR_VECTOR_KERNEL(eggScanRowAvx512)};

// The egg search's kernel over outputs 0 and 1 (its frames) of each seed,
// which seeds 399 words; output 1 is the IDs. With one PID to make shiny and
// nothing else wanted, the kernel's shiny test (TID ^ SID of the PID's halves)
// leaves only the outputs that can be hits.
struct IdScan {
  using Hit = IdHit;
  const IdSearchRequest* request;
  EggScanPlan plan;
  ScanRow<EggScanPlan> row;

  bool possible() const { return true; }

  template <typename Out>
  void take(uint32_t seed, int32_t frame, uint32_t output, Out& out) const {
    if (frame != 1) return;
    const TrainerIds ids{static_cast<int32_t>(output & 0xFFFFu), static_cast<int32_t>(output >> 16)};
    if (idsWanted(*request, ids)) out.add(IdHit{seed, 0, out.delay()});
  }

  template <typename Out>
  void scanRow(uint32_t rowBase, int32_t, Out& out) const {
    year_search::KernelRow<IdScan, Out> kernelRow{this, &out};
    row(plan, rowBase, 2, kernelRow.sink());
  }
};

}  // namespace

TrainerIds trainerIdsOf(uint32_t seed) {
  // Twisted word 1 reads words 1, 2 and 398.
  uint32_t word = seed;
  uint32_t w1 = 0;
  uint32_t w2 = 0;
  for (uint32_t i = 1; i <= kTwistShift + 1; ++i) {
    word = kMtInitMul * (word ^ (word >> 30)) + i;
    if (i == 1) w1 = word;
    if (i == 2) w2 = word;
  }
  const uint32_t y = (w1 & kUpperBit) | (w2 & ~kUpperBit);
  const uint32_t output = temper(word ^ (y >> 1) ^ ((w2 & 1u) != 0 ? kTwistMagic : 0u));
  return TrainerIds{static_cast<int32_t>(output & 0xFFFFu), static_cast<int32_t>(output >> 16)};
}

void cuteCharmPids(int32_t nature, int32_t ratio, uint32_t (&pids)[2]) {
  pids[0] = static_cast<uint32_t>(nature);
  pids[1] = static_cast<uint32_t>(25 * (ratio / 25 + 1) + nature);
}

bool idSearchRequestValid(const IdSearchRequest& r) {
  if (!yearWindowValid(r.window) || !yearSearchKernelAvailable(r.kernel)) return false;
  if (r.tidWanted && (r.tid < 0 || r.tid > 0xFFFF)) return false;
  if (r.sidWanted && (r.sid < 0 || r.sid > 0xFFFF)) return false;
  return r.pidCount >= 0 && r.pidCount <= kMaxShinyPids;
}

bool idsWanted(const IdSearchRequest& r, TrainerIds ids) {
  if (r.tidWanted && ids.tid != r.tid) return false;
  if (r.sidWanted && ids.sid != r.sid) return false;
  if (r.pidCount == 0) return true;
  for (int32_t i = 0; i < r.pidCount; ++i) {
    if (ShinyTest(r.pids[i], ids.tid, ids.sid)) return true;
  }
  return false;
}

int64_t idSearchSeedCount(const IdSearchRequest& r) {
  return idSearchRequestValid(r) ? yearWindowSeedCount(r.window) : 0;
}

YearSearchResult runIdSearch(const IdSearchRequest& request, IdHit* hits, int32_t capacity,
                             const YearSearchControl& control) {
  const bool valid = idSearchRequestValid(request);
  IdScan scan{&request, EggScanPlan{}, scanRowFor(valid ? request.kernel : YearSearchKernel::Scalar, kRows)};
  if (valid && request.pidCount == 1 && !request.tidWanted && !request.sidWanted) {
    scan.plan.shinyOnly = true;
    scan.plan.shinyValue = (request.pids[0] >> 16) ^ (request.pids[0] & 0xFFFFu);
  }
  return year_search::runYearSearch(request.window, 1, valid, scan, hits, capacity, control);
}
