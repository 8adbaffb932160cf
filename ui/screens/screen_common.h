// What the screens share: reading and filling controls, the filter lists of
// steps 4 and 5, the year the console most likely shows, and the player's
// words for a file that could not be written. Everything here works through
// AppState.scratch.textBuffer and the platform seam only.
#pragma once

#include <cstdint>

#include "data/output_file.h"
#include "state/app_state.h"
#include "ui/platform.h"

// The largest delay a player can type (steps 5 and 7): the 16-bit part of a
// seed it adds to.
inline constexpr int32_t kLargestDelay = 65535;

// A control of the main window at (x, y), w x h.
ControlHandle createControl(const AppState& app, ControlKind kind, int32_t id, int32_t x, int32_t y, int32_t w,
                            int32_t h, const char* caption = "");

// The control's text, read through AppState.scratch.textBuffer with buffer length n.
const char* readControl(AppState& app, ControlHandle handle, int32_t n);

// The edit shows `value` as "%d".
void setNumberText(AppState& app, ControlHandle handle, int32_t value);

// `value` taken at the nearest end of low..high.
int32_t clampTo(int32_t value, int32_t low, int32_t high);

// The year the console's clock most likely shows: this year on the computer's
// clock, kept within the clock's 2000..2099.
int32_t thisYear();

// A filter list read as its option: no selection reads as option 0, "指定しない".
int32_t selectedOption(ControlHandle combo);

// `value` formatted by `format` into AppState.scratch.textBuffer.
const char* formatted(AppState& app, const char* format, int32_t value);

// The 25 nature names as the rows of a drop-down list.
void fillNatureCombo(AppState& app, ControlHandle combo);

// The nature, gender and ability filters of steps 4 and 5, with ids firstId,
// firstId + 1 and firstId + 2, each with its option 0 "指定しない" selected.
// A number field read strictly: an empty field takes `fallback`; a text that
// is not a whole number is named in `note` and `fallback` used; a number
// outside lo..hi is named and the nearest end used. Either way the field then
// shows the value used. The whole text is read, however wide the field, so a
// number typed too long is named, never cut to fit. A reading's first problem
// stays in `note`, which the caller empties before reading its step's fields.
int32_t readNumberField(AppState& app, ControlHandle edit, int32_t low, int32_t high, int32_t fallback,
                        const char* label, char (&note)[kInputNoteBytes]);
// A seed field: false, with a note and nothing used, when the text is not a
// seed ("0x" and 1..8 hex digits, or decimal 0..4294967295). The note takes
// the place of any earlier field's: nothing is done without the seed.
bool readSeedField(AppState& app, ControlHandle edit, const char* label, char (&note)[kInputNoteBytes], uint32_t& seed);
// A delay range from two fields (0..65535, defaults 300 and 9999 as the
// searches start them), turned round when typed the wrong way round.
void readDelayFields(AppState& app, ControlHandle lowEdit, ControlHandle highEdit, char (&note)[kInputNoteBytes],
                     int32_t& low, int32_t& high);
// A year field: 2000..2099, this year when empty.
int32_t readYearField(AppState& app, ControlHandle edit, char (&note)[kInputNoteBytes]);
// Whether an edit holds anything but spaces.
bool fieldTypedIn(ControlHandle edit);
// The label "row stat" ("親A H") of a stat's field in a row of six, in `out`.
const char* statFieldLabel(char (&out)[32], const char* row, int32_t stat);

// A screen's inputs kept over its tear-down and shown again at its next
// build, in the same order: an edit's text, a list's row or a box's tick.
struct ScreenInput {
  ControlHandle* handle;
  ControlKind kind;  // kPlainEdit, kDropDownList or kCheckBox
};
void keepInputs(KeptInputs& kept, const AppState& app, const ScreenInput* inputs, int32_t count);
// False, changing nothing, when nothing was kept. The IDs' edits are left as
// the build set them when the IDs last used changed since they were kept.
bool restoreInputs(const KeptInputs& kept, const AppState& app, const ScreenInput* inputs, int32_t count,
                   ControlHandle tidEdit, ControlHandle sidEdit);

// Step 4's and step 5's "かわらずのいし" tick and the list of the nature it
// passes, set to an Everstone choice (0: none, k: nature k - 1).
void createEverstoneControls(AppState& app, int32_t firstId, const ControlRect& check, const ControlRect& list,
                             int32_t choice, ControlHandle& checkBox, ControlHandle& combo);
// The choice the two controls show: 0 unticked, else 1 + the nature.
int32_t everstoneChoiceOf(ControlHandle checkBox, ControlHandle combo);
void showEverstoneChoice(ControlHandle checkBox, ControlHandle combo, int32_t choice);

void createFilterLists(AppState& app, int32_t firstId, const ControlRect (&rects)[3], ControlHandle& nature,
                       ControlHandle& gender, ControlHandle& ability);

// Why a file was not written, as the notes take it: 0 when it was, else its
// errno value (EIO when the system gave none).
int32_t writeError(const OutputResult& written);

// The note that a file was not saved, `format` (its "%s" takes why) with why
// in the player's words (from the errno value), in AppState.scratch.textBuffer.
void formatWriteFailure(AppState& app, const char* format, int32_t error);

// Step 6's line of the seed's first flips ("コイン 表裏…") or first answers
// after no skip ("電話 EKP…"), in AppState.scratch.textBuffer.
void formatSeedLetters(AppState& app, uint32_t seed, bool coin);

// Hand-overs between screens. A seed's moments in a year listed by step 6, on
// screen 3 (shown first), as when typed there and "日時を計算" pressed.
void showSeedMoments(AppState& app, uint32_t seed, int32_t year);

// Step 6's "狙う" makes a moment (with its delay)
// step 7's target, with its seed, and step 8 plans for it.
void setTarget(AppState& app, const ConsoleMoment& moment);
