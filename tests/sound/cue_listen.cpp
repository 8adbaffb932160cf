// Hears a program that plays cues: records the monitor of the private
// PulseAudio server's null sink "cap" (tests/sound/sound_server.sh, which
// CTest runs as the fixture sound_server, starts it) while
// COMMAND runs, then finds every sound in the recording by its onset and
// checks it against the cues the program printed ("cue KIND MICROS": 0 a
// second cue, 1 an end cue, at MICROS on the time of day): each cue heard
// once, in order, none missing and none merged with another (a second cue
// lasts 60 ms, an end cue 300 ms). The programs: tests/sound/cue_player.cpp
// with either backend (the Windows one under Wine), and the window's
// countdown in bench/qt_timer_bench.cpp. Timings are not checked; --report
// prints each onset's error against its printed instant, the constant they
// share (the median) removed, and the p5..p95 spread, the worst and the
// constant (bench/README.md).
//   quillmar_cue_listen [--report] COMMAND [ARGS...]
// Exit 0 when every cue was heard as printed.
#include <pulse/error.h>
#include <pulse/simple.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t kRate = 48000;
constexpr int32_t kLoud = 1500;         // a sample above this is sound
constexpr int32_t kQuiet = kRate / 50;  // 20 ms below it end a sound
constexpr int32_t kReadFrames = kRate / 200;
constexpr int64_t kSettleFrames = kRate * 5 / 2;
constexpr int64_t kMaxRecordFrames = int64_t{kRate} * 600;

int64_t timeOfDayMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

struct Recording {
  std::vector<int16_t> samples;
  int64_t startMicros = INT64_MAX;  // when frame 0 was captured, on the time of day
  int status = -1;                  // the program's, from waitpid
};

// Records from before COMMAND starts until a second after it ends; its
// standard output goes to `output`. False when recording fails.
bool record(char** command, int output, Recording& out) {
  const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr buffer{};
  buffer.maxlength = static_cast<uint32_t>(-1);
  buffer.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(5000, &format));
  int error = 0;
  pa_simple* recorder = pa_simple_new(nullptr, "quillmar-listen", PA_STREAM_RECORD, "cap.monitor", "listen", &format,
                                      nullptr, &buffer, &error);
  if (recorder == nullptr) {
    std::fprintf(stderr,
                 "cue listener: cannot record cap.monitor (%s); tests/sound/sound_server.sh starts the private "
                 "server (ctest runs it first)\n",
                 pa_strerror(error));
    return false;
  }
  pid_t child = -1;
  int64_t tail = -1;  // frames recorded since the program ended
  while (tail < kRate) {
    int16_t chunk[kReadFrames];
    if (pa_simple_read(recorder, chunk, sizeof chunk, &error) < 0 ||
        static_cast<int64_t>(out.samples.size()) > kMaxRecordFrames) {
      std::fprintf(stderr, "cue listener: recording failed or the program ran for 10 minutes\n");
      if (child > 0) kill(child, SIGKILL);
      pa_simple_free(recorder);
      return false;
    }
    out.samples.insert(out.samples.end(), chunk, chunk + kReadFrames);
    // Each read comes at or after the capture of its last frame: the
    // earliest estimate of frame 0's time wins.
    const auto frames = static_cast<int64_t>(out.samples.size());
    out.startMicros = std::min(out.startMicros, timeOfDayMicros() - frames * 1000000 / kRate);
    if (child < 0 && frames >= kSettleFrames) {
      // An idle null sink has rendered up to 2 s of silence ahead, which a
      // new stream would wait behind; being recorded keeps it at a short
      // latency, so the program starts once that has run out.
      child = fork();
      if (child == 0) {
        dup2(output, 1);
        execvp(command[0], command);
        std::perror(command[0]);
        _exit(127);
      }
    } else if (tail >= 0) {
      tail += kReadFrames;
    } else if (child > 0 && waitpid(child, &out.status, WNOHANG) == child) {
      tail = 0;
    }
  }
  pa_simple_free(recorder);
  return true;
}

struct Sound {
  int64_t onset;  // frames
  int64_t end;    // the frame after its last loud sample
};

std::vector<Sound> soundsIn(const std::vector<int16_t>& samples) {
  std::vector<Sound> sounds;
  int64_t quiet = kQuiet;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (std::abs(static_cast<int32_t>(samples[i])) <= kLoud) {
      ++quiet;
      continue;
    }
    if (quiet >= kQuiet) sounds.push_back({static_cast<int64_t>(i), 0});
    sounds.back().end = static_cast<int64_t>(i) + 1;
    quiet = 0;
  }
  return sounds;
}

// The kind a sound's length says: 0 a second cue, 1 an end cue, -1 neither
// (cut short, merged with another, or noise).
int kindOf(const Sound& sound) {
  double ms = static_cast<double>(sound.end - sound.onset) * 1000.0 / kRate;
  if (ms >= 40 && ms <= 80) return 0;
  if (ms >= 270 && ms <= 330) return 1;
  return -1;
}

// How many frames after a tone's first sample the onset rule fires: the tone
// as the cues are made (a sine of amplitude 12000 from phase 0, faded in over
// 5 ms), modelled here on its own.
int64_t onsetDelay(int kind) {
  const double hertz = kind == 1 ? 880.0 : 1760.0;
  for (int64_t k = 0;; ++k) {
    double t = static_cast<double>(k) / kRate;
    if (std::abs(std::lround(12000.0 * std::min(1.0, t / 0.005) * std::sin(2.0 * M_PI * hertz * t))) > kLoud) return k;
  }
}

double percentile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  double at = q * static_cast<double>(values.size() - 1);
  auto low = static_cast<std::size_t>(at);
  std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

struct Cue {
  int kind;
  long long micros;
};

// Each onset's error against its printed instant, the constant removed.
void report(const Recording& recording, const std::vector<Sound>& sounds, const std::vector<Cue>& cues) {
  std::vector<double> errors;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    double onset = static_cast<double>(recording.startMicros) +
                   static_cast<double>(sounds[i].onset - onsetDelay(cues[i].kind)) * 1e6 / kRate;
    errors.push_back((onset - static_cast<double>(cues[i].micros)) / 1000.0);
  }
  const double constant = percentile(errors, 0.5);
  double worst = 0;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    errors[i] -= constant;
    if (std::abs(errors[i]) > std::abs(worst)) worst = errors[i];
    std::printf("cue %2zu %s at %9.3f s: %+8.3f ms\n", i + 1, cues[i].kind == 1 ? "end   " : "second",
                static_cast<double>(cues[i].micros - cues[0].micros) / 1e6, errors[i]);
  }
  double p5 = percentile(errors, 0.05);
  double p95 = percentile(errors, 0.95);
  std::printf("constant %.3f ms, p5 %+.3f ms, p95 %+.3f ms, spread p5..p95 %.3f ms, worst %+.3f ms\n", constant, p5,
              p95, p95 - p5, worst);
}

}  // namespace

int main(int argc, char** argv) {
  bool reporting = argc > 1 && std::strcmp(argv[1], "--report") == 0;
  int first = reporting ? 2 : 1;
  if (first >= argc) {
    std::fprintf(stderr, "usage: quillmar_cue_listen [--report] COMMAND [ARGS...]\n");
    return 2;
  }
  char outputPath[] = "/tmp/quillmar-cue-program-XXXXXX";
  int output = mkstemp(outputPath);
  Recording recording;
  if (output < 0 || !record(argv + first, output, recording)) return 1;

  std::vector<Cue> cues;
  FILE* lines = std::fopen(outputPath, "r");
  char line[256];
  while (lines != nullptr && std::fgets(line, sizeof line, lines) != nullptr) {
    Cue cue{};
    if (std::sscanf(line, "cue %d %lld", &cue.kind, &cue.micros) == 2) cues.push_back(cue);
    else std::fputs(line, stdout);
  }
  if (lines != nullptr) std::fclose(lines);
  std::remove(outputPath);

  bool ok = WIFEXITED(recording.status) && WEXITSTATUS(recording.status) == 0;
  if (!ok) std::printf("the program failed (status %d)\n", recording.status);
  std::vector<Sound> sounds = soundsIn(recording.samples);
  for (std::size_t i = 0; i < std::max(cues.size(), sounds.size()); ++i) {
    int want = i < cues.size() ? cues[i].kind : -2;
    if (i < sounds.size() && kindOf(sounds[i]) == want) continue;
    ok = false;
    if (i < sounds.size()) {
      std::printf("sound %zu (at %.1f ms, %.1f ms long): expected %s\n", i + 1,
                  static_cast<double>(sounds[i].onset - sounds[0].onset) * 1000.0 / kRate,
                  static_cast<double>(sounds[i].end - sounds[i].onset) * 1000.0 / kRate,
                  want == -2 ? "nothing more" : want == 0 ? "a second cue" : "an end cue");
    } else {
      std::printf("cue %zu not heard\n", i + 1);
    }
  }
  std::printf("%zu cues printed, %zu sounds heard, %s\n", cues.size(), sounds.size(),
              ok ? "each cue once, in order" : "NOT as printed");
  if (ok && cues.empty()) {
    std::printf("the program printed no cue\n");
    ok = false;
  }
  if (ok && reporting) report(recording, sounds, cues);
  return ok ? 0 : 1;
}
