// "個体値手動入力": the modal dialog in which a player types six known IVs
// instead of measuring them. Its behaviour is written here once; the backend
// only shows the template of ui/resources/templates.h and calls back.
#pragma once

#include <cstdint>

#include "state/app_state.h"
#include "ui/platform.h"

// Command 133: runs the dialog modally; returns when it has ended.
void ivEntryDialog(AppState& app);

// Prefill: each stat whose IV is fixed shows it as "%d"; open stats stay empty.
void ivDialogInit(AppState& app, ControlHandle dialog);

// OK: every edit read with 3 bytes (two characters) by the decimal rule,
// clamped to 0..31, fixes its stat; row 0 becomes all "not measured" (-1) and
// the measurement count 1; the nature list and the base-stat edits go away;
// repaint. Cancel: nothing changes.
void ivDialogEnd(AppState& app, DialogOutcome outcome);
