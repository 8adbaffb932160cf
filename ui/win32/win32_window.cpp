#include "ui/win32/win32_window.h"

#include "ui/resources/templates.h"
#include "ui/shell.h"
#include "ui/win32/win32_dpi.h"

namespace {

AppState gApp;

constexpr wchar_t kClassName[] = L"quillmar";
constexpr wchar_t kWindowTitle[] = L"quillmar";
constexpr int kWindowExtraBytes = 30;
// The system's application icon and arrow cursor share the id 32512
// (IDI_APPLICATION, IDC_ARROW), here in their UTF-16 form.
constexpr WORD kSystemApplicationIcon = 32512;
constexpr WORD kSystemArrowCursor = 32512;

HWND windowOf(const AppState& app) { return reinterpret_cast<HWND>(app.mainWindow); }

}  // namespace

AppState& win32App() { return gApp; }

bool win32RegisterMainWindowClass(HINSTANCE instance) {
  gApp.instance = reinterpret_cast<std::intptr_t>(instance);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = win32MainWindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = kWindowExtraBytes;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(kSystemApplicationIcon), IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(kSystemArrowCursor), IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszMenuName = MAKEINTRESOURCEW(kStepMenu.resourceId);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0;
}

HWND win32CreateMainWindow(int showCommand) {
  // The controls are made while the window is created (WM_CREATE): the DPI
  // and its font come first.
  win32SetWindowDpi(win32SystemDpi());
  const SIZE size = win32MainWindowSize();
  HWND window = CreateWindowExW(0, kClassName, kWindowTitle, WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                                size.cy, nullptr, nullptr, reinterpret_cast<HINSTANCE>(gApp.instance), nullptr);
  if (window == nullptr) return nullptr;
  // A window that opened on a monitor of another scale takes that monitor's.
  const int dpi = win32DpiOf(window);
  if (dpi != win32WindowDpi()) win32ApplyDpi(window, dpi, nullptr);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return window;
}

int win32RunMessageLoop(HWND mainWindow) {
  MSG msg{};
  for (;;) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (IsDialogMessageW(mainWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int win32Main(HINSTANCE instance, int showCommand) {
  if (!win32RegisterMainWindowClass(instance)) return 0;
  HWND window = win32CreateMainWindow(showCommand);
  if (window == nullptr) return 0;
  return win32RunMessageLoop(window);
}

LRESULT CALLBACK win32MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // The controls of screen 1 are children of this window: its handle is
      // needed before the start-up builds them.
      gApp.mainWindow = reinterpret_cast<std::intptr_t>(window);
      shellStart(gApp, ".");
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      shellPaint(gApp, reinterpret_cast<PaintSurface>(dc));
      EndPaint(window, &ps);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(windowOf(gApp));
      return 0;
    case WM_DPICHANGED:
      // Moved to a monitor of another scale (or its scale changed): the
      // rectangle Windows suggests keeps the window where the player put it.
      win32ApplyDpi(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kWin32ShellTimerId) shellTimer(gApp);
      return 0;
    case WM_DESTROY:
      // Before the controls go: the shell ends what it runs off this thread.
      KillTimer(window, kWin32ShellTimerId);
      shellClose(gApp);
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND: {
      int32_t id = 0;
      if (win32ClickedId(wParam, id)) shellCommand(gApp, id);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool win32ClickedId(WPARAM wParam, int32_t& id) {
  if (HIWORD(wParam) != 0) return false;
  id = LOWORD(wParam);
  return true;
}
