#include "ui/screens/search_panel.h"

#include "quillmar/texts.h"
#include "ui/screens/screen_common.h"
#include "ui/shell.h"

namespace {

// How often the window looks at a running search.
constexpr int32_t kSearchTickMilliseconds = 100;

SearchPanel& panelOf(AppState& app, const SearchPanelKind& kind) { return app.*kind.panel; }
const SearchPanel& panelOf(const AppState& app, const SearchPanelKind& kind) { return app.*kind.panel; }

void refreshHitButtons(AppState& app, const SearchPanelKind& kind) {
  if (app.screenMode == kind.screen) searchPanelCreateHitButtons(app, kind);
}

}  // namespace

void searchPanelStart(AppState& app, const SearchPanelKind& kind, const SearchRequest& request) {
  SearchPanel& panel = panelOf(app, kind);
  if (panel.status == SearchStatus::kRunning) return;
  panel.notStarted = searchJobStart(kind.kind, request) ? 0 : 1;
  if (panel.notStarted == 0) {
    panel.statusBefore = panel.status;
    panel.yearBefore = panel.year;
    panel.hitCountBefore = panel.hitCount;
    searchPanelDestroyHitButtons(app, kind);
    panel.hitCount = -1;
    panel.year = searchRequestWindow(kind.kind, request).year;
    panel.status = SearchStatus::kRunning;
    panel.percent = 0;
    shellRefreshTimer(app);
  }
  platformInvalidate(app);
}

void searchPanelStop(AppState& app, const SearchPanelKind& kind) {
  if (panelOf(app, kind).status != SearchStatus::kRunning) return;
  searchJobCancel(kind.kind);
  searchPanelFinish(app, kind);
}

void searchPanelFinish(AppState& app, const SearchPanelKind& kind) {
  SearchPanel& panel = panelOf(app, kind);
  const SearchJobOutcome outcome = searchJobCollect(kind.kind);
  const YearSearchResult result = outcome.result;
  if (result.status != YearSearchStatus::kDone && result.status != YearSearchStatus::kCancelled) {
    panel.notStarted = 1;
    panel.status = panel.statusBefore;
    panel.year = panel.yearBefore;
    panel.hitCount = panel.hitCountBefore;
    shellRefreshTimer(app);
    refreshHitButtons(app, kind);
    platformInvalidate(app);
    return;
  }
  panel.status = result.status == YearSearchStatus::kCancelled ? SearchStatus::kStopped : SearchStatus::kFinished;
  shellRefreshTimer(app);
  panel.percent = 100;
  panel.hitsCut = result.count > kSearchHitLimit ? 1 : 0;
  panel.hitTotal = panel.hitsCut != 0 ? kSearchHitLimit : result.count;
  panel.hitCount = result.count < kind.maxShownHits ? result.count : kind.maxShownHits;
  kind.takeIn(app, *outcome.request, *outcome.hits, panel.hitCount);
  const OutputResult written = kind.writeHitFile(app, *outcome.request, *outcome.hits, panel.hitTotal);
  panel.hitFileError = writeError(written);
  if (panel.hitFileError == 0 && panel.status == SearchStatus::kFinished) platformOpenDocument(kind.hitFile);
  refreshHitButtons(app, kind);
  platformInvalidate(app);
}

int32_t searchPanelTickPeriod(const AppState& app, const SearchPanelKind& kind) {
  return panelOf(app, kind).status == SearchStatus::kRunning ? kSearchTickMilliseconds : 0;
}

void searchPanelTick(AppState& app, const SearchPanelKind& kind) {
  SearchPanel& panel = panelOf(app, kind);
  if (panel.status != SearchStatus::kRunning || app.shellCallDepth != 0) return;
  if (searchJobReturned(kind.kind)) {
    searchPanelFinish(app, kind);
    return;
  }
  const int32_t percent = searchJobPercent(kind.kind);
  if (percent != panel.percent) {
    panel.percent = percent;
    platformInvalidate(app);
  }
}

void searchPanelClose(AppState& app, const SearchPanelKind& kind) {
  SearchPanel& panel = panelOf(app, kind);
  if (panel.status != SearchStatus::kRunning) return;
  searchJobCancel(kind.kind);
  searchJobCollect(kind.kind);
  panel.status = SearchStatus::kStopped;
}

void searchPanelDestroyHitButtons(AppState& app, const SearchPanelKind& kind) {
  ControlHandle* buttons = kind.hitButtons(app);
  for (int32_t i = 0; i < kind.maxShownHits; ++i) platformDestroyControl(buttons[i]);
  if (kind.secondButtons == nullptr) return;
  ControlHandle* second = kind.secondButtons(app);
  for (int32_t i = 0; i < kind.maxShownHits; ++i) platformDestroyControl(second[i]);
}

void searchPanelCreateHitButtons(AppState& app, const SearchPanelKind& kind) {
  searchPanelDestroyHitButtons(app, kind);
  ControlHandle* buttons = kind.hitButtons(app);
  const SearchPanel& panel = panelOf(app, kind);
  ControlHandle* second = kind.secondButtons != nullptr ? kind.secondButtons(app) : nullptr;
  for (int32_t i = 0; i < panel.hitCount && i < kind.maxShownHits; ++i) {
    const int32_t y = kind.hitButtonFirstY + kind.hitLineStep * i;
    buttons[i] = createControl(app, ControlKind::kPushButton, kind.firstHitCommand + i, kind.hitButtonX, y,
                               kind.hitButtonWidth, 22, texts::kTextHitButton);
    if (second != nullptr)
      second[i] = createControl(app, ControlKind::kPushButton, kind.firstSecondCommand + i, kind.secondButtonX, y,
                                kind.secondButtonWidth, 22, kind.secondButtonText);
  }
}

void searchPanelPaintStatus(AppState& app, PaintSurface s, const SearchPanelKind& kind) {
  const SearchPanel& panel = panelOf(app, kind);
  if (panel.status == SearchStatus::kRunning) {
    platformPaintText(s, kind.statusX, kind.statusY, formatted(app, texts::kTextSearchRunning, panel.percent));
  } else if (panel.status == SearchStatus::kFinished) {
    platformPaintText(s, kind.statusX, kind.statusY, formatted(app, texts::kTextSearchFinished, panel.hitTotal));
  } else if (panel.status == SearchStatus::kStopped) {
    platformPaintText(s, kind.statusX, kind.statusY, formatted(app, texts::kTextSearchStopped, panel.hitTotal));
  }
}

void searchPanelPaintNotes(AppState& app, PaintSurface s, const SearchPanelKind& kind) {
  const SearchPanel& panel = panelOf(app, kind);
  // At most three lines fit under a list: a field read otherwise than typed,
  // no search started, the list cut, the hit file not written, the first
  // three of these that hold.
  constexpr int32_t kMaxNoteLines = 3;
  int32_t lines = 0;
  int32_t y = kind.noteFirstY;
  auto paintLine = [&](const char* text) {
    if (lines == kMaxNoteLines) return;
    platformPaintText(s, kind.noteX, y, text);
    y += kind.noteLineStep;
    ++lines;
  };
  if (panel.inputNote[0] != '\0') paintLine(panel.inputNote);
  if (panel.notStarted != 0) paintLine(kind.notStartedNote);
  if (panel.status != SearchStatus::kFinished && panel.status != SearchStatus::kStopped) return;
  if (panel.hitsCut != 0) paintLine(formatted(app, kind.hitsCutNote, panel.hitTotal));
  if (panel.hitFileError != 0) {
    formatWriteFailure(app, kind.hitFileNote, panel.hitFileError);
    paintLine(app.scratch.textBuffer);
  }
}
