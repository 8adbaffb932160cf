#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/measurement.h"
#include "data/tables.h"

namespace {

// A fresh step-1 state as the window has it once screen 1 is built.
std::unique_ptr<AppState> freshApp() {
  auto app = std::make_unique<AppState>();
  buildNatureTable(app->natureTable);
  startStepOne(app->measure, app->pids);
  return app;
}

StatBlock block(int32_t h, int32_t a, int32_t b, int32_t s, int32_t c, int32_t d) {
  return StatBlock{{h, a, b, s, c, d}};
}

// A byte copy, so that comparing bytes later also covers the padding.
std::unique_ptr<AppState> snapshot(const AppState& app) {
  auto copy = std::make_unique<AppState>();
  std::memcpy(copy.get(), &app, sizeof(AppState));
  return copy;
}

void expectRange(const IvRange& r, int32_t low, int32_t high) {
  EXPECT_EQ(r.low, low);
  EXPECT_EQ(r.high, high);
}

TEST(ComputeStat, WorkedExampleForEveryKind) {
  // B = 100, I = 31, L = 50: (200 + 31) * 50 / 100 = 115, pre = 120.
  EXPECT_EQ(computeStat(StatKind::kHp, 100, 31, 50), 175);
  EXPECT_EQ(computeStat(StatKind::kNeutral, 100, 31, 50), 120);
  EXPECT_EQ(computeStat(StatKind::kRaised, 100, 31, 50), 132);
  EXPECT_EQ(computeStat(StatKind::kLowered, 100, 31, 50), 108);
}

TEST(ComputeStat, DivisionTruncatesAndNatureFactorsMatchIntegerTenths) {
  // HP base 45 at level 5: 19 for IVs 0..9, 20 for 10..29, 21 for 30..31.
  for (int iv = 0; iv <= 31; ++iv) EXPECT_EQ(computeStat(StatKind::kHp, 45, iv, 5), iv <= 9 ? 19 : iv <= 29 ? 20 : 21) << iv;
  // Over the game's whole domain the 1.1 / 0.9 factors truncate exactly like
  // pre * 11 / 10 and pre * 9 / 10.
  for (int base = 1; base <= 255; ++base)
    for (int iv = 0; iv <= 31; ++iv)
      for (int level = 1; level <= 100; ++level) {
        int pre = (2 * base + iv) * level / 100 + 5;
        ASSERT_EQ(computeStat(StatKind::kRaised, base, iv, level), pre * 11 / 10) << base << " " << iv << " " << level;
        ASSERT_EQ(computeStat(StatKind::kLowered, base, iv, level), pre * 9 / 10) << base << " " << iv << " " << level;
      }
  // A negative level (the window reads "-5" as -5): -505 / 100 truncates to -5,
  // not down to -6.
  EXPECT_EQ(computeStat(StatKind::kNeutral, 45, 11, -5), 0);
  EXPECT_EQ(computeStat(StatKind::kHp, 45, 11, -5), 0);
}

TEST(StatKindFor, NeutralAndBiasedNatures) {
  NatureTable table{};
  buildNatureTable(table);
  for (int n : {0, 6, 12, 18, 24}) {
    EXPECT_EQ(statKindFor(0, table.rows[n]), StatKind::kHp);
    for (int i = 1; i < kStatCount; ++i) EXPECT_EQ(statKindFor(i, table.rows[n]), StatKind::kNeutral) << n << " " << i;
  }
  // いじっぱり raises A and lowers C; おくびょう raises S and lowers A.
  const StatKind adamant[] = {StatKind::kHp, StatKind::kRaised, StatKind::kNeutral, StatKind::kNeutral, StatKind::kLowered, StatKind::kNeutral};
  const StatKind timid[] = {StatKind::kHp, StatKind::kLowered, StatKind::kNeutral, StatKind::kRaised, StatKind::kNeutral, StatKind::kNeutral};
  for (int i = 0; i < kStatCount; ++i) {
    EXPECT_EQ(statKindFor(i, table.rows[3]), adamant[i]) << i;
    EXPECT_EQ(statKindFor(i, table.rows[10]), timid[i]) << i;
  }
}

TEST(NarrowRange, TakesTheRunOfMatchingIvsOrLeavesTheRange) {
  IvRange r{0, 31};
  narrowRange(r, StatKind::kHp, 45, 5, 20, 0, 31);
  expectRange(r, 10, 29);
  r = IvRange{0, 31};
  narrowRange(r, StatKind::kHp, 45, 5, 21, 0, 31);  // the run reaches the end of the scan
  expectRange(r, 30, 31);
  r = IvRange{0, 31};
  narrowRange(r, StatKind::kHp, 45, 5, 19, 0, 31);
  expectRange(r, 0, 9);
  r = IvRange{12, 20};
  narrowRange(r, StatKind::kHp, 45, 5, 99, 12, 20);  // no IV gives 99
  expectRange(r, 12, 20);
  r = IvRange{12, 20};
  narrowRange(r, StatKind::kHp, 45, 5, 19, 12, 20);  // 19 needs an IV outside the scan
  expectRange(r, 12, 20);
}

TEST(Measurement, HpBase45ChainNarrowsAndPointsToTheNextLevel) {
  auto app = freshApp();
  // Base 45 in every stat, neutral nature; only HP is looked at closely.
  // Neutral at level 5: (90 + I) * 5 / 100 + 5 is 9 for I 0..9, 10 for 10..29.
  takeFirstMeasurement(app->measure, app->natureTable, block(45, 45, 45, 45, 45, 45), 0, 5, block(20, 10, 10, 10, 10, 10));
  EXPECT_EQ(app->measure.measurementCount, 1);
  expectRange(app->measure.ivRanges[0], 10, 29);
  // At level 6, IV 10 gives 100 * 6 / 100 + 16 = 22 and IV 29 gives 119 * 6 / 100 + 16 = 23.
  EXPECT_EQ(app->measure.narrowLevels[0], 6);

  // Level 6, HP 22: (90 + I) * 6 < 700 holds up to I = 26.
  ASSERT_TRUE(takeNextMeasurement(app->measure, app->natureTable, 6, block(22, 11, 11, 11, 11, 11)));
  EXPECT_EQ(app->measure.measurementCount, 2);
  expectRange(app->measure.ivRanges[0], 10, 26);
  // At level 7, IV 10 gives 7 + 17 = 24 and IV 26 gives 8 + 17 = 25.
  EXPECT_EQ(app->measure.narrowLevels[0], 7);
  EXPECT_EQ(app->measure.measurements[1].level, 6);
  EXPECT_EQ(app->measure.measurements[1].stats[0], 22);
}

TEST(Measurement, FirstMeasurementStoresItsInputs) {
  auto app = freshApp();
  takeFirstMeasurement(app->measure, app->natureTable, block(1, 2, 3, 4, 5, 6), 17, 42, block(7, 8, 9, 10, 11, 12));
  EXPECT_EQ(app->measure.natureIndex, 17);
  EXPECT_EQ(app->measure.baseStats[3], 4);
  EXPECT_EQ(app->measure.measurements[0].level, 42);
  EXPECT_EQ(app->measure.measurements[0].stats[5], 12);
}

TEST(Measurement, UnmatchedStatLeavesItsRangeOpen) {
  auto app = freshApp();
  takeFirstMeasurement(app->measure, app->natureTable, block(45, 45, 45, 45, 45, 45), 0, 5, block(99, 10, 10, 10, 10, 10));
  expectRange(app->measure.ivRanges[0], 0, 31);
  // Level 5 itself already separates 0..31 (19, 20 and 21 occur).
  EXPECT_EQ(app->measure.narrowLevels[0], 5);
  expectRange(app->measure.ivRanges[1], 10, 29);
}

TEST(Measurement, FixedStatIsNotMeasuredAgain) {
  auto app = freshApp();
  // Base 100 at level 100, neutral: (200 + I) + 5, one stat per IV, so 236 fixes IV 31.
  takeFirstMeasurement(app->measure, app->natureTable, block(45, 100, 45, 45, 45, 45), 0, 100, block(20, 236, 10, 10, 10, 10));
  expectRange(app->measure.ivRanges[1], 31, 31);
  EXPECT_EQ(app->measure.narrowLevels[1], 0);
  // The A value of the next measurement is not read: even a value that would
  // match another IV changes nothing.
  ASSERT_TRUE(takeNextMeasurement(app->measure, app->natureTable, 50, block(20, 105, 10, 10, 10, 10)));
  EXPECT_EQ(app->measure.measurements[1].stats[1], -1);
  expectRange(app->measure.ivRanges[1], 31, 31);
  EXPECT_EQ(app->measure.narrowLevels[1], 0);
  ASSERT_TRUE(takeNextMeasurement(app->measure, app->natureTable, 60, block(20, 105, 10, 10, 10, 10)));
  EXPECT_EQ(app->measure.measurements[2].stats[1], -1);
  EXPECT_NE(app->measure.measurements[2].stats[0], -1);
}

TEST(Measurement, LoweredStatThatNoLevelSeparatesKeepsItsNarrowLevel) {
  auto app = freshApp();
  // Nature 1 (さみしがり) lowers B. Base 50, IVs 5 and 6 at level 100:
  // 110 * 0.9 = 99 and 111 * 0.9 = 99.9, both 99.
  app->measure.natureIndex = 1;
  app->measure.baseStats = block(45, 50, 50, 50, 50, 50);
  app->measure.measurementCount = 1;
  app->measure.measurements[0].level = 90;
  app->measure.ivRanges[2] = IvRange{5, 6};
  app->measure.narrowLevels[2] = 77;
  ASSERT_TRUE(takeNextMeasurement(app->measure, app->natureTable, 100, block(1, 1, 99, 1, 1, 1)));
  expectRange(app->measure.ivRanges[2], 5, 6);
  EXPECT_EQ(app->measure.narrowLevels[2], 77);
  // Neutral, the same two IVs do separate at level 100 (110 and 111).
  app->measure.natureIndex = 0;
  computeNarrowLevels(app->measure, app->natureTable);
  EXPECT_EQ(app->measure.narrowLevels[2], 100);
}

TEST(Measurement, LevelAbove100LeavesOpenStatsNarrowLevels) {
  auto app = freshApp();
  takeFirstMeasurement(app->measure, app->natureTable, block(45, 45, 45, 45, 45, 45), 0, 5, block(20, 10, 10, 10, 10, 10));
  ASSERT_EQ(app->measure.narrowLevels[0], 6);
  ASSERT_TRUE(takeNextMeasurement(app->measure, app->natureTable, 101, block(0, 0, 0, 0, 0, 0)));
  EXPECT_EQ(app->measure.narrowLevels[0], 6);
  expectRange(app->measure.ivRanges[0], 10, 29);
}

TEST(Measurement, TwentyFirstMeasurementChangesNothing) {
  auto app = freshApp();
  takeFirstMeasurement(app->measure, app->natureTable, block(45, 45, 45, 45, 45, 45), 0, 1, block(0, 0, 0, 0, 0, 0));
  for (int k = 1; k < kMaxMeasurements; ++k) ASSERT_TRUE(takeNextMeasurement(app->measure, app->natureTable, 1, block(0, 0, 0, 0, 0, 0)));
  ASSERT_EQ(app->measure.measurementCount, kMaxMeasurements);
  auto before = snapshot(*app);
  EXPECT_FALSE(takeNextMeasurement(app->measure, app->natureTable, 5, block(20, 10, 10, 10, 10, 10)));
  EXPECT_EQ(std::memcmp(before.get(), app.get(), sizeof(AppState)), 0);
}

TEST(Measurement, ResetDoesNothingBeforeAMeasurementAndKeepsInputsAfter) {
  auto app = freshApp();
  app->pids.pidCandidateCount = 3;
  auto before = snapshot(*app);
  EXPECT_FALSE(resetMeasurement(app->measure, app->pids));
  EXPECT_EQ(std::memcmp(before.get(), app.get(), sizeof(AppState)), 0);

  takeFirstMeasurement(app->measure, app->natureTable, block(45, 45, 45, 45, 45, 45), 13, 5, block(20, 10, 10, 10, 10, 10));
  ASSERT_TRUE(takeNextMeasurement(app->measure, app->natureTable, 6, block(22, 11, 11, 11, 11, 11)));
  EXPECT_TRUE(resetMeasurement(app->measure, app->pids));
  EXPECT_EQ(app->measure.measurementCount, 0);
  EXPECT_EQ(app->pids.pidCandidateCount, -1);
  for (int i = 0; i < kStatCount; ++i) {
    expectRange(app->measure.ivRanges[i], 0, 31);
    EXPECT_EQ(app->measure.narrowLevels[i], 0);
  }
  // The base stats, the nature and the old rows stay.
  EXPECT_EQ(app->measure.natureIndex, 13);
  EXPECT_EQ(app->measure.baseStats[0], 45);
  EXPECT_EQ(app->measure.measurements[1].level, 6);
}

TEST(Measurement, StartStepOneOpensEverything) {
  auto app = std::make_unique<AppState>();
  app->measure.natureIndex = 9;
  app->measure.measurementCount = 4;
  app->measure.ivRanges[2] = IvRange{3, 3};
  app->measure.narrowLevels[4] = 12;
  app->pids.pidCandidateCount = 2;
  app->measure.baseStats = block(1, 2, 3, 4, 5, 6);
  startStepOne(app->measure, app->pids);
  EXPECT_EQ(app->measure.natureIndex, 0);
  EXPECT_EQ(app->measure.measurementCount, 0);
  EXPECT_EQ(app->pids.pidCandidateCount, -1);
  for (int i = 0; i < kStatCount; ++i) {
    expectRange(app->measure.ivRanges[i], 0, 31);
    EXPECT_EQ(app->measure.narrowLevels[i], 0);
  }
  EXPECT_EQ(app->measure.baseStats[5], 6);
}

}  // namespace
