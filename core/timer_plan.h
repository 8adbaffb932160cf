// The timer's plan: from setting the console's clock to pressing "continue" on
// the aimed second after the aimed delay, and the countdown that follows it.
//
// The console runs kFramesPerSecond frames a second, so a delay of D frames
// lasts D * 1000 / 59.8261 ms. The player sets the clock to a date and an
// hour:minute; confirming it starts the clock's seconds at 0, and the player
// starts the timer at that instant. Phase 1 ends when the player launches the
// game, phase 2 when they press "continue": then the clock must read the
// target moment and the game must have run the target delay.
//   phase 2 = round((D + C) * 1000 / 59.8261) ms, C the delay calibration
//   T       = second * 1000 + S, S the second calibration (ms)
//   n       = the smallest whole number >= 0 with T + 60000 n - phase 2 >= M,
//             M the shortest phase 1 the player needs (ms)
//   phase 1 = T + 60000 n - phase 2
// and the clock to set is the target moment minus n minutes, at second 0.
// Plain arithmetic: no clock is read here; the countdown is driven by the
// caller's elapsed milliseconds.
#pragma once

#include <cstdint>

#include "state/app_state.h"

inline constexpr int32_t kFramesPerSecondTimes10000 = 598261;  // 59.8261 frames a second
inline constexpr int32_t kMinDelayCalibration = -9999;
inline constexpr int32_t kMaxDelayCalibration = 9999;
inline constexpr int32_t kMinSecondCalibration = -60000;  // ms
inline constexpr int32_t kMaxSecondCalibration = 60000;
inline constexpr int32_t kMaxMinFirstPhase = 600000;  // ms
inline constexpr int32_t kDefaultMinFirstPhase = 14000;

struct TimerRequest {
  ConsoleMoment target;       // the moment aimed for; its delay is D (0..65535)
  int32_t delayCalibration;   // C, frames
  int32_t secondCalibration;  // S, ms
  int32_t minFirstPhase;      // M, ms, 0..kMaxMinFirstPhase
};

struct TimerPlan {
  ConsoleMoment clock;  // the clock to set: year..minute, second 0 (delay unused, 0)
  int32_t minutesBack;  // n
  int64_t firstPhase;   // ms from confirming the clock to launching the game
  int64_t secondPhase;  // ms from launching to pressing "continue"
};

// TimerPlanOutcome is defined in state/app_state.h, which step 8 keeps it in.

// The milliseconds a delay of `frames` lasts, rounded to the nearest (halves
// away from zero). Exact: integer arithmetic on 59.8261 = 598261 / 10000.
int64_t framesToMilliseconds(int64_t frames);

// The plan of a request; `plan` is written only when the outcome is kPlanned.
TimerPlanOutcome planTimer(const TimerRequest& request, TimerPlan& plan);

// Where a running countdown stands `elapsed` ms after the timer was started,
// and which cues fell in (previous, elapsed]: a short cue at each of the last
// three whole seconds before a phase's end (3000, 2000 and 1000 ms before it,
// those within the phase) and a distinct one at its end.
// (CountdownPhase: state/app_state.h.)
inline constexpr int32_t kCueSecond = 1;  // bit: one of the last three seconds began
inline constexpr int32_t kCueEnd = 2;     // bit: a phase ended

struct CountdownTick {
  CountdownPhase phase;  // the phase running at `elapsed`
  int64_t remaining;     // ms left in that phase (0 once done)
  int32_t cues;          // kCueSecond | kCueEnd bits for (previous, elapsed]
  int32_t secondCues;    // how many second cues fell in the interval
  int32_t endCues;       // how many phase ends fell in the interval
};

CountdownTick countdownAt(const TimerPlan& plan, int64_t previous, int64_t elapsed);

// Every cue of a countdown at its start, in time order: the instant (ms after
// the start) and whether it is a phase's end. The same cues as countdownAt
// reports, except that two ends at one instant (an empty phase 2) are one cue.
inline constexpr int32_t kMaxCountdownCues = 8;  // three second cues and an end, per phase
struct CountdownCue {
  int64_t at;
  bool end;
};
int32_t listCountdownCues(const TimerPlan& plan, CountdownCue (&cues)[kMaxCountdownCues]);

// The instant (ms after the start) of the next cue or phase end after
// `elapsed`, or -1 when none is left: a waiting caller can sleep until then.
int64_t nextCountdownEvent(const TimerPlan& plan, int64_t elapsed);
