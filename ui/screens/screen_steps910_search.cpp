// The life of step 10's search: taken in from its job on the window's timer,
// its hits listed on screen 5 and written to "ivs-search.txt".
#include <cerrno>
#include <cstdio>

#include "core/egg_iv_search.h"
#include "data/output_file.h"
#include "quillmar/texts.h"
#include "ui/platform.h"
#include "ui/screens/screen_steps910.h"
#include "ui/search_job.h"
#include "ui/shell.h"

namespace {

// Every hit of step 10's last search, beside result.txt.
constexpr char kIvHitFile[] = "ivs-search.txt";
// How often the window looks at a running search.
constexpr int32_t kSearchTickMilliseconds = 100;

// The hit file, CP932 text written whole or not at all: a header, then per
// hit its seed, n, six IVs (an inherited one with its parent's letter) and the
// first moment with the delay that reaches the seed.
OutputResult writeIvHitFile(const EggIvSearchRequest& request, const EggIvHit* hits, int32_t count) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, kIvHitFile);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "SEED,%s%s\n", texts::kTextIvFileHeader, texts::kTextHitFileTail) > 0;
  for (int32_t i = 0; i < count && ok; ++i) {
    const EggIvHit& hit = hits[i];
    EggIvs egg = eggIvHitIvs(hit, request.parents);
    char ivs[kEggIvsTextCapacity];
    formatEggIvColumns(ivs, egg);
    ConsoleMoment m{};
    yearHitMoment(hit.seed, request.window.year, m);
    ok = std::fprintf(file.stream, "0x%08X,%d,%s,%04d/%02d/%02d %02d:%02d:%02d,%d\n", hit.seed, hit.frame, ivs, m.year,
                      m.month, m.day, m.hour, m.minute, m.second, m.delay) > 0;
  }
  OutputResult writes = ok ? OutputResult{OutputOutcome::kWritten, 0} : OutputResult{OutputOutcome::kNotWritten, errno};
  return closeOutputFile(file, writes);
}

}  // namespace

void finishIvSearch(AppState& app) {
  const EggIvSearchRequest* request = nullptr;
  const EggIvHit* hits = nullptr;
  YearSearchResult result = ivSearchJobCollect(request, hits);
  if (result.status != YearSearchStatus::kDone && result.status != YearSearchStatus::kCancelled) {
    app.ivSearchNotStarted = 1;
    app.ivSearchStatus = app.ivStatusBeforeSearch;
    app.ivSearchYear = app.ivYearBeforeSearch;
    app.ivHitCount = app.ivHitCountBeforeSearch;
    shellRefreshTimer(app);
    if (app.screenMode == ScreenMode::kFive) createIvHitButtons(app);
    platformInvalidate(app);
    return;
  }
  app.ivSearchStatus = result.status == YearSearchStatus::kCancelled ? SearchStatus::kStopped : SearchStatus::kFinished;
  shellRefreshTimer(app);
  app.ivSearchPercent = 100;
  app.ivSearchHitsCut = result.count > kSearchHitLimit ? 1 : 0;
  app.ivSearchHitTotal = app.ivSearchHitsCut != 0 ? kSearchHitLimit : result.count;
  app.ivHitCount = result.count < kMaxShownIvHits ? result.count : kMaxShownIvHits;
  for (int32_t i = 0; i < app.ivHitCount; ++i) {
    const EggIvHit& hit = hits[i];
    IvHit& shown = app.ivHits[i];
    shown = IvHit{hit.seed, hit.frame, hit.delay, {}};
    formatEggIvs(shown.ivs, eggIvHitIvs(hit, request->parents));
  }
  OutputResult written = writeIvHitFile(*request, hits, app.ivSearchHitTotal);
  app.ivHitFileError = written.outcome == OutputOutcome::kWritten ? 0 : written.error != 0 ? written.error : EIO;
  if (app.ivHitFileError == 0 && app.ivSearchStatus == SearchStatus::kFinished) platformOpenDocument(kIvHitFile);
  if (app.screenMode == ScreenMode::kFive) createIvHitButtons(app);
  platformInvalidate(app);
}

int32_t ivSearchTickPeriod(const AppState& app) {
  return app.ivSearchStatus == SearchStatus::kRunning ? kSearchTickMilliseconds : 0;
}

void ivSearchTick(AppState& app) {
  if (app.ivSearchStatus != SearchStatus::kRunning || app.shellCallDepth != 0) return;
  if (ivSearchJobReturned()) {
    finishIvSearch(app);
  } else {
    int32_t percent = ivSearchJobPercent();
    if (percent != app.ivSearchPercent) {
      app.ivSearchPercent = percent;
      platformInvalidate(app);
    }
  }
}

void ivSearchClose(AppState& app) {
  if (app.ivSearchStatus != SearchStatus::kRunning) return;
  ivSearchJobCancel();
  const EggIvSearchRequest* request = nullptr;
  const EggIvHit* hits = nullptr;
  ivSearchJobCollect(request, hits);
  app.ivSearchStatus = SearchStatus::kStopped;
}
