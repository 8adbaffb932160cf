// Step 1: the stat formula and the narrowing of the six IV ranges, measurement
// by measurement. The typed numbers come in as arguments; reading and
// destroying controls is the shell's part.
#pragma once

#include <cstdint>

#include "state/app_state.h"

// pre = (2B + I) * L / 100 + 5 in 32-bit integers; Hp: pre + L + 5;
// Raised / Lowered: pre * 1.1 / pre * 0.9 truncated toward zero.
int32_t computeStat(StatKind kind, int32_t base, int32_t iv, int32_t level);

// Hp for stat 0; otherwise Raised / Lowered / Neutral by the nature's row.
StatKind statKindFor(int statIndex, const NatureInfo& nature);

// Narrows `range` to the run of IVs firstIv..lastIv (ascending) whose stat equals
// `observed`; an observed stat that no IV gives leaves the range unchanged.
void narrowRange(IvRange& range, StatKind kind, int32_t base, int32_t level, int32_t observed, int32_t firstIv,
                 int32_t lastIv);

// Command "追加" with no measurement yet: stores the base stats, the nature and
// row 0, narrows all six ranges over 0..31 and recomputes the narrowing levels.
void takeFirstMeasurement(MeasureState& measure, const NatureTable& natures, const StatBlock& baseStats, int32_t natureIndex, int32_t level,
                          const StatBlock& stats);

// Command "追加" with 1..19 measurements: row r gets the level and, for every
// stat whose range is open, its observed stat (fixed stats store -1 and their
// entry in `stats` is ignored); narrows the open ranges. With 20 rows it does
// nothing. Returns false when nothing was recorded.
bool takeNextMeasurement(MeasureState& measure, const NatureTable& natures, int32_t level, const StatBlock& stats);

// Per stat the lowest level from the last measurement's level up to 100 at which
// the open IVs give different stats; 0 for a fixed stat; unchanged when none.
void computeNarrowLevels(MeasureState& measure, const NatureTable& natures);

// The state part of "リセット": nothing when no measurement was taken (returns
// false); otherwise count 0, ranges 0..31, narrowing levels 0, no PID list.
bool resetMeasurement(MeasureState& measure, PidSteps& pids);

// The state every fresh step-1 screen starts from: nature 0, ranges 0..31,
// narrowing levels 0, no measurement, no PID list.
void startStepOne(MeasureState& measure, PidSteps& pids);
