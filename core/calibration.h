// The calibration table: after a missed try, the initial seeds of the moments
// and delays around the one aimed for, so that the seed actually hit can be
// found among them and the next try corrected.
//
// For a target moment (to the second, delay D) and ranges S (seconds) and K
// (delays) the table has one cell per offset pair ds in -S..+S, dd in -K..+K:
// the moment ds seconds from the target on the console's clock (carrying into
// minutes, hours, days, months and years; February 29 only in leap years), the
// delay D + dd, and the seed the game builds from them (seedOfMoment). Offsets
// whose moment falls outside 2000-01-01 00:00:00..2099-12-31 23:59:59 or whose
// delay falls outside 0..65535 have no cell. Cells come ordered by ds, then dd,
// ascending. Plain functions, no allocation: cells are written into a caller's
// fixed array, page by page, with a resume cursor.
#pragma once

#include <cstdint>

#include "state/app_state.h"

inline constexpr int32_t kMaxCalibrationSeconds = 600;
inline constexpr int32_t kMaxCalibrationDelays = 1000;
inline constexpr int32_t kMaxCalibrationDelay = 65535;

struct CalibrationTable {
  ConsoleMoment target;  // the moment aimed for, its delay D
  int32_t seconds;       // S, 0..kMaxCalibrationSeconds
  int32_t delays;        // K, 0..kMaxCalibrationDelays
};

struct CalibrationCell {
  int32_t secondOffset;  // ds
  int32_t delayOffset;   // dd
  ConsoleMoment moment;  // the target's moment shifted by ds seconds, delay D + dd
  uint32_t seed;
};

// True when the table can be built: a valid target moment, a delay 0..65535
// and both ranges within their limits. The functions below give no cell for
// any other table.
bool isValidCalibrationTable(const CalibrationTable& table);

// `moment` moved by `seconds` on the console's clock (the delay is kept).
// False, leaving `out` alone, when the moment is not valid or the result falls
// outside the clock's range.
bool shiftMoment(const ConsoleMoment& moment, int32_t seconds, ConsoleMoment& out);

// The cell at (ds, dd); false when the offsets are outside the table's ranges
// or the offset pair has no cell.
bool calibrationCellAt(const CalibrationTable& table, int32_t secondOffset, int32_t delayOffset, CalibrationCell& cell);

// The next offset pair to look at; start from calibrationStart(table).
struct CalibrationCursor {
  int32_t secondOffset;  // past table.seconds once the table is exhausted
  int32_t delayOffset;
};
CalibrationCursor calibrationStart(const CalibrationTable& table);

// Writes, from `cursor` on, up to `capacity` cells in table order and leaves
// the cursor after the last one written. Returns how many were written; fewer
// than `capacity` means the table is exhausted.
int32_t listCalibrationCells(const CalibrationTable& table, CalibrationCursor& cursor, CalibrationCell* out,
                             int32_t capacity);

// Moves the cursor past up to `count` cells, as listCalibrationCells with that
// capacity would, without building them: the cells form a rectangle (the
// seconds whose moment the clock shows by the delays in 0..65535), so this
// costs the same for any count. Returns how many cells it passed; fewer than
// `count` means the table is exhausted.
int32_t advanceCalibrationCursor(const CalibrationTable& table, CalibrationCursor& cursor, int32_t count);

// As listCalibrationCells, but only the cells whose seed is one of
// seeds[0..seedCount): the cells a player may have hit.
int32_t findCalibrationMatches(const CalibrationTable& table, const uint32_t* seeds, int32_t seedCount,
                               CalibrationCursor& cursor, CalibrationCell* out, int32_t capacity);

// The delay to aim for next time if the same timing error repeats: D - dd;
// -1 when that is below 0, which no delay corrects (a delay 65536 frames
// longer builds the same seed, but no player repeats a timing error over
// eighteen minutes).
int32_t calibrationAimDelay(const CalibrationTable& table, const CalibrationCell& cell);
