// "個体値手動入力": prefill, accept with clamping, cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/shell_fixture.h"

namespace {

// Opens the dialog with the given texts typed into the six edits (nullptr:
// leave as prefilled), ended with `outcome`; returns the prefilled texts.
std::vector<std::string> runDialog(AppState& app, std::vector<const char*> typed, DialogOutcome outcome) {
  std::vector<std::string> prefill;
  fake().dialogInput = [&](AppState& a, ControlHandle) {
    for (int i = 0; i < 6; ++i) {
      prefill.push_back(fakeControl(a.ivDialog.ivDialogEdits[i]).text);
      if (i < static_cast<int>(typed.size()) && typed[i] != nullptr) fakeType(a.ivDialog.ivDialogEdits[i], typed[i]);
    }
  };
  fake().dialogOutcome = outcome;
  shellCommand(app, kCmdIvEntry);
  return prefill;
}

TEST_F(ShellTest, DialogRunsTheTemplateAndPrefillsOnlyFixedStats) {
  start();
  measure(100, {210, 0, 0, 115, 0, 0});  // fixes H at 10 and S at 20
  std::vector<std::string> prefill = runDialog(app(), {}, DialogOutcome::kCancel);
  ASSERT_EQ(fake().dialogsRun, 1);
  EXPECT_EQ(fake().dialogTemplate, &kIvEntryDialogTemplate);
  EXPECT_EQ(kIvEntryDialogTemplate.resourceId, 102);
  EXPECT_EQ(std::string(kIvEntryDialogTemplate.caption), sj("個体値手動入力"));
  EXPECT_EQ(prefill, (std::vector<std::string>{"10", "", "", "20", "", ""}));
  for (ControlHandle h : app().ivDialog.ivDialogEdits) EXPECT_EQ(h, 0);
}

TEST_F(ShellTest, DialogCancelChangesNothingButTheNatureReadBeforeIt) {
  start();
  fakeControl(app().screen1.natureCombo).selected = 5;
  ControlHandle combo = app().screen1.natureCombo;
  runDialog(app(), {"1", "2", "3", "4", "5", "6"}, DialogOutcome::kCancel);
  EXPECT_EQ(app().measure.natureIndex, 5);
  EXPECT_EQ(app().measure.measurementCount, 0);
  for (const IvRange& r : app().measure.ivRanges) {
    EXPECT_EQ(r.low, 0);
    EXPECT_EQ(r.high, 31);
  }
  EXPECT_EQ(app().screen1.natureCombo, combo);
  EXPECT_TRUE(fakeControl(combo).alive);
  EXPECT_EQ(fake().invalidations, 0);
}

TEST_F(ShellTest, DialogAcceptReadsTwoCharactersAndClamps) {
  start();
  runDialog(app(), {"45", "100", "-5", "ab", "31", " 7x"}, DialogOutcome::kOk);
  // 45 -> 31; "10" of 100; -5 -> 0; no digits -> 0; 31; " 7" -> 7.
  int expected[6] = {31, 10, 0, 0, 31, 7};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(app().measure.ivRanges[i].low, expected[i]) << i;
    EXPECT_EQ(app().measure.ivRanges[i].high, expected[i]) << i;
  }
}

TEST_F(ShellTest, DialogAcceptWithEmptyEditsFixesZerosAndEntersTheMeasuredState) {
  start();
  app().measure.narrowLevels[2] = 40;  // left as it was
  ControlHandle combo = app().screen1.natureCombo;
  std::vector<ControlHandle> baseEdits(std::begin(app().screen1.baseStatEdits), std::end(app().screen1.baseStatEdits));
  runDialog(app(), {}, DialogOutcome::kOk);
  for (const IvRange& r : app().measure.ivRanges) {
    EXPECT_EQ(r.low, 0);
    EXPECT_EQ(r.high, 0);
  }
  EXPECT_EQ(app().measure.measurementCount, 1);
  EXPECT_EQ(app().measure.measurements[0].level, -1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(app().measure.measurements[0].stats[i], -1);
  EXPECT_EQ(app().measure.narrowLevels[2], 40);
  EXPECT_EQ(app().pids.pidCandidateCount, -1);
  EXPECT_FALSE(fakeControl(combo).alive);
  EXPECT_EQ(app().screen1.natureCombo, 0);
  // The base-stat edits go with the nature list, so that "リセット" brings back
  // exactly one set of them.
  for (ControlHandle h : baseEdits) EXPECT_FALSE(fakeControl(h).alive);
  EXPECT_EQ(fake().invalidations, 1);
  command(kCmdReset);
  int baseEditCount = 0;
  for (ControlHandle h : fakeLiveControls()) baseEditCount += fakeControl(h).id >= 101 && fakeControl(h).id <= 106;
  EXPECT_EQ(baseEditCount, 6);
}

TEST_F(ShellTest, DialogAcceptAfterFiveMeasurementsLeavesOneRowOfCircles) {
  start();
  for (int m = 0; m < 5; ++m) measure(10 + m, {0, 0, 0, 0, 0, 0});
  app().pids.pidCandidateCount = 0;  // a search result stays as it is
  runDialog(app(), {"1", "2", "3", "4", "5", "6"}, DialogOutcome::kOk);
  EXPECT_EQ(app().measure.measurementCount, 1);
  EXPECT_EQ(app().pids.pidCandidateCount, 0);
  std::vector<PaintOp> drawn = fakePaint(app());
  int circles = 0, tableCells = 0;
  for (const PaintOp& op : drawn) {
    if (op.kind != PaintOp::Kind::kText || op.y0 < 87 || op.y0 > 87 + 25 * 19 || op.x0 < 84 || op.x0 > 384) continue;
    if ((op.x0 - 84) % 50 != 0 || (op.y0 - 87) % 25 != 0) continue;
    ++tableCells;
    circles += op.text == sj("○") && op.y0 == 87;
  }
  EXPECT_EQ(circles, 7);
  EXPECT_EQ(tableCells, 7);
}

TEST_F(ShellTest, DialogAcceptThenSearchRunsTheFixedSearchAtOnce) {
  start();
  fakeControl(app().screen1.natureCombo).selected = 15;
  runDialog(app(), {"10", "12", "22", "0", "7", "29"}, DialogOutcome::kOk);
  EXPECT_EQ(app().measure.natureIndex, 15);
  command(kCmdSearch);
  ASSERT_EQ(app().pids.pidCandidateCount, 1);
  EXPECT_EQ(app().pids.pidCandidates[0].pid, 0x84EA0B71u);
}

}  // namespace
