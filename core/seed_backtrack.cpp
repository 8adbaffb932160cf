#include "core/seed_backtrack.h"

#include "core/rng.h"

void backtrackInitialSeeds(SeedSteps& seeds, int32_t stepLimit, int32_t hour) {
  int32_t count = 0;
  uint32_t state = seeds.currentSeed;
  for (int32_t i = 0; i < stepLimit; ++i) {
    state = Lcg32::Prev(state);
    // Signed comparison: an hour outside 0..255 never matches.
    if (static_cast<int32_t>((state >> 16) & 0xFFu) == hour) {
      seeds.seedCandidates[count] = SeedCandidate{state, i};
      ++count;
      if (count == kMaxSeedCandidates) break;
    }
  }
  seeds.seedCandidateCount = count;
}
