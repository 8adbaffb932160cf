// The Linux backend's failures (ui/qt/qt_sound.cpp), made by wrappers of the
// libpulse calls that give them: defined here, they are what the backend
// linked in calls; each calls libpulse's own (RTLD_NEXT) unless told to fail.
// The fixture's server lets the countdowns that should play, play.
#include <dirent.h>
#include <dlfcn.h>
#include <pulse/pulseaudio.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "tests/deadline.h"
#include "ui/platform.h"

namespace {

enum class Fault { kNone, kLoopNew, kIoNew, kLoopStart, kConnectStalls, kStreamStalls };
std::atomic<Fault> gFault{Fault::kNone};
std::atomic<int> gAsked[2];  // connections, streams

template <typename Function>
Function real(const char* name) {
  void* found = dlsym(RTLD_NEXT, name);
  Function function = nullptr;
  std::memcpy(&function, &found, sizeof function);
  return function;
}

pa_io_event* refusedIo(pa_mainloop_api*, int, pa_io_event_flags_t, pa_io_event_cb_t, void*) { return nullptr; }

}  // namespace

pa_threaded_mainloop* pa_threaded_mainloop_new() {
  return gFault == Fault::kLoopNew ? nullptr : real<pa_threaded_mainloop* (*)()>("pa_threaded_mainloop_new")();
}

pa_mainloop_api* pa_threaded_mainloop_get_api(pa_threaded_mainloop* loop) {
  static pa_mainloop_api refusing;
  pa_mainloop_api* api = real<pa_mainloop_api* (*)(pa_threaded_mainloop*)>("pa_threaded_mainloop_get_api")(loop);
  if (gFault != Fault::kIoNew) return api;
  refusing = *api;
  refusing.io_new = refusedIo;
  return &refusing;
}

int pa_threaded_mainloop_start(pa_threaded_mainloop* loop) {
  return gFault == Fault::kLoopStart ? -1 : real<int (*)(pa_threaded_mainloop*)>("pa_threaded_mainloop_start")(loop);
}

// A stalled call is accepted and never answered.
int pa_context_connect(pa_context* c, const char* server, pa_context_flags_t flags, const pa_spawn_api* api) {
  ++gAsked[0];
  if (gFault == Fault::kConnectStalls) return 0;
  using Connect = int (*)(pa_context*, const char*, pa_context_flags_t, const pa_spawn_api*);
  return real<Connect>("pa_context_connect")(c, server, flags, api);
}

int pa_stream_connect_playback(pa_stream* s, const char* device, const pa_buffer_attr* buffer, pa_stream_flags_t flags,
                               const pa_cvolume* volume, pa_stream* sync) {
  ++gAsked[1];
  if (gFault == Fault::kStreamStalls) return 0;
  using Connect = int (*)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t, const pa_cvolume*,
                          pa_stream*);
  return real<Connect>("pa_stream_connect_playback")(s, device, buffer, flags, volume, sync);
}

namespace {

int openDescriptors() {
  int count = 0;
  DIR* fds = opendir("/proc/self/fd");
  while (fds != nullptr && readdir(fds) != nullptr) ++count;
  if (fds != nullptr) closedir(fds);
  return count;
}

SoundState afterOneCue(Fault fault) {
  gFault = fault;
  const TimedCue cue{CueSound::kSecond, platformNowMilliseconds() + 200};
  platformStartCues(&cue, 1);
  EXPECT_TRUE(waitUntil([] { return platformSoundState() != SoundState::kPlaying; })) << "still playing";
  gFault = Fault::kNone;
  return platformSoundState();
}

// In this order, each from the backend as the one before left it.
TEST(PulseFaults, EveryFailureEndsInTheStateThatNamesIt) {
  // A main loop that cannot run: no descriptor kept, and the next start tries again.
  for (Fault fault : {Fault::kLoopNew, Fault::kIoNew, Fault::kLoopStart}) {
    const int before = openDescriptors();
    EXPECT_EQ(afterOneCue(fault), SoundState::kNoServer) << int(fault);
    EXPECT_EQ(openDescriptors(), before) << int(fault);
  }
  // A countdown plays and keeps its connection; the next one's stream never
  // opens on it; then (all closed by the failure) the server never answers;
  // then the stream never opens on a new connection.
  const std::pair<Fault, SoundState> runs[] = {{Fault::kNone, SoundState::kIdle},
                                               {Fault::kStreamStalls, SoundState::kNoStream},
                                               {Fault::kConnectStalls, SoundState::kNoServer},
                                               {Fault::kStreamStalls, SoundState::kNoStream}};
  for (const auto& [fault, state] : runs) EXPECT_EQ(afterOneCue(fault), state) << int(fault);
}

TEST(PulseFaults, AStopBeforeTheStreamPlaysReadsIdle) {
  for (int step : {0, 1}) {
    const int earlier = gAsked[step];
    gFault = step == 0 ? Fault::kConnectStalls : Fault::kStreamStalls;
    const TimedCue cue{CueSound::kSecond, platformNowMilliseconds() + 200};
    platformStartCues(&cue, 1);
    ASSERT_TRUE(waitUntil([&] { return gAsked[step] > earlier; })) << "never asked, step " << step;
    platformStopCues();
    EXPECT_TRUE(waitUntil([] { return platformSoundState() != SoundState::kPlaying; })) << step;
    EXPECT_EQ(platformSoundState(), SoundState::kIdle) << step;
  }
  gFault = Fault::kNone;
}

}  // namespace
