// The window's resources, defined once for every backend: the command ids,
// the menu bar (resource 101) and the IV entry dialog (resource 102). The texts
// are the CP932 strings of quillmar/texts.h; styles are the Win32 bit values so
// that a Win32 backend can build its templates from this table unchanged.
#pragma once

#include <cstdint>

#include "quillmar/texts.h"

// Command ids: the low word of the Win32 wParam of WM_COMMAND.
inline constexpr int32_t kCmdOk = 1;      // Enter / the dialog's OK
inline constexpr int32_t kCmdCancel = 2;  // Escape / the dialog's cancel and close box
inline constexpr int32_t kCmdReset = 10;
inline constexpr int32_t kCmdAdd = 130;
inline constexpr int32_t kCmdSearch = 132;
inline constexpr int32_t kCmdIvEntry = 133;
inline constexpr int32_t kCmdFirstCandidate = 140;  // 140..159, one per PID candidate slot
inline constexpr int32_t kCmdSpecies = 162;
inline constexpr int32_t kCmdSeedSearch = 220;
inline constexpr int32_t kCmdOutput = 304;
inline constexpr int32_t kCmdScreenOne = 40001;
inline constexpr int32_t kCmdScreenTwo = 40002;

// Win32 window and control style bits used by the templates.
inline constexpr uint32_t kWsPopup = 0x80000000u;
inline constexpr uint32_t kWsChild = 0x40000000u;
inline constexpr uint32_t kWsVisible = 0x10000000u;
inline constexpr uint32_t kWsCaption = 0x00C00000u;
inline constexpr uint32_t kWsBorder = 0x00800000u;
inline constexpr uint32_t kWsSysMenu = 0x00080000u;
inline constexpr uint32_t kWsGroup = 0x00020000u;
inline constexpr uint32_t kWsTabStop = 0x00010000u;
inline constexpr uint32_t kDsSetFont = 0x00000040u;
inline constexpr uint32_t kDsModalFrame = 0x00000080u;
inline constexpr uint32_t kDsFixedSys = 0x00000008u;
inline constexpr uint32_t kBsDefPushButton = 0x00000001u;

// Menu resource 101: one popup with two items.
struct MenuItemTemplate {
  int32_t id;
  const char* text;
};

struct MenuTemplate {
  int32_t resourceId;
  const char* popupText;
  MenuItemTemplate items[2];
};

inline constexpr MenuTemplate kStepMenu = {
    101,
    texts::kTextMenuStep,
    {{kCmdScreenOne, texts::kTextMenuScreen1}, {kCmdScreenTwo, texts::kTextMenuScreen2}},
};

// Dialog items, in template order (which is also the tab order). Positions and
// sizes in dialog units.
enum class DialogItemClass : int32_t { kButton, kStatic, kEdit };

struct DialogItemTemplate {
  int32_t id;  // -1 for a static label
  DialogItemClass itemClass;
  const char* text;
  uint32_t style;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

inline constexpr int32_t kIvDialogItemCount = 14;

struct DialogTemplate {
  int32_t resourceId;
  const char* caption;
  uint32_t style;
  int32_t width;  // dialog units
  int32_t height;
  const char* fontName;
  int32_t fontPoints;
  int32_t fontWeight;
  DialogItemTemplate items[kIvDialogItemCount];
};

// The IV edits have ids kIvDialogFirstEdit + i for stat i (H, A, B, S, C, D).
inline constexpr int32_t kIvDialogFirstEdit = 1001;

inline constexpr uint32_t kDialogLabelStyle = kWsChild | kWsVisible | kWsGroup;
inline constexpr uint32_t kDialogEditStyle = kWsChild | kWsVisible | kWsBorder | kWsTabStop;

// Resource 102, "個体値手動入力": 196 x 108 dialog units, "MS Shell Dlg" 8 pt.
inline constexpr DialogTemplate kIvEntryDialogTemplate = {
    102,
    texts::kTextDialogCaption,
    kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont | kDsFixedSys,
    196,
    108,
    "MS Shell Dlg",
    8,
    400,
    {
        {kCmdOk, DialogItemClass::kButton, texts::kTextDialogOk, kWsChild | kWsVisible | kWsTabStop | kBsDefPushButton,
         132, 39, 50, 14},
        {kCmdCancel, DialogItemClass::kButton, texts::kTextDialogCancel, kWsChild | kWsVisible | kWsTabStop, 131, 70,
         50, 14},
        {-1, DialogItemClass::kStatic, texts::kTextDialogHp, kDialogLabelStyle, 25, 25, 10, 8},
        {-1, DialogItemClass::kStatic, texts::kTextDialogAttack, kDialogLabelStyle, 25, 50, 17, 8},
        {-1, DialogItemClass::kStatic, texts::kTextDialogDefense, kDialogLabelStyle, 25, 75, 17, 8},
        {-1, DialogItemClass::kStatic, texts::kTextDialogSpeed, kDialogLabelStyle, 75, 25, 22, 8},
        {-1, DialogItemClass::kStatic, texts::kTextDialogSpAttack, kDialogLabelStyle, 75, 50, 17, 8},
        {-1, DialogItemClass::kStatic, texts::kTextDialogSpDefense, kDialogLabelStyle, 75, 75, 17, 8},
        {kIvDialogFirstEdit + 0, DialogItemClass::kEdit, "", kDialogEditStyle, 50, 25, 15, 14},
        {kIvDialogFirstEdit + 1, DialogItemClass::kEdit, "", kDialogEditStyle, 50, 50, 15, 14},
        {kIvDialogFirstEdit + 2, DialogItemClass::kEdit, "", kDialogEditStyle, 50, 75, 15, 14},
        {kIvDialogFirstEdit + 3, DialogItemClass::kEdit, "", kDialogEditStyle, 100, 25, 15, 14},
        {kIvDialogFirstEdit + 4, DialogItemClass::kEdit, "", kDialogEditStyle, 100, 50, 15, 14},
        {kIvDialogFirstEdit + 5, DialogItemClass::kEdit, "", kDialogEditStyle, 100, 75, 15, 14},
    },
};
