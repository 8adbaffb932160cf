#include <gtest/gtest.h>

#include "core/rng.h"
#include "core/seed_backtrack.h"

namespace {

AppState gApp;  // large; kept out of the stack

AppState& searched(uint32_t current, int32_t steps, int32_t hour) {
  gApp = AppState{};
  gApp.seeds.seedCandidateCount = -1;
  gApp.seeds.currentSeed = current;
  backtrackInitialSeeds(gApp.seeds, steps, hour);
  return gApp;
}

TEST(Backtrack, Hour52FromTheFirstPidCandidate) {
  const AppState& app = searched(0x2684AD1F, 1000, 52);
  ASSERT_EQ(app.seeds.seedCandidateCount, 4);
  const SeedCandidate expected[] = {{0x12345678, 4}, {0x39340325, 553}, {0xD1341590, 748}, {0x0334FF52, 978}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(app.seeds.seedCandidates[i].seed, expected[i].seed) << i;
    EXPECT_EQ(app.seeds.seedCandidates[i].stepIndex, expected[i].stepIndex) << i;
  }
  EXPECT_EQ(app.seeds.currentSeed, 0x2684AD1Fu);  // the search leaves the current seed alone
  // Step index k is k + 1 Prev steps: k Next steps from the candidate reach
  // the state one step before the current seed.
  uint32_t s = 0x12345678;
  for (int i = 0; i < 4 + 1; ++i) s = Lcg32::Next(s);
  EXPECT_EQ(s, 0x2684AD1Fu);
}

TEST(Backtrack, TheStepLimitCountsSingleStepsAndTheFirstIsIndexZero) {
  const AppState& one = searched(0xAD1C6073, 1, 12);
  ASSERT_EQ(one.seeds.seedCandidateCount, 1);
  EXPECT_EQ(one.seeds.seedCandidates[0].seed, 0x000C0000u);
  EXPECT_EQ(one.seeds.seedCandidates[0].stepIndex, 0);

  // The deepest state examined lies N steps back, with index N - 1.
  EXPECT_EQ(searched(0x2684AD1F, 4, 52).seeds.seedCandidateCount, 0);
  EXPECT_EQ(searched(0x2684AD1F, 5, 52).seeds.seedCandidateCount, 1);
  EXPECT_EQ(searched(0x2684AD1F, 978, 52).seeds.seedCandidateCount, 3);
  EXPECT_EQ(searched(0x2684AD1F, 979, 52).seeds.seedCandidateCount, 4);
}

TEST(Backtrack, StopsAtTheTenthCandidate) {
  const AppState& app = searched(0x2684AD1F, 9999, 12);
  ASSERT_EQ(app.seeds.seedCandidateCount, 10);
  EXPECT_EQ(app.seeds.seedCandidates[0].seed, 0x740C7E7Cu);
  EXPECT_EQ(app.seeds.seedCandidates[0].stepIndex, 352);
  EXPECT_EQ(app.seeds.seedCandidates[9].seed, 0x590C3574u);
  EXPECT_EQ(app.seeds.seedCandidates[9].stepIndex, 2536);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ((app.seeds.seedCandidates[i].seed >> 16) & 0xFFu, 12u) << i;
    if (i > 0) {
      EXPECT_LT(app.seeds.seedCandidates[i - 1].stepIndex, app.seeds.seedCandidates[i].stepIndex);
    }
  }
}

TEST(Backtrack, NoStepsOrAnImpossibleHourFindNothing) {
  for (int32_t steps : {0, -5, INT32_MIN}) {
    const AppState& app = searched(0x2684AD1F, steps, 52);
    EXPECT_EQ(app.seeds.seedCandidateCount, 0) << steps;
  }
  // Bits 16..23 are 0..255: a negative hour or one above 255 never matches.
  for (int32_t hour : {-1, 256, 52 + 256, INT32_MIN}) {
    const AppState& app = searched(0x2684AD1F, 9999, hour);
    EXPECT_EQ(app.seeds.seedCandidateCount, 0) << hour;
  }
}

TEST(Backtrack, ASecondSearchReplacesTheList) {
  gApp = AppState{};
  gApp.seeds.currentSeed = 0x2684AD1F;
  backtrackInitialSeeds(gApp.seeds, 9999, 12);
  ASSERT_EQ(gApp.seeds.seedCandidateCount, 10);
  backtrackInitialSeeds(gApp.seeds, 1000, 52);
  ASSERT_EQ(gApp.seeds.seedCandidateCount, 4);
  EXPECT_EQ(gApp.seeds.seedCandidates[0].seed, 0x12345678u);
  backtrackInitialSeeds(gApp.seeds, 0, 52);
  EXPECT_EQ(gApp.seeds.seedCandidateCount, 0);
}

}  // namespace
