// Arbitrary parents, items, game, ranges and seed for the egg's IVs. A request
// the core calls valid must have its IVs 0..31, a known game and items, no
// item with DPPt and its ranges in order; any other lists nothing. A valid
// one's listing, read in pages of any size, must keep exactly the n whose IVs
// the rules taken draw by draw (tests/reference: eggIvsByDraws) put in range,
// with their IVs and parents; and the year search over one row of 256 seeds
// (a year, a delay and an hour from the input, any kernel the processor has)
// must find exactly the hits of those seeds' listings, in order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/egg_iv_search.h"
#include "core/egg_ivs.h"
#include "core/rng.h"
#include "tests/reference/reference_scans.h"

namespace {

[[noreturn]] void fail(const char* what, long long n, long long got, long long want) {
  std::fprintf(stderr, "fuzz_egg_ivs: %s (n %lld): got %lld, expected %lld\n", what, n, got, want);
  std::abort();
}

// Mostly lo..hi, sometimes any int.
int32_t mostlyIn(FuzzedDataProvider& in, int32_t lo, int32_t hi) {
  const int32_t any = in.ConsumeIntegral<int32_t>();
  return in.ConsumeBool() ? any : lo + int32_t(uint32_t(any) % uint32_t(hi - lo + 1));
}

bool inRanges(const EggIvs& e, const IvRange (&ranges)[kStatCount]) {
  for (int i = 0; i < kStatCount; ++i) {
    if (e.ivs[i] < ranges[i].low || e.ivs[i] > ranges[i].high) return false;
  }
  return true;
}

bool same(const EggIvs& a, const EggIvs& b) {
  for (int i = 0; i < kStatCount; ++i) {
    if (a.ivs[i] != b.ivs[i] || a.from[i] != b.from[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  EggIvListRequest list{};
  list.seed = in.ConsumeIntegral<uint32_t>();
  // Up to 2,000 n (a few below 0), mostly up to 64, so that each run is quick.
  list.frameCount =
      in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-3, 2000) : in.ConsumeIntegralInRange<int32_t>(0, 64);
  list.parents.game = EggGame(mostlyIn(in, 0, 1));
  for (int i = 0; i < kStatCount; ++i) {
    list.parents.ivsA[i] = mostlyIn(in, 0, 31);
    list.parents.ivsB[i] = mostlyIn(in, 0, 31);
  }
  list.parents.itemA = PowerItem(mostlyIn(in, 0, kPowerItemCount - 1));
  list.parents.itemB = PowerItem(mostlyIn(in, 0, kPowerItemCount - 1));
  for (IvRange& r : list.ranges) {
    r.low = mostlyIn(in, 0, 31);
    r.high = mostlyIn(in, r.low < 0 || r.low > 31 ? 0 : r.low, 31);
  }

  const EggParents& p = list.parents;
  bool valid = list.frameCount >= 0 && (p.game == EggGame::kDppt || p.game == EggGame::kHgss);
  for (int i = 0; i < kStatCount; ++i) {
    valid = valid && p.ivsA[i] >= 0 && p.ivsA[i] <= 31 && p.ivsB[i] >= 0 && p.ivsB[i] <= 31;
    valid = valid && list.ranges[i].low >= 0 && list.ranges[i].low <= list.ranges[i].high && list.ranges[i].high <= 31;
  }
  for (PowerItem item : {p.itemA, p.itemB}) {
    valid = valid && int32_t(item) >= 0 && int32_t(item) < kPowerItemCount;
    valid = valid && (p.game == EggGame::kHgss || item == PowerItem::kNone);
  }
  if (eggIvListRequestValid(list) != valid) fail("request validity", -1, !valid, valid);

  // The listing, in pages of 1..16 lines.
  std::vector<EggIvLine> got;
  EggIvCursor cursor = eggIvListStart(list);
  const int32_t pageSize = 1 + in.ConsumeIntegral<uint8_t>() % 16;
  for (int guard = 0; cursor.frame < list.frameCount; ++guard) {
    if (guard > list.frameCount) fail("the listing's cursor does not move", cursor.frame, 0, 0);
    EggIvLine page[16];
    const int32_t count = listEggIvs(list, cursor, page, pageSize);
    got.insert(got.end(), page, page + count);
  }
  if (!valid) {
    if (!got.empty()) fail("lines from a request that is not valid", -1, long(got.size()), 0);
    return 0;
  }
  std::size_t kept = 0;
  uint32_t state = list.seed;
  for (int32_t n = 0; n < list.frameCount; ++n, state = Lcg32::Next(state)) {
    const EggIvs expected = eggIvsByDraws(state, p);
    if (!inRanges(expected, list.ranges)) continue;
    if (kept >= got.size() || got[kept].frame != n) fail("kept n", n, kept < got.size() ? got[kept].frame : -1, n);
    if (!same(got[kept].ivs, expected)) fail("IVs and parents", n, 0, 1);
    ++kept;
  }
  if (kept != got.size()) fail("lines beyond the kept n", -1, long(got.size()), long(kept));

  // One row of the year search against the listings of its 256 seeds.
  EggIvSearchRequest search{};
  search.window.year = 2000 + in.ConsumeIntegral<uint8_t>() % 100;
  search.window.delayMin = search.window.delayMax = in.ConsumeIntegral<uint16_t>();
  search.window.hourMask = 1u << (in.ConsumeIntegral<uint8_t>() % 24);
  search.frameCount = 1 + list.frameCount % 48;
  search.parents = p;
  for (int i = 0; i < kStatCount; ++i) search.ranges[i] = list.ranges[i];
  const YearSearchKernel kernels[] = {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512};
  search.kernel = kernels[in.ConsumeIntegral<uint8_t>() % 3];
  if (!yearSearchKernelAvailable(search.kernel)) search.kernel = YearSearchKernel::Scalar;
  std::vector<EggIvHit> expected;
  const uint32_t low = uint32_t(__builtin_ctz(search.window.hourMask)) << 16 |
                       ((uint32_t(search.window.delayMin) + uint32_t(search.window.year - 2000)) & 0xFFFFu);
  for (int32_t n = 0; n < search.frameCount; ++n) {
    for (uint32_t aa = 0; aa < 256; ++aa) {
      const uint32_t seed = aa << 24 | low;
      if (inRanges(eggIvsAt(seed, uint32_t(n), p), search.ranges)) expected.push_back({seed, n, search.window.delayMin});
    }
  }
  std::vector<EggIvHit> hits(expected.size() + 1);
  const YearSearchResult result =
      runEggIvSearch(search, hits.data(), int32_t(hits.size()), YearSearchControl{1, nullptr, nullptr});
  if (result.status != YearSearchStatus::kDone) fail("search status", -1, long(result.status), 0);
  if (std::size_t(result.count) != expected.size()) fail("search hits", -1, result.count, long(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (hits[i].seed != expected[i].seed || hits[i].frame != expected[i].frame) {
      fail("search hit", hits[i].frame, hits[i].seed, expected[i].seed);
    }
  }
  return 0;
}
