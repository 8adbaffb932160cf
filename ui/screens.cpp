#include "ui/screens.h"

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "core/measurement.h"
#include "core/seed_time.h"
#include "data/tables.h"
#include "quillmar/texts.h"

namespace {

constexpr int32_t kBaseStatEditFirstId = 101;
constexpr int32_t kLevelEditId = 110;
constexpr int32_t kStatEditFirstId = 111;
constexpr int32_t kNatureComboId = 120;
constexpr int32_t kSpeciesEditId = 161;
constexpr int32_t kCurrentSeedEditId = 210;
constexpr int32_t kHourEditId = 211;
constexpr int32_t kStepLimitEditId = 211;  // shares its id with the hour edit; only handles tell them apart
constexpr int32_t kTidEditId = 300;
constexpr int32_t kSidEditId = 301;
constexpr int32_t kInitialSeedEditId = 302;
constexpr int32_t kMarriageCheckId = 303;
constexpr int32_t kFrameCountEditId = 305;
constexpr int32_t kShinyOnlyCheckId = 306;
constexpr int32_t kNatureFilterComboId = 307;  // 307..309: nature, gender, ability
constexpr int32_t kSeedResultEditFirstId = 240;
constexpr int32_t kYearEditId = 400;
constexpr int32_t kSearchTidEditId = 401;
constexpr int32_t kSearchSidEditId = 402;
constexpr int32_t kSearchMarriageCheckId = 403;
constexpr int32_t kSearchShinyOnlyCheckId = 404;
constexpr int32_t kSearchNatureComboId = 405;  // 405..407: nature, gender, ability
constexpr int32_t kMaxFrameEditId = 408;
constexpr int32_t kDelayMinEditId = 409;
constexpr int32_t kDelayMaxEditId = 410;
constexpr int32_t kMomentSeedEditId = 500;
constexpr int32_t kMomentYearEditId = 501;
constexpr int32_t kTargetMomentEditId = 600;
constexpr int32_t kTargetDelayEditId = 601;
constexpr int32_t kCalibrationSecondsEditId = 602;
constexpr int32_t kCalibrationDelaysEditId = 603;
constexpr int32_t kHitSeedEditId = 604;
constexpr int32_t kDelayCalibrationEditId = 610;
constexpr int32_t kSecondCalibrationEditId = 611;
constexpr int32_t kMinFirstPhaseEditId = 612;

// Screen 3: step 5 on the left of the line at x 570, step 6 on its right.
// Everything stays within 790 x 535, the client area the 800 x 600 Win32
// window leaves below its caption and menu bar. The hit columns stay apart in
// the wider font Wine draws with, for frames up to 999.
constexpr int32_t kStepSixX = 575;
constexpr int32_t kHitFirstY = 135;
constexpr int32_t kHitLineStep = 25;
constexpr int32_t kMomentFirstY = 85;
constexpr int32_t kMomentLineStep = 25;
// Columns of a hit line and its header: seed, frame, PID, nature, ability,
// gender value, shiny mark, delay; then its button.
constexpr int32_t kHitColumns[8] = {10, 100, 218, 290, 370, 402, 454, 472};
constexpr int32_t kHitButtonX = 515;
constexpr int32_t kHitButtonWidth = 50;
// Notes on the search, below the 14th hit line: too long for the status
// beside "中止", each one line of at most 34 full-width characters (16 pixels
// each in the font Wine draws with) left of step 6; three lines end within the
// 535 pixels of the Win32 client area.
constexpr int32_t kNoteX = 10;
constexpr int32_t kNoteFirstY = 485;
constexpr int32_t kNoteLineStep = 16;

// Step 6's "狙う" buttons, level with the moment lines, right of their text.
constexpr int32_t kAimButtonX = kStepSixX + 135;
constexpr int32_t kAimButtonWidth = 40;

// Screen 4: step 7 on the left of the line at x 400, step 8 (the timer) on
// its right. The table shows kCalibrationShownSeconds columns of seconds and
// kCalibrationShownDelays rows of delays.
constexpr int32_t kStepEightX = 400;
constexpr int32_t kTableHeaderY = 178;
constexpr int32_t kTableFirstY = 198;
constexpr int32_t kTableRowStep = 21;
constexpr int32_t kTableFirstX = 60;
constexpr int32_t kTableColumnStep = 110;
constexpr int32_t kTableCellWidth = 100;
// Step 8's countdown: the phase, then its time left in large digits, inside
// the area that flashes black at a phase's end.
constexpr int32_t kStepEightLeft = kStepEightX + 10;
constexpr int32_t kFlashTop = 245;
constexpr int32_t kFlashBottom = 335;

// The last candidate-button row must start above this y after a range search.
constexpr int32_t kCandidateButtonYLimit = 583;

ControlHandle create(const AppState& app, ControlKind kind, int32_t id, int32_t x, int32_t y, int32_t w, int32_t h,
                     const char* caption = "") {
  return platformCreateControl(app, kind, id, ControlRect{x, y, w, h}, caption);
}

ControlRect baseStatEditRect(int i) { return ControlRect{132 + 50 * i, 35, 30, 22}; }
ControlRect natureComboRect() { return ControlRect{430, 60, 120, 300}; }

void fillNatureCombo(AppState& app, ControlHandle combo) {
  for (int n = 0; n < kNatureCount; ++n) platformAddListRow(combo, app.natureTable.rows[n].name);
}

void setNumberText(AppState& app, ControlHandle handle, int32_t value) {
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", value);
  platformSetText(handle, app.textBuffer);
}

// The nature, gender and ability filters of steps 4 and 5, with ids firstId,
// firstId + 1 and firstId + 2, each with its option 0 "指定しない" selected.
void createFilterLists(AppState& app, int32_t firstId, const ControlRect (&rects)[3], ControlHandle& nature,
                       ControlHandle& gender, ControlHandle& ability) {
  nature = platformCreateControl(app, ControlKind::kDropDownList, firstId, rects[0], "");
  platformAddListRow(nature, texts::kTextNoFilter);
  fillNatureCombo(app, nature);
  platformSelectListRow(nature, 0);
  gender = platformCreateControl(app, ControlKind::kDropDownList, firstId + 1, rects[1], "");
  for (const char* option : kGenderFilterOptions) platformAddListRow(gender, option);
  platformSelectListRow(gender, 0);
  ability = platformCreateControl(app, ControlKind::kDropDownList, firstId + 2, rects[2], "");
  for (const char* option : kAbilityFilterOptions) platformAddListRow(ability, option);
  platformSelectListRow(ability, 0);
}

void buildScreenOne(AppState& app) {
  app.speciesEdit = create(app, ControlKind::kTabStopEdit, kSpeciesEditId, 140, 5, 90, 22);
  app.speciesButton = create(app, ControlKind::kPushButton, kCmdSpecies, 240, 6, 110, 20, texts::kTextSpeciesButton);
  for (int i = 0; i < kStatCount; ++i)
    app.baseStatEdits[i] =
        platformCreateControl(app, ControlKind::kTabStopEdit, kBaseStatEditFirstId + i, baseStatEditRect(i), "");
  app.levelEdit = create(app, ControlKind::kTabStopEdit, kLevelEditId, 82, 60, 30, 22);
  for (int i = 0; i < kStatCount; ++i)
    app.statEdits[i] = create(app, ControlKind::kTabStopEdit, kStatEditFirstId + i, 132 + 50 * i, 60, 30, 22);
  app.natureCombo = platformCreateControl(app, ControlKind::kDropDownList, kNatureComboId, natureComboRect(), "");
  fillNatureCombo(app, app.natureCombo);
  app.resetButton = create(app, ControlKind::kPushButton, kCmdReset, 450, 30, 80, 20, texts::kTextResetButton);
  app.addButton = create(app, ControlKind::kPushButton, kCmdAdd, 10, 85, 40, 20, texts::kTextAddButton);
  app.searchButton = create(app, ControlKind::kPushButton, kCmdSearch, 560, 185, 160, 20, texts::kTextSearchButton);
  app.ivEntryButton = create(app, ControlKind::kPushButton, kCmdIvEntry, 740, 185, 40, 20, texts::kTextIvEntryButton);

  // Step 1 starts afresh: nature 0 (row 0 selected), ranges 0..31, narrowing
  // levels 0, no measurement, no PID list; the base-stat edits show the base stats.
  startStepOne(app);
  platformSelectListRow(app.natureCombo, 0);
  for (int i = 0; i < kStatCount; ++i) setNumberText(app, app.baseStatEdits[i], app.baseStats[i]);
}

void buildScreenTwo(AppState& app) {
  app.currentSeedEdit = create(app, ControlKind::kPlainEdit, kCurrentSeedEditId, 85, 25, 120, 22);
  app.hourEdit = create(app, ControlKind::kPlainEdit, kHourEditId, 85, 50, 20, 22, "12");
  app.seedSearchButton =
      create(app, ControlKind::kFramedPushButton, kCmdSeedSearch, 135, 50, 180, 22, texts::kTextSeedSearchButton);
  app.stepLimitEdit = create(app, ControlKind::kPlainEdit, kStepLimitEditId, 250, 25, 40, 22, "1000");
  app.tidEdit = create(app, ControlKind::kPlainEdit, kTidEditId, 458, 52, 50, 22);
  app.sidEdit = create(app, ControlKind::kPlainEdit, kSidEditId, 563, 52, 50, 22);
  app.initialSeedEdit = create(app, ControlKind::kPlainEdit, kInitialSeedEditId, 490, 27, 120, 22);
  app.marriageCheck = create(app, ControlKind::kCheckBox, kMarriageCheckId, 415, 80, 100, 30, texts::kTextMarriageCheck);
  app.outputButton = create(app, ControlKind::kFramedPushButton, kCmdOutput, 530, 230, 50, 22, texts::kTextOutputButton);
  app.frameCountEdit = create(app, ControlKind::kPlainEdit, kFrameCountEditId, 415, 230, 60, 22, "50000");
  app.shinyOnlyCheck =
      create(app, ControlKind::kCheckBox, kShinyOnlyCheckId, 530, 80, 100, 30, texts::kTextShinyOnlyCheck);

  createFilterLists(app, kNatureFilterComboId, {{460, 130, 120, 300}, {460, 160, 120, 300}, {460, 190, 120, 300}},
                    app.natureFilterCombo, app.genderFilterCombo, app.abilityFilterCombo);

  app.seedCandidateCount = -1;
}

// The year the console's clock most likely shows: this year on the computer's
// clock, kept within the clock's 2000..2099.
int32_t thisYear() {
  std::time_t now = std::time(nullptr);
  std::tm* utc = std::gmtime(&now);
  int32_t year = utc != nullptr ? utc->tm_year + 1900 : kClockFirstYear;
  return year < kClockFirstYear ? kClockFirstYear : year > kClockLastYear ? kClockLastYear : year;
}

void buildScreenThree(AppState& app) {
  int32_t year = app.searchStatus != SearchStatus::kIdle ? app.searchYear : thisYear();
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", year);
  app.yearEdit = create(app, ControlKind::kPlainEdit, kYearEditId, 40, 27, 45, 22, app.textBuffer);
  app.searchTidEdit = create(app, ControlKind::kPlainEdit, kSearchTidEditId, 140, 27, 50, 22);
  app.searchSidEdit = create(app, ControlKind::kPlainEdit, kSearchSidEditId, 245, 27, 50, 22);
  if (app.idsKnown != 0) {
    setNumberText(app, app.searchTidEdit, app.lastTid);
    setNumberText(app, app.searchSidEdit, app.lastSid);
  }
  app.searchMarriageCheck =
      create(app, ControlKind::kCheckBox, kSearchMarriageCheckId, 310, 24, 95, 28, texts::kTextMarriageCheck);
  app.searchShinyOnlyCheck =
      create(app, ControlKind::kCheckBox, kSearchShinyOnlyCheckId, 410, 24, 110, 28, texts::kTextShinyOnlyCheck);

  createFilterLists(app, kSearchNatureComboId, {{50, 55, 120, 300}, {225, 55, 100, 300}, {380, 55, 100, 300}},
                    app.searchNatureCombo, app.searchGenderCombo, app.searchAbilityCombo);

  app.maxFrameEdit = create(app, ControlKind::kPlainEdit, kMaxFrameEditId, 10, 83, 45, 22, "100");
  app.delayMinEdit = create(app, ControlKind::kPlainEdit, kDelayMinEditId, 150, 83, 50, 22, "300");
  app.delayMaxEdit = create(app, ControlKind::kPlainEdit, kDelayMaxEditId, 222, 83, 50, 22, "9999");
  app.eggSearchButton =
      create(app, ControlKind::kFramedPushButton, kCmdEggSearch, 285, 83, 70, 22, texts::kTextEggSearchButton);
  app.eggSearchStopButton =
      create(app, ControlKind::kFramedPushButton, kCmdEggSearchStop, 362, 83, 60, 22, texts::kTextEggSearchStopButton);
  createHitButtons(app);

  app.momentSeedEdit = create(app, ControlKind::kPlainEdit, kMomentSeedEditId, kStepSixX + 50, 27, 105, 22);
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", year);
  app.momentYearEdit =
      create(app, ControlKind::kPlainEdit, kMomentYearEditId, kStepSixX + 50, 52, 45, 22, app.textBuffer);
  app.momentButton = create(app, ControlKind::kFramedPushButton, kCmdMoments, kStepSixX + 100, 52, 115, 22,
                            texts::kTextMomentButton);
  app.toStepFourButton = create(app, ControlKind::kFramedPushButton, kCmdSeedToStepFour, kStepSixX + 5, 370, 210,
                                22, texts::kTextToStepFourButton);
  app.momentCount = -1;
  app.handOverFromHit = 0;
}

void buildScreenFour(AppState& app) {
  app.targetMomentEdit = create(app, ControlKind::kPlainEdit, kTargetMomentEditId, 55, 27, 165, 22);
  app.targetDelayEdit = create(app, ControlKind::kPlainEdit, kTargetDelayEditId, 270, 27, 55, 22);
  if (app.targetSet != 0) {
    const ConsoleMoment& t = app.target;
    std::snprintf(app.textBuffer, sizeof app.textBuffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    platformSetText(app.targetMomentEdit, app.textBuffer);
    setNumberText(app, app.targetDelayEdit, t.delay);
  }
  app.calibrationSecondsEdit = create(app, ControlKind::kPlainEdit, kCalibrationSecondsEditId, 45, 52, 40, 22);
  setNumberText(app, app.calibrationSecondsEdit, app.calibrationSeconds);
  app.calibrationDelaysEdit = create(app, ControlKind::kPlainEdit, kCalibrationDelaysEditId, 150, 52, 45, 22);
  setNumberText(app, app.calibrationDelaysEdit, app.calibrationDelays);
  app.calibrateButton = create(app, ControlKind::kFramedPushButton, kCmdCalibrate, 210, 52, 95, 22,
                               texts::kTextCalibrateButton);
  app.hitSeedEdit = create(app, ControlKind::kPlainEdit, kHitSeedEditId, 120, 77, 105, 22);
  app.applyCorrectionButton = create(app, ControlKind::kFramedPushButton, kCmdApplyCorrection, 300, 148, 95, 22,
                                     texts::kTextApplyCorrectionButton);

  app.delayCalibrationEdit =
      create(app, ControlKind::kPlainEdit, kDelayCalibrationEditId, kStepEightLeft + 115, 102, 70, 22);
  setNumberText(app, app.delayCalibrationEdit, app.delayCalibration);
  app.secondCalibrationEdit =
      create(app, ControlKind::kPlainEdit, kSecondCalibrationEditId, kStepEightLeft + 115, 127, 70, 22);
  setNumberText(app, app.secondCalibrationEdit, app.secondCalibration);
  app.minFirstPhaseEdit = create(app, ControlKind::kPlainEdit, kMinFirstPhaseEditId, kStepEightLeft + 115, 152, 70, 22);
  setNumberText(app, app.minFirstPhaseEdit, app.minFirstPhase);
  app.planButton =
      create(app, ControlKind::kFramedPushButton, kCmdPlan, kStepEightLeft + 200, 152, 60, 22, texts::kTextPlanButton);
  app.timerButton = create(app, ControlKind::kFramedPushButton, kCmdTimer, kStepEightLeft + 5, 205, 220, 30,
                           texts::kTextTimerButton);
  // The space bar presses the focused button: the timer's, from the start.
  platformFocusControl(app.timerButton);
  if (app.typedHitSet != 0) {
    std::snprintf(app.textBuffer, sizeof app.textBuffer, "0x%08X", app.typedHitSeed);
    platformSetText(app.hitSeedEdit, app.textBuffer);
  }
}

// --- painting ---------------------------------------------------------------

const char* formatted(AppState& app, const char* format, int32_t value) {
  std::snprintf(app.textBuffer, sizeof app.textBuffer, format, value);
  return app.textBuffer;
}

void paintScreenOne(AppState& app, PaintSurface s) {
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
  if (app.measurementCount >= 1) {
    for (int i = 0; i < kStatCount; ++i) {
      platformPaintText(s, 134 + 50 * i, 37, formatted(app, "%d", app.baseStats[i]));
      const IvRange& r = app.ivRanges[i];
      if (isFixed(r)) {
        std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", r.low);
      } else {
        std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d-%d", r.low, r.high);
      }
      platformPaintText(s, 600, 35 + 25 * i, app.textBuffer);
      if (app.narrowLevels[i] != 0) platformPaintText(s, 700, 35 + 25 * i, formatted(app, "%d", app.narrowLevels[i]));
    }
    platformPaintText(s, 433, 63, app.natureTable.rows[app.natureIndex].name);
    for (int r = 0; r < app.measurementCount && r < kMaxMeasurements; ++r) {
      const MeasurementRow& row = app.measurements[r];
      for (int c = 0; c <= kStatCount; ++c) {
        int32_t value = c == 0 ? row.level : row.stats[c - 1];
        const char* text = value == -1 ? texts::kTextNotMeasured : formatted(app, "%d", value);
        platformPaintText(s, 84 + 50 * c, 87 + 25 * r, text);
      }
    }
  }

  platformPaintLine(s, 420, 180, 800, 180);
  platformPaintLine(s, 420, 180, 420, 600);

  if (app.pidCandidateCount == 0) {
    platformPaintText(s, 440, 210, texts::kTextNoCandidate);
  } else {
    for (int i = 0; i < app.pidCandidateCount && i < kMaxPidCandidates; ++i) {
      uint32_t pid = app.pidCandidates[i].pid;
      std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextCandidateLine, pid,
                    static_cast<int>((pid & 1u) + 1u), static_cast<int>(pid & 0xFFu));
      platformPaintText(s, 440, 210 + 25 * i, app.textBuffer);
    }
  }
}

void paintScreenTwo(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep3Title);
  platformPaintText(s, 10, 27, texts::kTextCurrentSeed);
  platformPaintText(s, 10, 52, texts::kTextRunHour);
  platformPaintText(s, 107, 52, texts::kTextHourUnit);
  platformPaintText(s, 292, 27, texts::kTextStepLimitUnit);
  platformPaintText(s, 15, 75, texts::kTextCandidates);
  platformPaintText(s, 405, 5, texts::kTextStep4Title);
  platformPaintText(s, 415, 30, texts::kTextInitialSeed);
  platformPaintText(s, 415, 55, texts::kTextTid);
  platformPaintText(s, 520, 55, texts::kTextSid);
  platformPaintText(s, 477, 230, texts::kTextFrameUnit);
  platformPaintText(s, 420, 132, texts::kTextNatureLabel);
  platformPaintText(s, 420, 162, texts::kTextGenderLabel);
  platformPaintText(s, 420, 192, texts::kTextAbilityLabel);
  for (int i = 0; i < app.seedCandidateCount && i < kMaxSeedCandidates; ++i)
    platformPaintText(s, 20, 100 + 25 * i, formatted(app, texts::kTextStepsBack, app.seedCandidates[i].stepIndex));
  platformPaintLine(s, 400, -1, 400, 600);
}

// Why a file could not be written, from the errno value, in the player's words.
void formatWriteFailure(AppState& app, int32_t error) {
  const char* reason = nullptr;
  switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      reason = texts::kTextNoSpace;
      break;
    case EACCES:  // also a file another program holds open on Windows
    case EPERM:
      reason = texts::kTextWriteRefused;
      break;
    case EISDIR: reason = texts::kTextFolderInTheWay; break;
    case EROFS: reason = texts::kTextReadOnlyDisk; break;
    case EFBIG: reason = texts::kTextFileTooLarge; break;
    case ENAMETOOLONG: reason = texts::kTextNameTooLong; break;
    case ENOENT: reason = texts::kTextFolderGone; break;
    case EIO: reason = texts::kTextDiskError; break;
    default: break;
  }
  char number[32];
  if (reason == nullptr) {
    std::snprintf(number, sizeof number, texts::kTextErrorNumber, error);
    reason = number;
  }
  std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextHitFileNotWritten, reason);
}

// Below the list: a search that did not start, then, for the list shown, a
// cut at the hit limit and a hit file that was not written.
void paintSearchNotes(AppState& app, PaintSurface s) {
  int32_t y = kNoteFirstY;
  if (app.searchNotStarted != 0) {
    platformPaintText(s, kNoteX, y, texts::kTextSearchNotStarted);
    y += kNoteLineStep;
  }
  if (app.searchStatus != SearchStatus::kFinished && app.searchStatus != SearchStatus::kStopped) return;
  if (app.searchHitsCut != 0) {
    platformPaintText(s, kNoteX, y, formatted(app, texts::kTextHitsCut, app.searchHitTotal));
    y += kNoteLineStep;
  }
  if (app.hitFileError != 0) {
    formatWriteFailure(app, app.hitFileError);
    platformPaintText(s, kNoteX, y, app.textBuffer);
  }
}

void paintScreenThree(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep5Title);
  platformPaintText(s, 10, 29, texts::kTextYear);
  platformPaintText(s, 100, 29, texts::kTextTid);
  platformPaintText(s, 205, 29, texts::kTextSid);
  platformPaintText(s, 10, 57, texts::kTextNatureLabel);
  platformPaintText(s, 185, 57, texts::kTextGenderLabel);
  platformPaintText(s, 340, 57, texts::kTextAbilityLabel);
  platformPaintText(s, 57, 85, texts::kTextFrameUnit);
  platformPaintText(s, 108, 85, texts::kTextDelayLabel);
  platformPaintText(s, 204, 85, texts::kTextRangeDash);
  if (app.searchStatus == SearchStatus::kRunning) {
    platformPaintText(s, 430, 85, formatted(app, texts::kTextSearchRunning, app.searchPercent));
  } else if (app.searchStatus == SearchStatus::kFinished) {
    platformPaintText(s, 430, 85, formatted(app, texts::kTextSearchFinished, app.searchHitTotal));
  } else if (app.searchStatus == SearchStatus::kStopped) {
    platformPaintText(s, 430, 85, formatted(app, texts::kTextSearchStopped, app.searchHitTotal));
  }

  const char* headers[8] = {texts::kTextHitSeedHeader,    texts::kTextHitFrameHeader,  texts::kTextHitPidHeader,
                            texts::kTextHitNatureHeader,  texts::kTextHitAbilityHeader, texts::kTextHitGenderHeader,
                            texts::kTextHitShinyHeader,   texts::kTextHitDelayHeader};
  for (int c = 0; c < 8; ++c) platformPaintText(s, kHitColumns[c], 112, headers[c]);
  platformPaintLine(s, 5, 130, kStepSixX - 10, 130);
  if (app.hitCount == 0) platformPaintText(s, kHitColumns[0], kHitFirstY + 2, texts::kTextNoCandidate);
  for (int i = 0; i < app.hitCount && i < kMaxShownHits; ++i) {
    const SearchHit& hit = app.hits[i];
    int32_t y = kHitFirstY + 2 + kHitLineStep * i;
    platformPaintText(s, kHitColumns[0], y, formatted(app, "0x%08X", static_cast<int32_t>(hit.seed)));
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextHitFrame, hit.frame, hit.frame / 12,
                  hit.frame % 12);
    platformPaintText(s, kHitColumns[1], y, app.textBuffer);
    platformPaintText(s, kHitColumns[2], y, formatted(app, "%08X", static_cast<int32_t>(hit.pid)));
    platformPaintText(s, kHitColumns[3], y, app.natureTable.rows[hit.pid % kNatureCount].name);
    platformPaintText(s, kHitColumns[4], y, formatted(app, "%d", static_cast<int32_t>((hit.pid & 1u) + 1u)));
    platformPaintText(s, kHitColumns[5], y, formatted(app, "%d", static_cast<int32_t>(hit.pid & 0xFFu)));
    if (hit.shiny != 0) platformPaintText(s, kHitColumns[6], y, texts::kTextShinyMark);
    platformPaintText(s, kHitColumns[7], y, formatted(app, "%d", hit.delay));
  }
  paintSearchNotes(app, s);

  platformPaintLine(s, kStepSixX - 5, -1, kStepSixX - 5, 600);
  platformPaintText(s, kStepSixX + 5, 5, texts::kTextStep6Title);
  platformPaintText(s, kStepSixX + 5, 29, texts::kTextMomentSeed);
  platformPaintText(s, kStepSixX + 5, 54, texts::kTextYear);
  if (app.momentCount == 0) {
    SeedTimeVerdict verdict = seedTimeVerdict(app.momentSeed, app.momentYear);
    platformPaintText(s, kStepSixX + 10, kMomentFirstY,
                      verdict == SeedTimeVerdict::kHourOutOfRange ? texts::kTextNoMomentHour : texts::kTextNoMoment);
  }
  // Every moment of a seed in one year has the same delay: it is shown once,
  // under the list, which leaves each line room for its "狙う" button.
  for (int i = 0; i < app.momentCount && i < kMaxSeedMoments; ++i) {
    const ConsoleMoment& m = app.moments[i];
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextMomentLine, m.month, m.day, m.hour, m.minute,
                  m.second);
    platformPaintText(s, kStepSixX + 10, kMomentFirstY + kMomentLineStep * i, app.textBuffer);
  }
  if (app.momentCount > 0) {
    int32_t y = kMomentFirstY + kMomentLineStep * kMaxSeedMoments;
    platformPaintText(s, kStepSixX + 10, y, formatted(app, texts::kTextMomentTotal, app.momentTotal));
    platformPaintText(s, kStepSixX + 110, y, formatted(app, texts::kTextMomentDelay, app.moments[0].delay));
  }
}

// Milliseconds as seconds with three decimals through a format taking two
// long long values (the whole seconds and the milliseconds).
const char* formattedSeconds(AppState& app, const char* format, int64_t milliseconds) {
  std::snprintf(app.textBuffer, sizeof app.textBuffer, format, static_cast<long long>(milliseconds / 1000),
                static_cast<long long>(milliseconds % 1000));
  return app.textBuffer;
}

// Step 8: the plan (the clock to set and the two phases), the calibrations,
// step 7's second advice, and the countdown in large digits with its flash.
void paintStepEight(AppState& app, PaintSurface s) {
  const int32_t x = kStepEightLeft;
  platformPaintText(s, x - 5, 5, texts::kTextStep8Title);
  if (app.planOutcome == -1) {
    platformPaintText(s, x, 29, texts::kTextPlanNoTarget);
  } else if (app.planOutcome != 0) {
    platformPaintText(s, x, 29,
                      app.planOutcome == 2   ? texts::kTextPlanNegativeDelay
                      : app.planOutcome == 3 ? texts::kTextPlanTooEarly
                                             : texts::kTextPlanInvalid);
  } else {
    const ConsoleMoment& c = app.planClock;
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextPlanClock, c.year, c.month, c.day, c.hour,
                  c.minute);
    platformPaintText(s, x, 29, app.textBuffer);
    platformPaintText(s, x, 52, formattedSeconds(app, texts::kTextPlanFirst, app.planFirstPhase));
    platformPaintText(s, x, 75, formattedSeconds(app, texts::kTextPlanSecond, app.planSecondPhase));
  }
  platformPaintText(s, x, 104, texts::kTextDelayCalibration);
  platformPaintText(s, x, 129, texts::kTextSecondCalibration);
  platformPaintText(s, x, 154, texts::kTextMinFirstPhase);
  if (app.matchCount > 0 && app.matchSecond != 0) {
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextSecondAdvice, app.matchSecond,
                  -500 * app.matchSecond);
    platformPaintText(s, x, 180, app.textBuffer);
  }

  bool flashing = app.countdownPhase != 0 && app.countdownElapsed < app.flashUntil;
  if (flashing) {
    platformPaintFilledRect(s, kStepEightX + 1, kFlashTop, 790, kFlashBottom);
  } else if (app.countdownPhase == 0) {
    platformPaintText(s, x, kFlashTop + 5, texts::kTextPhaseIdle);
  } else {
    const char* label = app.countdownPhase == 1   ? texts::kTextPhaseFirst
                        : app.countdownPhase == 2 ? texts::kTextPhaseSecond
                                                  : texts::kTextPhaseDone;
    platformPaintText(s, x, kFlashTop + 5, label);
    platformPaintLargeText(s, x, kFlashTop + 28, formattedSeconds(app, texts::kTextCountdown, app.countdownRemaining));
  }
  if (app.soundMissing != 0) platformPaintText(s, x, kFlashBottom + 10, texts::kTextNoSound);
}

// Step 7: the target, what the hit seeds matched and what to aim for, and the
// shown part of the table with the target's cell framed and matched cells
// marked.
void paintScreenFour(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep7Title);
  platformPaintText(s, 10, 29, texts::kTextTargetMoment);
  platformPaintText(s, 228, 29, texts::kTextDelayLabel);
  platformPaintText(s, 10, 54, texts::kTextCalibrationSeconds);
  platformPaintText(s, 95, 54, texts::kTextCalibrationDelays);
  platformPaintText(s, 10, 79, texts::kTextHitSeed);
  platformPaintLine(s, kStepEightX, -1, kStepEightX, 600);
  paintStepEight(app, s);
  if (app.targetUnreadable != 0) {
    platformPaintText(s, 10, 106, texts::kTextTargetUnreadable);
  } else if (app.targetSet == 0) {
    platformPaintText(s, 10, 106, texts::kTextNoTarget);
  } else {
    const ConsoleMoment& t = app.target;
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextTargetLine, t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.delay, app.targetSeed);
    platformPaintText(s, 10, 106, app.textBuffer);
  }
  if (app.targetSet == 0) return;
  if (app.hitSeedCount < 0) {
    platformPaintText(s, 10, 129, texts::kTextNoHitSeed);
  } else if (app.matchCount == 0) {
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextNoMatch, app.calibrationSeconds,
                  app.calibrationDelays);
    platformPaintText(s, 10, 129, app.textBuffer);
  } else {
    const ConsoleMoment& m = app.matchMoment;
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextMatchLine, app.matchSeed, m.month, m.day,
                  m.hour, m.minute, m.second, m.delay);
    platformPaintText(s, 10, 129, app.textBuffer);
    std::snprintf(app.textBuffer, sizeof app.textBuffer, texts::kTextCalibrationAdvice, app.matchSecond,
                  app.matchDelay, app.aimDelay);
    platformPaintText(s, 10, 152, app.textBuffer);
  }

  for (int32_t c = 0; c < app.shownSecondCount && c < kCalibrationShownSeconds; ++c) {
    int32_t x = kTableFirstX + kTableColumnStep * c;
    platformPaintText(s, x + 5, kTableHeaderY, formatted(app, texts::kTextSecondColumn, app.shownFirstSecond + c));
    for (int32_t r = 0; r < app.shownDelayCount && r < kCalibrationShownDelays; ++r) {
      int32_t y = kTableFirstY + kTableRowStep * r;
      if (app.shownFirstSecond + c == 0 && app.shownFirstDelay + r == 0)
        platformPaintFrameRect(s, x, y - 2, x + kTableCellWidth, y + kTableRowStep - 2);
      if (app.cellShown[c][r] == 0) {
        platformPaintText(s, x + 5, y, "-");
      } else if (app.cellMatched[c][r] != 0) {
        int32_t seed = static_cast<int32_t>(app.shownSeeds[c][r]);
        platformPaintText(s, x + 5, y, formatted(app, texts::kTextMatchedCell, seed));
      } else {
        platformPaintText(s, x + 5, y, formatted(app, "%08X", static_cast<int32_t>(app.shownSeeds[c][r])));
      }
    }
  }
  platformPaintText(s, 10, kTableHeaderY, texts::kTextHitDelayHeader);
  for (int32_t r = 0; r < app.shownDelayCount && r < kCalibrationShownDelays; ++r)
    platformPaintText(s, 10, kTableFirstY + kTableRowStep * r, formatted(app, "%+d", app.shownFirstDelay + r));
  int32_t legendY = kTableFirstY + kTableRowStep * kCalibrationShownDelays + 5;
  platformPaintText(s, 10, legendY, texts::kTextCalibrationLegend);
  if (app.matchCount > 1) platformPaintText(s, 10, legendY + 23, formatted(app, texts::kTextMatchMore, app.matchCount));
}

}  // namespace

void buildScreen(AppState& app, ScreenMode mode) {
  if (mode == ScreenMode::kOne) buildScreenOne(app);
  if (mode == ScreenMode::kTwo) buildScreenTwo(app);
  if (mode == ScreenMode::kThree) buildScreenThree(app);
  if (mode == ScreenMode::kFour) buildScreenFour(app);
}

void tearDownScreen(AppState& app, ScreenMode mode) {
  if (mode == ScreenMode::kOne) {
    platformDestroyControl(app.speciesEdit);
    platformDestroyControl(app.speciesButton);
    for (ControlHandle& h : app.baseStatEdits) platformDestroyControl(h);
    platformDestroyControl(app.levelEdit);
    for (ControlHandle& h : app.statEdits) platformDestroyControl(h);
    platformDestroyControl(app.natureCombo);
    platformDestroyControl(app.resetButton);
    platformDestroyControl(app.addButton);
    platformDestroyControl(app.searchButton);
    platformDestroyControl(app.ivEntryButton);
    for (ControlHandle& h : app.candidateButtons) platformDestroyControl(h);
  }
  if (mode == ScreenMode::kTwo) {
    platformDestroyControl(app.currentSeedEdit);
    platformDestroyControl(app.hourEdit);
    platformDestroyControl(app.seedSearchButton);
    platformDestroyControl(app.stepLimitEdit);
    for (ControlHandle& h : app.seedResultEdits) platformDestroyControl(h);
    platformDestroyControl(app.tidEdit);
    platformDestroyControl(app.sidEdit);
    platformDestroyControl(app.outputButton);
    platformDestroyControl(app.marriageCheck);
    platformDestroyControl(app.frameCountEdit);
    platformDestroyControl(app.shinyOnlyCheck);
    platformDestroyControl(app.initialSeedEdit);
    platformDestroyControl(app.natureFilterCombo);
    platformDestroyControl(app.genderFilterCombo);
    platformDestroyControl(app.abilityFilterCombo);
  }
  if (mode == ScreenMode::kThree) {
    platformDestroyControl(app.yearEdit);
    platformDestroyControl(app.searchTidEdit);
    platformDestroyControl(app.searchSidEdit);
    platformDestroyControl(app.searchMarriageCheck);
    platformDestroyControl(app.searchShinyOnlyCheck);
    platformDestroyControl(app.searchNatureCombo);
    platformDestroyControl(app.searchGenderCombo);
    platformDestroyControl(app.searchAbilityCombo);
    platformDestroyControl(app.maxFrameEdit);
    platformDestroyControl(app.delayMinEdit);
    platformDestroyControl(app.delayMaxEdit);
    platformDestroyControl(app.eggSearchButton);
    platformDestroyControl(app.eggSearchStopButton);
    for (ControlHandle& h : app.hitButtons) platformDestroyControl(h);
    platformDestroyControl(app.momentSeedEdit);
    platformDestroyControl(app.momentYearEdit);
    platformDestroyControl(app.momentButton);
    platformDestroyControl(app.toStepFourButton);
    for (ControlHandle& h : app.aimButtons) platformDestroyControl(h);
  }
  if (mode == ScreenMode::kFour) {
    platformDestroyControl(app.targetMomentEdit);
    platformDestroyControl(app.targetDelayEdit);
    platformDestroyControl(app.calibrationSecondsEdit);
    platformDestroyControl(app.calibrationDelaysEdit);
    platformDestroyControl(app.calibrateButton);
    platformDestroyControl(app.hitSeedEdit);
    platformDestroyControl(app.applyCorrectionButton);
    platformDestroyControl(app.delayCalibrationEdit);
    platformDestroyControl(app.secondCalibrationEdit);
    platformDestroyControl(app.minFirstPhaseEdit);
    platformDestroyControl(app.planButton);
    platformDestroyControl(app.timerButton);
  }
  app.pidCandidateCount = -1;
}

void rebuildStepOneInputs(AppState& app) {
  for (int i = 0; i < kStatCount; ++i)
    app.baseStatEdits[i] =
        platformCreateControl(app, ControlKind::kPlainEdit, kBaseStatEditFirstId + i, baseStatEditRect(i), "");
  app.natureCombo = platformCreateControl(app, ControlKind::kDropDownList, kNatureComboId, natureComboRect(), "");
  fillNatureCombo(app, app.natureCombo);
  platformSelectListRow(app.natureCombo, app.natureIndex);
  for (int i = 0; i < kStatCount; ++i) setNumberText(app, app.baseStatEdits[i], app.baseStats[i]);
}

void createCandidateButtons(AppState& app, bool afterRangeSearch) {
  for (int i = 0; i < app.pidCandidateCount && i < kMaxPidCandidates; ++i) {
    int32_t y = 208 + 25 * i;
    if (afterRangeSearch && y >= kCandidateButtonYLimit) break;
    app.candidateButtons[i] =
        create(app, ControlKind::kPushButton, kCmdFirstCandidate + i, 670, y, 120, 22, texts::kTextCandidateButton);
  }
}

void createSeedResultEdits(AppState& app) {
  for (int i = 0; i < app.seedCandidateCount && i < kMaxSeedCandidates; ++i) {
    std::snprintf(app.textBuffer, sizeof app.textBuffer, "0x%08X", app.seedCandidates[i].seed);
    app.seedResultEdits[i] =
        create(app, ControlKind::kPlainEdit, kSeedResultEditFirstId + i, 110, 100 + 25 * i, 120, 22, app.textBuffer);
  }
}

void createHitButtons(AppState& app) {
  for (ControlHandle& h : app.hitButtons) platformDestroyControl(h);
  for (int i = 0; i < app.hitCount && i < kMaxShownHits; ++i)
    app.hitButtons[i] = create(app, ControlKind::kPushButton, kCmdFirstHit + i, kHitButtonX,
                               kHitFirstY + kHitLineStep * i, kHitButtonWidth, 22, texts::kTextHitButton);
}

void createAimButtons(AppState& app) {
  for (ControlHandle& h : app.aimButtons) platformDestroyControl(h);
  for (int i = 0; i < app.momentCount && i < kMaxSeedMoments; ++i)
    app.aimButtons[i] = create(app, ControlKind::kPushButton, kCmdFirstAim + i, kAimButtonX,
                               kMomentFirstY - 3 + kMomentLineStep * i, kAimButtonWidth, 22, texts::kTextAimButton);
}

void paintScreen(AppState& app, PaintSurface surface) {
  platformPaintFrameRect(surface, -1, -1, 801, 601);
  if (app.screenMode == ScreenMode::kOne) paintScreenOne(app, surface);
  if (app.screenMode == ScreenMode::kTwo) paintScreenTwo(app, surface);
  if (app.screenMode == ScreenMode::kThree) paintScreenThree(app, surface);
  if (app.screenMode == ScreenMode::kFour) paintScreenFour(app, surface);
}
