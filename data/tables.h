// Game vocabulary shared by the calculations and the screens: the 25 natures,
// the stat labels, and the option lists of step 4's three filters. All texts
// are CP932 byte strings.
#pragma once

#include "state/app_state.h"

// Fills the 25 rows: names copied bounded into their 16-byte fields; nature n
// raises stat n / 5 + 1 and lowers stat n % 5 + 1, neutral (0, 0) when equal.
void buildNatureTable(NatureTable& table);

// Painted one-letter labels "H".."D" and the IV dialog's labels, in stat order.
extern const char* const kStatLabels[kStatCount];
extern const char* const kDialogStatLabels[kStatCount];

// The option lists of step 4's filter lists, entry 0 "指定しない" first.
inline constexpr int kNatureFilterOptionCount = kNatureCount + 1;
inline constexpr int kGenderFilterOptionCount = 9;
inline constexpr int kAbilityFilterOptionCount = 3;
extern const char* const kNatureNames[kNatureCount];
extern const char* const kNatureFilterOptions[kNatureFilterOptionCount];  // "指定しない", then the 25 names
extern const char* const kGenderFilterOptions[kGenderFilterOptionCount];
extern const char* const kAbilityFilterOptions[kAbilityFilterOptionCount];

// Gender test t = option - 1 (0..7) on gender value g (0..255). Pairs split at
// 128, 32, 64 and 192, the bound belonging to the male entry. A t outside 0..7
// passes everything.
bool GenderFilter(int t, int g);
