// What the paint handler draws on each screen, compared with the fixed texts
// and coordinates of the window's layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "tests/shell_fixture.h"

namespace {

PaintOp T(int x, int y, const std::string& utf8) { return PaintOp{PaintOp::Kind::kText, x, y, 0, 0, sj(utf8)}; }
PaintOp L(int x0, int y0, int x1, int y1) { return PaintOp{PaintOp::Kind::kLine, x0, y0, x1, y1, ""}; }

bool before(const PaintOp& a, const PaintOp& b) {
  return std::tie(a.kind, a.y0, a.x0, a.x1, a.y1, a.text) < std::tie(b.kind, b.y0, b.x0, b.x1, b.y1, b.text);
}

// The white frame comes first (it clears the client area); the rest must be
// exactly `expected`, in any order.
void expectDisplay(std::vector<PaintOp> drawn, std::vector<PaintOp> expected) {
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front(), (PaintOp{PaintOp::Kind::kFrame, -1, -1, 801, 601, ""}));
  drawn.erase(drawn.begin());
  std::sort(drawn.begin(), drawn.end(), before);
  std::sort(expected.begin(), expected.end(), before);
  EXPECT_EQ(drawn.size(), expected.size());
  std::vector<PaintOp> missing, extra;
  std::set_difference(expected.begin(), expected.end(), drawn.begin(), drawn.end(), std::back_inserter(missing),
                      before);
  std::set_difference(drawn.begin(), drawn.end(), expected.begin(), expected.end(), std::back_inserter(extra),
                      before);
  for (const PaintOp& op : missing) ADD_FAILURE() << "not drawn: (" << op.x0 << ", " << op.y0 << ") " << op.text;
  for (const PaintOp& op : extra) ADD_FAILURE() << "drawn too: (" << op.x0 << ", " << op.y0 << ") " << op.text;
}

const char* const kLetters[] = {"H", "A", "B", "S", "C", "D"};

std::vector<PaintOp> screenOneFixed() {
  std::vector<PaintOp> ops = {T(5, 5, "step1:個体値測定"), T(10, 37, "種族値"),      T(10, 62, "能力値"),
                              T(70, 62, "L"),               T(570, 10, "候補"),        T(670, 10, "絞り込みLv"),
                              T(430, 183, "setp2:PID逆算"), L(420, 180, 800, 180), L(420, 180, 420, 600)};
  for (int i = 0; i < 6; ++i) {
    ops.push_back(T(120 + 50 * i, 37, kLetters[i]));
    ops.push_back(T(120 + 50 * i, 62, kLetters[i]));
    ops.push_back(T(580, 35 + 25 * i, kLetters[i]));
  }
  return ops;
}

std::vector<PaintOp> screenTwoFixed() {
  return {T(5, 5, "step3:初期SEED特定"),
          T(10, 27, "現在SEED:"),
          T(10, 52, "実行時刻:"),
          T(107, 52, "時"),
          T(292, 27, "回まで逆算"),
          T(15, 75, "候補"),
          T(405, 5, "step4:PIDリスト出力"),
          T(415, 30, "初期SEED:"),
          T(415, 55, "表ID:"),
          T(520, 55, "裏ID:"),
          T(477, 230, "回まで"),
          T(420, 132, "性格:"),
          T(420, 162, "性別:"),
          T(420, 192, "特性:"),
          L(400, -1, 400, 600)};
}

std::vector<PaintOp> plus(std::vector<PaintOp> a, const std::vector<PaintOp>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(ShellTest, ScreenOneBeforeAnyMeasurementPaintsOnlyItsLabelsAndLines) {
  start();
  expectDisplay(fakePaint(app()), screenOneFixed());
}

TEST_F(ShellTest, ScreenOneAfterMeasurementsPaintsValuesRangesLevelsAndTable) {
  start();
  // Level 100 with the default base stats 45,49,49,45,65,65 and nature 0:
  // HP 210 fixes H at 10, Speed 115 fixes S at 20; the zeros match no IV and
  // leave four ranges 0..31, which level 100 itself already tells apart.
  measure(100, {210, 0, 0, 115, 0, 0});
  std::vector<PaintOp> values = {
      T(134, 37, "45"),  T(184, 37, "49"),   T(234, 37, "49"),   T(284, 37, "45"),  T(334, 37, "65"),
      T(384, 37, "65"),  T(600, 35, "10"),   T(600, 60, "0-31"), T(600, 85, "0-31"), T(600, 110, "20"),
      T(600, 135, "0-31"), T(600, 160, "0-31"), T(700, 60, "100"), T(700, 85, "100"), T(700, 135, "100"),
      T(700, 160, "100"), T(433, 63, "がんばりや"),
      T(84, 87, "100"),  T(134, 87, "210"),  T(184, 87, "0"),    T(234, 87, "0"),   T(284, 87, "115"),
      T(334, 87, "0"),   T(384, 87, "0")};
  expectDisplay(fakePaint(app()), plus(screenOneFixed(), values));

  // A second row: the fixed H and S show "○".
  measure(100, {7, 8, 9, 10, 11, 12});
  std::vector<PaintOp> drawn = fakePaint(app());
  std::vector<PaintOp> row1 = {T(84, 112, "100"), T(134, 112, "○"), T(184, 112, "8"), T(234, 112, "9"),
                               T(284, 112, "○"),  T(334, 112, "11"), T(384, 112, "12")};
  for (const PaintOp& op : row1) EXPECT_NE(std::find(drawn.begin(), drawn.end(), op), drawn.end()) << op.text;
}

TEST_F(ShellTest, ScreenOneShowsTheNatureAndSingleValuesFromState) {
  start();
  app().measure.measurementCount = 1;
  app().measure.natureIndex = 19;
  app().measure.baseStats = StatBlock{{1, 22, 333, 4, 5, 6}};
  IvRange ranges[6] = {{0, 0}, {31, 31}, {3, 17}, {30, 31}, {5, 5}, {0, 1}};
  for (int i = 0; i < 6; ++i) app().measure.ivRanges[i] = ranges[i];
  int levels[6] = {0, 0, 12, 99, 0, 7};
  for (int i = 0; i < 6; ++i) app().measure.narrowLevels[i] = levels[i];
  app().measure.measurements[0] = MeasurementRow{-1, {{-1, -1, -1, -1, -1, -1}}};
  std::vector<PaintOp> values = {
      T(134, 37, "1"),  T(184, 37, "22"),  T(234, 37, "333"),  T(284, 37, "4"),   T(334, 37, "5"),
      T(384, 37, "6"),  T(600, 35, "0"),   T(600, 60, "31"),   T(600, 85, "3-17"), T(600, 110, "30-31"),
      T(600, 135, "5"), T(600, 160, "0-1"), T(700, 85, "12"),  T(700, 110, "99"), T(700, 160, "7"),
      T(433, 63, "うっかりや")};
  for (int c = 0; c < 7; ++c) values.push_back(T(84 + 50 * c, 87, "○"));
  expectDisplay(fakePaint(app()), plus(screenOneFixed(), values));
}

TEST_F(ShellTest, ScreenOneCandidateListShowsNothingNoneOrOneLinePerCandidate) {
  start();
  app().pids.pidCandidateCount = -1;
  expectDisplay(fakePaint(app()), screenOneFixed());
  app().pids.pidCandidateCount = 0;
  expectDisplay(fakePaint(app()), plus(screenOneFixed(), {T(440, 210, "候補なし")}));
  app().pids.pidCandidateCount = 2;
  app().pids.pidCandidates[0] = PidCandidate{0x84EA0B71u, 0x2684AD1Fu};
  app().pids.pidCandidates[1] = PidCandidate{0x0000FF00u, 0};
  expectDisplay(fakePaint(app()), plus(screenOneFixed(), {T(440, 210, "0x84EA0B71 特性2 性別値113"),
                                                          T(440, 235, "0x0000FF00 特性1 性別値0")}));
}

TEST_F(ShellTest, ScreenOneListsTheSixteenthRangeCandidateBelowTheLastButton) {
  start();
  measure(5, {0, 0, 0, 0, 0, 0});
  app().measure.natureIndex = 15;
  IvRange ranges[6] = {{0, 31}, {0, 31}, {22, 22}, {0, 0}, {7, 7}, {29, 29}};
  for (int i = 0; i < 6; ++i) app().measure.ivRanges[i] = ranges[i];
  command(kCmdSearch);
  std::vector<PaintOp> drawn = fakePaint(app());
  int lines = 0;
  for (const PaintOp& op : drawn) lines += op.kind == PaintOp::Kind::kText && op.x0 == 440;
  EXPECT_EQ(lines, 16);
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), T(440, 210, "0x6A0A91EF 特性2 性別値239")), drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), T(440, 585, "0xD68976E2 特性1 性別値226")), drawn.end());
}

TEST_F(ShellTest, ScreenTwoPaintsItsLabelsAndThenTheStepCounts) {
  start();
  command(kCmdScreenTwo);
  expectDisplay(fakePaint(app()), screenTwoFixed());
  type(app().screen2.currentSeedEdit, "0x2684AD1F");
  type(app().screen2.hourEdit, "52");
  command(kCmdSeedSearch);
  expectDisplay(fakePaint(app()), plus(screenTwoFixed(), {T(20, 100, "4回前"), T(20, 125, "553回前"),
                                                          T(20, 150, "748回前"), T(20, 175, "978回前")}));
  // A search that finds nothing shows no lines and no "候補なし".
  type(app().screen2.hourEdit, "-1");
  command(kCmdSeedSearch);
  expectDisplay(fakePaint(app()), screenTwoFixed());
}

}  // namespace
