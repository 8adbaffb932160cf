#include "core/egg_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/egg_search_kernel.h"
#include "core/rng.h"
#include "core/thread_start.h"
#include "data/tables.h"

namespace {

constexpr int32_t kRowSeeds = 256;  // AA = 0..255 of one hour and one delay
constexpr int32_t kHours = 24;
constexpr uint64_t kNoBound = ~uint64_t{0};

// The order of hits as one number: frame, then delay, then seed. Within one
// delay the seeds share CCCC, so AA and BB (the upper 16 bits) order them.
uint64_t keyOf(uint32_t seed, int32_t frame, int32_t delay) {
  return uint64_t(uint32_t(frame)) << 32 | uint64_t(uint32_t(delay)) << 16 | seed >> 16;
}
uint64_t keyOf(const EggHit& hit) { return keyOf(hit.seed, hit.frame, hit.delay); }
bool earlier(const EggHit& a, const EggHit& b) { return keyOf(a) < keyOf(b); }

// The kernel's view of the filters: for each choice, the set of PIDs
// eggFrameKept lets through, as a test that vector code can make. Returns
// false when no frame can be kept at all.
bool planOf(const EggListRequest& egg, EggScanPlan& plan) {
  plan = EggScanPlan{};
  plan.shinyValue = uint32_t(egg.tid) ^ uint32_t(egg.sid);
  plan.marriage = egg.internationalMarriage;
  plan.shinyOnly = egg.shinyOnly;
  if (plan.shinyOnly && plan.shinyValue >= 0x10000u) return false;
  if (egg.natureChoice > 0) {
    if (egg.natureChoice > kNatureCount) return false;
    plan.nature = true;
    plan.natureIndex = uint32_t(egg.natureChoice - 1);
  }
  if (egg.genderChoice > 0) {
    // The gender values the filter passes, as one range; every option's set
    // is one, and a set with holes would only make the kernel report more.
    int low = -1;
    int high = -1;
    for (int g = 0; g < 256; ++g) {
      if (!GenderFilter(egg.genderChoice - 1, g)) continue;
      if (low < 0) low = g;
      high = g;
    }
    if (low < 0) return false;
    plan.gender = true;
    plan.genderLow = uint32_t(low);
    plan.genderSpan = uint32_t(high - low);
  }
  if (egg.abilityChoice > 0) {
    if (egg.abilityChoice > 2) return false;
    plan.ability = true;
    plan.abilityBit = uint32_t(egg.abilityChoice - 1);
  }
  return true;
}

bool cpuHas(EggSearchKernel kernel) {
#if defined(QUILLMAR_EGG_SCAN_X86)
  __builtin_cpu_init();
  if (kernel == EggSearchKernel::Avx2) return __builtin_cpu_supports("avx2");
  if (kernel == EggSearchKernel::Avx512) {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi2");
  }
#endif
  return kernel == EggSearchKernel::Auto || kernel == EggSearchKernel::Scalar;
}

EggScanRow kernelFunction(EggSearchKernel kernel) {
#if defined(QUILLMAR_EGG_SCAN_X86)
  if (kernel == EggSearchKernel::Auto) {
    kernel = cpuHas(EggSearchKernel::Avx512) ? EggSearchKernel::Avx512
             : cpuHas(EggSearchKernel::Avx2) ? EggSearchKernel::Avx2
                                             : EggSearchKernel::Scalar;
  }
  if (kernel == EggSearchKernel::Avx512) return eggScanRowAvx512;
  if (kernel == EggSearchKernel::Avx2) return eggScanRowAvx2;
#endif
  (void)kernel;
  return eggScanRowScalar;
}

// What every thread of one search shares. The hits gathered so far are the
// caller's array: filled in any order until it is full, then kept as a heap
// whose top is the latest hit kept; `bound` is that hit's key (kNoBound while
// the array has room), so that a thread can drop a later hit without locking.
struct Search {
  const EggSearchRequest* request;
  EggScanPlan plan;
  EggScanRow scanRow;
  int32_t hours[kHours];
  int32_t hourCount;
  EggHit* hits;
  int32_t capacity;
  std::atomic<int32_t> count{0};  // written under the mutex; read without it
  std::mutex mutex;
  std::atomic<uint64_t> bound{kNoBound};
  std::atomic<int32_t> nextDelay;
  std::atomic<bool> cancelled{false};
  const EggSearchControl* control;
};

std::atomic<EggSearchRowHook> gRowHook{nullptr};

bool cancelRequested(Search& search) {
  if (search.control->cancel != nullptr && search.control->cancel->load(std::memory_order_relaxed)) {
    search.cancelled.store(true, std::memory_order_relaxed);
  }
  return search.cancelled.load(std::memory_order_relaxed);
}

// Adds hits to the shared array, keeping the `capacity` earliest.
void gather(Search& search, const EggHit* hits, int32_t count) {
  std::lock_guard<std::mutex> lock(search.mutex);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t stored = search.count.load(std::memory_order_relaxed);
    if (stored < search.capacity) {
      search.hits[stored] = hits[i];
      search.count.store(stored + 1, std::memory_order_relaxed);
      if (stored + 1 < search.capacity) continue;
      std::make_heap(search.hits, search.hits + search.capacity, earlier);
    } else if (earlier(hits[i], search.hits[0])) {
      std::pop_heap(search.hits, search.hits + search.capacity, earlier);
      search.hits[search.capacity - 1] = hits[i];
      std::push_heap(search.hits, search.hits + search.capacity, earlier);
    } else {
      continue;
    }
    search.bound.store(keyOf(search.hits[0]), std::memory_order_relaxed);
  }
}

// One thread's side: the frames its kernel reports are checked with the egg
// list's own functions and staged here, then gathered (see work).
struct Worker {
  static constexpr int32_t kStaged = 512;
  Search* search;
  int32_t delay;
  int32_t staged;
  EggHit stage[kStaged];

  void flush() {
    if (staged > 0) gather(*search, stage, staged);
    staged = 0;
  }

  static void frameKept(void* context, uint32_t seed, int32_t frame, uint32_t firstPid) {
    Worker& w = *static_cast<Worker*>(context);
    const EggListRequest& egg = w.search->request->egg;
    const uint32_t pid = egg.internationalMarriage ? MarriageReroll(firstPid, egg.tid, egg.sid) : firstPid;
    if (!eggFrameKept(egg, pid, ShinyTest(pid, egg.tid, egg.sid))) return;
    if (keyOf(seed, frame, w.delay) >= w.search->bound.load(std::memory_order_relaxed)) return;
    w.stage[w.staged++] = EggHit{seed, frame, w.delay, pid};
    if (w.staged == kStaged) w.flush();
  }

  static bool stopRequested(void* context) { return cancelRequested(*static_cast<Worker*>(context)->search); }
};

// Takes delays in increasing order until none is left or none can add a hit.
void work(Search& search) {
  Worker worker;
  worker.search = &search;
  worker.staged = 0;
  const EggScanSink sink{Worker::frameKept, Worker::stopRequested, &worker};
  const EggSearchRequest& request = *search.request;
  const uint32_t yearOffset = uint32_t(request.year - kClockFirstYear);
  for (;;) {
    const int32_t delay = search.nextDelay.fetch_add(1, std::memory_order_relaxed);
    if (delay > request.delayMax) return;
    // Every hit of this delay and of the later ones comes after frame 0 of
    // this delay's first seed.
    if (keyOf(0, 0, delay) >= search.bound.load(std::memory_order_relaxed)) return;
    worker.delay = delay;
    for (int32_t h = 0; h < search.hourCount; ++h) {
      if (cancelRequested(search)) {
        worker.flush();
        return;
      }
      // Frames after the latest hit kept cannot be among the first hits.
      int32_t frames = request.egg.frameCount;
      const uint64_t bound = search.bound.load(std::memory_order_relaxed);
      if (bound != kNoBound) frames = std::min<int64_t>(frames, int64_t(bound >> 32) + 1);
      const uint32_t rowBase = uint32_t(search.hours[h]) << 16 | ((uint32_t(delay) + yearOffset) & 0xFFFFu);
      search.scanRow(search.plan, rowBase, frames, sink);
      // Hits wait for the end of the delay (the threads meet at the lock a
      // few times a delay, not once a row) unless they fill the array: then
      // they go now, so that the bound they set narrows the next rows.
      if (search.count.load(std::memory_order_relaxed) + worker.staged >= search.capacity) worker.flush();
      if (EggSearchRowHook hook = gRowHook.load(std::memory_order_acquire)) hook(*search.control);
      if (search.control->seedsDone != nullptr) {
        search.control->seedsDone->fetch_add(kRowSeeds, std::memory_order_relaxed);
      }
    }
    worker.flush();
  }
}

// In-place most-significant-digit radix sort of hits by key, a byte at a
// time (byte `digit` of the key first, then the lower ones), with no memory
// beyond its stack: 256 counters a level, at most eight levels and one
// 32 KiB copy for the small buckets.
constexpr int32_t kSmallBucket = 32;

uint32_t digitOf(const EggHit& hit, int digit) { return uint32_t(keyOf(hit) >> (8 * digit)) & 0xFFu; }

void insertionSort(EggHit* hits, int32_t count) {
  for (int32_t i = 1; i < count; ++i) {
    const EggHit hit = hits[i];
    const uint64_t key = keyOf(hit);
    int32_t j = i;
    for (; j > 0 && keyOf(hits[j - 1]) > key; --j) hits[j] = hits[j - 1];
    hits[j] = hit;
  }
}

// Moves hits[0..count) into 256 buckets by byte `digit` of the key;
// start[b]..start[b + 1] is bucket b afterwards.
void partitionByDigit(EggHit* hits, int32_t count, int digit, int32_t (&start)[257]) {
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
      EggHit held[kChains];
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
          __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(hits + next[home[k]]) +
                                                           16 * sizeof(EggHit)));
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

void lsdSort(EggHit* hits, int32_t count, int digit) {
  EggHit scratch[kScratchHits];
  EggHit* from = hits;
  EggHit* to = scratch;
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
  if (from != hits) std::memcpy(hits, from, sizeof(EggHit) * std::size_t(count));
}

void radixSort(EggHit* hits, int32_t count, int digit) {
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
int topDigitOf(uint64_t keys) {
  int digit = 0;
  while (digit < 7 && (keys >> (8 * (digit + 1))) != 0) ++digit;
  return digit;
}

// The keys of hits[0..count) differ in byte `digit` and below only. With
// several threads, the buckets of the first level are sorted by all of them,
// each taking the next bucket left.
void sortHits(EggHit* hits, int32_t count, int32_t threads, int digit) {
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
  // A helper the system refuses leaves its buckets to the others.
  std::thread helpers[kEggSearchMaxThreads];
  int32_t started = 1;
  while (started < threads && startThread(helpers[started], sortBuckets)) ++started;
  sortBuckets();
  for (int32_t t = 1; t < started; ++t) helpers[t].join();
}

}  // namespace

void sortEggHits(EggHit* hits, int32_t count, int32_t threads) {
  threads = std::clamp(threads, int32_t{1}, kEggSearchMaxThreads);
  uint64_t keys = 0;
  for (int32_t i = 0; i < count; ++i) keys |= keyOf(hits[i]);
  sortHits(hits, count, threads, topDigitOf(keys));
}

void setEggSearchRowHook(EggSearchRowHook hook) { gRowHook.store(hook, std::memory_order_release); }

bool eggSearchKernelAvailable(EggSearchKernel kernel) { return cpuHas(kernel); }

bool eggSearchRequestValid(const EggSearchRequest& r) {
  return r.year >= kClockFirstYear && r.year <= kClockLastYear && r.delayMin >= 0 && r.delayMin <= r.delayMax &&
         r.delayMax <= 0xFFFF && (r.hourMask >> kHours) == 0 && r.egg.frameCount >= 1 && cpuHas(r.kernel);
}

int64_t eggSearchSeedCount(const EggSearchRequest& r) {
  if (!eggSearchRequestValid(r)) return 0;
  return int64_t(kRowSeeds) * __builtin_popcount(r.hourMask) * (int64_t(r.delayMax) - r.delayMin + 1);
}

EggSearchResult runEggSearch(const EggSearchRequest& request, EggHit* hits, int32_t capacity,
                             const EggSearchControl& control) {
  if (control.seedsDone != nullptr) control.seedsDone->store(0, std::memory_order_relaxed);
  if (!eggSearchRequestValid(request) || capacity < 0 || (capacity > 0 && hits == nullptr) || control.threads < 1 ||
      control.threads > kEggSearchMaxThreads) {
    return EggSearchResult{EggSearchStatus::kBadRequest, 0};
  }
  Search search;
  search.request = &request;
  search.scanRow = kernelFunction(request.kernel);
  search.hourCount = 0;
  for (int32_t h = 0; h < kHours; ++h) {
    if (request.hourMask >> h & 1u) search.hours[search.hourCount++] = h;
  }
  search.hits = hits;
  search.capacity = capacity;
  search.nextDelay.store(request.delayMin);
  search.control = &control;
  if (planOf(request.egg, search.plan) && capacity > 0) {
    std::thread helpers[kEggSearchMaxThreads];
    int32_t started = 1;
    while (started < control.threads && startThread(helpers[started], work, std::ref(search))) ++started;
    if (started < control.threads) {
      // The system refused a thread: the helpers already searching stop
      // within a row, and nothing is handed over.
      search.cancelled.store(true);
      for (int32_t t = 1; t < started; ++t) helpers[t].join();
      return EggSearchResult{EggSearchStatus::kNoThreads, 0};
    }
    work(search);
    for (int32_t t = 1; t < control.threads; ++t) helpers[t].join();
  }
  // Every key is below the one of frame F, delay 0 and seed 0.
  const int32_t count = search.count.load();
  sortHits(hits, count, control.threads, topDigitOf(keyOf(0, request.egg.frameCount, 0)));
  if (search.cancelled.load()) return EggSearchResult{EggSearchStatus::kCancelled, count};
  if (control.seedsDone != nullptr) control.seedsDone->store(eggSearchSeedCount(request), std::memory_order_relaxed);
  return EggSearchResult{EggSearchStatus::kDone, count};
}

bool eggHitMoment(const EggHit& hit, int32_t year, ConsoleMoment& moment) {
  // Every delay of a search window lies in 0..65535, so it is the delay the
  // seed's listing gives.
  SeedMomentCursor cursor = kSeedMomentStart;
  return listSeedMoments(hit.seed, year, cursor, &moment, 1).count == 1;
}
