// The seam between the window's behaviour (shell, screens, IV dialog: written
// once) and the one platform backend linked into a build (ui/qt/ on Linux,
// ui/win32/ on Windows, tests/fake_platform.cpp in the tests). The backend
// implements every platform* function below as plain functions; it calls the
// shell back through ui/shell.h (start-up, commands, painting) and through the
// two dialog handlers it is given.
//
// Every text crossing the seam is a NUL-terminated CP932 byte string. Control
// handles are opaque ControlHandle values (0 = no control); positions are
// client-area pixels of the main window, origin top left.
#pragma once

#include <cstdint>

#include "state/app_state.h"
#include "ui/resources/templates.h"

// The six kinds of child control the screens use. The Win32 equivalents:
//   kTabStopEdit      "Edit"     WS_CHILD|WS_VISIBLE|WS_BORDER|WS_TABSTOP
//   kPlainEdit        "Edit"     WS_CHILD|WS_VISIBLE|WS_BORDER
//   kPushButton       "Button"   WS_CHILD|WS_VISIBLE (BS_PUSHBUTTON)
//   kFramedPushButton "Button"   WS_CHILD|WS_VISIBLE|WS_BORDER (BS_PUSHBUTTON)
//   kCheckBox         "Button"   WS_CHILD|WS_VISIBLE|BS_AUTOCHECKBOX
//   kDropDownList     "ComboBox" WS_CHILD|WS_VISIBLE|WS_VSCROLL|CBS_DROPDOWNLIST;
//                     its height includes the dropped list.
// Only kTabStopEdit controls are reached with the Tab key.
enum class ControlKind : int32_t {
  kTabStopEdit,
  kPlainEdit,
  kPushButton,
  kFramedPushButton,
  kCheckBox,
  kDropDownList,
};

struct ControlRect {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

// Where paintScreen draws: an HDC on Win32, the backend's painter elsewhere.
using PaintSurface = std::intptr_t;

// Creates a child control of AppState.mainWindow. `caption` is the initial text
// (button and check-box caption, edit text; ignored for a drop-down list).
// Clicking a button or check box delivers its id to shellCommand with a high
// word of 0. Returns 0 when the control cannot be created.
ControlHandle platformCreateControl(const AppState& app, ControlKind kind, int32_t id, ControlRect rect,
                                    const char* caption);

// Destroys the control and clears `handle` to 0. A handle that is already 0 is
// left alone, so destroying twice can never reach another control.
void platformDestroyControl(ControlHandle& handle);

// Replaces the control's text. Nothing happens for handle 0.
void platformSetText(ControlHandle handle, const char* text);

// Copies at most n - 1 bytes of the control's text into `buffer` and ends it
// with a NUL; a double-byte character that does not fit whole is left out.
// Handle 0 gives the empty text. Returns the number of bytes copied. n >= 1.
int32_t platformGetText(ControlHandle handle, char* buffer, int32_t n);

// Drop-down lists: append a row; select a row; the selected row, -1 for none.
void platformAddListRow(ControlHandle handle, const char* text);
void platformSelectListRow(ControlHandle handle, int32_t row);
int32_t platformSelectedListRow(ControlHandle handle);

// Check boxes: 1 when ticked (BST_CHECKED), 0 otherwise.
int32_t platformCheckState(ControlHandle handle);

// Asks for the whole client area of AppState.mainWindow to be repainted,
// without erasing the background first; the backend then calls shellPaint.
void platformInvalidate(const AppState& app);

// Paint primitives, valid only inside shellPaint.
// The rectangle (left, top)-(right, bottom) with a one-pixel black pen and a
// white brush: with (-1, -1)-(801, 601) the client area becomes white and the
// frame falls outside it.
void platformPaintFrameRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Black text on white in the window's one font, its top-left corner at (x, y).
void platformPaintText(PaintSurface surface, int32_t x, int32_t y, const char* text);
// A one-pixel black line from (x0, y0) to (x1, y1).
void platformPaintLine(PaintSurface surface, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// A modal dialog's behaviour, supplied by the shell side. The init handler runs
// once the items exist (before the dialog is shown); the command handler gets
// every command as a Win32 wParam: the low word an item id, 1 for the default
// button / Enter, 2 for Escape and the close box. It returns true when the
// dialog is to end.
using DialogInitHandler = void (*)(AppState& app, ControlHandle dialog);
using DialogCommandHandler = bool (*)(AppState& app, std::uintptr_t wParam);

// Shows the dialog described by `dialogTemplate` modally over the main window,
// and returns when the command handler has ended it.
void platformRunModalDialog(AppState& app, const DialogTemplate& dialogTemplate, DialogInitHandler onInit,
                            DialogCommandHandler onCommand);

// The handle of the item with `id` in an open dialog (0 when there is none).
// Item handles take the same text operations as controls.
ControlHandle platformDialogItem(ControlHandle dialog, int32_t id);

// Hands a document in the working directory to the desktop's default program.
// Where there is none, nothing happens; the outcome is not reported.
void platformOpenDocument(const char* path);
