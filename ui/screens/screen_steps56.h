// What the two files of screen 3 share: its controls and commands
// (screen_steps56.cpp) and the life of step 5's search, which goes on while
// other screens are shown (screen_steps56_search.cpp).
#pragma once

#include <cstdint>

#include "state/app_state.h"

// One "日時へ" button per listed hit of step 5, level with its line; the
// buttons of the previous list are destroyed first.
void createHitButtons(AppState& app);

// A search has ended, by itself or stopped: its first kSearchHitLimit hits
// become step 5's list and the hit file "search.txt", and whether it found
// more is kept. A search that ran to its end opens the file for the player
// when the file was written; a stopped one keeps the hits found so far,
// listed and written, and opens nothing. A search the engine could not run
// (no thread for it) leaves the list, the year, the status and the hit file
// as they were before it.
void finishSearch(AppState& app);

// The window's timer ticks every 100 ms while a search runs, 0 otherwise.
int32_t searchTickPeriod(const AppState& app);

// A running search's end, or its progress when that has moved. Inside a
// command (the IV dialog's loop, see shellCommand) a search is taken in on
// the first tick after it.
void searchTick(AppState& app);

// The window is closing: a running search is stopped and its thread joined;
// its hits are dropped with the window.
void searchClose(AppState& app);
