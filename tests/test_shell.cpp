// The window's command routing and its preconditions, over the fake backend.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

#include "tests/shell_fixture.h"

namespace {

struct ExpectedControl {
  ControlKind kind;
  int32_t id;
  int32_t x, y, w, h;
  std::string caption;  // UTF-8
};

void expectControls(const std::vector<ControlHandle>& handles, const std::vector<ExpectedControl>& expected) {
  ASSERT_EQ(handles.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const FakeControl& c = fakeControl(handles[i]);
    const ExpectedControl& e = expected[i];
    SCOPED_TRACE(testing::Message() << "control " << i << " id " << e.id);
    EXPECT_EQ(c.kind, e.kind);
    EXPECT_EQ(c.id, e.id);
    EXPECT_EQ(std::tie(c.rect.x, c.rect.y, c.rect.width, c.rect.height), std::tie(e.x, e.y, e.w, e.h));
    EXPECT_EQ(c.text, sj(e.caption));
  }
}

constexpr ControlKind kTab = ControlKind::kTabStopEdit;
constexpr ControlKind kPlain = ControlKind::kPlainEdit;
constexpr ControlKind kPush = ControlKind::kPushButton;
constexpr ControlKind kFramed = ControlKind::kFramedPushButton;
constexpr ControlKind kCheck = ControlKind::kCheckBox;
constexpr ControlKind kList = ControlKind::kDropDownList;

const std::vector<ExpectedControl> kScreenOneControls = {
    {kTab, 161, 140, 5, 90, 22, ""},
    {kPush, 162, 240, 6, 110, 20, "種族値を↓に"},
    {kTab, 101, 132, 35, 30, 22, "45"},
    {kTab, 102, 182, 35, 30, 22, "49"},
    {kTab, 103, 232, 35, 30, 22, "49"},
    {kTab, 104, 282, 35, 30, 22, "45"},
    {kTab, 105, 332, 35, 30, 22, "65"},
    {kTab, 106, 382, 35, 30, 22, "65"},
    {kTab, 110, 82, 60, 30, 22, ""},
    {kTab, 111, 132, 60, 30, 22, ""},
    {kTab, 112, 182, 60, 30, 22, ""},
    {kTab, 113, 232, 60, 30, 22, ""},
    {kTab, 114, 282, 60, 30, 22, ""},
    {kTab, 115, 332, 60, 30, 22, ""},
    {kTab, 116, 382, 60, 30, 22, ""},
    {kList, 120, 430, 60, 120, 300, ""},
    {kPush, 10, 450, 30, 80, 20, "リセット"},
    {kPush, 130, 10, 85, 40, 20, "追加"},
    {kPush, 132, 560, 185, 160, 20, "↑の個体値で逆算"},
    {kPush, 133, 740, 185, 40, 20, "入力"},
};

const std::vector<ExpectedControl> kScreenTwoControls = {
    {kPlain, 210, 85, 25, 120, 22, ""},
    {kPlain, 211, 85, 50, 20, 22, "12"},
    {kFramed, 220, 135, 50, 180, 22, "初期SEED候補を逆算"},
    {kPlain, 211, 250, 25, 40, 22, "1000"},
    {kPlain, 300, 458, 52, 50, 22, ""},
    {kPlain, 301, 563, 52, 50, 22, ""},
    {kPlain, 302, 490, 27, 120, 22, ""},
    {kCheck, 303, 415, 80, 100, 30, "国際結婚"},
    {kFramed, 304, 530, 230, 50, 22, "出力"},
    {kPlain, 305, 415, 230, 60, 22, "50000"},
    {kCheck, 306, 530, 80, 100, 30, "色違いのみ"},
    {kList, 307, 460, 130, 120, 300, ""},
    {kList, 308, 460, 160, 120, 300, ""},
    {kList, 309, 460, 190, 120, 300, ""},
    // The Everstone's tick and nature, beside the filters.
    {kCheck, 312, 600, 127, 150, 28, "かわらずのいし"},
    {kList, 313, 620, 160, 110, 300, ""},
};

std::vector<std::string> sjRows(const std::vector<std::string>& utf8) {
  std::vector<std::string> out;
  for (const std::string& s : utf8) out.push_back(sj(s));
  return out;
}

const std::vector<std::string> kNatureNamesUtf8 = {
    "がんばりや", "さみしがり", "ゆうかん", "いじっぱり", "やんちゃ",   "ずぶとい", "すなお",
    "のんき",     "わんぱく",   "のうてんき", "おくびょう", "せっかち",   "まじめ",   "ようき",
    "むじゃき",   "ひかえめ",   "おっとり", "れいせい",   "てれや",     "うっかりや", "おだやか",
    "おとなしい", "なまいき",   "しんちょう", "きまぐれ"};

// --- start-up and screens -----------------------------------------------------

TEST_F(ShellTest, StartShowsScreenOneWithTheDefaultsAndNoLists) {
  start();
  EXPECT_EQ(app().screenMode, ScreenMode::kOne);
  EXPECT_EQ(app().seeds.currentSeed, 0u);
  EXPECT_EQ(app().measure.measurementCount, 0);
  EXPECT_EQ(app().pids.pidCandidateCount, -1);
  EXPECT_EQ(app().measure.natureIndex, 0);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(app().measure.ivRanges[i].low, 0);
    EXPECT_EQ(app().measure.ivRanges[i].high, 31);
  }
  expectControls(fakeLiveControls(), kScreenOneControls);
  const FakeControl& natures = fakeControl(app().screen1.natureCombo);
  EXPECT_EQ(natures.rows, sjRows(kNatureNamesUtf8));
  EXPECT_EQ(natures.selected, 0);
  // The handles in AppState are those of the controls.
  EXPECT_EQ(fakeControl(app().screen1.searchButton).id, 132);
  EXPECT_EQ(fakeControl(app().screen1.baseStatEdits[5]).id, 106);
  EXPECT_EQ(fakeControl(app().screen1.statEdits[0]).id, 111);
}

TEST_F(ShellTest, MissingDataFilesShowZerosAndFindNothingTyped) {
  std::filesystem::remove(dir_ / "default.txt");
  std::filesystem::remove(dir_ / "pokemon.dat");
  start();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(text(app().screen1.baseStatEdits[i]), "0");
  type(app().screen1.speciesEdit, "ミュウ");
  type(app().screen1.baseStatEdits[0], "77");
  command(kCmdSpecies);
  EXPECT_EQ(text(app().screen1.baseStatEdits[0]), "77");
}

TEST_F(ShellTest, MenuSwitchesScreensAndTheShownScreensEntryDoesNothing) {
  start();
  std::size_t created = fake().controls.size();
  int invalidations = fake().invalidations;
  command(kCmdScreenOne);  // already on screen 1
  EXPECT_EQ(fake().controls.size(), created);
  EXPECT_EQ(fake().invalidations, invalidations);
  EXPECT_EQ(app().screenMode, ScreenMode::kOne);

  command(kCmdScreenTwo);
  EXPECT_EQ(app().screenMode, ScreenMode::kTwo);
  EXPECT_EQ(fake().invalidations, invalidations + 1);
  expectControls(fakeLiveControls(), kScreenTwoControls);
  EXPECT_EQ(app().seeds.seedCandidateCount, -1);
  EXPECT_EQ(app().pids.pidCandidateCount, -1);
  // Screen 1's handles were cleared when its controls were destroyed.
  EXPECT_EQ(app().screen1.speciesEdit, 0);
  EXPECT_EQ(app().screen1.natureCombo, 0);
  for (ControlHandle h : app().screen1.baseStatEdits) EXPECT_EQ(h, 0);
  EXPECT_EQ(fakeControl(app().screen2.natureFilterCombo).rows,
            [] {
              std::vector<std::string> rows = {sj("指定しない")};
              for (const std::string& s : sjRows(kNatureNamesUtf8)) rows.push_back(s);
              return rows;
            }());
  EXPECT_EQ(fakeControl(app().screen2.genderFilterCombo).rows,
            sjRows({"指定しない", "♂(1/2)", "♀(1/2)", "♂(7/8)", "♀(1/8)", "♂(3/4)", "♀(1/4)", "♂(1/4)", "♀(3/4)"}));
  EXPECT_EQ(fakeControl(app().screen2.abilityFilterCombo).rows, sjRows({"指定しない", "特性1", "特性2"}));
  for (ControlHandle h : {app().screen2.natureFilterCombo, app().screen2.genderFilterCombo, app().screen2.abilityFilterCombo})
    EXPECT_EQ(fakeControl(h).selected, 0);

  created = fake().controls.size();
  command(kCmdScreenTwo);  // already on screen 2
  EXPECT_EQ(fake().controls.size(), created);

  type(app().screen2.hourEdit, "5");
  command(kCmdScreenOne);
  EXPECT_EQ(app().screenMode, ScreenMode::kOne);
  expectControls(fakeLiveControls(), kScreenOneControls);
  EXPECT_EQ(app().screen2.hourEdit, 0);
  command(kCmdScreenTwo);
  EXPECT_EQ(text(app().screen2.hourEdit), "12");  // a rebuilt screen starts from its initial texts
}

// Enter and Escape reach the Win32 window as ids 1 and 2; edits and lists
// (161, 120) send no clicks; 220 and 304 belong to screen 2.
TEST_F(ShellTest, EnterEscapeAndUnknownIdsDoNothing) {
  start();
  for (int i = 0; i < 6; ++i) type(app().screen1.statEdits[i], "20");
  type(app().screen1.levelEdit, "5");
  std::size_t created = fake().controls.size();
  for (int32_t id : {1, 2, 0, -1, 161, 120, 999, 220, 304, 160, 65536 + 130}) command(id);
  EXPECT_EQ(app().measure.measurementCount, 0);
  EXPECT_EQ(app().screenMode, ScreenMode::kOne);
  EXPECT_EQ(fake().controls.size(), created);
  EXPECT_EQ(fake().invalidations, 0);
  EXPECT_TRUE(fake().reads.empty());
  EXPECT_TRUE(fake().openedDocuments.empty());
}

// --- step 1 -------------------------------------------------------------------

TEST_F(ShellTest, SpeciesLookupFillsTheBaseStatEditsOnly) {
  start();
  type(app().screen1.speciesEdit, "ミュウツー");
  command(kCmdSpecies);
  const char* expected[] = {"106", "110", "90", "130", "154", "90"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(text(app().screen1.baseStatEdits[i]), expected[i]);
  EXPECT_EQ(app().measure.baseStats[0], 45);  // the first measurement takes them, not the lookup
  EXPECT_EQ(fake().invalidations, 0);
  ASSERT_EQ(fake().reads.size(), 1u);
  EXPECT_EQ(fake().reads[0], app().screen1.speciesEdit);

  type(app().screen1.speciesEdit, "ミュ");  // not a name in the file
  command(kCmdSpecies);
  EXPECT_EQ(text(app().screen1.baseStatEdits[0]), "106");
}

TEST_F(ShellTest, SpeciesNameIsCutToTenBytes) {
  start();
  // Six double-byte characters: only the first five (10 bytes) are compared,
  // and "ミュウツー" is exactly those five.
  type(app().screen1.speciesEdit, "ミュウツーX");
  command(kCmdSpecies);
  EXPECT_EQ(text(app().screen1.baseStatEdits[0]), "106");
  type(app().screen1.speciesEdit, "ミュウツーあ");
  command(kCmdSpecies);
  EXPECT_EQ(text(app().screen1.baseStatEdits[0]), "106");
}

TEST_F(ShellTest, FirstMeasurementTakesTheInputsAndRemovesBaseStatEditsAndNatureList) {
  start();
  type(app().screen1.baseStatEdits[0], "45");
  fakeControl(app().screen1.natureCombo).selected = 3;
  ControlHandle oldNature = app().screen1.natureCombo;
  ControlHandle oldBase = app().screen1.baseStatEdits[2];
  measure(5, {20, 0, 0, 0, 0, 0});
  EXPECT_EQ(app().measure.measurementCount, 1);
  EXPECT_EQ(app().measure.natureIndex, 3);
  EXPECT_EQ(app().measure.measurements[0].level, 5);
  EXPECT_EQ(app().measure.measurements[0].stats[0], 20);
  // HP base 45 at level 5: IVs 10..29 give 20; level 6 first tells them apart.
  EXPECT_EQ(app().measure.ivRanges[0].low, 10);
  EXPECT_EQ(app().measure.ivRanges[0].high, 29);
  EXPECT_EQ(app().measure.narrowLevels[0], 6);
  EXPECT_FALSE(alive(oldNature));
  EXPECT_FALSE(alive(oldBase));
  EXPECT_EQ(app().screen1.natureCombo, 0);
  for (ControlHandle h : app().screen1.baseStatEdits) EXPECT_EQ(h, 0);
  EXPECT_EQ(fake().invalidations, 1);

  measure(6, {22, 0, 0, 0, 0, 0});
  EXPECT_EQ(app().measure.measurementCount, 2);
  EXPECT_EQ(app().measure.ivRanges[0].low, 10);
  EXPECT_EQ(app().measure.ivRanges[0].high, 26);
  EXPECT_EQ(app().measure.narrowLevels[0], 7);
  EXPECT_EQ(fake().invalidations, 2);
}

TEST_F(ShellTest, ThreeCharactersOfEachStatEditAreRead) {
  start();
  type(app().screen1.baseStatEdits[0], "  45");  // reads "  4"
  measure(100, {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(app().measure.baseStats[0], 4);
  type(app().screen1.levelEdit, "1005");
  command(kCmdAdd);
  EXPECT_EQ(app().measure.measurements[1].level, 100);
}

TEST_F(ShellTest, FixedStatsAreNotReadByLaterMeasurements) {
  start();
  // Level 100, base 45: HP is 200 + IV and Speed 95 + IV, so 210 and 115 fix
  // H at 10 and S at 20; the zeros match no IV and leave the others open.
  measure(100, {210, 0, 0, 115, 0, 0});
  ASSERT_EQ(app().measure.ivRanges[0].low, 10);
  ASSERT_EQ(app().measure.ivRanges[0].high, 10);
  ASSERT_EQ(app().measure.ivRanges[3].low, 20);
  ASSERT_EQ(app().measure.ivRanges[3].high, 20);
  EXPECT_EQ(app().measure.narrowLevels[0], 0);
  EXPECT_EQ(app().measure.narrowLevels[3], 0);

  fake().reads.clear();
  measure(50, {1, 1, 1, 1, 1, 1});
  std::vector<ControlHandle> expected = {app().screen1.levelEdit, app().screen1.statEdits[1], app().screen1.statEdits[2],
                                         app().screen1.statEdits[4], app().screen1.statEdits[5]};
  EXPECT_EQ(fake().reads, expected);
  EXPECT_EQ(app().measure.measurements[1].level, 50);
  EXPECT_EQ(app().measure.measurements[1].stats[0], -1);
  EXPECT_EQ(app().measure.measurements[1].stats[3], -1);
  EXPECT_EQ(app().measure.measurements[1].stats[1], 1);
}

TEST_F(ShellTest, TheTwentyFirstAddOnlyRepaints) {
  start();
  for (int m = 0; m < 20; ++m) measure(5 + m, {0, 0, 0, 0, 0, 0});
  ASSERT_EQ(app().measure.measurementCount, 20);
  std::size_t reads = fake().reads.size();
  int invalidations = fake().invalidations;
  measure(90, {1, 1, 1, 1, 1, 1});
  EXPECT_EQ(app().measure.measurementCount, 20);
  EXPECT_EQ(app().measure.measurements[19].level, 24);
  EXPECT_EQ(fake().reads.size(), reads);
  EXPECT_EQ(fake().invalidations, invalidations + 1);
}

TEST_F(ShellTest, ResetBeforeAnyMeasurementDoesNothing) {
  start();
  std::size_t created = fake().controls.size();
  command(kCmdReset);
  EXPECT_EQ(fake().controls.size(), created);
  EXPECT_EQ(fake().invalidations, 0);
}

TEST_F(ShellTest, ResetRecreatesTheInputsAsPlainEditsWithTheMeasuredValues) {
  start();
  type(app().screen1.baseStatEdits[1], "80");
  fakeControl(app().screen1.natureCombo).selected = 7;
  type(app().screen1.speciesEdit, "x");
  measure(100, {210, 0, 0, 115, 0, 0});
  command(kCmdReset);
  EXPECT_EQ(app().measure.measurementCount, 0);
  EXPECT_EQ(app().pids.pidCandidateCount, -1);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(app().measure.ivRanges[i].low, 0);
    EXPECT_EQ(app().measure.ivRanges[i].high, 31);
    EXPECT_EQ(app().measure.narrowLevels[i], 0);
  }
  const char* expectedBase[] = {"45", "80", "49", "45", "65", "65"};
  for (int i = 0; i < 6; ++i) {
    const FakeControl& c = fakeControl(app().screen1.baseStatEdits[i]);
    EXPECT_TRUE(c.alive);
    EXPECT_EQ(c.kind, ControlKind::kPlainEdit);  // skipped by Tab from now on
    EXPECT_EQ(c.id, 101 + i);
    EXPECT_EQ(c.rect.x, 132 + 50 * i);
    EXPECT_EQ(c.rect.y, 35);
    EXPECT_EQ(c.text, expectedBase[i]);
  }
  const FakeControl& natures = fakeControl(app().screen1.natureCombo);
  EXPECT_EQ(natures.kind, ControlKind::kDropDownList);
  EXPECT_EQ(natures.id, 120);
  EXPECT_EQ(natures.rows.size(), 25u);
  EXPECT_EQ(natures.selected, 7);
  EXPECT_EQ(fakeControl(app().screen1.levelEdit).kind, ControlKind::kTabStopEdit);
  EXPECT_EQ(text(app().screen1.levelEdit), "100");  // level and stats keep their texts
  EXPECT_EQ(text(app().screen1.statEdits[0]), "210");
  EXPECT_EQ(text(app().screen1.speciesEdit), "x");
}

// --- step 2 -------------------------------------------------------------------

// Fixes the six IVs of the fixed-search example through the IV dialog, with
// nature 15 chosen in the nature list.
void fixIvsThroughTheDialog(AppState& app) {
  fakeControl(app.screen1.natureCombo).selected = 15;
  fake().dialogInput = [](AppState& a, ControlHandle) {
    const char* ivs[] = {"10", "12", "22", "0", "7", "29"};
    for (int i = 0; i < 6; ++i) fakeType(a.ivDialog.ivDialogEdits[i], ivs[i]);
  };
  fake().dialogOutcome = DialogOutcome::kOk;
  shellCommand(app, kCmdIvEntry);
}

TEST_F(ShellTest, SearchWithOpenRangesAndNoMeasurementLeavesTheOldListAndButtons) {
  start();
  fixIvsThroughTheDialog(app());
  command(kCmdSearch);
  ASSERT_EQ(app().pids.pidCandidateCount, 1);
  ControlHandle button = app().screen1.candidateButtons[0];
  command(kCmdReset);  // open ranges, no measurement, list hidden, button kept
  ASSERT_TRUE(alive(button));
  fakeControl(app().screen1.natureCombo).selected = 9;
  std::size_t created = fake().controls.size();
  int invalidations = fake().invalidations;
  command(kCmdSearch);
  EXPECT_EQ(app().measure.natureIndex, 9);  // the list is read before the precondition
  EXPECT_EQ(app().pids.pidCandidateCount, -1);
  EXPECT_TRUE(alive(button));
  EXPECT_EQ(app().screen1.candidateButtons[0], button);
  EXPECT_EQ(fake().controls.size(), created);
  EXPECT_EQ(fake().invalidations, invalidations);
}

TEST_F(ShellTest, FixedSearchMakesOneButtonPerCandidateAndReplacesTheLastSearch) {
  start();
  fixIvsThroughTheDialog(app());
  command(kCmdSearch);
  ASSERT_EQ(app().pids.pidCandidateCount, 1);
  EXPECT_EQ(app().pids.pidCandidates[0].pid, 0x84EA0B71u);
  EXPECT_EQ(app().pids.pidCandidates[0].currentSeed, 0x2684AD1Fu);
  const FakeControl& b = fakeControl(app().screen1.candidateButtons[0]);
  EXPECT_EQ(b.kind, ControlKind::kPushButton);
  EXPECT_EQ(b.id, 140);
  EXPECT_EQ(std::tie(b.rect.x, b.rect.y, b.rect.width, b.rect.height), std::make_tuple(670, 208, 120, 22));
  EXPECT_EQ(b.text, sj("この値で次へ"));
  ControlHandle first = app().screen1.candidateButtons[0];
  command(kCmdSearch);
  EXPECT_EQ(app().pids.pidCandidateCount, 1);
  EXPECT_FALSE(alive(first));
  EXPECT_TRUE(alive(app().screen1.candidateButtons[0]));
  int buttons = 0;
  for (ControlHandle h : fakeLiveControls()) buttons += fakeControl(h).id >= 140 && fakeControl(h).id <= 159;
  EXPECT_EQ(buttons, 1);
}

TEST_F(ShellTest, RangeSearchListsSixteenButMakesFifteenButtons) {
  start();
  measure(5, {0, 0, 0, 0, 0, 0});  // a measurement that fixes nothing
  app().measure.natureIndex = 15;
  IvRange ranges[6] = {{0, 31}, {0, 31}, {22, 22}, {0, 0}, {7, 7}, {29, 29}};
  for (int i = 0; i < 6; ++i) app().measure.ivRanges[i] = ranges[i];
  command(kCmdSearch);
  ASSERT_EQ(app().pids.pidCandidateCount, 16);
  EXPECT_EQ(app().pids.pidCandidates[0].pid, 0x6A0A91EFu);
  EXPECT_EQ(app().pids.pidCandidates[15].pid, 0xD68976E2u);
  for (int i = 0; i < 15; ++i) {
    ASSERT_TRUE(alive(app().screen1.candidateButtons[i])) << i;
    EXPECT_EQ(fakeControl(app().screen1.candidateButtons[i]).id, 140 + i);
    EXPECT_EQ(fakeControl(app().screen1.candidateButtons[i]).rect.y, 208 + 25 * i);
  }
  EXPECT_EQ(app().screen1.candidateButtons[15], 0);
  EXPECT_EQ(fakeFindLive(155), 0);
}

TEST_F(ShellTest, CandidateButtonAfterResetStillCarriesItsSeedToStepThree) {
  start();
  fixIvsThroughTheDialog(app());
  command(kCmdSearch);
  command(kCmdReset);
  ASSERT_EQ(app().pids.pidCandidateCount, -1);
  int invalidations = fake().invalidations;
  command(140);
  EXPECT_EQ(app().screenMode, ScreenMode::kTwo);
  EXPECT_EQ(app().seeds.currentSeed, 0x2684AD1Fu);
  EXPECT_EQ(text(app().screen2.currentSeedEdit), "0x2684AD1F");
  EXPECT_EQ(app().pids.pidCandidateCount, -1);
  EXPECT_EQ(app().seeds.seedCandidateCount, -1);
  EXPECT_EQ(fake().invalidations, invalidations + 1);
  std::vector<ControlHandle> liveNow = fakeLiveControls();
  ASSERT_EQ(liveNow.size(), kScreenTwoControls.size());  // screen 1, buttons included, is gone
  for (ControlHandle h : app().screen1.candidateButtons) EXPECT_EQ(h, 0);
}

TEST_F(ShellTest, CandidateSeedTextLeadsToUpperCaseHex) {
  start();
  app().pids.pidCandidates[3].currentSeed = 0x00ABCDEFu;  // a slot beyond the count is still read
  fixIvsThroughTheDialog(app());
  command(140 + 3);
  EXPECT_EQ(text(app().screen2.currentSeedEdit), "0x00ABCDEF");
}

// --- step 3 -------------------------------------------------------------------

TEST_F(ShellTest, SeedSearchReadsLimitSeedAndHourInOrderAndMakesResultEdits) {
  start();
  command(kCmdScreenTwo);
  type(app().screen2.currentSeedEdit, "0x2684AD1F");
  type(app().screen2.hourEdit, "523");  // two characters are read: 52
  fake().reads.clear();
  command(kCmdSeedSearch);
  std::vector<ControlHandle> order = {app().screen2.stepLimitEdit, app().screen2.currentSeedEdit, app().screen2.hourEdit};
  EXPECT_EQ(fake().reads, order);
  EXPECT_EQ(app().seeds.currentSeed, 0x2684AD1Fu);
  ASSERT_EQ(app().seeds.seedCandidateCount, 4);
  const char* seeds[] = {"0x12345678", "0x39340325", "0xD1341590", "0x0334FF52"};
  std::vector<ControlHandle> edits;
  for (int i = 0; i < 4; ++i) {
    const FakeControl& e = fakeControl(app().screen2.seedResultEdits[i]);
    EXPECT_EQ(e.kind, ControlKind::kPlainEdit);
    EXPECT_EQ(e.id, 240 + i);
    EXPECT_EQ(std::tie(e.rect.x, e.rect.y, e.rect.width, e.rect.height), std::make_tuple(110, 100 + 25 * i, 120, 22));
    EXPECT_EQ(e.text, seeds[i]);
    edits.push_back(app().screen2.seedResultEdits[i]);
  }
  EXPECT_EQ(app().screen2.seedResultEdits[4], 0);

  type(app().screen2.hourEdit, "-1");
  command(kCmdSeedSearch);
  EXPECT_EQ(app().seeds.seedCandidateCount, 0);
  for (ControlHandle h : edits) EXPECT_FALSE(alive(h));
  EXPECT_EQ(fakeLiveControls().size(), kScreenTwoControls.size());
}

TEST_F(ShellTest, SeedSearchCutsTheStepLimitToFourCharacters) {
  start();
  command(kCmdScreenTwo);
  type(app().screen2.currentSeedEdit, "0xAD1C6073");
  type(app().screen2.stepLimitEdit, "1");
  command(kCmdSeedSearch);
  ASSERT_EQ(app().seeds.seedCandidateCount, 1);
  EXPECT_EQ(app().seeds.seedCandidates[0].seed, 0x000C0000u);
  EXPECT_EQ(app().seeds.seedCandidates[0].stepIndex, 0);
  type(app().screen2.stepLimitEdit, "00001");  // "0000": no step at all
  command(kCmdSeedSearch);
  EXPECT_EQ(app().seeds.seedCandidateCount, 0);
  // "0X..." with a capital X is decimal: 0.
  type(app().screen2.currentSeedEdit, "0XAD1C6073");
  command(kCmdSeedSearch);
  EXPECT_EQ(app().seeds.currentSeed, 0u);
}

// --- step 4 -------------------------------------------------------------------

TEST_F(ShellTest, OutputReadsTheRequestWritesResultTxtAndOpensIt) {
  start();
  command(kCmdScreenTwo);
  type(app().screen2.initialSeedEdit, "0x0");
  type(app().screen2.frameCountEdit, "13");
  type(app().screen2.tidEdit, "123456");  // five digits are read
  type(app().screen2.sidEdit, "0");
  fakeControl(app().screen2.marriageCheck).checked = 1;
  fakeControl(app().screen2.natureFilterCombo).selected = 0;
  fake().reads.clear();
  fake().invalidations = 0;
  {
    WorkingDirectory wd(dir_);
    command(kCmdOutput);
  }
  std::vector<ControlHandle> order = {app().screen2.initialSeedEdit, app().screen2.frameCountEdit, app().screen2.tidEdit, app().screen2.sidEdit};
  EXPECT_EQ(fake().reads, order);
  EXPECT_EQ(app().eggList.eggInitialSeed, 0u);
  EXPECT_EQ(app().eggList.eggFrameCount, 13);
  EXPECT_EQ(app().eggList.settings.tid, 12345);
  EXPECT_EQ(app().eggList.settings.sid, 0);
  EXPECT_EQ(app().eggList.settings.internationalMarriage, 1);
  EXPECT_EQ(app().eggList.settings.shinyOnly, 0);
  EXPECT_EQ(fake().openedDocuments, std::vector<std::string>{"result.txt"});
  std::vector<std::string> lines = fileLines(dir_ / "result.txt");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], sj("回数,なつき+コイン,性格値,性格,特性,性別値,色"));
  EXPECT_EQ(fake().invalidations, 0);
}

TEST_F(ShellTest, OutputWithoutMarriageWritesTheWorkedExample) {
  start();
  command(kCmdScreenTwo);
  type(app().screen2.initialSeedEdit, "0");
  type(app().screen2.frameCountEdit, "13");
  {
    WorkingDirectory wd(dir_);
    command(kCmdOutput);
  }
  std::vector<std::string> lines = fileLines(dir_ / "result.txt");
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[1], sj("0,0+0回,8C7F0AAC,うっかりや,1,172,"));
  EXPECT_EQ(lines[13].substr(0, lines[13].find(',', 3)), sj("12,1+0回"));
}

// A folder named result.txt: nothing opens and screen 2 says why, until the
// next list is written or the screen is built again.
TEST_F(ShellTest, OutputThatCannotCreateItsFileOpensNothingAndSaysWhy) {
  start();
  command(kCmdScreenTwo);
  std::filesystem::create_directory(dir_ / "result.txt");
  {
    WorkingDirectory wd(dir_);
    command(kCmdOutput);
  }
  EXPECT_TRUE(fake().openedDocuments.empty());
  EXPECT_TRUE(painted(std::string("result.txtを保存できません: ") + kFolderInTheWayReason));
  std::filesystem::remove(dir_ / "result.txt");
  {
    WorkingDirectory wd(dir_);
    command(kCmdOutput);
  }
  EXPECT_EQ(fake().openedDocuments.size(), 1u);
  EXPECT_FALSE(painted(std::string("result.txtを保存できません: ") + kFolderInTheWayReason));
}

TEST_F(ShellTest, TearingDownAGoneScreenAgainLeavesTheShownOneAlone) {
  start();
  command(kCmdScreenTwo);
  std::vector<ControlHandle> screenTwo = fakeLiveControls();
  int cleared = fake().destroyCallsOnCleared;
  // Every screen-1 handle was cleared when it was destroyed, so a second tear
  // down reaches no control at all.
  tearDownScreen(app(), ScreenMode::kOne);
  EXPECT_EQ(fake().destroyCallsOnCleared, cleared + 40);
  EXPECT_EQ(fakeLiveControls(), screenTwo);
}

}  // namespace
