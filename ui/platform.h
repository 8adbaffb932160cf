// The seam between the window's behaviour (shell, screens, IV dialog: written
// once) and the one platform backend linked into a build (ui/qt/ on Linux,
// ui/win32/ on Windows, tests/fake_platform.cpp in the tests). The backend
// implements every platform* function below as plain functions; it calls the
// shell back through ui/shell.h (start-up, clicks and menu choices, painting)
// and through the two dialog handlers it is given.
//
// Every text crossing the seam is a NUL-terminated CP932 byte string. Control
// handles are opaque ControlHandle values (0 = no control); positions are
// client-area pixels of the main window, origin top left.
#pragma once

#include <cstdint>

#include "state/app_state.h"
#include "ui/resources/templates.h"

// The kinds of child control the screens use.
enum class ControlKind : int32_t {
  kTabStopEdit,       // a framed one-line edit, reached with the Tab key
  kPlainEdit,         // a framed one-line edit, reached only by clicking it
  kPushButton,
  kFramedPushButton,  // a push button inside a one-pixel black frame
  kCheckBox,          // ticks and unticks itself when clicked
  kDropDownList,      // a list that drops down; its rectangle's height includes the dropped list
};

struct ControlRect {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

// Where paintScreen draws: the backend's drawing context, opaque to the shell.
using PaintSurface = std::intptr_t;

// Creates a child control of AppState.mainWindow. `caption` is the initial text
// (button and check-box caption, edit text; ignored for a drop-down list).
// Clicking a button or check box hands its id to shellCommand; typing into an
// edit or choosing a list row hands the shell nothing. Returns 0 when the
// control cannot be created.
ControlHandle platformCreateControl(const AppState& app, ControlKind kind, int32_t id, ControlRect rect,
                                    const char* caption);

// Destroys the control and clears `handle` to 0. A handle that is already 0 is
// left alone, so destroying twice can never reach another control.
void platformDestroyControl(ControlHandle& handle);

// Replaces the control's text. Nothing happens for handle 0.
void platformSetText(ControlHandle handle, const char* text);

// Copies at most n - 1 bytes of the control's text into `buffer` and ends it
// with a NUL; a double-byte character that does not fit whole is left out.
// Handle 0 gives the empty text. Returns the number of bytes copied. n >= 1.
int32_t platformGetText(ControlHandle handle, char* buffer, int32_t n);

// Drop-down lists: append a row; select a row; the selected row, -1 for none.
void platformAddListRow(ControlHandle handle, const char* text);
void platformSelectListRow(ControlHandle handle, int32_t row);
int32_t platformSelectedListRow(ControlHandle handle);

// Check boxes: whether it is ticked (false for handle 0); ticks or unticks it
// (nothing for handle 0) without reporting a click to the shell.
bool platformIsChecked(ControlHandle handle);
void platformSetChecked(ControlHandle handle, bool checked);

// Asks for the whole client area of AppState.mainWindow to be repainted,
// without erasing the background first; the backend then calls shellPaint.
void platformInvalidate(const AppState& app);

// Paint primitives, valid only inside shellPaint.
// The rectangle (left, top)-(right, bottom), right and bottom edges excluded,
// with a one-pixel black pen and a white brush: with (-1, -1)-(801, 601) the
// client area becomes white and the frame falls outside it.
void platformPaintFrameRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Black text on white in the window's one font, its top-left corner at (x, y).
void platformPaintText(PaintSurface surface, int32_t x, int32_t y, const char* text);
// A one-pixel black line from (x0, y0) to (x1, y1).
void platformPaintLine(PaintSurface surface, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Large black digits on white (the timer's countdown, readable at a glance
// from the console), their top-left corner at (x, y); about 48 px high.
void platformPaintLargeText(PaintSurface surface, int32_t x, int32_t y, const char* text);
// The rectangle (left, top)-(right, bottom), right and bottom edges excluded,
// filled black: the timer's flash at a phase's end.
void platformPaintFilledRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom);

// How a modal dialog ended: kOk by its OK button or Enter; kCancel by its
// cancel button, Escape or the close box.
enum class DialogOutcome : int32_t { kOk, kCancel };

// A modal dialog's behaviour, supplied by the shell side. The init handler runs
// once the items exist (before the dialog is shown); the end handler runs once,
// with the outcome, while the items still exist; then the dialog closes.
using DialogInitHandler = void (*)(AppState& app, ControlHandle dialog);
using DialogEndHandler = void (*)(AppState& app, DialogOutcome outcome);

// Shows the dialog described by `dialogTemplate` modally over the main window,
// and returns when it has ended.
void platformRunModalDialog(AppState& app, const DialogTemplate& dialogTemplate, DialogInitHandler onInit,
                            DialogEndHandler onEnd);

// The handle of the edit with `id` in an open dialog (0 when there is none).
// Item handles take the same text operations as controls.
ControlHandle platformDialogItem(ControlHandle dialog, int32_t id);

// A repeating tick of the main window, for work that runs off the window's
// thread: after platformStartTimer the backend calls shellTimer (ui/shell.h)
// on the window's thread about every `milliseconds` ms (at least 1), from its
// event loop, until platformStopTimer. Painting and input go on between
// ticks. A modal dialog's nested loop delivers ticks too, inside the
// shellCommand that opened it: the shell then leaves what must not run inside
// another shell call (taking in a finished search) to the first tick after
// that command. Starting a running timer only changes its period; stopping a
// stopped one does nothing.
void platformStartTimer(const AppState& app, int32_t milliseconds);
void platformStopTimer(const AppState& app);

// Milliseconds on a monotonic clock (never set back, not the time of day),
// from an arbitrary origin. The timer reads time here instead of counting
// ticks, which drift; the sound backend places the countdown's cues on it.
int64_t platformNowMilliseconds();

// The timer's sounds: a short one for each of the last three seconds of a
// phase (1760 Hz, 60 ms) and a distinct one at its end (880 Hz, 300 ms).
enum class CueSound : int32_t { kSecond, kEnd };

// One cue of a countdown, at an instant of platformNowMilliseconds' clock.
struct TimedCue {
  CueSound cue;
  int64_t at;
};
inline constexpr int32_t kMaxTimedCues = 64;

// Hands all of a countdown's cues (at most kMaxTimedCues; more are left out)
// to the backend at its start, replacing every cue not yet begun, and returns
// at once: no call that can wait on the sound server runs on the caller's
// thread. The backend keeps one output stream open while cues remain, fed
// with silence between them, and writes each cue's first sample at the
// stream position that the stream's own clock says will be *heard* at the
// cue's instant (its stated output latency taken off), the mapping taken
// afresh at every write, so that the device clock's drift never adds up.
// A cue whose instant has passed by more than kMaxCueLateness ms when it is
// written is left out; a cue that begins while another sounds cuts it.
inline constexpr int64_t kMaxCueLateness = 100;
void platformStartCues(const TimedCue* cues, int32_t count);
// Cancels every cue not yet begun (a stop); a cue already sounding ends as
// written. Returns at once.
void platformStopCues();

// What became of the sound since the last platformStartCues, read on the
// window's tick; never waits. A failure stays until the next
// platformStartCues, which tries again from scratch (a new connection and a
// new stream); the countdown itself never depends on it.
// (SoundState: state/app_state.h.)
SoundState platformSoundState();

// Greys a control out (it takes no input and hands the shell nothing) or
// makes it usable again. Nothing happens for handle 0.
void platformEnableControl(ControlHandle handle, bool enabled);

// Gives the keyboard focus to a control (the timer's start button, so that
// the space bar presses it). Nothing happens for handle 0.
void platformFocusControl(ControlHandle handle);

// Hands a document in the working directory to the desktop's default program.
// Where there is none, nothing happens; the outcome is not reported.
void platformOpenDocument(const char* path);
