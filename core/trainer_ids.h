// Steps 13 and 14: the trainer IDs a new game gets. When the introduction
// ends the game seeds the Mersenne Twister again with a seed built as the
// initial seed is (core/seed_time.h), from the clock and the frames waited;
// its first output goes elsewhere and its second is the ID: TID = the low 16
// bits, SID = the high 16 bits. Only the first 399 words of the seeding and
// two twisted words are needed.
//
// The search (a year search, core/year_search.h) finds the seeds whose IDs
// are the wanted ones: TID = t, SID = s, or both; and/or IDs that make one of
// up to kMaxShinyPids PIDs shiny. Hits come ordered by delay, then seed.
#pragma once

#include <cstdint>

#include "core/year_search.h"

struct TrainerIds {
  int32_t tid;
  int32_t sid;
};

TrainerIds trainerIdsOf(uint32_t seed);

// Cute Charm's two PIDs of a nature for a species of gender ratio `ratio`
// (built without draws): [0] with a male lead, [1] with a female one.
void cuteCharmPids(int32_t nature, int32_t ratio, uint32_t (&pids)[2]);

inline constexpr int32_t kMaxShinyPids = 16;

struct IdSearchRequest {
  YearWindow window;
  bool tidWanted;
  int32_t tid;  // 0..65535
  bool sidWanted;
  int32_t sid;
  int32_t pidCount;  // 0..kMaxShinyPids: a hit makes at least one of pids[0..pidCount) shiny
  uint32_t pids[kMaxShinyPids];
  YearSearchKernel kernel;
};

struct IdHit {
  uint32_t seed;
  int32_t frame;  // always 0: the IDs are not advanced to
  int32_t delay;
};

bool idSearchRequestValid(const IdSearchRequest& request);

// Whether IDs pass the request's wants.
bool idsWanted(const IdSearchRequest& request, TrainerIds ids);

int64_t idSearchSeedCount(const IdSearchRequest& request);

YearSearchResult runIdSearch(const IdSearchRequest& request, IdHit* hits, int32_t capacity,
                             const YearSearchControl& control);
