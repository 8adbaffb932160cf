// The year search: what every aim-first search over the initial seeds a
// player can reach in one year shares, whatever it looks for (the egg's PID,
// its IVs, ...).
//
// The seeds of a window are 0xAABBCCCC with AA any of 0..255, BB an hour of
// the window's hour set and CCCC = (delay + (Y - 2000)) mod 65536 for every
// delay of [delayMin, delayMax] (see core/seed_time.h). Delays lie in
// 0..65535, so each seed is reached by exactly one delay of the window. A
// search kind scans frames (or advances) 0..F-1 of every seed and says which
// (seed, frame) pairs are hits.
//
// Hits are ordered by frame, then delay, then seed, all ascending; a search
// returns the first `capacity` of them, whatever the thread count or the
// kernel. Memory: the caller's hit array and, per thread, a fixed block on its
// stack; nothing is allocated while seeds are scanned.
//
// Use from a window: run the search on a worker thread; read `seedsDone` from
// the window's thread for a progress display (out of the kind's seed count);
// set `cancel` to stop. A search checks it between rows of 256 seeds and now
// and then within a long row; it then returns within milliseconds with status
// Cancelled.
#pragma once

#include <atomic>
#include <cstdint>

#include "state/app_state.h"

// The seeds of a year a search runs over.
struct YearWindow {
  int32_t year;      // 2000..2099
  int32_t delayMin;  // 0 <= delayMin <= delayMax <= 65535
  int32_t delayMax;
  uint32_t hourMask;  // bit h set: hour h (0..23) is searched; bits 24..31 must be clear
};

// Year 2000..2099, 0 <= delayMin <= delayMax <= 65535, hours 0..23.
bool yearWindowValid(const YearWindow& window);

// The seeds of the window: 256 x hours x delays; 0 when not valid.
int64_t yearWindowSeedCount(const YearWindow& window);

// How the seeds are computed: all give identical hits. Auto takes the widest
// the processor has (Avx512 needs AVX-512 F, BW and VBMI2); the others exist
// for tests and benchmarks.
enum class YearSearchKernel : int32_t { Auto, Scalar, Avx2, Avx512 };

// Whether this processor (and this build) runs the kernel. Auto and Scalar always.
bool yearSearchKernelAvailable(YearSearchKernel kernel);

// Auto as the widest kernel the processor has; any other as it is.
YearSearchKernel resolvedYearSearchKernel(YearSearchKernel kernel);

inline constexpr int32_t kYearSearchMaxThreads = 64;

struct YearSearchControl {
  int32_t threads;                   // 1..kYearSearchMaxThreads; the calling thread is one of them
  std::atomic<int64_t>* seedsDone;   // optional: seeds scanned or ruled out, set to 0 at the start
  const std::atomic<bool>* cancel;   // optional: true stops the search
};

enum class YearSearchStatus : int32_t {
  kDone,        // hits[0..count) are the first `count` hits; count < capacity means there are no more
  kCancelled,   // hits[0..count) are sorted hits found before the stop; earlier ones may be missing
  kBadRequest,  // a field is out of range (the kind's request check); nothing was searched
  kNoThreads,   // a helper thread could not be started: those started were stopped and joined; count is 0
};

// What a search returns. On return seedsDone equals the kind's seed count
// when the status is Done: seeds that could not add a hit ahead of the ones
// collected are counted without being scanned. When the system refuses one of
// the control.threads - 1 helper threads, the search runs with none of them:
// it stops and joins those it started and returns NoThreads.
struct YearSearchResult {
  YearSearchStatus status;
  int32_t count;
};

// Test seam, null in the programs: after each row of 256 seeds a searching
// thread of any year search has scanned, and before the row counts in
// seedsDone, the search calls the hook on that thread with the search's
// control. The hook may block: a test holds the threads there so that the
// progress it looks at, or the point where it stops the search, is one it
// chose rather than one the machine's speed gave. A hook that blocks must
// return once control.cancel is set, or the search cannot stop. Set it while
// no search runs.
using YearSearchRowHook = void (*)(const YearSearchControl& control);
void setYearSearchRowHook(YearSearchRowHook hook);

// The first moment of `year` that gives a hit's seed, with the delay that
// reaches it (the delay of the search's window: every delay of a window lies
// in 0..65535, so it is the one the seed's listing gives). False only for a
// year outside 2000..2099.
bool yearHitMoment(uint32_t seed, int32_t year, ConsoleMoment& moment);
