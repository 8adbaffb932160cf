// The straightforward forms of three calculations: the measure against which the
// tests check the fast ones and the benchmarks time them. Built only from the
// generators, the tables and the texts, not from the code they measure.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/egg_ivs.h"
#include "core/egg_list.h"
#include "state/app_state.h"

// scanIvWords by trying every one of the 2 x 65,536 states whose draw can be
// the first IV word, in ascending order: same candidates, slots, count and
// answer about the limit.
bool scanIvWordsStraightforward(PidSteps& pids, uint32_t w1, uint32_t w2, int nature, int limit);

// writeEggPidList with one printf-style write per line; eggList.mt ends as
// that writer leaves it.
void writeEggPidListStraightforward(EggListState& eggList, const EggListRequest& request, std::FILE* out);

// The egg's IVs picked up from the LCG state `state` (n draws after the seed),
// as the games' rules read: each draw taken in turn, the stats to inherit
// kept in a list that loses an entry per pick. `pickedTwice`, when given, is
// set when one stat was picked twice (DPPt's fault).
EggIvs eggIvsByDraws(uint32_t state, const EggParents& parents, bool* pickedTwice = nullptr);
