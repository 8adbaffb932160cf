#include "core/everstone.h"

#include "core/rng.h"

uint32_t EverstoneFrames::output(int64_t index) {
  while (produced_ <= index) {
    if (position_ == 0) Twist(mt_);
    ring_[produced_ % kRing] = Temper(mt_, position_);
    if (++position_ == kMtWordCount) position_ = 0;
    ++produced_;
  }
  return ring_[index % kRing];
}

uint32_t EverstoneFrames::pidOf(int64_t frame) {
  if (match_ < frame) match_ = -1;
  if (scanned_ < frame) scanned_ = frame;
  // Every output from `frame` to scanned_ - 1 has been looked at: none before
  // match_ (when set) matches.
  while (match_ < 0 && scanned_ < frame + kEverstoneOutputs) {
    if (everstoneMatch(output(scanned_), nature_)) match_ = scanned_;
    ++scanned_;
  }
  return output(match_ >= 0 ? match_ : frame + kEverstoneOutputs - 1);
}
