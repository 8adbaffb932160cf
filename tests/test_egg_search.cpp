// The egg search against its definition: for every seed of a small window,
// the egg list itself (writeEggPidList, parsed line by line), sorted by frame,
// delay and seed. Every kernel the processor has and several thread counts
// must give exactly those hits, the same first ones under a limit, and lines
// equal to the list's.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/egg_search.h"
#include "core/rng.h"
#include "core/seed_time.h"
#include "tests/cli_run.h"
#include "tests/reference/egg_search_year.h"

namespace {

AppState gApp;  // large; kept out of the stack

struct ModelHit {
  int32_t frame;
  int32_t delay;
  uint32_t seed;
  std::string line;  // the list's line, CP932, without its line end
  bool operator<(const ModelHit& o) const { return std::tie(frame, delay, seed) < std::tie(o.frame, o.delay, o.seed); }
};

// Every kept frame of every seed of the window, from the lists' text: one
// list per seed, written one after the other to one stream.
std::vector<ModelHit> modelHits(const EggSearchRequest& r) {
  std::vector<uint32_t> seeds;
  std::vector<int32_t> delays;
  std::FILE* f = std::tmpfile();
  for (int32_t delay = r.window.delayMin; delay <= r.window.delayMax; ++delay) {
    for (uint32_t hour = 0; hour < 24; ++hour) {
      if (!(r.window.hourMask >> hour & 1u)) continue;
      for (uint32_t aa = 0; aa < 256; ++aa) {
        EggListRequest list = r.egg;
        list.initialSeed = aa << 24 | hour << 16 | ((uint32_t(delay) + uint32_t(r.window.year - 2000)) & 0xFFFFu);
        writeEggPidList(gApp.eggList, list, f);
        seeds.push_back(list.initialSeed);
        delays.push_back(delay);
      }
    }
  }
  const std::string text = readAll(f);
  const std::string header = text.substr(0, text.find('\n') + 1);
  std::vector<ModelHit> hits;
  std::size_t list = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end - at);
    if (line + "\n" == header) {
      ++list;
    } else {
      hits.push_back(ModelHit{std::stoi(line), delays[list - 1], seeds[list - 1], line});
    }
    at = end + 1;
  }
  EXPECT_EQ(list, seeds.size());
  std::sort(hits.begin(), hits.end());
  return hits;
}

std::string describe(const EggSearchRequest& r, YearSearchKernel kernel, int threads) {
  char text[300];
  std::snprintf(text, sizeof text,
                "year %d delays %d..%d hours %06X F %d tid %d sid %d marriage %d shinyOnly %d nature %d gender %d "
                "ability %d kernel %d threads %d",
                r.window.year, r.window.delayMin, r.window.delayMax, r.window.hourMask, r.egg.frameCount, r.egg.tid, r.egg.sid,
                r.egg.internationalMarriage, r.egg.shinyOnly, r.egg.natureChoice, r.egg.genderChoice,
                r.egg.abilityChoice, int(kernel), threads);
  return text;
}

// Runs the search and checks its hits against the first `capacity` of the model.
void expectModel(EggSearchRequest r, const std::vector<ModelHit>& model, int32_t capacity, YearSearchKernel kernel,
                 int threads) {
  r.kernel = kernel;
  std::vector<EggHit> hits(std::size_t(capacity) + 1, EggHit{1, -1, -1, 1});
  std::atomic<int64_t> done{-1};
  const YearSearchResult result = runEggSearch(r, hits.data(), capacity, YearSearchControl{threads, &done, nullptr});
  const std::string what = describe(r, kernel, threads);
  ASSERT_EQ(result.status, YearSearchStatus::kDone) << what;
  EXPECT_EQ(done.load(), eggSearchSeedCount(r)) << what;
  const std::size_t expected = std::min(model.size(), std::size_t(capacity));
  ASSERT_EQ(std::size_t(result.count), expected) << what;
  for (std::size_t i = 0; i < expected; ++i) {
    const EggHit& h = hits[i];
    const ModelHit& m = model[i];
    char line[kEggFrameLineCapacity];
    formatEggFrameLine(line, h.frame, h.pid, ShinyTest(h.pid, r.egg.tid, r.egg.sid));
    ASSERT_TRUE(h.seed == m.seed && h.frame == m.frame && h.delay == m.delay && line == m.line)
        << what << "\nhit " << i << ": seed " << h.seed << " frame " << h.frame << " delay " << h.delay << " line "
        << line << "\nexpected seed " << m.seed << " frame " << m.frame << " delay " << m.delay << " line " << m.line;
  }
  EXPECT_EQ(hits[expected].frame, -1) << what << ": written past the count";
}

// TID (with SID 0) that makes frame `frame` of `seed` shiny before any reroll.
int32_t tidMakingFrameShiny(uint32_t seed, int32_t frame) {
  Mt19937 mt{};
  Seed(mt, seed);
  uint32_t pid = 0;
  for (int32_t i = 0; i <= frame; ++i) {
    if (i % kMtWordCount == 0) Twist(mt);
    pid = Temper(mt, i % kMtWordCount);
  }
  return int32_t((pid >> 16) ^ (pid & 0xFFFFu));
}

// Every kernel this processor runs; the log says which were compared.
std::vector<YearSearchKernel> kernels() {
  std::vector<YearSearchKernel> all;
  static bool logged = false;
  const char* const names[] = {"auto", "scalar", "AVX2", "AVX-512"};
  for (YearSearchKernel k : {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512}) {
    if (!yearSearchKernelAvailable(k)) continue;
    all.push_back(k);
    if (!logged) std::printf("egg search kernel compared: %s\n", names[int(k)]);
  }
  logged = true;
  return all;
}

// Random windows: years (2000 and 2099 among them), hours, delays (some
// wrapping CCCC past 65535), frame counts around 227, 397 and 624, IDs (some
// of 65536 and above, some making a frame shiny), marriage and every filter.
TEST(EggSearch, RandomWindowsMatchTheEggList) {
  std::mt19937 random(20261208u);
  auto below = [&random](uint32_t n) { return int32_t(random() % n); };
  const int32_t frameCounts[] = {1, 2, 13, 100, 226, 227, 228, 396, 397, 398, 623, 624, 625, 1250};
  std::size_t totalHits = 0;
  std::size_t wrapped = 0;
  for (int trial = 0; trial < 36; ++trial) {
    EggSearchRequest r{};
    r.window.year = trial % 3 == 0 ? 2000 : trial % 3 == 1 ? 2099 : 2000 + below(100);
    const int32_t width = 1 + below(2);
    r.window.delayMin = below(3) == 0 ? 65536 - width - below(uint32_t(r.window.year - 2000) + 1) : below(20000);
    r.window.delayMax = r.window.delayMin + width - 1;
    r.window.hourMask = 1u << below(24) | (below(2) ? 1u << below(24) : 0u);
    r.egg.frameCount = frameCounts[trial % std::size(frameCounts)];
    const uint32_t someSeed = uint32_t(below(256)) << 24 | uint32_t(__builtin_ctz(r.window.hourMask)) << 16 |
                              ((uint32_t(r.window.delayMin) + uint32_t(r.window.year - 2000)) & 0xFFFFu);
    switch (below(4)) {
      case 0: r.egg.tid = below(65536); r.egg.sid = below(65536); break;
      case 1: r.egg.tid = tidMakingFrameShiny(someSeed, below(uint32_t(r.egg.frameCount))); break;
      case 2: r.egg.tid = 65536 + below(34464); r.egg.sid = below(100000); break;
      default: r.egg.tid = tidMakingFrameShiny(someSeed, below(uint32_t(r.egg.frameCount))) ^ 7; break;
    }
    r.egg.internationalMarriage = below(2);
    r.egg.shinyOnly = below(3) == 0;
    r.egg.natureChoice = below(2) ? 0 : below(27);
    r.egg.genderChoice = below(2) ? 0 : below(10);
    r.egg.abilityChoice = below(2) ? 0 : below(4);
    if (!r.egg.shinyOnly && r.egg.natureChoice == 0) r.egg.natureChoice = 1 + below(25);  // keep the lists short
    const std::vector<ModelHit> model = modelHits(r);
    totalHits += model.size();
    wrapped += r.window.delayMax + r.window.year - 2000 > 65535;
    const int32_t all = int32_t(model.size()) + 5;
    for (YearSearchKernel kernel : kernels()) {
      expectModel(r, model, all, kernel, 1 + trial % 3);
      if (HasFailure()) return;
    }
    // The first hits under a limit, whatever the thread count.
    const int32_t limit = model.empty() ? 3 : 1 + below(uint32_t(model.size()));
    for (int threads : {1, 2, 5}) expectModel(r, model, limit, YearSearchKernel::Auto, threads);
    if (HasFailure()) return;
  }
  EXPECT_GT(totalHits, 2000u);  // the windows hold hits to compare
  EXPECT_GT(wrapped, 3u);
}

// Beyond one delay: a whole hour of 40 delays with the marriage rerolls and
// the shiny filter, where the limit keeps frames from many seeds.
TEST(EggSearch, LimitKeepsTheEarliestFramesAcrossDelays) {
  EggSearchRequest r{};
  r.window.year = 2026;
  r.window.delayMin = 600;
  r.window.delayMax = 639;
  r.window.hourMask = 1u << 7;
  r.egg.frameCount = 150;
  r.egg.tid = 12345;
  r.egg.sid = 54321;
  r.egg.internationalMarriage = true;
  r.egg.shinyOnly = true;
  const std::vector<ModelHit> model = modelHits(r);
  ASSERT_GT(model.size(), 40u);
  for (int32_t limit : {0, 1, 2, 17, int32_t(model.size()) - 1, int32_t(model.size())}) {
    for (YearSearchKernel kernel : kernels()) expectModel(r, model, limit, kernel, 2);
  }
}

// Without filters every frame is a hit: 256 x 24 x 2 x 10 = 122,880 of them,
// enough for the threads to share the sort of the gathered hits, over two
// delays whose upper bytes differ.
TEST(EggSearch, EveryFrameKeptIsSortedWhateverTheThreads) {
  EggSearchRequest r{};
  r.window.year = 2031;
  r.window.delayMin = 255;
  r.window.delayMax = 256;
  r.window.hourMask = 0xFFFFFFu;
  r.egg.frameCount = 10;
  r.egg.tid = 321;
  r.egg.sid = 654;
  const std::vector<ModelHit> model = modelHits(r);
  ASSERT_EQ(model.size(), 122880u);
  for (int threads : {1, 2, 3}) expectModel(r, model, int32_t(model.size()) + 5, YearSearchKernel::Auto, threads);
}

TEST(EggSearch, RequestsOutOfRangeSearchNothing) {
  EggSearchRequest good{};
  good.window.year = 2026;
  good.window.delayMin = 300;
  good.window.delayMax = 301;
  good.window.hourMask = 1;
  good.egg.frameCount = 10;
  EXPECT_TRUE(eggSearchRequestValid(good));
  EXPECT_EQ(eggSearchSeedCount(good), 512);
  std::vector<EggSearchRequest> bad(7, good);
  bad[0].window.year = 1999;
  bad[1].window.year = 2100;
  bad[2].window.delayMin = -1;
  bad[3].window.delayMin = 302;
  bad[4].window.delayMax = 65536;
  bad[5].window.hourMask = 1u << 24;
  bad[6].egg.frameCount = 0;
  EggHit hit{};
  for (const EggSearchRequest& r : bad) {
    EXPECT_FALSE(eggSearchRequestValid(r));
    EXPECT_EQ(runEggSearch(r, &hit, 1, YearSearchControl{1, nullptr, nullptr}).status, YearSearchStatus::kBadRequest);
  }
  EXPECT_EQ(runEggSearch(good, &hit, 1, YearSearchControl{0, nullptr, nullptr}).status, YearSearchStatus::kBadRequest);
  EXPECT_EQ(runEggSearch(good, &hit, 1, YearSearchControl{kYearSearchMaxThreads + 1, nullptr, nullptr}).status,
            YearSearchStatus::kBadRequest);
}

// The order of hits is a sort by (frame, delay, seed); sortEggHits must give
// what a comparison sort gives, for sizes either side of its cut-offs, frames
// that need more than one byte and any thread count.
TEST(EggSearch, SortingHitsMatchesAComparisonSort) {
  std::mt19937 random(8122026u);
  for (const auto& [count, frames, threads] : std::vector<std::tuple<int32_t, uint32_t, int32_t>>{
           {0, 1, 1}, {1, 1, 2}, {33, 5, 1}, {1000, 100, 2}, {70000, 100, 2}, {70000, 70000, 3}, {200000, 624, 1}}) {
    std::vector<EggHit> hits;
    for (int32_t i = 0; i < count; ++i) {
      // Seeds of one delay share their lower half; (delay, seed) is unique.
      const int32_t delay = int32_t(random() % 16384 * 4 + uint32_t(i >> 16));
      const uint32_t seed = uint32_t(i) << 16 | ((uint32_t(delay) + 26u) & 0xFFFFu);
      hits.push_back(EggHit{seed, int32_t(random() % frames), delay, uint32_t(random())});
    }
    std::vector<EggHit> expected = hits;
    std::sort(expected.begin(), expected.end(), [](const EggHit& a, const EggHit& b) {
      return std::tie(a.frame, a.delay, a.seed) < std::tie(b.frame, b.delay, b.seed);
    });
    sortEggHits(hits.data(), count, threads);
    for (int32_t i = 0; i < count; ++i) {
      ASSERT_TRUE(hits[i].seed == expected[i].seed && hits[i].frame == expected[i].frame &&
                  hits[i].delay == expected[i].delay && hits[i].pid == expected[i].pid)
          << "count " << count << " threads " << threads << " at " << i;
    }
  }
}

// A stop set while the whole year is searched ends the search with what it
// has. The stop is set from the row hook when the 1,000th row of its 232,800
// has been scanned: each thread finishes at most the row it is in, so the
// search counts between 1,000 and 1,000 + threads - 1 rows, whatever the
// machine's speed.
std::atomic<bool> gStop{false};
std::atomic<int64_t> gRowsScanned{0};
void stopAtRow1000(const YearSearchControl&) {
  // Every thread past the row sets the stop itself, so that none scans on
  // while the first is held up before its store.
  if (gRowsScanned.fetch_add(1) + 1 >= 1000) gStop.store(true);
}

TEST(EggSearch, CancelStopsTheSearch) {
  const EggSearchRequest r = fullYearEggSearch(YearSearchKernel::Auto);
  std::vector<EggHit> hits(1u << 20);
  std::atomic<int64_t> done{0};
  gStop.store(false);
  gRowsScanned.store(0);
  setYearSearchRowHook(stopAtRow1000);
  const int32_t threads = 2;
  const YearSearchResult result =
      runEggSearch(r, hits.data(), int32_t(hits.size()), YearSearchControl{threads, &done, &gStop});
  setYearSearchRowHook(nullptr);
  EXPECT_EQ(result.status, YearSearchStatus::kCancelled);
  EXPECT_GE(done.load(), int64_t{1000} * 256);
  EXPECT_LE(done.load(), int64_t{1000 + threads - 1} * 256);
  EXPECT_LT(done.load(), eggSearchSeedCount(r));
  EXPECT_TRUE(std::is_sorted(hits.begin(), hits.begin() + result.count,
                             [](const EggHit& a, const EggHit& b) { return a.frame < b.frame; }));
}

}  // namespace
