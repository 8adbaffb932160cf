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
#include "core/egg_ivs.h"
#include "core/rng.h"
#include "tests/reference/reference_scans.h"

namespace {

std::mt19937 gRandom(20270114u);
int32_t below(uint32_t n) { return int32_t(gRandom() % n); }

// Either game; with HGSS, power items on no parent, A, B or both.
EggParents randomParents() {
  EggParents p{};
  p.game = below(2) ? EggGame::kHgss : EggGame::kDppt;
  // IVs of 31 or near it half the time: what a player breeds with.
  for (int i = 0; i < kStatCount; ++i) {
    p.ivsA[i] = below(2) ? 31 - below(3) : below(32);
    p.ivsB[i] = below(2) ? 31 - below(3) : below(32);
  }
  if (p.game == EggGame::kHgss) {
    const int holders = below(4);
    if (holders & 1) p.itemA = PowerItem(1 + below(6));
    if (holders & 2) p.itemB = PowerItem(1 + below(6));
  }
  return p;
}

// Two to four stats wanted high, the others open.
void randomRanges(IvRange (&ranges)[kStatCount]) {
  for (IvRange& r : ranges) r = IvRange{0, 31};
  for (int k = 2 + below(3); k > 0; --k) ranges[below(6)] = IvRange{22 + below(10), 31};
}

std::string describe(const EggIvs& e) {
  std::string s;
  for (int i = 0; i < kStatCount; ++i) {
    s += std::to_string(e.ivs[i]) + (e.from[i] == IvSource::kParentA ? "A " : e.from[i] == IvSource::kParentB ? "B " : " ");
  }
  return s;
}

bool sameIvs(const EggIvs& a, const EggIvs& b) {
  return std::equal(a.ivs, a.ivs + kStatCount, b.ivs) && std::equal(a.from, a.from + kStatCount, b.from);
}

TEST(EggIvs, RandomCasesMatchTheDrawByDrawModel) {
  int pickedTwice = 0;
  int hgssForced[3] = {};  // HGSS cases with no, one and two power items
  for (int trial = 0; trial < 20000; ++trial) {
    const EggParents parents = randomParents();
    ASSERT_TRUE(eggParentsValid(parents));
    const uint32_t seed = uint32_t(gRandom());
    const uint32_t n = uint32_t(below(4) == 0 ? below(5000) : below(40));
    uint32_t state = seed;
    for (uint32_t k = 0; k < n; ++k) state = Lcg32::Next(state);
    bool twice = false;
    const EggIvs expected = eggIvsByDraws(state, parents, &twice);
    const EggIvs got = eggIvsAt(seed, n, parents);
    ASSERT_TRUE(sameIvs(got, expected)) << "seed " << seed << " n " << n << " game " << int(parents.game) << " items "
                                        << int(parents.itemA) << "," << int(parents.itemB) << ": got "
                                        << describe(got) << "expected " << describe(expected);
    pickedTwice += twice;
    if (parents.game == EggGame::kHgss) {
      ++hgssForced[(parents.itemA != PowerItem::kNone) + (parents.itemB != PowerItem::kNone)];
      EXPECT_FALSE(twice);
    }
  }
  // DPPt picks a stat twice in 7 cases of 15: of its 10,000 cases, about 4,700.
  EXPECT_GT(pickedTwice, 2000);
  EXPECT_GT(std::min({hgssForced[0], hgssForced[1], hgssForced[2]}), 1500);
  // n past any stepping: 2^32 - 1 draws forward are one draw back.
  for (uint32_t s : {0u, 1u, 0x12345678u, 0xFFFFFFFFu}) EXPECT_EQ(Lcg32::Advance(s, 0xFFFFFFFFu), Lcg32::Prev(s));
}

TEST(EggIvs, ListingKeepsTheFramesInRangeWhateverThePages) {
  for (int trial = 0; trial < 40; ++trial) {
    EggIvListRequest request{};
    request.seed = uint32_t(gRandom());
    request.frameCount = below(3000);
    request.parents = randomParents();
    randomRanges(request.ranges);
    std::vector<EggIvLine> expected;
    uint32_t state = request.seed;
    for (int32_t n = 0; n < request.frameCount; ++n, state = Lcg32::Next(state)) {
      const EggIvs e = eggIvsByDraws(state, request.parents);
      bool kept = true;
      for (int i = 0; i < kStatCount; ++i) kept = kept && e.ivs[i] >= request.ranges[i].low && e.ivs[i] <= request.ranges[i].high;
      if (kept) expected.push_back(EggIvLine{n, e});
    }
    std::vector<EggIvLine> got;
    EggIvCursor cursor = eggIvListStart(request);
    while (cursor.frame < request.frameCount) {
      EggIvLine page[7];
      const int32_t count = listEggIvs(request, cursor, page, 1 + below(7));
      got.insert(got.end(), page, page + count);
    }
    ASSERT_EQ(got.size(), expected.size()) << "trial " << trial;
    for (std::size_t i = 0; i < got.size(); ++i) {
      ASSERT_TRUE(got[i].frame == expected[i].frame && sameIvs(got[i].ivs, expected[i].ivs)) << "trial " << trial;
    }
  }
}

struct ModelHit {
  int32_t frame;
  int32_t delay;
  uint32_t seed;
  bool operator<(const ModelHit& o) const { return std::tie(frame, delay, seed) < std::tie(o.frame, o.delay, o.seed); }
};

// Every (seed, n) of the window whose IVs lie in the ranges, in the search's order.
std::vector<ModelHit> modelHits(const EggIvSearchRequest& r) {
  std::vector<ModelHit> hits;
  for (int32_t delay = r.delayMin; delay <= r.delayMax; ++delay) {
    for (uint32_t hour = 0; hour < 24; ++hour) {
      if (!(r.hourMask >> hour & 1u)) continue;
      for (uint32_t aa = 0; aa < 256; ++aa) {
        const uint32_t seed = aa << 24 | hour << 16 | ((uint32_t(delay) + uint32_t(r.year - 2000)) & 0xFFFFu);
        uint32_t state = seed;
        for (int32_t n = 0; n < r.frameCount; ++n, state = Lcg32::Next(state)) {
          const EggIvs e = eggIvsByDraws(state, r.parents);
          bool kept = true;
          for (int i = 0; i < kStatCount; ++i) kept = kept && e.ivs[i] >= r.ranges[i].low && e.ivs[i] <= r.ranges[i].high;
          if (kept) hits.push_back(ModelHit{n, delay, seed});
        }
      }
    }
  }
  std::sort(hits.begin(), hits.end());
  return hits;
}

void expectModel(EggIvSearchRequest r, const std::vector<ModelHit>& model, int32_t capacity, EggSearchKernel kernel,
                 int32_t threads, const std::string& what) {
  r.kernel = kernel;
  std::vector<EggIvHit> hits(std::size_t(capacity) + 1, EggIvHit{1, -1, -1});
  std::atomic<int64_t> done{-1};
  const EggSearchResult result = runEggIvSearch(r, hits.data(), capacity, EggSearchControl{threads, &done, nullptr});
  const std::string where = what + " kernel " + std::to_string(int(kernel)) + " threads " + std::to_string(threads);
  ASSERT_EQ(result.status, EggSearchStatus::kDone) << where;
  EXPECT_EQ(done.load(), eggIvSearchSeedCount(r)) << where;
  const std::size_t expected = std::min(model.size(), std::size_t(capacity));
  ASSERT_EQ(std::size_t(result.count), expected) << where;
  for (std::size_t i = 0; i < expected; ++i) {
    ASSERT_TRUE(hits[i].seed == model[i].seed && hits[i].frame == model[i].frame && hits[i].delay == model[i].delay)
        << where << " hit " << i << ": seed " << hits[i].seed << " n " << hits[i].frame << ", expected seed "
        << model[i].seed << " n " << model[i].frame;
  }
  EXPECT_EQ(hits[expected].frame, -1) << where << ": written past the count";
}

// Random windows: years (2000 and 2099 among them), one or two hours and
// delays (some wrapping CCCC past 65535), F from 1 to past the 4,096 frames
// after which a row looks at the stop, both games and every item case.
TEST(EggIvSearch, RandomWindowsMatchTheModel) {
  const int32_t frameCounts[] = {1, 2, 7, 8, 9, 30, 30, 61, 4100};
  std::vector<EggSearchKernel> kernels;
  for (EggSearchKernel k : {EggSearchKernel::Scalar, EggSearchKernel::Avx2, EggSearchKernel::Avx512}) {
    if (eggSearchKernelAvailable(k)) kernels.push_back(k);
  }
  std::printf("IV search kernels compared: %zu\n", kernels.size());
  std::size_t total = 0;
  for (int trial = 0; trial < 27; ++trial) {
    EggIvSearchRequest r{};
    r.year = trial % 3 == 0 ? 2000 : trial % 3 == 1 ? 2099 : 2000 + below(100);
    const int32_t width = 1 + below(2);
    r.delayMin = below(3) == 0 ? 65536 - width - below(uint32_t(r.year - 2000) + 1) : below(20000);
    r.delayMax = r.delayMin + width - 1;
    r.hourMask = 1u << below(24) | (below(2) ? 1u << below(24) : 0u);
    r.frameCount = frameCounts[trial % std::size(frameCounts)];
    r.parents = randomParents();
    randomRanges(r.ranges);
    const std::vector<ModelHit> model = modelHits(r);
    total += model.size();
    const std::string what = "trial " + std::to_string(trial);
    for (EggSearchKernel kernel : kernels) expectModel(r, model, int32_t(model.size()) + 3, kernel, 1 + trial % 3, what);
    const int32_t limit = model.empty() ? 2 : 1 + below(uint32_t(model.size()));
    for (int32_t threads : {1, 2}) expectModel(r, model, limit, EggSearchKernel::Auto, threads, what);
    if (HasFailure()) return;
  }
  EXPECT_GT(total, 5000u);  // the windows hold hits to compare
}

TEST(EggIvSearch, RequestsOutOfRangeSearchNothing) {
  EggIvSearchRequest good{};
  good.year = 2026;
  good.delayMin = 300;
  good.delayMax = 301;
  good.hourMask = 1;
  good.frameCount = 30;
  good.parents.game = EggGame::kHgss;
  good.parents.itemA = PowerItem::kBand;
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
    EXPECT_EQ(runEggIvSearch(r, &hit, 1, EggSearchControl{1, nullptr, nullptr}).status, EggSearchStatus::kBadRequest);
  }
}

}  // namespace
