// Egg search: every initial seed a player can reach in a year (a year search,
// core/year_search.h), scanned for the frames that the egg list would keep.
//
// For each seed of the window, frames 0..F-1 (F = egg.frameCount) are
// computed exactly as the egg list computes them (Mersenne Twister output i,
// marriage rerolls, shiny test) and kept by exactly its filters
// (eggFrameKept). A hit is a kept (seed, frame). The stop is looked at
// between rows of 256 seeds and every 624 frames, which is a few milliseconds
// at most with F <= 624 and the scalar kernel.
#pragma once

#include <cstdint>

#include "core/egg_list.h"
#include "core/year_search.h"

struct EggSearchRequest {
  YearWindow window;
  // The egg list asked of every seed: frameCount is F (frames 0..F-1, F >= 1),
  // with its IDs, marriage flag and filters as the list reads them; the
  // initial seed is ignored.
  EggListRequest egg;
  YearSearchKernel kernel;
};

struct EggHit {
  uint32_t seed;
  int32_t frame;
  int32_t delay;  // the delay of the window that reaches the seed in the year
  uint32_t pid;   // the frame's final PID, as its egg list line shows it
};

// Every field in its range and the kernel available on this processor.
bool eggSearchRequestValid(const EggSearchRequest& request);

// The seeds of the request: 256 x hours x delays (0 when not valid).
int64_t eggSearchSeedCount(const EggSearchRequest& request);

// The search. hits must hold `capacity` (>= 0) entries; the year search's
// contract (core/year_search.h), statuses included.
YearSearchResult runEggSearch(const EggSearchRequest& request, EggHit* hits, int32_t capacity,
                              const YearSearchControl& control);

// Puts hits[0..count) in the search's order (frame, then delay, then seed),
// in place, with up to `threads` threads (held to 1..kYearSearchMaxThreads;
// fewer when the system refuses some: the order is the same). Within
// one frame and delay the seeds share their lower half, so the upper half
// orders them.
void sortEggHits(EggHit* hits, int32_t count, int32_t threads);
