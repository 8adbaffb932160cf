// The timer's cues on Windows, through WASAPI in shared mode (OLE32 brings
// the device enumerator; nothing is installed beside the exe).
//
// A worker thread owns the device: the window's thread only copies the cues
// under a mutex and sets an event, so it never waits on the audio service.
// While cues remain, one event-driven stream stays open with a 50 ms buffer
// and is fed with silence between the cues. At every write the stream's clock
// (IAudioClock::GetPosition: the frame playing through the speakers, with the
// performance-counter time it was read at) anchors the cue instants to
// stream frames; platformNowMilliseconds reads the same performance counter.
//
// Every failure ends in a state the window reads: no thread for the worker,
// or COM refused to it, reads kNoServer at once and the next start tries a
// new worker; a stream that cannot be made or opened reads kNoStream.
#include "ui/win32/win32_sound.h"

#include <windows.h>

#include <audioclient.h>
#include <mmdeviceapi.h>
#include <mmreg.h>

#include <cstdint>
#include <cstring>
#include <atomic>
#include <thread>

#include "core/thread_start.h"
#include "ui/cue_track.h"
#include "ui/platform.h"

namespace {

std::atomic<Win32SoundFault> gFault{Win32SoundFault::kNone};

bool failing(Win32SoundFault step) { return gFault.load() == step; }

// The stream's buffer: 50 ms, kept full, so that a stop is quick (a cue
// already written sounds at most that much later) and a worker run late on a
// loaded machine still finds data left. A buffer that ran dry all the same
// (no frame left at a write) restarts the clock readings' window.
constexpr REFERENCE_TIME kBufferHundredNanos = 500000;
constexpr int32_t kChunkFrames = 1024;
// KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, whose definition mingw-w64 keeps in a
// library of the driver kit.
constexpr GUID kFloatSubFormat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

template <typename T>
void release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

class WasapiCues {
 public:
  ~WasapiCues() {
    if (worker_.joinable()) {
      quit_ = true;
      SetEvent(wake_);
      worker_.join();
    }
    if (wake_ != nullptr) CloseHandle(wake_);
  }

  // The window's side: hand over a request and wake the worker.
  void request(const TimedCue* cues, int32_t count, bool stop) {
    if (stop) {
      cueMailboxPostStop(box_);
    } else {
      cueMailboxPost(box_, cues, count);
    }
    if (!started() || !SetEvent(wake_)) return cueMailboxRefuse(box_);
    // A worker that could not set up COM says so after it has marked itself
    // ended: one found ended here may have missed this request.
    if (ended_.load()) cueMailboxRefuse(box_);
  }

  SoundState state() { return cueMailboxState(box_); }

 private:
  // Starts the worker (on the window's thread) unless it runs; false when it
  // cannot. A worker that ended for want of COM is joined and replaced, and
  // a refused start is tried again at the next request.
  bool started() {
    if (worker_.joinable()) {
      if (!ended_.load()) return true;
      worker_.join();
      ended_.store(false);
    }
    if (wake_ == nullptr) wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return wake_ != nullptr && startThread(worker_, [this] { run(); });
  }

  // --- the worker's thread from here on ---

  void run() {
    // Fed every period: it must run before the buffer runs dry.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    if (failing(Win32SoundFault::kComInit) || FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
      ended_.store(true);
      cueMailboxRefuse(box_);
      return;
    }
    for (;;) {
      HANDLE handles[2] = {wake_, audioEvent_};
      DWORD woken = WaitForMultipleObjects(client_ != nullptr ? 2 : 1, handles, FALSE, client_ != nullptr ? 100 : INFINITE);
      if (quit_) break;
      if (woken == WAIT_OBJECT_0) takeRequest();
      if (client_ != nullptr) feed();
    }
    closeStream();
    CoUninitialize();
  }

  void takeRequest() {
    if (cueMailboxTake(box_, track_) && client_ == nullptr) openStream();
  }

  // A failure of the attempt being served: the stream is closed, so that the
  // next request starts from scratch; one that came meanwhile is served now.
  void fail(SoundState why) {
    closeStream();
    cueTrackCancel(track_);
    track_.soundingFrom = -1;
    if (cueMailboxFail(box_, why)) SetEvent(wake_);
  }

  void openStream() {
    // The event the stream signals when it wants data, one per stream.
    audioEvent_ = failing(Win32SoundFault::kStreamEvent) ? nullptr : CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (audioEvent_ == nullptr) return fail(SoundState::kNoStream);
    IMMDeviceEnumerator* devices = nullptr;
    IMMDevice* device = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                reinterpret_cast<void**>(&devices))) ||
        FAILED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device))) {
      release(devices);
      return fail(SoundState::kNoServer);
    }
    HRESULT activated = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&client_));
    release(device);
    release(devices);
    if (FAILED(activated) || !openClient()) return fail(SoundState::kNoStream);
    written_ = 0;
    anchorWindowReset(anchors_);
    track_.soundEnd = 0;
    track_.soundingFrom = -1;
    feed();
    if (client_ != nullptr && FAILED(client_->Start())) fail(SoundState::kNoStream);
  }

  // Initialises the client in the mix format (32-bit float or 16-bit
  // integer samples, any number of channels) and takes its services.
  bool openClient() {
    WAVEFORMATEX* mix = nullptr;
    if (FAILED(client_->GetMixFormat(&mix))) return false;
    bool isFloat = mix->wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
    if (mix->wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
      const auto* extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(mix);
      isFloat = IsEqualGUID(extensible->SubFormat, kFloatSubFormat) != FALSE;
    }
    floatSamples_ = isFloat && mix->wBitsPerSample == 32;
    channels_ = mix->nChannels;
    rate_ = static_cast<int32_t>(mix->nSamplesPerSec);
    bool usable = (floatSamples_ || mix->wBitsPerSample == 16) && channels_ > 0;
    HRESULT initialised = usable ? client_->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK,
                                                       kBufferHundredNanos, 0, mix, nullptr)
                                 : E_FAIL;
    CoTaskMemFree(mix);
    return SUCCEEDED(initialised) && SUCCEEDED(client_->GetBufferSize(&bufferFrames_)) &&
           SUCCEEDED(client_->SetEventHandle(audioEvent_)) &&
           SUCCEEDED(client_->GetService(__uuidof(IAudioRenderClient), reinterpret_cast<void**>(&render_))) &&
           SUCCEEDED(client_->GetService(__uuidof(IAudioClock), reinterpret_cast<void**>(&clock_))) &&
           SUCCEEDED(clock_->GetFrequency(&frequency_)) && frequency_ != 0;
  }

  void closeStream() {
    if (client_ != nullptr) client_->Stop();
    release(clock_);
    release(render_);
    release(client_);
    if (audioEvent_ != nullptr) CloseHandle(audioEvent_);
    audioEvent_ = nullptr;
  }

  // Fills the buffer's free frames: the cues that fall there, silence around them.
  void feed() {
    UINT32 padding = 0;
    UINT64 position = 0;
    UINT64 counter = 0;
    if (FAILED(client_->GetCurrentPadding(&padding)) || FAILED(clock_->GetPosition(&position, &counter)))
      return fail(SoundState::kDeviceLost);
    // GetPosition's time is the performance counter in 100 ns units.
    if (padding == 0 && written_ > 0) anchorWindowReset(anchors_);
    StreamAnchor anchor = anchorWindowAdd(
        anchors_, {static_cast<int64_t>(counter) * 100,
                   static_cast<double>(position) * rate_ / static_cast<double>(frequency_), rate_});
    UINT32 frames = bufferFrames_ - padding;
    while (frames > 0) {
      UINT32 n = frames < kChunkFrames ? frames : kChunkFrames;
      BYTE* data = nullptr;
      if (FAILED(render_->GetBuffer(n, &data))) return fail(SoundState::kDeviceLost);
      cueTrackFill(track_, anchor, written_, static_cast<int32_t>(n), chunk_);
      for (UINT32 i = 0; i < n; ++i) {
        for (int32_t c = 0; c < channels_; ++c) {
          std::size_t at = static_cast<std::size_t>(i) * static_cast<std::size_t>(channels_) + static_cast<std::size_t>(c);
          if (floatSamples_) {
            std::memcpy(data + at * 4, &chunk_[i], 4);
          } else {
            auto sample = static_cast<int16_t>(chunk_[i] * 32767.0f);
            std::memcpy(data + at * 2, &sample, 2);
          }
        }
      }
      if (FAILED(render_->ReleaseBuffer(n, 0))) return fail(SoundState::kDeviceLost);
      written_ += n;
      frames -= n;
    }
    // Nothing left: the stream closes once the last cue has been heard.
    if (cueTrackIdle(track_) && anchor.frame > static_cast<double>(track_.soundEnd + rate_ / 5)) {
      closeStream();
      cueMailboxPlayedOut(box_);
    }
  }

  CueMailbox box_;
  std::atomic<bool> quit_{false};
  std::atomic<bool> ended_{false};  // the worker returned for want of COM
  // Set up by the window's thread.
  HANDLE wake_ = nullptr;
  std::thread worker_;

  // The worker's thread only.
  HANDLE audioEvent_ = nullptr;
  IAudioClient* client_ = nullptr;
  IAudioRenderClient* render_ = nullptr;
  IAudioClock* clock_ = nullptr;
  UINT64 frequency_ = 0;
  UINT32 bufferFrames_ = 0;
  int32_t rate_ = 48000;
  int32_t channels_ = 1;
  bool floatSamples_ = true;
  CueTrack track_;
  AnchorWindow anchors_;
  int64_t written_ = 0;
  float chunk_[kChunkFrames];
};

WasapiCues gCues;

}  // namespace

void platformStartCues(const TimedCue* cues, int32_t count) { gCues.request(cues, count, false); }

void platformStopCues() { gCues.request(nullptr, 0, true); }

SoundState platformSoundState() { return gCues.state(); }

void win32SoundFail(Win32SoundFault fault) { gFault.store(fault); }
