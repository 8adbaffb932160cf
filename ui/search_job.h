// The window's year searches, each on a worker thread of its own, so that the
// window keeps painting and answering while the engine (core/year_search.h)
// runs. At most one search of each kind exists at a time. Every function here
// is called on the window's thread; a worker only runs the engine and marks
// when it has returned.
#pragma once

#include <cstdint>

#include "core/egg_iv_search.h"
#include "core/egg_search.h"
#include "core/trainer_ids.h"
#include "core/wild_search.h"

// Hits a search keeps (in the engine's order: frame, delay, seed) and writes
// to the hit file. The engine is asked for one more, so that a search handing
// over kSearchHitLimit + 1 hits is known to have found more than it keeps.
inline constexpr int32_t kSearchHitLimit = 1000;

// The searches the window runs: step 5's egg search, step 10's IV search,
// step 12's creature search and step 14's ID search.
enum class SearchKind : int32_t { kEgg, kEggIvs, kWild, kIds };
inline constexpr int32_t kSearchKindCount = 4;

// A search's request, in the member of its kind.
union SearchRequest {
  EggSearchRequest egg;
  EggIvSearchRequest ivs;
  WildSearchRequest wild;
  IdSearchRequest ids;
};

// A search's hits, in the member of its kind.
union SearchJobHits {
  EggHit egg[kSearchHitLimit + 1];
  EggIvHit ivs[kSearchHitLimit + 1];
  WildHit wild[kSearchHitLimit + 1];
  IdHit ids[kSearchHitLimit + 1];
};

// The window of seeds `request` of `kind` runs over.
const YearWindow& searchRequestWindow(SearchKind kind, const SearchRequest& request);

// Starts `request` of `kind` on a new worker thread. Returns false, starting
// nothing, while an earlier search of the kind has not been collected, or
// when no thread can be started.
bool searchJobStart(SearchKind kind, const SearchRequest& request);

// A search of the kind has been started and not yet collected (running or returned).
bool searchJobActive(SearchKind kind);

// The worker has returned: searchJobCollect will not wait.
bool searchJobReturned(SearchKind kind);

// How far the active search of the kind has come, 0..100 (0 without one).
int32_t searchJobPercent(SearchKind kind);

// Test seam: the engine's thread count for the searches started from now on,
// 1..kYearSearchMaxThreads; 0 (the start) takes every core.
void searchJobSetThreads(int32_t threads);

// Asks the active search of the kind to stop; the engine returns within milliseconds.
void searchJobCancel(SearchKind kind);

// What a collected search hands over: the engine's result, the request it
// ran and its hits (hits[0..result.count) of the kind's member, result.count
// at most kSearchHitLimit + 1). The pointers stay valid until the kind's next
// start.
struct SearchJobOutcome {
  YearSearchResult result;
  const SearchRequest* request;
  const SearchJobHits* hits;
};

// Waits for the worker and ends the search. Without an active search the
// result is BadRequest, count 0.
SearchJobOutcome searchJobCollect(SearchKind kind);
