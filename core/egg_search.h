// Egg search: every initial seed a player can reach in a year, scanned for the
// frames that the egg list would keep.
//
// The seeds of year Y are 0xAABBCCCC with AA any of 0..255, BB an hour of the
// request's hour set and CCCC = (delay + (Y - 2000)) mod 65536 for every delay
// of [delayMin, delayMax] (see core/seed_time.h). Delays lie in 0..65535, so
// each seed is reached by exactly one delay of the window. For each seed,
// frames 0..F-1 (F = egg.frameCount) are computed exactly as the egg list
// computes them (Mersenne Twister output i, marriage rerolls, shiny test) and
// kept by exactly its filters (eggFrameKept). A hit is a kept (seed, frame).
//
// Hits are ordered by frame, then delay, then seed, all ascending; a search
// returns the first `capacity` of them, whatever the thread count or the
// kernel. Memory: the caller's hit array and, per thread, a fixed block on its
// stack; nothing is allocated while seeds are scanned.
//
// Use from a window: call runEggSearch on a worker thread; read `seedsDone`
// from the window's thread for a progress display (out of eggSearchSeedCount);
// set `cancel` to stop. The search checks it between rows of 256 seeds and
// every 624 frames, which is a few milliseconds at most with F <= 624 and the
// scalar kernel; it then returns within that time with status Cancelled.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/egg_list.h"
#include "core/seed_time.h"

// How the seeds are computed: all give identical hits. Auto takes the widest
// the processor has (Avx512 needs AVX-512 F, BW and VBMI2); the others exist
// for tests and benchmarks.
enum class EggSearchKernel : int32_t { Auto, Scalar, Avx2, Avx512 };

struct EggSearchRequest {
  int32_t year;      // 2000..2099
  int32_t delayMin;  // 0 <= delayMin <= delayMax <= 65535
  int32_t delayMax;
  uint32_t hourMask;  // bit h set: hour h (0..23) is searched; bits 24..31 must be clear
  // The egg list asked of every seed: frameCount is F (frames 0..F-1, F >= 1),
  // with its IDs, marriage flag and filters as the list reads them; the
  // initial seed is ignored.
  EggListRequest egg;
  EggSearchKernel kernel;
};

struct EggHit {
  uint32_t seed;
  int32_t frame;
  int32_t delay;  // the delay of the window that reaches the seed in the year
  uint32_t pid;   // the frame's final PID, as its egg list line shows it
};

struct EggSearchControl {
  int32_t threads;                   // 1..kEggSearchMaxThreads; the calling thread is one of them
  std::atomic<int64_t>* seedsDone;   // optional: seeds scanned or ruled out, set to 0 at the start
  const std::atomic<bool>* cancel;   // optional: true stops the search
};

inline constexpr int32_t kEggSearchMaxThreads = 64;

enum class EggSearchStatus : int32_t {
  kDone,        // hits[0..count) are the first `count` hits; count < capacity means there are no more
  kCancelled,   // hits[0..count) are sorted hits found before the stop; earlier ones may be missing
  kBadRequest,  // a field is out of range (eggSearchRequestValid); nothing was searched
  kNoThreads,   // a helper thread could not be started: those started were stopped and joined; count is 0
};

struct EggSearchResult {
  EggSearchStatus status;
  int32_t count;
};

// Every field in its range and the kernel available on this processor.
bool eggSearchRequestValid(const EggSearchRequest& request);

// The seeds of the request: 256 x hours x delays.
int64_t eggSearchSeedCount(const EggSearchRequest& request);

// Whether this processor (and this build) runs the kernel. Auto and Scalar always.
bool eggSearchKernelAvailable(EggSearchKernel kernel);

// The search. hits must hold `capacity` (>= 0) entries. On return seedsDone
// equals eggSearchSeedCount when the status is Done: seeds that could not add
// a hit ahead of the ones collected are counted without being scanned. When
// the system refuses one of the control.threads - 1 helper threads, the
// search runs with none of them: it stops and joins those it started and
// returns NoThreads.
EggSearchResult runEggSearch(const EggSearchRequest& request, EggHit* hits, int32_t capacity,
                             const EggSearchControl& control);

// Test seam, null in the programs: after each row of 256 seeds a searching
// thread of either egg search (this one or core/egg_iv_search.h's) has
// scanned, and before the row counts in seedsDone, the search calls the hook
// on that thread with the search's control. The hook may block: a
// test holds the threads there so that the progress it looks at, or the point
// where it stops the search, is one it chose rather than one the machine's
// speed gave. A hook that blocks must return once control.cancel is set, or
// the search cannot stop. Set it while no search runs.
using EggSearchRowHook = void (*)(const EggSearchControl& control);
void setEggSearchRowHook(EggSearchRowHook hook);

// Puts hits[0..count) in the search's order (frame, then delay, then seed),
// in place, with up to `threads` threads (held to 1..kEggSearchMaxThreads;
// fewer when the system refuses some: the order is the same). Within
// one frame and delay the seeds share their lower half, so the upper half
// orders them.
void sortEggHits(EggHit* hits, int32_t count, int32_t threads);

// The first moment of the year that gives the hit's seed, with its delay (the
// hit's): the first line of the seed's listing for that year. False only for
// a year outside 2000..2099.
bool eggHitMoment(const EggHit& hit, int32_t year, ConsoleMoment& moment);
