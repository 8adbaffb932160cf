#include "ui/search_job.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace {

struct SearchJob {
  std::thread worker;
  std::atomic<int64_t> seedsDone{0};
  std::atomic<bool> cancel{false};
  std::atomic<bool> returned{false};
  int64_t seedTotal = 0;
  EggSearchRequest request{};
  EggSearchResult result{EggSearchStatus::BadRequest, 0};
  EggHit hits[kSearchHitLimit];
};

// The one search of the process. The window's shell joins its worker before
// the window goes (shellClose), so the thread never outlives main().
SearchJob g_job;

// The engine's threads: every core, the worker itself being one of them.
int32_t engineThreads() {
  unsigned cores = std::thread::hardware_concurrency();
  if (cores < 1) return 1;
  return cores > static_cast<unsigned>(kEggSearchMaxThreads) ? kEggSearchMaxThreads : static_cast<int32_t>(cores);
}

void runSearch() {
  EggSearchControl control{engineThreads(), &g_job.seedsDone, &g_job.cancel};
  g_job.result = runEggSearch(g_job.request, g_job.hits, kSearchHitLimit, control);
  g_job.returned.store(true, std::memory_order_release);
}

}  // namespace

bool searchJobStart(const EggSearchRequest& request) {
  if (searchJobActive()) return false;
  g_job.request = request;
  g_job.result = EggSearchResult{EggSearchStatus::BadRequest, 0};
  g_job.seedTotal = eggSearchSeedCount(request);
  g_job.seedsDone.store(0);
  g_job.cancel.store(false);
  g_job.returned.store(false);
  try {
    g_job.worker = std::thread(runSearch);
  } catch (const std::system_error&) {
    return false;  // no thread to be had: the search does not start
  }
  return true;
}

bool searchJobActive() { return g_job.worker.joinable(); }

bool searchJobReturned() { return searchJobActive() && g_job.returned.load(std::memory_order_acquire); }

int32_t searchJobPercent() {
  if (!searchJobActive() || g_job.seedTotal <= 0) return 0;
  int64_t done = g_job.seedsDone.load(std::memory_order_relaxed);
  if (done >= g_job.seedTotal) return 100;
  return static_cast<int32_t>(done * 100 / g_job.seedTotal);
}

void searchJobCancel() {
  if (searchJobActive()) g_job.cancel.store(true);
}

EggSearchResult searchJobCollect(const EggSearchRequest*& request, const EggHit*& hits) {
  request = &g_job.request;
  hits = g_job.hits;
  if (!searchJobActive()) return EggSearchResult{EggSearchStatus::BadRequest, 0};
  g_job.worker.join();
  return g_job.result;
}
