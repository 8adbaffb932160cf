// The engine of the year searches (core/year_search.h): the seeds of a
// window, the threads, the progress, the stop, the gathering of the earliest
// hits and their order. For the search kinds' own .cpp files only.
//
// A search kind is a Scan, which says what a hit is and finds the hits of one
// row of 256 seeds:
//   using Hit = ...;   a struct with uint32_t seed, int32_t frame, int32_t delay
//   bool possible() const;   false: no frame of any seed can be a hit
//   template <typename Out> void scanRow(uint32_t rowBase, int32_t frames, Out& out) const;
//     frames 0..frames-1 of the seeds (aa << 24) | rowBase, aa = 0..255, each
//     hit handed to out.add(hit) in any order (out.delay() is the row's
//     delay); out.stopRequested() is true once the search is to stop, and a
//     long row asks it now and then and returns early when it is.
// A kind whose kernel reports frames (core/year_scan.h) hands them on with a
// KernelRow.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "core/seed_time.h"
#include "core/thread_start.h"
#include "core/year_scan.h"
#include "core/year_search.h"

// The hook setYearSearchRowHook set, or null.
YearSearchRowHook yearSearchRowHook();

namespace year_search {

// One row's sink for a kernel of `Scan`: each frame the kernel reports goes
// to scan.take(seed, frame, value, out), which adds it to out when it is a
// hit; the kernel's stop question goes to out.
template <typename Scan, typename Out>
struct KernelRow {
  const Scan* scan;
  Out* out;

  YearScanSink sink() {
    return YearScanSink{[](void* c, uint32_t seed, int32_t frame, uint32_t value) {
                          const KernelRow& row = *static_cast<KernelRow*>(c);
                          row.scan->take(seed, frame, value, *row.out);
                        },
                        [](void* c) { return static_cast<KernelRow*>(c)->out->stopRequested(); }, this};
  }
};

constexpr int32_t kRowSeeds = 256;  // AA = 0..255 of one hour and one delay
constexpr int32_t kHours = 24;
constexpr uint64_t kNoBound = ~uint64_t{0};

// The order of hits as one number: frame, then delay, then seed. Within one
// delay the seeds share CCCC, so AA and BB (the upper 16 bits) order them.
inline uint64_t keyOf(uint32_t seed, int32_t frame, int32_t delay) {
  return uint64_t(uint32_t(frame)) << 32 | uint64_t(uint32_t(delay)) << 16 | seed >> 16;
}
template <typename Hit>
uint64_t keyOf(const Hit& hit) {
  return keyOf(hit.seed, hit.frame, hit.delay);
}
template <typename Hit>
bool earlier(const Hit& a, const Hit& b) {
  return keyOf(a) < keyOf(b);
}

// In-place most-significant-digit radix sort of hits by key, a byte at a
// time (byte `digit` of the key first, then the lower ones), with no memory
// beyond its stack: 256 counters a level, at most eight levels and one
// 2,048-hit copy for the small buckets.
constexpr int32_t kSmallBucket = 32;

template <typename Hit>
uint32_t digitOf(const Hit& hit, int digit) {
  return uint32_t(keyOf(hit) >> (8 * digit)) & 0xFFu;
}

template <typename Hit>
void insertionSort(Hit* hits, int32_t count) {
  for (int32_t i = 1; i < count; ++i) {
    const Hit hit = hits[i];
    const uint64_t key = keyOf(hit);
    int32_t j = i;
    for (; j > 0 && keyOf(hits[j - 1]) > key; --j) hits[j] = hits[j - 1];
    hits[j] = hit;
  }
}

// Moves hits[0..count) into 256 buckets by byte `digit` of the key;
// start[b]..start[b + 1] is bucket b afterwards.
template <typename Hit>
void partitionByDigit(Hit* hits, int32_t count, int digit, int32_t (&start)[257]) {
  int32_t size[256] = {};
  for (int32_t i = 0; i < count; ++i) ++size[digitOf(hits[i], digit)];
  int32_t next[256];
  start[0] = 0;
  for (int b = 0; b < 256; ++b) {
    next[b] = start[b];
    start[b + 1] = start[b] + size[b];
  }
  // Each hit is swapped straight into its bucket's next free place, sixteen
  // chains of swaps at a time so that their loads overlap: a chain takes the
  // hit out of the next place of bucket b (its hole) and swaps it on until a
  // hit of bucket b comes back, which fills the hole.
  // Why this ends: call a hit placed once it lies in its own bucket below
  // that bucket's next[]. For every bucket x after b, start[x + 1] - next[x]
  // is the number of hits of digit x not yet placed (held by a chain, or at a
  // place no chain has visited): the counts made it so, and every swap keeps
  // it so (the held hit goes to next[x]++; the one it displaces, taken from a
  // place not yet visited, was not placed either). So a chain that holds a hit
  // of digit x != b (x > b: the buckets before b are full) finds next[x]
  // inside bucket x, every swap moves one next[] on by one, and there are at
  // most `count` swaps in all: each chain, one swap a step, comes to hold a
  // hit of digit b, which fills its hole. Each pass of the while loop moves
  // next[b] on, so bucket b takes at most its size of passes.
  constexpr int kChains = 16;
  for (int b = 0; b < 256; ++b) {
    while (next[b] < start[b + 1]) {
      Hit held[kChains];
      int32_t hole[kChains];
      uint32_t home[kChains];
      int open = 0;
      while (open < kChains && next[b] < start[b + 1]) {
        hole[open] = next[b]++;
        held[open] = hits[hole[open]];
        home[open] = digitOf(held[open], digit);
        if (home[open] != uint32_t(b)) ++open;  // otherwise already in its place
      }
      while (open > 0) {
        for (int k = 0; k < open;) {
          // The buckets fill front to back: fetching ahead of each one keeps
          // the swaps from waiting on memory (an address, as an integer: it
          // may lie past the array, which a prefetch allows).
          __builtin_prefetch(
              reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(hits + next[home[k]]) + 16 * sizeof(Hit)));
          std::swap(held[k], hits[next[home[k]]++]);
          home[k] = digitOf(held[k], digit);
          if (home[k] != uint32_t(b)) {
            ++k;
            continue;
          }
          hits[hole[k]] = held[k];
          --open;
          held[k] = held[open];
          hole[k] = hole[open];
          home[k] = home[open];
        }
      }
    }
  }
}

// Sorts hits[0..count) (count <= kScratchHits) by key bytes 0..digit, the
// lowest first, each pass a stable counting sort between the hits and a copy
// on the stack: in cache, straight passes beat swapping in place.
constexpr int32_t kScratchHits = 2048;

template <typename Hit>
void lsdSort(Hit* hits, int32_t count, int digit) {
  Hit scratch[kScratchHits];
  Hit* from = hits;
  Hit* to = scratch;
  for (int d = 0; d <= digit; ++d) {
    int32_t size[256] = {};
    for (int32_t i = 0; i < count; ++i) ++size[digitOf(from[i], d)];
    if (size[digitOf(from[0], d)] == count) continue;  // one value: nothing to move
    int32_t next[256];
    int32_t sum = 0;
    for (int b = 0; b < 256; ++b) {
      next[b] = sum;
      sum += size[b];
    }
    for (int32_t i = 0; i < count; ++i) to[next[digitOf(from[i], d)]++] = from[i];
    std::swap(from, to);
  }
  if (from != hits) std::memcpy(static_cast<void*>(hits), from, sizeof(Hit) * std::size_t(count));
}

template <typename Hit>
void radixSort(Hit* hits, int32_t count, int digit) {
  if (count <= kSmallBucket || digit < 0) {
    insertionSort(hits, count);
    return;
  }
  if (count <= kScratchHits) {
    lsdSort(hits, count, digit);
    return;
  }
  int32_t start[257];
  partitionByDigit(hits, count, digit, start);
  for (int b = 0; b < 256; ++b) radixSort(hits + start[b], start[b + 1] - start[b], digit - 1);
}

// The highest byte of a key up to `keys` (an upper bound, or every key or-ed
// together).
inline int topDigitOf(uint64_t keys) {
  int digit = 0;
  while (digit < 7 && (keys >> (8 * (digit + 1))) != 0) ++digit;
  return digit;
}

// The keys of hits[0..count) differ in byte `digit` and below only. With
// several threads, the buckets of the first level are sorted by all of them,
// each taking the next bucket left; a helper the system refuses leaves its
// buckets to the others.
template <typename Hit>
void sortHits(Hit* hits, int32_t count, int32_t threads, int digit) {
  constexpr int32_t kWorthThreads = 1 << 15;
  if (threads <= 1 || count < kWorthThreads) {
    radixSort(hits, count, digit);
    return;
  }
  int32_t start[257];
  partitionByDigit(hits, count, digit, start);
  std::atomic<int32_t> nextBucket{0};
  auto sortBuckets = [&] {
    for (int b = nextBucket.fetch_add(1); b < 256; b = nextBucket.fetch_add(1)) {
      radixSort(hits + start[b], start[b + 1] - start[b], digit - 1);
    }
  };
  std::thread helpers[kYearSearchMaxThreads];
  int32_t started = 1;
  while (started < threads && startThread(helpers[started], sortBuckets)) ++started;
  sortBuckets();
  for (int32_t t = 1; t < started; ++t) helpers[t].join();
}

// Any hits, in the search's order, with up to `threads` threads.
template <typename Hit>
void sortAnyHits(Hit* hits, int32_t count, int32_t threads) {
  threads = std::clamp(threads, int32_t{1}, kYearSearchMaxThreads);
  uint64_t keys = 0;
  for (int32_t i = 0; i < count; ++i) keys |= keyOf(hits[i]);
  sortHits(hits, count, threads, topDigitOf(keys));
}

// What every thread of one search shares. The hits gathered so far are the
// caller's array: filled in any order until it is full, then kept as a heap
// whose top is the latest hit kept; `bound` is that hit's key (kNoBound while
// the array has room), so that a thread can drop a later hit without locking.
template <typename Scan>
struct Search {
  using Hit = typename Scan::Hit;
  const YearWindow* window;
  int32_t frameCount;
  const Scan* scan;
  int32_t hours[kHours];
  int32_t hourCount;
  Hit* hits;
  int32_t capacity;
  std::atomic<int32_t> count{0};  // written under the mutex; read without it
  std::mutex mutex;
  std::atomic<uint64_t> bound{kNoBound};
  std::atomic<int32_t> nextDelay;
  std::atomic<bool> cancelled{false};
  const YearSearchControl* control;

  bool cancelRequested() {
    if (control->cancel != nullptr && control->cancel->load(std::memory_order_relaxed)) {
      cancelled.store(true, std::memory_order_relaxed);
    }
    return cancelled.load(std::memory_order_relaxed);
  }

  // Adds hits to the shared array, keeping the `capacity` earliest.
  void gather(const Hit* found, int32_t n) {
    std::lock_guard<std::mutex> lock(mutex);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t stored = count.load(std::memory_order_relaxed);
      if (stored < capacity) {
        hits[stored] = found[i];
        count.store(stored + 1, std::memory_order_relaxed);
        if (stored + 1 < capacity) continue;
        std::make_heap(hits, hits + capacity, earlier<Hit>);
      } else if (earlier(found[i], hits[0])) {
        std::pop_heap(hits, hits + capacity, earlier<Hit>);
        hits[capacity - 1] = found[i];
        std::push_heap(hits, hits + capacity, earlier<Hit>);
      } else {
        continue;
      }
      bound.store(keyOf(hits[0]), std::memory_order_relaxed);
    }
  }
};

// One thread's side, handed to the scan as `out`: the hits of its rows are
// staged here, then gathered (see work).
template <typename Scan>
class Collector {
 public:
  using Hit = typename Scan::Hit;
  explicit Collector(Search<Scan>& search) : search_(search) {}

  int32_t delay() const { return delay_; }
  void setDelay(int32_t delay) { delay_ = delay; }

  void add(const Hit& hit) {
    if (keyOf(hit) >= search_.bound.load(std::memory_order_relaxed)) return;
    stage_[staged_++] = hit;
    if (staged_ == kStaged) flush();
  }

  bool stopRequested() { return search_.cancelRequested(); }

  int32_t staged() const { return staged_; }

  void flush() {
    if (staged_ > 0) search_.gather(stage_, staged_);
    staged_ = 0;
  }

 private:
  static constexpr int32_t kStaged = 512;
  Search<Scan>& search_;
  int32_t delay_ = 0;
  int32_t staged_ = 0;
  Hit stage_[kStaged];
};

// Takes delays in increasing order until none is left or none can add a hit.
template <typename Scan>
void work(Search<Scan>& search) {
  Collector<Scan> out(search);
  const YearWindow& window = *search.window;
  const uint32_t yearOffset = uint32_t(window.year - kClockFirstYear);
  for (;;) {
    const int32_t delay = search.nextDelay.fetch_add(1, std::memory_order_relaxed);
    if (delay > window.delayMax) return;
    // Every hit of this delay and of the later ones comes after frame 0 of
    // this delay's first seed.
    if (keyOf(0, 0, delay) >= search.bound.load(std::memory_order_relaxed)) return;
    out.setDelay(delay);
    for (int32_t h = 0; h < search.hourCount; ++h) {
      if (search.cancelRequested()) {
        out.flush();
        return;
      }
      // Frames after the latest hit kept cannot be among the first hits.
      int32_t frames = search.frameCount;
      const uint64_t bound = search.bound.load(std::memory_order_relaxed);
      if (bound != kNoBound) frames = int32_t(std::min<int64_t>(frames, int64_t(bound >> 32) + 1));
      const uint32_t rowBase = uint32_t(search.hours[h]) << 16 | ((uint32_t(delay) + yearOffset) & 0xFFFFu);
      search.scan->scanRow(rowBase, frames, out);
      // Hits wait for the end of the delay (the threads meet at the lock a
      // few times a delay, not once a row) unless they fill the array: then
      // they go now, so that the bound they set narrows the next rows.
      if (search.count.load(std::memory_order_relaxed) + out.staged() >= search.capacity) out.flush();
      if (YearSearchRowHook hook = yearSearchRowHook()) hook(*search.control);
      if (search.control->seedsDone != nullptr) {
        search.control->seedsDone->fetch_add(kRowSeeds, std::memory_order_relaxed);
      }
    }
    out.flush();
  }
}

// The search of frames 0..frameCount-1 of every seed of the window (see
// core/year_search.h for the contract). `valid` is the request's own check
// beyond the window.
template <typename Scan>
YearSearchResult runYearSearch(const YearWindow& window, int32_t frameCount, bool valid, const Scan& scan,
                               typename Scan::Hit* hits, int32_t capacity, const YearSearchControl& control) {
  if (control.seedsDone != nullptr) control.seedsDone->store(0, std::memory_order_relaxed);
  if (!valid || !yearWindowValid(window) || frameCount < 1 || capacity < 0 || (capacity > 0 && hits == nullptr) ||
      control.threads < 1 || control.threads > kYearSearchMaxThreads) {
    return YearSearchResult{YearSearchStatus::kBadRequest, 0};
  }
  Search<Scan> search;
  search.window = &window;
  search.frameCount = frameCount;
  search.scan = &scan;
  search.hourCount = 0;
  for (int32_t h = 0; h < kHours; ++h) {
    if (window.hourMask >> h & 1u) search.hours[search.hourCount++] = h;
  }
  search.hits = hits;
  search.capacity = capacity;
  search.nextDelay.store(window.delayMin);
  search.control = &control;
  if (scan.possible() && capacity > 0) {
    std::thread helpers[kYearSearchMaxThreads];
    int32_t started = 1;
    while (started < control.threads && startThread(helpers[started], work<Scan>, std::ref(search))) ++started;
    if (started < control.threads) {
      // The system refused a thread: the helpers already searching stop
      // within a row, and nothing is handed over.
      search.cancelled.store(true);
      for (int32_t t = 1; t < started; ++t) helpers[t].join();
      return YearSearchResult{YearSearchStatus::kNoThreads, 0};
    }
    work(search);
    for (int32_t t = 1; t < control.threads; ++t) helpers[t].join();
  }
  // Every key is below the one of frame F, delay 0 and seed 0.
  const int32_t count = search.count.load();
  sortHits(hits, count, control.threads, topDigitOf(keyOf(0, frameCount, 0)));
  if (search.cancelled.load()) return YearSearchResult{YearSearchStatus::kCancelled, count};
  if (control.seedsDone != nullptr) control.seedsDone->store(yearWindowSeedCount(window), std::memory_order_relaxed);
  return YearSearchResult{YearSearchStatus::kDone, count};
}

}  // namespace year_search
