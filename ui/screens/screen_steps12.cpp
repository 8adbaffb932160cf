// Screen 1: step 1 (measuring the IVs from stats) on the left, step 2 (the
// PIDs of six IVs) below the line at y 180 on the right.
#include <cstdio>
#include <iterator>

#include "core/measurement.h"
#include "core/pid_search.h"
#include "data/data_files.h"
#include "data/tables.h"
#include "quillmar/texts.h"
#include "ui/iv_dialog.h"
#include "ui/screens.h"
#include "ui/screens/screen_common.h"
#include "ui/shell.h"

namespace {

constexpr int32_t kBaseStatEditFirstId = 101;
constexpr int32_t kLevelEditId = 110;
constexpr int32_t kStatEditFirstId = 111;
constexpr int32_t kNatureComboId = 120;
constexpr int32_t kSpeciesEditId = 161;

// The last candidate-button row must start above this y after a range search.
constexpr int32_t kCandidateButtonYLimit = 583;

ControlRect baseStatEditRect(int i) { return ControlRect{132 + 50 * i, 35, 30, 22}; }
ControlRect natureComboRect() { return ControlRect{430, 60, 120, 300}; }

// The selected row of the nature list. The list always has one of its 25 rows
// selected; anything else would index past the nature table, so it reads as 0.
int32_t selectedNature(ControlHandle combo) {
  int32_t row = platformSelectedListRow(combo);
  return (row >= 0 && row < kNatureCount) ? row : 0;
}

// Step 1 starts afresh: nature 0 (row 0 selected), ranges 0..31, narrowing
// levels 0, no measurement, no PID list; the base-stat edits show the base stats.
void build(AppState& app) {
  app.screen1.speciesEdit = createControl(app, ControlKind::kTabStopEdit, kSpeciesEditId, 140, 5, 90, 22);
  app.screen1.speciesButton =
      createControl(app, ControlKind::kPushButton, kCmdSpecies, 240, 6, 110, 20, texts::kTextSpeciesButton);
  for (int i = 0; i < kStatCount; ++i)
    app.screen1.baseStatEdits[i] =
        platformCreateControl(app, ControlKind::kTabStopEdit, kBaseStatEditFirstId + i, baseStatEditRect(i), "");
  app.screen1.levelEdit = createControl(app, ControlKind::kTabStopEdit, kLevelEditId, 82, 60, 30, 22);
  for (int i = 0; i < kStatCount; ++i)
    app.screen1.statEdits[i] = createControl(app, ControlKind::kTabStopEdit, kStatEditFirstId + i, 132 + 50 * i, 60, 30, 22);
  app.screen1.natureCombo = platformCreateControl(app, ControlKind::kDropDownList, kNatureComboId, natureComboRect(), "");
  fillNatureCombo(app, app.screen1.natureCombo);
  app.screen1.resetButton = createControl(app, ControlKind::kPushButton, kCmdReset, 450, 30, 80, 20, texts::kTextResetButton);
  app.screen1.addButton = createControl(app, ControlKind::kPushButton, kCmdAdd, 10, 85, 40, 20, texts::kTextAddButton);
  app.screen1.searchButton =
      createControl(app, ControlKind::kPushButton, kCmdSearch, 560, 185, 160, 20, texts::kTextSearchButton);
  app.screen1.ivEntryButton =
      createControl(app, ControlKind::kPushButton, kCmdIvEntry, 740, 185, 40, 20, texts::kTextIvEntryButton);

  startStepOne(app.measure, app.pids);
  platformSelectListRow(app.screen1.natureCombo, 0);
  for (int i = 0; i < kStatCount; ++i) setNumberText(app, app.screen1.baseStatEdits[i], app.measure.baseStats[i]);
}

void tearDown(AppState& app) {
  platformDestroyControl(app.screen1.speciesEdit);
  platformDestroyControl(app.screen1.speciesButton);
  for (ControlHandle& h : app.screen1.baseStatEdits) platformDestroyControl(h);
  platformDestroyControl(app.screen1.levelEdit);
  for (ControlHandle& h : app.screen1.statEdits) platformDestroyControl(h);
  platformDestroyControl(app.screen1.natureCombo);
  platformDestroyControl(app.screen1.resetButton);
  platformDestroyControl(app.screen1.addButton);
  platformDestroyControl(app.screen1.searchButton);
  platformDestroyControl(app.screen1.ivEntryButton);
  for (ControlHandle& h : app.screen1.candidateButtons) platformDestroyControl(h);
}

// "リセット": the six base-stat edits again, now plain edits skipped by Tab,
// showing AppState.measure.baseStats, and the nature list with AppState.measure.natureIndex
// selected. The level and stat edits keep their texts.
void rebuildStepOneInputs(AppState& app) {
  for (int i = 0; i < kStatCount; ++i)
    app.screen1.baseStatEdits[i] =
        platformCreateControl(app, ControlKind::kPlainEdit, kBaseStatEditFirstId + i, baseStatEditRect(i), "");
  app.screen1.natureCombo = platformCreateControl(app, ControlKind::kDropDownList, kNatureComboId, natureComboRect(), "");
  fillNatureCombo(app, app.screen1.natureCombo);
  platformSelectListRow(app.screen1.natureCombo, app.measure.natureIndex);
  for (int i = 0; i < kStatCount; ++i) setNumberText(app, app.screen1.baseStatEdits[i], app.measure.baseStats[i]);
}

// One "この値で次へ" button per listed PID candidate, slot i at y 208 + 25 i.
// After a range search only buttons with y below 583 are made (15 at most),
// so a 16th candidate is listed without one.
void createCandidateButtons(AppState& app, bool afterRangeSearch) {
  for (int i = 0; i < app.pids.pidCandidateCount && i < kMaxPidCandidates; ++i) {
    int32_t y = 208 + 25 * i;
    if (afterRangeSearch && y >= kCandidateButtonYLimit) break;
    app.screen1.candidateButtons[i] = createControl(app, ControlKind::kPushButton, kCmdFirstCandidate + i, 670, y, 120, 22,
                                            texts::kTextCandidateButton);
  }
}

void paint(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep1Title);
  platformPaintText(s, 10, 37, texts::kTextBaseStats);
  for (int i = 0; i < kStatCount; ++i) platformPaintText(s, 120 + 50 * i, 37, kStatLabels[i]);
  platformPaintText(s, 10, 62, texts::kTextObservedStats);
  platformPaintText(s, 70, 62, texts::kTextLevelLetter);
  for (int i = 0; i < kStatCount; ++i) platformPaintText(s, 120 + 50 * i, 62, kStatLabels[i]);
  platformPaintText(s, 570, 10, texts::kTextCandidates);
  for (int i = 0; i < kStatCount; ++i) platformPaintText(s, 580, 35 + 25 * i, kStatLabels[i]);
  platformPaintText(s, 670, 10, texts::kTextNarrowLevel);
  platformPaintText(s, 430, 183, texts::kTextStep2Title);

  // After the first measurement the base-stat edits and the nature list are
  // gone; the values they gave stand in their place.
  if (app.measure.measurementCount >= 1) {
    for (int i = 0; i < kStatCount; ++i) {
      platformPaintText(s, 134 + 50 * i, 37, formatted(app, "%d", app.measure.baseStats[i]));
      const IvRange& r = app.measure.ivRanges[i];
      if (isFixed(r)) {
        std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", r.low);
      } else {
        std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d-%d", r.low, r.high);
      }
      platformPaintText(s, 600, 35 + 25 * i, app.scratch.textBuffer);
      if (app.measure.narrowLevels[i] != 0) platformPaintText(s, 700, 35 + 25 * i, formatted(app, "%d", app.measure.narrowLevels[i]));
    }
    platformPaintText(s, 433, 63, app.natureTable.rows[app.measure.natureIndex].name);
    for (int r = 0; r < app.measure.measurementCount && r < kMaxMeasurements; ++r) {
      const MeasurementRow& row = app.measure.measurements[r];
      for (int c = 0; c <= kStatCount; ++c) {
        int32_t value = c == 0 ? row.level : row.stats[c - 1];
        const char* text = value == -1 ? texts::kTextNotMeasured : formatted(app, "%d", value);
        platformPaintText(s, 84 + 50 * c, 87 + 25 * r, text);
      }
    }
  }

  platformPaintLine(s, 420, 180, 800, 180);
  platformPaintLine(s, 420, 180, 420, 600);

  if (app.pids.pidCandidateCount == 0) {
    platformPaintText(s, 440, 210, texts::kTextNoCandidate);
  } else {
    for (int i = 0; i < app.pids.pidCandidateCount && i < kMaxPidCandidates; ++i) {
      uint32_t pid = app.pids.pidCandidates[i].pid;
      std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextCandidateLine, pid,
                    static_cast<int>((pid & 1u) + 1u), static_cast<int>(pid & 0xFFu));
      platformPaintText(s, 440, 210 + 25 * i, app.scratch.textBuffer);
    }
  }
}

// 10 "リセット": only after a measurement. Candidate buttons already made stay
// and keep handing over their candidates.
void commandReset(AppState& app, int32_t) {
  if (!resetMeasurement(app.measure, app.pids)) return;
  rebuildStepOneInputs(app);
  platformInvalidate(app);
}

// 130 "追加".
void commandAdd(AppState& app, int32_t) {
  if (app.measure.measurementCount == 0) {
    StatBlock base{};
    for (int i = 0; i < kStatCount; ++i) base[i] = readDecimalControl(app, app.screen1.baseStatEdits[i], kReadStatEdit);
    for (ControlHandle& h : app.screen1.baseStatEdits) platformDestroyControl(h);
    int32_t level = readDecimalControl(app, app.screen1.levelEdit, kReadStatEdit);
    StatBlock stats{};
    for (int i = 0; i < kStatCount; ++i) stats[i] = readDecimalControl(app, app.screen1.statEdits[i], kReadStatEdit);
    int32_t nature = selectedNature(app.screen1.natureCombo);
    platformDestroyControl(app.screen1.natureCombo);
    takeFirstMeasurement(app.measure, app.natureTable, base, nature, level, stats);
  } else if (app.measure.measurementCount < kMaxMeasurements) {
    int32_t level = readDecimalControl(app, app.screen1.levelEdit, kReadStatEdit);
    StatBlock stats{};
    // A stat whose IV is already fixed is not read; it is recorded as -1.
    for (int i = 0; i < kStatCount; ++i)
      stats[i] = isFixed(app.measure.ivRanges[i]) ? -1 : readDecimalControl(app, app.screen1.statEdits[i], kReadStatEdit);
    takeNextMeasurement(app.measure, app.natureTable, level, stats);
  }
  // With all 20 rows taken nothing is read or recorded; the window only repaints.
  platformInvalidate(app);
}

// 132 "↑の個体値で逆算".
void commandSearch(AppState& app, int32_t) {
  if (app.measure.measurementCount == 0) app.measure.natureIndex = selectedNature(app.screen1.natureCombo);
  PidSearchKind kind = searchPidCandidates(app.pids, app.measure);
  // Open ranges and no measurement: the old list, its count and buttons stay.
  if (kind == PidSearchKind::kNotRun) return;
  for (ControlHandle& h : app.screen1.candidateButtons) platformDestroyControl(h);
  createCandidateButtons(app, kind == PidSearchKind::kRange);
  platformInvalidate(app);
}

// 133 "入力".
void commandIvEntry(AppState& app, int32_t) {
  if (app.measure.measurementCount == 0) app.measure.natureIndex = selectedNature(app.screen1.natureCombo);
  ivEntryDialog(app);
}

// 162 "種族値を↓に": fills the base-stat edits only; AppState is not changed.
void commandSpecies(AppState& app, int32_t) {
  const SpeciesRecord* found = findSpecies(app, readControl(app, app.screen1.speciesEdit, kReadSpeciesEdit));
  if (found == nullptr) return;
  for (int i = 0; i < kStatCount; ++i) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", found->baseStats[i]);
    platformSetText(app.screen1.baseStatEdits[i], app.scratch.textBuffer);
  }
}

// 140..159 "この値で次へ": the candidate's generator state goes to step 3. The
// slot is read without a test against the count, so buttons left standing by
// "リセット" still carry their candidates.
void commandCandidate(AppState& app, int32_t id) {
  app.seeds.currentSeed = app.pids.pidCandidates[id - kCmdFirstCandidate].currentSeed;
  shellSwitchScreen(app, ScreenMode::kTwo);
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", app.seeds.currentSeed);
  platformSetText(app.screen2.currentSeedEdit, app.scratch.textBuffer);
  platformInvalidate(app);
}

constexpr ScreenCommand kCommands[] = {
    {kCmdReset, kCmdReset, commandReset},
    {kCmdAdd, kCmdAdd, commandAdd},
    {kCmdSearch, kCmdSearch, commandSearch},
    {kCmdIvEntry, kCmdIvEntry, commandIvEntry},
    {kCmdFirstCandidate, kCmdFirstCandidate + kMaxPidCandidates - 1, commandCandidate},
    {kCmdSpecies, kCmdSpecies, commandSpecies},
};

}  // namespace

const Screen kScreenSteps12{
    .mode = ScreenMode::kOne,
    .menuId = kCmdScreenOne,
    .build = build,
    .tearDown = tearDown,
    .paint = paint,
    .commands = kCommands,
    .commandCount = static_cast<int32_t>(std::size(kCommands)),
};
