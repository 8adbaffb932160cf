// The timer's cues on Linux, through PulseAudio's asynchronous API (in
// libpulse0, which most desktops have; PipeWire desktops serve the same API).
// Qt Multimedia would bring the ffmpeg and GStreamer libraries for two beeps
// and would not say when a sample is heard.
//
// Everything that talks to the server runs on the threaded main loop's
// thread: the window's thread only copies the cues under a mutex and wakes
// that thread through an eventfd, so it never waits on the server. While
// cues remain, one playback stream stays open, asking for about 20 ms of
// latency (more after an underflow), and is fed with silence between the
// cues. After every write the stream's timing is asked for: the server's
// read index and how long its sink still holds it (the stated output
// latency), as measured at an instant. These measurements, moved to
// CLOCK_MONOTONIC (platformNowMilliseconds' clock), anchor the cue instants
// to stream frames. libpulse's own interpolated time is not used: after an
// underflow its smoothing drifted by a millisecond and more for seconds.
#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "ui/cue_track.h"
#include "ui/platform.h"

namespace {

constexpr int32_t kRate = 48000;
constexpr pa_sample_spec kSpec{PA_SAMPLE_FLOAT32LE, kRate, 1};
// The latency asked for first, so that a stop is quick; each underflow (the
// loop's thread not run in time, a loaded machine) doubles it, up to the
// most, for the rest of the stream. The cues stay on time either way: each
// timing measurement takes the sink's latency off.
constexpr pa_usec_t kLatencyMicros = 20000;
constexpr pa_usec_t kMaxLatencyMicros = 320000;
// Each attempt at sound (connecting if need be, then opening the stream) must
// have its stream playing by then, or it fails: kNoServer while the server
// has not answered, kNoStream once it has.
constexpr pa_usec_t kOpenDeadlineMicros = 5000000;
// A stream with nothing left to play closes once its last cue has been heard
// and this much silence after it.
constexpr int64_t kTailFrames = kRate / 5;
constexpr int32_t kChunkFrames = 1024;
constexpr pa_usec_t kReadTogetherMicros = 100;

class PulseCues {
 public:
  ~PulseCues() {
    if (loop_ != nullptr) {
      pa_threaded_mainloop_lock(loop_);
      closeStream();
      closeContext();
      api()->io_free(wakeEvent_);
      pa_threaded_mainloop_unlock(loop_);
      pa_threaded_mainloop_stop(loop_);
      pa_threaded_mainloop_free(loop_);
    }
    if (wakeFd_ >= 0) close(wakeFd_);
  }

  // The window's side: hand over a request and wake the loop.
  void request(const TimedCue* cues, int32_t count, bool stop) {
    if (stop) {
      cueMailboxPostStop(box_);
    } else {
      cueMailboxPost(box_, cues, count);
    }
    if (!started() || !wake()) cueMailboxRefuse(box_);
  }

  SoundState state() { return cueMailboxState(box_); }

 private:
  // Starts the main loop's thread (on the window's thread); false when it
  // cannot run, with everything made for it undone (no descriptor is kept),
  // so that the next request tries again from scratch.
  bool started() {
    if (loop_ != nullptr) return true;
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) return false;
    loop_ = pa_threaded_mainloop_new();
    if (loop_ != nullptr) {
      // The loop's thread does not run yet: its API is used without the lock.
      wakeEvent_ = api()->io_new(api(), wakeFd_, PA_IO_EVENT_INPUT, onWake, this);
      if (wakeEvent_ != nullptr && pa_threaded_mainloop_start(loop_) >= 0) return true;
      if (wakeEvent_ != nullptr) api()->io_free(wakeEvent_);
      wakeEvent_ = nullptr;
      pa_threaded_mainloop_free(loop_);
      loop_ = nullptr;
    }
    close(wakeFd_);
    wakeFd_ = -1;
    return false;
  }

  bool wake() {
    uint64_t one = 1;
    return write(wakeFd_, &one, sizeof one) == sizeof one;
  }

  pa_mainloop_api* api() { return pa_threaded_mainloop_get_api(loop_); }

  // --- the loop's thread from here on ---

  static void onWake(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
    uint64_t count = 0;
    while (read(fd, &count, sizeof count) > 0) {
    }
    static_cast<PulseCues*>(self)->takeRequest();
  }

  void takeRequest() {
    const bool start = cueMailboxTake(box_, track_);
    // Stopped (or handed no cue) before its stream played: nothing is to be
    // heard, so the attempt ends here rather than at its deadline; a
    // connection that had not answered yet is dropped with it.
    if (cueTrackIdle(track_) && !streamRan_) {
      closeStream();
      if (context_ != nullptr && pa_context_get_state(context_) != PA_CONTEXT_READY) closeContext();
      cueMailboxPlayedOut(box_);
      return;
    }
    if (!start) return;
    if (context_ == nullptr) {
      openContext();
    } else if (pa_context_get_state(context_) == PA_CONTEXT_READY && stream_ == nullptr) {
      openStream();
    }
  }

  // A failure of the attempt being served: everything is closed, so that the
  // next request starts from scratch; one that came meanwhile is served now.
  void fail(SoundState why) {
    closeStream();
    closeContext();
    cueTrackCancel(track_);
    track_.soundingFrom = -1;
    if (cueMailboxFail(box_, why)) wake();
  }

  void openContext() {
    context_ = pa_context_new(api(), "quillmar");
    if (context_ == nullptr) return fail(SoundState::kNoServer);
    pa_context_set_state_callback(context_, onContextState, this);
    // No autospawn: a desktop without a running server has no sound.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 || !armDeadline())
      return fail(SoundState::kNoServer);
  }

  // The attempt's deadline, from the first step it takes (a connection, or
  // the stream of a connection kept from an earlier countdown); it goes when
  // the stream plays or the attempt ends. False when none could be set.
  bool armDeadline() {
    if (deadline_ == nullptr)
      deadline_ = pa_context_rttime_new(context_, pa_rtclock_now() + kOpenDeadlineMicros, onDeadline, this);
    return deadline_ != nullptr;
  }

  void disarmDeadline() {
    if (deadline_ != nullptr) api()->time_free(deadline_);
    deadline_ = nullptr;
  }

  void closeContext() {
    if (context_ == nullptr) return;
    disarmDeadline();
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
  }

  static void onContextState(pa_context* context, void* self) {
    auto* sound = static_cast<PulseCues*>(self);
    switch (pa_context_get_state(context)) {
      case PA_CONTEXT_READY:
        if (!cueTrackIdle(sound->track_)) sound->openStream();
        else cueMailboxPlayedOut(sound->box_);  // stopped while connecting
        break;
      case PA_CONTEXT_FAILED:
      case PA_CONTEXT_TERMINATED:
        // Lost between countdowns: nothing was to be heard; the next one connects anew.
        if (sound->stream_ == nullptr && cueTrackIdle(sound->track_)) return sound->closeContext();
        sound->fail(sound->streamRan_ ? SoundState::kDeviceLost : SoundState::kNoServer);
        break;
      default:
        break;
    }
  }

  static void onDeadline(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
    auto* sound = static_cast<PulseCues*>(self);
    sound->disarmDeadline();
    if (sound->streamRan_) return;
    bool connected = pa_context_get_state(sound->context_) == PA_CONTEXT_READY;
    sound->fail(connected ? SoundState::kNoStream : SoundState::kNoServer);
  }

  void openStream() {
    if (!armDeadline()) return fail(SoundState::kNoStream);
    stream_ = pa_stream_new(context_, "timer", &kSpec, nullptr);
    if (stream_ == nullptr) return fail(SoundState::kNoStream);
    pa_stream_set_state_callback(stream_, onStreamState, this);
    pa_stream_set_write_callback(stream_, onWritable, this);
    pa_stream_set_underflow_callback(stream_, onUnderflow, this);
    pa_stream_set_latency_update_callback(stream_, onTiming, this);
    latency_ = kLatencyMicros;
    pa_buffer_attr buffer = bufferFor(latency_);
    written_ = 0;
    timed_ = false;
    anchorWindowReset(anchors_);
    track_.soundEnd = 0;
    track_.soundingFrom = -1;
    auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(stream_, nullptr, &buffer, flags, nullptr, nullptr) < 0)
      return fail(SoundState::kNoStream);
  }

  void closeStream() {
    if (stream_ == nullptr) return;
    disarmDeadline();
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
    pa_stream_set_latency_update_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
    streamRan_ = false;
  }

  static void onStreamState(pa_stream* stream, void* self) {
    auto* sound = static_cast<PulseCues*>(self);
    switch (pa_stream_get_state(stream)) {
      case PA_STREAM_READY:
        sound->streamRan_ = true;
        sound->disarmDeadline();
        break;
      case PA_STREAM_FAILED:
      case PA_STREAM_TERMINATED:
        sound->fail(sound->streamRan_ ? SoundState::kDeviceLost : SoundState::kNoStream);
        break;
      default:
        break;
    }
  }

  static pa_buffer_attr bufferFor(pa_usec_t latency) {
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(latency, &kSpec));
    // Playing from the first write and never paused by an underflow: the
    // stream's position then keeps pace with the device, which the cues are
    // placed by; an underflow is heard as silence.
    buffer.prebuf = 0;
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    return buffer;
  }

  static void onUnderflow(pa_stream* stream, void* self) {
    auto* sound = static_cast<PulseCues*>(self);
    anchorWindowReset(sound->anchors_);
    if (sound->latency_ >= kMaxLatencyMicros) return;
    sound->latency_ *= 2;
    pa_buffer_attr buffer = bufferFor(sound->latency_);
    if (pa_operation* asked = pa_stream_set_buffer_attr(stream, &buffer, nullptr, nullptr)) pa_operation_unref(asked);
  }

  static void onWritable(pa_stream* stream, size_t bytes, void* self) {
    static_cast<PulseCues*>(self)->feed(stream, bytes / sizeof(float));
  }

  // A timing update: where the stream's read index was and how long the
  // sink still held it, when measured. The measurement's time is on the
  // wall clock; it is moved to CLOCK_MONOTONIC by the two clocks' offset,
  // read together (a read that the scheduler split is taken again).
  static void onTiming(pa_stream* stream, void* self) {
    auto* sound = static_cast<PulseCues*>(self);
    const pa_timing_info* info = pa_stream_get_timing_info(stream);
    if (info == nullptr || info->read_index_corrupt) return;
    int64_t offset = 0;
    for (int tries = 0; tries < 4; ++tries) {
      timeval wall{};
      const pa_usec_t before = pa_rtclock_now();
      pa_gettimeofday(&wall);
      const pa_usec_t after = pa_rtclock_now();
      offset = static_cast<int64_t>(before + after) / 2 - static_cast<int64_t>(pa_timeval_load(&wall));
      if (after - before <= kReadTogetherMicros) break;
    }
    const int64_t measured = static_cast<int64_t>(pa_timeval_load(&info->timestamp)) + offset;
    const double heard = static_cast<double>(info->read_index) / sizeof(float) -
                         static_cast<double>(info->sink_usec) * kRate / 1e6;
    sound->anchor_ = anchorWindowAdd(sound->anchors_, {measured * 1000, heard, kRate});
    sound->timed_ = true;
  }

  // Writes `frames` frames: the cues that fall there, silence around them;
  // then asks for a timing update, which the next write is placed by.
  void feed(pa_stream* stream, size_t frames) {
    while (frames > 0) {
      int32_t n = frames < kChunkFrames ? static_cast<int32_t>(frames) : kChunkFrames;
      if (timed_) {
        cueTrackFill(track_, anchor_, written_, n, chunk_);
      } else {
        for (int32_t i = 0; i < n; ++i) chunk_[i] = 0.0f;  // no timing yet: silence
      }
      if (pa_stream_write(stream, chunk_, static_cast<size_t>(n) * sizeof(float), nullptr, 0, PA_SEEK_RELATIVE) < 0)
        return fail(SoundState::kDeviceLost);
      written_ += n;
      frames -= static_cast<size_t>(n);
    }
    if (pa_operation* asked = pa_stream_update_timing_info(stream, nullptr, nullptr)) pa_operation_unref(asked);
    // Nothing left: the stream closes once the last cue has been heard.
    const double heardNow =
        anchor_.frame + static_cast<double>(static_cast<int64_t>(pa_rtclock_now()) * 1000 - anchor_.nanos) * kRate / 1e9;
    if (timed_ && cueTrackIdle(track_) && heardNow > static_cast<double>(track_.soundEnd + kTailFrames)) {
      closeStream();
      cueMailboxPlayedOut(box_);
    }
  }

  CueMailbox box_;
  // Set up by the window's thread, until the loop runs.
  pa_threaded_mainloop* loop_ = nullptr;
  int wakeFd_ = -1;

  // The loop's thread only.
  pa_io_event* wakeEvent_ = nullptr;
  pa_context* context_ = nullptr;
  pa_time_event* deadline_ = nullptr;
  pa_stream* stream_ = nullptr;
  bool streamRan_ = false;
  pa_usec_t latency_ = kLatencyMicros;
  CueTrack track_;
  AnchorWindow anchors_;
  StreamAnchor anchor_{0, 0.0, kRate};  // the latest, from the timing updates
  bool timed_ = false;                  // a timing update has come
  int64_t written_ = 0;
  float chunk_[kChunkFrames];
};

PulseCues gSound;

}  // namespace

void platformStartCues(const TimedCue* cues, int32_t count) { gSound.request(cues, count, false); }

void platformStopCues() { gSound.request(nullptr, 0, true); }

SoundState platformSoundState() { return gSound.state(); }
