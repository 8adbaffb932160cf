// Step 5's egg search and step 10's IV search, each on a worker thread of its
// own, so that the window keeps painting and answering while the engine
// (core/egg_search.h, core/egg_iv_search.h) runs. At most one search of each
// kind exists at a time. Every function here is called on the window's
// thread; a worker only runs the engine and marks when it has returned.
#pragma once

#include <cstdint>

#include "core/egg_iv_search.h"
#include "core/egg_search.h"

// Hits a search keeps (in the engine's order: frame, delay, seed) and writes
// to the hit file. The engine is asked for one more, so that a search handing
// over kSearchHitLimit + 1 hits is known to have found more than it keeps.
inline constexpr int32_t kSearchHitLimit = 1000;

// Starts `request` on a new worker thread. Returns false, starting nothing,
// while an earlier search has not been collected, or when no thread can be
// started.
bool searchJobStart(const EggSearchRequest& request);

// A search has been started and not yet collected (running or returned).
bool searchJobActive();

// The worker has returned: searchJobCollect will not wait.
bool searchJobReturned();

// How far the active search has come, 0..100 (0 without one).
int32_t searchJobPercent();

// Test seam: the engine's thread count for the searches started from now on,
// 1..kYearSearchMaxThreads; 0 (the start) takes every core.
void searchJobSetThreads(int32_t threads);

// Asks the active search to stop; the engine returns within milliseconds.
void searchJobCancel();

// Waits for the worker, ends the search and hands over its result, the request
// it ran and its hits (hits[0..result.count), result.count at most
// kSearchHitLimit + 1). The pointers stay valid until the next start. Without
// an active search the result is BadRequest, count 0.
YearSearchResult searchJobCollect(const EggSearchRequest*& request, const EggHit*& hits);

// The same for step 10's IV search: the engine's order is n, delay, seed.
bool ivSearchJobStart(const EggIvSearchRequest& request);
bool ivSearchJobActive();
bool ivSearchJobReturned();
int32_t ivSearchJobPercent();
void ivSearchJobCancel();
YearSearchResult ivSearchJobCollect(const EggIvSearchRequest*& request, const EggIvHit*& hits);
