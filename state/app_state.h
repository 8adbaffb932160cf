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
inline constexpr int kMtWordCount = 624;
inline constexpr int kTextBufferBytes = 256;
inline constexpr int kLineBufferBytes = 256;

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

enum StatKind : int32_t { Hp = 1, Neutral = 2, Raised = 3, Lowered = 4 };

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

// The 624 words of the Mersenne Twister; the read position is kept by the caller.
struct Mt19937 {
  uint32_t words[kMtWordCount];
};

// Opaque handle of a window control, given out by the platform backend.
// 0 is "no control"; a destroyed control's handle is cleared to 0.
using ControlHandle = std::intptr_t;

enum ScreenMode : int32_t { kScreenNone = 0, kScreenOne = 1, kScreenTwo = 2 };

struct AppState {
  int32_t screenMode;

  // Platform handles (meaningful only to the backend that gave them out).
  std::intptr_t instance;
  std::intptr_t mainWindow;

  // Text read from controls and numbers formatted for the screen go through here.
  char textBuffer[kTextBufferBytes];
  // The line buffer shared by the two data-file readers.
  char lineBuffer[kLineBufferBytes];

  NatureTable natureTable;
  SpeciesTable speciesTable;

  // Step 1: IV measurement.
  StatBlock baseStats;
  int32_t natureIndex;
  MeasurementRow measurements[kMaxMeasurements];
  int32_t measurementCount;
  IvRange ivRanges[kStatCount];
  int32_t narrowLevels[kStatCount];

  // Step 2: PID candidates.
  PidCandidate pidCandidates[kMaxPidCandidates];
  int32_t pidCandidateCount;

  // Step 3: initial-seed candidates.
  uint32_t currentSeed;
  SeedCandidate seedCandidates[kMaxSeedCandidates];
  int32_t seedCandidateCount;

  // Step 4: the last egg-list request's values, and the generator words.
  uint32_t eggInitialSeed;
  int32_t eggFrameCount;
  int32_t eggTid;
  int32_t eggSid;
  uint8_t eggInternationalMarriage;
  uint8_t eggShinyOnly;
  Mt19937 mt;

  // Screen 1 controls.
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

  // Screen 2 controls.
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
  ControlHandle seedResultEdits[kMaxSeedCandidates];

  // IV entry dialog edits, live only while the dialog is open.
  ControlHandle ivDialogEdits[kStatCount];
};
