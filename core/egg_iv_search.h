// Step 10: the egg's IVs searched over a year, aim first (a year search,
// core/year_search.h). For each seed of the window, n = 0..F-1 draws later
// (F = frameCount) the egg is picked up as eggIvsAt says; a hit is a (seed, n)
// whose six IVs all lie in their ranges. Hits come ordered by n, then delay,
// then seed. The stop is looked at between rows of 256 seeds and every 4,096
// n within one.
#pragma once

#include <cstdint>

#include "core/egg_ivs.h"
#include "core/year_search.h"

struct EggIvSearchRequest {
  YearWindow window;
  int32_t frameCount;  // F >= 1: n = 0..F-1
  EggParents parents;  // valid (eggParentsValid)
  IvRange ranges[kStatCount];
  YearSearchKernel kernel;
};

struct EggIvHit {
  uint32_t seed;
  int32_t frame;  // n
  int32_t delay;  // the delay of the window that reaches the seed in the year
};

// Every field in its range and the kernel available on this processor.
bool eggIvSearchRequestValid(const EggIvSearchRequest& request);

// The seeds of the request: 256 x hours x delays (0 when not valid).
int64_t eggIvSearchSeedCount(const EggIvSearchRequest& request);

// The search; the year search's contract (core/year_search.h), statuses included.
YearSearchResult runEggIvSearch(const EggIvSearchRequest& request, EggIvHit* hits, int32_t capacity,
                                const YearSearchControl& control);

// The hit's IVs, as eggIvsAt gives them.
EggIvs eggIvHitIvs(const EggIvHit& hit, const EggParents& parents);
