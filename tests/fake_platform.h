// A platform backend for the tests: it keeps every control in memory, records
// what is read, painted, invalidated and opened, and runs a modal dialog from
// a script instead of a person.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "state/app_state.h"
#include "ui/platform.h"

struct FakeControl {
  ControlKind kind;
  int32_t id;
  ControlRect rect;
  std::string text;               // CP932
  std::vector<std::string> rows;  // drop-down list rows, CP932
  int32_t selected = -1;
  bool checked = false;
  bool alive = true;
  bool dialogItem = false;
  bool enabled = true;
};

struct PaintOp {
  enum class Kind : int32_t { kFrame, kText, kLine, kLargeText, kFilledRect };
  Kind kind;
  int32_t x0;
  int32_t y0;
  int32_t x1;  // right / end point; unused for text
  int32_t y1;
  std::string text;  // CP932, text only
  bool operator==(const PaintOp&) const = default;
};

struct FakePlatform {
  std::vector<FakeControl> controls;  // handle h is controls[h - 1]; handles are never reused
  std::vector<ControlHandle> reads;   // every platformGetText, in order
  int invalidations = 0;
  int destroyCallsOnCleared = 0;  // platformDestroyControl with a handle already 0
  std::vector<std::string> openedDocuments;
  int32_t timerPeriod = 0;  // milliseconds while the timer runs, 0 while stopped
  std::vector<PaintOp> paint;
  int64_t now = 0;                     // platformNowMilliseconds: the tests move it by hand
  std::vector<std::vector<TimedCue>> cueStarts;  // the cues of every platformStartCues, in order
  int cueStops = 0;                              // platformStopCues calls
  SoundState soundState = SoundState::kIdle;     // what platformSoundState answers
  ControlHandle focused = 0;

  // The modal dialog: `dialogInput` runs after the init handler (it plays the
  // person typing); then the dialog ends with `dialogOutcome`.
  std::function<void(AppState&, ControlHandle dialog)> dialogInput;
  DialogOutcome dialogOutcome = DialogOutcome::kCancel;
  int dialogsRun = 0;
  const DialogTemplate* dialogTemplate = nullptr;
};

FakePlatform& fake();
void fakeReset();
FakeControl& fakeControl(ControlHandle handle);

// The live controls (dialog items excluded), in creation order.
std::vector<ControlHandle> fakeLiveControls();
// The first live control with this id, 0 when none.
ControlHandle fakeFindLive(int32_t id);
// Replaces a control's text as if typed (UTF-8 in, CP932 stored).
void fakeType(ControlHandle handle, const std::string& utf8);
// Runs the paint handler and returns what it drew.
std::vector<PaintOp> fakePaint(AppState& app);
