// The Win32 side of ui/platform.h. Texts arrive as CP932 and go to Windows as
// UTF-16 (W functions); texts read back are converted to CP932 and cut to the
// caller's length without splitting a double-byte character. Characters that
// CP932 lacks (typed or pasted by the player) come back as "?".
#include <windows.h>

#include <string>

#include "text/cp932.h"
#include "ui/platform.h"
#include "ui/win32/win32_dpi.h"
#include "ui/win32/win32_window.h"

namespace {

HWND hwndOf(ControlHandle handle) { return reinterpret_cast<HWND>(handle); }

struct ControlClass {
  const wchar_t* className;
  DWORD style;
};

ControlClass classOf(ControlKind kind) {
  constexpr DWORD kBase = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::kTabStopEdit:
      return {L"Edit", kBase | WS_BORDER | WS_TABSTOP};
    case ControlKind::kPlainEdit:
      return {L"Edit", kBase | WS_BORDER};
    case ControlKind::kPushButton:
      return {L"Button", kBase | BS_PUSHBUTTON};
    case ControlKind::kFramedPushButton:
      return {L"Button", kBase | WS_BORDER | BS_PUSHBUTTON};
    case ControlKind::kCheckBox:
      return {L"Button", kBase | BS_AUTOCHECKBOX};
    case ControlKind::kDropDownList:
      return {L"ComboBox", kBase | WS_VSCROLL | CBS_DROPDOWNLIST};
  }
  return {L"Static", kBase};
}

Win32DocumentOpener gOpener = win32OpenWithAssociation;

// What a modal dialog's procedure needs: the shell's handlers and the state.
struct DialogContext {
  AppState* app;
  const DialogTemplate* dialogTemplate;
  DialogInitHandler onInit;
  DialogEndHandler onEnd;
};

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* context = reinterpret_cast<DialogContext*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      win32PlaceDialogItems(dialog, *context->dialogTemplate);
      context->onInit(*context->app, reinterpret_cast<ControlHandle>(dialog));
      return TRUE;  // the focus goes to the first tab stop, "OK"
    }
    case WM_COMMAND: {
      // OK and Enter come as IDOK; the cancel button, Escape and the close box as IDCANCEL.
      auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
      int32_t id = 0;
      if (context == nullptr || !win32ClickedId(wParam, id) || (id != IDOK && id != IDCANCEL)) return FALSE;
      context->onEnd(*context->app, id == IDOK ? DialogOutcome::kOk : DialogOutcome::kCancel);
      EndDialog(dialog, 2);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

ControlHandle platformCreateControl(const AppState& app, ControlKind kind, int32_t id, ControlRect rect,
                                    const char* caption) {
  ControlClass c = classOf(kind);
  const ControlRect at = win32ScaledRect(rect);
  HWND control = CreateWindowExW(0, c.className, L"", c.style, at.x, at.y, at.width, at.height,
                                 reinterpret_cast<HWND>(app.mainWindow),
                                 reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                                 reinterpret_cast<HINSTANCE>(app.instance), nullptr);
  if (control == nullptr) return 0;
  win32KeepTemplateRect(control, rect);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(win32WindowFont()), FALSE);
  if (kind != ControlKind::kDropDownList && caption != nullptr && caption[0] != '\0') {
    SetWindowTextW(control, cp932ToUtf16(caption).c_str());
  }
  return reinterpret_cast<ControlHandle>(control);
}

void platformDestroyControl(ControlHandle& handle) {
  if (handle == 0) return;
  DestroyWindow(hwndOf(handle));
  handle = 0;
}

void platformSetText(ControlHandle handle, const char* text) {
  if (handle == 0) return;
  SetWindowTextW(hwndOf(handle), cp932ToUtf16(text).c_str());
}

int32_t platformGetText(ControlHandle handle, char* buffer, int32_t n) {
  buffer[0] = '\0';
  if (handle == 0 || n <= 1) return 0;
  int length = GetWindowTextLengthW(hwndOf(handle));
  if (length <= 0) return 0;
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(hwndOf(handle), wide.data(), length + 1);
  wide.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return copyCp932Cut(utf16ToCp932(wide), buffer, n);
}

void platformAddListRow(ControlHandle handle, const char* text) {
  if (handle == 0) return;
  std::wstring wide = cp932ToUtf16(text);
  SendMessageW(hwndOf(handle), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void platformSelectListRow(ControlHandle handle, int32_t row) {
  if (handle == 0) return;
  SendMessageW(hwndOf(handle), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int32_t platformSelectedListRow(ControlHandle handle) {
  if (handle == 0) return -1;
  LRESULT row = SendMessageW(hwndOf(handle), CB_GETCURSEL, 0, 0);
  return row == CB_ERR ? -1 : static_cast<int32_t>(row);
}

bool platformIsChecked(ControlHandle handle) {
  return handle != 0 && SendMessageW(hwndOf(handle), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void platformSetChecked(ControlHandle handle, bool checked) {
  if (handle != 0) SendMessageW(hwndOf(handle), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void platformInvalidate(const AppState& app) { InvalidateRect(reinterpret_cast<HWND>(app.mainWindow), nullptr, FALSE); }

// Painting uses the device context as BeginPaint hands it over (white brush,
// black text on an opaque white background) with the window's font and pen;
// every coordinate is scaled to the window's DPI.
void platformPaintFrameRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  HDC dc = reinterpret_cast<HDC>(surface);
  SelectObject(dc, win32WindowPen());
  Rectangle(dc, win32Scale(left), win32Scale(top), win32Scale(right), win32Scale(bottom));
}

void platformPaintText(PaintSurface surface, int32_t x, int32_t y, const char* text) {
  HDC dc = reinterpret_cast<HDC>(surface);
  SelectObject(dc, win32WindowFont());
  std::wstring wide = cp932ToUtf16(text);
  TextOutW(dc, win32Scale(x), win32Scale(y), wide.c_str(), static_cast<int>(wide.size()));
}

void platformPaintLine(PaintSurface surface, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  HDC dc = reinterpret_cast<HDC>(surface);
  SelectObject(dc, win32WindowPen());
  MoveToEx(dc, win32Scale(x0), win32Scale(y0), nullptr);
  LineTo(dc, win32Scale(x1), win32Scale(y1));
}

void platformPaintLargeText(PaintSurface surface, int32_t x, int32_t y, const char* text) {
  HDC dc = reinterpret_cast<HDC>(surface);
  LOGFONTW look{};
  GetObjectW(win32WindowFont(), sizeof look, &look);
  look.lfHeight = -win32Scale(48);
  look.lfWidth = 0;
  HFONT large = CreateFontIndirectW(&look);
  HGDIOBJ old = SelectObject(dc, large);
  std::wstring wide = cp932ToUtf16(text);
  TextOutW(dc, win32Scale(x), win32Scale(y), wide.c_str(), static_cast<int>(wide.size()));
  SelectObject(dc, old);
  DeleteObject(large);
}

void platformPaintFilledRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  RECT r{win32Scale(left), win32Scale(top), win32Scale(right), win32Scale(bottom)};
  FillRect(reinterpret_cast<HDC>(surface), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

int64_t platformNowMilliseconds() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<int64_t>(now.QuadPart / frequency * 1000 + now.QuadPart % frequency * 1000 / frequency);
}

void platformEnableControl(ControlHandle handle, bool enabled) {
  if (handle != 0) EnableWindow(hwndOf(handle), enabled ? TRUE : FALSE);
}

void platformFocusControl(ControlHandle handle) {
  if (handle != 0) SetFocus(hwndOf(handle));
}

void platformRunModalDialog(AppState& app, const DialogTemplate& dialogTemplate, DialogInitHandler onInit,
                            DialogEndHandler onEnd) {
  DialogContext context{&app, &dialogTemplate, onInit, onEnd};
  DialogBoxParamW(reinterpret_cast<HINSTANCE>(app.instance), MAKEINTRESOURCEW(dialogTemplate.resourceId),
                  reinterpret_cast<HWND>(app.mainWindow), dialogProc, reinterpret_cast<LPARAM>(&context));
}

ControlHandle platformDialogItem(ControlHandle dialog, int32_t id) {
  if (dialog == 0) return 0;
  return reinterpret_cast<ControlHandle>(GetDlgItem(hwndOf(dialog), id));
}

void platformStartTimer(const AppState& app, int32_t milliseconds) {
  SetTimer(reinterpret_cast<HWND>(app.mainWindow), kWin32ShellTimerId, static_cast<UINT>(milliseconds < 1 ? 1 : milliseconds),
           nullptr);
}

void platformStopTimer(const AppState& app) { KillTimer(reinterpret_cast<HWND>(app.mainWindow), kWin32ShellTimerId); }

void platformOpenDocument(const char* path) { gOpener(cp932ToUtf16(path).c_str()); }

void win32SetDocumentOpener(Win32DocumentOpener opener) { gOpener = opener ? opener : win32OpenWithAssociation; }

// The command interpreter's `start` opens a document with the program that
// its extension is associated with, as ShellExecute would; going through it
// keeps SHELL32 out of the executable's imports.
// CREATE_NO_WINDOW: no console flashes up. The outcome is not looked at.
void win32OpenWithAssociation(const wchar_t* path) {
  std::wstring commandLine = L"cmd.exe /c start \"\" \"";
  commandLine += path;
  commandLine += L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}
