#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/egg_search.h"
#include "core/everstone.h"
#include "core/rng.h"

namespace {

// The model: the reference twister's outputs, taken one by one from the
// frame's own until one has the nature and is not 0, at most 2401 of them,
// the last kept when none matches.
std::vector<uint32_t> modelPids(uint32_t seed, int32_t frames, int32_t nature, int32_t* farthest = nullptr) {
  std::mt19937 reference(seed);
  std::vector<uint32_t> outputs(static_cast<std::size_t>(frames + 2401));
  for (uint32_t& o : outputs) o = static_cast<uint32_t>(reference());
  std::vector<uint32_t> pids;
  for (int32_t i = 0; i < frames; ++i) {
    int32_t taken = 1;
    std::size_t at = static_cast<std::size_t>(i);
    while (taken < 2401 && (outputs[at] == 0 || outputs[at] % 25 != static_cast<uint32_t>(nature))) ++at, ++taken;
    if (farthest != nullptr) *farthest = std::max(*farthest, taken);
    pids.push_back(outputs[at]);
  }
  return pids;
}

std::string listOf(const EggListRequest& request) {
  static EggListState state;
  std::FILE* f = std::tmpfile();
  writeEggPidList(state, request, f);
  std::rewind(f);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

// Frame by frame as the model, over 10,000 random seeds and natures, with
// matches far ahead among them; and the egg list's lines, with and without
// the marriage's rerolls, are those of the model's PIDs.
TEST(Everstone, EachFramesPidIsTheFirstMatchingOutputAtOrAfterIt) {
  std::mt19937 rng(36);
  int32_t farthest = 0;
  for (int32_t c = 0; c < 10000; ++c) {
    const uint32_t seed = static_cast<uint32_t>(rng());
    const int32_t nature = static_cast<int32_t>(rng() % 25);
    const int32_t frames = 1 + static_cast<int32_t>(rng() % 40);
    const std::vector<uint32_t> expected = modelPids(seed, frames, nature, &farthest);
    Mt19937 mt;
    Seed(mt, seed);
    EverstoneFrames everstone(mt, nature);
    for (int32_t i = 0; i < frames; ++i) ASSERT_EQ(everstone.pidOf(i), expected[static_cast<std::size_t>(i)]) << c;
  }
  EXPECT_GT(farthest, 200);  // some frame took more than 200 outputs
  for (int32_t c = 0; c < 60; ++c) {
    EggListRequest r{};
    r.initialSeed = static_cast<uint32_t>(rng());
    r.frameCount = 700;  // past a twist of the 624 words
    r.tid = static_cast<int32_t>(rng() % 65536);
    r.sid = static_cast<int32_t>(rng() % 65536);
    r.internationalMarriage = c % 2 == 0;
    r.everstoneNature = static_cast<int32_t>(rng() % 25);
    const std::vector<uint32_t> pids = modelPids(r.initialSeed, r.frameCount, r.everstoneNature);
    std::string expected = listOf(EggListRequest{0, 0, 0, 0, false, false, 0, 0, 0});  // the header
    for (int32_t i = 0; i < r.frameCount; ++i) {
      uint32_t pid = pids[static_cast<std::size_t>(i)];
      if (r.internationalMarriage) pid = MarriageReroll(pid, r.tid, r.sid);
      char line[kEggFrameLineCapacity];
      formatEggFrameLine(line, i, pid, ShinyTest(pid, r.tid, r.sid));
      expected += std::string(line) + "\n";
    }
    ASSERT_EQ(listOf(r), expected) << c;
  }
}

// The year search with an Everstone keeps what the model's list keeps, with
// every kernel, short and long frame counts.
TEST(Everstone, TheYearSearchKeepsTheModelsFrames) {
  std::mt19937 rng(3636);
  for (int32_t c = 0; c < 24; ++c) {
    EggSearchRequest r{};
    r.window = YearWindow{2000 + static_cast<int32_t>(rng() % 100), static_cast<int32_t>(rng() % 60000), 0,
                          1u << (rng() % 24)};
    r.window.delayMax = r.window.delayMin + static_cast<int32_t>(rng() % 2);
    // 300: the long pass; 225..227: most last frames settled past the short pass's outputs.
    r.egg.frameCount = c % 4 == 3   ? 300
                       : c % 4 == 2 ? 225 + static_cast<int32_t>(rng() % 3)
                                    : 1 + static_cast<int32_t>(rng() % 120);
    r.egg.tid = static_cast<int32_t>(rng() % 65536);
    r.egg.sid = static_cast<int32_t>(rng() % 65536);
    r.egg.internationalMarriage = c % 3 == 0;
    r.egg.natureChoice = c % 2 == 0 ? 0 : 1 + static_cast<int32_t>(rng() % 25);
    r.egg.abilityChoice = static_cast<int32_t>(rng() % 3);
    r.egg.everstoneNature = static_cast<int32_t>(rng() % 25);
    std::vector<EggHit> expected;
    for (int32_t delay = r.window.delayMin; delay <= r.window.delayMax; ++delay) {
      for (uint32_t aa = 0; aa < 256; ++aa) {
        const uint32_t hour = static_cast<uint32_t>(__builtin_ctz(r.window.hourMask));
        const uint32_t seed = aa << 24 | hour << 16 | (static_cast<uint32_t>(delay + r.window.year - 2000) & 0xFFFFu);
        const std::vector<uint32_t> pids = modelPids(seed, r.egg.frameCount, r.egg.everstoneNature);
        for (int32_t i = 0; i < r.egg.frameCount; ++i) {
          uint32_t pid = pids[static_cast<std::size_t>(i)];
          if (r.egg.internationalMarriage) pid = MarriageReroll(pid, r.egg.tid, r.egg.sid);
          if (eggFrameKept(r.egg, pid, ShinyTest(pid, r.egg.tid, r.egg.sid))) expected.push_back(EggHit{seed, i, delay, pid});
        }
      }
    }
    std::sort(expected.begin(), expected.end(), [](const EggHit& a, const EggHit& b) {
      return std::tie(a.frame, a.delay, a.seed) < std::tie(b.frame, b.delay, b.seed);
    });
    for (YearSearchKernel k : {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512}) {
      if (!yearSearchKernelAvailable(k)) continue;
      r.kernel = k;
      std::vector<EggHit> hits(expected.size() + 1);
      const YearSearchResult result =
          runEggSearch(r, hits.data(), static_cast<int32_t>(hits.size()), YearSearchControl{2, nullptr, nullptr});
      ASSERT_EQ(result.status, YearSearchStatus::kDone);
      ASSERT_EQ(result.count, static_cast<int32_t>(expected.size())) << c << " kernel " << static_cast<int>(k);
      for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(hits[i].seed, expected[i].seed) << c;
        ASSERT_EQ(hits[i].frame, expected[i].frame) << c;
        ASSERT_EQ(hits[i].pid, expected[i].pid) << c;
      }
    }
  }
}

}  // namespace
