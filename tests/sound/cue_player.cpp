// Plays a cue plan (tests/sound/cue_plan.h) through the sound backend linked
// with it, the real one (PulseAudio on Linux, WASAPI on Windows), then waits
// until the backend has played it out. It prints each cue's kind and instant
// on the time of day, in microseconds, the one clock that the listener beside
// it (a Linux program, when this runs under Wine) can read too:
//   cue KIND MICROS
// Usage: quillmar_cue_player test|bench. Exit 0 when the backend ends idle.
#include <chrono>
#include <cstdio>

#include "cue_plan.h"
#include "tests/deadline.h"
#include "ui/platform.h"

namespace {

int64_t timeOfDayMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  PlannedCue plan[kPlanCues];
  int32_t count = argc == 2 ? cuePlan(argv[1], plan) : 0;
  if (count == 0) {
    std::fprintf(stderr, "usage: quillmar_cue_player test|bench\n");
    return 2;
  }
  // The instant the monotonic clock turns to a new millisecond, on both clocks.
  int64_t before = platformNowMilliseconds();
  int64_t start = before;
  while (start == before) start = platformNowMilliseconds();
  const int64_t startMicros = timeOfDayMicros();

  // A second for the stream to open before the first cue.
  TimedCue cues[kPlanCues];
  for (int32_t i = 0; i < count; ++i) cues[i] = {plan[i].end ? CueSound::kEnd : CueSound::kSecond, start + 1000 + plan[i].offset};
  platformStartCues(cues, count);
  for (int32_t i = 0; i < count; ++i)
    std::printf("cue %d %lld\n", plan[i].end ? 1 : 0,
                static_cast<long long>(startMicros + (cues[i].at - start) * 1000));
  std::fflush(stdout);

  // Played out, or failed, within the tests' one deadline after the plan's
  // last sound (13 s for the tests' plan, about four minutes for the bench's):
  // the backend's state is polled, never a guess at how long the playing takes.
  const int64_t planned = cues[count - 1].at - platformNowMilliseconds() + 300;
  const bool ended = waitUntilAfter(std::chrono::milliseconds(planned > 0 ? planned : 0),
                                    [] { return platformSoundState() != SoundState::kPlaying; });
  const SoundState state = platformSoundState();
  const char* names[] = {"idle", "playing", "no server", "no stream", "device lost"};
  std::printf("state %s\n", names[static_cast<int>(state)]);
  if (!ended) std::fprintf(stderr, "cue player: still playing at the tests' deadline after the plan's end\n");
  return state == SoundState::kIdle ? 0 : 1;
}
