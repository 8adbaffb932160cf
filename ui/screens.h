// The two screens of the main window: their controls, the controls commands
// add or recreate at run time, and everything the paint handler draws.
// Screen 1 holds steps 1 and 2, screen 2 steps 3 and 4, screen 3 steps 5 and 6,
// screen 4 steps 7 and 8.
#pragma once

#include "state/app_state.h"
#include "ui/platform.h"

// Creates the controls of screen `mode` in their fixed order and
// resets that screen's state: screen 1 starts step 1 afresh (nature 0, ranges
// 0..31, no measurement, no PID list) with AppState.baseStats in the base-stat
// edits; screen 2 has no seed list (AppState.seedCandidateCount -1); screen 3
// has no moment list (AppState.momentCount -1) and no seed handed over from a
// hit (AppState.handOverFromHit 0) but keeps step 5's search, its
// hits with their buttons and its year, and shows the TID and SID last used;
// screen 4 shows the target, the ranges, the typed hit seed and the timer's
// calibrations kept in AppState, with the timer's button focused.
void buildScreen(AppState& app, ScreenMode mode);

// Destroys every control of screen `mode` (handles cleared) and drops the PID
// list (AppState.pidCandidateCount -1).
void tearDownScreen(AppState& app, ScreenMode mode);

// "リセット": the six base-stat edits again, now plain edits skipped by Tab,
// showing AppState.baseStats, and the nature list with AppState.natureIndex
// selected. The level and stat edits keep their texts.
void rebuildStepOneInputs(AppState& app);

// One "この値で次へ" button per listed PID candidate, slot i at y 208 + 25 i.
// After a range search only buttons with y below 583 are made (15 at most),
// so a 16th candidate is listed without one.
void createCandidateButtons(AppState& app, bool afterRangeSearch);

// One "日時へ" button per listed hit of step 5, level with its line; the
// buttons of the previous list are destroyed first.
void createHitButtons(AppState& app);

// One "狙う" button per listed moment of step 6, level with its line; the
// buttons of the previous list are destroyed first.
void createAimButtons(AppState& app);

// One plain edit per seed candidate, showing its seed as "0x%08X".
void createSeedResultEdits(AppState& app);

// Draws the shown screen: the white client area, then its labels, values and
// lines. Numbers are formatted through AppState.textBuffer.
void paintScreen(AppState& app, PaintSurface surface);
