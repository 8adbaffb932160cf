#include "ui/search_job.h"

#include <atomic>
#include <thread>

#include "core/thread_start.h"

namespace {

struct SearchJob {
  std::thread worker;
  std::atomic<int64_t> seedsDone{0};
  std::atomic<bool> cancel{false};
  std::atomic<bool> returned{false};
  int64_t seedTotal = 0;
  EggSearchRequest request{};
  EggSearchResult result{EggSearchStatus::kBadRequest, 0};
  EggHit hits[kSearchHitLimit + 1];
};

// The one search of the process. The window's shell joins its worker before
// the window goes (shellClose), so the thread never outlives main().
SearchJob gJob;

// Set by searchJobSetThreads; 0: every core.
int32_t gThreads = 0;

// The engine's threads: every core, the worker itself being one of them.
int32_t engineThreads() {
  if (gThreads > 0) return gThreads;
  unsigned cores = std::thread::hardware_concurrency();
  if (cores < 1) return 1;
  return cores > static_cast<unsigned>(kEggSearchMaxThreads) ? kEggSearchMaxThreads : static_cast<int32_t>(cores);
}

void runSearch() {
  EggSearchControl control{engineThreads(), &gJob.seedsDone, &gJob.cancel};
  gJob.result = runEggSearch(gJob.request, gJob.hits, kSearchHitLimit + 1, control);
  gJob.returned.store(true, std::memory_order_release);
}

}  // namespace

bool searchJobStart(const EggSearchRequest& request) {
  if (searchJobActive()) return false;
  gJob.request = request;
  gJob.result = EggSearchResult{EggSearchStatus::kBadRequest, 0};
  gJob.seedTotal = eggSearchSeedCount(request);
  gJob.seedsDone.store(0);
  gJob.cancel.store(false);
  gJob.returned.store(false);
  return startThread(gJob.worker, runSearch);  // false: no thread to be had, the search does not start
}

void searchJobSetThreads(int32_t threads) {
  gThreads = threads < 0 ? 0 : threads > kEggSearchMaxThreads ? kEggSearchMaxThreads : threads;
}

bool searchJobActive() { return gJob.worker.joinable(); }

bool searchJobReturned() { return searchJobActive() && gJob.returned.load(std::memory_order_acquire); }

int32_t searchJobPercent() {
  if (!searchJobActive() || gJob.seedTotal <= 0) return 0;
  int64_t done = gJob.seedsDone.load(std::memory_order_relaxed);
  if (done >= gJob.seedTotal) return 100;
  return static_cast<int32_t>(done * 100 / gJob.seedTotal);
}

void searchJobCancel() {
  if (searchJobActive()) gJob.cancel.store(true);
}

EggSearchResult searchJobCollect(const EggSearchRequest*& request, const EggHit*& hits) {
  request = &gJob.request;
  hits = gJob.hits;
  if (!searchJobActive()) return EggSearchResult{EggSearchStatus::kBadRequest, 0};
  gJob.worker.join();
  return gJob.result;
}
