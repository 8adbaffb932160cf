// Screen 3: step 5 (the year search for an egg) on the left of the line at
// x 570, step 6 (the moments of a seed) on its right. Step 5's search runs
// off the window's thread and goes on while other screens are shown.
#include "ui/screens/screen_steps56.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/egg_list.h"
#include "core/egg_search.h"
#include "core/rng.h"
#include "core/seed_time.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_common.h"
#include "ui/search_job.h"
#include "ui/shell.h"

namespace {

constexpr uint32_t kEveryHour = 0xFFFFFFu;
constexpr int32_t kLargestFrameCount = 9999;

constexpr int32_t kYearEditId = 400;
constexpr int32_t kSearchTidEditId = 401;
constexpr int32_t kSearchSidEditId = 402;
constexpr int32_t kSearchMarriageCheckId = 403;
constexpr int32_t kSearchShinyOnlyCheckId = 404;
constexpr int32_t kSearchNatureComboId = 405;  // 405..407: nature, gender, ability
constexpr int32_t kMaxFrameEditId = 408;
constexpr int32_t kDelayMinEditId = 409;
constexpr int32_t kDelayMaxEditId = 410;
constexpr int32_t kSearchEverstoneCheckId = 411;  // 411, 412: the tick and its nature
constexpr int32_t kMomentSeedEditId = 500;
constexpr int32_t kMomentYearEditId = 501;

// window leaves below its caption and menu bar. The hit columns stay apart in
// the wider font Wine draws with, for frames up to 999.
constexpr int32_t kStepSixX = 575;
constexpr int32_t kMomentFirstY = 85;
constexpr int32_t kMomentLineStep = 25;
// Columns of a hit line and its header: seed, frame, PID, nature, ability,
// gender value, shiny mark, delay; then its button.
// (The buttons are the search panel's, kEggSearchPanel.)
constexpr int32_t kHitColumns[8] = {10, 100, 218, 290, 370, 402, 454, 472};

// Step 6's "狙う" buttons, level with the moment lines, right of their text.
constexpr int32_t kAimButtonX = kStepSixX + 135;
constexpr int32_t kAimButtonWidth = 40;
// Step 6's coin and call lines, under "このSEEDでstep4へ".
constexpr int32_t kSeedLettersY = 400;

// Step 5's and step 6's inputs, kept over a switch to another screen.
ScreenInput screenInputs(AppState& app, int32_t i) {
  ScreenThreeControls& c = app.screen3;
  const ScreenInput inputs[] = {
      {&c.yearEdit, ControlKind::kPlainEdit},          {&c.searchTidEdit, ControlKind::kPlainEdit},
      {&c.searchSidEdit, ControlKind::kPlainEdit},     {&c.searchMarriageCheck, ControlKind::kCheckBox},
      {&c.searchShinyOnlyCheck, ControlKind::kCheckBox}, {&c.searchNatureCombo, ControlKind::kDropDownList},
      {&c.searchGenderCombo, ControlKind::kDropDownList}, {&c.searchAbilityCombo, ControlKind::kDropDownList},
      {&c.searchEverstoneCheck, ControlKind::kCheckBox}, {&c.searchEverstoneCombo, ControlKind::kDropDownList},
      {&c.maxFrameEdit, ControlKind::kPlainEdit},      {&c.delayMinEdit, ControlKind::kPlainEdit},
      {&c.delayMaxEdit, ControlKind::kPlainEdit},      {&c.momentSeedEdit, ControlKind::kPlainEdit},
      {&c.momentYearEdit, ControlKind::kPlainEdit},
  };
  return inputs[i];
}
constexpr int32_t kScreenInputCount = 15;

void keepScreenInputs(AppState& app) {
  ScreenInput inputs[kScreenInputCount];
  for (int32_t i = 0; i < kScreenInputCount; ++i) inputs[i] = screenInputs(app, i);
  keepInputs(app.screen3Inputs, app, inputs, kScreenInputCount);
}

void restoreScreenInputs(AppState& app) {
  ScreenInput inputs[kScreenInputCount];
  for (int32_t i = 0; i < kScreenInputCount; ++i) inputs[i] = screenInputs(app, i);
  restoreInputs(app.screen3Inputs, app, inputs, kScreenInputCount, app.screen3.searchTidEdit, app.screen3.searchSidEdit);
}

// One "狙う" button per listed moment of step 6, level with its line; the
// buttons of the previous list are destroyed first.
void createAimButtons(AppState& app) {
  for (ControlHandle& h : app.screen3.aimButtons) platformDestroyControl(h);
  for (int i = 0; i < app.moments.momentCount && i < kMaxSeedMoments; ++i)
    app.screen3.aimButtons[i] =
        createControl(app, ControlKind::kPushButton, kCmdFirstAim + i, kAimButtonX,
                      kMomentFirstY - 3 + kMomentLineStep * i, kAimButtonWidth, 22, texts::kTextAimButton);
}

// Everything as the screen was left: step 5's inputs, its search, its hits
// with their buttons; step 6's seed, year, moments and the hit it came from.
// The TID and SID last used are shown when they changed since (another
// step used others); before the first tear-down the search's year or this
// year, and the IDs last used.
void build(AppState& app) {
  int32_t year = app.eggSearch.status != SearchStatus::kIdle ? app.eggSearch.year : thisYear();
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", year);
  app.screen3.yearEdit = createControl(app, ControlKind::kPlainEdit, kYearEditId, 40, 27, 45, 22, app.scratch.textBuffer);
  app.screen3.searchTidEdit = createControl(app, ControlKind::kPlainEdit, kSearchTidEditId, 140, 27, 50, 22);
  app.screen3.searchSidEdit = createControl(app, ControlKind::kPlainEdit, kSearchSidEditId, 245, 27, 50, 22);
  if (app.ids.idsKnown != 0) {
    setNumberText(app, app.screen3.searchTidEdit, app.ids.lastTid);
    setNumberText(app, app.screen3.searchSidEdit, app.ids.lastSid);
  }
  app.screen3.searchMarriageCheck =
      createControl(app, ControlKind::kCheckBox, kSearchMarriageCheckId, 310, 24, 95, 28, texts::kTextMarriageCheck);
  app.screen3.searchShinyOnlyCheck =
      createControl(app, ControlKind::kCheckBox, kSearchShinyOnlyCheckId, 410, 24, 110, 28, texts::kTextShinyOnlyCheck);

  createFilterLists(app, kSearchNatureComboId, {{50, 55, 120, 300}, {225, 55, 100, 300}, {380, 55, 100, 300}},
                    app.screen3.searchNatureCombo, app.screen3.searchGenderCombo, app.screen3.searchAbilityCombo);
  createEverstoneControls(app, kSearchEverstoneCheckId, {250, 0, 135, 24}, {390, 1, 110, 300}, 0,
                          app.screen3.searchEverstoneCheck, app.screen3.searchEverstoneCombo);

  app.screen3.maxFrameEdit = createControl(app, ControlKind::kPlainEdit, kMaxFrameEditId, 10, 83, 45, 22, "100");
  app.screen3.delayMinEdit = createControl(app, ControlKind::kPlainEdit, kDelayMinEditId, 150, 83, 50, 22, "300");
  app.screen3.delayMaxEdit = createControl(app, ControlKind::kPlainEdit, kDelayMaxEditId, 222, 83, 50, 22, "9999");
  app.screen3.eggSearchButton =
      createControl(app, ControlKind::kFramedPushButton, kCmdEggSearch, 285, 83, 70, 22, texts::kTextEggSearchButton);
  app.screen3.eggSearchStopButton = createControl(app, ControlKind::kFramedPushButton, kCmdEggSearchStop, 362, 83, 60, 22,
                                          texts::kTextEggSearchStopButton);
  searchPanelCreateHitButtons(app, kEggSearchPanel);

  app.screen3.momentSeedEdit = createControl(app, ControlKind::kPlainEdit, kMomentSeedEditId, kStepSixX + 50, 27, 105, 22);
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", year);
  app.screen3.momentYearEdit =
      createControl(app, ControlKind::kPlainEdit, kMomentYearEditId, kStepSixX + 50, 52, 45, 22, app.scratch.textBuffer);
  app.screen3.momentButton = createControl(app, ControlKind::kFramedPushButton, kCmdMoments, kStepSixX + 100, 52, 115, 22,
                                   texts::kTextMomentButton);
  app.screen3.toStepFourButton = createControl(app, ControlKind::kFramedPushButton, kCmdSeedToStepFour, kStepSixX + 5, 370, 210,
                                       22, texts::kTextToStepFourButton);
  restoreScreenInputs(app);
  createAimButtons(app);
}

void tearDown(AppState& app) {
  keepScreenInputs(app);
  platformDestroyControl(app.screen3.yearEdit);
  platformDestroyControl(app.screen3.searchTidEdit);
  platformDestroyControl(app.screen3.searchSidEdit);
  platformDestroyControl(app.screen3.searchMarriageCheck);
  platformDestroyControl(app.screen3.searchShinyOnlyCheck);
  platformDestroyControl(app.screen3.searchNatureCombo);
  platformDestroyControl(app.screen3.searchGenderCombo);
  platformDestroyControl(app.screen3.searchAbilityCombo);
  platformDestroyControl(app.screen3.searchEverstoneCheck);
  platformDestroyControl(app.screen3.searchEverstoneCombo);
  platformDestroyControl(app.screen3.maxFrameEdit);
  platformDestroyControl(app.screen3.delayMinEdit);
  platformDestroyControl(app.screen3.delayMaxEdit);
  platformDestroyControl(app.screen3.eggSearchButton);
  platformDestroyControl(app.screen3.eggSearchStopButton);
  searchPanelDestroyHitButtons(app, kEggSearchPanel);
  platformDestroyControl(app.screen3.momentSeedEdit);
  platformDestroyControl(app.screen3.momentYearEdit);
  platformDestroyControl(app.screen3.momentButton);
  platformDestroyControl(app.screen3.toStepFourButton);
  for (ControlHandle& h : app.screen3.aimButtons) platformDestroyControl(h);
}

void paint(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep5Title);
  platformPaintText(s, 10, 29, texts::kTextYear);
  platformPaintText(s, 100, 29, texts::kTextTid);
  platformPaintText(s, 205, 29, texts::kTextSid);
  platformPaintText(s, 10, 57, texts::kTextNatureLabel);
  platformPaintText(s, 185, 57, texts::kTextGenderLabel);
  platformPaintText(s, 340, 57, texts::kTextAbilityLabel);
  platformPaintText(s, 57, 85, texts::kTextFrameUnit);
  platformPaintText(s, 108, 85, texts::kTextDelayLabel);
  platformPaintText(s, 204, 85, texts::kTextRangeDash);
  searchPanelPaintStatus(app, s, kEggSearchPanel);

  const char* headers[8] = {texts::kTextHitSeedHeader,   texts::kTextHitFrameHeader,   texts::kTextHitPidHeader,
                            texts::kTextHitNatureHeader, texts::kTextHitAbilityHeader, texts::kTextHitGenderHeader,
                            texts::kTextHitShinyHeader,  texts::kTextHitDelayHeader};
  for (int c = 0; c < 8; ++c) platformPaintText(s, kHitColumns[c], 112, headers[c]);
  platformPaintLine(s, 5, 130, kStepSixX - 10, 130);
  if (app.eggSearch.hitCount == 0) platformPaintText(s, kHitColumns[0], kHitFirstY + 2, texts::kTextNoCandidate);
  for (int i = 0; i < app.eggSearch.hitCount && i < kMaxShownHits; ++i) {
    const SearchHit& hit = app.eggSearch.hits[i];
    int32_t y = kHitFirstY + 2 + kHitLineStep * i;
    platformPaintText(s, kHitColumns[0], y, formatted(app, "0x%08X", static_cast<int32_t>(hit.seed)));
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextHitFrame, hit.frame, hit.frame / 12,
                  hit.frame % 12);
    platformPaintText(s, kHitColumns[1], y, app.scratch.textBuffer);
    platformPaintText(s, kHitColumns[2], y, formatted(app, "%08X", static_cast<int32_t>(hit.pid)));
    platformPaintText(s, kHitColumns[3], y, app.natureTable.rows[hit.pid % kNatureCount].name);
    platformPaintText(s, kHitColumns[4], y, formatted(app, "%d", static_cast<int32_t>((hit.pid & 1u) + 1u)));
    platformPaintText(s, kHitColumns[5], y, formatted(app, "%d", static_cast<int32_t>(hit.pid & 0xFFu)));
    if (hit.shiny != 0) platformPaintText(s, kHitColumns[6], y, texts::kTextShinyMark);
    platformPaintText(s, kHitColumns[7], y, formatted(app, "%d", hit.delay));
  }
  searchPanelPaintNotes(app, s, kEggSearchPanel);

  platformPaintLine(s, kStepSixX - 5, -1, kStepSixX - 5, 600);
  platformPaintText(s, kStepSixX + 5, 5, texts::kTextStep6Title);
  platformPaintText(s, kStepSixX + 5, 29, texts::kTextMomentSeed);
  platformPaintText(s, kStepSixX + 5, 54, texts::kTextYear);
  if (app.moments.momentCount == 0) {
    SeedTimeVerdict verdict = seedTimeVerdict(app.moments.momentSeed, app.moments.momentYear);
    platformPaintText(s, kStepSixX + 10, kMomentFirstY,
                      verdict == SeedTimeVerdict::kHourOutOfRange ? texts::kTextNoMomentHour : texts::kTextNoMoment);
  }
  // Every moment of a seed in one year has the same delay: it is shown once,
  // under the list, which leaves each line room for its "狙う" button.
  for (int i = 0; i < app.moments.momentCount && i < kMaxSeedMoments; ++i) {
    const ConsoleMoment& m = app.moments.moments[i];
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextMomentLine, m.month, m.day, m.hour, m.minute,
                  m.second);
    platformPaintText(s, kStepSixX + 10, kMomentFirstY + kMomentLineStep * i, app.scratch.textBuffer);
  }
  if (app.moments.momentCount > 0) {
    int32_t y = kMomentFirstY + kMomentLineStep * kMaxSeedMoments;
    platformPaintText(s, kStepSixX + 10, y, formatted(app, texts::kTextMomentTotal, app.moments.momentTotal));
    platformPaintText(s, kStepSixX + 110, y, formatted(app, texts::kTextMomentDelay, app.moments.moments[0].delay));
  }
  // Step 6's column is narrow: the note's field and what was wrong with it
  // on two lines, split after the field's ": ".
  if (app.moments.inputNote[0] != '\0') {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%s", app.moments.inputNote);
    char* rest = std::strstr(app.scratch.textBuffer, ": ");
    if (rest != nullptr) *rest = '\0';
    platformPaintText(s, kStepSixX + 5, kSeedLettersY + 50, app.scratch.textBuffer);
    if (rest != nullptr) platformPaintText(s, kStepSixX + 15, kSeedLettersY + 68, rest + 2);
    if (app.moments.momentCount < 0) platformPaintText(s, kStepSixX + 5, kSeedLettersY + 90, texts::kTextSeedForm);
  }
  // What the console shows right after continuing on this seed, for checking
  // at once whether it came: the coin's first flips, Elm's first answers.
  if (app.moments.momentCount >= 0) {
    formatSeedLetters(app, app.moments.momentSeed, true);
    platformPaintText(s, kStepSixX + 5, kSeedLettersY, app.scratch.textBuffer);
    formatSeedLetters(app, app.moments.momentSeed, false);
    platformPaintText(s, kStepSixX + 5, kSeedLettersY + 23, app.scratch.textBuffer);
  }
}

// Step 5's inputs as a search over every hour of the year. A field that is
// not a number, or lies outside its range (years 2000..2099, IDs 0..65535,
// frames 1..9999, delays 0..65535), is named in the step's note and shows
// the value used; a delay range typed the wrong way round is turned round.
EggSearchRequest readSearchRequest(AppState& app) {
  char (&note)[kInputNoteBytes] = app.eggSearch.inputNote;
  note[0] = '\0';
  EggSearchRequest request{};
  request.window.year = readYearField(app, app.screen3.yearEdit, note);
  request.egg.tid = readNumberField(app, app.screen3.searchTidEdit, 0, 65535, 0, texts::kTextFieldTid, note);
  request.egg.sid = readNumberField(app, app.screen3.searchSidEdit, 0, 65535, 0, texts::kTextFieldSid, note);
  request.egg.internationalMarriage = platformIsChecked(app.screen3.searchMarriageCheck);
  request.egg.shinyOnly = platformIsChecked(app.screen3.searchShinyOnlyCheck);
  request.egg.natureChoice = selectedOption(app.screen3.searchNatureCombo);
  request.egg.genderChoice = selectedOption(app.screen3.searchGenderCombo);
  request.egg.abilityChoice = selectedOption(app.screen3.searchAbilityCombo);
  request.egg.everstoneNature = everstoneChoiceOf(app.screen3.searchEverstoneCheck, app.screen3.searchEverstoneCombo) - 1;
  request.egg.frameCount = readNumberField(app, app.screen3.maxFrameEdit, 1, kLargestFrameCount, 100,
                                           texts::kTextFieldFrames, note);
  readDelayFields(app, app.screen3.delayMinEdit, app.screen3.delayMaxEdit, note, request.window.delayMin,
                  request.window.delayMax);
  request.window.hourMask = kEveryHour;
  request.kernel = YearSearchKernel::Auto;
  return request;
}

// Step 6: the first moments of `seed` in `year`, and how many the year holds.
void listMoments(AppState& app, uint32_t seed, int32_t year) {
  app.moments.momentSeed = seed;
  app.moments.momentYear = year;
  SeedMomentCursor cursor = kSeedMomentStart;
  app.moments.momentCount = listSeedMoments(seed, year, cursor, app.moments.moments, kMaxSeedMoments).count;
  app.moments.momentTotal = countSeedMoments(seed, year);
  createAimButtons(app);
}
// 420 "検索" (see searchPanelStart); the IDs become the ones last used.
void commandEggSearch(AppState& app, int32_t) {
  if (app.eggSearch.status == SearchStatus::kRunning) return;
  SearchRequest request{};
  request.egg = readSearchRequest(app);
  app.ids.lastTid = request.egg.egg.tid;
  app.ids.lastSid = request.egg.egg.sid;
  app.ids.idsKnown = 1;
  searchPanelStart(app, kEggSearchPanel, request);
}

// 421 "中止" (see searchPanelStop).
void commandEggSearchStop(AppState& app, int32_t) { searchPanelStop(app, kEggSearchPanel); }

// 440..453 "日時へ" of step 5: the hit's seed and the search's year go to
// step 6, which lists the seed's moments at once.
void commandHit(AppState& app, int32_t id) {
  int32_t slot = id - kCmdFirstHit;
  if (slot >= app.eggSearch.hitCount) return;
  const SearchHit& hit = app.eggSearch.hits[slot];
  app.moments.inputNote[0] = '\0';
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", hit.seed);
  platformSetText(app.screen3.momentSeedEdit, app.scratch.textBuffer);
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", app.eggSearch.year);
  platformSetText(app.screen3.momentYearEdit, app.scratch.textBuffer);
  listMoments(app, hit.seed, app.eggSearch.year);
  app.moments.handOverSeed = hit.seed;
  app.moments.handOverSettings = app.moments.hitSettings;
  app.moments.handOverFromHit = 1;
  platformInvalidate(app);
}

// 520 "日時を計算": a seed that is not one is refused with a note (and the
// list of another seed goes); a year outside the clock is noted and taken at
// its nearest end.
void commandMoments(AppState& app, int32_t) {
  char (&note)[kInputNoteBytes] = app.moments.inputNote;
  note[0] = '\0';
  uint32_t seed = 0;
  const bool readable = readSeedField(app, app.screen3.momentSeedEdit, texts::kTextFieldSeed, note, seed);
  int32_t year = readYearField(app, app.screen3.momentYearEdit, note);
  if (readable) {
    listMoments(app, seed, year);
  } else {
    app.moments.momentCount = -1;
    createAimButtons(app);
  }
  platformInvalidate(app);
}

// 521 "このSEEDでstep4へ": the seed in step 6's edit becomes step 4's initial
// seed on screen 2, ready for "出力". A seed that came from a hit (the edit
// still holds, as a number, the seed a hit's "日時へ" put there since screen 3
// was built) brings every setting of the search that found it: its IDs,
// "国際結婚", its filters and its Everstone, so that step 4's list keeps the hit's frame and
// shows it with the hit's line. Any other seed gets step 4's own settings,
// with the TID and SID last used. A seed that does not read is refused with
// step 6's note, and screen 3 stays.
void commandSeedToStepFour(AppState& app, int32_t) {
  app.moments.inputNote[0] = '\0';
  uint32_t seed = 0;
  if (!readSeedField(app, app.screen3.momentSeedEdit, texts::kTextFieldSeed, app.moments.inputNote, seed)) {
    platformInvalidate(app);
    return;
  }
  bool fromHit = app.moments.handOverFromHit != 0 && seed == app.moments.handOverSeed;
  shellSwitchScreen(app, ScreenMode::kTwo);
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", seed);
  platformSetText(app.screen2.initialSeedEdit, app.scratch.textBuffer);
  if (fromHit) {
    const EggListSettings& settings = app.moments.handOverSettings;
    setNumberText(app, app.screen2.tidEdit, settings.tid);
    setNumberText(app, app.screen2.sidEdit, settings.sid);
    platformSetChecked(app.screen2.marriageCheck, settings.internationalMarriage != 0);
    platformSetChecked(app.screen2.shinyOnlyCheck, settings.shinyOnly != 0);
    platformSelectListRow(app.screen2.natureFilterCombo, settings.natureChoice);
    platformSelectListRow(app.screen2.genderFilterCombo, settings.genderChoice);
    platformSelectListRow(app.screen2.abilityFilterCombo, settings.abilityChoice);
    showEverstoneChoice(app.screen2.everstoneCheck, app.screen2.everstoneCombo, settings.everstoneChoice);
  } else if (app.ids.idsKnown != 0) {
    setNumberText(app, app.screen2.tidEdit, app.ids.lastTid);
    setNumberText(app, app.screen2.sidEdit, app.ids.lastSid);
  }
  platformInvalidate(app);
}

// 530..539 "狙う" of step 6: the moment of that line (with its delay) becomes
// the target, and the fourth screen opens on it.
void commandAim(AppState& app, int32_t id) {
  int32_t slot = id - kCmdFirstAim;
  if (slot >= app.moments.momentCount) return;
  setTarget(app, app.moments.moments[slot]);
  shellSwitchScreen(app, ScreenMode::kFour);
  platformInvalidate(app);
}

// No hit list, no moment list and nothing kept yet.
void start(AppState& app, const char*) {
  app.eggSearch.hitCount = -1;
  app.moments.momentCount = -1;
  app.moments.handOverFromHit = 0;
  app.screen3Inputs.count = 0;
}

constexpr ScreenCommand kCommands[] = {
    {kCmdEggSearch, kCmdEggSearch, commandEggSearch},
    {kCmdEggSearchStop, kCmdEggSearchStop, commandEggSearchStop},
    {kCmdFirstHit, kCmdFirstHit + kMaxShownHits - 1, commandHit},
    {kCmdMoments, kCmdMoments, commandMoments},
    {kCmdSeedToStepFour, kCmdSeedToStepFour, commandSeedToStepFour},
    {kCmdFirstAim, kCmdFirstAim + kMaxSeedMoments - 1, commandAim},
};

}  // namespace

void showSeedMoments(AppState& app, uint32_t seed, int32_t year) {
  if (app.screenMode != ScreenMode::kThree) shellSwitchScreen(app, ScreenMode::kThree);
  app.moments.inputNote[0] = '\0';
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", seed);
  platformSetText(app.screen3.momentSeedEdit, app.scratch.textBuffer);
  setNumberText(app, app.screen3.momentYearEdit, year);
  listMoments(app, seed, year);
}

const Screen kScreenSteps56{
    .mode = ScreenMode::kThree,
    .menuId = kCmdScreenThree,
    .start = start,
    .build = build,
    .tearDown = tearDown,
    .paint = paint,
    .commands = kCommands,
    .commandCount = static_cast<int32_t>(std::size(kCommands)),
    .tickPeriod = [](const AppState& app) { return searchPanelTickPeriod(app, kEggSearchPanel); },
    .tick = [](AppState& app) { searchPanelTick(app, kEggSearchPanel); },
    .close = [](AppState& app) { searchPanelClose(app, kEggSearchPanel); },
};
