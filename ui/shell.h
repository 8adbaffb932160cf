// The main window's behaviour, written once over the platform seam: the
// start-up sequence, the command routing and the paint handler. The backend
// calls these three from its window (creation, a click or menu choice, a paint).
#pragma once

#include <cstdint>

#include "state/app_state.h"
#include "ui/platform.h"

// Start-up, run while the main window is being created (AppState.mainWindow
// already set): screen mode 1, the nature table, "default.txt" and
// "pokemon.dat" from `directory` (the working directory: "."), screen 1,
// current seed 0, and no hit or moment list. A missing file leaves zeros.
void shellStart(AppState& app, const char* directory);

// A click on a button or check box, or a menu choice, by its id. Ids the
// routing table does not list do nothing.
void shellCommand(AppState& app, int32_t id);

// The paint handler: redraws the whole client area from AppState.
void shellPaint(AppState& app, PaintSurface surface);

// The tick of platformStartTimer: takes in the progress and, once it has
// ended, the result of work running off the window's thread. A tick that
// comes inside shellCommand (from a modal dialog's loop) takes in no search:
// the next tick after the command does.
void shellTimer(AppState& app);

// The window is closing: work still running off the window's thread is
// stopped and waited for, so that nothing outlives the window. The backend
// calls it before the controls are destroyed; calling it again does nothing.
void shellClose(AppState& app);

// Shows screen `to`: the shown screen's controls are torn down and the new
// screen's built from scratch. The caller repaints.
void shellSwitchScreen(AppState& app, ScreenMode to);

// Starts, retimes or stops the window's one timer after work that runs off
// its ticks (a search, a countdown) has started or ended.
void shellRefreshTimer(AppState& app);

// Reads a control's text through AppState.scratch.textBuffer with buffer length n (at
// most n - 1 bytes) and converts it by the decimal rule / the seed rule.
int32_t readDecimalControl(AppState& app, ControlHandle handle, int32_t n);
uint32_t readSeedControl(AppState& app, ControlHandle handle, int32_t n);

// Buffer lengths (bytes, NUL included) with which each edit is read.
inline constexpr int32_t kReadStatEdit = 4;  // base-stat, level and stat edits
inline constexpr int32_t kReadSpeciesEdit = 11;
inline constexpr int32_t kReadStepLimitEdit = 5;
inline constexpr int32_t kReadSeedEdit = 13;  // current seed, initial seed
inline constexpr int32_t kReadHourEdit = 3;
inline constexpr int32_t kReadFrameCountEdit = 7;
inline constexpr int32_t kReadIdEdit = 6;  // TID, SID
inline constexpr int32_t kReadIvDialogEdit = 3;
inline constexpr int32_t kReadMomentEdit = 24;     // step 7's target moment
inline constexpr int32_t kReadSequenceEdit = kSequenceTextBytes;  // step 7's coin and calls
