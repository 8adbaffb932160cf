// The straightforward forms of two calculations: the measure against which the
// tests check the fast ones and the benchmarks time them. Built only from the
// generators, the tables and the texts, not from the code they measure.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/egg_list.h"
#include "state/app_state.h"

// scanIvWords by trying every one of the 2 x 65,536 states whose draw can be
// the first IV word, in ascending order: same candidates, slots, count and
// answer about the limit.
bool scanIvWordsStraightforward(AppState& app, uint32_t w1, uint32_t w2, int nature, int limit);

// writeEggPidList with one printf-style write per line; AppState.mt ends as
// that writer leaves it.
void writeEggPidListStraightforward(AppState& app, const EggListRequest& request, std::FILE* out);
