#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/timer_plan.h"

namespace {

// The model: phase 2 through floating point, n found by adding whole minutes
// until phase 1 is long enough, and the clock carried back one calendar minute
// at a time with its own month lengths (2000..2099: every fourth year is a leap
// year, 2000 included).
int modelMonthDays(int year, int month) {
  if (month == 2) return year % 4 == 0 ? 29 : 28;
  return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

void minuteBack(ConsoleMoment& m) {
  if (--m.minute >= 0) return;
  m.minute = 59;
  if (--m.hour >= 0) return;
  m.hour = 23;
  if (--m.day >= 1) return;
  if (--m.month < 1) {
    m.month = 12;
    --m.year;
  }
  m.day = modelMonthDays(m.year, m.month);
}

// round(frames * 1000 / 59.8261), halves away from zero. 598261 is prime, so
// no |frames| below it lands on a half: the check proves double rounding safe.
int64_t modelMilliseconds(int64_t frames) {
  const double ms = static_cast<double>(frames) * 1000.0 / 59.8261;
  const double fraction = std::fabs(ms - std::trunc(ms));
  EXPECT_GT(std::fabs(fraction - 0.5), 1e-7) << frames << " frames fall too near a half";
  return static_cast<int64_t>(std::round(ms));
}

TimerPlanOutcome modelPlan(const TimerRequest& r, TimerPlan& plan) {
  const int64_t frames = int64_t{r.target.delay} + r.delayCalibration;
  if (frames < 0) return TimerPlanOutcome::kNegativeDelay;
  const int64_t second = modelMilliseconds(frames);
  const int64_t t = int64_t{r.target.second} * 1000 + r.secondCalibration;
  int64_t n = 0;
  while (t + 60000 * n - second < r.minFirstPhase) ++n;
  ConsoleMoment clock = r.target;
  clock.second = 0;
  clock.delay = 0;
  for (int64_t i = 0; i < n; ++i) minuteBack(clock);
  if (clock.year < 2000) return TimerPlanOutcome::kClockTooEarly;
  plan = TimerPlan{clock, static_cast<int32_t>(n), t + 60000 * n - second, second};
  return TimerPlanOutcome::kPlanned;
}

bool sameMoment(const ConsoleMoment& a, const ConsoleMoment& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second && a.delay == b.delay;
}

TEST(TimerPlan, MillisecondsOfEveryDelayMatchTheFloatingRoute) {
  for (int64_t frames = -80000; frames <= 80000; ++frames) {
    ASSERT_EQ(framesToMilliseconds(frames), modelMilliseconds(frames)) << frames;
  }
}

TEST(TimerPlan, RandomRequestsMatchAMinuteWalk) {
  std::mt19937_64 rng(22);
  auto pick = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
  int hourCarries = 0, dayCarries = 0, monthCarries = 0, yearCarries = 0, leapDays = 0, tooEarly = 0, negative = 0;
  for (int i = 0; i < 20000; ++i) {
    TimerRequest r{};
    ConsoleMoment& m = r.target;
    // A third anywhere; a third in the first minutes of a month's first day
    // (the carries); a third in the clock's first minutes (the no-plan edge).
    const int kind = i % 3;
    m.year = kind == 2 ? 2000 : static_cast<int32_t>(pick(2000, 2099));
    m.month = kind == 2 ? 1 : static_cast<int32_t>(pick(1, 12));
    m.day = kind == 0 ? static_cast<int32_t>(pick(1, modelMonthDays(m.year, m.month))) : 1;
    m.hour = kind == 0 ? static_cast<int32_t>(pick(0, 23)) : 0;
    m.minute = static_cast<int32_t>(kind == 0 ? pick(0, 59) : pick(0, 30));
    m.second = static_cast<int32_t>(pick(0, 59));
    m.delay = static_cast<int32_t>(pick(0, 1) ? pick(0, 3000) : pick(0, 65535));
    r.delayCalibration =
        static_cast<int32_t>(pick(0, 1) ? pick(-50, 50) : pick(kMinDelayCalibration, kMaxDelayCalibration));
    r.secondCalibration =
        static_cast<int32_t>(pick(0, 1) ? pick(-1500, 1500) : pick(kMinSecondCalibration, kMaxSecondCalibration));
    r.minFirstPhase = static_cast<int32_t>(pick(0, 1) ? kDefaultMinFirstPhase : pick(0, kMaxMinFirstPhase));

    TimerPlan expected{};
    const TimerPlanOutcome want = modelPlan(r, expected);
    const TimerPlan untouched{{1999, 1, 1, 1, 1, 1, 1}, -7, -7, -7};
    TimerPlan got = untouched;
    const TimerPlanOutcome outcome = planTimer(r, got);
    ASSERT_EQ(outcome, want) << "case " << i;
    if (want != TimerPlanOutcome::kPlanned) {
      EXPECT_EQ(got.minutesBack, -7) << "case " << i << ": a failed plan must leave the plan alone";
      tooEarly += want == TimerPlanOutcome::kClockTooEarly;
      negative += want == TimerPlanOutcome::kNegativeDelay;
      continue;
    }
    ASSERT_TRUE(sameMoment(got.clock, expected.clock))
        << "case " << i << ": " << got.clock.year << "-" << got.clock.month << "-" << got.clock.day << " "
        << got.clock.hour << ":" << got.clock.minute;
    ASSERT_EQ(got.minutesBack, expected.minutesBack) << "case " << i;
    ASSERT_EQ(got.firstPhase, expected.firstPhase) << "case " << i;
    ASSERT_EQ(got.secondPhase, expected.secondPhase) << "case " << i;
    hourCarries += got.clock.hour != m.hour;
    dayCarries += got.clock.day != m.day;
    monthCarries += got.clock.month != m.month;
    yearCarries += got.clock.year != m.year;
    leapDays += got.clock.month == 2 && got.clock.day == 29 && m.month == 3;
  }
  // Every edge was crossed many times.
  EXPECT_GT(hourCarries, 1000);
  EXPECT_GT(dayCarries, 1000);
  EXPECT_GT(monthCarries, 1000);
  EXPECT_GT(yearCarries, 100);
  EXPECT_GT(leapDays, 10);
  EXPECT_GT(tooEarly, 1000);
  EXPECT_GT(negative, 100);
}

TEST(TimerPlan, WorkedPlansAndRequestsWithoutOne) {
  TimerPlan plan{};
  // 370 frames = 370000 / 59.8261 = 6184.59 ms -> 6185; 59000 - 6185 = 52815
  // is past 14 s, so the clock is set to the target's own minute.
  ASSERT_EQ(planTimer({{2026, 4, 27, 2, 58, 59, 370}, 0, 0, 14000}, plan), TimerPlanOutcome::kPlanned);
  EXPECT_TRUE(sameMoment(plan.clock, {2026, 4, 27, 2, 58, 0, 0}));
  EXPECT_EQ(plan.firstPhase, 52815);
  EXPECT_EQ(plan.secondPhase, 6185);
  // 600 frames = 10029.06 ms; 10 s - 10029 ms < 14 s: one minute back, over
  // the leap day: 70000 - 10029 = 59971.
  ASSERT_EQ(planTimer({{2024, 3, 1, 0, 0, 10, 600}, 0, 0, 14000}, plan), TimerPlanOutcome::kPlanned);
  EXPECT_TRUE(sameMoment(plan.clock, {2024, 2, 29, 23, 59, 0, 0}));
  EXPECT_EQ(plan.firstPhase, 59971);
  // Delay 400 - 30 = 370 frames, second 30 - 2.5 = 27.5 s: 27500 - 6185.
  ASSERT_EQ(planTimer({{2030, 1, 1, 0, 0, 30, 400}, -30, -2500, 0}, plan), TimerPlanOutcome::kPlanned);
  EXPECT_EQ(plan.firstPhase, 21315);
  EXPECT_EQ(plan.secondPhase, 6185);
  EXPECT_TRUE(sameMoment(plan.clock, {2030, 1, 1, 0, 0, 0, 0}));

  // The first minute of the clock: 2000-01-01 00:01:05, no delay. M = 5000
  // fits in the target's own minute, M = 5001 needs 00:00, M = 65001 would
  // need 1999-12-31 23:59.
  ASSERT_EQ(planTimer({{2000, 1, 1, 0, 1, 5, 0}, 0, 0, 5000}, plan), TimerPlanOutcome::kPlanned);
  EXPECT_EQ(plan.clock.minute, 1);
  EXPECT_EQ(plan.firstPhase, 5000);
  EXPECT_EQ(plan.secondPhase, 0);
  ASSERT_EQ(planTimer({{2000, 1, 1, 0, 1, 5, 0}, 0, 0, 5001}, plan), TimerPlanOutcome::kPlanned);
  EXPECT_TRUE(sameMoment(plan.clock, {2000, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(plan.firstPhase, 65000);
  EXPECT_EQ(planTimer({{2000, 1, 1, 0, 1, 5, 0}, 0, 0, 65000}, plan), TimerPlanOutcome::kPlanned);
  EXPECT_EQ(planTimer({{2000, 1, 1, 0, 1, 5, 0}, 0, 0, 65001}, plan), TimerPlanOutcome::kClockTooEarly);

  EXPECT_EQ(planTimer({{2026, 4, 27, 2, 58, 59, 10}, -10, 0, 0}, plan), TimerPlanOutcome::kPlanned);
  EXPECT_EQ(planTimer({{2026, 4, 27, 2, 58, 59, 10}, -11, 0, 0}, plan), TimerPlanOutcome::kNegativeDelay);
  const TimerRequest invalid[] = {
      {{2026, 2, 29, 0, 0, 0, 0}, 0, 0, 0},    {{2100, 1, 1, 0, 0, 0, 0}, 0, 0, 0},
      {{2026, 1, 1, 24, 0, 0, 0}, 0, 0, 0},    {{2026, 1, 1, 0, 0, 60, 0}, 0, 0, 0},
      {{2026, 1, 1, 0, 0, 0, -1}, 0, 0, 0},    {{2026, 1, 1, 0, 0, 0, 65536}, 0, 0, 0},
      {{2026, 1, 1, 0, 0, 0, 0}, 10000, 0, 0}, {{2026, 1, 1, 0, 0, 0, 0}, -10000, 0, 0},
      {{2026, 1, 1, 0, 0, 0, 0}, 0, 60001, 0}, {{2026, 1, 1, 0, 0, 0, 0}, 0, -60001, 0},
      {{2026, 1, 1, 0, 0, 0, 0}, 0, 0, -1},    {{2026, 1, 1, 0, 0, 0, 0}, 0, 0, 600001},
  };
  for (const TimerRequest& r : invalid) {
    EXPECT_EQ(planTimer(r, plan), TimerPlanOutcome::kInvalidRequest)
        << r.target.year << "-" << r.target.month << "-" << r.target.day << " " << r.target.hour << ":"
        << r.target.second << " d" << r.target.delay << " C" << r.delayCalibration << " S" << r.secondCalibration
        << " M" << r.minFirstPhase;
  }
}

// The countdown's model: every millisecond of the run looked at in turn. A
// phase's end is an event; so is each instant inside a phase that lies exactly
// 1, 2 or 3 whole seconds before its end.
struct ModelEvent {
  int64_t at;
  bool end;
};

std::vector<ModelEvent> modelEvents(int64_t first, int64_t second) {
  std::vector<ModelEvent> events;
  const int64_t ends[2] = {first, first + second};
  const int64_t starts[2] = {0, first};
  for (int64_t t = 0; t <= ends[1]; ++t) {
    for (int p = 0; p < 2; ++p) {
      const int64_t left = ends[p] - t;
      if (t > starts[p] && (left == 1000 || left == 2000 || left == 3000)) events.push_back({t, false});
      if (left == 0) events.push_back({t, true});
    }
  }
  return events;
}

TEST(TimerCountdown, RandomTickSequencesSumToTheModelsCues) {
  std::mt19937_64 rng(8);
  auto pick = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
  const int64_t special[] = {0, 1, 999, 1000, 1001, 2000, 3000, 3001, 4000};
  for (int i = 0; i < 2000; ++i) {
    TimerPlan plan{};
    plan.firstPhase = i < 81 ? special[i % 9] : pick(0, 12000);
    plan.secondPhase = i < 81 ? special[i / 9] : pick(0, 12000);
    const int64_t firstEnd = plan.firstPhase;
    const int64_t secondEnd = plan.firstPhase + plan.secondPhase;
    const std::vector<ModelEvent> events = modelEvents(plan.firstPhase, plan.secondPhase);

    // Ticks from before the start (the first one counts an end at 0) to past
    // the end, some of them repeating an instant and some longer than a second.
    int64_t previous = -1;
    int sumSecond = 0, sumEnd = 0;
    while (previous <= secondEnd + 500) {
      const int64_t elapsed = previous + (pick(0, 9) == 0 ? pick(0, 3500) : pick(0, 120));
      const CountdownTick tick = countdownAt(plan, previous, elapsed);
      int wantSecond = 0, wantEnd = 0;
      for (const ModelEvent& e : events)
        if (e.at > previous && e.at <= elapsed) ++(e.end ? wantEnd : wantSecond);
      ASSERT_EQ(tick.secondCues, wantSecond) << "plan " << i << " at " << elapsed;
      ASSERT_EQ(tick.endCues, wantEnd) << "plan " << i << " at " << elapsed;
      ASSERT_EQ(tick.cues, (wantSecond ? kCueSecond : 0) | (wantEnd ? kCueEnd : 0));
      const CountdownPhase phase = elapsed < firstEnd    ? CountdownPhase::kFirst
                                   : elapsed < secondEnd ? CountdownPhase::kSecond
                                                         : CountdownPhase::kDone;
      ASSERT_EQ(tick.phase, phase) << "plan " << i << " at " << elapsed;
      ASSERT_EQ(tick.remaining, phase == CountdownPhase::kFirst    ? firstEnd - elapsed
                                : phase == CountdownPhase::kSecond ? secondEnd - elapsed
                                                                   : 0);
      sumSecond += tick.secondCues;
      sumEnd += tick.endCues;
      previous = elapsed;
    }
    // Each phase: one end and a cue for each whole second of 1..3 that it outlasts.
    auto cuesOf = [](int64_t length) { return (length > 1000) + (length > 2000) + (length > 3000); };
    EXPECT_EQ(sumEnd, 2);
    EXPECT_EQ(sumSecond, cuesOf(plan.firstPhase) + cuesOf(plan.secondPhase))
        << plan.firstPhase << " " << plan.secondPhase;

    // The list handed to the sound at the start: the model's events in order,
    // two at one instant (an empty phase 2's end on phase 1's) heard as one end.
    std::vector<ModelEvent> heard;
    for (const ModelEvent& e : events) {
      if (!heard.empty() && heard.back().at == e.at) {
        heard.back().end = heard.back().end || e.end;
      } else {
        heard.push_back(e);
      }
    }
    CountdownCue cues[kMaxCountdownCues];
    ASSERT_EQ(listCountdownCues(plan, cues), static_cast<int32_t>(heard.size())) << "plan " << i;
    for (std::size_t k = 0; k < heard.size(); ++k) {
      ASSERT_EQ(cues[k].at, heard[k].at) << "plan " << i << " cue " << k;
      ASSERT_EQ(cues[k].end, heard[k].end) << "plan " << i << " cue " << k;
    }

    for (int k = 0; k < 20; ++k) {
      const int64_t at = pick(-5, secondEnd + 5);
      int64_t want = -1;
      for (const ModelEvent& e : events) {
        if (e.at > at) {
          want = e.at;
          break;
        }
      }
      ASSERT_EQ(nextCountdownEvent(plan, at), want) << "plan " << i << " after " << at;
    }
  }
}

}  // namespace
