#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "core/rng.h"
#include "core/trainer_ids.h"

namespace {

// The IDs are the full reference twister's second output: TID its low half,
// SID its high half.
TEST(TrainerIds, AreTheReferenceTwistersSecondOutput) {
  std::mt19937 pick(7);
  for (int i = 0; i < 10000; ++i) {
    const uint32_t seed = static_cast<uint32_t>(pick());
    std::mt19937 reference(seed);
    reference.discard(1);
    const uint32_t second = static_cast<uint32_t>(reference());
    const TrainerIds ids = trainerIdsOf(seed);
    ASSERT_EQ(ids.tid, static_cast<int32_t>(second & 0xFFFFu)) << seed;
    ASSERT_EQ(ids.sid, static_cast<int32_t>(second >> 16)) << seed;
  }
  uint32_t pids[2];
  cuteCharmPids(13, 127, pids);  // ようき, ratio 127: 13, and 25 * (5 + 1) + 13
  EXPECT_EQ(pids[0], 13u);
  EXPECT_EQ(pids[1], 163u);
}

std::vector<IdHit> bruteForce(const IdSearchRequest& r) {
  std::vector<IdHit> hits;
  for (int32_t delay = r.window.delayMin; delay <= r.window.delayMax; ++delay) {
    for (uint32_t hour = 0; hour < 24; ++hour) {
      if ((r.window.hourMask >> hour & 1u) == 0) continue;
      for (uint32_t aa = 0; aa < 256; ++aa) {
        const uint32_t seed = aa << 24 | hour << 16 | (static_cast<uint32_t>(delay + r.window.year - 2000) & 0xFFFFu);
        std::mt19937 reference(seed);
        reference.discard(1);
        const uint32_t second = static_cast<uint32_t>(reference());
        if (idsWanted(r, TrainerIds{static_cast<int32_t>(second & 0xFFFFu), static_cast<int32_t>(second >> 16)}))
          hits.push_back(IdHit{seed, 0, delay});
      }
    }
  }
  std::sort(hits.begin(), hits.end(),
            [](const IdHit& a, const IdHit& b) { return std::tie(a.delay, a.seed) < std::tie(b.delay, b.seed); });
  return hits;
}

// Each kind of want, over random windows and every kernel the processor has,
// gives the brute force's seeds; the wanted IDs are taken from a seed of the
// window so that there is a hit.
TEST(TrainerIds, TheSearchGivesTheBruteForcesSeeds) {
  std::mt19937 rng(2026);
  auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
  for (int32_t c = 0; c < 40; ++c) {
    IdSearchRequest r{};
    r.window.year = pick(2000, 2099);
    const int32_t hour = pick(0, 23);
    r.window.hourMask = 1u << hour | 1u << pick(0, 23);
    r.window.delayMin = pick(0, 65000);
    r.window.delayMax = r.window.delayMin + pick(0, 3);
    const uint32_t seed = static_cast<uint32_t>(pick(0, 255)) << 24 | static_cast<uint32_t>(hour) << 16 |
                          (static_cast<uint32_t>(r.window.delayMin + r.window.year - 2000) & 0xFFFFu);
    const TrainerIds aim = trainerIdsOf(seed);
    switch (c % 5) {
      case 0: r.tidWanted = true, r.tid = aim.tid; break;
      case 1: r.sidWanted = true, r.sid = aim.sid; break;
      case 2: r.tidWanted = r.sidWanted = true, r.tid = aim.tid, r.sid = aim.sid; break;
      default: {
        // PIDs that the aimed IDs make shiny, and as many that they do not.
        r.pidCount = c % 5 == 3 ? 1 : pick(2, kMaxShinyPids);
        for (int32_t i = 0; i < r.pidCount; ++i) {
          const uint32_t high = static_cast<uint32_t>(pick(0, 65535));
          const uint32_t shiny = high << 16 | ((static_cast<uint32_t>(aim.tid ^ aim.sid) ^ high ^ pick(0, 7)) & 0xFFFFu);
          r.pids[i] = i == 0 ? shiny : static_cast<uint32_t>(pick(0, 1 << 30));
        }
        EXPECT_TRUE(ShinyTest(r.pids[0], aim.tid, aim.sid));
      }
    }
    const std::vector<IdHit> expected = bruteForce(r);
    ASSERT_FALSE(expected.empty());
    for (YearSearchKernel k : {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512}) {
      if (!yearSearchKernelAvailable(k)) continue;
      r.kernel = k;
      std::vector<IdHit> hits(expected.size() + 1);
      const YearSearchResult result = runIdSearch(r, hits.data(), static_cast<int32_t>(hits.size()),
                                                  YearSearchControl{2, nullptr, nullptr});
      ASSERT_EQ(result.status, YearSearchStatus::kDone);
      ASSERT_EQ(result.count, static_cast<int32_t>(expected.size())) << c;
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(hits[i].seed, expected[i].seed) << c;
        EXPECT_EQ(hits[i].delay, expected[i].delay) << c;
      }
    }
  }
}

}  // namespace
