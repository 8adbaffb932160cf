// What the two files of screen 4 share: step 7 with the screen's controls and
// commands (screen_steps78.cpp) and step 8, the timer, whose countdown goes
// on while other screens are shown (screen_steps78_timer.cpp).
#pragma once

#include <cstdint>

#include "core/calibration.h"
#include "core/hit_sequence.h"
#include "state/app_state.h"
#include "ui/platform.h"

// Step 7 lies left of the line at x 400, step 8 right of it.
inline constexpr int32_t kStepEightX = 400;

// Whether `a` lies nearer the target than `b`: fewer seconds off, then fewer
// delays off. A seed can come from several cells of a wide table (the same
// minute + second sum a minute apart); the nearest is the likeliest try.
bool closerToTarget(const CalibrationCell& a, const CalibrationCell& b);

// A moment typed as "YYYY-MM-DD HH:MM:SS" (step 7's target, step 13's
// moment): six numbers, each of at most four digits, separated by anything
// that is not a digit. False, leaving `moment` alone, unless the six make a
// moment of the clock; its delay is 0.
bool parseTypedMoment(const char* text, ConsoleMoment& moment);

// Step 7's coin and calls edits and "ポケルス前" into AppState.
void readSequenceEdits(AppState& app);

// The typed sequence that tells the hit: the coin's flips when typed, else
// Elm's answers (at skips 0..4). Sets AppState.aim.sequenceSource, sequenceStatus
// and the letter refused; true when there is one and it reads.
bool typedSequence(AppState& app, HitSearch& search);

// Whether the seed's flips (at the search's skip) or answers (at any skip up
// to it) begin with the typed letters.
bool sequenceMatchesSeed(const HitSearch& search, uint32_t seed);

// Every cell of the table whose seed gives the sequence: AppState.aim.matchCount,
// `nearest` the one nearest the target with its skip in matchSkip, and how
// many further letters would leave one match (tellApart).
void matchSequence(AppState& app, const CalibrationTable& table, const HitSearch& search, CalibrationCell& nearest);

// A typed sequence that could not be read, said at (x, y); false when there is none.
bool paintSequenceNote(AppState& app, PaintSurface s, int32_t x, int32_t y);

// The count of matches and the further flips or calls that tell them apart.
void paintTellApart(AppState& app, PaintSurface s, int32_t x, int32_t y);

// Step 8's plan for the target with the calibrations; a running countdown
// keeps the plan it started with.
void updatePlan(AppState& app);

// timer.txt in `directory`: its calibrations are taken at once and what it
// holds is returned, so that the caller can aim at its target.
TimerSettings loadTimerSettings(AppState& app, const char* directory);

// Writes timer.txt when the target or a calibration differs from what it
// holds; a failed write is kept for the note on screen 4 and tried again at
// the next change.
void keepTimerSettings(AppState& app);

// Step 8's controls, made after step 7's, the timer's button focused so that
// the space bar presses it; and their tear-down.
void buildStepEight(AppState& app);
void tearDownStepEight(AppState& app);

// Step 8: the plan (the clock to set and the two phases), the calibrations,
// step 7's second advice, and the countdown in large digits with its flash.
void paintStepEight(AppState& app, PaintSurface s);

// 701 "補正を反映", 710 "計画", 711 "スタート/ストップ".
void commandApplyCorrection(AppState& app, int32_t id);
// Whether 補正を反映 was pressed for step 7's present match already.
bool correctionAppliedToThisTry(const AppState& app);
void commandPlan(AppState& app, int32_t id);
void commandTimer(AppState& app, int32_t id);

// The countdown on the window's timer: every 10 ms while it runs, 0 when it
// does not; a tick; and a stop when the window closes.
int32_t countdownTickPeriod(const AppState& app);
void countdownTick(AppState& app);
void countdownClose(AppState& app);
