// The looked-up scan must give exactly what trying all 2 x 65,536 states gives:
// the same candidates in the same slots and order, the same count, the same
// answer about the limit, and untouched slots beyond the count.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/pid_search.h"
#include "core/rng.h"
#include "tests/reference/reference_scans.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSlowBuild = true;  // unoptimised and instrumented: the reference scan is ~4x slower
#else
constexpr bool kSlowBuild = false;
#endif

// Test-local generator of random words (splitmix64), independent of the code under test.
struct Random {
  uint64_t x;
  uint32_t next() {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
  }
};

struct Pair {
  std::unique_ptr<AppState> fast = std::make_unique<AppState>();
  std::unique_ptr<AppState> reference = std::make_unique<AppState>();
};

// Runs both scans from the same starting list (count and stale slots) and
// compares everything they can touch. Returns the reference count.
int expectSameScan(Pair& p, uint32_t w1, uint32_t w2, int nature, int limit, int startCount, uint32_t stale) {
  for (AppState* app : {p.fast.get(), p.reference.get()}) {
    for (int i = 0; i < kMaxPidCandidates; ++i) app->pids.pidCandidates[i] = PidCandidate{stale + i, ~stale - i};
    app->pids.pidCandidateCount = startCount;
  }
  bool fastStopped = scanIvWords(p.fast->pids, w1, w2, nature, limit);
  bool referenceStopped = scanIvWordsStraightforward(p.reference->pids, w1, w2, nature, limit);
  EXPECT_EQ(fastStopped, referenceStopped) << std::hex << w1 << " " << w2 << std::dec << " n" << nature;
  EXPECT_EQ(p.fast->pids.pidCandidateCount, p.reference->pids.pidCandidateCount)
      << std::hex << w1 << " " << w2 << std::dec << " n" << nature << " limit " << limit;
  for (int i = 0; i < kMaxPidCandidates; ++i) {
    EXPECT_EQ(p.fast->pids.pidCandidates[i].pid, p.reference->pids.pidCandidates[i].pid)
        << "slot " << i << std::hex << " words " << w1 << " " << w2 << std::dec << " n" << nature;
    EXPECT_EQ(p.fast->pids.pidCandidates[i].currentSeed, p.reference->pids.pidCandidates[i].currentSeed) << "slot " << i;
  }
  return p.reference->pids.pidCandidateCount - startCount;
}

TEST(ScanEquivalence, WorkedExamples) {
  Pair p;
  // 10,12,22 / 0,7,29 with nature 15: the one candidate 0x84EA0B71, seed 0x2684AD1F.
  EXPECT_EQ(expectSameScan(p, 0x598Au, 0x74E0u, 15, 0, 0, 0), 1);
  EXPECT_EQ(p.fast->pids.pidCandidates[0].pid, 0x84EA0B71u);
  EXPECT_EQ(p.fast->pids.pidCandidates[0].currentSeed, 0x2684AD1Fu);
  // 17,19,20 / 16,13,12 with nature 14: two candidates, the state of the low high half first.
  EXPECT_EQ(expectSameScan(p, 0x5271u, 0x31B0u, 14, 0, 0, 0), 2);
  EXPECT_EQ(p.fast->pids.pidCandidates[0].pid, 0xE97E0000u);
  EXPECT_EQ(p.fast->pids.pidCandidates[1].pid, 0x59736AD6u);
  EXPECT_EQ(p.fast->pids.pidCandidates[1].currentSeed, 0x33CB78DBu);
  // A limit of one stops at the first of the two and says so; slot 1 keeps its stale value.
  EXPECT_EQ(expectSameScan(p, 0x5271u, 0x31B0u, 14, 1, 0, 0xABCD0000u), 1);
  EXPECT_TRUE(scanIvWords(p.fast->pids, 0x5271u, 0x31B0u, 14, 2));  // 1 already there + 1 reaches 2
  EXPECT_EQ(p.fast->pids.pidCandidates[1].pid, 0xE97E0000u);
  // Fifteen candidates already found: the first new one is the sixteenth and ends the search.
  EXPECT_EQ(expectSameScan(p, 0x5271u, 0x31B0u, 14, kRangeSearchLimit, 15, 7), 1);
  EXPECT_EQ(p.fast->pids.pidCandidates[15].pid, 0xE97E0000u);
  EXPECT_EQ(p.fast->pids.pidCandidates[16].pid, 7u + 16u);  // untouched
}

// Every nature of every pair in a smaller sample: the natures' lists together
// are the states that pass the IV test (2, 4 or 6, paired across the halves),
// and the scan examines exactly those states.
TEST(ScanEquivalence, AllNaturesWithAndWithoutLimit) {
  Pair p;
  Random random{0x5EED0001u};
  const int pairs = kSlowBuild ? 50 : 200;
  for (int trial = 0; trial < pairs; ++trial) {
    const uint32_t w1 = random.next() & 0x7FFFu;
    const uint32_t w2 = random.next() & 0x7FFFu;
    int passing = 0;
    for (int n = 0; n < kNatureCount; ++n) {
      passing += expectSameScan(p, w1, w2, n, 0, 0, trial);
      expectSameScan(p, w1, w2, n, kRangeSearchLimit, 14, ~static_cast<uint32_t>(trial));
    }
    EXPECT_TRUE(passing == 2 || passing == 4 || passing == 6) << passing;
    uint64_t checks = 0;
    p.fast->pids.pidCandidateCount = 0;
    scanIvWords(p.fast->pids, w1, w2, 0, 0, checks);
    EXPECT_EQ(checks, static_cast<uint64_t>(passing));
  }
}

// Thousands of random pairs, one reference scan each. On even pairs the words
// are random and the nature cycles through all 25. On odd pairs the words and
// the nature come from walking the generator forwards from a random state x0
// (PID low half, PID high half, first IV word, second IV word, current seed),
// so that list must hold that PID with that seed. The starting count varies so
// that the limit of 16 falls anywhere in the list.
TEST(ScanEquivalence, ThousandsOfRandomPairs) {
  Pair p;
  Random random{0x5EED0002u};
  const int pairs = kSlowBuild ? 2000 : 4000;
  int limitHits = 0;
  for (int trial = 0; trial < pairs; ++trial) {
    uint32_t w1 = random.next() & 0x7FFFu;
    uint32_t w2 = random.next() & 0x7FFFu;
    int nature = trial % kNatureCount;
    uint32_t pid = 0;
    uint32_t seed = 0;
    if (trial % 2 == 1) {
      uint32_t x1 = Lcg32::Next(random.next());
      uint32_t x2 = Lcg32::Next(x1);
      uint32_t x3 = Lcg32::Next(x2);
      uint32_t x4 = Lcg32::Next(x3);
      pid = (x2 & 0xFFFF0000u) | (x1 >> 16);
      seed = Lcg32::Next(x4);
      w1 = (x3 >> 16) & 0x7FFFu;
      w2 = (x4 >> 16) & 0x7FFFu;
      nature = NatureIndex(pid);
    }
    const int startCount = static_cast<int>(random.next() % kRangeSearchLimit);
    const int limit = (trial % 3 == 0) ? 0 : kRangeSearchLimit;
    const int found = expectSameScan(p, w1, w2, nature, limit, startCount, random.next());
    if (trial % 2 == 1) {
      // The walked state is in the list unless the limit cut the list short before it.
      bool listed = false;
      for (int i = startCount; i < startCount + found; ++i)
        listed = listed || (p.fast->pids.pidCandidates[i].pid == pid && p.fast->pids.pidCandidates[i].currentSeed == seed);
      bool cut = limit > 0 && startCount + found == limit;
      EXPECT_TRUE(listed || cut) << std::hex << pid << " " << seed;
      EXPECT_GE(found, 1);
    }
    limitHits += limit > 0 && p.reference->pids.pidCandidateCount == limit;
    if (HasFailure()) break;
  }
  EXPECT_GT(limitHits, 0);
}

// Words outside 15 bits are masked to 16 bits by both scans; with bit 15 set
// both high halves are the same and the list repeats, with both wanted draws
// the same each state is taken once.
TEST(ScanEquivalence, WordsWithHighBitsSet) {
  Pair p;
  Random random{0x5EED0003u};
  const int pairs = kSlowBuild ? 25 : 100;
  for (int trial = 0; trial < pairs; ++trial) {
    const uint32_t w1 = random.next() | (trial % 2 ? 0x8000u : 0u);
    const uint32_t w2 = random.next() | (trial % 4 < 2 ? 0x8000u : 0u);
    expectSameScan(p, w1, w2, trial % kNatureCount, 0, 0, trial);
    expectSameScan(p, w1, w2, (trial * 7) % kNatureCount, 3, 0, trial);
  }
}

// The range search built on the fast scan against the same nesting of loops
// over the reference scan: the worked example that stops at 16 candidates.
TEST(ScanEquivalence, RangeSearchStopsAtTheSameSixteenth) {
  auto fast = std::make_unique<AppState>();
  const IvRange ranges[kStatCount] = {{0, 31}, {0, 31}, {22, 22}, {0, 0}, {7, 7}, {29, 29}};
  std::memcpy(fast->measure.ivRanges, ranges, sizeof ranges);
  fast->measure.natureIndex = 15;
  fast->measure.measurementCount = 1;
  searchPidCandidates(fast->pids, fast->measure);

  auto reference = std::make_unique<AppState>();
  bool stopped = false;
  for (int h = 0; h <= 31 && !stopped; ++h)
    for (int a = 0; a <= 31 && !stopped; ++a)
      stopped = scanIvWordsStraightforward(reference->pids, firstIvWord(h, a, 22), secondIvWord(0, 7, 29), 15,
                                           kRangeSearchLimit);
  ASSERT_TRUE(stopped);
  ASSERT_EQ(fast->pids.pidCandidateCount, kRangeSearchLimit);
  ASSERT_EQ(reference->pids.pidCandidateCount, kRangeSearchLimit);
  for (int i = 0; i < kRangeSearchLimit; ++i) {
    EXPECT_EQ(fast->pids.pidCandidates[i].pid, reference->pids.pidCandidates[i].pid) << i;
    EXPECT_EQ(fast->pids.pidCandidates[i].currentSeed, reference->pids.pidCandidates[i].currentSeed) << i;
  }
  EXPECT_EQ(fast->pids.pidCandidates[15].pid, 0xD68976E2u);
}

}  // namespace
