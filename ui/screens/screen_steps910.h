// What the two files of screen 5 share: its controls and commands
// (screen_steps910.cpp) and step 10's search panel
// (screen_steps910_search.cpp), whose search goes on while other screens are
// shown.
#pragma once

#include <cstdint>

#include "core/egg_ivs.h"
#include "state/app_state.h"
#include "ui/screens/search_panel.h"

// Step 10's hit lines, their buttons and its notes.
inline constexpr int32_t kStepTenX = 400;  // step 10 right of this line, step 9 left of it
inline constexpr int32_t kIvHitFirstY = 282;
inline constexpr int32_t kIvHitLineStep = 25;

// The parents (with the game and items) as AppState holds them.
EggParents ivParentsOf(const AppState& app);

// Step 10's panel: its hits listed on screen 5 and written to "ivs-search.txt".
extern const SearchPanelKind kIvSearchPanel;
