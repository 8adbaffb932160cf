// What the two files of screen 5 share: its controls and commands
// (screen_steps910.cpp) and the life of step 10's search, which goes on while
// other screens are shown (screen_steps910_search.cpp).
#pragma once

#include <cstdint>

#include "core/egg_ivs.h"
#include "state/app_state.h"

// Step 10's hit lines, their buttons and its notes.
inline constexpr int32_t kIvHitFirstY = 282;
inline constexpr int32_t kIvHitLineStep = 25;

// One "日時へ" button per listed hit of step 10, level with its line; the
// buttons of the previous list are destroyed first.
void createIvHitButtons(AppState& app);

// The parents (with the game and items) as AppState holds them.
EggParents ivParentsOf(const AppState& app);

// The six IVs as the files' six columns: "31A,20,31B,5,31A,8".
void formatEggIvColumns(char (&out)[kEggIvsTextCapacity], const EggIvs& ivs);

// A search has ended, by itself or stopped: as step 5's (screen_steps56.h),
// into step 10's list and "ivs-search.txt".
void finishIvSearch(AppState& app);

// The window's timer ticks every 100 ms while a search runs, 0 otherwise.
int32_t ivSearchTickPeriod(const AppState& app);

// A running search's end, or its progress when that has moved; inside a
// command a search is taken in on the first tick after it.
void ivSearchTick(AppState& app);

// The window is closing: a running search is stopped and its thread joined.
void ivSearchClose(AppState& app);
