// Game vocabulary shared by the calculations and the screens: the 25 natures,
// the stat labels, and the option lists of step 4's three filters. All texts
// are CP932 byte strings.
#pragma once

#include "state/app_state.h"

// Fills the 25 rows: names copied bounded into their 16-byte fields; nature n
// raises stat n / 5 + 1 and lowers stat n % 5 + 1, neutral (0, 0) when equal.
void buildNatureTable(NatureTable& table);

// Painted one-letter labels "H".."D", in stat order.
extern const char* const kStatLabels[kStatCount];

// The 25 nature names in game order (row = PID mod 25).
extern const char* const kNatureNames[kNatureCount];

// Hidden Power's 16 types in its formula's order (0 かくとう .. 15 あく).
extern const char* const kHiddenPowerTypeNames[16];

// The option lists of step 4's gender and ability filters, entry 0 "指定しない"
// first; the nature filter lists "指定しない" and then the 25 names.
inline constexpr int kGenderFilterOptionCount = 9;
inline constexpr int kAbilityFilterOptionCount = 3;
extern const char* const kGenderFilterOptions[kGenderFilterOptionCount];
extern const char* const kAbilityFilterOptions[kAbilityFilterOptionCount];

// Gender test t = option - 1 (0..7) on gender value g (0..255). Pairs split at
// 128, 32, 64 and 192, the bound belonging to the male entry. A t outside 0..7
// passes everything.
bool GenderFilter(int t, int g);
