// One search panel for every year search step of the window (step 5's egg
// search, step 10's IV search): starting and stopping its search, taking it
// in from its job on the window's timer, its status line, its notes and its
// hit buttons, over the step's SearchPanel in AppState. The search goes on
// while other screens are shown. What differs between the steps is a
// SearchPanelKind, one constant per step beside its screen.
#pragma once

#include <cstdint>

#include "data/output_file.h"
#include "state/app_state.h"
#include "ui/platform.h"
#include "ui/search_job.h"

struct SearchPanelKind {
  SearchKind kind;
  SearchPanel AppState::*panel;
  ScreenMode screen;      // the screen that shows the panel
  const char* hitFile;    // written at the end of every search, opened after one that ran to its end
  int32_t maxShownHits;   // hit lines on screen, each with a button (at most kMaxShownHits)
  // Writes hits[0..count) of the search's request to the hit file, with what
  // else of the search the step keeps in `app`.
  OutputResult (*writeHitFile)(const AppState& app, const SearchRequest& request, const SearchJobHits& hits,
                               int32_t count);
  // Takes in the search's first hits (hits[0..shown)) as the panel's lines,
  // and whatever else of the search the step keeps.
  void (*takeIn)(AppState& app, const SearchRequest& request, const SearchJobHits& hits, int32_t shown);
  // The screen's hit buttons: maxShownHits handles.
  ControlHandle* (*hitButtons)(AppState& app);
  int32_t firstHitCommand;  // the command of the first hit's button
  int32_t hitButtonX;
  int32_t hitButtonFirstY;
  int32_t hitLineStep;
  int32_t hitButtonWidth;
  // A second button beside each hit's, level with it (secondButtons nullptr:
  // none): maxShownHits handles, the first hit's command, x, width, caption.
  ControlHandle* (*secondButtons)(AppState& app) = nullptr;
  int32_t firstSecondCommand = 0;
  int32_t secondButtonX = 0;
  int32_t secondButtonWidth = 0;
  const char* secondButtonText = nullptr;
  // The status line ("検索中 n%", "完了 n件", "中止 n件").
  int32_t statusX;
  int32_t statusY;
  // The notes below the list, one a line: the search did not start, the list
  // was cut at the limit ("%d": the limit), the hit file was not saved ("%s": why).
  int32_t noteX;
  int32_t noteFirstY;
  int32_t noteLineStep;
  const char* notStartedNote;
  const char* hitsCutNote;
  const char* hitFileNote;
};

// "検索": only while no search of the kind runs. The old list and its buttons
// go; the search starts on its own thread and the timer follows it. When no
// thread can be had, nothing goes: the list, its buttons and the status stay,
// with a note that the search did not start.
void searchPanelStart(AppState& app, const SearchPanelKind& kind, const SearchRequest& request);

// "中止": only while the search runs; what it has found so far is kept.
void searchPanelStop(AppState& app, const SearchPanelKind& kind);

// A search has ended, by itself or stopped: its first kSearchHitLimit hits
// become the step's list and its hit file, and whether it found more is
// kept. A search that ran to its end opens the file for the player when the
// file was written; a stopped one keeps the hits found so far, listed and
// written, and opens nothing. A search the engine could not run (no thread
// for it) leaves the list, the year, the status and the hit file as they
// were before it.
void searchPanelFinish(AppState& app, const SearchPanelKind& kind);

// The window's timer ticks every 100 ms while the search runs, 0 otherwise.
int32_t searchPanelTickPeriod(const AppState& app, const SearchPanelKind& kind);

// A running search's end, or its progress when that has moved. Inside a
// command (the IV dialog's loop, see shellCommand) a search is taken in on
// the first tick after it.
void searchPanelTick(AppState& app, const SearchPanelKind& kind);

// The window is closing: a running search is stopped and its thread joined;
// its hits are dropped with the window.
void searchPanelClose(AppState& app, const SearchPanelKind& kind);

// One hit button (and the second one, when the kind has it) per listed hit,
// level with its line; the buttons of the previous list are destroyed first.
void searchPanelCreateHitButtons(AppState& app, const SearchPanelKind& kind);
void searchPanelDestroyHitButtons(AppState& app, const SearchPanelKind& kind);

// The status line.
void searchPanelPaintStatus(AppState& app, PaintSurface s, const SearchPanelKind& kind);

// The notes below the list: a search that did not start, then, for the list
// shown, a cut at the hit limit and a hit file that was not written.
void searchPanelPaintNotes(AppState& app, PaintSurface s, const SearchPanelKind& kind);
