// Step 10: the egg's IVs searched over a year, aim first. The seeds are those
// of the egg search (core/egg_search.h): 0xAABBCCCC with AA any of 0..255, BB
// an hour of the request's set and CCCC = (delay + (Y - 2000)) mod 65536 for
// every delay of [delayMin, delayMax]. For each seed, n = 0..F-1 draws later
// (F = frameCount) the egg is picked up as eggIvsAt says; a hit is a (seed, n)
// whose six IVs all lie in their ranges.
//
// It runs on the egg search's engine, with its control (threads, progress out
// of eggIvSearchSeedCount, stop), statuses and kernels: hits come ordered by
// n, then delay, then seed, the first `capacity` of them, whatever the thread
// count or the kernel, and nothing is allocated while seeds are scanned. The
// stop is looked at between rows of 256 seeds and every 4,096 n within one.
#pragma once

#include <cstdint>

#include "core/egg_ivs.h"
#include "core/egg_search.h"

struct EggIvSearchRequest {
  int32_t year;      // 2000..2099
  int32_t delayMin;  // 0 <= delayMin <= delayMax <= 65535
  int32_t delayMax;
  uint32_t hourMask;   // bit h set: hour h (0..23) is searched
  int32_t frameCount;  // F >= 1: n = 0..F-1
  EggParents parents;  // valid (eggParentsValid)
  IvRange ranges[kStatCount];
  EggSearchKernel kernel;
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

// The search; the contract of runEggSearch, statuses included.
EggSearchResult runEggIvSearch(const EggIvSearchRequest& request, EggIvHit* hits, int32_t capacity,
                               const EggSearchControl& control);

// The hit's IVs, as eggIvsAt gives them.
EggIvs eggIvHitIvs(const EggIvHit& hit, const EggParents& parents);

// The first moment of the year that gives the hit's seed, with its delay.
// False only for a year outside 2000..2099.
bool eggIvHitMoment(const EggIvHit& hit, int32_t year, ConsoleMoment& moment);
