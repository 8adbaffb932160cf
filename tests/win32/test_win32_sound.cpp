// The Windows cues' failures, each made as the system would make it: every
// one ends in a state the window reads, never in "playing" for ever, and the
// next start tries again from scratch (a new worker after COM was refused).
// CTest runs it alone (quillmar_win32_sound): it needs a backend whose worker
// has never run.
#include <gtest/gtest.h>

#include "core/thread_start.h"
#include "tests/deadline.h"
#include "ui/platform.h"
#include "ui/win32/win32_sound.h"

namespace {

// One second cue a second from now.
void startOneCue() {
  const TimedCue cue{CueSound::kSecond, platformNowMilliseconds() + 1000};
  platformStartCues(&cue, 1);
}

SoundState settledState() {
  EXPECT_TRUE(waitUntil([] { return platformSoundState() != SoundState::kPlaying; })) << "still playing";
  return platformSoundState();
}

TEST(Win32Sound, EveryFailureEndsInTheStateThatNamesIt) {
  // No thread for the worker: said at once.
  failThreadStart(1);
  startOneCue();
  failThreadStart(0);
  EXPECT_EQ(platformSoundState(), SoundState::kNoServer);

  // COM refused to the worker, then a stream without its event: the second
  // state can only come from a new worker, the first having ended.
  const struct {
    Win32SoundFault fault;
    SoundState state;
  } cases[] = {{Win32SoundFault::kComInit, SoundState::kNoServer},
               {Win32SoundFault::kStreamEvent, SoundState::kNoStream}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    win32SoundFail(c.fault);
    startOneCue();
    EXPECT_EQ(settledState(), c.state);
  }
  win32SoundFail(Win32SoundFault::kNone);
}

}  // namespace
