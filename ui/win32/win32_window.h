// The Win32 backend of the window: the entry point's steps, the main window
// procedure and the message loop. The behaviour behind them (start-up,
// commands, painting, the IV dialog) is the shell's, reached through
// ui/shell.h; the backend's part is the Win32 side of ui/platform.h.
//
// Every text crosses to Windows as UTF-16 (the W functions), converted from
// the shell's CP932 with code page 932, so the Japanese shows on any Windows,
// not only on one whose ANSI code page is 932.
#pragma once

#include <windows.h>

#include "state/app_state.h"

// The one AppState of the process, zero-filled at start.
AppState& win32App();

// Registers the window class "quillmar" (CS_HREDRAW | CS_VREDRAW, 30 window
// extra bytes, the system application icon and arrow cursor, the white stock
// brush, menu resource 101 of `instance`). Stores `instance` in win32App().
bool win32RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window: WS_SYSMENU only, 800 x 600 at 96 dpi scaled to
// the DPI it opens at (ui/win32/win32_dpi.h), at the default position, the
// class menu. The shell's start-up runs while it is created (WM_CREATE).
// Then ShowWindow(showCommand) and UpdateWindow. nullptr when creation fails.
HWND win32CreateMainWindow(int showCommand);

// GetMessage until WM_QUIT (or an error); each message goes to
// IsDialogMessage with `mainWindow` first, for Tab between the tab-stop edits,
// and only when not consumed to TranslateMessage and DispatchMessage.
// Returns the wParam of the last message retrieved: the quit message's code.
int win32RunMessageLoop(HWND mainWindow);

// The whole entry point: register, create, loop. The process exit code; 0 when
// registration or creation fails.
int win32Main(HINSTANCE instance, int showCommand);

// The id of the main window's one timer (platformStartTimer), whose
// WM_TIMER goes to shellTimer.
inline constexpr UINT_PTR kWin32ShellTimerId = 1;

LRESULT CALLBACK win32MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The id of a WM_COMMAND that is a click on a button or a menu choice (high
// word 0). A notification (an edit's change, a list's new selection) gives
// false: the shell is never handed one.
bool win32ClickedId(WPARAM wParam, int32_t& id);

// How a written document is handed to the desktop (platformOpenDocument): by
// default `cmd.exe /c start "" "PATH"`, which opens it with the program
// associated with its extension, without a console window. Replaceable so that
// tests can see the call without starting a program.
using Win32DocumentOpener = void (*)(const wchar_t* path);
void win32SetDocumentOpener(Win32DocumentOpener opener);
void win32OpenWithAssociation(const wchar_t* path);
