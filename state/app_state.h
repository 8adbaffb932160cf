// The one record of quillmar's state. Every subsystem includes this header;
// the shell owns a single zero-filled instance for the whole life of the
// process. Lists are fixed arrays with a signed count beside them: -1 means
// "no list" (nothing shown), 0 means "searched, found nothing".
#pragma once

#include <cstdint>

inline constexpr int kStatCount = 6;           // H, A, B, S, C, D
inline constexpr int kNatureCount = 25;
inline constexpr int kNameFieldBytes = 16;     // names: at most 15 bytes + NUL
inline constexpr int kSpeciesCount = 493;
inline constexpr int kMaxMeasurements = 20;
inline constexpr int kMaxPidCandidates = 20;
inline constexpr int kRangeSearchLimit = 16;
inline constexpr int kMaxSeedCandidates = 10;
inline constexpr int kMaxShownHits = 14;       // step 5's hit lines, each with a button
inline constexpr int kMaxSeedMoments = 10;     // step 6's moment lines, each with a button
inline constexpr int kMaxShownIvLines = 12;    // step 9's lines on screen (ivs.txt holds them all)
inline constexpr int kMaxShownIvHits = 8;      // step 10's hit lines, each with a button
inline constexpr int kIvTextBytes = 24;        // "31A 20 31B 5 31A 8" and its NUL
inline constexpr int kCalibrationShownSeconds = 3;  // step 7's table: columns (seconds) shown at once
inline constexpr int kCalibrationShownDelays = 13;  // and rows (delays)
inline constexpr int kMtWordCount = 624;
inline constexpr int kTextBufferBytes = 256;
inline constexpr int kLineBufferBytes = 256;
inline constexpr int kFolderPathBytes = 4096;
inline constexpr int kMaxShownWildLines = 5;   // step 11's creatures on screen (wild.txt holds them all)
inline constexpr int kMaxShownWildHits = 10;   // step 12's hit lines, each with a button
inline constexpr int kMaxWildCueStarts = 64;   // step 11's "where am I": the starts kept (more are counted)
inline constexpr int kMaxShownIdLines = 16;    // step 13's lines on screen, each with a button
inline constexpr int kMaxShownIdHits = 12;     // step 14's hit lines, each with two buttons
inline constexpr int kSequenceTextBytes = 192;  // a typed coin or call sequence: 64 letters and spaces  // a file's path in the window's folder

// Six signed values in the stat order H, A, B, S, C, D (Speed fourth).
struct StatBlock {
  int32_t values[kStatCount];
  int32_t& operator[](int i) { return values[i]; }
  const int32_t& operator[](int i) const { return values[i]; }
};

// IVs still possible for one stat, low and high inclusive, 0 <= low <= high <= 31.
struct IvRange {
  int32_t low;
  int32_t high;
};

// A stat's IV is fixed (known exactly) when its range holds one value.
constexpr bool isFixed(const IvRange& range) { return range.low == range.high; }

// One measurement: a level and the six stats read at it (-1 = not measured
// because that stat's IV was already fixed).
struct MeasurementRow {
  int32_t level;
  StatBlock stats;
};

enum class StatKind : int32_t { kHp = 1, kNeutral = 2, kRaised = 3, kLowered = 4 };

struct NatureInfo {
  char name[kNameFieldBytes];  // CP932, NUL-terminated
  int32_t raised;              // stat index 1..5 multiplied by 1.1, 0 if neutral
  int32_t lowered;             // stat index 1..5 multiplied by 0.9, 0 if neutral
};

struct NatureTable {
  NatureInfo rows[kNatureCount];
};

struct SpeciesRecord {
  char name[kNameFieldBytes];  // CP932, NUL-terminated, at most 15 bytes
  StatBlock baseStats;
};

struct SpeciesTable {
  SpeciesRecord rows[kSpeciesCount];
};

struct PidCandidate {
  uint32_t pid;
  uint32_t currentSeed;  // the generator state one step after the second IV draw
};

struct SeedCandidate {
  uint32_t seed;
  int32_t stepIndex;  // 0 = one backward step
};

// One moment on the console's clock and the delay waited after it.
struct ConsoleMoment {
  int32_t year;    // 2000..2099
  int32_t month;   // 1..12
  int32_t day;     // 1..days in that month
  int32_t hour;    // 0..23
  int32_t minute;  // 0..59
  int32_t second;  // 0..59
  int32_t delay;   // frames, 0 or more
};

// What a player sets for step 8 and aims at in step 7, as kept between runs
// (core/timer_file.h).
struct TimerSettings {
  int32_t delayCalibration;   // frames
  int32_t secondCalibration;  // ms
  int32_t minFirstPhase;      // ms
  uint8_t targetSet;          // 0: no target
  ConsoleMoment target;       // its delay included
};

// What decides which frames an egg list keeps and how its lines read: the IDs,
// the international-marriage rerolls and the shiny, nature, gender and ability
// filters (each filter as the row of its list, 0 = "指定しない").
struct EggListSettings {
  int32_t tid;
  int32_t sid;
  uint8_t internationalMarriage;
  uint8_t shinyOnly;
  int32_t natureChoice;
  int32_t genderChoice;
  int32_t abilityChoice;
  int32_t everstoneChoice;  // 0 = no Everstone, k = 1..25 passes nature k - 1
};

// The 624 words of the Mersenne Twister; the read position is kept by the caller.
struct Mt19937 {
  uint32_t words[kMtWordCount];
};

// Opaque handle of a window control, given out by the platform backend.
// 0 is "no control"; a destroyed control's handle is cleared to 0.
using ControlHandle = std::intptr_t;

// The outcome of planning step 8's timer (core/timer_plan.h); kNoTarget is
// step 8's own: there is no target to plan.
enum class TimerPlanOutcome : int32_t {
  kNoTarget = -1,
  kPlanned = 0,
  kInvalidRequest,   // not a moment of the clock, a delay outside 0..65535 or a value outside its range
  kNegativeDelay,    // D + C < 0
  kClockTooEarly,    // the clock to set would fall before 2000-01-01 00:00
};

// The phase of step 8's countdown (core/timer_plan.h); kBeforeStart until it
// is started.
enum class CountdownPhase : int32_t { kBeforeStart = 0, kFirst = 1, kSecond = 2, kDone = 3 };

// What became of the sound since the last platformStartCues (ui/platform.h).
enum class SoundState : int32_t {
  kIdle,        // no cue handed over yet, or every cue played, or stopped and played out
  kPlaying,     // cues handed over and not all played: connecting, or the stream runs
  kNoServer,    // no sound server or no output device (none to connect to, or it never answered)
  kNoStream,    // the server answered but refused or never opened the output stream
  kDeviceLost,  // the stream ran, then the device or the server went away (a headset
                // unplugged, the server restarted): the cues left were not heard
};

// Where a typed hit sequence comes from (core/hit_sequence.h); kNone: no
// sequence typed.
enum class HitSource : int32_t {
  kNone = -1,
  kCoin = 0,  // letters: 1 = H (heads, 表), 0 = T (tails, 裏)
  kElm = 1,   // letters: 0 = E, 1 = K, 2 = P (never before Pokérus)
  kChatot = 2,  // letters: 0 = L, 1 = M, 2 = H, the third of Chatot's cry
};

// How a typed hit sequence read (core/hit_sequence.h).
enum class HitTextStatus : int32_t {
  kOk,
  kEmpty,      // no letter
  kBadLetter,  // text[at..at + width) is not one of the source's letters
  kTooLong,    // more than kMaxHitLetters letters
};

// The power items in stat order: kWeight forces H, kBracer A, kBelt B,
// kAnklet S, kLens C, kBand D (stat index = item - 1).
enum class PowerItem : int32_t { kNone, kWeight, kBracer, kBelt, kAnklet, kLens, kBand };

enum class ScreenMode : int32_t { kNone = 0, kOne = 1, kTwo = 2, kThree = 3, kFour = 4, kFive = 5, kSix = 6, kSeven = 7 };

// A line of step 9's listing: the egg's IVs as "31A 20 31B 5 31A 8" (an
// inherited IV carries its parent's letter).
struct IvLine {
  int32_t frame;  // n, "回数"
  char ivs[kIvTextBytes];
};

enum class SearchStatus : int32_t { kIdle = 0, kRunning = 1, kFinished = 2, kStopped = 3 };

// One hit a year search found, as its panel lists it: the initial seed, the
// frame (or n), the delay that reaches the seed in the search's year, and
// what the kind shows of it: the egg's final PID (after the
// international-marriage rerolls) and whether it is shiny (step 5), the
// egg's IVs as "31A 20 31B 5 31A 8" (step 10), or the creature's PID (its
// nature is PID % 25), whether it is shiny and its IVs as "31 0 31 31 31 31"
// (step 12).
struct SearchHit {
  uint32_t seed;
  int32_t frame;
  int32_t delay;
  uint32_t pid;
  uint8_t shiny;
  char ivs[kIvTextBytes];
};

// What a running or finished year search shows (one per search step): where
// it stands, its best hits in the search's order (-1: none yet), how many it
// kept up to its limit and wrote to its hit file, whether it found more than
// it keeps, why the hit file was not written (errno, 0 when it was), and,
// when the last "検索" found no thread to run its search on (notStarted), the
// status, year and hit count shown before it, which are kept while a search
// runs and shown again.
// A note naming a field whose text could not be read, or lay outside its
// range, with what was used instead; empty when every field read as typed.
inline constexpr int32_t kInputNoteBytes = 160;

struct SearchPanel {
  SearchStatus status;
  int32_t percent;  // 0..100 while running
  int32_t year;     // of the last search (the step's year edit starts from it)
  int32_t hitCount;
  SearchHit hits[kMaxShownHits];
  int32_t hitTotal;
  uint8_t hitsCut;
  int32_t hitFileError;
  uint8_t notStarted;
  SearchStatus statusBefore;
  int32_t yearBefore;
  int32_t hitCountBefore;
  char inputNote[kInputNoteBytes];  // what the last reading of the step's fields could not take as typed
};

// The scratch buffers.
struct ScratchBuffers {
  // Text read from controls and numbers formatted for the screen go through here.
  char textBuffer[kTextBufferBytes];
  // The line buffer shared by the two data-file readers.
  char lineBuffer[kLineBufferBytes];
};

// Step 1: IV measurement.
struct MeasureState {
  StatBlock baseStats;
  int32_t natureIndex;
  MeasurementRow measurements[kMaxMeasurements];
  int32_t measurementCount;
  IvRange ivRanges[kStatCount];
  int32_t narrowLevels[kStatCount];
};

// Step 2: PID candidates.
struct PidSteps {
  PidCandidate pidCandidates[kMaxPidCandidates];
  int32_t pidCandidateCount;
};

// Step 3: initial-seed candidates.
struct SeedSteps {
  uint32_t currentSeed;
  SeedCandidate seedCandidates[kMaxSeedCandidates];
  int32_t seedCandidateCount;
};

// TID and SID as last used by step 4, 5 or 11, or taken from a line of step
// 13 or 14 ("このIDを使う"); idsKnown is 0 until one of them has. The ID edits
// of steps 4, 5 and 11 start from them.
struct LastIds {
  int32_t lastTid;
  int32_t lastSid;
  uint8_t idsKnown;
};

// Screen 1 controls.
struct ScreenOneControls {
  ControlHandle speciesEdit;
  ControlHandle speciesButton;
  ControlHandle baseStatEdits[kStatCount];
  ControlHandle levelEdit;
  ControlHandle statEdits[kStatCount];
  ControlHandle natureCombo;
  ControlHandle resetButton;
  ControlHandle addButton;
  ControlHandle searchButton;
  ControlHandle ivEntryButton;
  ControlHandle candidateButtons[kMaxPidCandidates];
};

// Screen 2 controls.
struct ScreenTwoControls {
  ControlHandle currentSeedEdit;
  ControlHandle hourEdit;
  ControlHandle seedSearchButton;
  ControlHandle stepLimitEdit;
  ControlHandle tidEdit;
  ControlHandle sidEdit;
  ControlHandle initialSeedEdit;
  ControlHandle marriageCheck;
  ControlHandle outputButton;
  ControlHandle frameCountEdit;
  ControlHandle shinyOnlyCheck;
  ControlHandle natureFilterCombo;
  ControlHandle genderFilterCombo;
  ControlHandle abilityFilterCombo;
  ControlHandle everstoneCheck;  // "かわらずのいし" and the nature it passes
  ControlHandle everstoneCombo;
  ControlHandle seedResultEdits[kMaxSeedCandidates];
};

// Screen 3 controls.
// What a screen's inputs showed when it was torn down, for its next build to
// show again: an edit's text, a list's row, a box's tick, in the screen's
// order. count 0: nothing kept yet.
inline constexpr int32_t kMaxKeptInputs = 24;
inline constexpr int32_t kKeptTextBytes = 64;
struct KeptInput {
  char text[kKeptTextBytes];
  int32_t row;
  uint8_t checked;
};
struct KeptInputs {
  int32_t count;
  KeptInput inputs[kMaxKeptInputs];
  int32_t lastTid;  // the IDs last used when they were kept: typed IDs
  int32_t lastSid;  // give way to IDs used since
};

struct ScreenThreeControls {
  ControlHandle yearEdit;
  ControlHandle searchTidEdit;
  ControlHandle searchSidEdit;
  ControlHandle searchMarriageCheck;
  ControlHandle searchShinyOnlyCheck;
  ControlHandle searchNatureCombo;
  ControlHandle searchGenderCombo;
  ControlHandle searchAbilityCombo;
  ControlHandle searchEverstoneCheck;
  ControlHandle searchEverstoneCombo;
  ControlHandle maxFrameEdit;
  ControlHandle delayMinEdit;
  ControlHandle delayMaxEdit;
  ControlHandle eggSearchButton;
  ControlHandle eggSearchStopButton;
  ControlHandle hitButtons[kMaxShownHits];
  ControlHandle momentSeedEdit;
  ControlHandle momentYearEdit;
  ControlHandle momentButton;
  ControlHandle toStepFourButton;
  ControlHandle aimButtons[kMaxSeedMoments];
};

// Screen 4 controls.
struct ScreenFourControls {
  ControlHandle targetMomentEdit;
  ControlHandle targetDelayEdit;
  ControlHandle calibrationSecondsEdit;
  ControlHandle calibrationDelaysEdit;
  ControlHandle hitSeedEdit;
  ControlHandle coinEdit;
  ControlHandle callsEdit;
  ControlHandle beforePokerusCheck;
  ControlHandle calibrateButton;
  ControlHandle applyCorrectionButton;
  ControlHandle delayCalibrationEdit;
  ControlHandle secondCalibrationEdit;
  ControlHandle minFirstPhaseEdit;
  ControlHandle planButton;
  ControlHandle timerButton;
};

// Screen 5 controls.
struct ScreenFiveControls {
  ControlHandle ivGameCheck;
  ControlHandle ivParentAEdits[kStatCount];
  ControlHandle ivParentBEdits[kStatCount];
  ControlHandle ivItemACombo;
  ControlHandle ivItemBCombo;
  ControlHandle ivMinEdits[kStatCount];
  ControlHandle ivMaxEdits[kStatCount];
  ControlHandle ivSeedEdit;
  ControlHandle ivFrameCountEdit;
  ControlHandle ivListButton;
  ControlHandle ivYearEdit;
  ControlHandle ivMaxFrameEdit;
  ControlHandle ivDelayMinEdit;
  ControlHandle ivDelayMaxEdit;
  ControlHandle ivSearchButton;
  ControlHandle ivSearchStopButton;
  ControlHandle ivHitButtons[kMaxShownIvHits];
};

// Screen 6 controls (step 11).
struct Screen6Controls {
  ControlHandle gameCombo;
  ControlHandle kindCombo;
  ControlHandle leadCombo;
  ControlHandle leadNatureCombo;
  ControlHandle genderRatioCombo;
  ControlHandle levelMinEdit;
  ControlHandle levelMaxEdit;
  ControlHandle biteRateEdit;
  ControlHandle roamerCheck;
  ControlHandle feebasCombo;
  ControlHandle tidEdit;
  ControlHandle sidEdit;
  ControlHandle shinyOnlyCheck;
  ControlHandle ivMinEdits[kStatCount];
  ControlHandle ivMaxEdits[kStatCount];
  ControlHandle natureCombo;
  ControlHandle abilityCombo;
  ControlHandle genderCombo;
  ControlHandle slotCombo;
  ControlHandle hiddenPowerCombo;
  ControlHandle hiddenPowerMinEdit;
  ControlHandle seedEdit;
  ControlHandle advanceCountEdit;
  ControlHandle outputButton;
  ControlHandle cueEdit;
  ControlHandle beforePokerusCheck;
  ControlHandle aimedAdvanceEdit;
  ControlHandle whereButton;
  // Step 12 (the right half).
  ControlHandle searchYearEdit;
  ControlHandle searchAdvanceEdit;
  ControlHandle searchDelayMinEdit;
  ControlHandle searchDelayMaxEdit;
  ControlHandle searchButton;
  ControlHandle searchStopButton;
  ControlHandle hitButtons[kMaxShownWildHits];
};

// Screen 7 controls (steps 13 and 14).
struct Screen7Controls {
  ControlHandle momentEdit;
  ControlHandle delayMinEdit;
  ControlHandle delayMaxEdit;
  ControlHandle listButton;
  ControlHandle lineUseButtons[kMaxShownIdLines];
  ControlHandle yearEdit;
  ControlHandle searchDelayMinEdit;
  ControlHandle searchDelayMaxEdit;
  ControlHandle tidEdit;
  ControlHandle sidEdit;
  ControlHandle pidEdit;
  ControlHandle cuteCharmCheck;
  ControlHandle natureCombo;
  ControlHandle ratioCombo;
  ControlHandle searchButton;
  ControlHandle searchStopButton;
  ControlHandle hitButtons[kMaxShownIdHits];     // "日時へ"
  ControlHandle hitUseButtons[kMaxShownIdHits];  // "このIDを使う"
};

// IV entry dialog edits, live only while the dialog is open.
struct IvDialogControls {
  ControlHandle ivDialogEdits[kStatCount];
};

// Step 4: the last egg-list request's values (its IDs, rerolls and filters in
// settings), and the generator words.
struct EggListState {
  uint32_t eggInitialSeed;
  int32_t eggFrameCount;
  EggListSettings settings;
  Mt19937 mt;
  int32_t resultFileError;  // why the last "出力" could not write result.txt (an errno value), 0: written
};

// Step 6: the first moments of momentSeed in momentYear (-1: no list).
struct MomentSteps {
  char inputNote[kInputNoteBytes];  // step 6's seed or year not taken as typed
  uint32_t momentSeed;
  int32_t momentYear;
  ConsoleMoment moments[kMaxSeedMoments];
  int32_t momentCount;
  int32_t momentTotal;  // how many moments the whole year holds
  // The seed a hit's "日時へ" put into step 6's seed edit, with the settings of
  // the search that found it; handOverFromHit is 0 until a hit's button is
  // pressed and again whenever screen 3 is built (its seed edit starts empty).
  uint32_t handOverSeed;
  EggListSettings handOverSettings;
  uint8_t handOverFromHit;
  // The settings of the step 5 search whose hits are listed: a hit's "日時へ"
  // hands them over.
  EggListSettings hitSettings;
};

// Step 7: the seed of the target (app.timer.settings's targetSet and target),
// the calibration table's ranges, and a seed typed as
// hit (typedHitSet 0: none).
struct AimSteps {
  uint32_t targetSeed;
  int32_t calibrationSeconds;  // 0..600
  int32_t calibrationDelays;   // 0..1000
  uint8_t typedHitSet;
  uint32_t typedHitSeed;
  uint8_t hitSeedRefused;  // the last typed hit seed did not read: nothing is matched
  // Step 3's candidates as step 7 last took them: step 3's list goes when
  // screen 2 is built again, step 7's copy stays until a new list comes.
  uint32_t candidateSeeds[kMaxSeedCandidates];
  int32_t candidateSeedCount;
  uint8_t targetUnreadable;  // the last typed target could not be read
  char inputNote[kInputNoteBytes];  // a field of the last "表を計算" not taken as typed
  // The coin's flips (DPPt) and Elm's answers (HGSS) typed after a try, as
  // typed, and "ポケルス前". The first that is not empty tells the hit in place
  // of the hit seeds: sequenceSource kNone, kCoin the coin, kElm the calls;
  // sequenceStatus how it read (kOk: read), with the first letter refused as
  // typed.
  char coinText[kSequenceTextBytes];
  char callsText[kSequenceTextBytes];
  uint8_t beforePokerus;
  HitSource sequenceSource;
  HitTextStatus sequenceStatus;
  char sequenceBadLetter[3];
  // The part of the table step 7 shows: the offsets of its first column and
  // row, how many of each, and per cell its seed (cellShown 0: no cell there)
  // and whether a hit seed matches it.
  int32_t shownFirstSecond;
  int32_t shownFirstDelay;
  int32_t shownSecondCount;
  int32_t shownDelayCount;
  uint32_t shownSeeds[kCalibrationShownSeconds][kCalibrationShownDelays];
  uint8_t cellShown[kCalibrationShownSeconds][kCalibrationShownDelays];
  uint8_t cellMatched[kCalibrationShownSeconds][kCalibrationShownDelays];
  // The hit seeds looked for (-1: the table was not searched), how many cells
  // they match, and the one nearest the target (fewest seconds, then delays off).
  int32_t hitSeedCount;
  int32_t matchCount;
  int32_t matchSecond;
  int32_t matchDelay;
  uint32_t matchSeed;
  ConsoleMoment matchMoment;
  int32_t aimDelay;  // the delay to aim for next time, after the first match; -1: none corrects it
  // The try whose miss 補正を反映 applied last (its matched seed and the
  // target's seed): a second press for it changes nothing.
  uint8_t correctionApplied;
  uint32_t correctionSeed;
  uint32_t correctionTargetSeed;
  // A typed sequence's match: the skip at which the named cell gives it, and
  // the further letters after which one match is left (-1: never, the same
  // seed at one skip; tellApartAtLeast: a lower bound, taken over the first
  // matches only).
  int32_t matchSkip;
  int32_t tellApart;
  uint8_t tellApartAtLeast;
};

// Step 8: the settings of the timer, kept while the window is open: the
// target of step 7 (the moment and delay aimed for, chosen in step 6 or typed
// in step 7; targetSet 0 until one is) and the timer's calibrations; the plan
// of the target with them, and the countdown. planOutcome is kNoTarget without a
// target, else the outcome of the plan (kPlanned: planned).
struct TimerSteps {
  TimerSettings settings;
  TimerPlanOutcome planOutcome;
  ConsoleMoment planClock;  // the clock to set, to the minute
  int64_t planFirstPhase;   // ms
  int64_t planSecondPhase;  // ms
  uint8_t countdownRunning;
  int64_t countdownStart;    // platformNowMilliseconds when it started
  int64_t countdownElapsed;  // ms from the start to the last tick
  CountdownPhase countdownPhase;
  int64_t countdownRemaining;
  int64_t flashUntil;        // the end flash shows while countdownElapsed is below this
  int64_t countdownPaintedAt;  // countdownElapsed at the last repaint
  SoundState soundState;     // last read: a failure is said on screen
  // timer.txt in the folder the window started in: the target and the three
  // calibrations as the file holds them (read at start, or last written), the
  // lines it could not take at start, and why the last write failed (errno, 0
  // when it did not).
  char timerFilePath[kFolderPathBytes];
  TimerSettings timerFileSettings;
  int32_t timerFileBadLines;
  int32_t timerFileError;
  char inputNote[kInputNoteBytes];  // a calibration of the last reading not taken as typed
};

// Steps 9 and 10 (screen 5): the parents, the game and items, the wanted
// ranges, the seed and count last read (kept while the window is open).
struct IvInputs {
  uint8_t ivGameHgss;
  int32_t ivParentA[kStatCount];
  int32_t ivParentB[kStatCount];
  PowerItem ivItemA;
  PowerItem ivItemB;
  IvRange ivWanted[kStatCount];
  uint8_t ivInputsSet;  // 0 until step 9 or 10 has read them: the edits start empty and 0..31
};

// Step 9's listing: its first lines (-1: none yet), how many it kept in
// all, and why ivs.txt was not written (errno, 0 when it was).
struct IvListing {
  int32_t ivLineCount;
  int32_t ivLineTotal;
  IvLine ivLines[kMaxShownIvLines];
  int32_t ivFileError;
  char inputNote[kInputNoteBytes];  // a field of the last "出力" not taken as typed
};

// Step 11's settings as the player last gave them (core/wild.h's enums as
// their values: game 0 DPPt / 1 HGSS, WildKind, WildLead, WildFeebas) and
// the filters as the rows of their lists (0: any).
struct WildSettings {
  int32_t game;
  int32_t kind;
  int32_t lead;
  int32_t leadNature;   // 0..24
  int32_t genderRatio;  // one of core/wild.h's kGenderRatios
  int32_t levelMin;     // 1..100
  int32_t levelMax;
  int32_t biteRate;     // 0..100
  uint8_t roamer;
  int32_t feebas;
  IvRange ivs[kStatCount];
  int32_t natureChoice;       // 0, or 1 + nature
  int32_t abilityChoice;      // 0, 1 or 2
  int32_t genderChoice;       // 0, 1 male, 2 female
  int32_t slotChoice;         // 0, or 1 + slot
  int32_t hiddenPowerChoice;  // 0, or 1 + type
  int32_t hiddenPowerMin;     // 30..70
  uint8_t shinyOnly;
  int32_t advanceCount;  // N: advances 0..N-1
};

// A creature of step 11's listing as the screen shows it.
struct WildLine {
  int32_t advance;
  uint32_t pid;
  int32_t nature;
  int32_t ability;   // 1 or 2
  int32_t gender;    // core/wild.h's WildGender
  uint8_t shiny;
  int32_t ivs[kStatCount];
  int32_t hiddenPowerType;
  int32_t hiddenPowerPower;
  int32_t slot;      // -1: none
  uint8_t feebas;    // a Feebas tile gave Feebas
  int32_t level;     // -1: none
  int32_t bite;      // -1: no rod
  int32_t chatotStep;  // DPPt's cue; -1 with HGSS
  char cueLetter;
};

// Step 11 (screen 6): its settings (settingsSet 0 until 出力 or 今の消費数
// has read them: the controls then start from their defaults), the seed last
// listed (seedSet 0: none yet), the listing's first lines (-1: none yet), how
// many it kept, why wild.txt was not written (errno, 0 when it was), and
// "where am I": the cues typed and how they read (cueSource kNone: not
// looked for), the advances they start at (startCount -1: not looked for;
// the first kMaxWildCueStarts kept), how many letters were read, and the
// advance aimed at (aimedSet 0: none typed).
struct WildStep {
  WildSettings settings;
  char inputNote[kInputNoteBytes];  // a field of the last "出力" or "今の消費数" not taken as typed
  uint8_t settingsSet;
  uint32_t seed;
  uint8_t seedSet;
  int32_t lineCount;
  int32_t lineTotal;
  WildLine lines[kMaxShownWildLines];
  int32_t fileError;
  char cueText[kSequenceTextBytes];
  uint8_t beforePokerus;
  HitSource cueSource;
  HitTextStatus cueStatus;
  char cueBadLetter[3];
  int32_t cueLetters;
  uint32_t cueSeed;  // the seed the starts are of: marked in the list when it is the one listed
  int32_t startCount;
  int32_t starts[kMaxWildCueStarts];
  uint8_t aimedSet;
  int32_t aimedAdvance;
  // A step 12 hit handed over by its "日時へ": its seed became the one listed
  // and its advance the one aimed at; listing that seed starts at the advance
  // and marks it (hitMarkSet 0: none handed over).
  uint8_t hitMarkSet;
  uint32_t hitMarkSeed;
  int32_t hitMarkAdvance;
  // How step 12's last search reads HGSS's cue (before Pokérus) for its file.
  uint8_t searchBeforePokerus;
  // What the screen's greying last followed: the game, kind and lead rows.
  int32_t shownGame;
  int32_t shownKind;
  int32_t shownLead;
};

// A line of step 13: a delay after the typed moment, the seed it makes and
// that seed's IDs.
struct IdLine {
  int32_t delay;
  uint32_t seed;
  int32_t tid;
  int32_t sid;
};

// Step 13: the moment and delays last read (momentSet 0: none read yet), the
// first lines of the listing (-1: none yet), how many delays it spans, and
// whether the last typed moment could not be read (the list then stays).
struct IdListing {
  uint8_t momentSet;
  ConsoleMoment moment;  // its delay unused
  int32_t delayMin;
  int32_t delayMax;
  int32_t lineCount;
  int32_t lineTotal;
  IdLine lines[kMaxShownIdLines];
  uint8_t momentUnreadable;
  char inputNote[kInputNoteBytes];  // a delay of the last "計算" not taken as typed
};

// Step 14's inputs as last read (inputsSet 0: the edits start from their
// defaults): the delays, the IDs wanted (0: not wanted), a typed PID to make
// shiny and Cute Charm's (a nature, a row of the gender ratios 31..223).
struct IdSearchInputs {
  uint8_t inputsSet;
  int32_t delayMin;
  int32_t delayMax;
  uint8_t tidWanted;
  int32_t tid;
  uint8_t sidWanted;
  int32_t sid;
  uint8_t pidWanted;
  uint32_t pid;
  uint8_t cuteCharm;
  int32_t cuteCharmNature;
  int32_t cuteCharmRatioRow;
};

struct AppState {
  ScreenMode screenMode;

  // Platform handles (meaningful only to the backend that gave them out).
  std::intptr_t instance;
  std::intptr_t mainWindow;
  // Shell commands running: a modal dialog's event loop runs inside one.
  int32_t shellCallDepth;
  int32_t shellTimerPeriod;  // the period the window's timer runs at (0: stopped)

  ScratchBuffers scratch;

  NatureTable natureTable;
  SpeciesTable speciesTable;

  MeasureState measure;

  PidSteps pids;

  SeedSteps seeds;

  EggListState eggList;

  LastIds ids;

  // Step 5's search.
  SearchPanel eggSearch;

  MomentSteps moments;

  AimSteps aim;

  TimerSteps timer;

  IvInputs ivInputs;
  IvListing ivList;
  // Step 10's search.
  SearchPanel ivSearch;

  ScreenOneControls screen1;

  ScreenTwoControls screen2;

  ScreenThreeControls screen3;
  KeptInputs screen3Inputs;

  ScreenFourControls screen4;

  ScreenFiveControls screen5;

  WildStep wild;
  // Step 12's search.
  SearchPanel wildSearch;

  Screen6Controls screen6;

  IdListing idList;
  IdSearchInputs idInputs;
  // Step 14's search.
  SearchPanel idSearch;

  Screen7Controls screen7;

  IvDialogControls ivDialog;
};
