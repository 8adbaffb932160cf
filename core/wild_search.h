// Step 12: step 11's creature searched over a year, aim first (a year
// search, core/year_search.h). For each seed of the window and each advance
// n = 0..N-1 the creature is the one wildCreatureAt gives; a hit is a
// (seed, n) whose creature the filter keeps. Hits come ordered by n, then
// delay, then seed.
//
// Two ways give the same hits; the request may name one, Auto chooses:
//   IV-first: for IV ranges of at most kIvFirstCombinations combinations.
//     The generator states that draw each combination's two IV words are
//     enumerated (as step 2 does); from each, the PID pair before it, the
//     loop that ended there and the encounters that could have started it
//     are walked back and each is checked forwards; then up to N draws back
//     to the initial seeds the window reaches. The cost grows with the
//     combinations and N, not with the year.
//   Forward: every seed of the window, each scanned once over its first
//     N + (loop) draws. Shiny only (when no Cute Charm PID can be shiny): the
//     shiny PID pairs of the seed's draws are found first, and only the
//     advances whose loop can end at one are generated. Otherwise each
//     advance is generated in turn from the seed's draws.
// The stop is looked at between rows of 256 seeds (forward) or between IV
// combinations (IV-first).
#pragma once

#include <cstdint>

#include "core/wild.h"
#include "core/year_search.h"

enum class WildSearchWay : int32_t { kAuto, kIvFirst, kForward };

inline constexpr int64_t kIvFirstCombinations = 4096;
inline constexpr int32_t kLargestWildSearchAdvances = 10000;

struct WildSearchRequest {
  YearWindow window;
  int32_t advanceCount;  // N, 1..kLargestWildSearchAdvances: advances 0..N-1
  WildEncounter encounter;
  WildFilter filter;
  WildSearchWay way;
  YearSearchKernel kernel;
};

struct WildHit {
  uint32_t seed;
  int32_t frame;  // the advance n
  int32_t delay;
};

bool wildSearchRequestValid(const WildSearchRequest& request);

// The seeds of the request: 256 x hours x delays (0 when not valid).
int64_t wildSearchSeedCount(const WildSearchRequest& request);

// The way Auto takes for a valid request (kIvFirst or kForward).
WildSearchWay chosenWildSearchWay(const WildSearchRequest& request);

// The search; the year search's contract (core/year_search.h), statuses
// included. IV-first runs on the calling thread alone.
YearSearchResult runWildSearch(const WildSearchRequest& request, WildHit* hits, int32_t capacity,
                               const YearSearchControl& control);

// The hit's creature, as wildCreatureAt gives it.
void wildHitCreature(const WildSearchRequest& request, const WildHit& hit, WildCreature& out);
