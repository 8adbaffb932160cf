// The Qt 6 Widgets backend of the window: the main window with its menu bar
// above an 800 x 600 client area, and the hand-over of clicks, menu choices and
// paint events to the shell (ui/shell.h). The platform functions of
// ui/platform.h are in qt_platform.cpp. main() and the Qt tests use the
// functions below; everything else reaches the backend through the seam.
#pragma once

#include <QString>
#include <cstdint>

#include "state/app_state.h"

class QApplication;
class QMenuBar;
class QWidget;

namespace quillmarqt {

// The client area's size: the canvas below the menu bar.
inline constexpr int kClientWidth = 800;
inline constexpr int kClientHeight = 600;

// Font (a Japanese-capable Gothic, application-wide so that dialogs and list
// popups use it too) and the look of edits and lists. Call once after the
// QApplication exists.
void setUpApplication(QApplication& application);

// Creates the window titled "quillmar" with the menu "ステップ" and runs the
// start-up sequence with `directory` as the data directory (the program passes
// "."). AppState.mainWindow becomes the client area. The window is returned
// unshown; `app` must outlive it.
QWidget* createMainWindow(AppState& app, const char* directory);

// A click on a control of the client area: its id goes to the shell.
void clicked(QWidget* clientArea, int32_t id);

// The shell's timer (platformStartTimer): the client area hands each tick to
// shellTimer. Starting a running timer changes its period.
void startShellTimer(QWidget* clientArea, int32_t milliseconds);
void stopShellTimer(QWidget* clientArea);

// A CP932 text of the shell as the QString shown.
QString fromCp932(const char* text);

// For tests: the client-area widget, the menu bar, and the widget behind a
// control handle (nullptr when the handle is 0 or destroyed).
QWidget* clientArea();
QMenuBar* menuBar();
QWidget* widgetOf(ControlHandle handle);

}  // namespace quillmarqt
