// The egg's IVs at pick-up against the rules taken draw by draw
// (tests/reference: eggIvsByDraws, the LCG stepped one draw at a time): the
// IVs and parents at any n, the listing, and the year search over random
// windows of seeds with every kernel and several thread counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/egg_iv_search.h"
#include "core/rng.h"
#include "tests/reference/reference_scans.h"

namespace {

std::mt19937 gRandom(20270114u);
int32_t below(uint32_t n) { return int32_t(gRandom() % n); }

// Either game; with HGSS, power items on no parent, A, B or both. IVs of 31
// or near it half the time, as a player breeds; two to four stats wanted high.
EggParents randomParents() {
  EggParents p{below(2) ? EggGame::kHgss : EggGame::kDppt, {}, {}, PowerItem::kNone, PowerItem::kNone};
  for (int i = 0; i < kStatCount; ++i) {
    p.ivsA[i] = below(2) ? 31 - below(3) : below(32);
    p.ivsB[i] = below(2) ? 31 - below(3) : below(32);
  }
  const int holders = p.game == EggGame::kHgss ? below(4) : 0;
  if (holders & 1) p.itemA = PowerItem(1 + below(6));
  if (holders & 2) p.itemB = PowerItem(1 + below(6));
  return p;
}
void randomRanges(IvRange (&ranges)[kStatCount]) {
  for (IvRange& r : ranges) r = IvRange{0, 31};
  for (int k = 2 + below(3); k > 0; --k) ranges[below(6)] = IvRange{22 + below(10), 31};
}

bool inRanges(const EggIvs& e, const IvRange (&ranges)[kStatCount]) {
  for (int i = 0; i < kStatCount; ++i) {
    if (e.ivs[i] < ranges[i].low || e.ivs[i] > ranges[i].high) return false;
  }
  return true;
}
bool sameIvs(const EggIvs& a, const EggIvs& b) {
  return std::equal(a.ivs, a.ivs + kStatCount, b.ivs) && std::equal(a.from, a.from + kStatCount, b.from);
}

TEST(EggIvs, RandomCasesMatchTheDrawByDrawModel) {
  int pickedTwice = 0;
  int hgssItems[3] = {};  // HGSS cases with no, one and two power items
  for (int trial = 0; trial < 20000; ++trial) {
    const EggParents parents = randomParents();
    const uint32_t seed = uint32_t(gRandom());
    const uint32_t n = uint32_t(below(4) == 0 ? below(5000) : below(40));
    uint32_t state = seed;
    for (uint32_t k = 0; k < n; ++k) state = Lcg32::Next(state);
    bool twice = false;
    ASSERT_TRUE(sameIvs(eggIvsAt(seed, n, parents), eggIvsByDraws(state, parents, &twice)))
        << "seed " << seed << " n " << n << " game " << int(parents.game) << " items " << int(parents.itemA) << ","
        << int(parents.itemB);
    pickedTwice += twice;
    if (parents.game == EggGame::kHgss) {
      ++hgssItems[(parents.itemA != PowerItem::kNone) + (parents.itemB != PowerItem::kNone)];
      EXPECT_FALSE(twice);
    }
  }
  // DPPt picks a stat twice in 7 cases of 15: of its 10,000 cases, about 4,700.
  EXPECT_GT(pickedTwice, 2000);
  EXPECT_GT(std::min({hgssItems[0], hgssItems[1], hgssItems[2]}), 1500);
  // n past any stepping: 2^32 - 1 draws forward are one draw back.
  for (uint32_t s : {0u, 0x12345678u, 0xFFFFFFFFu}) EXPECT_EQ(Lcg32::Advance(s, 0xFFFFFFFFu), Lcg32::Prev(s));
}

TEST(EggIvs, ListingKeepsTheFramesInRangeWhateverThePages) {
  for (int trial = 0; trial < 40; ++trial) {
    EggIvListRequest request{uint32_t(gRandom()), below(3000), randomParents(), {}};
    randomRanges(request.ranges);
    std::vector<EggIvLine> got;
    for (EggIvCursor cursor = eggIvListStart(request); cursor.frame < request.frameCount;) {
      EggIvLine page[7];
      got.insert(got.end(), page, page + listEggIvs(request, cursor, page, 1 + below(7)));
    }
    std::size_t kept = 0;
    uint32_t state = request.seed;
    for (int32_t n = 0; n < request.frameCount; ++n, state = Lcg32::Next(state)) {
      const EggIvs e = eggIvsByDraws(state, request.parents);
      if (!inRanges(e, request.ranges)) continue;
      ASSERT_LT(kept, got.size()) << "trial " << trial << " n " << n;
      ASSERT_TRUE(got[kept].frame == n && sameIvs(got[kept].ivs, e)) << "trial " << trial << " n " << n;
      ++kept;
    }
    EXPECT_EQ(kept, got.size()) << "trial " << trial;
  }
}

// Every (seed, n) of the window whose IVs lie in the ranges, in the search's
// order: n, then delay, then seed.
std::vector<EggIvHit> modelHits(const EggIvSearchRequest& r) {
  std::vector<EggIvHit> hits;
  for (int32_t delay = r.window.delayMin; delay <= r.window.delayMax; ++delay) {
    for (uint32_t hour = 0; hour < 24; ++hour) {
      for (uint32_t aa = 0; aa < 256 && (r.window.hourMask >> hour & 1u); ++aa) {
        const uint32_t seed = aa << 24 | hour << 16 | ((uint32_t(delay) + uint32_t(r.window.year - 2000)) & 0xFFFFu);
        uint32_t state = seed;
        for (int32_t n = 0; n < r.frameCount; ++n, state = Lcg32::Next(state)) {
          if (inRanges(eggIvsByDraws(state, r.parents), r.ranges)) hits.push_back(EggIvHit{seed, n, delay});
        }
      }
    }
  }
  std::sort(hits.begin(), hits.end(), [](const EggIvHit& a, const EggIvHit& b) {
    return std::tie(a.frame, a.delay, a.seed) < std::tie(b.frame, b.delay, b.seed);
  });
  return hits;
}

void expectModel(EggIvSearchRequest r, const std::vector<EggIvHit>& model, int32_t capacity, YearSearchKernel kernel,
                 int32_t threads, int trial) {
  r.kernel = kernel;
  std::vector<EggIvHit> hits(std::size_t(capacity) + 1, EggIvHit{1, -1, -1});
  std::atomic<int64_t> done{-1};
  const YearSearchResult result = runEggIvSearch(r, hits.data(), capacity, YearSearchControl{threads, &done, nullptr});
  const std::string where = "trial " + std::to_string(trial) + " kernel " + std::to_string(int(kernel)) +
                            " threads " + std::to_string(threads);
  ASSERT_EQ(result.status, YearSearchStatus::kDone) << where;
  EXPECT_EQ(done.load(), eggIvSearchSeedCount(r)) << where;
  const std::size_t expected = std::min(model.size(), std::size_t(capacity));
  ASSERT_EQ(std::size_t(result.count), expected) << where;
  for (std::size_t i = 0; i < expected; ++i) {
    ASSERT_TRUE(hits[i].seed == model[i].seed && hits[i].frame == model[i].frame && hits[i].delay == model[i].delay)
        << where << " hit " << i << ": seed " << hits[i].seed << " n " << hits[i].frame;
  }
  EXPECT_EQ(hits[expected].frame, -1) << where << ": written past the count";
}

// Random windows: years (2000 and 2099 among them), one or two hours and
// delays (some wrapping CCCC past 65535), F from 1 to past the 4,096 n after
// which a row looks at the stop, both games and every item case.
TEST(EggIvSearch, RandomWindowsMatchTheModel) {
  const int32_t frameCounts[] = {1, 2, 7, 8, 9, 30, 30, 61, 4100};
  std::size_t total = 0;
  for (int trial = 0; trial < 27; ++trial) {
    EggIvSearchRequest r{};
    r.window.year = trial % 3 == 0 ? 2000 : trial % 3 == 1 ? 2099 : 2000 + below(100);
    const int32_t width = 1 + below(2);
    r.window.delayMin = below(3) == 0 ? 65536 - width - below(uint32_t(r.window.year - 2000) + 1) : below(20000);
    r.window.delayMax = r.window.delayMin + width - 1;
    r.window.hourMask = 1u << below(24) | (below(2) ? 1u << below(24) : 0u);
    r.frameCount = frameCounts[trial % std::size(frameCounts)];
    r.parents = randomParents();
    randomRanges(r.ranges);
    const std::vector<EggIvHit> model = modelHits(r);
    total += model.size();
    for (YearSearchKernel kernel : {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512}) {
      if (!yearSearchKernelAvailable(kernel)) continue;
      expectModel(r, model, int32_t(model.size()) + 3, kernel, 1 + trial % 3, trial);
    }
    const int32_t limit = model.empty() ? 2 : 1 + below(uint32_t(model.size()));
    for (int32_t threads : {1, 2}) expectModel(r, model, limit, YearSearchKernel::Auto, threads, trial);
    if (HasFailure()) return;
  }
  EXPECT_GT(total, 5000u);  // the windows hold hits to compare
}

TEST(EggIvSearch, RequestsOutOfRangeSearchNothing) {
  EggIvSearchRequest good{2026, 300, 301, 1u, 30, {EggGame::kHgss, {}, {}, PowerItem::kBand, PowerItem::kNone}, {}, {}};
  for (IvRange& range : good.ranges) range = IvRange{0, 31};
  EXPECT_EQ(eggIvSearchSeedCount(good), 512);
  std::vector<EggIvSearchRequest> bad(6, good);
  bad[0].parents.game = EggGame::kDppt;  // an item with DPPt
  bad[1].parents.ivsB[5] = 32;
  bad[2].parents.ivsA[0] = -1;
  bad[3].ranges[3] = IvRange{20, 19};
  bad[4].frameCount = 0;
  bad[5].parents.itemB = PowerItem(kPowerItemCount);
  EggIvHit hit{};
  for (const EggIvSearchRequest& r : bad) {
    EXPECT_EQ(eggIvSearchSeedCount(r), 0);
    EXPECT_EQ(runEggIvSearch(r, &hit, 1, YearSearchControl{1, nullptr, nullptr}).status, YearSearchStatus::kBadRequest);
  }
}

}  // namespace
