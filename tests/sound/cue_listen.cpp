// Hears a cue player: records the monitor of the private PulseAudio server's
// null sink "cap" (scripts/test.sh starts it) while COMMAND runs a player
// (tests/sound/cue_player.cpp, linked with the Linux or, under Wine, the
// Windows backend), then finds every sound in the recording by its onset and
// checks them against the plan: each cue heard once, in order, none missing
// and none merged with the next (a second cue lasts 60 ms, an end cue 300 ms).
// Timings are not checked; --report prints each onset's error against the
// instant the player printed for it, the constant they share removed, and the
// p5..p95 spread, the worst and the constant (bench/README.md).
//   quillmar_cue_listen [--report] test|bench COMMAND [ARGS...]
// Exit 0 when every cue was heard as planned.
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

#include "cue_plan.h"

namespace {

constexpr int32_t kRate = 48000;
constexpr int32_t kLoud = 1500;          // a sample above this is sound
constexpr int32_t kQuiet = kRate / 50;   // 20 ms below it end a sound
constexpr int32_t kReadFrames = kRate / 200;
constexpr int64_t kMaxRecordSeconds = 600;
constexpr int64_t kSettleFrames = kRate * 5 / 2;

int64_t timeOfDayMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

struct Sound {
  int64_t onset;  // frames
  int64_t end;    // the frame after its last loud sample
};

std::vector<Sound> soundsIn(const std::vector<int16_t>& samples) {
  std::vector<Sound> sounds;
  int64_t quiet = kQuiet;
  for (int64_t i = 0; i < static_cast<int64_t>(samples.size()); ++i) {
    if (std::abs(static_cast<int32_t>(samples[static_cast<std::size_t>(i)])) <= kLoud) {
      ++quiet;
      continue;
    }
    if (quiet >= kQuiet) sounds.push_back({i, i + 1});
    sounds.back().end = i + 1;
    quiet = 0;
  }
  return sounds;
}

// The kind a sound's length says: 0 a second cue, 1 an end cue, -1 neither
// (cut, merged, or noise).
int kindOf(const Sound& sound) {
  double ms = static_cast<double>(sound.end - sound.onset) * 1000.0 / kRate;
  if (ms >= 40 && ms <= 80) return 0;
  if (ms >= 270 && ms <= 330) return 1;
  return -1;
}

// How many frames after a tone's first sample the onset rule fires: the tone
// as the cues are made (a sine of amplitude 12000 starting at phase 0, with a
// 5 ms linear fade in), modelled here on its own.
int64_t onsetDelay(bool end) {
  const double hertz = end ? 880.0 : 1760.0;
  const double fade = kRate * 0.005;
  for (int64_t k = 0;; ++k) {
    double x = 12000.0 * std::min(1.0, static_cast<double>(k) / fade) * std::sin(2.0 * M_PI * hertz * static_cast<double>(k) / kRate);
    if (std::abs(std::lround(x)) > kLoud) return k;
  }
}

double percentile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  double at = q * static_cast<double>(values.size() - 1);
  auto low = static_cast<std::size_t>(at);
  std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  bool report = false;
  if (arg < argc && std::strcmp(argv[arg], "--report") == 0) report = true, ++arg;
  PlannedCue plan[kPlanCues];
  int32_t planned = arg + 1 < argc ? cuePlan(argv[arg], plan) : 0;
  if (planned == 0) {
    std::fprintf(stderr, "usage: quillmar_cue_listen [--report] test|bench COMMAND [ARGS...]\n");
    return 2;
  }
  char** command = argv + arg + 1;

  const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr buffer{};
  buffer.maxlength = static_cast<uint32_t>(-1);
  buffer.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(5000, &spec));
  int error = 0;
  pa_simple* recorder =
      pa_simple_new(nullptr, "quillmar-listen", PA_STREAM_RECORD, "cap.monitor", "listen", &spec, nullptr, &buffer, &error);
  if (recorder == nullptr) {
    std::fprintf(stderr, "cue listener: cannot record cap.monitor (%s); scripts/test.sh starts the private server\n",
                 pa_strerror(error));
    return 1;
  }

  char outputPath[] = "/tmp/quillmar-cue-player-XXXXXX";
  int output = mkstemp(outputPath);
  if (output < 0) return 1;
  pid_t child = -1;

  // Frame k of the recording was captured at about startMicros + k / rate:
  // each read comes at or after its last frame, so the earliest estimate wins.
  std::vector<int16_t> samples;
  int64_t startMicros = INT64_MAX;
  int status = -1;
  int64_t tailFrames = -1;  // recorded after the player ended
  while (tailFrames < kRate) {
    int16_t chunk[kReadFrames];
    if (pa_simple_read(recorder, chunk, sizeof chunk, &error) < 0) {
      std::fprintf(stderr, "cue listener: recording failed (%s)\n", pa_strerror(error));
      if (child > 0) kill(child, SIGKILL);
      return 1;
    }
    samples.insert(samples.end(), chunk, chunk + kReadFrames);
    startMicros = std::min(startMicros, timeOfDayMicros() - static_cast<int64_t>(samples.size()) * 1000000 / kRate);
    // An idle null sink has rendered up to 2 s of silence ahead, which a
    // new stream waits behind; recording keeps it at a short latency, so
    // the player starts once that has run out.
    if (child < 0 && static_cast<int64_t>(samples.size()) >= kSettleFrames) {
      child = fork();
      if (child == 0) {
        dup2(output, 1);
        execvp(command[0], command);
        std::perror(command[0]);
        _exit(127);
      }
    } else if (child < 0) {
      continue;
    } else if (tailFrames >= 0) {
      tailFrames += kReadFrames;
    } else if (waitpid(child, &status, WNOHANG) == child) {
      tailFrames = 0;
    } else if (static_cast<int64_t>(samples.size()) > kMaxRecordSeconds * kRate) {
      std::fprintf(stderr, "cue listener: the player still runs after %lld s\n", static_cast<long long>(kMaxRecordSeconds));
      kill(child, SIGKILL);
      return 1;
    }
  }
  pa_simple_free(recorder);

  std::vector<PlannedCue> printed;  // the cues with their instants on the time of day
  FILE* lines = std::fopen(outputPath, "r");
  char line[256];
  while (lines != nullptr && std::fgets(line, sizeof line, lines) != nullptr) {
    int kind = 0;
    long long micros = 0;
    if (std::sscanf(line, "cue %d %lld", &kind, &micros) == 2) printed.push_back({kind == 1, micros});
    else std::fputs(line, stdout);
  }
  if (lines != nullptr) std::fclose(lines);
  std::remove(outputPath);

  bool ok = true;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::printf("the player failed (status %d)\n", status);
    ok = false;
  }
  std::vector<Sound> sounds = soundsIn(samples);
  const auto count = static_cast<std::size_t>(planned);
  if (printed.size() != count) {
    std::printf("the player printed %zu cues, not %zu\n", printed.size(), count);
    ok = false;
  }
  for (std::size_t i = 0; i < std::max(count, sounds.size()); ++i) {
    int want = i < count ? static_cast<int>(plan[i].end) : -2;
    int got = i < sounds.size() ? kindOf(sounds[i]) : -2;
    if (want == got) continue;
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
  std::printf("%zu cues planned, %zu sounds heard, %s\n", count, sounds.size(),
              ok ? "each cue once, in order" : "NOT as planned");
  if (!ok || !report || printed.size() != count) return ok ? 0 : 1;

  // Each onset's error against its planned instant, the sound's own onset
  // delay taken off; then one constant (the median) removed.
  std::vector<double> errors;
  for (std::size_t i = 0; i < count; ++i) {
    double onset = static_cast<double>(startMicros) +
                   static_cast<double>(sounds[i].onset - onsetDelay(printed[i].end)) * 1e6 / kRate;
    errors.push_back((onset - static_cast<double>(printed[i].offset)) / 1000.0);
  }
  const double constant = percentile(errors, 0.5);
  std::vector<double> deviations;
  double worst = 0;
  for (std::size_t i = 0; i < count; ++i) {
    double d = errors[i] - constant;
    deviations.push_back(d);
    if (std::abs(d) > std::abs(worst)) worst = d;
    std::printf("cue %2zu %s at %10.3f s: %+8.3f ms\n", i + 1, printed[i].end ? "end   " : "second",
                static_cast<double>(printed[i].offset - printed[0].offset) / 1e6, d);
  }
  std::printf("constant %.3f ms, p5 %+.3f ms, p95 %+.3f ms, spread p5..p95 %.3f ms, worst %+.3f ms\n", constant,
              percentile(deviations, 0.05), percentile(deviations, 0.95),
              percentile(deviations, 0.95) - percentile(deviations, 0.05), worst);
  return 0;
}
