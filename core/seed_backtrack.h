// Step 3: from the current generator state, step backwards and list the earlier
// states whose bits 16..23 equal the hour of play.
#pragma once

#include <cstdint>

#include "state/app_state.h"

// Walks `stepLimit` single Prev steps back from seeds.currentSeed (none when
// stepLimit <= 0). A state whose (state >> 16) & 0xFF equals `hour` is stored
// with its 0-based step index; the search stops at the 10th candidate.
// Sets seeds.seedCandidates and seeds.seedCandidateCount (0..10).
void backtrackInitialSeeds(SeedSteps& seeds, int32_t stepLimit, int32_t hour);
