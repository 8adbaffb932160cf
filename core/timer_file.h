// "timer.txt": what a player sets for step 8 and aims at in step 7, kept
// between runs of the window so that yesterday's calibration holds today.
// ASCII, one name=value a line:
//   delay_calibration=-2          frames, kMinDelayCalibration..kMaxDelayCalibration
//   second_calibration=0          ms, kMinSecondCalibration..kMaxSecondCalibration
//   min_first_phase=14000         ms, 0..kMaxMinFirstPhase
//   target=2026-05-28 00:58:58    a moment of the console's clock
//   target_delay=3909             0..65535
// The file is written whole or not at all (data/output_file.h), as
// result.txt is.
#pragma once

#include <cstdint>

#include "data/output_file.h"
#include "state/app_state.h"

inline constexpr char kTimerFileName[] = "timer.txt";

// What a fresh window starts with: calibrations 0, the shortest phase 1
// kDefaultMinFirstPhase, no target.
TimerSettings defaultTimerSettings();

struct TimerFileRead {
  bool found;        // the file could be opened
  int32_t badLines;  // lines not taken: damaged, out of range, unknown name or too long
};

// Reads `path` over `settings` (start from defaultTimerSettings()). A value
// whose line is bad keeps what `settings` held; a target needs both its
// lines good. A missing file changes nothing. A later line of the same name
// replaces an earlier one.
TimerFileRead readTimerFile(const char* path, TimerSettings& settings);

// Writes every value (the target's lines only when targetSet).
OutputResult writeTimerFile(const char* path, const TimerSettings& settings);

bool operator==(const TimerSettings& a, const TimerSettings& b);
