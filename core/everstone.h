// The Everstone in the day care: the nature it passes decides the egg's PID.
// When the nature passes, the game takes the twister's outputs one by one
// from the frame's own until one has PID mod 25 = the nature and is not 0;
// it takes at most kEverstoneOutputs, and keeps the last of them even when it
// does not match. The international marriage's rerolls then run on that PID
// (and do not look at the nature again).
#pragma once

#include <cstdint>

#include "state/app_state.h"

inline constexpr int32_t kEverstoneOutputs = 2401;

constexpr bool everstoneMatch(uint32_t output, int32_t nature) {
  return output != 0 && output % 25u == static_cast<uint32_t>(nature);
}

// The PIDs of frames 0, 1, 2, ... (asked in increasing order) with an
// Everstone of `nature`, over a twister seeded with the initial seed and not
// yet twisted. Each output is made once; a frame's first match at or after
// it serves every frame up to it.
class EverstoneFrames {
 public:
  EverstoneFrames(Mt19937& mt, int32_t nature) : mt_(mt), nature_(nature) {}

  uint32_t pidOf(int64_t frame);

 private:
  static constexpr int32_t kRing = 4096;  // holds outputs frame..frame + 2400
  static_assert(kRing >= kEverstoneOutputs);
  uint32_t output(int64_t index);

  Mt19937& mt_;
  int32_t nature_;
  int32_t position_ = 0;  // the next output's word; 0: twist first
  int64_t produced_ = 0;  // outputs 0..produced_ - 1 made
  int64_t scanned_ = 0;   // outputs before it looked at for a match
  int64_t match_ = -1;    // the first match at or after the last frame asked, or -1
  uint32_t ring_[kRing];
};
