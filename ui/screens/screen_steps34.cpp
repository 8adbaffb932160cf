// Screen 2: step 3 (the initial seed's candidates) on the left of the line at
// x 400, step 4 (the egg PID list into result.txt) on its right.
#include <cstdio>
#include <iterator>

#include "core/egg_list.h"
#include "core/seed_backtrack.h"
#include "data/output_file.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_common.h"
#include "ui/shell.h"

namespace {

constexpr char kResultFile[] = "result.txt";

constexpr int32_t kCurrentSeedEditId = 210;
constexpr int32_t kHourEditId = 211;
constexpr int32_t kStepLimitEditId = 211;  // shares its id with the hour edit; only handles tell them apart
constexpr int32_t kTidEditId = 300;
constexpr int32_t kSidEditId = 301;
constexpr int32_t kInitialSeedEditId = 302;
constexpr int32_t kMarriageCheckId = 303;
constexpr int32_t kFrameCountEditId = 305;
constexpr int32_t kShinyOnlyCheckId = 306;
constexpr int32_t kNatureFilterComboId = 307;  // 307..309: nature, gender, ability
constexpr int32_t kEverstoneCheckId = 312;  // 312, 313: the tick and its nature
constexpr int32_t kSeedResultEditFirstId = 240;

// Step 3 has no seed list (AppState.seeds.seedCandidateCount -1); step 4's
// ID edits show the TID and SID last used.
void build(AppState& app) {
  app.screen2.currentSeedEdit = createControl(app, ControlKind::kPlainEdit, kCurrentSeedEditId, 85, 25, 120, 22);
  app.screen2.hourEdit = createControl(app, ControlKind::kPlainEdit, kHourEditId, 85, 50, 20, 22, "12");
  app.screen2.seedSearchButton = createControl(app, ControlKind::kFramedPushButton, kCmdSeedSearch, 135, 50, 180, 22,
                                       texts::kTextSeedSearchButton);
  app.screen2.stepLimitEdit = createControl(app, ControlKind::kPlainEdit, kStepLimitEditId, 250, 25, 40, 22, "1000");
  app.screen2.tidEdit = createControl(app, ControlKind::kPlainEdit, kTidEditId, 458, 52, 50, 22);
  app.screen2.sidEdit = createControl(app, ControlKind::kPlainEdit, kSidEditId, 563, 52, 50, 22);
  if (app.ids.idsKnown != 0) {
    setNumberText(app, app.screen2.tidEdit, app.ids.lastTid);
    setNumberText(app, app.screen2.sidEdit, app.ids.lastSid);
  }
  app.screen2.initialSeedEdit = createControl(app, ControlKind::kPlainEdit, kInitialSeedEditId, 490, 27, 120, 22);
  app.screen2.marriageCheck =
      createControl(app, ControlKind::kCheckBox, kMarriageCheckId, 415, 80, 100, 30, texts::kTextMarriageCheck);
  app.screen2.outputButton =
      createControl(app, ControlKind::kFramedPushButton, kCmdOutput, 530, 230, 50, 22, texts::kTextOutputButton);
  app.screen2.frameCountEdit = createControl(app, ControlKind::kPlainEdit, kFrameCountEditId, 415, 230, 60, 22, "50000");
  app.screen2.shinyOnlyCheck =
      createControl(app, ControlKind::kCheckBox, kShinyOnlyCheckId, 530, 80, 100, 30, texts::kTextShinyOnlyCheck);

  createFilterLists(app, kNatureFilterComboId, {{460, 130, 120, 300}, {460, 160, 120, 300}, {460, 190, 120, 300}},
                    app.screen2.natureFilterCombo, app.screen2.genderFilterCombo, app.screen2.abilityFilterCombo);
  createEverstoneControls(app, kEverstoneCheckId, {600, 127, 150, 28}, {620, 160, 110, 300}, 0, app.screen2.everstoneCheck,
                          app.screen2.everstoneCombo);

  app.seeds.seedCandidateCount = -1;
  app.eggList.resultFileError = 0;
}

void tearDown(AppState& app) {
  platformDestroyControl(app.screen2.currentSeedEdit);
  platformDestroyControl(app.screen2.hourEdit);
  platformDestroyControl(app.screen2.seedSearchButton);
  platformDestroyControl(app.screen2.stepLimitEdit);
  for (ControlHandle& h : app.screen2.seedResultEdits) platformDestroyControl(h);
  platformDestroyControl(app.screen2.tidEdit);
  platformDestroyControl(app.screen2.sidEdit);
  platformDestroyControl(app.screen2.outputButton);
  platformDestroyControl(app.screen2.marriageCheck);
  platformDestroyControl(app.screen2.frameCountEdit);
  platformDestroyControl(app.screen2.shinyOnlyCheck);
  platformDestroyControl(app.screen2.initialSeedEdit);
  platformDestroyControl(app.screen2.natureFilterCombo);
  platformDestroyControl(app.screen2.genderFilterCombo);
  platformDestroyControl(app.screen2.abilityFilterCombo);
  platformDestroyControl(app.screen2.everstoneCheck);
  platformDestroyControl(app.screen2.everstoneCombo);
}

// One plain edit per seed candidate, showing its seed as "0x%08X".
void createSeedResultEdits(AppState& app) {
  for (int i = 0; i < app.seeds.seedCandidateCount && i < kMaxSeedCandidates; ++i) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", app.seeds.seedCandidates[i].seed);
    app.screen2.seedResultEdits[i] = createControl(app, ControlKind::kPlainEdit, kSeedResultEditFirstId + i, 110, 100 + 25 * i,
                                           120, 22, app.scratch.textBuffer);
  }
}

void paint(AppState& app, PaintSurface s) {
  platformPaintText(s, 5, 5, texts::kTextStep3Title);
  platformPaintText(s, 10, 27, texts::kTextCurrentSeed);
  platformPaintText(s, 10, 52, texts::kTextRunHour);
  platformPaintText(s, 107, 52, texts::kTextHourUnit);
  platformPaintText(s, 292, 27, texts::kTextStepLimitUnit);
  platformPaintText(s, 15, 75, texts::kTextCandidates);
  platformPaintText(s, 405, 5, texts::kTextStep4Title);
  platformPaintText(s, 415, 30, texts::kTextInitialSeed);
  platformPaintText(s, 415, 55, texts::kTextTid);
  platformPaintText(s, 520, 55, texts::kTextSid);
  platformPaintText(s, 477, 230, texts::kTextFrameUnit);
  platformPaintText(s, 420, 132, texts::kTextNatureLabel);
  platformPaintText(s, 420, 162, texts::kTextGenderLabel);
  platformPaintText(s, 420, 192, texts::kTextAbilityLabel);
  for (int i = 0; i < app.seeds.seedCandidateCount && i < kMaxSeedCandidates; ++i)
    platformPaintText(s, 20, 100 + 25 * i, formatted(app, texts::kTextStepsBack, app.seeds.seedCandidates[i].stepIndex));
  platformPaintLine(s, 400, -1, 400, 600);
  if (app.eggList.resultFileError != 0) {
    formatWriteFailure(app, texts::kTextResultFileNotWritten, app.eggList.resultFileError);
    platformPaintText(s, 415, 262, app.scratch.textBuffer);
  }
}

// 220 "初期SEED候補を逆算".
void commandSeedSearch(AppState& app, int32_t) {
  int32_t stepLimit = readDecimalControl(app, app.screen2.stepLimitEdit, kReadStepLimitEdit);
  app.seeds.currentSeed = readSeedControl(app, app.screen2.currentSeedEdit, kReadSeedEdit);
  int32_t hour = readDecimalControl(app, app.screen2.hourEdit, kReadHourEdit);
  for (int i = 0; i < app.seeds.seedCandidateCount && i < kMaxSeedCandidates; ++i)
    platformDestroyControl(app.screen2.seedResultEdits[i]);
  backtrackInitialSeeds(app.seeds, stepLimit, hour);
  createSeedResultEdits(app);
  platformInvalidate(app);
}

// 304 "出力": the list is handed to the desktop only when the whole file was
// written; otherwise nothing is opened, an earlier result.txt is kept and a
// line under the button says why.
void commandOutput(AppState& app, int32_t) {
  EggListRequest request{};
  request.initialSeed = readSeedControl(app, app.screen2.initialSeedEdit, kReadSeedEdit);
  request.frameCount = readDecimalControl(app, app.screen2.frameCountEdit, kReadFrameCountEdit);
  request.tid = readDecimalControl(app, app.screen2.tidEdit, kReadIdEdit);
  request.sid = readDecimalControl(app, app.screen2.sidEdit, kReadIdEdit);
  request.internationalMarriage = platformIsChecked(app.screen2.marriageCheck);
  request.shinyOnly = platformIsChecked(app.screen2.shinyOnlyCheck);
  request.natureChoice = platformSelectedListRow(app.screen2.natureFilterCombo);
  request.genderChoice = platformSelectedListRow(app.screen2.genderFilterCombo);
  request.abilityChoice = platformSelectedListRow(app.screen2.abilityFilterCombo);
  request.everstoneNature = everstoneChoiceOf(app.screen2.everstoneCheck, app.screen2.everstoneCombo) - 1;
  app.ids.lastTid = request.tid;
  app.ids.lastSid = request.sid;
  app.ids.idsKnown = 1;
  const int32_t before = app.eggList.resultFileError;
  app.eggList.resultFileError = writeError(writeEggPidListFile(app.eggList, request, kResultFile));
  if (app.eggList.resultFileError == 0) platformOpenDocument(kResultFile);
  if (app.eggList.resultFileError != before) platformInvalidate(app);
}

// No current seed yet.
void start(AppState& app, const char*) { app.seeds.currentSeed = 0; }

constexpr ScreenCommand kCommands[] = {
    {kCmdSeedSearch, kCmdSeedSearch, commandSeedSearch},
    {kCmdOutput, kCmdOutput, commandOutput},
};

}  // namespace

const Screen kScreenSteps34{
    .mode = ScreenMode::kTwo,
    .menuId = kCmdScreenTwo,
    .start = start,
    .build = build,
    .tearDown = tearDown,
    .paint = paint,
    .commands = kCommands,
    .commandCount = static_cast<int32_t>(std::size(kCommands)),
};
