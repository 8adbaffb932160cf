#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <random>
#include <tuple>
#include <vector>

#include "core/wild_search.h"

namespace {

// Every (seed, n) of the window whose creature the filter keeps, the
// creature generated from the seed for each n on its own, in the search's
// order: n, then delay, then seed.
std::vector<WildHit> bruteForce(const WildSearchRequest& r) {
  std::vector<WildHit> hits;
  for (int32_t hour = 0; hour < 24; ++hour) {
    if ((r.window.hourMask >> hour & 1u) == 0) continue;
    for (int32_t delay = r.window.delayMin; delay <= r.window.delayMax; ++delay) {
      const uint32_t low = static_cast<uint32_t>(delay + r.window.year - 2000) & 0xFFFFu;
      for (uint32_t aa = 0; aa < 256; ++aa) {
        const uint32_t seed = aa << 24 | static_cast<uint32_t>(hour) << 16 | low;
        for (int32_t n = 0; n < r.advanceCount; ++n) {
          WildCreature c;
          wildCreatureAt(r.encounter, seed, n, c);
          if (wildCreatureKept(r.filter, c)) hits.push_back(WildHit{seed, n, delay});
        }
      }
    }
  }
  std::sort(hits.begin(), hits.end(), [](const WildHit& a, const WildHit& b) {
    return std::tie(a.frame, a.delay, a.seed) < std::tie(b.frame, b.delay, b.seed);
  });
  return hits;
}

std::vector<WildHit> search(WildSearchRequest r, WildSearchWay way, int32_t capacity, int32_t threads,
                            YearSearchKernel kernel = YearSearchKernel::Auto) {
  r.way = way;
  r.kernel = kernel;
  std::vector<WildHit> hits(static_cast<std::size_t>(capacity));
  YearSearchControl control{threads, nullptr, nullptr};
  const YearSearchResult result = runWildSearch(r, hits.data(), capacity, control);
  EXPECT_EQ(result.status, YearSearchStatus::kDone);
  hits.resize(static_cast<std::size_t>(result.count));
  return hits;
}

bool same(const std::vector<WildHit>& a, const std::vector<WildHit>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const WildHit& x, const WildHit& y) {
    return x.seed == y.seed && x.frame == y.frame && x.delay == y.delay;
  });
}

// Random small windows built around one (seed, n) whose creature the filter
// is made to keep (its IVs within the ranges, its nature among those kept,
// the IDs chosen to make it shiny), so that every case has hits; both ways and
// the chooser give the brute force's hits, whole and cut short, with every
// kernel the processor has.
TEST(WildSearch, BothWaysGiveTheBruteForcesHits) {
  std::mt19937 rng(20261210);
  auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
  int32_t ivFirstCases = 0;
  int32_t shinyCases = 0;
  for (int32_t c = 0; c < 140; ++c) {
    WildSearchRequest r{};
    r.window.year = pick(2000, 2099);
    const int32_t hour = pick(0, 23);
    const int32_t delay = pick(1, 65534);
    r.window.hourMask = 1u << hour | (pick(0, 1) != 0 ? 1u << pick(0, 23) : 0u);
    r.window.delayMin = delay - pick(0, 1);
    r.window.delayMax = delay + pick(0, 1);
    r.advanceCount = pick(1, 40);
    r.kernel = YearSearchKernel::Auto;
    WildEncounter& e = r.encounter;
    e.game = static_cast<WildGame>(c % 2);
    e.kind = static_cast<WildKind>(c / 2 % kWildKindCount);
    e.lead = static_cast<WildLead>(c / 14 % kWildLeadCount);
    e.leadNature = pick(0, 24);
    e.genderRatio = kGenderRatios[pick(0, kGenderRatioCount - 1)];
    e.levelMin = pick(1, 50);
    e.levelMax = e.levelMin + pick(0, 10);
    const bool rod = e.kind >= WildKind::kOldRod;
    e.biteRate = rod ? pick(30, 100) : 100;
    e.roamer = (e.kind == WildKind::kGrass || e.kind == WildKind::kSurf) && pick(0, 1) != 0;
    e.feebas = rod && e.game == WildGame::kDppt ? static_cast<WildFeebas>(pick(0, 2)) : WildFeebas::kOff;
    e.tid = pick(0, 65535);
    e.sid = pick(0, 65535);

    // The creature the filter is built around: the first met one from a
    // random advance of a random seed of the window.
    const uint32_t aa = static_cast<uint32_t>(pick(0, 255));
    const uint32_t seed = aa << 24 | static_cast<uint32_t>(hour) << 16 |
                          (static_cast<uint32_t>(delay + r.window.year - 2000) & 0xFFFFu);
    WildCreature aim{};
    int32_t n = pick(0, r.advanceCount - 1);
    for (; n < r.advanceCount; ++n) {
      wildCreatureAt(e, seed, n, aim);
      if (aim.outcome == WildOutcome::kMet) break;
    }
    if (n == r.advanceCount) continue;
    WildFilter& f = r.filter;
    f = openWildFilter();
    const bool narrow = pick(0, 1) != 0;
    for (int32_t i = 0; i < kStatCount; ++i) {
      const int32_t spread = narrow ? pick(0, 1) : 31;
      f.ivs[i] = IvRange{std::max(0, aim.ivs[i] - spread), std::min(31, aim.ivs[i] + spread)};
    }
    if (pick(0, 1) != 0) f.natureMask = 1u << aim.nature | 1u << pick(0, 24);
    if (!narrow || pick(0, 2) == 0) {
      f.shinyOnly = true;
      e.sid = (e.tid ^ static_cast<int32_t>(aim.pid >> 16) ^ static_cast<int32_t>(aim.pid & 0xFFFFu)) ^ pick(0, 7);
      wildCreatureAt(e, seed, n, aim);
      ASSERT_TRUE(aim.shiny);
      ++shinyCases;
    }
    if (pick(0, 3) == 0) f.ability = aim.ability;
    if (pick(0, 3) == 0 && aim.slot >= 0) f.slotMask = 1u << aim.slot;
    ASSERT_TRUE(wildSearchRequestValid(r)) << c;

    const std::vector<WildHit> expected = bruteForce(r);
    ASSERT_FALSE(expected.empty()) << c;
    const int32_t all = static_cast<int32_t>(expected.size()) + 1;
    const int32_t cut = std::max<int32_t>(1, static_cast<int32_t>(expected.size()) / 2);
    const std::vector<WildHit> firstOnes(expected.begin(), expected.begin() + cut);
    for (YearSearchKernel k : {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512}) {
      if (yearSearchKernelAvailable(k)) {
        EXPECT_TRUE(same(search(r, WildSearchWay::kForward, all, 2, k), expected)) << c << " kernel " << int(k);
      }
    }
    EXPECT_TRUE(same(search(r, WildSearchWay::kForward, cut, 1), firstOnes)) << c;
    EXPECT_TRUE(same(search(r, WildSearchWay::kAuto, all, 2), expected)) << c;
    if (narrow) {
      ++ivFirstCases;
      EXPECT_EQ(chosenWildSearchWay(r), WildSearchWay::kIvFirst);
      EXPECT_TRUE(same(search(r, WildSearchWay::kIvFirst, all, 1), expected)) << c;
      EXPECT_TRUE(same(search(r, WildSearchWay::kIvFirst, cut, 1), firstOnes)) << c;
    } else {
      EXPECT_EQ(chosenWildSearchWay(r), WildSearchWay::kForward);
    }
  }
  EXPECT_GT(ivFirstCases, 40);
  EXPECT_GT(shinyCases, 40);
}

}  // namespace
