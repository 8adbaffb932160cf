// The Linux backend's failures (ui/qt/qt_sound.cpp), each made by a wrapper of
// the libpulse call that gives it: this program defines those functions, so
// that the backend linked into it calls the wrappers, which call libpulse's
// own (dlsym RTLD_NEXT) unless told to fail. Every failure must end in the
// state that names it, never in "playing" for ever; a start that fails leaves
// no descriptor open; a stop before the stream plays reads idle. The
// server of cmake/sound_server.cmake lets the countdowns that should play, play.
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
std::atomic<int> gConnectsAsked{0};
std::atomic<int> gStreamsAsked{0};

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
  if (gFault.load() == Fault::kLoopNew) return nullptr;
  return real<pa_threaded_mainloop* (*)()>("pa_threaded_mainloop_new")();
}

pa_mainloop_api* pa_threaded_mainloop_get_api(pa_threaded_mainloop* loop) {
  pa_mainloop_api* api = real<pa_mainloop_api* (*)(pa_threaded_mainloop*)>("pa_threaded_mainloop_get_api")(loop);
  if (gFault.load() != Fault::kIoNew) return api;
  static pa_mainloop_api refusing;
  refusing = *api;
  refusing.io_new = refusedIo;
  return &refusing;
}

int pa_threaded_mainloop_start(pa_threaded_mainloop* loop) {
  if (gFault.load() == Fault::kLoopStart) return -1;
  return real<int (*)(pa_threaded_mainloop*)>("pa_threaded_mainloop_start")(loop);
}

// Stalled: accepted, and never answered.
int pa_context_connect(pa_context* context, const char* server, pa_context_flags_t flags, const pa_spawn_api* api) {
  ++gConnectsAsked;
  if (gFault.load() == Fault::kConnectStalls) return 0;
  return real<int (*)(pa_context*, const char*, pa_context_flags_t, const pa_spawn_api*)>("pa_context_connect")(
      context, server, flags, api);
}

int pa_stream_connect_playback(pa_stream* stream, const char* device, const pa_buffer_attr* buffer,
                               pa_stream_flags_t flags, const pa_cvolume* volume, pa_stream* sync) {
  ++gStreamsAsked;
  if (gFault.load() == Fault::kStreamStalls) return 0;
  return real<int (*)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t, const pa_cvolume*,
                      pa_stream*)>("pa_stream_connect_playback")(stream, device, buffer, flags, volume, sync);
}

namespace {

int openDescriptors() {
  int count = 0;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (readdir(fds) != nullptr) ++count;
    closedir(fds);
  }
  return count;
}

void startOneCue() {
  const TimedCue cue{CueSound::kSecond, platformNowMilliseconds() + 200};
  platformStartCues(&cue, 1);
}

SoundState settledState() {
  EXPECT_TRUE(waitUntil([] { return platformSoundState() != SoundState::kPlaying; })) << "still playing";
  return platformSoundState();
}

// The tests run in this order in one process, each from the backend as the
// one before left it (idle or failed).
TEST(PulseFaults, AMainLoopThatCannotRunLeavesNoDescriptorAndTheNextStartTriesAgain) {
  for (Fault fault : {Fault::kLoopNew, Fault::kIoNew, Fault::kLoopStart}) {
    SCOPED_TRACE(static_cast<int>(fault));
    const int before = openDescriptors();
    gFault.store(fault);
    startOneCue();
    gFault.store(Fault::kNone);
    EXPECT_EQ(platformSoundState(), SoundState::kNoServer);
    EXPECT_EQ(openDescriptors(), before);
  }
  startOneCue();
  EXPECT_EQ(settledState(), SoundState::kIdle);
}

TEST(PulseFaults, AnAttemptThatNeverOpensEndsAtItsDeadline) {
  // A countdown plays and keeps its connection; the next one's stream never
  // opens on that connection; then (everything closed by the failure) the
  // server never answers; then the stream never opens on a new connection.
  const struct {
    Fault fault;
    SoundState state;
  } runs[] = {{Fault::kNone, SoundState::kIdle},
              {Fault::kStreamStalls, SoundState::kNoStream},
              {Fault::kConnectStalls, SoundState::kNoServer},
              {Fault::kStreamStalls, SoundState::kNoStream}};
  for (const auto& run : runs) {
    SCOPED_TRACE(static_cast<int>(run.fault));
    gFault.store(run.fault);
    startOneCue();
    EXPECT_EQ(settledState(), run.state);
  }
  gFault.store(Fault::kNone);
}

TEST(PulseFaults, AStopBeforeTheStreamPlaysReadsIdle) {
  for (Fault fault : {Fault::kConnectStalls, Fault::kStreamStalls}) {
    SCOPED_TRACE(static_cast<int>(fault));
    std::atomic<int>& asked = fault == Fault::kConnectStalls ? gConnectsAsked : gStreamsAsked;
    const int earlier = asked.load();
    gFault.store(fault);
    startOneCue();
    ASSERT_TRUE(waitUntil([&] { return asked.load() > earlier; })) << "never asked";
    platformStopCues();
    EXPECT_EQ(settledState(), SoundState::kIdle);
  }
  gFault.store(Fault::kNone);
}

}  // namespace
