// The timer's cues on Linux, through PulseAudio's simple API (PipeWire
// desktops serve the same API): a small library most desktops already have,
// where Qt Multimedia would bring the ffmpeg and GStreamer libraries for two
// beeps. The tones are made here, 16-bit mono PCM, and written by a worker
// thread so that the window never waits on the sound device.
#include <pulse/error.h>
#include <pulse/simple.h>

#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/platform.h"

namespace {

constexpr uint32_t kRate = 44100;

// A sine tone with a short fade at both ends (no click): the second cue is a
// short high tick, the end cue a longer, lower tone.
std::vector<int16_t> tone(double hertz, int32_t milliseconds) {
  const std::size_t count = kRate * static_cast<std::size_t>(milliseconds) / 1000;
  const std::size_t fade = kRate / 200;  // 5 ms
  std::vector<int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    double gain = 1.0;
    if (i < fade) gain = static_cast<double>(i) / fade;
    if (count - i < fade) gain = static_cast<double>(count - i) / fade;
    samples[i] = static_cast<int16_t>(12000.0 * gain * std::sin(2.0 * M_PI * hertz * static_cast<double>(i) / kRate));
  }
  return samples;
}

class CuePlayer {
 public:
  ~CuePlayer() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
    }
    wake_.notify_one();
    if (worker_.joinable()) worker_.join();
    if (stream_ != nullptr) pa_simple_free(stream_);
  }

  // Opens the device on first use; false when there is none.
  bool play(CueSound cue) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!tried_) {
      tried_ = true;
      pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
      int error = 0;
      stream_ = pa_simple_new(nullptr, "quillmar", PA_STREAM_PLAYBACK, nullptr, "timer", &format, nullptr, nullptr,
                              &error);
      if (stream_ != nullptr) {
        second_ = tone(1760.0, 60);
        end_ = tone(880.0, 300);
        worker_ = std::thread([this] { run(); });
      }
    }
    if (stream_ == nullptr) return false;
    pending_ = cue == CueSound::kEnd ? 2 : 1;
    wake_.notify_one();
    return true;
  }

 private:
  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return quit_ || pending_ != 0; });
      if (quit_) return;
      const std::vector<int16_t>& samples = pending_ == 2 ? end_ : second_;
      pending_ = 0;
      lock.unlock();
      int error = 0;
      pa_simple_write(stream_, samples.data(), samples.size() * sizeof(int16_t), &error);
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread worker_;
  pa_simple* stream_ = nullptr;
  bool tried_ = false;
  bool quit_ = false;
  int pending_ = 0;  // 0 none, 1 second cue, 2 end cue
  std::vector<int16_t> second_;
  std::vector<int16_t> end_;
};

CuePlayer gPlayer;

}  // namespace

bool platformPlayCue(CueSound cue) { return gPlayer.play(cue); }
