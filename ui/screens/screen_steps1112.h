// What the two files of screen 6 share: its controls and commands
// (screen_steps1112.cpp) and step 12's search panel
// (screen_steps1112_search.cpp), whose search goes on while other screens are
// shown.
#pragma once

#include <cstdint>

#include "ui/screens/search_panel.h"

// Step 12 right of this line, step 11 left of it.
inline constexpr int32_t kStepTwelveX = 400;
// Step 12's hits: two text rows each (seed, advance, PID, nature and ★, then
// the IVs), the "日時へ" button level with the first.
inline constexpr int32_t kWildHitFirstY = 110;
inline constexpr int32_t kWildHitTextStep = 18;
inline constexpr int32_t kWildHitLineStep = 2 * kWildHitTextStep;
inline constexpr int32_t kWildHitNoteY = 476;

// Step 12's panel: its hits listed on screen 6 and written to "wild-search.txt".
extern const SearchPanelKind kWildSearchPanel;
