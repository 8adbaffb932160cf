// Display scaling of the Win32 window. quillmar.exe declares per-monitor DPI
// awareness in its manifest (Windows then neither stretches its bitmap nor
// scales anything for it), so the backend scales itself: every position and
// size that the templates and screens give in 96-dpi pixels is multiplied by
// the main window's DPI / 96 here, in the backend only, so that no screen
// knows about DPI. Controls, painted text, painted lines and the IV dialog
// all go through these functions; at 96 dpi each of them is the identity.
#pragma once

#include <windows.h>

#include "ui/platform.h"

// The DPI the window is laid out for: set before the main window is created
// (win32SystemDpi), then on WM_DPICHANGED. 96 until then.
int win32WindowDpi();

// `pixels` at 96 dpi in pixels at the window's DPI: MulDiv(pixels, dpi, 96),
// rounded half away from zero.
int win32Scale(int pixels);

// The DPI of `window`: GetDpiForWindow where Windows has it (Windows 10
// 1607 and later), the screen's LOGPIXELSX otherwise.
int win32DpiOf(HWND window);

// The DPI a new top-level window gets: GetDpiForSystem where Windows has it,
// the screen's LOGPIXELSX otherwise.
int win32SystemDpi();

// Makes `dpi` the window's DPI and makes the font and pen for it. The earlier
// font stays valid until the next call, so controls can be moved to the new
// one first.
void win32SetWindowDpi(int dpi);

// The window's one font at its DPI, for controls and painted text: the face,
// weight and character set of the system's message font at that DPI, at the
// size every template position was laid out for (18-pixel cells, 8 pixels
// average width at 96 dpi: the metrics of the stock System font, which the
// window used before it set a font of its own), scaled.
HFONT win32WindowFont();

// The pen of painted lines and frames: black, one pixel per 96 dpi (1 at
// 96..191 dpi, 2 at 192..287).
HPEN win32WindowPen();

// A control's 96-dpi rectangle, kept with the control, and its placement at
// the window's DPI.
void win32KeepTemplateRect(HWND control, ControlRect rect);
ControlRect win32TemplateRect(HWND control);
ControlRect win32ScaledRect(ControlRect rect);

// WM_DPICHANGED: the window takes `dpi` and the rectangle Windows suggests
// (nullptr: its size at the new DPI, where it is), and every child control is
// placed again from its 96-dpi rectangle with the new font; then it repaints.
void win32ApplyDpi(HWND window, int dpi, const RECT* suggested);

// The main window's outer size at the window's DPI (800 x 600 at 96 dpi).
SIZE win32MainWindowSize();

// Places the items of a dialog made from `dialogTemplate` (in template
// order, as the resource holds them) and sizes its client area at the
// window's DPI: each at its 96-dpi rectangle (the dialog units of the
// resource in its font at 96 dpi) times DPI / 96. At 96 dpi the dialog
// manager's own layout is that already and nothing is moved.
void win32PlaceDialogItems(HWND dialog, const DialogTemplate& dialogTemplate);
