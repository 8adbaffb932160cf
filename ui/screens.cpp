#include "ui/screens.h"

const Screen* screenOf(ScreenMode mode) {
  for (const Screen* screen : kScreens)
    if (screen->mode == mode) return screen;
  return nullptr;
}

void buildScreen(AppState& app, ScreenMode mode) {
  if (const Screen* screen = screenOf(mode)) screen->build(app);
}

void tearDownScreen(AppState& app, ScreenMode mode) {
  if (const Screen* screen = screenOf(mode)) screen->tearDown(app);
  app.pids.pidCandidateCount = -1;
}

void paintScreen(AppState& app, PaintSurface surface) {
  platformPaintFrameRect(surface, -1, -1, 801, 601);
  if (const Screen* screen = screenOf(app.screenMode)) screen->paint(app, surface);
}
