// The Windows cues' failures, each made as the system would make it, end in
// the state that names it; the next start tries again (a new worker after COM
// was refused). Alone in its process (quillmar_win32_sound): the worker must
// never have run.
#include <gtest/gtest.h>

#include "core/thread_start.h"
#include "tests/deadline.h"
#include "ui/platform.h"
#include "ui/win32/win32_sound.h"

namespace {

SoundState afterOneCue() {
  const TimedCue cue{CueSound::kSecond, platformNowMilliseconds() + 1000};
  platformStartCues(&cue, 1);
  EXPECT_TRUE(waitUntil([] { return platformSoundState() != SoundState::kPlaying; })) << "still playing";
  return platformSoundState();
}

TEST(Win32Sound, EveryFailureEndsInTheStateThatNamesIt) {
  failThreadStart(1);  // no thread for the worker
  EXPECT_EQ(afterOneCue(), SoundState::kNoServer);
  failThreadStart(0);
  // kNoStream can only come from a new worker, the first having ended.
  win32SoundFail(Win32SoundFault::kComInit);
  EXPECT_EQ(afterOneCue(), SoundState::kNoServer);
  win32SoundFail(Win32SoundFault::kStreamEvent);
  EXPECT_EQ(afterOneCue(), SoundState::kNoStream);
  win32SoundFail(Win32SoundFault::kNone);
}

}  // namespace
