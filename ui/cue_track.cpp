#include "ui/cue_track.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

double hertzOf(CueSound cue) { return cue == CueSound::kEnd ? 880.0 : 1760.0; }

// The frame at which the anchor's stream is heard at `nanos`, to the nearest.
int64_t frameAt(const StreamAnchor& anchor, int64_t nanos) {
  return std::llround(anchor.frame + static_cast<double>(nanos - anchor.nanos) * anchor.rate / 1e9);
}

// Writes the sounding cue's frames of [from, to) (relative to `first`) and
// ends it once its last frame is written.
void writeSounding(CueTrack& track, int32_t rate, int64_t first, int64_t from, int64_t to, float* out) {
  if (track.soundingFrom < 0) return;
  int64_t end = track.soundingFrom + cueFrames(track.sounding, rate);
  int64_t stop = to < end ? to : end;
  for (int64_t f = from; f < stop; ++f) out[f - first] = cueSample(track.sounding, f - track.soundingFrom, rate);
  if (to >= end) track.soundingFrom = -1;
}

}  // namespace

int64_t cueFrames(CueSound cue, int32_t rate) { return int64_t{rate} * (cue == CueSound::kEnd ? 300 : 60) / 1000; }

float cueSample(CueSound cue, int64_t frame, int32_t rate) {
  int64_t frames = cueFrames(cue, rate);
  if (frame < 0 || frame >= frames) return 0.0f;
  double fade = static_cast<double>(rate) * kCueFadeMicros / 1e6;
  double gain = 1.0;
  if (static_cast<double>(frame) < fade) gain = static_cast<double>(frame) / fade;
  if (static_cast<double>(frames - frame) < fade) gain = static_cast<double>(frames - frame) / fade;
  return static_cast<float>(kCueAmplitude * gain * std::sin(2.0 * kPi * hertzOf(cue) * static_cast<double>(frame) / rate));
}

void cueTrackLoad(CueTrack& track, const TimedCue* cues, int32_t count) {
  if (count > kMaxTimedCues) count = kMaxTimedCues;
  if (count < 0) count = 0;
  // Insertion sort by instant, stable: a countdown hands over a handful.
  for (int32_t i = 0; i < count; ++i) {
    int32_t j = i;
    while (j > 0 && track.cues[j - 1].at > cues[i].at) {
      track.cues[j] = track.cues[j - 1];
      --j;
    }
    track.cues[j] = cues[i];
  }
  track.count = count;
  track.next = 0;
}

void cueTrackCancel(CueTrack& track) { track.next = track.count; }

bool cueTrackIdle(const CueTrack& track) { return track.soundingFrom < 0 && track.next >= track.count; }

void cueTrackFill(CueTrack& track, const StreamAnchor& anchor, int64_t first, int32_t n, float* out) {
  for (int32_t i = 0; i < n; ++i) out[i] = 0.0f;
  const int64_t end = first + n;
  const int64_t maxLate = int64_t{anchor.rate} * kMaxCueLateness / 1000;
  int64_t at = first;
  while (track.next < track.count) {
    const TimedCue& cue = track.cues[track.next];
    int64_t start = frameAt(anchor, cue.at * 1000000);
    if (start >= end) break;
    ++track.next;
    if (start < at) {
      if (at - start > maxLate) continue;
      start = at;
    }
    writeSounding(track, anchor.rate, first, at, start, out);
    track.sounding = cue.cue;
    track.soundingFrom = start;
    track.soundEnd = start + cueFrames(cue.cue, anchor.rate);
    at = start;
  }
  writeSounding(track, anchor.rate, first, at, end, out);
}

void anchorWindowReset(AnchorWindow& window) { window = AnchorWindow{}; }

StreamAnchor anchorWindowAdd(AnchorWindow& window, const StreamAnchor& reading) {
  const bool first = window.last.rate != reading.rate;
  const bool moved = !first && reading.frame > window.last.frame;
  if (first || moved) window.lastMove = reading.nanos;
  window.last = reading;
  if (first || reading.nanos - window.lastMove > kAnchorStallNanos) {
    window.count = window.next = 0;
    return reading;
  }
  // The kept readings carried forward to this one's instant, and this one.
  const double maxGap = static_cast<double>(reading.rate) * kAnchorMaxGapNanos / 1e9;
  double carried[kAnchorReadings + 1];
  int32_t n = 0;
  carried[n++] = reading.frame;
  for (int32_t i = 0; i < window.count; ++i) {
    const StreamAnchor& old = window.readings[i];
    if (reading.nanos - old.nanos > kAnchorWindowNanos) continue;
    double frame = old.frame + static_cast<double>(reading.nanos - old.nanos) * reading.rate / 1e9;
    if (std::abs(frame - reading.frame) > maxGap) {
      // No reading is that far off: the clock changed pace (a stall, a start).
      window.count = window.next = 0;
      n = 1;
      break;
    }
    carried[n++] = frame;
  }
  if (moved) {
    window.readings[window.next] = reading;
    window.next = (window.next + 1) % kAnchorReadings;
    if (window.count < kAnchorReadings) ++window.count;
  }
  std::nth_element(carried, carried + n / 2, carried + n);
  StreamAnchor anchor = reading;
  anchor.frame = carried[n / 2];
  return anchor;
}

void cueMailboxPost(CueMailbox& box, const TimedCue* cues, int32_t count) {
  std::lock_guard<std::mutex> lock(box.mutex);
  box.count = count < 0 ? 0 : count > kMaxTimedCues ? kMaxTimedCues : count;
  for (int32_t i = 0; i < box.count; ++i) box.cues[i] = cues[i];
  box.stop = false;
  ++box.posted;
  box.state = SoundState::kPlaying;
}

void cueMailboxPostStop(CueMailbox& box) {
  std::lock_guard<std::mutex> lock(box.mutex);
  box.stop = true;
}

SoundState cueMailboxState(CueMailbox& box) {
  std::lock_guard<std::mutex> lock(box.mutex);
  return box.state;
}

void cueMailboxRefuse(CueMailbox& box) {
  std::lock_guard<std::mutex> lock(box.mutex);
  box.state = SoundState::kNoServer;
}

bool cueMailboxTake(CueMailbox& box, CueTrack& track) {
  std::lock_guard<std::mutex> lock(box.mutex);
  const bool start = box.posted != box.served;
  if (start) {
    box.served = box.posted;
    cueTrackLoad(track, box.cues, box.count);
  }
  if (box.stop) cueTrackCancel(track);
  box.stop = false;
  return start;
}

bool cueMailboxFail(CueMailbox& box, SoundState why) {
  std::lock_guard<std::mutex> lock(box.mutex);
  if (box.posted != box.served) return true;
  box.state = why;
  return false;
}

void cueMailboxPlayedOut(CueMailbox& box) {
  std::lock_guard<std::mutex> lock(box.mutex);
  if (box.posted == box.served && box.state == SoundState::kPlaying) box.state = SoundState::kIdle;
}
