#include "ui/screens/screen_common.h"

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "core/seed_time.h"
#include "core/typed_numbers.h"
#include "data/tables.h"
#include "quillmar/texts.h"
#include "ui/shell.h"

ControlHandle createControl(const AppState& app, ControlKind kind, int32_t id, int32_t x, int32_t y, int32_t w,
                            int32_t h, const char* caption) {
  return platformCreateControl(app, kind, id, ControlRect{x, y, w, h}, caption);
}

const char* readControl(AppState& app, ControlHandle handle, int32_t n) {
  platformGetText(handle, app.scratch.textBuffer, n);
  return app.scratch.textBuffer;
}

void setNumberText(AppState& app, ControlHandle handle, int32_t value) {
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", value);
  platformSetText(handle, app.scratch.textBuffer);
}

int32_t clampTo(int32_t value, int32_t low, int32_t high) { return value < low ? low : value > high ? high : value; }

int32_t thisYear() {
  std::time_t now = std::time(nullptr);
  std::tm* utc = std::gmtime(&now);
  int32_t year = utc != nullptr ? utc->tm_year + 1900 : kClockFirstYear;
  return clampTo(year, kClockFirstYear, kClockLastYear);
}

int32_t selectedOption(ControlHandle combo) {
  int32_t row = platformSelectedListRow(combo);
  return row < 0 ? 0 : row;
}

const char* formatted(AppState& app, const char* format, int32_t value) {
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, format, value);
  return app.scratch.textBuffer;
}

void fillNatureCombo(AppState& app, ControlHandle combo) {
  for (int n = 0; n < kNatureCount; ++n) platformAddListRow(combo, app.natureTable.rows[n].name);
}

int32_t readNumberField(AppState& app, ControlHandle edit, int32_t low, int32_t high, int32_t fallback,
                        const char* label, char (&note)[kInputNoteBytes]) {
  char typed[kKeptTextBytes];
  platformGetText(edit, typed, kKeptTextBytes);
  int64_t value = 0;
  int32_t used = 0;
  const char* p = typed;
  while (*p == ' ') ++p;
  if (*p == '\0') {
    used = fallback;  // not given: the field's default, said by the field itself
  } else if (!readWholeDecimal(typed, value)) {
    used = fallback;
    if (note[0] == '\0') std::snprintf(note, sizeof note, texts::kTextFieldUnreadable, label, typed, used);
  } else if (value < low || value > high) {
    used = value < low ? low : high;
    if (note[0] == '\0') std::snprintf(note, sizeof note, texts::kTextFieldOutOfRange, label, low, high, used);
  } else {
    return static_cast<int32_t>(value);
  }
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", used);
  platformSetText(edit, app.scratch.textBuffer);
  return used;
}

bool readSeedField(AppState&, ControlHandle edit, const char* label, char (&note)[kInputNoteBytes], uint32_t& seed) {
  char typed[kKeptTextBytes];
  platformGetText(edit, typed, kKeptTextBytes);
  if (readTypedSeed(typed, seed)) return true;
  // A refused seed is why nothing was listed: it takes the note's place of
  // any field read before it, which already shows the value it used.
  std::snprintf(note, sizeof note, texts::kTextSeedUnreadable, label, typed[0] != '\0' ? typed : texts::kTextEmptyField);
  return false;
}

void readDelayFields(AppState& app, ControlHandle lowEdit, ControlHandle highEdit, char (&note)[kInputNoteBytes],
                     int32_t& low, int32_t& high) {
  const int32_t a = readNumberField(app, lowEdit, 0, kLargestDelay, 300, texts::kTextFieldDelayMin, note);
  const int32_t b = readNumberField(app, highEdit, 0, kLargestDelay, 9999, texts::kTextFieldDelayMax, note);
  low = a < b ? a : b;
  high = a < b ? b : a;
}

int32_t readYearField(AppState& app, ControlHandle edit, char (&note)[kInputNoteBytes]) {
  return readNumberField(app, edit, kClockFirstYear, kClockLastYear, thisYear(), texts::kTextFieldYear, note);
}

bool fieldTypedIn(ControlHandle edit) {
  char typed[kKeptTextBytes];
  platformGetText(edit, typed, kKeptTextBytes);
  for (const char* p = typed; *p != '\0'; ++p)
    if (*p != ' ' && *p != '\t') return true;
  return false;
}

const char* statFieldLabel(char (&out)[32], const char* row, int32_t stat) {
  std::snprintf(out, sizeof out, texts::kTextFieldStatOfRow, row, kStatLabels[stat]);
  return out;
}

void keepInputs(KeptInputs& kept, const AppState& app, const ScreenInput* inputs, int32_t count) {
  kept.count = count < kMaxKeptInputs ? count : kMaxKeptInputs;
  kept.lastTid = app.ids.lastTid;
  kept.lastSid = app.ids.lastSid;
  for (int32_t i = 0; i < kept.count; ++i) {
    KeptInput& input = kept.inputs[i];
    input = KeptInput{};
    const ControlHandle h = *inputs[i].handle;
    switch (inputs[i].kind) {
      case ControlKind::kDropDownList: input.row = platformSelectedListRow(h); break;
      case ControlKind::kCheckBox: input.checked = platformIsChecked(h) ? 1 : 0; break;
      default: platformGetText(h, input.text, kKeptTextBytes); break;
    }
  }
}

bool restoreInputs(const KeptInputs& kept, const AppState& app, const ScreenInput* inputs, int32_t count,
                   ControlHandle tidEdit, ControlHandle sidEdit) {
  if (kept.count != count) return false;
  const bool idsSince = app.ids.lastTid != kept.lastTid || app.ids.lastSid != kept.lastSid;
  for (int32_t i = 0; i < count; ++i) {
    const ControlHandle h = *inputs[i].handle;
    if (idsSince && (h == tidEdit || h == sidEdit)) continue;
    const KeptInput& input = kept.inputs[i];
    switch (inputs[i].kind) {
      case ControlKind::kDropDownList:
        if (input.row >= 0) platformSelectListRow(h, input.row);
        break;
      case ControlKind::kCheckBox: platformSetChecked(h, input.checked != 0); break;
      default: platformSetText(h, input.text); break;
    }
  }
  return true;
}

void createEverstoneControls(AppState& app, int32_t firstId, const ControlRect& check, const ControlRect& list,
                             int32_t choice, ControlHandle& checkBox, ControlHandle& combo) {
  checkBox = platformCreateControl(app, ControlKind::kCheckBox, firstId, check, texts::kTextEverstoneCheck);
  combo = platformCreateControl(app, ControlKind::kDropDownList, firstId + 1, list, "");
  fillNatureCombo(app, combo);
  showEverstoneChoice(checkBox, combo, choice);
}

int32_t everstoneChoiceOf(ControlHandle checkBox, ControlHandle combo) {
  if (!platformIsChecked(checkBox)) return 0;
  const int32_t row = platformSelectedListRow(combo);
  return row >= 0 && row < kNatureCount ? row + 1 : 1;
}

void showEverstoneChoice(ControlHandle checkBox, ControlHandle combo, int32_t choice) {
  platformSetChecked(checkBox, choice > 0);
  platformSelectListRow(combo, choice > 0 ? choice - 1 : 0);
}

void createFilterLists(AppState& app, int32_t firstId, const ControlRect (&rects)[3], ControlHandle& nature,
                       ControlHandle& gender, ControlHandle& ability) {
  nature = platformCreateControl(app, ControlKind::kDropDownList, firstId, rects[0], "");
  platformAddListRow(nature, texts::kTextNoFilter);
  fillNatureCombo(app, nature);
  platformSelectListRow(nature, 0);
  gender = platformCreateControl(app, ControlKind::kDropDownList, firstId + 1, rects[1], "");
  for (const char* option : kGenderFilterOptions) platformAddListRow(gender, option);
  platformSelectListRow(gender, 0);
  ability = platformCreateControl(app, ControlKind::kDropDownList, firstId + 2, rects[2], "");
  for (const char* option : kAbilityFilterOptions) platformAddListRow(ability, option);
  platformSelectListRow(ability, 0);
}

void formatWriteFailure(AppState& app, const char* format, int32_t error) {
  const char* reason = nullptr;
  switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      reason = texts::kTextNoSpace;
      break;
    case EACCES:  // also a file another program holds open on Windows
    case EPERM: reason = texts::kTextWriteRefused; break;
    case EISDIR: reason = texts::kTextFolderInTheWay; break;
    case EROFS: reason = texts::kTextReadOnlyDisk; break;
    case EFBIG: reason = texts::kTextFileTooLarge; break;
    case ENAMETOOLONG: reason = texts::kTextNameTooLong; break;
    case ENOENT: reason = texts::kTextFolderGone; break;
    case EIO: reason = texts::kTextDiskError; break;
    default: break;
  }
  char number[32];
  if (reason == nullptr) {
    std::snprintf(number, sizeof number, texts::kTextErrorNumber, error);
    reason = number;
  }
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, format, reason);
}

int32_t writeError(const OutputResult& written) {
  if (written.outcome == OutputOutcome::kWritten) return 0;
  return written.error != 0 ? written.error : EIO;
}
