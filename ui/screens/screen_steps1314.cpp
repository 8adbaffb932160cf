// Screen 7: the trainer IDs a new game gets (core/trainer_ids.h). Step 13,
// left of the line at x 400, lists the TID and SID of a moment's seed for
// each delay of a range; step 14, right of it, searches a year for the seeds
// whose IDs are the wanted ones, or make wanted PIDs shiny, into
// id-search.txt. A hit's "日時へ" goes to step 6 (and its "狙う" to steps 7
// and 8: the timer then ends on the press that closes the introduction);
// "このIDを使う" beside a line or a hit makes its IDs the ones steps 4, 5 and
// 11 start their ID edits with.
#include <cstdio>
#include <iterator>

#include "core/egg_files.h"
#include "core/seed_time.h"
#include "core/trainer_ids.h"
#include "core/typed_numbers.h"
#include "data/output_file.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_common.h"
#include "ui/screens/screen_steps78.h"
#include "ui/screens/search_panel.h"
#include "ui/search_job.h"
#include "ui/shell.h"

namespace {

constexpr int32_t kMomentEditId = 1100;
constexpr int32_t kDelayMinEditId = 1101;
constexpr int32_t kDelayMaxEditId = 1102;
constexpr int32_t kYearEditId = 1103;
constexpr int32_t kSearchDelayMinEditId = 1104;
constexpr int32_t kSearchDelayMaxEditId = 1105;
constexpr int32_t kTidEditId = 1106;
constexpr int32_t kSidEditId = 1107;
constexpr int32_t kPidEditId = 1108;
constexpr int32_t kNatureComboId = 1109;
constexpr int32_t kRatioComboId = 1110;

constexpr uint32_t kEveryHour = 0xFFFFFFu;

// Step 14 right of this line, step 13 left of it.
constexpr int32_t kStepFourteenX = 400;
// Step 13's lines: delay, seed, TID, SID, then the line's button.
constexpr int32_t kLineFirstY = 102;
constexpr int32_t kLineStep = 25;
constexpr int32_t kLineColumns[4] = {10, 60, 150, 205};
constexpr int32_t kLineButtonX = 290;
constexpr int32_t kUseButtonWidth = 97;
constexpr int32_t kLineNoteY = 505;
constexpr int32_t kInputNoteX = 80;
constexpr int32_t kIdsInUseY = 539;  // above the bottom of the Win32 client area (about 560)
// Step 14's hits: seed, TID, SID, delay, then "日時へ" and "このIDを使う".
constexpr int32_t kHitFirstY = 177;
constexpr int32_t kHitLineStep = 25;
constexpr int32_t kHitColumns[4] = {kStepFourteenX + 10, kStepFourteenX + 100, kStepFourteenX + 150,
                                    kStepFourteenX + 200};
constexpr int32_t kHeaderY = 157;

// Cute Charm matters only for species of both genders.
constexpr int32_t kCuteCharmRatioCount = 5;
constexpr int32_t kCuteCharmRatios[kCuteCharmRatioCount] = {31, 63, 127, 191, 223};
const char* const kCuteCharmRatioRows[kCuteCharmRatioCount] = {texts::kTextWildRatio31, texts::kTextWildRatio63,
                                                               texts::kTextWildRatio127, texts::kTextWildRatio191,
                                                               texts::kTextWildRatio223};
constexpr int32_t kDefaultRatioRow = 2;  // 1/2

void takeIn(AppState& app, const SearchRequest&, const SearchJobHits& hits, int32_t shown) {
  for (int32_t i = 0; i < shown; ++i) {
    const IdHit& hit = hits.ids[i];
    app.idSearch.hits[i] = SearchHit{hit.seed, hit.frame, hit.delay, 0, 0, {}};
  }
}

OutputResult writeHitFile(const AppState&, const SearchRequest& request, const SearchJobHits& hits, int32_t count) {
  return writeIdHitFile(kIdHitFileName, request.ids, hits.ids, count);
}

const SearchPanelKind kIdSearchPanel{
    .kind = SearchKind::kIds,
    .panel = &AppState::idSearch,
    .screen = ScreenMode::kSeven,
    .hitFile = kIdHitFileName,
    .maxShownHits = kMaxShownIdHits,
    .writeHitFile = writeHitFile,
    .takeIn = takeIn,
    .hitButtons = [](AppState& app) -> ControlHandle* { return app.screen7.hitButtons; },
    .firstHitCommand = kCmdFirstIdHit,
    .hitButtonX = kStepFourteenX + 245,
    .hitButtonFirstY = kHitFirstY,
    .hitLineStep = kHitLineStep,
    .hitButtonWidth = 50,
    .secondButtons = [](AppState& app) -> ControlHandle* { return app.screen7.hitUseButtons; },
    .firstSecondCommand = kCmdFirstIdHitUse,
    .secondButtonX = kStepFourteenX + 298,
    .secondButtonWidth = kUseButtonWidth,
    .secondButtonText = texts::kTextIdUseButton,
    .statusX = kStepFourteenX + 130,
    .statusY = 129,
    .noteX = kStepFourteenX + 10,
    .noteFirstY = 482,
    .noteLineStep = 16,
    .notStartedNote = texts::kTextIdSearchNotStarted,
    .hitsCutNote = texts::kTextIdHitsCut,
    .hitFileNote = texts::kTextIdHitFileNotWritten,
};

void createLineButtons(AppState& app) {
  for (ControlHandle& h : app.screen7.lineUseButtons) platformDestroyControl(h);
  for (int32_t i = 0; i < app.idList.lineCount && i < kMaxShownIdLines; ++i)
    app.screen7.lineUseButtons[i] =
        createControl(app, ControlKind::kPushButton, kCmdFirstIdLineUse + i, kLineButtonX,
                      kLineFirstY - 3 + kLineStep * i, kUseButtonWidth, 22, texts::kTextIdUseButton);
}

// Cute Charm's nature and ratio only while its box is ticked.
void enableCuteCharm(AppState& app) {
  const bool on = platformIsChecked(app.screen7.cuteCharmCheck);
  platformEnableControl(app.screen7.natureCombo, on);
  platformEnableControl(app.screen7.ratioCombo, on);
}

ControlHandle createNumberEdit(AppState& app, int32_t id, int32_t x, int32_t y, int32_t w, bool shown, int32_t value,
                               const char* fallback) {
  ControlHandle edit = createControl(app, ControlKind::kPlainEdit, id, x, y, w, 22, fallback);
  if (shown) setNumberText(app, edit, value);
  return edit;
}

// Step 13's moment and delays as last read; step 14's year, delays, wants
// and Cute Charm as last searched (the delays 300..9999 and nothing wanted
// before); the lists and their buttons as they were.
void build(AppState& app) {
  Screen7Controls& c = app.screen7;
  const IdListing& list = app.idList;
  c.momentEdit = createControl(app, ControlKind::kPlainEdit, kMomentEditId, 55, 27, 165, 22);
  if (list.momentSet != 0) {
    const ConsoleMoment& m = list.moment;
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%04d-%02d-%02d %02d:%02d:%02d", m.year,
                  m.month, m.day, m.hour, m.minute, m.second);
    platformSetText(c.momentEdit, app.scratch.textBuffer);
  }
  c.delayMinEdit = createNumberEdit(app, kDelayMinEditId, 55, 52, 50, list.momentSet != 0, list.delayMin, "300");
  c.delayMaxEdit = createNumberEdit(app, kDelayMaxEditId, 125, 52, 50, list.momentSet != 0, list.delayMax, "399");
  c.listButton = createControl(app, ControlKind::kFramedPushButton, kCmdIdList, 185, 52, 50, 22, texts::kTextIdListButton);
  createLineButtons(app);

  const IdSearchInputs& in = app.idInputs;
  const bool kept = in.inputsSet != 0;
  const int32_t year = app.idSearch.status != SearchStatus::kIdle ? app.idSearch.year : thisYear();
  constexpr int32_t x = kStepFourteenX;
  c.yearEdit = createNumberEdit(app, kYearEditId, x + 35, 27, 45, true, year, "");
  c.searchDelayMinEdit = createNumberEdit(app, kSearchDelayMinEditId, x + 135, 27, 50, kept, in.delayMin, "300");
  c.searchDelayMaxEdit = createNumberEdit(app, kSearchDelayMaxEditId, x + 205, 27, 50, kept, in.delayMax, "9999");
  c.tidEdit = createNumberEdit(app, kTidEditId, x + 55, 52, 50, in.tidWanted != 0, in.tid, "");
  c.sidEdit = createNumberEdit(app, kSidEditId, x + 160, 52, 50, in.sidWanted != 0, in.sid, "");
  c.pidEdit = createControl(app, ControlKind::kPlainEdit, kPidEditId, x + 55, 77, 100, 22);
  if (in.pidWanted != 0) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", in.pid);
    platformSetText(c.pidEdit, app.scratch.textBuffer);
  }
  c.cuteCharmCheck =
      createControl(app, ControlKind::kCheckBox, kCmdIdCuteCharm, x + 10, 100, 140, 24, texts::kTextIdCuteCharm);
  platformSetChecked(c.cuteCharmCheck, in.cuteCharm != 0);
  c.natureCombo =
      platformCreateControl(app, ControlKind::kDropDownList, kNatureComboId, ControlRect{x + 155, 101, 110, 300}, "");
  fillNatureCombo(app, c.natureCombo);
  platformSelectListRow(c.natureCombo, kept ? in.cuteCharmNature : 0);
  c.ratioCombo =
      platformCreateControl(app, ControlKind::kDropDownList, kRatioComboId, ControlRect{x + 270, 101, 120, 300}, "");
  for (const char* row : kCuteCharmRatioRows) platformAddListRow(c.ratioCombo, row);
  platformSelectListRow(c.ratioCombo, kept ? in.cuteCharmRatioRow : kDefaultRatioRow);
  enableCuteCharm(app);
  c.searchButton = createControl(app, ControlKind::kFramedPushButton, kCmdIdSearch, x + 10, 127, 55, 22,
                                 texts::kTextEggSearchButton);
  c.searchStopButton = createControl(app, ControlKind::kFramedPushButton, kCmdIdSearchStop, x + 70, 127, 50, 22,
                                     texts::kTextEggSearchStopButton);
  searchPanelCreateHitButtons(app, kIdSearchPanel);
}

void tearDown(AppState& app) {
  Screen7Controls& c = app.screen7;
  for (ControlHandle* h : {&c.momentEdit, &c.delayMinEdit, &c.delayMaxEdit, &c.listButton, &c.yearEdit,
                           &c.searchDelayMinEdit, &c.searchDelayMaxEdit, &c.tidEdit, &c.sidEdit, &c.pidEdit,
                           &c.cuteCharmCheck, &c.natureCombo, &c.ratioCombo, &c.searchButton, &c.searchStopButton})
    platformDestroyControl(*h);
  for (ControlHandle& h : c.lineUseButtons) platformDestroyControl(h);
  searchPanelDestroyHitButtons(app, kIdSearchPanel);
}

// 1120 "計算": the moment's seed and IDs for each delay of the range, the
// first kMaxShownIdLines on screen. A moment that cannot be read keeps the
// old list and says so; a delay that is not a number, or lies outside
// 0..65535, is named in the step's note and the field shows the value used.
void commandList(AppState& app, int32_t) {
  char (&note)[kInputNoteBytes] = app.idList.inputNote;
  note[0] = '\0';
  ConsoleMoment moment{};
  if (!parseTypedMoment(readControl(app, app.screen7.momentEdit, kReadMomentEdit), moment)) {
    // The old list was another moment's: it goes with the message.
    app.idList.momentUnreadable = 1;
    app.idList.lineCount = -1;
    createLineButtons(app);
    platformInvalidate(app);
    return;
  }
  IdListing& list = app.idList;
  list.momentUnreadable = 0;
  list.momentSet = 1;
  list.moment = moment;
  readDelayFields(app, app.screen7.delayMinEdit, app.screen7.delayMaxEdit, note, list.delayMin, list.delayMax);
  list.lineTotal = list.delayMax - list.delayMin + 1;
  list.lineCount = list.lineTotal < kMaxShownIdLines ? list.lineTotal : kMaxShownIdLines;
  for (int32_t i = 0; i < list.lineCount; ++i) {
    IdLine& line = list.lines[i];
    line.delay = list.delayMin + i;
    moment.delay = line.delay;
    seedOfMoment(moment, line.seed);
    const TrainerIds ids = trainerIdsOf(line.seed);
    line.tid = ids.tid;
    line.sid = ids.sid;
  }
  createLineButtons(app);
  platformInvalidate(app);
}

void useIds(AppState& app, int32_t tid, int32_t sid) {
  app.ids.lastTid = tid;
  app.ids.lastSid = sid;
  app.ids.idsKnown = 1;
  platformInvalidate(app);
}

// 1130..1145 "このIDを使う" of a line of step 13.
void commandLineUse(AppState& app, int32_t id) {
  const int32_t slot = id - kCmdFirstIdLineUse;
  if (slot >= app.idList.lineCount) return;
  useIds(app, app.idList.lines[slot].tid, app.idList.lines[slot].sid);
}

// 1152 the "メロメロボディ" tick.
void commandCuteCharm(AppState& app, int32_t) {
  enableCuteCharm(app);
  platformInvalidate(app);
}

// 1150 "検索": the year's seeds over the delays whose IDs are the TID and SID
// typed (an empty edit wants any) and make the typed PID or Cute Charm's two
// shiny (when given). With nothing wanted every seed is a hit. A number that
// is not one, or lies outside its range, is named in the step's note with
// the value used, which its field then shows; a PID that does not read is
// named and nothing is searched.
void commandSearch(AppState& app, int32_t) {
  if (app.idSearch.status == SearchStatus::kRunning) return;
  Screen7Controls& c = app.screen7;
  IdSearchInputs& in = app.idInputs;
  char (&note)[kInputNoteBytes] = app.idSearch.inputNote;
  note[0] = '\0';
  const int32_t year = readYearField(app, c.yearEdit, note);
  readDelayFields(app, c.searchDelayMinEdit, c.searchDelayMaxEdit, note, in.delayMin, in.delayMax);
  in.tidWanted = fieldTypedIn(c.tidEdit) ? 1 : 0;
  in.tid = in.tidWanted != 0 ? readNumberField(app, c.tidEdit, 0, 0xFFFF, 0, texts::kTextFieldTid, note) : 0;
  in.sidWanted = fieldTypedIn(c.sidEdit) ? 1 : 0;
  in.sid = in.sidWanted != 0 ? readNumberField(app, c.sidEdit, 0, 0xFFFF, 0, texts::kTextFieldSid, note) : 0;
  in.pidWanted = 0;
  if (fieldTypedIn(c.pidEdit)) {
    if (!readSeedField(app, c.pidEdit, texts::kTextFieldPid, note, in.pid)) {
      platformInvalidate(app);
      return;
    }
    in.pidWanted = 1;
  }
  in.cuteCharm = platformIsChecked(c.cuteCharmCheck) ? 1 : 0;
  in.cuteCharmNature = clampTo(selectedOption(c.natureCombo), 0, kNatureCount - 1);
  in.cuteCharmRatioRow = clampTo(selectedOption(c.ratioCombo), 0, kCuteCharmRatioCount - 1);
  in.inputsSet = 1;

  SearchRequest search{};
  IdSearchRequest& request = search.ids;
  request.window = YearWindow{year, in.delayMin, in.delayMax, kEveryHour};
  request.tidWanted = in.tidWanted != 0;
  request.tid = in.tid;
  request.sidWanted = in.sidWanted != 0;
  request.sid = in.sid;
  if (in.pidWanted != 0) request.pids[request.pidCount++] = in.pid;
  if (in.cuteCharm != 0) {
    uint32_t pids[2];
    cuteCharmPids(in.cuteCharmNature, kCuteCharmRatios[in.cuteCharmRatioRow], pids);
    request.pids[request.pidCount++] = pids[0];
    request.pids[request.pidCount++] = pids[1];
  }
  request.kernel = YearSearchKernel::Auto;
  searchPanelStart(app, kIdSearchPanel, search);
}

// 1151 "中止" (see searchPanelStop).
void commandSearchStop(AppState& app, int32_t) { searchPanelStop(app, kIdSearchPanel); }

// 1160..1171 "日時へ": the hit's seed and the search's year go to step 6.
void commandHit(AppState& app, int32_t id) {
  const int32_t slot = id - kCmdFirstIdHit;
  if (slot >= app.idSearch.hitCount) return;
  showSeedMoments(app, app.idSearch.hits[slot].seed, app.idSearch.year);
  app.moments.handOverFromHit = 0;
  platformInvalidate(app);
}

// 1180..1191 "このIDを使う" of a hit of step 14.
void commandHitUse(AppState& app, int32_t id) {
  const int32_t slot = id - kCmdFirstIdHitUse;
  if (slot >= app.idSearch.hitCount) return;
  const TrainerIds ids = trainerIdsOf(app.idSearch.hits[slot].seed);
  useIds(app, ids.tid, ids.sid);
}

void paintIdColumns(AppState& app, PaintSurface s, const int32_t (&x)[4], int32_t y, const int32_t (&values)[4],
                    int32_t seedColumn) {
  for (int32_t k = 0; k < 4; ++k)
    platformPaintText(s, x[k], y, formatted(app, k == seedColumn ? "0x%08X" : "%d", values[k]));
}

void paint(AppState& app, PaintSurface s) {
  platformPaintLine(s, kStepFourteenX, 0, kStepFourteenX, 600);

  platformPaintText(s, 5, 5, texts::kTextStep13Title);
  // The note shares the title's line: the lines under the fields are the list's.
  if (app.idList.inputNote[0] != '\0') platformPaintText(s, kInputNoteX, 5, app.idList.inputNote);
  platformPaintText(s, 10, 29, texts::kTextTargetMoment);
  platformPaintText(s, 10, 54, texts::kTextDelayLabel);
  platformPaintText(s, 109, 54, texts::kTextRangeDash);
  const char* lineHeaders[4] = {texts::kTextIdDelayHeader, texts::kTextHitSeedHeader, texts::kTextIdTidHeader,
                                texts::kTextIdSidHeader};
  for (int32_t k = 0; k < 4; ++k) platformPaintText(s, kLineColumns[k], 82, lineHeaders[k]);
  const IdListing& list = app.idList;
  for (int32_t i = 0; i < list.lineCount && i < kMaxShownIdLines; ++i) {
    const IdLine& line = list.lines[i];
    paintIdColumns(app, s, kLineColumns, kLineFirstY + kLineStep * i,
                   {line.delay, static_cast<int32_t>(line.seed), line.tid, line.sid}, 1);
  }
  if (list.lineCount >= 0) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextIdLinesShown, list.lineTotal,
                  list.lineCount);
    platformPaintText(s, 10, kLineNoteY, app.scratch.textBuffer);
  }
  if (list.momentUnreadable != 0) platformPaintText(s, 10, kLineNoteY + 17, texts::kTextIdMomentUnreadable);
  if (app.ids.idsKnown != 0) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextIdInUse, app.ids.lastTid,
                  app.ids.lastSid);
    platformPaintText(s, 10, kIdsInUseY, app.scratch.textBuffer);
  }

  constexpr int32_t x = kStepFourteenX;
  platformPaintText(s, x + 5, 5, texts::kTextStep14Title);
  platformPaintText(s, x + 10, 29, texts::kTextYear);
  platformPaintText(s, x + 90, 29, texts::kTextDelayLabel);
  platformPaintText(s, x + 189, 29, texts::kTextRangeDash);
  platformPaintText(s, x + 10, 54, texts::kTextTid);
  platformPaintText(s, x + 115, 54, texts::kTextSid);
  platformPaintText(s, x + 10, 79, texts::kTextIdPidLabel);
  searchPanelPaintStatus(app, s, kIdSearchPanel);
  const char* hitHeaders[4] = {texts::kTextHitSeedHeader, texts::kTextIdTidHeader, texts::kTextIdSidHeader,
                               texts::kTextIdDelayHeader};
  for (int32_t k = 0; k < 4; ++k) platformPaintText(s, kHitColumns[k], kHeaderY, hitHeaders[k]);
  if (app.idSearch.hitCount == 0) platformPaintText(s, kHitColumns[0], kHitFirstY + 2, texts::kTextNoCandidate);
  for (int32_t i = 0; i < app.idSearch.hitCount && i < kMaxShownIdHits; ++i) {
    const SearchHit& hit = app.idSearch.hits[i];
    const TrainerIds ids = trainerIdsOf(hit.seed);
    paintIdColumns(app, s, kHitColumns, kHitFirstY + 2 + kHitLineStep * i,
                   {static_cast<int32_t>(hit.seed), ids.tid, ids.sid, hit.delay}, 0);
  }
  searchPanelPaintNotes(app, s, kIdSearchPanel);
}

// No listing and no search yet.
void start(AppState& app, const char*) {
  app.idList.lineCount = -1;
  app.idSearch.hitCount = -1;
}

constexpr ScreenCommand kCommands[] = {
    {kCmdIdList, kCmdIdList, commandList},
    {kCmdFirstIdLineUse, kCmdFirstIdLineUse + kMaxShownIdLines - 1, commandLineUse},
    {kCmdIdSearch, kCmdIdSearch, commandSearch},
    {kCmdIdSearchStop, kCmdIdSearchStop, commandSearchStop},
    {kCmdIdCuteCharm, kCmdIdCuteCharm, commandCuteCharm},
    {kCmdFirstIdHit, kCmdFirstIdHit + kMaxShownIdHits - 1, commandHit},
    {kCmdFirstIdHitUse, kCmdFirstIdHitUse + kMaxShownIdHits - 1, commandHitUse},
};

}  // namespace

const Screen kScreenSteps1314{
    .mode = ScreenMode::kSeven,
    .menuId = kCmdScreenSeven,
    .start = start,
    .build = build,
    .tearDown = tearDown,
    .paint = paint,
    .commands = kCommands,
    .commandCount = static_cast<int32_t>(std::size(kCommands)),
    .tickPeriod = [](const AppState& app) { return searchPanelTickPeriod(app, kIdSearchPanel); },
    .tick = [](AppState& app) { searchPanelTick(app, kIdSearchPanel); },
    .close = [](AppState& app) { searchPanelClose(app, kIdSearchPanel); },
};
