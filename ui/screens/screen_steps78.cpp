// Screen 4: step 7 (the calibration table after a try) on the left of the
// line at x 400, step 8 (the timer, screen_steps78_timer.cpp) on its right.
#include "ui/screens/screen_steps78.h"

#include <cstdio>
#include <iterator>

#include "core/calibration.h"
#include "core/seed_time.h"
#include "core/timer_plan.h"
#include "core/typed_numbers.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_common.h"
#include "ui/shell.h"

namespace {

constexpr int32_t kDefaultCalibrationSeconds = 1;
constexpr int32_t kDefaultCalibrationDelays = 10;

constexpr int32_t kTargetMomentEditId = 600;
constexpr int32_t kTargetDelayEditId = 601;
constexpr int32_t kCalibrationSecondsEditId = 602;
constexpr int32_t kCalibrationDelaysEditId = 603;
constexpr int32_t kHitSeedEditId = 604;
constexpr int32_t kCoinEditId = 605;
constexpr int32_t kCallsEditId = 606;
constexpr int32_t kBeforePokerusCheckId = 607;

// The table shows kCalibrationShownSeconds columns of seconds and
// kCalibrationShownDelays rows of delays.
constexpr int32_t kTableHeaderY = 203;
constexpr int32_t kTableFirstY = 223;
constexpr int32_t kTableRowStep = 20;
// The lines above the table: the target, the match, and what to aim for.
constexpr int32_t kTargetLineY = 131;
constexpr int32_t kMatchLineY = 154;
constexpr int32_t kAdviceLineY = 177;
constexpr int32_t kAppliedNoteX = 172;  // after the legend "枠=狙い ◆=当たり"
constexpr int32_t kTableFirstX = 60;
constexpr int32_t kTableColumnStep = 110;
constexpr int32_t kTableCellWidth = 100;
// The step's note, right of its title.
constexpr int32_t kNoteX = 90;

// The first of `count` consecutive offsets within -range..+range (count <=
// 2 * range + 1): around `centre` when they hold `at`, else around `at`.
int32_t windowStart(int32_t at, int32_t range, int32_t count, int32_t centre) {
  int32_t first = centre - count / 2;
  if (at < first || at > first + count - 1) first = at - count / 2;
  if (first < -range) first = -range;
  if (first + count - 1 > range) first = range - count + 1;
  return first;
}


// Step 7's table after a change of the target, the ranges or the hit seeds:
// the shown part around the target (or around the match named when the
// target's neighbourhood would hide it), the cells the hit seeds match, the
// one nearest the target and the delay to aim for after it. The hit seeds
// are step 3's listed candidates and the seed typed as hit; a typed coin or
// call sequence takes their place.
void updateCalibration(AppState& app) {
  app.aim.hitSeedCount = -1;
  app.aim.matchCount = 0;
  app.aim.shownSecondCount = 0;
  app.aim.shownDelayCount = 0;
  app.aim.tellApart = 0;
  app.aim.tellApartAtLeast = 0;
  HitSearch search{};
  const bool bySequence = typedSequence(app, search);
  // The form names no target the table could be of: nothing is shown.
  if (app.timer.settings.targetSet == 0 || app.aim.targetUnreadable != 0) return;
  CalibrationTable table{app.timer.settings.target, app.aim.calibrationSeconds, app.aim.calibrationDelays};
  if (!isValidCalibrationTable(table)) return;

  if (app.seeds.seedCandidateCount >= 0) {
    app.aim.candidateSeedCount = 0;
    for (int32_t i = 0; i < app.seeds.seedCandidateCount && i < kMaxSeedCandidates; ++i)
      app.aim.candidateSeeds[app.aim.candidateSeedCount++] = app.seeds.seedCandidates[i].seed;
  }
  uint32_t seeds[kMaxSeedCandidates + 1];
  int32_t seedCount = 0;
  for (int32_t i = 0; i < app.aim.candidateSeedCount && i < kMaxSeedCandidates; ++i)
    seeds[seedCount++] = app.aim.candidateSeeds[i];
  if (app.aim.typedHitSet != 0) seeds[seedCount++] = app.aim.typedHitSeed;
  CalibrationCell first{};
  if (app.aim.sequenceSource != HitSource::kNone) {
    app.aim.hitSeedCount = 0;
    if (bySequence) matchSequence(app, table, search, first);
  } else if (app.aim.hitSeedRefused != 0) {
    // The seed typed as hit was refused: no match is looked for without it.
  } else if (seedCount > 0) {
    app.aim.hitSeedCount = seedCount;
    CalibrationCursor cursor = calibrationStart(table);
    CalibrationCell page[16];
    for (;;) {
      int32_t n = findCalibrationMatches(table, seeds, seedCount, cursor, page, 16);
      for (int32_t i = 0; i < n; ++i)
        if (app.aim.matchCount + i == 0 || closerToTarget(page[i], first)) first = page[i];
      app.aim.matchCount += n;
      if (n < 16) break;
    }
  }
  if (app.aim.matchCount > 0) {
    app.aim.matchSecond = first.secondOffset;
    app.aim.matchDelay = first.delayOffset;
    app.aim.matchSeed = first.seed;
    app.aim.matchMoment = first.moment;
    app.aim.aimDelay = calibrationAimDelay(table, first);
  }

  app.aim.shownSecondCount =
      2 * table.seconds + 1 < kCalibrationShownSeconds ? 2 * table.seconds + 1 : kCalibrationShownSeconds;
  app.aim.shownDelayCount = 2 * table.delays + 1 < kCalibrationShownDelays ? 2 * table.delays + 1 : kCalibrationShownDelays;
  int32_t atSecond = app.aim.matchCount > 0 ? app.aim.matchSecond : 0;
  int32_t atDelay = app.aim.matchCount > 0 ? app.aim.matchDelay : 0;
  app.aim.shownFirstSecond = windowStart(atSecond, table.seconds, app.aim.shownSecondCount, 0);
  app.aim.shownFirstDelay = windowStart(atDelay, table.delays, app.aim.shownDelayCount, 0);
  for (int32_t c = 0; c < app.aim.shownSecondCount; ++c) {
    for (int32_t r = 0; r < app.aim.shownDelayCount; ++r) {
      CalibrationCell cell{};
      bool shown = calibrationCellAt(table, app.aim.shownFirstSecond + c, app.aim.shownFirstDelay + r, cell);
      app.aim.cellShown[c][r] = shown ? 1 : 0;
      app.aim.shownSeeds[c][r] = cell.seed;
      bool matched = bySequence && shown && sequenceMatchesSeed(search, cell.seed);
      for (int32_t i = 0; shown && app.aim.sequenceSource == HitSource::kNone && i < seedCount; ++i)
        matched = matched || seeds[i] == cell.seed;
      app.aim.cellMatched[c][r] = matched ? 1 : 0;
    }
  }
}

// 700 "表を計算": the typed target, ranges, hit seed, coin and calls are read
// and the table is built again. A target that cannot be read keeps the old
// one for the timer and says so, and no table or match of the old target
// stays shown under it. A delay or range that is not a number, or lies
// outside its limits, is named in the step's note and the field shows the
// value used; a hit seed that does not read is named and refused, never
// taken as seed 0; an empty hit-seed field means no typed hit.
void commandCalibrate(AppState& app, int32_t) {
  char (&note)[kInputNoteBytes] = app.aim.inputNote;
  note[0] = '\0';
  ConsoleMoment moment{};
  bool readable = parseTypedMoment(readControl(app, app.screen4.targetMomentEdit, kReadMomentEdit), moment);
  moment.delay = readNumberField(app, app.screen4.targetDelayEdit, 0, kLargestDelay, 0, texts::kTextFieldTargetDelay, note);
  if (readable) {
    setTarget(app, moment);
  } else {
    app.aim.targetUnreadable = 1;
  }
  app.aim.calibrationSeconds = readNumberField(app, app.screen4.calibrationSecondsEdit, 0, kMaxCalibrationSeconds,
                                               kDefaultCalibrationSeconds, texts::kTextFieldCalibrationSeconds, note);
  app.aim.calibrationDelays = readNumberField(app, app.screen4.calibrationDelaysEdit, 0, kMaxCalibrationDelays,
                                              kDefaultCalibrationDelays, texts::kTextFieldCalibrationDelays, note);
  uint32_t hit = 0;
  app.aim.typedHitSet = 0;
  app.aim.hitSeedRefused = 0;
  if (fieldTypedIn(app.screen4.hitSeedEdit)) {
    if (readSeedField(app, app.screen4.hitSeedEdit, texts::kTextFieldHitSeed, note, hit)) {
      app.aim.typedHitSet = 1;
    } else {
      app.aim.hitSeedRefused = 1;
    }
  }
  app.aim.typedHitSeed = hit;
  readSequenceEdits(app);
  updateCalibration(app);
  platformInvalidate(app);
}

// The target, the ranges, the typed hit seed and the timer's calibrations
// kept in AppState, with the timer's button focused; the table is made for
// step 3's latest candidates each time the screen is shown.
void build(AppState& app) {
  // The edits are filled from what is kept: a target or hit seed that did
  // not read is no longer in them, nor its note.
  if (app.aim.targetUnreadable != 0 || app.aim.hitSeedRefused != 0) app.aim.inputNote[0] = '\0';
  app.aim.targetUnreadable = 0;
  app.aim.hitSeedRefused = 0;
  app.screen4.targetMomentEdit = createControl(app, ControlKind::kPlainEdit, kTargetMomentEditId, 55, 27, 165, 22);
  app.screen4.targetDelayEdit = createControl(app, ControlKind::kPlainEdit, kTargetDelayEditId, 270, 27, 55, 22);
  if (app.timer.settings.targetSet != 0) {
    const ConsoleMoment& t = app.timer.settings.target;
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    platformSetText(app.screen4.targetMomentEdit, app.scratch.textBuffer);
    setNumberText(app, app.screen4.targetDelayEdit, t.delay);
  }
  app.screen4.calibrationSecondsEdit = createControl(app, ControlKind::kPlainEdit, kCalibrationSecondsEditId, 45, 52, 40, 22);
  setNumberText(app, app.screen4.calibrationSecondsEdit, app.aim.calibrationSeconds);
  app.screen4.calibrationDelaysEdit = createControl(app, ControlKind::kPlainEdit, kCalibrationDelaysEditId, 150, 52, 45, 22);
  setNumberText(app, app.screen4.calibrationDelaysEdit, app.aim.calibrationDelays);
  app.screen4.calibrateButton =
      createControl(app, ControlKind::kFramedPushButton, kCmdCalibrate, 210, 52, 95, 22, texts::kTextCalibrateButton);
  app.screen4.hitSeedEdit = createControl(app, ControlKind::kPlainEdit, kHitSeedEditId, 120, 77, 105, 22);
  app.screen4.beforePokerusCheck = createControl(app, ControlKind::kCheckBox, kBeforePokerusCheckId, 240, 74, 110, 28,
                                         texts::kTextBeforePokerus);
  platformSetChecked(app.screen4.beforePokerusCheck, app.aim.beforePokerus != 0);
  app.screen4.coinEdit = createControl(app, ControlKind::kPlainEdit, kCoinEditId, 60, 102, 145, 22, app.aim.coinText);
  app.screen4.callsEdit = createControl(app, ControlKind::kPlainEdit, kCallsEditId, 250, 102, 140, 22, app.aim.callsText);
  app.screen4.applyCorrectionButton = createControl(app, ControlKind::kFramedPushButton, kCmdApplyCorrection, 300, 173, 95, 22,
                                            texts::kTextApplyCorrectionButton);
  if (app.aim.typedHitSet != 0) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", app.aim.typedHitSeed);
    platformSetText(app.screen4.hitSeedEdit, app.scratch.textBuffer);
  }
  buildStepEight(app);
  updateCalibration(app);
}

void tearDown(AppState& app) {
  platformDestroyControl(app.screen4.targetMomentEdit);
  platformDestroyControl(app.screen4.targetDelayEdit);
  platformDestroyControl(app.screen4.calibrationSecondsEdit);
  platformDestroyControl(app.screen4.calibrationDelaysEdit);
  platformDestroyControl(app.screen4.calibrateButton);
  platformDestroyControl(app.screen4.hitSeedEdit);
  platformDestroyControl(app.screen4.beforePokerusCheck);
  platformDestroyControl(app.screen4.coinEdit);
  platformDestroyControl(app.screen4.callsEdit);
  platformDestroyControl(app.screen4.applyCorrectionButton);
  tearDownStepEight(app);
}

// Step 7: the target, what the hit seeds matched and what to aim for, and the
// shown part of the table with the target's cell framed and matched cells
// marked.
void paint(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep7Title);
  // The note shares the title's line: every other line of step 7 is taken.
  if (app.aim.inputNote[0] != '\0') platformPaintText(s, kNoteX, 5, app.aim.inputNote);
  platformPaintText(s, 10, 29, texts::kTextTargetMoment);
  platformPaintText(s, 228, 29, texts::kTextDelayLabel);
  platformPaintText(s, 10, 54, texts::kTextCalibrationSeconds);
  platformPaintText(s, 95, 54, texts::kTextCalibrationDelays);
  platformPaintText(s, 10, 79, texts::kTextHitSeed);
  platformPaintText(s, 10, 104, texts::kTextCoinLabel);
  platformPaintText(s, 215, 104, texts::kTextCallsLabel);
  platformPaintLine(s, kStepEightX, -1, kStepEightX, 600);
  paintStepEight(app, s);
  if (app.aim.targetUnreadable != 0) {
    platformPaintText(s, 10, kTargetLineY, texts::kTextTargetUnreadable);
  } else if (app.timer.settings.targetSet == 0) {
    platformPaintText(s, 10, kTargetLineY, texts::kTextNoTarget);
  } else {
    const ConsoleMoment& t = app.timer.settings.target;
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextTargetLine, t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.delay, app.aim.targetSeed);
    platformPaintText(s, 10, kTargetLineY, app.scratch.textBuffer);
  }
  if (app.timer.settings.targetSet == 0 || app.aim.targetUnreadable != 0) return;
  if (paintSequenceNote(app, s, 10, kMatchLineY)) {
    // A sequence typed but not read: said in place of the match.
  } else if (app.aim.hitSeedCount < 0) {
    platformPaintText(s, 10, kMatchLineY, texts::kTextNoHitSeed);
  } else if (app.aim.matchCount == 0) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextNoMatch, app.aim.calibrationSeconds,
                  app.aim.calibrationDelays);
    platformPaintText(s, 10, kMatchLineY, app.scratch.textBuffer);
  } else {
    const ConsoleMoment& m = app.aim.matchMoment;
    if (app.aim.sequenceSource != HitSource::kNone) {
      std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextSequenceMatchLine, app.aim.matchSeed, m.month,
                    m.day, m.hour, m.minute, m.second, m.delay, app.aim.matchSkip);
    } else {
      std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextMatchLine, app.aim.matchSeed, m.month, m.day,
                    m.hour, m.minute, m.second, m.delay);
    }
    platformPaintText(s, 10, kMatchLineY, app.scratch.textBuffer);
    if (app.aim.aimDelay < 0) {
      std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextCalibrationNoDelay,
                    app.aim.matchSecond, app.aim.matchDelay);
    } else {
      std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextCalibrationAdvice,
                    app.aim.matchSecond, app.aim.matchDelay, app.aim.aimDelay);
    }
    // The advice line ends before "補正を反映"; whether this try's miss was
    // applied is said on the legend's line below the table.
    platformPaintText(s, 10, kAdviceLineY, app.scratch.textBuffer);
  }

  for (int32_t c = 0; c < app.aim.shownSecondCount && c < kCalibrationShownSeconds; ++c) {
    int32_t x = kTableFirstX + kTableColumnStep * c;
    platformPaintText(s, x + 5, kTableHeaderY, formatted(app, texts::kTextSecondColumn, app.aim.shownFirstSecond + c));
    for (int32_t r = 0; r < app.aim.shownDelayCount && r < kCalibrationShownDelays; ++r) {
      int32_t y = kTableFirstY + kTableRowStep * r;
      if (app.aim.shownFirstSecond + c == 0 && app.aim.shownFirstDelay + r == 0)
        platformPaintFrameRect(s, x, y - 2, x + kTableCellWidth, y + kTableRowStep - 2);
      if (app.aim.cellShown[c][r] == 0) {
        platformPaintText(s, x + 5, y, "-");
      } else if (app.aim.cellMatched[c][r] != 0) {
        int32_t seed = static_cast<int32_t>(app.aim.shownSeeds[c][r]);
        platformPaintText(s, x + 5, y, formatted(app, texts::kTextMatchedCell, seed));
      } else {
        platformPaintText(s, x + 5, y, formatted(app, "0x%08X", static_cast<int32_t>(app.aim.shownSeeds[c][r])));
      }
    }
  }
  platformPaintText(s, 10, kTableHeaderY, texts::kTextHitDelayHeader);
  for (int32_t r = 0; r < app.aim.shownDelayCount && r < kCalibrationShownDelays; ++r)
    platformPaintText(s, 10, kTableFirstY + kTableRowStep * r, formatted(app, "%+d", app.aim.shownFirstDelay + r));
  int32_t legendY = kTableFirstY + kTableRowStep * kCalibrationShownDelays + 5;
  platformPaintText(s, 10, legendY, texts::kTextCalibrationLegend);
  if (app.aim.matchCount > 0 && correctionAppliedToThisTry(app))
    platformPaintText(s, kAppliedNoteX, legendY, texts::kTextCorrectionApplied);
  if (app.aim.matchCount > 1 && app.aim.sequenceSource != HitSource::kNone) {
    paintTellApart(app, s, 10, legendY + 23);
  } else if (app.aim.matchCount > 1) {
    platformPaintText(s, 10, legendY + 23, formatted(app, texts::kTextMatchMore, app.aim.matchCount));
  }
}

// Step 7's ranges start at their defaults, with no hit seed; the target and
// step 8's calibrations are those timer.txt kept, or the defaults.
void start(AppState& app, const char* directory) {
  app.aim.calibrationSeconds = kDefaultCalibrationSeconds;
  app.aim.calibrationDelays = kDefaultCalibrationDelays;
  app.aim.hitSeedCount = -1;
  app.timer.planOutcome = TimerPlanOutcome::kNoTarget;
  TimerSettings kept = loadTimerSettings(app, directory);
  if (kept.targetSet != 0) setTarget(app, kept.target);
}

constexpr ScreenCommand kCommands[] = {
    {kCmdCalibrate, kCmdCalibrate, commandCalibrate},
    {kCmdApplyCorrection, kCmdApplyCorrection, commandApplyCorrection},
    {kCmdPlan, kCmdPlan, commandPlan},
    {kCmdTimer, kCmdTimer, commandTimer},
};

}  // namespace

bool parseTypedMoment(const char* text, ConsoleMoment& moment) {
  int32_t fields[6];
  int32_t count = 0;
  for (const char* p = text; *p != '\0';) {
    if (*p < '0' || *p > '9') {
      ++p;
      continue;
    }
    int32_t value = 0;
    int32_t digits = 0;
    // Digits past the fourth are only counted: the run is refused below, and
    // taking them in could overflow.
    for (; *p >= '0' && *p <= '9'; ++p, ++digits)
      if (digits < 4) value = value * 10 + (*p - '0');
    if (digits > 4 || count == 6) return false;
    fields[count++] = value;
  }
  if (count != 6) return false;
  ConsoleMoment m{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], 0};
  if (!isValidMoment(m)) return false;
  moment = m;
  return true;
}

bool closerToTarget(const CalibrationCell& a, const CalibrationCell& b) {
  int32_t as = a.secondOffset < 0 ? -a.secondOffset : a.secondOffset;
  int32_t bs = b.secondOffset < 0 ? -b.secondOffset : b.secondOffset;
  if (as != bs) return as < bs;
  return (a.delayOffset < 0 ? -a.delayOffset : a.delayOffset) < (b.delayOffset < 0 ? -b.delayOffset : b.delayOffset);
}

void setTarget(AppState& app, const ConsoleMoment& moment) {
  app.timer.settings.target = moment;
  app.timer.settings.targetSet = seedOfMoment(moment, app.aim.targetSeed) ? 1 : 0;
  app.aim.targetUnreadable = 0;
  updatePlan(app);
  keepTimerSettings(app);
}

const Screen kScreenSteps78{
    .mode = ScreenMode::kFour,
    .menuId = kCmdScreenFour,
    .start = start,
    .build = build,
    .tearDown = tearDown,
    .paint = paint,
    .commands = kCommands,
    .commandCount = static_cast<int32_t>(std::size(kCommands)),
    .tickPeriod = countdownTickPeriod,
    .tick = countdownTick,
    .close = countdownClose,
};
