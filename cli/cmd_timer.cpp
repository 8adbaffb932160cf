// timer: the clock to set and the two phases that take the player from
// confirming the console's clock to pressing "continue" on the aimed second
// after the aimed delay; with --run, the countdown on standard error.
#include <chrono>
#include <cstdio>
#include <thread>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "cli/terminal.h"
#include "core/calibration.h"
#include "core/timer_plan.h"

namespace {

constexpr int kExitInterrupted = 130;  // as a shell reports a program ended by Ctrl-C
// On a terminal the countdown's line is redrawn at least this often (ms): ten
// times a second with room to spare for a late wake-up.
constexpr int64_t kRedrawMs = 50;

const char kTimerHelp[] =
    "usage: quillmar-cli timer --at \"YYYY-MM-DD HH:MM:SS\" --delay D "
    "[--delay-calibration C]\n"
    "                          [--second-calibration S] [--min-first M] "
    "[--run]\n"
    "\n"
    "The timer from setting the console's clock to pressing \"continue\" on "
    "the aimed\n"
    "moment after the aimed delay. Set the clock to the date and hour:minute "
    "printed;\n"
    "confirming it starts its seconds at 0, and the timer with them. Phase 1 "
    "runs\n"
    "from there to launching the game, phase 2 from the launch to pressing "
    "\"continue\":\n"
    "  phase 2 = (D + C) x 1000 / 59.8261 ms (59.8261 frames a second), "
    "rounded\n"
    "  phase 1 = second x 1000 + S + 60000 x n - phase 2, with n the fewest "
    "whole\n"
    "            minutes (0 or more) that make it M ms or longer\n"
    "and the clock is set n minutes before the aimed moment's minute.\n"
    "\n"
    "  --at MOMENT               the aimed moment, exactly \"YYYY-MM-DD "
    "HH:MM:SS\"\n"
    "  --delay D                 the aimed delay, frames 0..65535\n"
    "  --delay-calibration C     frames added to phase 2, -9999..9999 "
    "(default 0): if\n"
    "                            your tries hit delay D + k, take k off C\n"
    "  --second-calibration S    ms added to phase 1, -60000..60000 (default "
    "0): if\n"
    "                            your tries land k ms late, take k off S\n"
    "  --min-first M             the shortest phase 1 you need, ms 0..600000 "
    "(default\n"
    "                            14000)\n"
    "  --run                     then count down: start the command as you "
    "confirm the\n"
    "                            clock\n"
    "\n"
    "One line, \"clock YYYY-MM-DD HH:MM<TAB>launch +P1 ms<TAB>continue +P2 "
    "ms\", e.g.\n"
    "  clock 2026-04-27 02:58\tlaunch +52815 ms\tcontinue +6185 ms\n"
    "No plan (D + C below 0, or a clock before 2000-01-01 00:00): one line "
    "\"no plan:\n"
    "...\", exit code 1.\n"
    "With --run, standard error shows the phase and the time left (on a "
    "terminal,\n"
    "one line redrawn 20 times a second), and rings the bell at each of the "
    "last three\n"
    "seconds of a phase and at its end. Exit code 0 at the end, 130 on "
    "Ctrl-C.\n";

// An optional integer option in lo..hi, `value` keeping its default when the
// option is absent. False (after the message) for a malformed value.
bool readRange(const ParsedArgs& args, const char* name, int64_t lo, int64_t hi, const char* unit, int64_t& value,
               const CliIo& io, int& rc) {
  const std::string* text = findOption(args, name);
  if (text == nullptr || parseIntStrict(*text, lo, hi, value)) return true;
  rc = cliError(io, "%s '%s': expected %s %lld..%lld", name, text->c_str(), unit, static_cast<long long>(lo),
                static_cast<long long>(hi));
  return false;
}

// The countdown's line for where it stands, followed by one bell per cue.
// A terminal gets it over the previous line, anything else as a line of its own.
void showTick(std::FILE* err, const CountdownTick& tick, int32_t bells, bool live) {
  const char* start = live ? "\r" : "";
  if (tick.phase == CountdownPhase::kDone) {
    std::fprintf(err, "%sdone: continue now%s", start, live ? "             " : "");
  } else {
    // Tenths rounded up: "0.0" only once the phase is over.
    const long long tenths = (tick.remaining + 99) / 100;
    const bool first = tick.phase == CountdownPhase::kFirst;
    std::fprintf(err, "%sphase %d: %-8s in %5lld.%lld s", start, first ? 1 : 2, first ? "launch" : "continue",
                 tenths / 10, tenths % 10);
  }
  for (int32_t i = 0; i < bells; ++i) std::fputc('\a', err);
  if (!live || tick.phase == CountdownPhase::kDone) std::fputc('\n', err);
  std::fflush(err);
}

// The countdown read from the steady clock: woken at each cue and phase end
// and, on a terminal, every kRedrawMs between them.
int runCountdown(const TimerPlan& plan, std::FILE* err) {
  using Clock = std::chrono::steady_clock;
  const bool live = isTerminal(err);
  watchInterrupt();
  const Clock::time_point start = Clock::now();
  int64_t previous = -1;  // an end at 0 ms (an empty phase) still rings
  int rc = kExitOk;
  for (;;) {
    if (interruptRequested()) {
      std::fputs(live ? "\ninterrupted\n" : "interrupted\n", err);
      rc = kExitInterrupted;
      break;
    }
    const int64_t elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    const CountdownTick tick = countdownAt(plan, previous, elapsed);
    const int32_t bells = tick.secondCues + tick.endCues;
    if (live || bells > 0 || previous < 0) showTick(err, tick, bells, live);
    previous = elapsed;
    if (tick.phase == CountdownPhase::kDone) break;
    int64_t wake = elapsed + kRedrawMs;  // also how soon Ctrl-C is seen
    const int64_t next = nextCountdownEvent(plan, elapsed);
    if (next >= 0 && next < wake) wake = next;
    std::this_thread::sleep_until(start + std::chrono::milliseconds(wake));
  }
  unwatchInterrupt();
  return rc;
}

}  // namespace

int cmdTimer(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first,
                         {{"--at", true},
                          {"--delay", true},
                          {"--delay-calibration", true},
                          {"--second-calibration", true},
                          {"--min-first", true},
                          {"--run", false}},
                         0, args, io))
    return rc;
  if (args.help) {
    std::fputs(kTimerHelp, io.out);
    return kExitOk;
  }
  const std::string* atText = findOption(args, "--at");
  const std::string* delayText = findOption(args, "--delay");
  if (!atText) return cliError(io, "--at is required (\"YYYY-MM-DD HH:MM:SS\")");
  if (!delayText) return cliError(io, "--delay is required (frames 0..65535)");
  TimerRequest request{};
  if (!parseMomentArg(*atText, request.target)) {
    return cliError(io, "--at '%s': %s", atText->c_str(), kMomentArgExpected);
  }
  int64_t delay = 0;
  if (!parseIntStrict(*delayText, 0, kMaxCalibrationDelay, delay)) {
    return cliError(io, "--delay '%s': expected frames 0..65535", delayText->c_str());
  }
  request.target.delay = static_cast<int32_t>(delay);
  int64_t delayCalibration = 0;
  int64_t secondCalibration = 0;
  int64_t minFirst = kDefaultMinFirstPhase;
  int rc = kExitOk;
  if (!readRange(args, "--delay-calibration", kMinDelayCalibration, kMaxDelayCalibration, "frames", delayCalibration,
                 io, rc) ||
      !readRange(args, "--second-calibration", kMinSecondCalibration, kMaxSecondCalibration, "ms", secondCalibration,
                 io, rc) ||
      !readRange(args, "--min-first", 0, kMaxMinFirstPhase, "ms", minFirst, io, rc))
    return rc;
  request.delayCalibration = static_cast<int32_t>(delayCalibration);
  request.secondCalibration = static_cast<int32_t>(secondCalibration);
  request.minFirstPhase = static_cast<int32_t>(minFirst);

  TimerPlan plan{};
  switch (planTimer(request, plan)) {
    case TimerPlanOutcome::kPlanned:
      break;
    case TimerPlanOutcome::kNegativeDelay:
      std::fprintf(io.out, "no plan: delay %d with calibration %+d is %lld frames, below 0\n", request.target.delay,
                   request.delayCalibration,
                   static_cast<long long>(request.target.delay) + request.delayCalibration);
      return kExitNotFound;
    case TimerPlanOutcome::kClockTooEarly:
      std::fprintf(io.out,
                   "no plan: the clock would have to be set before 2000-01-01 00:00, the first minute it "
                   "has (aim later, or shorten --min-first)\n");
      return kExitNotFound;
    case TimerPlanOutcome::kNoTarget:  // never planTimer's: the request always has its target
    case TimerPlanOutcome::kInvalidRequest:
      return cliError(io, "the request is outside the timer's ranges");
  }
  const ConsoleMoment& c = plan.clock;
  std::fprintf(io.out, "clock %04d-%02d-%02d %02d:%02d\tlaunch +%lld ms\tcontinue +%lld ms\n", c.year, c.month,
               c.day, c.hour, c.minute, static_cast<long long>(plan.firstPhase),
               static_cast<long long>(plan.secondPhase));
  if (!hasFlag(args, "--run")) return kExitOk;
  // The plan is on the screen before the count starts; a standard output that
  // failed is reported now rather than after the countdown.
  if (std::fflush(io.out) != 0 || std::ferror(io.out)) return kExitNotFound;
  return runCountdown(plan, io.err);
}
