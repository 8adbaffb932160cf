// Step 2: from six IV ranges and a nature, every personality value (PID) and
// the generator state that follows its IV draws.
#pragma once

#include <cstdint>

#include "state/app_state.h"

// The two 15-bit IV words as the generator draws them (bit 15 is free).
constexpr uint32_t firstIvWord(int h, int a, int b) {
  return static_cast<uint32_t>(h) | (static_cast<uint32_t>(a) << 5) | (static_cast<uint32_t>(b) << 10);
}
constexpr uint32_t secondIvWord(int s, int c, int d) {
  return static_cast<uint32_t>(s) | (static_cast<uint32_t>(c) << 5) | (static_cast<uint32_t>(d) << 10);
}

// Walks every IV combination of six ranges in the search's nesting order: H
// outermost, then A, B, S, C, and D innermost, each ascending. firstIvCombination
// sets `ivs` to the first one (false when a range is empty); nextIvCombination
// steps to the next (false after the last).
bool firstIvCombination(const IvRange (&ranges)[kStatCount], int32_t (&ivs)[kStatCount]);
bool nextIvCombination(const IvRange (&ranges)[kStatCount], int32_t (&ivs)[kStatCount]);

// Every state s whose draw is IV word w1 and whose next state's draw is IV
// word w2 (bit 15 of each draw free), ascending by high half, then by low
// half: at most 2 high halves x 2 wanted draws x 3 lows. Returns the count.
inline constexpr int32_t kMaxIvWordStates = 12;
int32_t ivWordStates(uint32_t w1, uint32_t w2, uint32_t (&states)[kMaxIvWordStates]);

// What a search did; the shell needs it to decide which buttons to create.
enum class PidSearchKind : int32_t {
  kNotRun,  // IVs open and no measurement taken: nothing changed
  kFixed,   // all six IVs fixed: every candidate found (at most 6)
  kRange,   // IV ranges: combinations in H..D nesting order, stops at kRangeSearchLimit
};

// Scans one IV combination and appends its candidates to
// pids.pidCandidates, raising pids.pidCandidateCount. The order is
// ascending state s among s = (w1 << 16) | low, then among
// s = ((w1 | 0x8000) << 16) | low. `limit` 0 means no limit; otherwise returns
// true as soon as the count reaches it.
// No state is scanned: the lows that give the wanted draws are looked up, and
// only those states (1 to 3 per high half for 15-bit words) are built and
// tested for the nature.
bool scanIvWords(PidSteps& pids, uint32_t w1, uint32_t w2, int nature, int limit);
// The same scan, adding to `checks` the number of states it built and tested.
bool scanIvWords(PidSteps& pids, uint32_t w1, uint32_t w2, int nature, int limit, uint64_t& checks);

// Runs the search over measure.ivRanges with measure.natureIndex into pids. Reading the
// nature list (while no measurement is taken) is the caller's job.
PidSearchKind searchPidCandidates(PidSteps& pids, const MeasureState& measure);
