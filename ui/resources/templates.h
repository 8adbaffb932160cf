// The window's resources, defined once for every backend: the command ids,
// the menu bar (resource 101) and the IV entry dialog (resource 102). The texts
// are the CP932 strings of quillmar/texts.h.
#pragma once

#include <cstdint>

#include "quillmar/texts.h"

// Command ids: what a click on a button or a menu choice hands to the shell.
inline constexpr int32_t kCmdReset = 10;
inline constexpr int32_t kCmdAdd = 130;
inline constexpr int32_t kCmdSearch = 132;
inline constexpr int32_t kCmdIvEntry = 133;
inline constexpr int32_t kCmdFirstCandidate = 140;  // 140..159, one per PID candidate slot
inline constexpr int32_t kCmdSpecies = 162;
inline constexpr int32_t kCmdSeedSearch = 220;
inline constexpr int32_t kCmdOutput = 304;
inline constexpr int32_t kCmdEggSearch = 420;
inline constexpr int32_t kCmdEggSearchStop = 421;
inline constexpr int32_t kCmdFirstHit = 440;  // 440..453, one per hit line of step 5
inline constexpr int32_t kCmdMoments = 520;
inline constexpr int32_t kCmdSeedToStepFour = 521;
inline constexpr int32_t kCmdFirstAim = 530;  // 530..539, one per moment line of step 6
inline constexpr int32_t kCmdCalibrate = 700;
inline constexpr int32_t kCmdApplyCorrection = 701;
inline constexpr int32_t kCmdPlan = 710;
inline constexpr int32_t kCmdTimer = 711;
inline constexpr int32_t kCmdScreenOne = 40001;
inline constexpr int32_t kCmdScreenTwo = 40002;
inline constexpr int32_t kCmdScreenThree = 40003;
inline constexpr int32_t kCmdIvGame = 800;         // step 9's "HGSS" tick
inline constexpr int32_t kCmdIvList = 801;         // step 9's "出力"
inline constexpr int32_t kCmdIvSearch = 820;       // step 10's "検索"
inline constexpr int32_t kCmdIvSearchStop = 821;   // step 10's "中止"
inline constexpr int32_t kCmdFirstIvHit = 840;     // 840..847, one per hit line of step 10
inline constexpr int32_t kCmdScreenFour = 40004;
inline constexpr int32_t kCmdScreenFive = 40005;
inline constexpr int32_t kCmdWildOutput = 900;  // step 11's "出力"
inline constexpr int32_t kCmdWildWhere = 901;   // step 11's "今の消費数"
inline constexpr int32_t kCmdWildSearch = 902;      // step 12's "検索"
inline constexpr int32_t kCmdWildSearchStop = 903;  // step 12's "中止"
inline constexpr int32_t kCmdFirstWildHit = 960;    // 960..969, one per hit line of step 12
inline constexpr int32_t kCmdScreenSix = 40006;
inline constexpr int32_t kCmdIdList = 1120;          // step 13's "計算"
inline constexpr int32_t kCmdFirstIdLineUse = 1130;  // 1130..1145, "このIDを使う" per line of step 13
inline constexpr int32_t kCmdIdSearch = 1150;        // step 14's "検索"
inline constexpr int32_t kCmdIdSearchStop = 1151;    // step 14's "中止"
inline constexpr int32_t kCmdIdCuteCharm = 1152;     // step 14's "メロメロボディ" tick
inline constexpr int32_t kCmdFirstIdHit = 1160;      // 1160..1171, "日時へ" per hit line of step 14
inline constexpr int32_t kCmdFirstIdHitUse = 1180;   // 1180..1191, "このIDを使う" per hit line of step 14
inline constexpr int32_t kCmdScreenSeven = 40007;

// Menu resource 101: one popup with an item per screen.
struct MenuItemTemplate {
  int32_t id;
  const char* text;
};

struct MenuTemplate {
  int32_t resourceId;
  const char* popupText;
  MenuItemTemplate items[7];
};

inline constexpr MenuTemplate kStepMenu = {
    101,
    texts::kTextMenuStep,
    {{kCmdScreenOne, texts::kTextMenuScreen1},
     {kCmdScreenTwo, texts::kTextMenuScreen2},
     {kCmdScreenThree, texts::kTextMenuScreen3},
     {kCmdScreenFour, texts::kTextMenuScreen4},
     {kCmdScreenFive, texts::kTextMenuScreen5},
     {kCmdScreenSix, texts::kTextMenuScreen6},
     {kCmdScreenSeven, texts::kTextMenuScreen7}},
};

// What a dialog item is. Tab goes through a dialog's buttons and edits in
// template order (the first of them has the focus when it opens); labels are
// skipped.
enum class DialogItemKind : int32_t {
  kOkButton,      // the default button: ends the dialog with DialogOutcome::kOk, as Enter does
  kCancelButton,  // ends it with DialogOutcome::kCancel, as Escape and the close box do
  kLabel,         // a line of text, never cut by its box
  kEdit,          // a framed one-line edit, found by its id
};

struct DialogItemTemplate {
  DialogItemKind kind;
  int32_t id;  // an edit's id (platformDialogItem); 0 for buttons and labels
  const char* text;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

inline constexpr int32_t kIvDialogItemCount = 14;

// A modal dialog with a caption and a close box. Positions and sizes are
// pixels of its client area, laid out for the window's font, whose letters are
// kDialogLayoutCharWidth pixels wide on average and whose lines are
// kDialogLayoutLineHeight pixels high; a backend whose dialogs use another
// font scales by these two.
inline constexpr double kDialogLayoutCharWidth = 6.5;
inline constexpr int32_t kDialogLayoutLineHeight = 14;

struct DialogTemplate {
  int32_t resourceId;
  const char* caption;
  int32_t width;
  int32_t height;
  DialogItemTemplate items[kIvDialogItemCount];
};

// The IV edits have ids kIvDialogFirstEdit + i for stat i (H, A, B, S, C, D).
inline constexpr int32_t kIvDialogFirstEdit = 1001;

// Resource 102, "個体値手動入力".
inline constexpr DialogTemplate kIvEntryDialogTemplate = {
    102,
    texts::kTextDialogCaption,
    319,
    189,
    {
        {DialogItemKind::kOkButton, 0, texts::kTextDialogOk, 215, 68, 81, 25},
        {DialogItemKind::kCancelButton, 0, texts::kTextDialogCancel, 213, 123, 81, 25},
        {DialogItemKind::kLabel, 0, texts::kTextDialogHp, 41, 44, 16, 14},
        {DialogItemKind::kLabel, 0, texts::kTextDialogAttack, 41, 88, 28, 14},
        {DialogItemKind::kLabel, 0, texts::kTextDialogDefense, 41, 131, 28, 14},
        {DialogItemKind::kLabel, 0, texts::kTextDialogSpeed, 122, 44, 36, 14},
        {DialogItemKind::kLabel, 0, texts::kTextDialogSpAttack, 122, 88, 28, 14},
        {DialogItemKind::kLabel, 0, texts::kTextDialogSpDefense, 122, 131, 28, 14},
        {DialogItemKind::kEdit, kIvDialogFirstEdit + 0, "", 81, 44, 24, 25},
        {DialogItemKind::kEdit, kIvDialogFirstEdit + 1, "", 81, 88, 24, 25},
        {DialogItemKind::kEdit, kIvDialogFirstEdit + 2, "", 81, 131, 24, 25},
        {DialogItemKind::kEdit, kIvDialogFirstEdit + 3, "", 163, 44, 24, 25},
        {DialogItemKind::kEdit, kIvDialogFirstEdit + 4, "", 163, 88, 24, 25},
        {DialogItemKind::kEdit, kIvDialogFirstEdit + 5, "", 163, 131, 24, 25},
    },
};
