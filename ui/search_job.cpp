#include "ui/search_job.h"

#include <atomic>
#include <thread>

#include "core/thread_start.h"

namespace {

// One search of a kind on a worker thread of its own: the engine's request,
// what it returned and its hits.
struct SearchJob {
  std::thread worker;
  std::atomic<int64_t> seedsDone{0};
  std::atomic<bool> cancel{false};
  std::atomic<bool> returned{false};
  int64_t seedTotal = 0;
  int32_t threads = 1;  // the engine's, taken when the job starts
  SearchRequest request{};
  YearSearchResult result{YearSearchStatus::kBadRequest, 0};
  SearchJobHits hits;
};

// The one search of each kind of the process. The window's shell joins their
// workers before the window goes (shellClose), so no thread outlives main().
SearchJob gJobs[kSearchKindCount];

SearchJob& jobOf(SearchKind kind) { return gJobs[static_cast<int32_t>(kind)]; }

// Set by searchJobSetThreads; 0: every core. Read only on the window's
// thread, when a job starts: a running worker never sees it change.
int32_t gThreads = 0;

// The engine's threads: every core, the worker itself being one of them.
int32_t engineThreads() {
  if (gThreads > 0) return gThreads;
  unsigned cores = std::thread::hardware_concurrency();
  if (cores < 1) return 1;
  return cores > static_cast<unsigned>(kYearSearchMaxThreads) ? kYearSearchMaxThreads : static_cast<int32_t>(cores);
}

int64_t seedCount(SearchKind kind, const SearchRequest& request) {
  switch (kind) {
    case SearchKind::kEgg:
      return eggSearchSeedCount(request.egg);
    case SearchKind::kEggIvs:
      return eggIvSearchSeedCount(request.ivs);
    case SearchKind::kWild:
      return wildSearchSeedCount(request.wild);
    case SearchKind::kIds:
      return idSearchSeedCount(request.ids);
  }
  return 0;
}

YearSearchResult runEngine(SearchKind kind, SearchJob& job, const YearSearchControl& control) {
  switch (kind) {
    case SearchKind::kEgg:
      return runEggSearch(job.request.egg, job.hits.egg, kSearchHitLimit + 1, control);
    case SearchKind::kEggIvs:
      return runEggIvSearch(job.request.ivs, job.hits.ivs, kSearchHitLimit + 1, control);
    case SearchKind::kWild:
      return runWildSearch(job.request.wild, job.hits.wild, kSearchHitLimit + 1, control);
    case SearchKind::kIds:
      return runIdSearch(job.request.ids, job.hits.ids, kSearchHitLimit + 1, control);
  }
  return YearSearchResult{YearSearchStatus::kBadRequest, 0};
}

void run(SearchKind kind, SearchJob& job) {
  YearSearchControl control{job.threads, &job.seedsDone, &job.cancel};
  job.result = runEngine(kind, job, control);
  job.returned.store(true, std::memory_order_release);
}

}  // namespace

const YearWindow& searchRequestWindow(SearchKind kind, const SearchRequest& request) {
  switch (kind) {
    case SearchKind::kEggIvs:
      return request.ivs.window;
    case SearchKind::kWild:
      return request.wild.window;
    case SearchKind::kIds:
      return request.ids.window;
    case SearchKind::kEgg:
      break;
  }
  return request.egg.window;
}

void searchJobSetThreads(int32_t threads) {
  gThreads = threads < 0 ? 0 : threads > kYearSearchMaxThreads ? kYearSearchMaxThreads : threads;
}

bool searchJobStart(SearchKind kind, const SearchRequest& request) {
  SearchJob& job = jobOf(kind);
  if (job.worker.joinable()) return false;
  job.request = request;
  job.result = YearSearchResult{YearSearchStatus::kBadRequest, 0};
  job.seedTotal = seedCount(kind, request);
  job.threads = engineThreads();
  job.seedsDone.store(0);
  job.cancel.store(false);
  job.returned.store(false);
  return startThread(job.worker, [kind, &job] { run(kind, job); });  // false: no thread to be had, the search does not start
}

bool searchJobActive(SearchKind kind) { return jobOf(kind).worker.joinable(); }

bool searchJobReturned(SearchKind kind) {
  const SearchJob& job = jobOf(kind);
  return job.worker.joinable() && job.returned.load(std::memory_order_acquire);
}

int32_t searchJobPercent(SearchKind kind) {
  const SearchJob& job = jobOf(kind);
  if (!job.worker.joinable() || job.seedTotal <= 0) return 0;
  int64_t done = job.seedsDone.load(std::memory_order_relaxed);
  if (done >= job.seedTotal) return 100;
  return static_cast<int32_t>(done * 100 / job.seedTotal);
}

void searchJobCancel(SearchKind kind) {
  SearchJob& job = jobOf(kind);
  if (job.worker.joinable()) job.cancel.store(true);
}

SearchJobOutcome searchJobCollect(SearchKind kind) {
  SearchJob& job = jobOf(kind);
  if (!job.worker.joinable()) return SearchJobOutcome{{YearSearchStatus::kBadRequest, 0}, &job.request, &job.hits};
  job.worker.join();
  return SearchJobOutcome{job.result, &job.request, &job.hits};
}
