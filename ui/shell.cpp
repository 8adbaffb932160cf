#include "ui/shell.h"

#include "core/typed_numbers.h"
#include "data/data_files.h"
#include "data/tables.h"
#include "ui/screens.h"

namespace {

// A menu entry shows its screen. The entry of the screen already shown does
// nothing: rebuilding it would only throw away what the player has typed.
bool runMenuCommand(AppState& app, int32_t id) {
  for (const Screen* screen : kScreens) {
    if (screen->menuId != id) continue;
    if (app.screenMode != screen->mode) {
      shellSwitchScreen(app, screen->mode);
      platformInvalidate(app);
    }
    return true;
  }
  return false;
}

// The command of the shown screen with this id, if it has one. Each button
// exists only on its own screen, so a command is taken only while that
// screen is shown.
const ScreenCommand* shownScreenCommand(const AppState& app, int32_t id) {
  const Screen* shown = screenOf(app.screenMode);
  if (shown == nullptr) return nullptr;
  for (int32_t i = 0; i < shown->commandCount; ++i) {
    const ScreenCommand& command = shown->commands[i];
    if (id >= command.firstId && id <= command.lastId) return &command;
  }
  return nullptr;
}

}  // namespace

int32_t readDecimalControl(AppState& app, ControlHandle handle, int32_t n) {
  platformGetText(handle, app.scratch.textBuffer, n);
  return parseDecimalText(app.scratch.textBuffer);
}

uint32_t readSeedControl(AppState& app, ControlHandle handle, int32_t n) {
  platformGetText(handle, app.scratch.textBuffer, n);
  return parseSeedText(app.scratch.textBuffer);
}

void shellStart(AppState& app, const char* directory) {
  app.screenMode = ScreenMode::kOne;
  buildNatureTable(app.natureTable);
  loadDefaults(app, directory);
  loadSpeciesTable(app, directory);
  buildScreen(app, ScreenMode::kOne);
  for (const Screen* screen : kScreens)
    if (screen->start != nullptr) screen->start(app, directory);
}

void shellCommand(AppState& app, int32_t id) {
  // The IV dialog's nested event loop runs inside the command and delivers
  // timer ticks: shellTimer takes in no search until the command is over.
  ++app.shellCallDepth;
  if (!runMenuCommand(app, id)) {
    if (const ScreenCommand* command = shownScreenCommand(app, id)) command->run(app, id);
  }
  --app.shellCallDepth;
}

void shellPaint(AppState& app, PaintSurface surface) { paintScreen(app, surface); }

// A tick: each screen's running work (step 5's search, step 8's countdown)
// takes its turn, then the timer follows what still runs.
void shellTimer(AppState& app) {
  for (const Screen* screen : kScreens)
    if (screen->tick != nullptr) screen->tick(app);
  shellRefreshTimer(app);
}

// Every screen's running work is stopped (a search's thread joined, its hits
// dropped with the window), and the timer with them.
void shellClose(AppState& app) {
  for (const Screen* screen : kScreens)
    if (screen->close != nullptr) screen->close(app);
  shellRefreshTimer(app);
}

void shellSwitchScreen(AppState& app, ScreenMode to) {
  ScreenMode from = app.screenMode;
  app.screenMode = to;
  tearDownScreen(app, from);
  buildScreen(app, to);
}

// The window's one timer serves every screen's running work: it ticks at the
// shortest period any of them asks for, and stops when none asks.
void shellRefreshTimer(AppState& app) {
  int32_t period = 0;
  for (const Screen* screen : kScreens) {
    int32_t wanted = screen->tickPeriod != nullptr ? screen->tickPeriod(app) : 0;
    if (wanted > 0 && (period == 0 || wanted < period)) period = wanted;
  }
  if (period == app.shellTimerPeriod) return;
  app.shellTimerPeriod = period;
  if (period == 0) {
    platformStopTimer(app);
  } else {
    platformStartTimer(app, period);
  }
}
