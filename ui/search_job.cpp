#include "ui/search_job.h"

#include <atomic>
#include <thread>

#include "core/thread_start.h"

namespace {

// One search of a kind on a worker thread of its own: the engine's request,
// what it returned and its hits.
template <typename Request, typename Hit>
struct SearchJob {
  std::thread worker;
  std::atomic<int64_t> seedsDone{0};
  std::atomic<bool> cancel{false};
  std::atomic<bool> returned{false};
  int64_t seedTotal = 0;
  Request request{};
  YearSearchResult result{YearSearchStatus::kBadRequest, 0};
  Hit hits[kSearchHitLimit + 1];
};

// The one egg search and the one IV search of the process. The window's shell
// joins their workers before the window goes (shellClose), so no thread
// outlives main().
SearchJob<EggSearchRequest, EggHit> gEggJob;
SearchJob<EggIvSearchRequest, EggIvHit> gIvJob;

// Set by searchJobSetThreads; 0: every core.
int32_t gThreads = 0;

// The engine's threads: every core, the worker itself being one of them.
int32_t engineThreads() {
  if (gThreads > 0) return gThreads;
  unsigned cores = std::thread::hardware_concurrency();
  if (cores < 1) return 1;
  return cores > static_cast<unsigned>(kYearSearchMaxThreads) ? kYearSearchMaxThreads : static_cast<int32_t>(cores);
}

YearSearchResult runEngine(SearchJob<EggSearchRequest, EggHit>& job, const YearSearchControl& control) {
  return runEggSearch(job.request, job.hits, kSearchHitLimit + 1, control);
}
YearSearchResult runEngine(SearchJob<EggIvSearchRequest, EggIvHit>& job, const YearSearchControl& control) {
  return runEggIvSearch(job.request, job.hits, kSearchHitLimit + 1, control);
}
int64_t seedCount(const EggSearchRequest& request) { return eggSearchSeedCount(request); }
int64_t seedCount(const EggIvSearchRequest& request) { return eggIvSearchSeedCount(request); }

template <typename Job>
void run(Job& job) {
  YearSearchControl control{engineThreads(), &job.seedsDone, &job.cancel};
  job.result = runEngine(job, control);
  job.returned.store(true, std::memory_order_release);
}

template <typename Job, typename Request>
bool start(Job& job, const Request& request) {
  if (job.worker.joinable()) return false;
  job.request = request;
  job.result = YearSearchResult{YearSearchStatus::kBadRequest, 0};
  job.seedTotal = seedCount(request);
  job.seedsDone.store(0);
  job.cancel.store(false);
  job.returned.store(false);
  return startThread(job.worker, [&job] { run(job); });  // false: no thread to be had, the search does not start
}

template <typename Job>
bool returned(Job& job) {
  return job.worker.joinable() && job.returned.load(std::memory_order_acquire);
}

template <typename Job>
int32_t percent(Job& job) {
  if (!job.worker.joinable() || job.seedTotal <= 0) return 0;
  int64_t done = job.seedsDone.load(std::memory_order_relaxed);
  if (done >= job.seedTotal) return 100;
  return static_cast<int32_t>(done * 100 / job.seedTotal);
}

template <typename Job>
void cancel(Job& job) {
  if (job.worker.joinable()) job.cancel.store(true);
}

template <typename Job, typename Request, typename Hit>
YearSearchResult collect(Job& job, const Request*& request, const Hit*& hits) {
  request = &job.request;
  hits = job.hits;
  if (!job.worker.joinable()) return YearSearchResult{YearSearchStatus::kBadRequest, 0};
  job.worker.join();
  return job.result;
}

}  // namespace

void searchJobSetThreads(int32_t threads) {
  gThreads = threads < 0 ? 0 : threads > kYearSearchMaxThreads ? kYearSearchMaxThreads : threads;
}

bool searchJobStart(const EggSearchRequest& request) { return start(gEggJob, request); }
bool searchJobActive() { return gEggJob.worker.joinable(); }
bool searchJobReturned() { return returned(gEggJob); }
int32_t searchJobPercent() { return percent(gEggJob); }
void searchJobCancel() { cancel(gEggJob); }
YearSearchResult searchJobCollect(const EggSearchRequest*& request, const EggHit*& hits) {
  return collect(gEggJob, request, hits);
}

bool ivSearchJobStart(const EggIvSearchRequest& request) { return start(gIvJob, request); }
bool ivSearchJobActive() { return gIvJob.worker.joinable(); }
bool ivSearchJobReturned() { return returned(gIvJob); }
int32_t ivSearchJobPercent() { return percent(gIvJob); }
void ivSearchJobCancel() { cancel(gIvJob); }
YearSearchResult ivSearchJobCollect(const EggIvSearchRequest*& request, const EggIvHit*& hits) {
  return collect(gIvJob, request, hits);
}
