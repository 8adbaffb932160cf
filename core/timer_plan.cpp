#include "core/timer_plan.h"

#include "core/calibration.h"
#include "core/seed_time.h"

namespace {

constexpr int64_t kMinute = 60000;

// The instants of a phase's cues: its end minus 3000, 2000 and 1000 ms (those
// after its start), then its end. `count` of them are written to out[].
int32_t phaseEvents(int64_t start, int64_t end, int64_t (&out)[4], bool (&isEnd)[4]) {
  int32_t count = 0;
  for (int64_t before = 3000; before >= 1000; before -= 1000) {
    if (end - before > start) {
      out[count] = end - before;
      isEnd[count++] = false;
    }
  }
  out[count] = end;
  isEnd[count++] = true;
  return count;
}

}  // namespace

int64_t framesToMilliseconds(int64_t frames) {
  // frames * 1000 / (598261 / 10000), rounded half away from zero.
  const int64_t numerator = frames * 10000000;
  const int64_t magnitude = (2 * (numerator < 0 ? -numerator : numerator) + kFramesPerSecondTimes10000) /
                            (2 * static_cast<int64_t>(kFramesPerSecondTimes10000));
  return numerator < 0 ? -magnitude : magnitude;
}

TimerPlanOutcome planTimer(const TimerRequest& request, TimerPlan& plan) {
  const ConsoleMoment& target = request.target;
  if (!isValidMoment(target) || target.delay > kMaxCalibrationDelay) return TimerPlanOutcome::kInvalidRequest;
  if (request.delayCalibration < kMinDelayCalibration || request.delayCalibration > kMaxDelayCalibration ||
      request.secondCalibration < kMinSecondCalibration || request.secondCalibration > kMaxSecondCalibration ||
      request.minFirstPhase < 0 || request.minFirstPhase > kMaxMinFirstPhase)
    return TimerPlanOutcome::kInvalidRequest;
  const int64_t frames = static_cast<int64_t>(target.delay) + request.delayCalibration;
  if (frames < 0) return TimerPlanOutcome::kNegativeDelay;
  const int64_t second = framesToMilliseconds(frames);
  const int64_t t = static_cast<int64_t>(target.second) * 1000 + request.secondCalibration;
  // The smallest n >= 0 with t + 60000 n - second >= M.
  const int64_t shortfall = request.minFirstPhase + second - t;
  const int64_t n = shortfall <= 0 ? 0 : (shortfall + kMinute - 1) / kMinute;
  ConsoleMoment atMinute = target;
  atMinute.second = 0;
  atMinute.delay = 0;
  ConsoleMoment clock{};
  if (!shiftMoment(atMinute, static_cast<int32_t>(-60 * n), clock)) return TimerPlanOutcome::kClockTooEarly;
  plan.clock = clock;
  plan.minutesBack = static_cast<int32_t>(n);
  plan.firstPhase = t + kMinute * n - second;
  plan.secondPhase = second;
  return TimerPlanOutcome::kPlanned;
}

CountdownTick countdownAt(const TimerPlan& plan, int64_t previous, int64_t elapsed) {
  CountdownTick tick{CountdownPhase::kDone, 0, 0, 0, 0};
  const int64_t firstEnd = plan.firstPhase;
  const int64_t secondEnd = plan.firstPhase + plan.secondPhase;
  if (elapsed < firstEnd) {
    tick.phase = CountdownPhase::kFirst;
    tick.remaining = firstEnd - elapsed;
  } else if (elapsed < secondEnd) {
    tick.phase = CountdownPhase::kSecond;
    tick.remaining = secondEnd - elapsed;
  }
  int64_t events[4];
  bool isEnd[4];
  const int64_t bounds[2][2] = {{0, firstEnd}, {firstEnd, secondEnd}};
  for (const auto& bound : bounds) {
    int32_t count = phaseEvents(bound[0], bound[1], events, isEnd);
    for (int32_t i = 0; i < count; ++i) {
      if (events[i] <= previous || events[i] > elapsed) continue;
      if (isEnd[i]) {
        ++tick.endCues;
        tick.cues |= kCueEnd;
      } else {
        ++tick.secondCues;
        tick.cues |= kCueSecond;
      }
    }
  }
  return tick;
}

int64_t nextCountdownEvent(const TimerPlan& plan, int64_t elapsed) {
  int64_t events[4];
  bool isEnd[4];
  const int64_t firstEnd = plan.firstPhase;
  const int64_t bounds[2][2] = {{0, firstEnd}, {firstEnd, firstEnd + plan.secondPhase}};
  for (const auto& bound : bounds) {
    int32_t count = phaseEvents(bound[0], bound[1], events, isEnd);
    for (int32_t i = 0; i < count; ++i)
      if (events[i] > elapsed) return events[i];
  }
  return -1;
}

int32_t listCountdownCues(const TimerPlan& plan, CountdownCue (&cues)[kMaxCountdownCues]) {
  int64_t events[4];
  bool isEnd[4];
  const int64_t firstEnd = plan.firstPhase;
  const int64_t bounds[2][2] = {{0, firstEnd}, {firstEnd, firstEnd + plan.secondPhase}};
  int32_t count = 0;
  for (const auto& bound : bounds) {
    int32_t n = phaseEvents(bound[0], bound[1], events, isEnd);
    for (int32_t i = 0; i < n; ++i) {
      if (count > 0 && cues[count - 1].at == events[i]) continue;
      cues[count++] = CountdownCue{events[i], isEnd[i]};
    }
  }
  return count;
}
