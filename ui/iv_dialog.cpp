#include "ui/iv_dialog.h"

#include <cstdio>

#include "ui/resources/templates.h"
#include "ui/shell.h"

namespace {

void accept(AppState& app) {
  for (int i = 0; i < kStatCount; ++i) {
    int32_t v = readDecimalControl(app, app.ivDialog.ivDialogEdits[i], kReadIvDialogEdit);
    if (v >= 32) v = 31;
    if (v < 0) v = 0;
    app.measure.ivRanges[i] = IvRange{v, v};
  }
  MeasurementRow& row = app.measure.measurements[0];
  row.level = -1;
  for (int i = 0; i < kStatCount; ++i) row.stats[i] = -1;
  app.measure.measurementCount = 1;
  // The nature list goes; AppState.measure.natureIndex keeps what command 133 read.
  platformDestroyControl(app.screen1.natureCombo);
  // The base-stat edits go too: step 1 is now in its measured state, where the
  // base stats are painted in their place, and "リセット" creates them anew —
  // left standing they would be duplicated by it.
  for (ControlHandle& h : app.screen1.baseStatEdits) platformDestroyControl(h);
  platformInvalidate(app);
}

}  // namespace

void ivEntryDialog(AppState& app) {
  platformRunModalDialog(app, kIvEntryDialogTemplate, ivDialogInit, ivDialogEnd);
  // The dialog's edits lived only while it was open.
  for (ControlHandle& h : app.ivDialog.ivDialogEdits) h = 0;
}

void ivDialogInit(AppState& app, ControlHandle dialog) {
  for (int i = 0; i < kStatCount; ++i) {
    app.ivDialog.ivDialogEdits[i] = platformDialogItem(dialog, kIvDialogFirstEdit + i);
    const IvRange& r = app.measure.ivRanges[i];
    if (!isFixed(r)) continue;
    char text[5];
    std::snprintf(text, sizeof text, "%d", r.low);
    platformSetText(app.ivDialog.ivDialogEdits[i], text);
  }
}

void ivDialogEnd(AppState& app, DialogOutcome outcome) {
  if (outcome == DialogOutcome::kOk) accept(app);
}
