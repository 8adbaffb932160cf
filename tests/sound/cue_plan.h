// The countdowns that the cue player plays: groups of three second cues
// `step` ms apart and an end cue, the groups separated by silences.
#pragma once

#include <cstdint>
#include <cstring>

struct PlannedCue {
  bool end;        // an end cue (880 Hz, 300 ms), else a second cue (1760 Hz, 60 ms)
  int64_t offset;  // ms after the plan's start
};

inline constexpr int32_t kPlanGroups = 12;
inline constexpr int32_t kPlanCues = 4 * kPlanGroups;

// "test": 120 ms steps and 250 to 600 ms between groups (about 13 s in all).
// "bench": a real countdown's 1 s steps, and silences from 0.5 s to 60 s
// before the groups (about 4 minutes). Returns the number of cues, 0 for an
// unknown plan.
inline int32_t cuePlan(const char* name, PlannedCue (&out)[kPlanCues]) {
  static constexpr int64_t kTestSilence[kPlanGroups] = {250, 400, 600, 300, 500, 250, 350, 600, 450, 300, 550, 400};
  static constexpr int64_t kBenchSilence[kPlanGroups] = {500,   60000, 1000, 30000, 2000, 10000,
                                                         45000, 3000,  5000, 20000, 8000, 15000};
  bool bench = std::strcmp(name, "bench") == 0;
  if (!bench && std::strcmp(name, "test") != 0) return 0;
  const int64_t step = bench ? 1000 : 120;
  int64_t at = 0;
  for (int32_t g = 0; g < kPlanGroups; ++g) {
    at += bench ? kBenchSilence[g] : kTestSilence[g];
    for (int32_t i = 0; i < 4; ++i) out[4 * g + i] = {i == 3, at + step * i};
    at += step * 3 + 300;
  }
  return kPlanCues;
}
