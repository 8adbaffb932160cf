// The screens of the main window, one row each. A screen's file under
// ui/screens/ holds everything its steps need: building and tearing down its
// controls, painting it, its commands, and the work of its steps that
// outlives its controls (step 5's search, step 8's countdown), which the
// window's timer drives whichever screen is shown. Adding a screen is one
// file and one row of kScreens.
//   screen 1: steps 1 and 2   screen 2: steps 3 and 4
//   screen 3: steps 5 and 6   screen 4: steps 7 and 8
//   screen 5: steps 9 and 10  screen 6: steps 11 and 12
//   screen 7: steps 13 and 14
#pragma once

#include <cstdint>

#include "state/app_state.h"
#include "ui/platform.h"

// Command ids firstId..lastId of a screen's controls; taken only while that
// screen is shown, since its controls exist only then.
struct ScreenCommand {
  int32_t firstId;
  int32_t lastId;
  void (*run)(AppState& app, int32_t id);
};

struct Screen {
  ScreenMode mode;
  int32_t menuId;  // the menu entry that shows it
  // What its steps hold from the window's start, before any screen but the
  // first is shown; `directory` is the folder the window reads and keeps its
  // files in. nullptr when nothing.
  void (*start)(AppState& app, const char* directory) = nullptr;
  // Creates its controls in their fixed order and resets what the screen
  // starts afresh with (see each screen's file).
  void (*build)(AppState& app);
  // Destroys every control it made (handles cleared to 0).
  void (*tearDown)(AppState& app);
  // Draws its labels, values and lines on the white client area.
  void (*paint)(AppState& app, PaintSurface surface);
  const ScreenCommand* commands;
  int32_t commandCount;
  // Work that runs on while other screens are shown; nullptr when it has
  // none. tickPeriod: how often (ms) the window's timer must tick for it
  // now, 0 when it needs no tick. tick: a tick of that timer. close: the
  // window is closing; stop and wait for the work.
  int32_t (*tickPeriod)(const AppState& app) = nullptr;
  void (*tick)(AppState& app) = nullptr;
  void (*close)(AppState& app) = nullptr;
};

extern const Screen kScreenSteps12;
extern const Screen kScreenSteps34;
extern const Screen kScreenSteps56;
extern const Screen kScreenSteps78;
extern const Screen kScreenSteps910;
extern const Screen kScreenSteps1112;
extern const Screen kScreenSteps1314;

inline constexpr const Screen* kScreens[] = {&kScreenSteps12, &kScreenSteps34,  &kScreenSteps56,
                                             &kScreenSteps78, &kScreenSteps910, &kScreenSteps1112,
                                             &kScreenSteps1314};

// The row of `mode`; nullptr for ScreenMode::kNone.
const Screen* screenOf(ScreenMode mode);

// Creates the controls of screen `mode` and resets that screen's state.
void buildScreen(AppState& app, ScreenMode mode);

// Destroys every control of screen `mode` (handles cleared) and drops the PID
// list (AppState.pids.pidCandidateCount -1).
void tearDownScreen(AppState& app, ScreenMode mode);

// Draws the shown screen: the white client area, then its labels, values and
// lines. Numbers are formatted through AppState.scratch.textBuffer.
void paintScreen(AppState& app, PaintSurface surface);
