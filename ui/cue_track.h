// What a sound backend writes into its output stream during a countdown: the
// cues handed to platformStartCues, each placed at the stream frame that the
// stream's clock maps its instant to. Both backends (PulseAudio, WASAPI) feed
// their stream through these functions, supplying at every write which frame
// is heard at which instant, and take the cues from the window's thread
// through the mailbox at the end.
#pragma once

#include <cstdint>
#include <mutex>

#include "ui/platform.h"

// The tones: sines of amplitude kCueAmplitude (of full scale 1) with a
// kCueFadeMicros linear fade at both ends, so that neither end clicks.
inline constexpr float kCueAmplitude = 12000.0f / 32768.0f;
inline constexpr int64_t kCueFadeMicros = 5000;
int64_t cueFrames(CueSound cue, int32_t rate);
float cueSample(CueSound cue, int64_t frame, int32_t rate);

struct CueTrack {
  TimedCue cues[kMaxTimedCues];  // by instant
  int32_t count = 0;
  int32_t next = 0;  // the first cue not yet begun
  CueSound sounding = CueSound::kSecond;
  int64_t soundingFrom = -1;  // the stream frame of its first sample; -1 while none sounds
  int64_t soundEnd = 0;       // the frame after the last sample of any cue written
};

// The stream's clock at one write: frame `frame` (fractional) is heard at
// `nanos` on platformNowMilliseconds' clock (in nanoseconds), `rate` frames a
// second.
struct StreamAnchor {
  int64_t nanos;
  double frame;
  int32_t rate;
};

// The stream's clock as read at the recent writes. A single reading can be
// off: late (the position was last updated a while before it was read, or
// the thread was preempted between reading it and its time) or, under Wine,
// early (its position catching up after a late update). The readings of the
// last kAnchorWindowNanos, carried forward to the latest one's instant at the
// nominal rate, agree but for these, so their median is trusted. Only
// readings whose position moved on are kept: a position standing still
// (before the stream starts, in a stall) would, carried forward, run ahead.
// After kAnchorStallNanos without a move, a kept reading off by more than
// kAnchorMaxGapNanos (the clock changed pace), or a reset by the backend (its
// stream ran dry), the window starts afresh.
inline constexpr int32_t kAnchorReadings = 64;
inline constexpr int64_t kAnchorWindowNanos = 1000000000;
inline constexpr int64_t kAnchorStallNanos = 30000000;
inline constexpr int64_t kAnchorMaxGapNanos = 20000000;
struct AnchorWindow {
  StreamAnchor readings[kAnchorReadings];
  int32_t count = 0;
  int32_t next = 0;
  StreamAnchor last{0, -1.0, 0};  // the latest reading; rate 0 before any
  int64_t lastMove = 0;           // when the position last moved on
};
void anchorWindowReset(AnchorWindow& window);
// Adds a reading and returns the anchor to place the cues by.
StreamAnchor anchorWindowAdd(AnchorWindow& window, const StreamAnchor& reading);

// Takes the countdown's cues in place of those not yet begun (a sounding cue
// goes on), sorted by instant; more than kMaxTimedCues are left out.
void cueTrackLoad(CueTrack& track, const TimedCue* cues, int32_t count);
// Drops the cues not yet begun.
void cueTrackCancel(CueTrack& track);
// Whether no cue sounds or waits.
bool cueTrackIdle(const CueTrack& track);
// Writes the mono frames [first, first + n) into `out`: silence, and the cues
// whose first frame the anchor puts there (a cue late by at most
// kMaxCueLateness starts at `first`).
void cueTrackFill(CueTrack& track, const StreamAnchor& anchor, int64_t first, int32_t n, float* out);

// The hand-over between the window's thread and the backend's thread, which
// alone talks to the sound device: the window posts a countdown's cues or a
// stop and reads the state; the backend takes what was posted and reports
// what became of it. Every call holds the mutex only to copy a few values.
struct CueMailbox {
  std::mutex mutex;
  TimedCue cues[kMaxTimedCues];
  int32_t count = 0;
  uint64_t posted = 0;  // starts posted
  uint64_t served = 0;  // the start the backend works on
  bool stop = false;
  SoundState state = SoundState::kIdle;
};

// The window's side. A start replaces what was posted and reads kPlaying.
void cueMailboxPost(CueMailbox& box, const TimedCue* cues, int32_t count);
void cueMailboxPostStop(CueMailbox& box);
SoundState cueMailboxState(CueMailbox& box);
// The backend cannot run at all (no thread): every request reads kNoServer.
void cueMailboxRefuse(CueMailbox& box);

// The backend's side. Loads a posted start into the track (true when one
// came) and cancels the track's cues on a posted stop.
bool cueMailboxTake(CueMailbox& box, CueTrack& track);
// The start being served failed: its state reads `why` unless a newer start
// waits, in which case true is returned (serve it from scratch).
bool cueMailboxFail(CueMailbox& box, SoundState why);
// The start being served has been played out: kPlaying reads kIdle.
void cueMailboxPlayedOut(CueMailbox& box);
