// Step 8, the timer: the plan of step 7's target with the player's
// calibrations, and the countdown to its two presses on the monotonic clock,
// with the cues and the flash at each phase's end. The countdown runs on the
// window's timer whichever screen is shown.
#include <cerrno>
#include <cstdio>

#include "core/timer_file.h"
#include "core/timer_plan.h"
#include "quillmar/texts.h"
#include "ui/platform.h"
#include "ui/screens/screen_common.h"
#include "ui/screens/screen_steps78.h"
#include "ui/shell.h"

namespace {

constexpr int32_t kDelayCalibrationEditId = 610;
constexpr int32_t kSecondCalibrationEditId = 611;
constexpr int32_t kMinFirstPhaseEditId = 612;

// The countdown's tick: a repaint at least 30 times a second, and a phase's
// end seen well within a frame (17 ms) of its instant.
constexpr int32_t kCountdownTickMilliseconds = 10;
constexpr int64_t kCountdownRepaintMilliseconds = 25;
// How long the end of a phase flashes.
constexpr int64_t kFlashMilliseconds = 400;

// Step 8 lies right of the line at x 400. The countdown: the phase, then its
// time left in large digits, inside the area that flashes black at a phase's
// end.
constexpr int32_t kStepEightLeft = kStepEightX + 10;
constexpr int32_t kFlashTop = 245;
constexpr int32_t kFlashBottom = 335;

TimerPlan planOf(const AppState& app) { return TimerPlan{app.timer.planClock, 0, app.timer.planFirstPhase, app.timer.planSecondPhase}; }

// Every cue of the countdown just started, handed to the sound at once, each
// at its instant on the monotonic clock: the backend places them on the sound
// device's own clock, where a tick of the window could only come late.
void startCues(AppState& app) {
  CountdownCue cues[kMaxCountdownCues];
  int32_t count = listCountdownCues(planOf(app), cues);
  TimedCue timed[kMaxCountdownCues];
  for (int32_t i = 0; i < count; ++i)
    timed[i] = TimedCue{cues[i].end ? CueSound::kEnd : CueSound::kSecond, app.timer.countdownStart + cues[i].at};
  platformStartCues(timed, count);
  app.timer.soundState = SoundState::kPlaying;
}

// The countdown at the monotonic clock's time: its phase and time left, the
// cues that fell since the last tick (an end outranks a second cue that fell
// in the same tick), and the flash after a phase's end. After the last end
// has flashed it stops and shows "完了".
void tickCountdown(AppState& app) {
  int64_t elapsed = platformNowMilliseconds() - app.timer.countdownStart;
  CountdownTick tick = countdownAt(planOf(app), app.timer.countdownElapsed, elapsed);
  app.timer.countdownElapsed = elapsed;
  app.timer.countdownPhase = tick.phase;
  app.timer.countdownRemaining = tick.remaining;
  if ((tick.cues & kCueEnd) != 0) app.timer.flashUntil = elapsed + kFlashMilliseconds;
  // The sound's failures are only told: the countdown keeps its time and flash.
  SoundState sound = platformSoundState();
  if (sound != app.timer.soundState) {
    app.timer.soundState = sound;
    platformInvalidate(app);
  }
  if (tick.phase == CountdownPhase::kDone && elapsed >= app.timer.flashUntil) app.timer.countdownRunning = 0;
  // The digits are repainted about 40 times a second (a whole-window repaint
  // on every 10 ms tick would keep a core busy); a cue, a phase's end and the
  // end of a flash are shown at the tick that finds them.
  bool flashEnded = app.timer.flashUntil >= 0 && app.timer.countdownPaintedAt < app.timer.flashUntil && elapsed >= app.timer.flashUntil;
  if (tick.cues != 0 || flashEnded || app.timer.countdownRunning == 0 ||
      elapsed - app.timer.countdownPaintedAt >= kCountdownRepaintMilliseconds) {
    app.timer.countdownPaintedAt = elapsed;
    platformInvalidate(app);
  }
}

// The three calibration edits. One that is not a number takes timer.txt's
// default for it, one outside its range the nearest end; either is named in
// step 8's note and its edit shows the value used, which is what the plan
// takes and timer.txt keeps.
void readTimerEdits(AppState& app) {
  char (&note)[kInputNoteBytes] = app.timer.inputNote;
  note[0] = '\0';
  const TimerSettings defaults = defaultTimerSettings();
  TimerSettings& settings = app.timer.settings;
  settings.delayCalibration = readNumberField(app, app.screen4.delayCalibrationEdit, kMinDelayCalibration, kMaxDelayCalibration,
                                              defaults.delayCalibration, texts::kTextFieldDelayCalibration, note);
  settings.secondCalibration = readNumberField(app, app.screen4.secondCalibrationEdit, kMinSecondCalibration,
                                               kMaxSecondCalibration, defaults.secondCalibration,
                                               texts::kTextFieldSecondCalibration, note);
  settings.minFirstPhase = readNumberField(app, app.screen4.minFirstPhaseEdit, 0, kMaxMinFirstPhase, defaults.minFirstPhase,
                                           texts::kTextFieldMinFirstPhase, note);
  keepTimerSettings(app);
}

// Milliseconds as seconds with three decimals through a format taking two
// long long values (the whole seconds and the milliseconds).
const char* formattedSeconds(AppState& app, const char* format, int64_t milliseconds) {
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, format, static_cast<long long>(milliseconds / 1000),
                static_cast<long long>(milliseconds % 1000));
  return app.scratch.textBuffer;
}

}  // namespace

TimerSettings loadTimerSettings(AppState& app, const char* directory) {
  TimerSettings kept = defaultTimerSettings();
  int n = std::snprintf(app.timer.timerFilePath, sizeof app.timer.timerFilePath, "%s/%s", directory, kTimerFileName);
  if (n < 0 || n >= static_cast<int>(sizeof app.timer.timerFilePath)) {
    app.timer.timerFilePath[0] = '\0';  // a folder too deep to name: nothing is kept
  } else {
    app.timer.timerFileBadLines = readTimerFile(app.timer.timerFilePath, kept).badLines;
  }
  app.timer.settings.delayCalibration = kept.delayCalibration;
  app.timer.settings.secondCalibration = kept.secondCalibration;
  app.timer.settings.minFirstPhase = kept.minFirstPhase;
  app.timer.timerFileSettings = kept;
  return kept;
}

void keepTimerSettings(AppState& app) {
  const TimerSettings& now = app.timer.settings;
  if (app.timer.timerFilePath[0] == '\0') return;
  if (now == app.timer.timerFileSettings) {
    app.timer.timerFileError = 0;  // the file holds what is shown: nothing is left unsaved
    return;
  }
  OutputResult written = writeTimerFile(app.timer.timerFilePath, now);
  app.timer.timerFileError = writeError(written);
  if (app.timer.timerFileError != 0) return;
  // Written whole: its lines that could not be read at start are gone.
  app.timer.timerFileSettings = now;
  app.timer.timerFileBadLines = 0;
}

void updatePlan(AppState& app) {
  if (app.timer.countdownRunning != 0) return;
  if (app.timer.settings.targetSet == 0) {
    app.timer.planOutcome = TimerPlanOutcome::kNoTarget;
    return;
  }
  TimerRequest request{app.timer.settings.target, app.timer.settings.delayCalibration, app.timer.settings.secondCalibration, app.timer.settings.minFirstPhase};
  TimerPlan plan{};
  TimerPlanOutcome outcome = planTimer(request, plan);
  app.timer.planOutcome = outcome;
  if (outcome != TimerPlanOutcome::kPlanned) return;
  app.timer.planClock = plan.clock;
  app.timer.planFirstPhase = plan.firstPhase;
  app.timer.planSecondPhase = plan.secondPhase;
}

void buildStepEight(AppState& app) {
  app.screen4.delayCalibrationEdit =
      createControl(app, ControlKind::kPlainEdit, kDelayCalibrationEditId, kStepEightLeft + 115, 102, 70, 22);
  setNumberText(app, app.screen4.delayCalibrationEdit, app.timer.settings.delayCalibration);
  app.screen4.secondCalibrationEdit =
      createControl(app, ControlKind::kPlainEdit, kSecondCalibrationEditId, kStepEightLeft + 115, 127, 70, 22);
  setNumberText(app, app.screen4.secondCalibrationEdit, app.timer.settings.secondCalibration);
  app.screen4.minFirstPhaseEdit =
      createControl(app, ControlKind::kPlainEdit, kMinFirstPhaseEditId, kStepEightLeft + 115, 152, 70, 22);
  setNumberText(app, app.screen4.minFirstPhaseEdit, app.timer.settings.minFirstPhase);
  app.screen4.planButton = createControl(app, ControlKind::kFramedPushButton, kCmdPlan, kStepEightLeft + 200, 152, 60, 22,
                                 texts::kTextPlanButton);
  app.screen4.timerButton = createControl(app, ControlKind::kFramedPushButton, kCmdTimer, kStepEightLeft + 5, 205, 220, 30,
                                  texts::kTextTimerButton);
  // The space bar presses the focused button: the timer's, from the start.
  platformFocusControl(app.screen4.timerButton);
}

void tearDownStepEight(AppState& app) {
  platformDestroyControl(app.screen4.delayCalibrationEdit);
  platformDestroyControl(app.screen4.secondCalibrationEdit);
  platformDestroyControl(app.screen4.minFirstPhaseEdit);
  platformDestroyControl(app.screen4.planButton);
  platformDestroyControl(app.screen4.timerButton);
}

void paintStepEight(AppState& app, PaintSurface s) {
  const int32_t x = kStepEightLeft;
  platformPaintText(s, x - 5, 5, texts::kTextStep8Title);
  if (app.timer.planOutcome == TimerPlanOutcome::kNoTarget) {
    platformPaintText(s, x, 29, texts::kTextPlanNoTarget);
  } else if (app.timer.planOutcome != TimerPlanOutcome::kPlanned) {
    platformPaintText(s, x, 29,
                      app.timer.planOutcome == TimerPlanOutcome::kNegativeDelay   ? texts::kTextPlanNegativeDelay
                      : app.timer.planOutcome == TimerPlanOutcome::kClockTooEarly ? texts::kTextPlanTooEarly
                                             : texts::kTextPlanInvalid);
  } else {
    const ConsoleMoment& c = app.timer.planClock;
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextPlanClock, c.year, c.month, c.day, c.hour,
                  c.minute);
    platformPaintText(s, x, 29, app.scratch.textBuffer);
    platformPaintText(s, x, 52, formattedSeconds(app, texts::kTextPlanFirst, app.timer.planFirstPhase));
    platformPaintText(s, x, 75, formattedSeconds(app, texts::kTextPlanSecond, app.timer.planSecondPhase));
  }
  platformPaintText(s, x, 104, texts::kTextDelayCalibration);
  platformPaintText(s, x, 129, texts::kTextSecondCalibration);
  platformPaintText(s, x, 154, texts::kTextMinFirstPhase);
  if (app.aim.matchCount > 0 && app.aim.matchSecond != 0) {
    // Half a second against each second missed, unless that leaves the
    // field's range: then no move of the second calibration is advised.
    const int32_t move = -500 * app.aim.matchSecond;
    const int32_t after = app.timer.settings.secondCalibration + move;
    if (after < kMinSecondCalibration || after > kMaxSecondCalibration) {
      std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextSecondAdviceOutOfReach,
                    app.aim.matchSecond, kMinSecondCalibration, kMaxSecondCalibration);
    } else {
      std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextSecondAdvice, app.aim.matchSecond,
                    move);
    }
    platformPaintText(s, x, 180, app.scratch.textBuffer);
  }

  bool flashing = app.timer.countdownPhase != CountdownPhase::kBeforeStart && app.timer.countdownElapsed < app.timer.flashUntil;
  if (flashing) {
    platformPaintFilledRect(s, kStepEightX + 1, kFlashTop, 790, kFlashBottom);
  } else if (app.timer.countdownPhase == CountdownPhase::kBeforeStart) {
    platformPaintText(s, x, kFlashTop + 5, texts::kTextPhaseIdle);
  } else {
    const char* label = app.timer.countdownPhase == CountdownPhase::kFirst   ? texts::kTextPhaseFirst
                        : app.timer.countdownPhase == CountdownPhase::kSecond ? texts::kTextPhaseSecond
                                                  : texts::kTextPhaseDone;
    platformPaintText(s, x, kFlashTop + 5, label);
    platformPaintLargeText(s, x, kFlashTop + 28, formattedSeconds(app, texts::kTextCountdown, app.timer.countdownRemaining));
  }
  // Why the sound stopped, as last read: a start reads "playing" again, so the
  // note goes with the countdown that finds the sound back.
  const SoundState sound = app.timer.soundState;
  const char* soundNote = sound == SoundState::kNoServer     ? texts::kTextSoundNoServer
                          : sound == SoundState::kNoStream   ? texts::kTextSoundNoStream
                          : sound == SoundState::kDeviceLost ? texts::kTextSoundLost
                                                             : nullptr;
  if (soundNote != nullptr) platformPaintText(s, x, kFlashBottom + 10, soundNote);
  int32_t noteY = kFlashBottom + 33;
  if (app.timer.inputNote[0] != '\0') {
    platformPaintText(s, x, noteY, app.timer.inputNote);
    noteY += 23;
  }
  if (app.timer.timerFileBadLines > 0) {
    platformPaintText(s, x, noteY, formatted(app, texts::kTextTimerFileBadLines, app.timer.timerFileBadLines));
    noteY += 23;
  }
  if (app.timer.timerFileError != 0) {
    formatWriteFailure(app, texts::kTextTimerFileNotWritten, app.timer.timerFileError);
    platformPaintText(s, x, noteY, app.scratch.textBuffer);
  }
}

bool correctionAppliedToThisTry(const AppState& app) {
  return app.aim.correctionApplied != 0 && app.aim.matchCount > 0 && app.aim.correctionSeed == app.aim.matchSeed &&
         app.aim.correctionTargetSeed == app.aim.targetSeed;
}

// 701 "補正を反映": the delay offset of step 7's match moves the delay
// calibration the other way, so that the next plan's phase 2 is that many
// frames shorter or longer, once per try (the match and the target): a
// second press for the same try changes nothing, and the advice says it was
// applied. The second offset is only advised (step 8 shows it); the player
// types the second calibration.
void commandApplyCorrection(AppState& app, int32_t) {
  if (app.aim.matchCount <= 0 || app.timer.countdownRunning != 0) return;
  if (correctionAppliedToThisTry(app)) {
    platformInvalidate(app);
    return;
  }
  app.aim.correctionApplied = 1;
  app.aim.correctionSeed = app.aim.matchSeed;
  app.aim.correctionTargetSeed = app.aim.targetSeed;
  const int32_t wanted = app.timer.settings.delayCalibration - app.aim.matchDelay;
  app.timer.settings.delayCalibration = clampTo(wanted, kMinDelayCalibration, kMaxDelayCalibration);
  if (wanted != app.timer.settings.delayCalibration) {
    // The correction goes only as far as the field's range, and step 8 says so.
    std::snprintf(app.timer.inputNote, sizeof app.timer.inputNote, texts::kTextFieldOutOfRange,
                  texts::kTextFieldDelayCalibration, kMinDelayCalibration, kMaxDelayCalibration,
                  app.timer.settings.delayCalibration);
  }
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", app.timer.settings.delayCalibration);
  platformSetText(app.screen4.delayCalibrationEdit, app.scratch.textBuffer);
  updatePlan(app);
  keepTimerSettings(app);
  platformInvalidate(app);
}

// 710 "計画": the calibrations are read and the plan made again.
void commandPlan(AppState& app, int32_t) {
  if (app.timer.countdownRunning != 0) return;
  readTimerEdits(app);
  updatePlan(app);
  platformInvalidate(app);
}

// 711 "スタート/ストップ": starts the countdown of a fresh plan at this
// instant (the player confirms the console's clock at the same moment), or
// stops a running one and goes back to the plan.
void commandTimer(AppState& app, int32_t) {
  if (app.timer.countdownRunning != 0) {
    app.timer.countdownRunning = 0;
    app.timer.countdownPhase = CountdownPhase::kBeforeStart;
    platformStopCues();
  } else {
    readTimerEdits(app);
    updatePlan(app);
    if (app.timer.planOutcome != TimerPlanOutcome::kPlanned) {
      platformInvalidate(app);
      return;
    }
    app.timer.countdownRunning = 1;
    app.timer.countdownStart = platformNowMilliseconds();
    app.timer.countdownElapsed = -1;  // so that an end at the very start (an empty phase) still flashes
    app.timer.countdownPaintedAt = -1;
    app.timer.countdownPhase = CountdownPhase::kFirst;
    app.timer.countdownRemaining = app.timer.planFirstPhase;
    app.timer.flashUntil = -1;
    startCues(app);
  }
  shellRefreshTimer(app);
  platformFocusControl(app.screen4.timerButton);
  platformInvalidate(app);
}

int32_t countdownTickPeriod(const AppState& app) { return app.timer.countdownRunning != 0 ? kCountdownTickMilliseconds : 0; }

void countdownTick(AppState& app) {
  if (app.timer.countdownRunning != 0) tickCountdown(app);
}

void countdownClose(AppState& app) {
  if (app.timer.countdownRunning != 0) platformStopCues();
  app.timer.countdownRunning = 0;
}
