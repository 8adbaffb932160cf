// Screen 5: the egg's IVs at pick-up. Above the line at y 180 what steps 9
// and 10 share: the game, the parents' IVs and items, and the wanted ranges.
// Below it, step 9 (the IVs of one seed over n = 0..N-1, into ivs.txt) on the
// left of the line at x 400 and step 10 (the year search) on its right.
#include <cstdio>
#include <iterator>

#include "core/egg_files.h"
#include "core/egg_iv_search.h"
#include "core/egg_ivs.h"
#include "core/seed_time.h"
#include "core/typed_numbers.h"
#include "data/output_file.h"
#include "data/tables.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_common.h"
#include "ui/screens/screen_steps910.h"
#include "ui/search_job.h"
#include "ui/shell.h"

static_assert(kIvTextBytes == kEggIvsTextCapacity, "a shown line holds the IVs as the core formats them");

namespace {

constexpr int32_t kLargestIvFrameCount = 1000000;
constexpr int32_t kLargestIvSearchFrame = 9999;
constexpr int32_t kDefaultIvFrameCount = 1000;
constexpr int32_t kDefaultIvSearchFrames = 30;
constexpr uint32_t kEveryHour = 0xFFFFFFu;

constexpr int32_t kParentAEditFirstId = 850;  // 850..855
constexpr int32_t kParentBEditFirstId = 856;  // 856..861
constexpr int32_t kMinEditFirstId = 862;      // 862..867
constexpr int32_t kMaxEditFirstId = 868;      // 868..873
constexpr int32_t kItemAComboId = 874;
constexpr int32_t kItemBComboId = 875;
constexpr int32_t kIvSeedEditId = 876;
constexpr int32_t kIvFrameCountEditId = 877;
constexpr int32_t kIvYearEditId = 878;
constexpr int32_t kIvMaxFrameEditId = 879;
constexpr int32_t kIvDelayMinEditId = 880;
constexpr int32_t kIvDelayMaxEditId = 881;

// The shared rows: a column per stat, the items right of them.
constexpr int32_t kStatColumnX = 70;
constexpr int32_t kStatColumnStep = 45;
constexpr int32_t kItemX = 350;
constexpr int32_t kRowY[4] = {75, 100, 125, 150};  // parent A, parent B, lowest, highest
// Step 9's lines and notes; step 10 right of x 400.
constexpr int32_t kIvLineFirstY = 257;
constexpr int32_t kIvLineStep = 19;
constexpr int32_t kIvNoteY = 490;
constexpr int32_t kIvInputNoteY = 186;
constexpr int32_t kIvHitColumns[3] = {kStepTenX + 10, kStepTenX + 100, kStepTenX + 140};

const char* const kItemRows[kPowerItemCount] = {texts::kTextItemNone,   texts::kTextItemWeight, texts::kTextItemBracer,
                                               texts::kTextItemBelt,   texts::kTextItemAnklet, texts::kTextItemLens,
                                               texts::kTextItemBand};

void createStatRow(AppState& app, ControlHandle (&edits)[kStatCount], int32_t firstId, int32_t y) {
  for (int i = 0; i < kStatCount; ++i)
    edits[i] = createControl(app, ControlKind::kPlainEdit, firstId + i, kStatColumnX + kStatColumnStep * i, y, 35, 22);
}

ControlHandle createItemCombo(AppState& app, int32_t id, int32_t y, int32_t selected) {
  ControlHandle combo = platformCreateControl(app, ControlKind::kDropDownList, id, ControlRect{kItemX, y, 160, 300}, "");
  for (const char* row : kItemRows) platformAddListRow(combo, row);
  platformSelectListRow(combo, selected);
  return combo;
}

// Items are HGSS only: with DPPt both lists are greyed out.
void enableItems(AppState& app) {
  platformEnableControl(app.screen5.ivItemACombo, app.ivInputs.ivGameHgss != 0);
  platformEnableControl(app.screen5.ivItemBCombo, app.ivInputs.ivGameHgss != 0);
}

// The parents and ranges as the player last gave them (empty parents and
// 0..31 before), step 10's year, frames and delays as step 5 starts them.
void build(AppState& app) {
  app.screen5.ivGameCheck = createControl(app, ControlKind::kCheckBox, kCmdIvGame, 10, 24, 280, 28, texts::kTextIvGameCheck);
  platformSetChecked(app.screen5.ivGameCheck, app.ivInputs.ivGameHgss != 0);
  createStatRow(app, app.screen5.ivParentAEdits, kParentAEditFirstId, kRowY[0]);
  createStatRow(app, app.screen5.ivParentBEdits, kParentBEditFirstId, kRowY[1]);
  createStatRow(app, app.screen5.ivMinEdits, kMinEditFirstId, kRowY[2]);
  createStatRow(app, app.screen5.ivMaxEdits, kMaxEditFirstId, kRowY[3]);
  for (int i = 0; i < kStatCount; ++i) {
    if (app.ivInputs.ivInputsSet != 0) {
      setNumberText(app, app.screen5.ivParentAEdits[i], app.ivInputs.ivParentA[i]);
      setNumberText(app, app.screen5.ivParentBEdits[i], app.ivInputs.ivParentB[i]);
    }
    setNumberText(app, app.screen5.ivMinEdits[i], app.ivInputs.ivInputsSet != 0 ? app.ivInputs.ivWanted[i].low : 0);
    setNumberText(app, app.screen5.ivMaxEdits[i], app.ivInputs.ivInputsSet != 0 ? app.ivInputs.ivWanted[i].high : 31);
  }
  app.screen5.ivItemACombo = createItemCombo(app, kItemAComboId, kRowY[0], static_cast<int32_t>(app.ivInputs.ivItemA));
  app.screen5.ivItemBCombo = createItemCombo(app, kItemBComboId, kRowY[1], static_cast<int32_t>(app.ivInputs.ivItemB));
  enableItems(app);

  app.screen5.ivSeedEdit = createControl(app, ControlKind::kPlainEdit, kIvSeedEditId, 80, 207, 100, 22);
  app.screen5.ivFrameCountEdit = createControl(app, ControlKind::kPlainEdit, kIvFrameCountEditId, 190, 207, 60, 22);
  setNumberText(app, app.screen5.ivFrameCountEdit, kDefaultIvFrameCount);
  app.screen5.ivListButton =
      createControl(app, ControlKind::kFramedPushButton, kCmdIvList, 320, 207, 60, 22, texts::kTextOutputButton);

  int32_t year = app.ivSearch.status != SearchStatus::kIdle ? app.ivSearch.year : thisYear();
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d", year);
  app.screen5.ivYearEdit = createControl(app, ControlKind::kPlainEdit, kIvYearEditId, kStepTenX + 35, 207, 45, 22, app.scratch.textBuffer);
  app.screen5.ivMaxFrameEdit = createControl(app, ControlKind::kPlainEdit, kIvMaxFrameEditId, kStepTenX + 90, 207, 40, 22);
  setNumberText(app, app.screen5.ivMaxFrameEdit, kDefaultIvSearchFrames);
  app.screen5.ivDelayMinEdit = createControl(app, ControlKind::kPlainEdit, kIvDelayMinEditId, kStepTenX + 50, 232, 50, 22, "300");
  app.screen5.ivDelayMaxEdit =
      createControl(app, ControlKind::kPlainEdit, kIvDelayMaxEditId, kStepTenX + 120, 232, 50, 22, "9999");
  app.screen5.ivSearchButton = createControl(app, ControlKind::kFramedPushButton, kCmdIvSearch, kStepTenX + 180, 232, 55, 22,
                                     texts::kTextEggSearchButton);
  app.screen5.ivSearchStopButton = createControl(app, ControlKind::kFramedPushButton, kCmdIvSearchStop, kStepTenX + 240, 232,
                                         50, 22, texts::kTextEggSearchStopButton);
  searchPanelCreateHitButtons(app, kIvSearchPanel);
}

void tearDown(AppState& app) {
  platformDestroyControl(app.screen5.ivGameCheck);
  for (ControlHandle (*row)[kStatCount] : {&app.screen5.ivParentAEdits, &app.screen5.ivParentBEdits, &app.screen5.ivMinEdits, &app.screen5.ivMaxEdits})
    for (ControlHandle& h : *row) platformDestroyControl(h);
  platformDestroyControl(app.screen5.ivItemACombo);
  platformDestroyControl(app.screen5.ivItemBCombo);
  platformDestroyControl(app.screen5.ivSeedEdit);
  platformDestroyControl(app.screen5.ivFrameCountEdit);
  platformDestroyControl(app.screen5.ivListButton);
  platformDestroyControl(app.screen5.ivYearEdit);
  platformDestroyControl(app.screen5.ivMaxFrameEdit);
  platformDestroyControl(app.screen5.ivDelayMinEdit);
  platformDestroyControl(app.screen5.ivDelayMaxEdit);
  platformDestroyControl(app.screen5.ivSearchButton);
  platformDestroyControl(app.screen5.ivSearchStopButton);
  searchPanelDestroyHitButtons(app, kIvSearchPanel);
}

// An IV of a row: 0..31, `fallback` when empty.
int32_t readIv(AppState& app, ControlHandle edit, const char* row, int32_t stat, int32_t fallback,
               char (&note)[kInputNoteBytes]) {
  char label[32];
  return readNumberField(app, edit, 0, 31, fallback, statFieldLabel(label, row, stat), note);
}

// The shared inputs into the note of the step that reads them: an IV that is
// not a number, or lies outside 0..31, is named and the value used shown; a
// range typed the wrong way round is turned round; items only with HGSS.
void readIvInputs(AppState& app, char (&note)[kInputNoteBytes]) {
  for (int i = 0; i < kStatCount; ++i) {
    app.ivInputs.ivParentA[i] = readIv(app, app.screen5.ivParentAEdits[i], texts::kTextParentA, i, 0, note);
    app.ivInputs.ivParentB[i] = readIv(app, app.screen5.ivParentBEdits[i], texts::kTextParentB, i, 0, note);
    int32_t low = readIv(app, app.screen5.ivMinEdits[i], texts::kTextIvLowest, i, 0, note);
    int32_t high = readIv(app, app.screen5.ivMaxEdits[i], texts::kTextIvHighest, i, 31, note);
    app.ivInputs.ivWanted[i] = low <= high ? IvRange{low, high} : IvRange{high, low};
  }
  app.ivInputs.ivItemA = static_cast<PowerItem>(clampTo(selectedOption(app.screen5.ivItemACombo), 0, kPowerItemCount - 1));
  app.ivInputs.ivItemB = static_cast<PowerItem>(clampTo(selectedOption(app.screen5.ivItemBCombo), 0, kPowerItemCount - 1));
  app.ivInputs.ivInputsSet = 1;
}

// ivs.txt: every line of the listing, whole or not at all, as result.txt.
// Its first lines go to AppState for the screen.
OutputResult writeIvFile(AppState& app, const EggIvListRequest& request) {
  EggIvLine first[kMaxShownIvLines];
  EggIvFileLines lines{first, kMaxShownIvLines, 0, 0};
  const OutputResult written = writeEggIvFile(kEggIvFileName, request, lines);
  app.ivList.ivLineCount = lines.firstCount;
  app.ivList.ivLineTotal = lines.total;
  for (int32_t i = 0; i < lines.firstCount; ++i) {
    app.ivList.ivLines[i].frame = first[i].frame;
    formatEggIvs(app.ivList.ivLines[i].ivs, first[i].ivs);
  }
  return written;
}

// 800 "HGSS": the items can be chosen only for HGSS.
void commandGame(AppState& app, int32_t) {
  app.ivInputs.ivGameHgss = platformIsChecked(app.screen5.ivGameCheck) ? 1 : 0;
  enableItems(app);
  platformInvalidate(app);
}

// 801 "出力": the IVs of the seed for n = 0..N-1 within the ranges, listed
// and written to ivs.txt, which opens when it was written whole. A seed that
// does not read is refused with a note: nothing is listed or written.
void commandList(AppState& app, int32_t) {
  char (&note)[kInputNoteBytes] = app.ivList.inputNote;
  note[0] = '\0';
  readIvInputs(app, note);
  EggIvListRequest request{};
  const bool readable = readSeedField(app, app.screen5.ivSeedEdit, texts::kTextFieldInitialSeed, note, request.seed);
  request.frameCount = readNumberField(app, app.screen5.ivFrameCountEdit, 1, kLargestIvFrameCount, kDefaultIvFrameCount,
                                       texts::kTextFieldFrames, note);
  if (!readable) {
    app.ivList.ivLineCount = -1;
    app.ivList.ivFileError = 0;
    platformInvalidate(app);
    return;
  }
  request.parents = ivParentsOf(app);
  for (int i = 0; i < kStatCount; ++i) request.ranges[i] = app.ivInputs.ivWanted[i];
  OutputResult written = writeIvFile(app, request);
  app.ivList.ivFileError = writeError(written);
  if (app.ivList.ivFileError == 0) platformOpenDocument(kEggIvFileName);
  platformInvalidate(app);
}

// 820 "検索": as step 5's, over the year's seeds for n < F, each field read
// as step 5 reads its own.
void commandSearch(AppState& app, int32_t) {
  if (app.ivSearch.status == SearchStatus::kRunning) return;
  char (&note)[kInputNoteBytes] = app.ivSearch.inputNote;
  note[0] = '\0';
  readIvInputs(app, note);
  SearchRequest search{};
  EggIvSearchRequest& request = search.ivs;
  request.window.year = readYearField(app, app.screen5.ivYearEdit, note);
  request.frameCount = readNumberField(app, app.screen5.ivMaxFrameEdit, 1, kLargestIvSearchFrame, kDefaultIvSearchFrames,
                                       texts::kTextFieldFrames, note);
  readDelayFields(app, app.screen5.ivDelayMinEdit, app.screen5.ivDelayMaxEdit, note, request.window.delayMin,
                  request.window.delayMax);
  request.window.hourMask = kEveryHour;
  request.parents = ivParentsOf(app);
  for (int i = 0; i < kStatCount; ++i) request.ranges[i] = app.ivInputs.ivWanted[i];
  request.kernel = YearSearchKernel::Auto;
  searchPanelStart(app, kIvSearchPanel, search);
}

// 821 "中止" (see searchPanelStop).
void commandSearchStop(AppState& app, int32_t) { searchPanelStop(app, kIvSearchPanel); }

// 840..847 "日時へ": the hit's seed and the search's year go to step 6.
void commandHit(AppState& app, int32_t id) {
  int32_t slot = id - kCmdFirstIvHit;
  if (slot >= app.ivSearch.hitCount) return;
  showSeedMoments(app, app.ivSearch.hits[slot].seed, app.ivSearch.year);
  app.moments.handOverFromHit = 0;
  platformInvalidate(app);
}

void paintNotes(AppState& app, PaintSurface s) {
  // Step 9's note on the free line under the shared rows, above its seed.
  if (app.ivList.inputNote[0] != '\0') platformPaintText(s, 10, kIvInputNoteY, app.ivList.inputNote);
  if (app.ivList.ivFileError != 0) {
    formatWriteFailure(app, texts::kTextIvFileNotWritten, app.ivList.ivFileError);
    platformPaintText(s, 10, kIvNoteY + 18, app.scratch.textBuffer);
  }
  searchPanelPaintNotes(app, s, kIvSearchPanel);
}

void paint(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep9Title);
  for (int i = 0; i < kStatCount; ++i) platformPaintText(s, kStatColumnX + 12 + kStatColumnStep * i, 55, kStatLabels[i]);
  platformPaintText(s, kItemX, 55, texts::kTextIvItem);
  const char* rowLabels[4] = {texts::kTextParentA, texts::kTextParentB, texts::kTextIvLowest, texts::kTextIvHighest};
  for (int r = 0; r < 4; ++r) platformPaintText(s, 10, kRowY[r] + 2, rowLabels[r]);
  platformPaintLine(s, 0, 180, 800, 180);
  platformPaintLine(s, kStepTenX, 180, kStepTenX, 600);

  platformPaintText(s, 10, 209, texts::kTextInitialSeed);
  platformPaintText(s, 253, 209, texts::kTextFrameUnit);
  platformPaintText(s, 10, 237, texts::kTextIvFrameHeader);
  platformPaintText(s, 70, 237, texts::kTextIvIvsHeader);
  if (app.ivList.ivLineCount == 0) platformPaintText(s, 10, kIvLineFirstY, texts::kTextNoCandidate);
  for (int i = 0; i < app.ivList.ivLineCount && i < kMaxShownIvLines; ++i) {
    platformPaintText(s, 10, kIvLineFirstY + kIvLineStep * i, formatted(app, "%d", app.ivList.ivLines[i].frame));
    platformPaintText(s, 70, kIvLineFirstY + kIvLineStep * i, app.ivList.ivLines[i].ivs);
  }
  if (app.ivList.ivLineCount >= 0 && app.ivList.ivFileError == 0)
    platformPaintText(s, 10, kIvNoteY, formatted(app, texts::kTextIvLinesInFile, app.ivList.ivLineTotal));

  platformPaintText(s, kStepTenX + 5, 185, texts::kTextStep10Title);
  platformPaintText(s, kStepTenX + 10, 209, texts::kTextYear);
  platformPaintText(s, kStepTenX + 133, 209, texts::kTextFrameUnit);
  platformPaintText(s, kStepTenX + 10, 234, texts::kTextDelayLabel);
  platformPaintText(s, kStepTenX + 104, 234, texts::kTextRangeDash);
  searchPanelPaintStatus(app, s, kIvSearchPanel);
  platformPaintText(s, kIvHitColumns[0], 262, texts::kTextHitSeedHeader);
  platformPaintText(s, kIvHitColumns[1], 262, texts::kTextIvFrameHeader);
  platformPaintText(s, kIvHitColumns[2], 262, texts::kTextIvIvsHeader);
  if (app.ivSearch.hitCount == 0) platformPaintText(s, kIvHitColumns[0], kIvHitFirstY + 2, texts::kTextNoCandidate);
  for (int i = 0; i < app.ivSearch.hitCount && i < kMaxShownIvHits; ++i) {
    const SearchHit& hit = app.ivSearch.hits[i];
    int32_t y = kIvHitFirstY + 2 + kIvHitLineStep * i;
    platformPaintText(s, kIvHitColumns[0], y, formatted(app, "0x%08X", static_cast<int32_t>(hit.seed)));
    platformPaintText(s, kIvHitColumns[1], y, formatted(app, "%d", hit.frame));
    platformPaintText(s, kIvHitColumns[2], y, hit.ivs);
  }
  paintNotes(app, s);
}

// No listing and no search yet.
void start(AppState& app, const char*) {
  app.ivList.ivLineCount = -1;
  app.ivSearch.hitCount = -1;
}

constexpr ScreenCommand kCommands[] = {
    {kCmdIvGame, kCmdIvGame, commandGame},
    {kCmdIvList, kCmdIvList, commandList},
    {kCmdIvSearch, kCmdIvSearch, commandSearch},
    {kCmdIvSearchStop, kCmdIvSearchStop, commandSearchStop},
    {kCmdFirstIvHit, kCmdFirstIvHit + kMaxShownIvHits - 1, commandHit},
};

}  // namespace

EggParents ivParentsOf(const AppState& app) {
  EggParents parents{};
  parents.game = app.ivInputs.ivGameHgss != 0 ? EggGame::kHgss : EggGame::kDppt;
  for (int i = 0; i < kStatCount; ++i) {
    parents.ivsA[i] = app.ivInputs.ivParentA[i];
    parents.ivsB[i] = app.ivInputs.ivParentB[i];
  }
  parents.itemA = app.ivInputs.ivGameHgss != 0 ? app.ivInputs.ivItemA : PowerItem::kNone;
  parents.itemB = app.ivInputs.ivGameHgss != 0 ? app.ivInputs.ivItemB : PowerItem::kNone;
  return parents;
}

const Screen kScreenSteps910{
    .mode = ScreenMode::kFive,
    .menuId = kCmdScreenFive,
    .start = start,
    .build = build,
    .tearDown = tearDown,
    .paint = paint,
    .commands = kCommands,
    .commandCount = static_cast<int32_t>(std::size(kCommands)),
    .tickPeriod = [](const AppState& app) { return searchPanelTickPeriod(app, kIvSearchPanel); },
    .tick = [](AppState& app) { searchPanelTick(app, kIvSearchPanel); },
    .close = [](AppState& app) { searchPanelClose(app, kIvSearchPanel); },
};
