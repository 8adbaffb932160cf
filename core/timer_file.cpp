#include "core/timer_file.h"

#include <cstdio>
#include <cstring>

#include "core/calibration.h"
#include "core/seed_time.h"
#include "core/timer_plan.h"
#include "data/named_file.h"

namespace {

constexpr int32_t kLineBytes = 128;

// A whole decimal number, optionally signed, nothing else on the line, within
// low..high.
bool parseBoundedNumber(const char* text, int32_t low, int32_t high, int32_t& out) {
  const char* p = text;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p < '0' || *p > '9') return false;
  int64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > 1000000000) return false;
  }
  if (*p != '\0') return false;
  if (negative) value = -value;
  if (value < low || value > high) return false;
  out = static_cast<int32_t>(value);
  return true;
}

// "YYYY-MM-DD HH:MM:SS", exactly, and a moment of the clock.
bool parseMoment(const char* text, ConsoleMoment& out) {
  if (std::strlen(text) != 19) return false;
  static const char kShape[] = "0000-00-00 00:00:00";
  for (int i = 0; i < 19; ++i) {
    bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == '0' ? !digit : text[i] != kShape[i]) return false;
  }
  auto number = [&](int at, int width) {
    int32_t v = 0;
    for (int i = at; i < at + width; ++i) v = v * 10 + (text[i] - '0');
    return v;
  };
  ConsoleMoment m{number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2), 0};
  if (!isValidMoment(m)) return false;
  out = m;
  return true;
}

}  // namespace

TimerSettings defaultTimerSettings() { return TimerSettings{0, 0, kDefaultMinFirstPhase, 0, ConsoleMoment{}}; }

bool operator==(const TimerSettings& a, const TimerSettings& b) {
  if (a.delayCalibration != b.delayCalibration || a.secondCalibration != b.secondCalibration ||
      a.minFirstPhase != b.minFirstPhase || a.targetSet != b.targetSet)
    return false;
  if (a.targetSet == 0) return true;
  const ConsoleMoment& x = a.target;
  const ConsoleMoment& y = b.target;
  return x.year == y.year && x.month == y.month && x.day == y.day && x.hour == y.hour && x.minute == y.minute &&
         x.second == y.second && x.delay == y.delay;
}

TimerFileRead readTimerFile(const char* path, TimerSettings& settings) {
  TimerFileRead read{false, 0};
  std::FILE* file = openNamedFile(path, "r");
  if (file == nullptr) return read;
  read.found = true;
  ConsoleMoment moment{};
  bool momentRead = false;
  int32_t delay = 0;
  bool delayRead = false;
  int32_t targetLines = 0;
  char line[kLineBytes];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    std::size_t length = std::strlen(line);
    bool whole = length > 0 && line[length - 1] == '\n';
    if (!whole && !std::feof(file)) {
      // A line longer than any good one: the rest of it is skipped.
      ++read.badLines;
      int c;
      while ((c = std::fgetc(file)) != EOF && c != '\n') {
      }
      continue;
    }
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = '\0';
    if (length == 0) continue;
    char* equals = std::strchr(line, '=');
    if (equals == nullptr) {
      ++read.badLines;
      continue;
    }
    *equals = '\0';
    const char* name = line;
    const char* value = equals + 1;
    bool good = false;
    if (std::strcmp(name, "delay_calibration") == 0) {
      good = parseBoundedNumber(value, kMinDelayCalibration, kMaxDelayCalibration, settings.delayCalibration);
    } else if (std::strcmp(name, "second_calibration") == 0) {
      good = parseBoundedNumber(value, kMinSecondCalibration, kMaxSecondCalibration, settings.secondCalibration);
    } else if (std::strcmp(name, "min_first_phase") == 0) {
      good = parseBoundedNumber(value, 0, kMaxMinFirstPhase, settings.minFirstPhase);
    } else if (std::strcmp(name, "target") == 0) {
      ++targetLines;
      good = parseMoment(value, moment);
      momentRead = momentRead || good;
    } else if (std::strcmp(name, "target_delay") == 0) {
      ++targetLines;
      good = parseBoundedNumber(value, 0, kMaxCalibrationDelay, delay);
      delayRead = delayRead || good;
    }
    if (!good) ++read.badLines;
  }
  std::fclose(file);
  if (momentRead && delayRead) {
    settings.targetSet = 1;
    settings.target = moment;
    settings.target.delay = delay;
  } else if (targetLines > 0 && (momentRead || delayRead)) {
    // Half a target is no target: the good half is not taken either.
    ++read.badLines;
  }
  return read;
}

OutputResult writeTimerFile(const char* path, const TimerSettings& settings) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "delay_calibration=%d\nsecond_calibration=%d\nmin_first_phase=%d\n",
                         settings.delayCalibration, settings.secondCalibration, settings.minFirstPhase) > 0;
  if (ok && settings.targetSet != 0) {
    const ConsoleMoment& t = settings.target;
    ok = std::fprintf(file.stream, "target=%04d-%02d-%02d %02d:%02d:%02d\ntarget_delay=%d\n", t.year, t.month, t.day,
                      t.hour, t.minute, t.second, t.delay) > 0;
  }
  return closeOutputFile(file, outputWrites(ok));
}
