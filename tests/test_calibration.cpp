#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/calibration.h"

namespace {

// The model: the console's clock stepped one second at a time with its own
// carries, and the seed rule written out, independent of the code under test.
struct Clock {
  int y, mo, d, h, mi, s;
};

int monthLength(int y, int mo) {
  static const int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
  return mo == 2 && leap ? 29 : kLengths[mo - 1];
}

void tickForward(Clock& c) {
  if (++c.s < 60) return;
  c.s = 0;
  if (++c.mi < 60) return;
  c.mi = 0;
  if (++c.h < 24) return;
  c.h = 0;
  if (++c.d <= monthLength(c.y, c.mo)) return;
  c.d = 1;
  if (++c.mo <= 12) return;
  c.mo = 1;
  ++c.y;
}

void tickBack(Clock& c) {
  if (--c.s >= 0) return;
  c.s = 59;
  if (--c.mi >= 0) return;
  c.mi = 59;
  if (--c.h >= 0) return;
  c.h = 23;
  if (--c.d >= 1) return;
  if (--c.mo < 1) c.mo = 12, --c.y;
  c.d = monthLength(c.y, c.mo);
}

struct ModelCell {
  int ds, dd;
  Clock at;
  int delay;
  uint32_t seed;
};

std::vector<ModelCell> modelTable(const Clock& target, int delay, int S, int K) {
  std::vector<ModelCell> cells;
  for (int ds = -S; ds <= S; ++ds) {
    Clock c = target;
    for (int i = 0; i < (ds < 0 ? -ds : ds); ++i) ds < 0 ? tickBack(c) : tickForward(c);
    if (c.y < 2000 || c.y > 2099) continue;
    for (int dd = -K; dd <= K; ++dd) {
      int dl = delay + dd;
      if (dl < 0 || dl > 65535) continue;
      uint32_t aa = static_cast<uint32_t>(c.mo * c.d + c.mi + c.s) % 256;
      uint32_t cccc = static_cast<uint32_t>(dl + c.y - 2000) % 65536;
      cells.push_back({ds, dd, c, dl, aa << 24 | static_cast<uint32_t>(c.h) << 16 | cccc});
    }
  }
  return cells;
}

ConsoleMoment asMoment(const Clock& c, int delay) { return ConsoleMoment{c.y, c.mo, c.d, c.h, c.mi, c.s, delay}; }

void expectSameCell(const CalibrationCell& got, const ModelCell& want, const char* where) {
  EXPECT_EQ(got.secondOffset, want.ds) << where;
  EXPECT_EQ(got.delayOffset, want.dd) << where;
  EXPECT_EQ(got.seed, want.seed) << where << " ds " << want.ds << " dd " << want.dd;
  const ConsoleMoment& m = got.moment;
  EXPECT_TRUE(m.year == want.at.y && m.month == want.at.mo && m.day == want.at.d && m.hour == want.at.h &&
              m.minute == want.at.mi && m.second == want.at.s && m.delay == want.delay)
      << where << " ds " << want.ds << ": " << m.year << "-" << m.month << "-" << m.day << " " << m.hour << ":"
      << m.minute << ":" << m.second << " delay " << m.delay;
}

// Targets that put every carry and both ends of the clock within a few seconds.
Clock edgeTarget(std::mt19937& rng) {
  static const Clock kEdges[] = {
      {2026, 4, 27, 2, 58, 59},   {2026, 4, 27, 2, 59, 59},   {2026, 4, 27, 23, 59, 59}, {2026, 4, 30, 23, 59, 59},
      {2026, 12, 31, 23, 59, 59}, {2027, 1, 1, 0, 0, 0},      {2024, 2, 28, 23, 59, 59}, {2024, 2, 29, 23, 59, 59},
      {2023, 2, 28, 23, 59, 59},  {2000, 2, 29, 0, 0, 0},     {2000, 1, 1, 0, 0, 0},     {2000, 1, 1, 0, 0, 3},
      {2099, 12, 31, 23, 59, 59}, {2099, 12, 31, 23, 59, 57}, {2096, 3, 1, 0, 0, 1},     {2050, 7, 31, 23, 59, 58},
  };
  return kEdges[rng() % (sizeof kEdges / sizeof kEdges[0])];
}

Clock randomTarget(std::mt19937& rng) {
  Clock c{};
  c.y = 2000 + static_cast<int>(rng() % 100);
  c.mo = 1 + static_cast<int>(rng() % 12);
  c.d = 1 + static_cast<int>(rng() % static_cast<uint32_t>(monthLength(c.y, c.mo)));
  c.h = static_cast<int>(rng() % 24);
  c.mi = static_cast<int>(rng() % 60);
  c.s = static_cast<int>(rng() % 60);
  return c;
}

// The table, page by page, and its matches against the model over thousands
// of targets: random ones, ones beside every kind of carry and both ends of
// the clock, and delays near 0 and 65535 in years whose offset wraps CCCC.
TEST(Calibration, TableAndMatchesEqualAClockWalk) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 3000; ++round) {
    Clock target = round % 2 == 0 ? edgeTarget(rng) : randomTarget(rng);
    int delay = 0;
    switch (round % 4) {
      case 0:
        delay = static_cast<int>(rng() % 12);
        break;
      case 1:
        delay = 65535 - static_cast<int>(rng() % 12);
        break;
      default:
        delay = static_cast<int>(rng() % 65536);
        break;
    }
    int S = static_cast<int>(rng() % 5);
    int K = static_cast<int>(rng() % 14);
    if (round % 100 == 0) S = 600, K = 3;  // the widest second range, across day and year ends
    CalibrationTable table{asMoment(target, delay), S, K};
    ASSERT_TRUE(isValidCalibrationTable(table));
    std::vector<ModelCell> want = modelTable(target, delay, S, K);

    // Pages of a random size must join into the whole table; passing them
    // without building them ends each at the same place.
    const int capacity = 1 + static_cast<int>(rng() % 7);
    std::vector<CalibrationCell> page(static_cast<std::size_t>(capacity));
    std::vector<CalibrationCell> got;
    CalibrationCursor cursor = calibrationStart(table);
    CalibrationCursor passed = cursor;
    for (int guard = 0;; ++guard) {
      ASSERT_LT(guard, 1000000) << "the listing never ended";
      int32_t n = listCalibrationCells(table, cursor, page.data(), capacity);
      ASSERT_EQ(advanceCalibrationCursor(table, passed, capacity), n);
      ASSERT_TRUE(passed.secondOffset == cursor.secondOffset && passed.delayOffset == cursor.delayOffset)
          << passed.secondOffset << "," << passed.delayOffset << " vs " << cursor.secondOffset << ","
          << cursor.delayOffset;
      got.insert(got.end(), page.begin(), page.begin() + n);
      if (n < capacity) break;
    }
    ASSERT_EQ(got.size(), want.size()) << "round " << round;
    for (std::size_t i = 0; i < want.size(); ++i) expectSameCell(got[i], want[i], "list");
    if (::testing::Test::HasFailure()) return;

    // Hit seeds: a few of the table's own and a few that are not in it.
    std::vector<uint32_t> hits;
    for (int i = 0; i < 3 && !want.empty(); ++i) hits.push_back(want[rng() % want.size()].seed);
    for (int i = 0; i < 2; ++i) hits.push_back(static_cast<uint32_t>(rng()));
    std::vector<ModelCell> wantMatches;
    for (const ModelCell& c : want)
      for (uint32_t h : hits)
        if (c.seed == h) {
          wantMatches.push_back(c);
          break;
        }
    std::vector<CalibrationCell> matches;
    cursor = calibrationStart(table);
    for (int guard = 0;; ++guard) {
      ASSERT_LT(guard, 1000000) << "the match search never ended";
      int32_t n =
          findCalibrationMatches(table, hits.data(), static_cast<int32_t>(hits.size()), cursor, page.data(), capacity);
      matches.insert(matches.end(), page.begin(), page.begin() + n);
      if (n < capacity) break;
    }
    ASSERT_EQ(matches.size(), wantMatches.size()) << "round " << round;
    for (std::size_t i = 0; i < wantMatches.size(); ++i) expectSameCell(matches[i], wantMatches[i], "match");

    // One cell looked up directly, and the shift of the target by its offset.
    if (!want.empty()) {
      const ModelCell& pick = want[rng() % want.size()];
      CalibrationCell cell{};
      ASSERT_TRUE(calibrationCellAt(table, pick.ds, pick.dd, cell));
      expectSameCell(cell, pick, "at");
      ConsoleMoment shifted{};
      ASSERT_TRUE(shiftMoment(table.target, pick.ds, shifted));
      EXPECT_EQ(shifted.second, pick.at.s);
      EXPECT_EQ(shifted.day, pick.at.d);
      EXPECT_EQ(shifted.year, pick.at.y);
      EXPECT_EQ(calibrationAimDelay(table, cell), delay - pick.dd >= 0 ? delay - pick.dd : -1);
    }
    if (::testing::Test::HasFailure()) return;
  }
}

// The worked example of the command line's help: 2026-04-27 02:58:59 with delay
// 370 is AA = 4 * 27 + 58 + 59 = 225 = 0xE1, BB = 2, CCCC = 370 + 26 = 0x18C.
// One second later the minute carries: 4 * 27 + 59 + 0 = 167 = 0xA7.
TEST(Calibration, WorkedCellsAndTablesThatCannotBeBuilt) {
  CalibrationTable table{{2026, 4, 27, 2, 58, 59, 370}, 1, 10};
  CalibrationCell cell{};
  ASSERT_TRUE(calibrationCellAt(table, 0, 0, cell));
  EXPECT_EQ(cell.seed, 0xE102018Cu);
  ASSERT_TRUE(calibrationCellAt(table, 1, 3, cell));
  EXPECT_EQ(cell.seed, 0xA702018Fu);
  EXPECT_EQ(cell.moment.minute, 59);
  EXPECT_EQ(cell.moment.second, 0);
  EXPECT_EQ(calibrationAimDelay(table, cell), 367);
  EXPECT_FALSE(calibrationCellAt(table, 2, 0, cell)) << "outside the second range";

  // No cell past the clock's ends or outside 0..65535 delays.
  CalibrationTable last{{2099, 12, 31, 23, 59, 59, 65535}, 1, 1};
  EXPECT_FALSE(calibrationCellAt(last, 1, 0, cell));
  EXPECT_FALSE(calibrationCellAt(last, 0, 1, cell));
  EXPECT_TRUE(calibrationCellAt(last, -1, -1, cell));

  const CalibrationTable bad[] = {
      {{2026, 2, 30, 0, 0, 0, 0}, 1, 1},   {{2026, 1, 1, 0, 0, 0, 65536}, 1, 1}, {{2026, 1, 1, 0, 0, 0, 0}, 601, 1},
      {{2026, 1, 1, 0, 0, 0, 0}, 1, 1001}, {{2100, 1, 1, 0, 0, 0, 0}, 0, 0},     {{2026, 1, 1, 0, 0, 0, 0}, -1, 0},
  };
  for (const CalibrationTable& t : bad) {
    EXPECT_FALSE(isValidCalibrationTable(t));
    CalibrationCursor cursor = calibrationStart(t);
    CalibrationCell out[4];
    EXPECT_EQ(listCalibrationCells(t, cursor, out, 4), 0);
  }
}

}  // namespace
