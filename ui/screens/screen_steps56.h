// What the two files of screen 3 share: its controls and commands
// (screen_steps56.cpp) and step 5's search panel (screen_steps56_search.cpp),
// whose search goes on while other screens are shown.
#pragma once

#include <cstdint>

#include "ui/screens/search_panel.h"

// Step 5's hit lines and their buttons.
inline constexpr int32_t kHitFirstY = 135;
inline constexpr int32_t kHitLineStep = 25;

// Step 5's panel: its hits listed on screen 3 and written to "search.txt".
extern const SearchPanelKind kEggSearchPanel;
