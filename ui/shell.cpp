#include "ui/shell.h"

#include <cerrno>
#include <cstdio>

#include "core/calibration.h"
#include "core/egg_list.h"
#include "core/egg_search.h"
#include "core/measurement.h"
#include "core/pid_search.h"
#include "core/rng.h"
#include "core/seed_backtrack.h"
#include "core/seed_time.h"
#include "core/timer_plan.h"
#include "core/typed_numbers.h"
#include "data/data_files.h"
#include "data/output_file.h"
#include "data/tables.h"
#include "quillmar/texts.h"
#include "ui/iv_dialog.h"
#include "ui/screens.h"
#include "ui/search_job.h"

namespace {

constexpr char kResultFile[] = "result.txt";
// Every hit of step 5's last search, beside result.txt.
constexpr char kHitFile[] = "search.txt";
// How often the window looks at a running search.
constexpr int32_t kSearchTickMilliseconds = 100;
constexpr uint32_t kEveryHour = 0xFFFFFFu;
constexpr int32_t kLargestDelay = 65535;
constexpr int32_t kLargestFrameCount = 9999;
constexpr int32_t kDefaultCalibrationSeconds = 1;
constexpr int32_t kDefaultCalibrationDelays = 10;
// The countdown's tick: a repaint at least 30 times a second, and a phase's
// end seen well within a frame (17 ms) of its instant.
constexpr int32_t kCountdownTickMilliseconds = 10;
constexpr int64_t kCountdownRepaintMilliseconds = 25;
// How long the end of a phase flashes.
constexpr int64_t kFlashMilliseconds = 400;

const char* readControl(AppState& app, ControlHandle handle, int32_t n) {
  platformGetText(handle, app.textBuffer, n);
  return app.textBuffer;
}

// The selected row of the nature list. The list always has one of its 25 rows
// selected; anything else would index past the nature table, so it reads as 0.
int32_t selectedNature(ControlHandle combo) {
  int32_t row = platformSelectedListRow(combo);
  return (row >= 0 && row < kNatureCount) ? row : 0;
}

void updateCalibration(AppState& app);

void switchScreen(AppState& app, ScreenMode to) {
  ScreenMode from = app.screenMode;
  app.screenMode = to;
  tearDownScreen(app, from);
  buildScreen(app, to);
  // Step 7 looks for step 3's latest candidates each time it is shown.
  if (to == ScreenMode::kFour) updateCalibration(app);
}

// A year as the console's clock can show it: values outside 2000..2099 are
// taken as the nearest end, as the IV dialog takes an IV above 31 as 31.
int32_t readYearControl(AppState& app, ControlHandle handle) {
  int32_t year = readDecimalControl(app, handle, kReadYearEdit);
  return year < kClockFirstYear ? kClockFirstYear : year > kClockLastYear ? kClockLastYear : year;
}

void setNumberText(AppState& app, ControlHandle handle, int32_t value) {
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", value);
  platformSetText(handle, app.textBuffer);
}

int32_t clampTo(int32_t value, int32_t low, int32_t high) { return value < low ? low : value > high ? high : value; }

// A filter list read as its option: no selection reads as option 0, "指定しない".
int32_t selectedOption(ControlHandle combo) {
  int32_t row = platformSelectedListRow(combo);
  return row < 0 ? 0 : row;
}

// Step 5's inputs as a search over every hour of the year. Numbers outside
// their range are taken at its nearest end (frames 1..9999, delays 0..65535)
// and a delay range typed the wrong way round is turned round, so that every
// reading is a search the engine runs.
EggSearchRequest readSearchRequest(AppState& app) {
  EggSearchRequest request{};
  request.year = readYearControl(app, app.yearEdit);
  request.egg.tid = readDecimalControl(app, app.searchTidEdit, kReadIdEdit);
  request.egg.sid = readDecimalControl(app, app.searchSidEdit, kReadIdEdit);
  request.egg.internationalMarriage = platformIsChecked(app.searchMarriageCheck);
  request.egg.shinyOnly = platformIsChecked(app.searchShinyOnlyCheck);
  request.egg.natureChoice = selectedOption(app.searchNatureCombo);
  request.egg.genderChoice = selectedOption(app.searchGenderCombo);
  request.egg.abilityChoice = selectedOption(app.searchAbilityCombo);
  request.egg.frameCount =
      clampTo(readDecimalControl(app, app.maxFrameEdit, kReadMaxFrameEdit), 1, kLargestFrameCount);
  int32_t low = clampTo(readDecimalControl(app, app.delayMinEdit, kReadDelayEdit), 0, kLargestDelay);
  int32_t high = clampTo(readDecimalControl(app, app.delayMaxEdit, kReadDelayEdit), 0, kLargestDelay);
  request.delayMin = low < high ? low : high;
  request.delayMax = low < high ? high : low;
  request.hourMask = kEveryHour;
  request.kernel = EggSearchKernel::Auto;
  return request;
}

// The hit file, CP932 text like result.txt and written the same way (whole
// or not at all): a header, then per hit its seed, its line of the egg list
// (as result.txt shows that frame for that seed) and its first moment with the
// delay that reaches the seed. Returns why it was not written, if it was not.
OutputResult writeHitFile(const EggSearchRequest& request, const EggHit* hits, int32_t count) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, kHitFile);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "SEED,%s%s\n", texts::kTextResultHeader, texts::kTextHitFileTail) > 0;
  char line[kEggFrameLineCapacity];
  for (int32_t i = 0; i < count && ok; ++i) {
    const EggHit& hit = hits[i];
    formatEggFrameLine(line, hit.frame, hit.pid, ShinyTest(hit.pid, request.egg.tid, request.egg.sid));
    ConsoleMoment m{};
    eggHitMoment(hit, request.year, m);
    ok = std::fprintf(file.stream, "0x%08X,%s,%04d/%02d/%02d %02d:%02d:%02d,%d\n", hit.seed, line, m.year, m.month,
                      m.day, m.hour, m.minute, m.second, m.delay) > 0;
  }
  OutputResult writes = ok ? OutputResult{OutputOutcome::kWritten, 0} : OutputResult{OutputOutcome::kNotWritten, errno};
  return closeOutputFile(file, writes);
}

EggListSettings settingsOf(const EggListRequest& egg) {
  EggListSettings settings{};
  settings.tid = egg.tid;
  settings.sid = egg.sid;
  settings.internationalMarriage = egg.internationalMarriage ? 1 : 0;
  settings.shinyOnly = egg.shinyOnly ? 1 : 0;
  settings.natureChoice = egg.natureChoice;
  settings.genderChoice = egg.genderChoice;
  settings.abilityChoice = egg.abilityChoice;
  return settings;
}

// The window's one timer serves both the search and the countdown: it runs
// at the countdown's period while that runs, at the search's while only the
// search runs, and stops when neither does.
void refreshTimer(AppState& app) {
  int32_t period = app.countdownRunning != 0                  ? kCountdownTickMilliseconds
                   : app.searchStatus == SearchStatus::kRunning ? kSearchTickMilliseconds
                                                                : 0;
  if (period == app.shellTimerPeriod) return;
  app.shellTimerPeriod = period;
  if (period == 0) {
    platformStopTimer(app);
  } else {
    platformStartTimer(app, period);
  }
}

// A search has ended, by itself or stopped: its first kSearchHitLimit hits
// become step 5's list and the hit file, and whether it found more is kept. A
// search that ran to its end opens the file for the player when the file was
// written; a stopped one keeps the hits found so far, listed and written, and
// opens nothing. A search the engine could not run (no thread for it) leaves
// the list, the year, the status and the hit file as they were before it.
void finishSearch(AppState& app) {
  const EggSearchRequest* request = nullptr;
  const EggHit* hits = nullptr;
  EggSearchResult result = searchJobCollect(request, hits);
  if (result.status != EggSearchStatus::kDone && result.status != EggSearchStatus::kCancelled) {
    app.searchNotStarted = 1;
    app.searchStatus = app.statusBeforeSearch;
    app.searchYear = app.yearBeforeSearch;
    app.hitCount = app.hitCountBeforeSearch;
    refreshTimer(app);
    if (app.screenMode == ScreenMode::kThree) createHitButtons(app);
    platformInvalidate(app);
    return;
  }
  app.searchStatus = result.status == EggSearchStatus::kCancelled ? SearchStatus::kStopped : SearchStatus::kFinished;
  refreshTimer(app);
  app.searchPercent = 100;
  app.searchHitsCut = result.count > kSearchHitLimit ? 1 : 0;
  app.searchHitTotal = app.searchHitsCut != 0 ? kSearchHitLimit : result.count;
  app.hitCount = result.count < kMaxShownHits ? result.count : kMaxShownHits;
  app.hitSettings = settingsOf(request->egg);
  for (int32_t i = 0; i < app.hitCount; ++i) {
    const EggHit& hit = hits[i];
    bool shiny = ShinyTest(hit.pid, request->egg.tid, request->egg.sid);
    app.hits[i] = SearchHit{hit.seed, hit.frame, hit.delay, hit.pid, static_cast<uint8_t>(shiny ? 1 : 0)};
  }
  OutputResult written = writeHitFile(*request, hits, app.searchHitTotal);
  app.hitFileError = written.outcome == OutputOutcome::kWritten ? 0 : written.error != 0 ? written.error : EIO;
  if (app.hitFileError == 0 && app.searchStatus == SearchStatus::kFinished) platformOpenDocument(kHitFile);
  if (app.screenMode == ScreenMode::kThree) createHitButtons(app);
  platformInvalidate(app);
}

// Step 6: the first moments of `seed` in `year`, and how many the year holds.
void listMoments(AppState& app, uint32_t seed, int32_t year) {
  app.momentSeed = seed;
  app.momentYear = year;
  SeedMomentCursor cursor = kSeedMomentStart;
  app.momentCount = listSeedMoments(seed, year, cursor, app.moments, kMaxSeedMoments).count;
  app.momentTotal = countSeedMoments(seed, year);
  createAimButtons(app);
}

// --- step 7 ----------------------------------------------------------------------

// The first of `count` consecutive offsets within -range..+range (count <=
// 2 * range + 1): around `centre` when they hold `at`, else around `at`.
int32_t windowStart(int32_t at, int32_t range, int32_t count, int32_t centre) {
  int32_t first = centre - count / 2;
  if (at < first || at > first + count - 1) first = at - count / 2;
  if (first < -range) first = -range;
  if (first + count - 1 > range) first = range - count + 1;
  return first;
}

// Whether `a` lies nearer the target than `b`: fewer seconds off, then fewer
// delays off. A seed can come from several cells of a wide table (the same
// minute + second sum a minute apart); the nearest is the likeliest try.
bool closerToTarget(const CalibrationCell& a, const CalibrationCell& b) {
  int32_t as = a.secondOffset < 0 ? -a.secondOffset : a.secondOffset;
  int32_t bs = b.secondOffset < 0 ? -b.secondOffset : b.secondOffset;
  if (as != bs) return as < bs;
  return (a.delayOffset < 0 ? -a.delayOffset : a.delayOffset) < (b.delayOffset < 0 ? -b.delayOffset : b.delayOffset);
}

// Step 7's table after a change of the target, the ranges or the hit seeds:
// the shown part around the target (or around the match named when the
// target's neighbourhood would hide it), the cells the hit seeds match, the
// one nearest the target and the delay to aim for after it. The hit seeds
// are step 3's listed candidates and the seed typed as hit.
void updateCalibration(AppState& app) {
  app.hitSeedCount = -1;
  app.matchCount = 0;
  app.shownSecondCount = 0;
  app.shownDelayCount = 0;
  if (app.targetSet == 0) return;
  CalibrationTable table{app.target, app.calibrationSeconds, app.calibrationDelays};
  if (!isValidCalibrationTable(table)) return;

  uint32_t seeds[kMaxSeedCandidates + 1];
  int32_t seedCount = 0;
  for (int32_t i = 0; i < app.seedCandidateCount && i < kMaxSeedCandidates; ++i)
    seeds[seedCount++] = app.seedCandidates[i].seed;
  if (app.typedHitSet != 0) seeds[seedCount++] = app.typedHitSeed;
  CalibrationCell first{};
  if (seedCount > 0) {
    app.hitSeedCount = seedCount;
    CalibrationCursor cursor = calibrationStart(table);
    CalibrationCell page[16];
    for (;;) {
      int32_t n = findCalibrationMatches(table, seeds, seedCount, cursor, page, 16);
      for (int32_t i = 0; i < n; ++i)
        if (app.matchCount + i == 0 || closerToTarget(page[i], first)) first = page[i];
      app.matchCount += n;
      if (n < 16) break;
    }
  }
  if (app.matchCount > 0) {
    app.matchSecond = first.secondOffset;
    app.matchDelay = first.delayOffset;
    app.matchSeed = first.seed;
    app.matchMoment = first.moment;
    app.aimDelay = calibrationAimDelay(table, first);
  }

  app.shownSecondCount = 2 * table.seconds + 1 < kCalibrationShownSeconds ? 2 * table.seconds + 1
                                                                           : kCalibrationShownSeconds;
  app.shownDelayCount = 2 * table.delays + 1 < kCalibrationShownDelays ? 2 * table.delays + 1
                                                                       : kCalibrationShownDelays;
  int32_t atSecond = app.matchCount > 0 ? app.matchSecond : 0;
  int32_t atDelay = app.matchCount > 0 ? app.matchDelay : 0;
  app.shownFirstSecond = windowStart(atSecond, table.seconds, app.shownSecondCount, 0);
  app.shownFirstDelay = windowStart(atDelay, table.delays, app.shownDelayCount, 0);
  for (int32_t c = 0; c < app.shownSecondCount; ++c) {
    for (int32_t r = 0; r < app.shownDelayCount; ++r) {
      CalibrationCell cell{};
      bool shown = calibrationCellAt(table, app.shownFirstSecond + c, app.shownFirstDelay + r, cell);
      app.cellShown[c][r] = shown ? 1 : 0;
      app.shownSeeds[c][r] = cell.seed;
      bool matched = false;
      for (int32_t i = 0; shown && i < seedCount; ++i) matched = matched || seeds[i] == cell.seed;
      app.cellMatched[c][r] = matched ? 1 : 0;
    }
  }
}

// A moment typed as "YYYY-MM-DD HH:MM:SS": six numbers, each of at most four
// digits, separated by anything that is not a digit. False unless the six make
// a moment of the clock.
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

// --- step 8 ---------------------------------------------------------------------

TimerPlan planOf(const AppState& app) {
  return TimerPlan{app.planClock, 0, app.planFirstPhase, app.planSecondPhase};
}

// Step 8's plan for the target with the calibrations; a running countdown
// keeps the plan it started with.
void updatePlan(AppState& app) {
  if (app.countdownRunning != 0) return;
  if (app.targetSet == 0) {
    app.planOutcome = -1;
    return;
  }
  TimerRequest request{app.target, app.delayCalibration, app.secondCalibration, app.minFirstPhase};
  TimerPlan plan{};
  TimerPlanOutcome outcome = planTimer(request, plan);
  app.planOutcome = static_cast<int32_t>(outcome);
  if (outcome != TimerPlanOutcome::kPlanned) return;
  app.planClock = plan.clock;
  app.planFirstPhase = plan.firstPhase;
  app.planSecondPhase = plan.secondPhase;
}

void playCue(AppState& app, CueSound cue) {
  if (app.soundMissing == 0 && !platformPlayCue(cue)) app.soundMissing = 1;
}

// The countdown at the monotonic clock's time: its phase and time left, the
// cues that fell since the last tick (an end outranks a second cue that fell
// in the same tick), and the flash after a phase's end. After the last end
// has flashed it stops and shows "完了".
void tickCountdown(AppState& app) {
  int64_t elapsed = platformNowMilliseconds() - app.countdownStart;
  CountdownTick tick = countdownAt(planOf(app), app.countdownElapsed, elapsed);
  app.countdownElapsed = elapsed;
  app.countdownPhase = static_cast<int32_t>(tick.phase);
  app.countdownRemaining = tick.remaining;
  if ((tick.cues & kCueEnd) != 0) {
    playCue(app, CueSound::kEnd);
    app.flashUntil = elapsed + kFlashMilliseconds;
  } else if ((tick.cues & kCueSecond) != 0) {
    playCue(app, CueSound::kSecond);
  }
  if (tick.phase == CountdownPhase::kDone && elapsed >= app.flashUntil) app.countdownRunning = 0;
  // The digits are repainted about 40 times a second (a whole-window repaint
  // on every 10 ms tick would keep a core busy); a cue, a phase's end and the
  // end of a flash are shown at the tick that finds them.
  bool flashEnded = app.flashUntil >= 0 && app.countdownPaintedAt < app.flashUntil && elapsed >= app.flashUntil;
  if (tick.cues != 0 || flashEnded || app.countdownRunning == 0 ||
      elapsed - app.countdownPaintedAt >= kCountdownRepaintMilliseconds) {
    app.countdownPaintedAt = elapsed;
    platformInvalidate(app);
  }
}

// The three calibration edits, each taken at the nearest end of its range.
void readTimerEdits(AppState& app) {
  app.delayCalibration = clampTo(readDecimalControl(app, app.delayCalibrationEdit, kReadCalibrationEdit),
                                 kMinDelayCalibration, kMaxDelayCalibration);
  app.secondCalibration = clampTo(readDecimalControl(app, app.secondCalibrationEdit, kReadCalibrationEdit),
                                  kMinSecondCalibration, kMaxSecondCalibration);
  app.minFirstPhase =
      clampTo(readDecimalControl(app, app.minFirstPhaseEdit, kReadCalibrationEdit), 0, kMaxMinFirstPhase);
}

// The target becomes `moment` (its delay included), with its seed, and step
// 8 plans for it.
void setTarget(AppState& app, const ConsoleMoment& moment) {
  app.target = moment;
  app.targetSet = seedOfMoment(moment, app.targetSeed) ? 1 : 0;
  app.targetUnreadable = 0;
  updatePlan(app);
}

// --- commands -----------------------------------------------------------------

// 10 "リセット": only after a measurement. Candidate buttons already made stay
// and keep handing over their candidates.
void commandReset(AppState& app, int32_t) {
  if (!resetMeasurement(app)) return;
  rebuildStepOneInputs(app);
  platformInvalidate(app);
}

// 130 "追加".
void commandAdd(AppState& app, int32_t) {
  if (app.measurementCount == 0) {
    StatBlock base{};
    for (int i = 0; i < kStatCount; ++i) base[i] = readDecimalControl(app, app.baseStatEdits[i], kReadStatEdit);
    for (ControlHandle& h : app.baseStatEdits) platformDestroyControl(h);
    int32_t level = readDecimalControl(app, app.levelEdit, kReadStatEdit);
    StatBlock stats{};
    for (int i = 0; i < kStatCount; ++i) stats[i] = readDecimalControl(app, app.statEdits[i], kReadStatEdit);
    int32_t nature = selectedNature(app.natureCombo);
    platformDestroyControl(app.natureCombo);
    takeFirstMeasurement(app, base, nature, level, stats);
  } else if (app.measurementCount < kMaxMeasurements) {
    int32_t level = readDecimalControl(app, app.levelEdit, kReadStatEdit);
    StatBlock stats{};
    // A stat whose IV is already fixed is not read; it is recorded as -1.
    for (int i = 0; i < kStatCount; ++i)
      stats[i] = isFixed(app.ivRanges[i]) ? -1 : readDecimalControl(app, app.statEdits[i], kReadStatEdit);
    takeNextMeasurement(app, level, stats);
  }
  // With all 20 rows taken nothing is read or recorded; the window only repaints.
  platformInvalidate(app);
}

// 132 "↑の個体値で逆算".
void commandSearch(AppState& app, int32_t) {
  if (app.measurementCount == 0) app.natureIndex = selectedNature(app.natureCombo);
  PidSearchKind kind = searchPidCandidates(app);
  // Open ranges and no measurement: the old list, its count and buttons stay.
  if (kind == PidSearchKind::kNotRun) return;
  for (ControlHandle& h : app.candidateButtons) platformDestroyControl(h);
  createCandidateButtons(app, kind == PidSearchKind::kRange);
  platformInvalidate(app);
}

// 133 "入力".
void commandIvEntry(AppState& app, int32_t) {
  if (app.measurementCount == 0) app.natureIndex = selectedNature(app.natureCombo);
  ivEntryDialog(app);
}

// 162 "種族値を↓に": fills the base-stat edits only; AppState is not changed.
void commandSpecies(AppState& app, int32_t) {
  const SpeciesRecord* found = findSpecies(app, readControl(app, app.speciesEdit, kReadSpeciesEdit));
  if (found == nullptr) return;
  for (int i = 0; i < kStatCount; ++i) {
    std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", found->baseStats[i]);
    platformSetText(app.baseStatEdits[i], app.textBuffer);
  }
}

// 220 "初期SEED候補を逆算".
void commandSeedSearch(AppState& app, int32_t) {
  int32_t stepLimit = readDecimalControl(app, app.stepLimitEdit, kReadStepLimitEdit);
  app.currentSeed = readSeedControl(app, app.currentSeedEdit, kReadSeedEdit);
  int32_t hour = readDecimalControl(app, app.hourEdit, kReadHourEdit);
  for (int i = 0; i < app.seedCandidateCount && i < kMaxSeedCandidates; ++i)
    platformDestroyControl(app.seedResultEdits[i]);
  backtrackInitialSeeds(app, stepLimit, hour);
  createSeedResultEdits(app);
  platformInvalidate(app);
}

// 304 "出力": the list is handed to the desktop only when the whole file was
// written; otherwise nothing is opened and an earlier result.txt is kept.
void commandOutput(AppState& app, int32_t) {
  EggListRequest request{};
  request.initialSeed = readSeedControl(app, app.initialSeedEdit, kReadSeedEdit);
  request.frameCount = readDecimalControl(app, app.frameCountEdit, kReadFrameCountEdit);
  request.tid = readDecimalControl(app, app.tidEdit, kReadIdEdit);
  request.sid = readDecimalControl(app, app.sidEdit, kReadIdEdit);
  request.internationalMarriage = platformIsChecked(app.marriageCheck);
  request.shinyOnly = platformIsChecked(app.shinyOnlyCheck);
  request.natureChoice = platformSelectedListRow(app.natureFilterCombo);
  request.genderChoice = platformSelectedListRow(app.genderFilterCombo);
  request.abilityChoice = platformSelectedListRow(app.abilityFilterCombo);
  app.lastTid = request.tid;
  app.lastSid = request.sid;
  app.idsKnown = 1;
  if (writeEggPidListFile(app, request, kResultFile).outcome == OutputOutcome::kWritten) {
    platformOpenDocument(kResultFile);
  }
}

// 420 "検索": only while no search runs. The old list and its buttons go;
// the search starts on its own thread and the timer follows it. When no
// thread can be had, nothing goes: the list, its buttons and the status stay,
// with a note that the search did not start.
void commandEggSearch(AppState& app, int32_t) {
  if (app.searchStatus == SearchStatus::kRunning) return;
  EggSearchRequest request = readSearchRequest(app);
  app.lastTid = request.egg.tid;
  app.lastSid = request.egg.sid;
  app.idsKnown = 1;
  app.searchNotStarted = searchJobStart(request) ? 0 : 1;
  if (app.searchNotStarted == 0) {
    app.statusBeforeSearch = app.searchStatus;
    app.yearBeforeSearch = app.searchYear;
    app.hitCountBeforeSearch = app.hitCount;
    for (ControlHandle& h : app.hitButtons) platformDestroyControl(h);
    app.hitCount = -1;
    app.searchYear = request.year;
    app.searchStatus = SearchStatus::kRunning;
    app.searchPercent = 0;
    refreshTimer(app);
  }
  platformInvalidate(app);
}

// 421 "中止": only while a search runs; what it has found so far is kept.
void commandEggSearchStop(AppState& app, int32_t) {
  if (app.searchStatus != SearchStatus::kRunning) return;
  searchJobCancel();
  finishSearch(app);
}

// 440..453 "日時へ" of step 5: the hit's seed and the search's year go to
// step 6, which lists the seed's moments at once.
void commandHit(AppState& app, int32_t id) {
  int32_t slot = id - kCmdFirstHit;
  if (slot >= app.hitCount) return;
  const SearchHit& hit = app.hits[slot];
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "0x%08X", hit.seed);
  platformSetText(app.momentSeedEdit, app.textBuffer);
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", app.searchYear);
  platformSetText(app.momentYearEdit, app.textBuffer);
  listMoments(app, hit.seed, app.searchYear);
  app.handOverSeed = hit.seed;
  app.handOverSettings = app.hitSettings;
  app.handOverFromHit = 1;
  platformInvalidate(app);
}

// 520 "日時を計算".
void commandMoments(AppState& app, int32_t) {
  uint32_t seed = readSeedControl(app, app.momentSeedEdit, kReadSeedEdit);
  int32_t year = readYearControl(app, app.momentYearEdit);
  listMoments(app, seed, year);
  platformInvalidate(app);
}

// 521 "このSEEDでstep4へ": the seed in step 6's edit becomes step 4's initial
// seed on screen 2, ready for "出力". A seed that came from a hit (the edit
// still holds, as a number, the seed a hit's "日時へ" put there since screen 3
// was built) brings every setting of the search that found it: its IDs,
// "国際結婚" and its filters, so that step 4's list keeps the hit's frame and
// shows it with the hit's line. Any other seed gets step 4's own settings,
// with the TID and SID last used.
void commandSeedToStepFour(AppState& app, int32_t) {
  uint32_t seed = readSeedControl(app, app.momentSeedEdit, kReadSeedEdit);
  bool fromHit = app.handOverFromHit != 0 && seed == app.handOverSeed;
  switchScreen(app, ScreenMode::kTwo);
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "0x%08X", seed);
  platformSetText(app.initialSeedEdit, app.textBuffer);
  if (fromHit) {
    const EggListSettings& settings = app.handOverSettings;
    setNumberText(app, app.tidEdit, settings.tid);
    setNumberText(app, app.sidEdit, settings.sid);
    platformSetChecked(app.marriageCheck, settings.internationalMarriage != 0);
    platformSetChecked(app.shinyOnlyCheck, settings.shinyOnly != 0);
    platformSelectListRow(app.natureFilterCombo, settings.natureChoice);
    platformSelectListRow(app.genderFilterCombo, settings.genderChoice);
    platformSelectListRow(app.abilityFilterCombo, settings.abilityChoice);
  } else if (app.idsKnown != 0) {
    setNumberText(app, app.tidEdit, app.lastTid);
    setNumberText(app, app.sidEdit, app.lastSid);
  }
  platformInvalidate(app);
}

// 530..539 "狙う" of step 6: the moment of that line (with its delay) becomes
// the target, and the fourth screen opens on it.
void commandAim(AppState& app, int32_t id) {
  int32_t slot = id - kCmdFirstAim;
  if (slot >= app.momentCount) return;
  setTarget(app, app.moments[slot]);
  switchScreen(app, ScreenMode::kFour);
  platformInvalidate(app);
}

// 700 "表を計算": the typed target, ranges and hit seed are read and the
// table is built again. A target that cannot be read keeps the old one and
// says so. Ranges outside their limits are taken at the nearest end, and an
// empty hit-seed field means no typed hit.
void commandCalibrate(AppState& app, int32_t) {
  ConsoleMoment moment{};
  bool readable = parseTypedMoment(readControl(app, app.targetMomentEdit, kReadMomentEdit), moment);
  moment.delay = clampTo(readDecimalControl(app, app.targetDelayEdit, kReadDelayEdit), 0, kLargestDelay);
  if (readable) {
    setTarget(app, moment);
  } else {
    app.targetUnreadable = 1;
  }
  app.calibrationSeconds =
      clampTo(readDecimalControl(app, app.calibrationSecondsEdit, kReadCalibrationRangeEdit), 0,
              kMaxCalibrationSeconds);
  app.calibrationDelays =
      clampTo(readDecimalControl(app, app.calibrationDelaysEdit, kReadCalibrationRangeEdit), 0,
              kMaxCalibrationDelays);
  readControl(app, app.hitSeedEdit, kReadSeedEdit);
  app.typedHitSet = app.textBuffer[0] != '\0' ? 1 : 0;
  app.typedHitSeed = app.typedHitSet != 0 ? parseSeedText(app.textBuffer) : 0;
  updateCalibration(app);
  platformInvalidate(app);
}

// 701 "補正を反映": the delay offset of step 7's match moves the delay
// calibration the other way, so that the next plan's phase 2 is that many
// frames shorter or longer. The second offset is only advised (step 8 shows
// it); the player types the second calibration.
void commandApplyCorrection(AppState& app, int32_t) {
  if (app.matchCount <= 0 || app.countdownRunning != 0) return;
  app.delayCalibration = clampTo(app.delayCalibration - app.matchDelay, kMinDelayCalibration, kMaxDelayCalibration);
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "%d", app.delayCalibration);
  platformSetText(app.delayCalibrationEdit, app.textBuffer);
  updatePlan(app);
  platformInvalidate(app);
}

// 710 "計画": the calibrations are read and the plan made again.
void commandPlan(AppState& app, int32_t) {
  if (app.countdownRunning != 0) return;
  readTimerEdits(app);
  updatePlan(app);
  platformInvalidate(app);
}

// 711 "スタート/ストップ": starts the countdown of a fresh plan at this
// instant (the player confirms the console's clock at the same moment), or
// stops a running one and goes back to the plan.
void commandTimer(AppState& app, int32_t) {
  if (app.countdownRunning != 0) {
    app.countdownRunning = 0;
    app.countdownPhase = 0;
  } else {
    readTimerEdits(app);
    updatePlan(app);
    if (app.planOutcome != static_cast<int32_t>(TimerPlanOutcome::kPlanned)) {
      platformInvalidate(app);
      return;
    }
    app.countdownRunning = 1;
    app.countdownStart = platformNowMilliseconds();
    app.countdownElapsed = -1;  // so that a cue at the very start (an empty phase's end) still sounds
    app.countdownPaintedAt = -1;
    app.countdownPhase = static_cast<int32_t>(CountdownPhase::kFirst);
    app.countdownRemaining = app.planFirstPhase;
    app.flashUntil = -1;
  }
  refreshTimer(app);
  platformFocusControl(app.timerButton);
  platformInvalidate(app);
}

// 140..159 "この値で次へ": the candidate's generator state goes to step 3. The
// slot is read without a test against the count, so buttons left standing by
// "リセット" still carry their candidates.
void commandCandidate(AppState& app, int32_t id) {
  app.currentSeed = app.pidCandidates[id - kCmdFirstCandidate].currentSeed;
  switchScreen(app, ScreenMode::kTwo);
  std::snprintf(app.textBuffer, sizeof app.textBuffer, "0x%08X", app.currentSeed);
  platformSetText(app.currentSeedEdit, app.textBuffer);
  platformInvalidate(app);
}

// 40001 "1~2", 40002 "3～4" and 40003 "5～6". The entry of the screen already shown does
// nothing: rebuilding it would only throw away what the player has typed.
void commandScreenOne(AppState& app, int32_t) {
  if (app.screenMode == ScreenMode::kOne) return;
  switchScreen(app, ScreenMode::kOne);
  platformInvalidate(app);
}

void commandScreenTwo(AppState& app, int32_t) {
  if (app.screenMode == ScreenMode::kTwo) return;
  switchScreen(app, ScreenMode::kTwo);
  platformInvalidate(app);
}

void commandScreenThree(AppState& app, int32_t) {
  if (app.screenMode == ScreenMode::kThree) return;
  switchScreen(app, ScreenMode::kThree);
  platformInvalidate(app);
}

void commandScreenFour(AppState& app, int32_t) {
  if (app.screenMode == ScreenMode::kFour) return;
  switchScreen(app, ScreenMode::kFour);
  platformInvalidate(app);
}

struct Route {
  int32_t firstId;
  int32_t lastId;
  ScreenMode screen;  // the screen whose controls send the command; kNone = any (menu)
  void (*run)(AppState& app, int32_t id);
};

// Each button exists only on its own screen, so a command is taken only while
// that screen is shown.
constexpr Route kRoutes[] = {
    {kCmdReset, kCmdReset, ScreenMode::kOne, commandReset},
    {kCmdAdd, kCmdAdd, ScreenMode::kOne, commandAdd},
    {kCmdSearch, kCmdSearch, ScreenMode::kOne, commandSearch},
    {kCmdIvEntry, kCmdIvEntry, ScreenMode::kOne, commandIvEntry},
    {kCmdFirstCandidate, kCmdFirstCandidate + kMaxPidCandidates - 1, ScreenMode::kOne, commandCandidate},
    {kCmdSpecies, kCmdSpecies, ScreenMode::kOne, commandSpecies},
    {kCmdSeedSearch, kCmdSeedSearch, ScreenMode::kTwo, commandSeedSearch},
    {kCmdOutput, kCmdOutput, ScreenMode::kTwo, commandOutput},
    {kCmdEggSearch, kCmdEggSearch, ScreenMode::kThree, commandEggSearch},
    {kCmdEggSearchStop, kCmdEggSearchStop, ScreenMode::kThree, commandEggSearchStop},
    {kCmdFirstHit, kCmdFirstHit + kMaxShownHits - 1, ScreenMode::kThree, commandHit},
    {kCmdMoments, kCmdMoments, ScreenMode::kThree, commandMoments},
    {kCmdSeedToStepFour, kCmdSeedToStepFour, ScreenMode::kThree, commandSeedToStepFour},
    {kCmdFirstAim, kCmdFirstAim + kMaxSeedMoments - 1, ScreenMode::kThree, commandAim},
    {kCmdCalibrate, kCmdCalibrate, ScreenMode::kFour, commandCalibrate},
    {kCmdApplyCorrection, kCmdApplyCorrection, ScreenMode::kFour, commandApplyCorrection},
    {kCmdPlan, kCmdPlan, ScreenMode::kFour, commandPlan},
    {kCmdTimer, kCmdTimer, ScreenMode::kFour, commandTimer},
    {kCmdScreenOne, kCmdScreenOne, ScreenMode::kNone, commandScreenOne},
    {kCmdScreenTwo, kCmdScreenTwo, ScreenMode::kNone, commandScreenTwo},
    {kCmdScreenThree, kCmdScreenThree, ScreenMode::kNone, commandScreenThree},
    {kCmdScreenFour, kCmdScreenFour, ScreenMode::kNone, commandScreenFour},
};

}  // namespace

int32_t readDecimalControl(AppState& app, ControlHandle handle, int32_t n) {
  return parseDecimalText(readControl(app, handle, n));
}

uint32_t readSeedControl(AppState& app, ControlHandle handle, int32_t n) {
  return parseSeedText(readControl(app, handle, n));
}

void shellStart(AppState& app, const char* directory) {
  app.screenMode = ScreenMode::kOne;
  buildNatureTable(app.natureTable);
  loadDefaults(app, directory);
  loadSpeciesTable(app, directory);
  buildScreen(app, ScreenMode::kOne);
  app.currentSeed = 0;
  app.hitCount = -1;
  app.momentCount = -1;
  app.calibrationSeconds = kDefaultCalibrationSeconds;
  app.calibrationDelays = kDefaultCalibrationDelays;
  app.hitSeedCount = -1;
  app.minFirstPhase = kDefaultMinFirstPhase;
  app.planOutcome = -1;
}

void shellCommand(AppState& app, int32_t id) {
  for (const Route& route : kRoutes) {
    if (id < route.firstId || id > route.lastId) continue;
    if (route.screen != ScreenMode::kNone && route.screen != app.screenMode) return;
    // The IV dialog's nested event loop runs inside the command and delivers
    // timer ticks: shellTimer takes in no search until the command is over.
    ++app.shellCallDepth;
    route.run(app, id);
    --app.shellCallDepth;
    return;
  }
}

void shellPaint(AppState& app, PaintSurface surface) { paintScreen(app, surface); }

// A tick: a running search's end, or its progress when that has moved; a
// running countdown's time, cues and phase ends.
void shellTimer(AppState& app) {
  // Inside a command (the IV dialog's loop, see shellCommand) a search is
  // taken in on the first tick after it; a countdown keeps its time.
  if (app.searchStatus == SearchStatus::kRunning && app.shellCallDepth == 0) {
    if (searchJobReturned()) {
      finishSearch(app);
    } else {
      int32_t percent = searchJobPercent();
      if (percent != app.searchPercent) {
        app.searchPercent = percent;
        platformInvalidate(app);
      }
    }
  }
  if (app.countdownRunning != 0) tickCountdown(app);
  refreshTimer(app);
}

// A running search is stopped and its thread joined (its hits are dropped
// with the window), a running countdown stopped, and the timer with them.
void shellClose(AppState& app) {
  app.countdownRunning = 0;
  if (app.searchStatus == SearchStatus::kRunning) {
    searchJobCancel();
    const EggSearchRequest* request = nullptr;
    const EggHit* hits = nullptr;
    searchJobCollect(request, hits);
    app.searchStatus = SearchStatus::kStopped;
  }
  refreshTimer(app);
}
