// Screen 6: step 11 (the wild, stationary or gift creature of each advance of
// one seed, into wild.txt, and "where am I" from the cues seen since
// continuing) on the left of the line at x 400; step 12 (the same creature
// searched over a year's seeds, into wild-search.txt) on its right, with the
// settings and filters of step 11.
//
// Lists do not report a row chosen, so the greying that follows the game,
// the kind and the lead is kept up by the window's timer while the screen is
// shown: each tick compares their rows with the ones it last followed.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/hit_sequence.h"
#include "core/wild.h"
#include "core/wild_files.h"
#include "core/wild_search.h"
#include "data/output_file.h"
#include "data/tables.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_common.h"
#include "ui/screens/screen_steps1112.h"
#include "ui/search_job.h"
#include "ui/shell.h"

namespace {

constexpr int32_t kGameComboId = 910;
constexpr int32_t kKindComboId = 911;
constexpr int32_t kLeadComboId = 912;
constexpr int32_t kLeadNatureComboId = 913;
constexpr int32_t kGenderRatioComboId = 914;
constexpr int32_t kLevelMinEditId = 915;
constexpr int32_t kLevelMaxEditId = 916;
constexpr int32_t kBiteRateEditId = 917;
constexpr int32_t kRoamerCheckId = 918;
constexpr int32_t kFeebasComboId = 919;
constexpr int32_t kTidEditId = 920;
constexpr int32_t kSidEditId = 921;
constexpr int32_t kShinyOnlyCheckId = 922;
constexpr int32_t kIvMinEditFirstId = 923;  // 923..928
constexpr int32_t kIvMaxEditFirstId = 929;  // 929..934
constexpr int32_t kNatureComboId = 935;
constexpr int32_t kAbilityComboId = 936;
constexpr int32_t kGenderComboId = 937;
constexpr int32_t kSlotComboId = 938;
constexpr int32_t kHiddenPowerComboId = 939;
constexpr int32_t kHiddenPowerMinEditId = 940;
constexpr int32_t kSeedEditId = 941;
constexpr int32_t kAdvanceCountEditId = 942;
constexpr int32_t kCueEditId = 943;
constexpr int32_t kBeforePokerusCheckId = 944;
constexpr int32_t kAimedAdvanceEditId = 945;
constexpr int32_t kSearchYearEditId = 946;
constexpr int32_t kSearchAdvanceEditId = 947;
constexpr int32_t kSearchDelayMinEditId = 948;
constexpr int32_t kSearchDelayMaxEditId = 949;
constexpr uint32_t kEveryHour = 0xFFFFFFu;
constexpr int32_t kDefaultSearchAdvances = 100;

constexpr int32_t kDefaultAdvanceCount = 100;
constexpr int32_t kDefaultLevelMin = 10;
constexpr int32_t kDefaultLevelMax = 20;
constexpr int32_t kDefaultBiteRate = 100;
constexpr int32_t kDefaultHiddenPowerMin = 30;
constexpr int32_t kDefaultRatioRow = 3;  // 127: as many females as males
constexpr int32_t kTickPeriod = 100;     // ms between looks at the three lists

// Rows of controls, 24 px apart; a label sits 3 px below its row's top.
// Below them three rows of notes ("where am I", wild.txt and, when it was
// not written, why), then the listing down to y 534.
constexpr int32_t rowY(int32_t row) { return 25 + 24 * row; }
constexpr int32_t kNoteY = 266;
constexpr int32_t kInputNoteX = 125;
constexpr int32_t kNoteStep = 17;
constexpr int32_t kHeaderY = 318;
constexpr int32_t kFirstLineY = 354;
constexpr int32_t kTextStep = 18;                // the two text rows of a creature
constexpr int32_t kLineStep = 2 * kTextStep;     // one creature
// A creature's first text row: the start mark, advance, PID, nature,
// ability, gender, ★ and cue; its second: IVs, Hidden Power, slot, level
// and bite. Placed for 8-px half-width letters, the widest of the backends.
constexpr int32_t kMarkX = 8;
constexpr int32_t kAdvanceX = 26;
constexpr int32_t kPidX = 76;
constexpr int32_t kNatureX = 148;
constexpr int32_t kAbilityX = 234;
constexpr int32_t kGenderX = 270;
constexpr int32_t kShinyX = 306;
constexpr int32_t kCueX = 326;
constexpr int32_t kIvsX = 26;
constexpr int32_t kHiddenPowerX = 172;
constexpr int32_t kSlotX = 258;
constexpr int32_t kLevelX = 326;
constexpr int32_t kBiteX = 356;
// Step 12's columns: a hit's seed, advance, PID, nature and ★, its IVs below
// its advance.
constexpr int32_t kHitSeedX = kStepTwelveX + 10;
constexpr int32_t kHitAdvanceX = kStepTwelveX + 100;
constexpr int32_t kHitPidX = kStepTwelveX + 140;
constexpr int32_t kHitNatureX = kStepTwelveX + 212;
constexpr int32_t kHitShinyX = kStepTwelveX + 300;
constexpr int32_t kHitHeaderY = 74;

const char* const kGameRows[] = {texts::kTextWildGameDppt, texts::kTextWildGameHgss};
const char* const kKindRows[kWildKindCount] = {texts::kTextWildKindGift,   texts::kTextWildKindStatic,
                                              texts::kTextWildKindGrass,  texts::kTextWildKindSurf,
                                              texts::kTextWildKindOldRod, texts::kTextWildKindGoodRod,
                                              texts::kTextWildKindSuperRod};
const char* const kLeadRows[kWildLeadCount] = {texts::kTextWildLeadNone, texts::kTextWildLeadSync,
                                              texts::kTextWildLeadCuteMale, texts::kTextWildLeadCuteFemale};
const char* const kRatioRows[kGenderRatioCount] = {texts::kTextWildRatio0,   texts::kTextWildRatio31,
                                                  texts::kTextWildRatio63,  texts::kTextWildRatio127,
                                                  texts::kTextWildRatio191, texts::kTextWildRatio223,
                                                  texts::kTextWildRatio254, texts::kTextWildRatio255};
const char* const kFeebasRows[] = {texts::kTextWildFeebasOff, texts::kTextWildFeebasLake, texts::kTextWildFeebasTile};

bool isRod(int32_t kind) { return kind >= static_cast<int32_t>(WildKind::kOldRod); }
bool hasSlot(int32_t kind) { return kind >= static_cast<int32_t>(WildKind::kGrass); }
bool hasLevels(int32_t kind) { return kind >= static_cast<int32_t>(WildKind::kSurf); }
bool roamerApplies(int32_t kind) {
  return kind == static_cast<int32_t>(WildKind::kGrass) || kind == static_cast<int32_t>(WildKind::kSurf);
}
bool feebasApplies(int32_t game, int32_t kind) { return game == 0 && isRod(kind); }
// A gift is handed over: no lead's ability takes part.
bool leadApplies(int32_t kind) { return kind != static_cast<int32_t>(WildKind::kGift); }

ControlHandle createList(AppState& app, int32_t id, int32_t x, int32_t y, int32_t w, const char* const* rows,
                         int32_t count, int32_t selected) {
  ControlHandle list = platformCreateControl(app, ControlKind::kDropDownList, id, ControlRect{x, y, w, 300}, "");
  for (int32_t i = 0; i < count; ++i) platformAddListRow(list, rows[i]);
  platformSelectListRow(list, selected);
  return list;
}

int32_t rowOf(ControlHandle list, int32_t count) { return clampTo(selectedOption(list), 0, count - 1); }

// Greys out what the game, kind and lead shown do not use, and notes them.
void followLists(AppState& app) {
  Screen6Controls& c = app.screen6;
  const int32_t game = rowOf(c.gameCombo, 2);
  const int32_t kind = rowOf(c.kindCombo, kWildKindCount);
  const int32_t lead = rowOf(c.leadCombo, kWildLeadCount);
  platformEnableControl(c.leadCombo, leadApplies(kind));
  platformEnableControl(c.leadNatureCombo, leadApplies(kind) && lead == static_cast<int32_t>(WildLead::kSync));
  platformEnableControl(c.levelMinEdit, hasLevels(kind));
  platformEnableControl(c.levelMaxEdit, hasLevels(kind));
  platformEnableControl(c.biteRateEdit, isRod(kind));
  platformEnableControl(c.roamerCheck, roamerApplies(kind));
  platformEnableControl(c.feebasCombo, feebasApplies(game, kind));
  platformEnableControl(c.slotCombo, hasSlot(kind));
  platformEnableControl(c.beforePokerusCheck, game == 1);
  app.wild.shownGame = game;
  app.wild.shownKind = kind;
  app.wild.shownLead = lead;
}

int32_t ratioRow(int32_t ratio) {
  for (int32_t i = 0; i < kGenderRatioCount; ++i)
    if (kGenderRatios[i] == ratio) return i;
  return kDefaultRatioRow;
}

// Step 12: the year of its last search (else this year), its advances and
// delays as a search starts them, and the buttons of the hits listed.
void buildStepTwelve(AppState& app) {
  Screen6Controls& c = app.screen6;
  const int32_t year = app.wildSearch.status != SearchStatus::kIdle ? app.wildSearch.year : thisYear();
  c.searchYearEdit = createControl(app, ControlKind::kPlainEdit, kSearchYearEditId, kStepTwelveX + 35, rowY(0), 45, 22);
  setNumberText(app, c.searchYearEdit, year);
  c.searchAdvanceEdit =
      createControl(app, ControlKind::kPlainEdit, kSearchAdvanceEditId, kStepTwelveX + 90, rowY(0), 50, 22);
  setNumberText(app, c.searchAdvanceEdit, kDefaultSearchAdvances);
  c.searchDelayMinEdit =
      createControl(app, ControlKind::kPlainEdit, kSearchDelayMinEditId, kStepTwelveX + 55, rowY(1), 50, 22, "300");
  c.searchDelayMaxEdit =
      createControl(app, ControlKind::kPlainEdit, kSearchDelayMaxEditId, kStepTwelveX + 127, rowY(1), 50, 22, "9999");
  c.searchButton = createControl(app, ControlKind::kFramedPushButton, kCmdWildSearch, kStepTwelveX + 185, rowY(1), 55,
                                 22, texts::kTextEggSearchButton);
  c.searchStopButton = createControl(app, ControlKind::kFramedPushButton, kCmdWildSearchStop, kStepTwelveX + 245,
                                     rowY(1), 50, 22, texts::kTextEggSearchStopButton);
  searchPanelCreateHitButtons(app, kWildSearchPanel);
}

// The settings last read (or the defaults before), the IDs last used, the
// seed last listed (else the one step 6 shows), the cues as typed.
void build(AppState& app) {
  Screen6Controls& c = app.screen6;
  const bool kept = app.wild.settingsSet != 0;
  const WildSettings& w = app.wild.settings;
  c.gameCombo = createList(app, kGameComboId, 10, rowY(0), 65, kGameRows, 2, kept ? w.game : 0);
  c.kindCombo = createList(app, kKindComboId, 80, rowY(0), 145, kKindRows, kWildKindCount, kept ? w.kind : 0);
  c.leadCombo = createList(app, kLeadComboId, 230, rowY(0), 160, kLeadRows, kWildLeadCount, kept ? w.lead : 0);

  c.genderRatioCombo = createList(app, kGenderRatioComboId, 10, rowY(1), 135, kRatioRows, kGenderRatioCount,
                                  kept ? ratioRow(w.genderRatio) : kDefaultRatioRow);
  c.levelMinEdit = createControl(app, ControlKind::kPlainEdit, kLevelMinEditId, 168, rowY(1), 32, 22);
  c.levelMaxEdit = createControl(app, ControlKind::kPlainEdit, kLevelMaxEditId, 218, rowY(1), 32, 22);
  c.leadNatureCombo = platformCreateControl(app, ControlKind::kDropDownList, kLeadNatureComboId,
                                            ControlRect{260, rowY(1), 115, 300}, "");
  fillNatureCombo(app, c.leadNatureCombo);
  platformSelectListRow(c.leadNatureCombo, kept ? w.leadNature : 0);

  c.biteRateEdit = createControl(app, ControlKind::kPlainEdit, kBiteRateEditId, 60, rowY(2), 32, 22);
  c.roamerCheck = createControl(app, ControlKind::kCheckBox, kRoamerCheckId, 110, rowY(2), 90, 22, texts::kTextWildRoamer);
  c.feebasCombo = createList(app, kFeebasComboId, 205, rowY(2), 150, kFeebasRows, 3, kept ? w.feebas : 0);

  c.tidEdit = createControl(app, ControlKind::kPlainEdit, kTidEditId, 52, rowY(3), 50, 22);
  c.sidEdit = createControl(app, ControlKind::kPlainEdit, kSidEditId, 152, rowY(3), 50, 22);
  if (app.ids.idsKnown != 0) {
    setNumberText(app, c.tidEdit, app.ids.lastTid);
    setNumberText(app, c.sidEdit, app.ids.lastSid);
  }
  c.shinyOnlyCheck =
      createControl(app, ControlKind::kCheckBox, kShinyOnlyCheckId, 214, rowY(3), 110, 22, texts::kTextShinyOnlyCheck);

  for (int i = 0; i < kStatCount; ++i) {
    c.ivMinEdits[i] = createControl(app, ControlKind::kPlainEdit, kIvMinEditFirstId + i, 20 + 64 * i, rowY(4), 24, 22);
    c.ivMaxEdits[i] = createControl(app, ControlKind::kPlainEdit, kIvMaxEditFirstId + i, 46 + 64 * i, rowY(4), 24, 22);
    setNumberText(app, c.ivMinEdits[i], kept ? w.ivs[i].low : 0);
    setNumberText(app, c.ivMaxEdits[i], kept ? w.ivs[i].high : 31);
  }

  c.natureCombo = platformCreateControl(app, ControlKind::kDropDownList, kNatureComboId, ControlRect{10, rowY(5), 110, 300}, "");
  platformAddListRow(c.natureCombo, texts::kTextWildAnyNature);
  fillNatureCombo(app, c.natureCombo);
  platformSelectListRow(c.natureCombo, kept ? w.natureChoice : 0);
  const char* const abilityRows[] = {texts::kTextWildAnyAbility, texts::kTextAbilityOption1, texts::kTextAbilityOption2};
  c.abilityCombo = createList(app, kAbilityComboId, 125, rowY(5), 100, abilityRows, 3, kept ? w.abilityChoice : 0);
  const char* const genderRows[] = {texts::kTextWildAnyGender, texts::kTextWildMale, texts::kTextWildFemale};
  c.genderCombo = createList(app, kGenderComboId, 230, rowY(5), 100, genderRows, 3, kept ? w.genderChoice : 0);

  c.slotCombo = platformCreateControl(app, ControlKind::kDropDownList, kSlotComboId, ControlRect{10, rowY(6), 90, 300}, "");
  platformAddListRow(c.slotCombo, texts::kTextWildAnySlot);
  for (int32_t k = 0; k < kMaxWildSlots; ++k) platformAddListRow(c.slotCombo, formatted(app, texts::kTextWildSlot, k));
  platformSelectListRow(c.slotCombo, kept ? w.slotChoice : 0);
  c.hiddenPowerCombo =
      platformCreateControl(app, ControlKind::kDropDownList, kHiddenPowerComboId, ControlRect{105, rowY(6), 120, 300}, "");
  platformAddListRow(c.hiddenPowerCombo, texts::kTextWildAnyHiddenPower);
  for (const char* type : kHiddenPowerTypeNames) platformAddListRow(c.hiddenPowerCombo, type);
  platformSelectListRow(c.hiddenPowerCombo, kept ? w.hiddenPowerChoice : 0);
  c.hiddenPowerMinEdit = createControl(app, ControlKind::kPlainEdit, kHiddenPowerMinEditId, 265, rowY(6), 30, 22);

  c.seedEdit = createControl(app, ControlKind::kPlainEdit, kSeedEditId, 85, rowY(7), 100, 22);
  if (app.wild.seedSet != 0 || app.moments.momentCount >= 0) {
    const uint32_t seed = app.wild.seedSet != 0 ? app.wild.seed : app.moments.momentSeed;
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "0x%08X", seed);
    platformSetText(c.seedEdit, app.scratch.textBuffer);
  }
  c.advanceCountEdit = createControl(app, ControlKind::kPlainEdit, kAdvanceCountEditId, 192, rowY(7), 50, 22);
  setNumberText(app, c.advanceCountEdit, kept ? w.advanceCount : kDefaultAdvanceCount);
  c.outputButton =
      createControl(app, ControlKind::kFramedPushButton, kCmdWildOutput, 330, rowY(7), 55, 22, texts::kTextOutputButton);

  c.cueEdit = createControl(app, ControlKind::kPlainEdit, kCueEditId, 70, rowY(8), 180, 22, app.wild.cueText);
  c.beforePokerusCheck =
      createControl(app, ControlKind::kCheckBox, kBeforePokerusCheckId, 258, rowY(8), 110, 22, texts::kTextBeforePokerus);
  platformSetChecked(c.beforePokerusCheck, app.wild.beforePokerus != 0);
  c.aimedAdvanceEdit = createControl(app, ControlKind::kPlainEdit, kAimedAdvanceEditId, 100, rowY(9), 55, 22);
  if (app.wild.aimedSet != 0) setNumberText(app, c.aimedAdvanceEdit, app.wild.aimedAdvance);
  c.whereButton =
      createControl(app, ControlKind::kFramedPushButton, kCmdWildWhere, 165, rowY(9), 100, 22, texts::kTextWildWhereButton);

  setNumberText(app, c.levelMinEdit, kept ? w.levelMin : kDefaultLevelMin);
  setNumberText(app, c.levelMaxEdit, kept ? w.levelMax : kDefaultLevelMax);
  setNumberText(app, c.biteRateEdit, kept ? w.biteRate : kDefaultBiteRate);
  setNumberText(app, c.hiddenPowerMinEdit, kept ? w.hiddenPowerMin : kDefaultHiddenPowerMin);
  if (kept) {
    platformSetChecked(c.roamerCheck, w.roamer != 0);
    platformSetChecked(c.shinyOnlyCheck, w.shinyOnly != 0);
  }
  buildStepTwelve(app);
  followLists(app);
  shellRefreshTimer(app);
}

void tearDown(AppState& app) {
  Screen6Controls& c = app.screen6;
  for (ControlHandle* h : {&c.gameCombo, &c.kindCombo, &c.leadCombo, &c.leadNatureCombo, &c.genderRatioCombo,
                           &c.levelMinEdit, &c.levelMaxEdit, &c.biteRateEdit, &c.roamerCheck, &c.feebasCombo,
                           &c.tidEdit, &c.sidEdit, &c.shinyOnlyCheck, &c.natureCombo, &c.abilityCombo, &c.genderCombo,
                           &c.slotCombo, &c.hiddenPowerCombo, &c.hiddenPowerMinEdit, &c.seedEdit, &c.advanceCountEdit,
                           &c.outputButton, &c.cueEdit, &c.beforePokerusCheck, &c.aimedAdvanceEdit, &c.whereButton})
    platformDestroyControl(*h);
  for (ControlHandle& h : c.ivMinEdits) platformDestroyControl(h);
  for (ControlHandle& h : c.ivMaxEdits) platformDestroyControl(h);
  for (ControlHandle* h : {&c.searchYearEdit, &c.searchAdvanceEdit, &c.searchDelayMinEdit, &c.searchDelayMaxEdit,
                           &c.searchButton, &c.searchStopButton})
    platformDestroyControl(*h);
  searchPanelDestroyHitButtons(app, kWildSearchPanel);
  shellRefreshTimer(app);  // the screen shown now decides whether the lists are still watched
}

// Every setting into the note of the step that reads them: a number that is
// not one, or lies outside its range, is named with the value used, which
// its field then shows; a range typed the wrong way round is turned round.
// The IDs become the ones last used.
void readSettings(AppState& app, char (&note)[kInputNoteBytes]) {
  const Screen6Controls& c = app.screen6;
  WildSettings& w = app.wild.settings;
  w.game = rowOf(c.gameCombo, 2);
  w.kind = rowOf(c.kindCombo, kWildKindCount);
  w.lead = rowOf(c.leadCombo, kWildLeadCount);
  w.leadNature = rowOf(c.leadNatureCombo, kNatureCount);
  w.genderRatio = kGenderRatios[rowOf(c.genderRatioCombo, kGenderRatioCount)];
  const int32_t low =
      readNumberField(app, c.levelMinEdit, 1, kLargestLevel, kDefaultLevelMin, texts::kTextFieldLevelMin, note);
  const int32_t high =
      readNumberField(app, c.levelMaxEdit, 1, kLargestLevel, kDefaultLevelMax, texts::kTextFieldLevelMax, note);
  w.levelMin = low <= high ? low : high;
  w.levelMax = low <= high ? high : low;
  w.biteRate = readNumberField(app, c.biteRateEdit, 0, 100, kDefaultBiteRate, texts::kTextWildBiteRate, note);
  w.roamer = platformIsChecked(c.roamerCheck) ? 1 : 0;
  w.feebas = rowOf(c.feebasCombo, 3);
  char label[32];
  for (int i = 0; i < kStatCount; ++i) {
    const int32_t a =
        readNumberField(app, c.ivMinEdits[i], 0, 31, 0, statFieldLabel(label, texts::kTextIvLowest, i), note);
    const int32_t b =
        readNumberField(app, c.ivMaxEdits[i], 0, 31, 31, statFieldLabel(label, texts::kTextIvHighest, i), note);
    w.ivs[i] = a <= b ? IvRange{a, b} : IvRange{b, a};
  }
  w.natureChoice = rowOf(c.natureCombo, 1 + kNatureCount);
  w.abilityChoice = rowOf(c.abilityCombo, 3);
  w.genderChoice = rowOf(c.genderCombo, 3);
  w.slotChoice = rowOf(c.slotCombo, 1 + kMaxWildSlots);
  w.hiddenPowerChoice = rowOf(c.hiddenPowerCombo, 1 + kHiddenPowerTypeCount);
  w.hiddenPowerMin =
      readNumberField(app, c.hiddenPowerMinEdit, 30, 70, kDefaultHiddenPowerMin, texts::kTextFieldPower, note);
  w.shinyOnly = platformIsChecked(c.shinyOnlyCheck) ? 1 : 0;
  w.advanceCount = readNumberField(app, c.advanceCountEdit, 1, kLargestWildAdvanceCount, kDefaultAdvanceCount,
                                   texts::kTextFieldAdvances, note);
  app.wild.settingsSet = 1;
  app.ids.lastTid = readNumberField(app, c.tidEdit, 0, 0xFFFF, 0, texts::kTextFieldTid, note);
  app.ids.lastSid = readNumberField(app, c.sidEdit, 0, 0xFFFF, 0, texts::kTextFieldSid, note);
  app.ids.idsKnown = 1;
  app.wild.beforePokerus = platformIsChecked(c.beforePokerusCheck) ? 1 : 0;
}

// The encounter of the settings with only the options that apply to their
// game and kind, so that it is always valid.
WildEncounter encounterOf(const AppState& app) {
  const WildSettings& w = app.wild.settings;
  WildEncounter e{};
  e.game = w.game == 1 ? WildGame::kHgss : WildGame::kDppt;
  e.kind = static_cast<WildKind>(w.kind);
  e.lead = leadApplies(w.kind) ? static_cast<WildLead>(w.lead) : WildLead::kNone;
  e.leadNature = w.leadNature;
  e.genderRatio = w.genderRatio;
  e.levelMin = w.levelMin;
  e.levelMax = w.levelMax;
  e.biteRate = isRod(w.kind) ? w.biteRate : 100;
  e.roamer = roamerApplies(w.kind) && w.roamer != 0;
  e.feebas = feebasApplies(w.game, w.kind) ? static_cast<WildFeebas>(w.feebas) : WildFeebas::kOff;
  e.tid = app.ids.lastTid;
  e.sid = app.ids.lastSid;
  return e;
}

WildFilter filterOf(const WildSettings& w) {
  WildFilter f = openWildFilter();
  for (int i = 0; i < kStatCount; ++i) f.ivs[i] = w.ivs[i];
  if (w.natureChoice > 0) f.natureMask = 1u << (w.natureChoice - 1);
  f.shinyOnly = w.shinyOnly != 0;
  f.ability = w.abilityChoice;
  f.gender = w.genderChoice;  // 1 + WildGender: 1 male, 2 female
  if (hasSlot(w.kind) && w.slotChoice > 0) f.slotMask = 1u << (w.slotChoice - 1);
  f.hiddenPowerType = w.hiddenPowerChoice - 1;
  f.hiddenPowerMin = w.hiddenPowerMin;
  return f;
}

bool hgssCues(const AppState& app) { return app.wild.settings.game == 1; }

// Steps 11 and 12 alike: every setting read from the controls, and the
// encounter and filter they give.
void readCreature(AppState& app, WildEncounter& encounter, WildFilter& filter, char (&note)[kInputNoteBytes]) {
  readSettings(app, note);
  encounter = encounterOf(app);
  filter = filterOf(app.wild.settings);
}

void keepLine(AppState& app, int32_t i, const WildCreature& c) {
  WildLine& line = app.wild.lines[i];
  line.advance = c.advance;
  line.pid = c.pid;
  line.nature = c.nature;
  line.ability = c.ability;
  line.gender = static_cast<int32_t>(c.gender);
  line.shiny = c.shiny ? 1 : 0;
  for (int s = 0; s < kStatCount; ++s) line.ivs[s] = c.ivs[s];
  line.hiddenPowerType = c.hiddenPowerType;
  line.hiddenPowerPower = c.hiddenPowerPower;
  line.slot = c.slot;
  line.feebas = c.feebas ? 1 : 0;
  line.level = c.level;
  line.bite = c.bite;
  const WildCue cue = wildCueOf(hgssCues(app) ? WildGame::kHgss : WildGame::kDppt, c.cueDraw,
                                hgssCues(app) && app.wild.beforePokerus != 0);
  line.chatotStep = cue.chatotStep;
  line.cueLetter = cue.letter;
}

// "Where am I": the cues typed, read for the game's source, and every
// advance 0..N of the seed in the edit at which they start. A seed that does
// not read is named in step 11's note and nothing is looked for.
void locate(AppState& app) {
  WildStep& wild = app.wild;
  char (&note)[kInputNoteBytes] = wild.inputNote;
  platformGetText(app.screen6.cueEdit, wild.cueText, kReadSequenceEdit);
  wild.aimedSet = fieldTypedIn(app.screen6.aimedAdvanceEdit) ? 1 : 0;
  wild.aimedAdvance = wild.aimedSet != 0 ? readNumberField(app, app.screen6.aimedAdvanceEdit, 0, kLargestWildAdvanceCount, 0,
                                                           texts::kTextFieldAimedAdvance, note)
                                         : 0;
  wild.startCount = -1;
  if (!readSeedField(app, app.screen6.seedEdit, texts::kTextFieldInitialSeed, note, wild.cueSeed)) {
    wild.cueSource = HitSource::kNone;
    return;
  }
  HitSearch search{};
  search.source = hgssCues(app) ? HitSource::kElm : HitSource::kChatot;
  search.beforePokerus = hgssCues(app) && wild.beforePokerus != 0;
  const HitTextResult read = parseHitText(wild.cueText, search);
  wild.cueSource = read.status == HitTextStatus::kEmpty ? HitSource::kNone : search.source;
  wild.cueStatus = read.status;
  wild.cueBadLetter[0] = '\0';
  if (read.status == HitTextStatus::kBadLetter) {
    std::memcpy(wild.cueBadLetter, wild.cueText + read.at, static_cast<size_t>(read.width));
    wild.cueBadLetter[read.width] = '\0';
  }
  if (read.status != HitTextStatus::kOk) return;
  wild.cueLetters = search.length;
  const int32_t last = wild.settings.advanceCount < kMaxHitSkip ? wild.settings.advanceCount : kMaxHitSkip;
  wild.startCount = findCueStarts(wild.cueSeed, search, last, wild.starts, kMaxWildCueStarts);
}

// 900 "出力": the kept creatures of advances 0..N-1, the first on screen and
// all in wild.txt, which opens only when written whole (the seed of a step
// 12 hit handed over shown from the hit's advance on); the aimed advance
// becomes the first listed, and typed cues are looked for again. A seed that
// does not read is refused with a note: nothing is listed or written.
void commandOutput(AppState& app, int32_t) {
  char (&note)[kInputNoteBytes] = app.wild.inputNote;
  note[0] = '\0';
  WildListRequest request{};
  readCreature(app, request.encounter, request.filter, note);
  if (!readSeedField(app, app.screen6.seedEdit, texts::kTextFieldInitialSeed, note, request.seed)) {
    app.wild.lineCount = -1;
    app.wild.fileError = 0;
    platformInvalidate(app);
    return;
  }
  request.advanceCount = app.wild.settings.advanceCount;
  request.beforePokerus = hgssCues(app) && app.wild.beforePokerus != 0;
  app.wild.seed = request.seed;
  app.wild.seedSet = 1;
  WildCreature first[kMaxShownWildLines];
  WildFileLines lines{first, kMaxShownWildLines, 0, 0};
  const OutputResult written = writeWildFile(kWildFileName, request, lines);
  app.wild.fileError = writeError(written);
  const bool fromHit = app.wild.hitMarkSet != 0 && app.wild.hitMarkSeed == request.seed &&
                       app.wild.hitMarkAdvance < request.advanceCount;
  if (app.wild.fileError != 0 || fromHit) {
    // Not written, or a step 12 hit's seed: the screen shows the listing's
    // first creatures, from the hit's advance on.
    lines.firstCount = 0;
    WildListCursor cursor = wildListStart(request.seed, fromHit ? app.wild.hitMarkAdvance : 0, request.advanceCount);
    while (lines.firstCount < kMaxShownWildLines &&
           wildListNext(request.encounter, request.filter, cursor, first[lines.firstCount]))
      ++lines.firstCount;
  }
  app.wild.lineCount = lines.firstCount;
  app.wild.lineTotal = lines.total;
  for (int32_t i = 0; i < lines.firstCount; ++i) keepLine(app, i, first[i]);
  if (lines.firstCount > 0) setNumberText(app, app.screen6.aimedAdvanceEdit, first[0].advance);
  if (app.wild.fileError == 0) platformOpenDocument(kWildFileName);
  platformGetText(app.screen6.cueEdit, app.scratch.textBuffer, kReadSequenceEdit);
  if (app.scratch.textBuffer[0] != '\0') locate(app);
  platformInvalidate(app);
}

// 901 "今の消費数".
void commandWhere(AppState& app, int32_t) {
  app.wild.inputNote[0] = '\0';
  readSettings(app, app.wild.inputNote);
  locate(app);
  platformInvalidate(app);
}

// 902 "検索": step 11's creature over every hour of the year, the delays
// typed and advances 0..N-1, with step 11's filters.
void commandSearch(AppState& app, int32_t) {
  if (app.wildSearch.status == SearchStatus::kRunning) return;
  const Screen6Controls& c = app.screen6;
  SearchRequest search{};
  WildSearchRequest& request = search.wild;
  char (&note)[kInputNoteBytes] = app.wildSearch.inputNote;
  note[0] = '\0';
  readCreature(app, request.encounter, request.filter, note);
  request.window.year = readYearField(app, c.searchYearEdit, note);
  request.advanceCount = readNumberField(app, c.searchAdvanceEdit, 1, kLargestWildSearchAdvances, kDefaultSearchAdvances,
                                         texts::kTextFieldAdvances, note);
  readDelayFields(app, c.searchDelayMinEdit, c.searchDelayMaxEdit, note, request.window.delayMin, request.window.delayMax);
  request.window.hourMask = kEveryHour;
  request.way = WildSearchWay::kAuto;
  request.kernel = YearSearchKernel::Auto;
  app.wild.searchBeforePokerus = hgssCues(app) && app.wild.beforePokerus != 0 ? 1 : 0;
  searchPanelStart(app, kWildSearchPanel, search);
}

// 903 "中止" (see searchPanelStop).
void commandSearchStop(AppState& app, int32_t) { searchPanelStop(app, kWildSearchPanel); }

// 960..969 "日時へ": the hit's seed and the search's year go to step 6; the
// seed becomes step 11's, listed from the hit's advance (marked) on, the
// advance the one aimed at.
void commandHit(AppState& app, int32_t id) {
  const int32_t slot = id - kCmdFirstWildHit;
  if (slot >= app.wildSearch.hitCount) return;
  const SearchHit& hit = app.wildSearch.hits[slot];
  WildStep& wild = app.wild;
  wild.seed = hit.seed;
  wild.seedSet = 1;
  wild.hitMarkSet = 1;
  wild.hitMarkSeed = hit.seed;
  wild.hitMarkAdvance = hit.frame;
  wild.aimedSet = 1;
  wild.aimedAdvance = hit.frame;
  if (wild.settings.advanceCount <= hit.frame) wild.settings.advanceCount = hit.frame + 1;
  showSeedMoments(app, hit.seed, app.wildSearch.year);
  app.moments.handOverFromHit = 0;
  platformInvalidate(app);
}

bool isStart(const AppState& app, int32_t advance) {
  if (app.wild.startCount <= 0 || app.wild.cueSeed != app.wild.seed) return false;
  const int32_t kept = app.wild.startCount < kMaxWildCueStarts ? app.wild.startCount : kMaxWildCueStarts;
  for (int32_t i = 0; i < kept; ++i)
    if (app.wild.starts[i] == advance) return true;
  return false;
}

// The starts that fit a line of the left half (24 bytes), then how many more.
void paintStarts(AppState& app, PaintSurface s, int32_t y) {
  const WildStep& wild = app.wild;
  char list[48];
  int32_t at = 0;
  int32_t named = 0;
  const int32_t kept = wild.startCount < kMaxWildCueStarts ? wild.startCount : kMaxWildCueStarts;
  for (; named < kept; ++named) {
    char one[16];
    const int n = std::snprintf(one, sizeof one, named == 0 ? "%d" : ", %d", wild.starts[named]);
    if (at + n > 24) break;
    std::memcpy(list + at, one, static_cast<size_t>(n) + 1);
    at += n;
  }
  list[at] = '\0';
  if (named < wild.startCount) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextWildStartsMore, list,
                  wild.startCount - named);
  } else {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextWildStarts, list);
  }
  platformPaintText(s, 10, y, app.scratch.textBuffer);
}

void paintWhere(AppState& app, PaintSurface s, int32_t y) {
  const WildStep& wild = app.wild;
  char* out = app.scratch.textBuffer;
  const size_t room = sizeof app.scratch.textBuffer;
  if (wild.cueSource == HitSource::kNone) return;
  if (wild.cueStatus == HitTextStatus::kTooLong) {
    platformPaintText(s, 10, y, texts::kTextWildCuesTooLong);
    return;
  }
  if (wild.cueStatus == HitTextStatus::kBadLetter) {
    const char* format = wild.cueSource == HitSource::kChatot ? texts::kTextWildCryBadLetter
                         : wild.beforePokerus != 0          ? texts::kTextCallsBadLetterBefore
                                                            : texts::kTextCallsBadLetter;
    std::snprintf(out, room, format, wild.cueBadLetter);
    platformPaintText(s, 10, y, out);
    return;
  }
  if (wild.startCount == 0) {
    const int32_t last = wild.settings.advanceCount < kMaxHitSkip ? wild.settings.advanceCount : kMaxHitSkip;
    platformPaintText(s, 10, y, formatted(app, texts::kTextWildNoStart, last));
    return;
  }
  if (wild.startCount > 1) {
    paintStarts(app, s, y);
    return;
  }
  const int32_t now = wild.starts[0] + wild.cueLetters;
  if (wild.aimedSet == 0) {
    std::snprintf(out, room, texts::kTextWildNowNoAim, now);
  } else if (wild.aimedAdvance >= now) {
    std::snprintf(out, room, texts::kTextWildNow, now, wild.aimedAdvance - now);
  } else {
    std::snprintf(out, room, texts::kTextWildNowPassed, now, wild.aimedAdvance, now - wild.aimedAdvance);
  }
  platformPaintText(s, 10, y, out);
}

void paintLine(AppState& app, PaintSurface s, const WildLine& line, int32_t y) {
  const int32_t y2 = y + kTextStep;
  if (app.wild.hitMarkSet != 0 && app.wild.hitMarkSeed == app.wild.seed && line.advance == app.wild.hitMarkAdvance) {
    platformPaintText(s, kMarkX, y, texts::kTextWildHitMark);
  } else if (isStart(app, line.advance)) {
    platformPaintText(s, kMarkX, y, texts::kTextWildStartMark);
  }
  platformPaintText(s, kAdvanceX, y, formatted(app, "%d", line.advance));
  platformPaintText(s, kPidX, y, formatted(app, "%08X", static_cast<int32_t>(line.pid)));
  platformPaintText(s, kNatureX, y, kNatureNames[line.nature]);
  platformPaintText(s, kAbilityX, y, formatted(app, "%d", line.ability));
  const char* gender = line.gender == static_cast<int32_t>(WildGender::kMale)     ? texts::kTextWildMale
                       : line.gender == static_cast<int32_t>(WildGender::kFemale) ? texts::kTextWildFemale
                                                                                  : "-";
  platformPaintText(s, kGenderX, y, gender);
  if (line.shiny != 0) platformPaintText(s, kShinyX, y, texts::kTextShinyMark);
  if (line.chatotStep >= 0) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d %c", line.chatotStep, line.cueLetter);
  } else {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%c", line.cueLetter);
  }
  platformPaintText(s, kCueX, y, app.scratch.textBuffer);

  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%d %d %d %d %d %d", line.ivs[0], line.ivs[1],
                line.ivs[2], line.ivs[3], line.ivs[4], line.ivs[5]);
  platformPaintText(s, kIvsX, y2, app.scratch.textBuffer);
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, "%s%d", kHiddenPowerTypeNames[line.hiddenPowerType],
                line.hiddenPowerPower);
  platformPaintText(s, kHiddenPowerX, y2, app.scratch.textBuffer);
  if (line.feebas != 0) {
    platformPaintText(s, kSlotX, y2, texts::kTextFeebas);
  } else {
    platformPaintText(s, kSlotX, y2, line.slot >= 0 ? formatted(app, "%d", line.slot) : "-");
  }
  platformPaintText(s, kLevelX, y2, line.level >= 0 ? formatted(app, "%d", line.level) : "-");
  if (line.bite >= 0) platformPaintText(s, kBiteX, y2, formatted(app, "%d", line.bite));
}

// Step 12: its window, its status and its hits, two rows each.
void paintStepTwelve(AppState& app, PaintSurface s) {
  platformPaintText(s, kStepTwelveX + 5, 5, texts::kTextStep12Title);
  platformPaintText(s, kStepTwelveX + 10, rowY(0) + 3, texts::kTextYear);
  platformPaintText(s, kStepTwelveX + 143, rowY(0) + 3, texts::kTextWildAdvanceUnit);
  platformPaintText(s, kStepTwelveX + 10, rowY(1) + 3, texts::kTextDelayLabel);
  platformPaintText(s, kStepTwelveX + 109, rowY(1) + 3, texts::kTextRangeDash);
  searchPanelPaintStatus(app, s, kWildSearchPanel);
  platformPaintText(s, kHitSeedX, kHitHeaderY, texts::kTextHitSeedHeader);
  platformPaintText(s, kHitAdvanceX, kHitHeaderY, texts::kTextWildAdvanceHeader);
  platformPaintText(s, kHitPidX, kHitHeaderY, "PID");
  platformPaintText(s, kHitNatureX, kHitHeaderY, texts::kTextHitNatureHeader);
  platformPaintText(s, kHitShinyX, kHitHeaderY, texts::kTextHitShinyHeader);
  platformPaintText(s, kHitAdvanceX, kHitHeaderY + 16, texts::kTextWildIvsHeader);
  platformPaintLine(s, kStepTwelveX + 5, kWildHitFirstY - 3, 795, kWildHitFirstY - 3);
  const SearchPanel& panel = app.wildSearch;
  if (panel.hitCount == 0) platformPaintText(s, kHitSeedX, kWildHitFirstY + 2, texts::kTextNoCandidate);
  for (int32_t i = 0; i < panel.hitCount && i < kMaxShownWildHits; ++i) {
    const SearchHit& hit = panel.hits[i];
    const int32_t y = kWildHitFirstY + 2 + kWildHitLineStep * i;
    platformPaintText(s, kHitSeedX, y, formatted(app, "0x%08X", static_cast<int32_t>(hit.seed)));
    platformPaintText(s, kHitAdvanceX, y, formatted(app, "%d", hit.frame));
    platformPaintText(s, kHitPidX, y, formatted(app, "%08X", static_cast<int32_t>(hit.pid)));
    platformPaintText(s, kHitNatureX, y, kNatureNames[hit.pid % kNatureCount]);
    if (hit.shiny != 0) platformPaintText(s, kHitShinyX, y, texts::kTextShinyMark);
    platformPaintText(s, kHitAdvanceX, y + kWildHitTextStep, hit.ivs);
  }
  searchPanelPaintNotes(app, s, kWildSearchPanel);
}

void paint(AppState& app, PaintSurface s) {
  paintStepTwelve(app, s);
  const bool hgss = app.wild.shownGame == 1;
  platformPaintText(s, 5, 5, texts::kTextStep11Title);
  // The note shares the title's line: the rows under it are full.
  if (app.wild.inputNote[0] != '\0') platformPaintText(s, kInputNoteX, 5, app.wild.inputNote);
  platformPaintText(s, 150, rowY(1) + 3, "Lv");
  platformPaintText(s, 202, rowY(1) + 3, texts::kTextRangeDash);
  platformPaintText(s, 10, rowY(2) + 3, texts::kTextWildBiteRate);
  platformPaintText(s, 94, rowY(2) + 3, "%");
  platformPaintText(s, 10, rowY(3) + 3, texts::kTextTid);
  platformPaintText(s, 110, rowY(3) + 3, texts::kTextSid);
  for (int i = 0; i < kStatCount; ++i) platformPaintText(s, 10 + 64 * i, rowY(4) + 3, kStatLabels[i]);
  platformPaintText(s, 230, rowY(6) + 3, texts::kTextWildPower);
  platformPaintText(s, 298, rowY(6) + 3, texts::kTextWildAtLeast);
  platformPaintText(s, 10, rowY(7) + 3, texts::kTextInitialSeed);
  platformPaintText(s, 245, rowY(7) + 3, texts::kTextWildAdvanceUnit);
  platformPaintText(s, 10, rowY(8) + 3, hgss ? texts::kTextWildCallsLabel : texts::kTextWildCryLabel);
  platformPaintText(s, 10, rowY(9) + 3, texts::kTextWildAimedLabel);
  platformPaintLine(s, kStepTwelveX, -1, kStepTwelveX, 600);

  paintWhere(app, s, kNoteY);
  if (app.wild.fileError != 0) {
    // Why, on a line of its own: the longest reason does not fit beside.
    platformPaintText(s, 10, kNoteY + kNoteStep, texts::kTextWildFileNotWritten);
    formatWriteFailure(app, "%s", app.wild.fileError);
    platformPaintText(s, 26, kNoteY + 2 * kNoteStep, app.scratch.textBuffer);
  } else if (app.wild.lineCount >= 0) {
    platformPaintText(s, 10, kNoteY + kNoteStep, formatted(app, texts::kTextWildLinesInFile, app.wild.lineTotal));
  }
  if (app.wild.lineCount < 0) return;

  platformPaintText(s, kAdvanceX, kHeaderY, texts::kTextWildAdvanceHeader);
  platformPaintText(s, kPidX, kHeaderY, "PID");
  platformPaintText(s, kNatureX, kHeaderY, texts::kTextHitNatureHeader);
  platformPaintText(s, kAbilityX, kHeaderY, texts::kTextHitAbilityHeader);
  platformPaintText(s, kGenderX, kHeaderY, texts::kTextWildGenderHeader);
  platformPaintText(s, kShinyX, kHeaderY, texts::kTextHitShinyHeader);
  platformPaintText(s, kCueX, kHeaderY, hgss ? texts::kTextCallsLabel : texts::kTextWildCryHeader);
  platformPaintText(s, kIvsX, kHeaderY + kTextStep, texts::kTextWildIvsHeader);
  platformPaintText(s, kHiddenPowerX, kHeaderY + kTextStep, texts::kTextWildHiddenPowerHeader);
  platformPaintText(s, kSlotX, kHeaderY + kTextStep, texts::kTextWildSlotHeader);
  platformPaintText(s, kLevelX, kHeaderY + kTextStep, "Lv");
  if (app.wild.lineCount > 0 && app.wild.lines[0].bite >= 0)
    platformPaintText(s, kBiteX, kHeaderY + kTextStep, texts::kTextWildBiteHeader);
  platformPaintLine(s, 5, kFirstLineY - 2, kStepTwelveX - 5, kFirstLineY - 2);
  if (app.wild.lineCount == 0) platformPaintText(s, 10, kFirstLineY, texts::kTextNoCandidate);
  for (int32_t i = 0; i < app.wild.lineCount && i < kMaxShownWildLines; ++i)
    paintLine(app, s, app.wild.lines[i], kFirstLineY + kLineStep * i);
}

// Nothing listed or looked for yet.
void start(AppState& app, const char*) {
  app.wild.lineCount = -1;
  app.wild.startCount = -1;
  app.wild.cueSource = HitSource::kNone;
  app.wildSearch.hitCount = -1;
}

// Step 12's search whichever screen is shown; while the screen is shown, the
// greying follows a list whose row changed.
void tick(AppState& app) {
  searchPanelTick(app, kWildSearchPanel);
  if (app.screenMode != ScreenMode::kSix) return;
  const Screen6Controls& c = app.screen6;
  if (rowOf(c.gameCombo, 2) == app.wild.shownGame && rowOf(c.kindCombo, kWildKindCount) == app.wild.shownKind &&
      rowOf(c.leadCombo, kWildLeadCount) == app.wild.shownLead)
    return;
  followLists(app);
  platformInvalidate(app);
}

constexpr ScreenCommand kCommands[] = {
    {kCmdWildOutput, kCmdWildOutput, commandOutput},
    {kCmdWildWhere, kCmdWildWhere, commandWhere},
    {kCmdWildSearch, kCmdWildSearch, commandSearch},
    {kCmdWildSearchStop, kCmdWildSearchStop, commandSearchStop},
    {kCmdFirstWildHit, kCmdFirstWildHit + kMaxShownWildHits - 1, commandHit},
};

}  // namespace

const Screen kScreenSteps1112{
    .mode = ScreenMode::kSix,
    .menuId = kCmdScreenSix,
    .start = start,
    .build = build,
    .tearDown = tearDown,
    .paint = paint,
    .commands = kCommands,
    .commandCount = static_cast<int32_t>(std::size(kCommands)),
    .tickPeriod =
        [](const AppState& app) {
          const int32_t search = searchPanelTickPeriod(app, kWildSearchPanel);
          const int32_t lists = app.screenMode == ScreenMode::kSix ? kTickPeriod : 0;
          return search > 0 && (lists == 0 || search < lists) ? search : lists;
        },
    .tick = tick,
    .close = [](AppState& app) { searchPanelClose(app, kWildSearchPanel); },
};
