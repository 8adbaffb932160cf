// The life of step 5's search: taken in from its job on the window's
// timer, its hits listed on screen 3 and written to "search.txt".
#include <cerrno>
#include <cstdio>

#include "core/egg_list.h"
#include "core/egg_search.h"
#include "core/rng.h"
#include "core/seed_time.h"
#include "data/output_file.h"
#include "quillmar/texts.h"
#include "ui/platform.h"
#include "ui/screens/screen_steps56.h"
#include "ui/search_job.h"
#include "ui/shell.h"

namespace {

// Every hit of step 5's last search, beside result.txt.
constexpr char kHitFile[] = "search.txt";
// How often the window looks at a running search.
constexpr int32_t kSearchTickMilliseconds = 100;

// The hit file, CP932 text like result.txt and written the same way (whole
// or not at all): a header, then per hit its seed, its line of the egg list
// (as result.txt shows that frame for that seed) and its first moment with the
// delay that reaches the seed. Returns why it was not written, if it was not.
OutputResult writeHitFile(const EggSearchRequest& request, const EggHit* hits, int32_t count) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, kHitFile);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "SEED,%s%s\n", texts::kTextResultHeader, texts::kTextHitFileTail) > 0;
  char line[kEggFrameLineCapacity];
  for (int32_t i = 0; i < count && ok; ++i) {
    const EggHit& hit = hits[i];
    formatEggFrameLine(line, hit.frame, hit.pid, ShinyTest(hit.pid, request.egg.tid, request.egg.sid));
    ConsoleMoment m{};
    yearHitMoment(hit.seed, request.window.year, m);
    ok = std::fprintf(file.stream, "0x%08X,%s,%04d/%02d/%02d %02d:%02d:%02d,%d\n", hit.seed, line, m.year, m.month,
                      m.day, m.hour, m.minute, m.second, m.delay) > 0;
  }
  OutputResult writes = ok ? OutputResult{OutputOutcome::kWritten, 0} : OutputResult{OutputOutcome::kNotWritten, errno};
  return closeOutputFile(file, writes);
}

EggListSettings settingsOf(const EggListRequest& egg) {
  EggListSettings settings{};
  settings.tid = egg.tid;
  settings.sid = egg.sid;
  settings.internationalMarriage = egg.internationalMarriage ? 1 : 0;
  settings.shinyOnly = egg.shinyOnly ? 1 : 0;
  settings.natureChoice = egg.natureChoice;
  settings.genderChoice = egg.genderChoice;
  settings.abilityChoice = egg.abilityChoice;
  return settings;
}

}  // namespace

void finishSearch(AppState& app) {
  const EggSearchRequest* request = nullptr;
  const EggHit* hits = nullptr;
  YearSearchResult result = searchJobCollect(request, hits);
  if (result.status != YearSearchStatus::kDone && result.status != YearSearchStatus::kCancelled) {
    app.searchNotStarted = 1;
    app.searchStatus = app.statusBeforeSearch;
    app.searchYear = app.yearBeforeSearch;
    app.hitCount = app.hitCountBeforeSearch;
    shellRefreshTimer(app);
    if (app.screenMode == ScreenMode::kThree) createHitButtons(app);
    platformInvalidate(app);
    return;
  }
  app.searchStatus = result.status == YearSearchStatus::kCancelled ? SearchStatus::kStopped : SearchStatus::kFinished;
  shellRefreshTimer(app);
  app.searchPercent = 100;
  app.searchHitsCut = result.count > kSearchHitLimit ? 1 : 0;
  app.searchHitTotal = app.searchHitsCut != 0 ? kSearchHitLimit : result.count;
  app.hitCount = result.count < kMaxShownHits ? result.count : kMaxShownHits;
  app.hitSettings = settingsOf(request->egg);
  for (int32_t i = 0; i < app.hitCount; ++i) {
    const EggHit& hit = hits[i];
    bool shiny = ShinyTest(hit.pid, request->egg.tid, request->egg.sid);
    app.hits[i] = SearchHit{hit.seed, hit.frame, hit.delay, hit.pid, static_cast<uint8_t>(shiny ? 1 : 0)};
  }
  OutputResult written = writeHitFile(*request, hits, app.searchHitTotal);
  app.hitFileError = written.outcome == OutputOutcome::kWritten ? 0 : written.error != 0 ? written.error : EIO;
  if (app.hitFileError == 0 && app.searchStatus == SearchStatus::kFinished) platformOpenDocument(kHitFile);
  if (app.screenMode == ScreenMode::kThree) createHitButtons(app);
  platformInvalidate(app);
}

int32_t searchTickPeriod(const AppState& app) {
  return app.searchStatus == SearchStatus::kRunning ? kSearchTickMilliseconds : 0;
}

void searchTick(AppState& app) {
  if (app.searchStatus != SearchStatus::kRunning || app.shellCallDepth != 0) return;
  if (searchJobReturned()) {
    finishSearch(app);
  } else {
    int32_t percent = searchJobPercent();
    if (percent != app.searchPercent) {
      app.searchPercent = percent;
      platformInvalidate(app);
    }
  }
}

void searchClose(AppState& app) {
  if (app.searchStatus != SearchStatus::kRunning) return;
  searchJobCancel();
  const EggSearchRequest* request = nullptr;
  const EggHit* hits = nullptr;
  searchJobCollect(request, hits);
  app.searchStatus = SearchStatus::kStopped;
}
