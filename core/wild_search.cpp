#include "core/wild_search.h"

#include <algorithm>

#include "core/pid_search.h"
#include "core/rng.h"
#include "core/seed_time.h"
#include "core/wild_generate.h"
#include "core/wild_kernel.h"
#include "core/year_search_engine.h"

namespace {

// Draws an encounter takes before its first PID draw, at most: the roamer or
// the bite, Feebas, the slot, the level, the charm, Synchronize, the nature.
constexpr int32_t kMaxPrefix = 8;

// Draws the shiny scan follows one seed over; a seed that would need more is
// scanned by generating each advance in turn.
constexpr int32_t kForwardDraws = kLargestWildSearchAdvances + 4096;

// How far back IV-first follows a PID loop: a loop of more than 8,192 pairs
// has a chance of (24/25)^8192, about 1e-145, and is not followed.
constexpr int32_t kBackDraws = 1 << 14;

bool isGift(const WildEncounter& e) { return e.kind == WildKind::kGift; }

// The draw (1 = the encounter's first) of the PID's low half, and of IV word 1.
int32_t pidDrawOf(const WildEncounter& e, const WildCreature& c) { return isGift(e) ? 1 : c.draws - 4; }
int32_t ivDrawOf(const WildEncounter& e, const WildCreature& c) { return isGift(e) ? 3 : c.draws - 2; }

int64_t ivCombinations(const IvRange (&ranges)[kStatCount]) {
  int64_t product = 1;
  for (const IvRange& r : ranges) product *= r.high - r.low + 1;
  return product;
}

uint32_t wantedNatures(const WildFilter& f) { return f.natureMask != 0 ? f.natureMask : (1u << kNatureCount) - 1u; }

// Whether a PID Cute Charm builds without draws can be shiny with a wanted
// nature: then shininess does not single out PID pairs.
bool charmCanBeShiny(const WildEncounter& e, const WildFilter& f) {
  if (e.lead != WildLead::kCuteMale && e.lead != WildLead::kCuteFemale) return false;
  for (int32_t ratio : {e.genderRatio, kFeebasGenderRatio}) {
    for (int32_t t = 0; t < kNatureCount; ++t) {
      const uint32_t pid = static_cast<uint32_t>(e.lead == WildLead::kCuteMale ? t : 25 * (ratio / 25 + 1) + t);
      if ((wantedNatures(f) >> t & 1u) != 0 && ShinyTest(pid, e.tid, e.sid)) return true;
    }
  }
  return false;
}

uint32_t pairNature(uint32_t lowState, uint32_t highState) {
  return ((highState & 0xFFFF0000u) | (lowState >> 16)) % 25u;
}

// The states before a reference state: at(d) is the state d draws before it.
struct BackWalk {
  uint32_t (&back)[kBackDraws];
  int32_t filled;

  BackWalk(uint32_t (&states)[kBackDraws], uint32_t ref) : back(states), filled(1) { back[0] = ref; }
  uint32_t at(int32_t d) {
    while (filled <= d) {
      back[filled] = Lcg32::Prev(back[filled - 1]);
      ++filled;
    }
    return back[d];
  }
};

// The deepest start (in draws before the reference) of an encounter whose
// last PID pair, of nature v, has its low half `lowAt` draws before the
// reference: its loop started after the last earlier pair of that parity and
// nature, so within kMaxPrefix + 1 draws after it.
int32_t deepestStart(BackWalk& walk, int32_t lowAt, uint32_t v) {
  int32_t d = lowAt + 2;
  while (d + kMaxPrefix + 2 < kBackDraws && pairNature(walk.at(d), walk.at(d - 1)) != v) d += 2;
  return std::min(d + kMaxPrefix + 1, kBackDraws - 1);
}

// One seed's draws, filled as far as its advances need them, shared by the
// advances: each draw is stepped once, each PID pair's nature worked out once,
// and a loop's end, once found, serves every later advance whose loop of the
// same nature and parity starts before it.
struct SeedDraws {
  uint32_t states[kForwardDraws + 2];  // states[i]: the state that drew draw i
  int8_t natures[kForwardDraws + 2];   // of the pair (i, i + 1), -1 until known
  int32_t filled;                      // states[0..filled] are set
  bool overflowed;                     // a draw past kForwardDraws was asked for
  struct Loop {
    int32_t from;  // the pairs from, from + 2, .. to - 2 lack the nature; pair `to` has it
    int32_t to;
  } loops[2][kNatureCount];

  void start(uint32_t seed) {
    states[0] = seed;
    filled = 0;
    overflowed = false;
    for (auto& parity : loops)
      for (Loop& loop : parity) loop = Loop{1, -1};
  }
  uint32_t state(int32_t i) {
    if (i > kForwardDraws) {
      overflowed = true;
      return 0;
    }
    while (filled < i) {
      states[filled + 1] = Lcg32::Next(states[filled]);
      natures[++filled] = -1;
    }
    return states[i];
  }
  int32_t natureAt(int32_t i) {
    if (i + 1 > kForwardDraws) {
      overflowed = true;
      return -1;
    }
    state(i + 1);
    if (natures[i] < 0) natures[i] = static_cast<int8_t>(pairNature(states[i], states[i + 1]));
    return natures[i];
  }
  // The pair ending the loop whose first pair is at draw p, for nature t; -1
  // when it lies past the draws kept.
  int32_t loopEnd(int32_t p, int32_t t) {
    Loop& known = loops[p & 1][t];
    if (known.from <= p && p <= known.to) return known.to;
    int32_t q = p;
    for (int32_t v = natureAt(q); v != t; v = natureAt(q)) {
      if (v < 0) return -1;
      q += 2;
      if (q == known.from && known.to >= 0) {
        q = known.to;
        break;
      }
    }
    known = Loop{p, q};
    return q;
  }
};

// An advance's draws read off its seed's SeedDraws; a loop of a nature the
// filter does not keep is abandoned.
struct SharedDraws {
  SeedDraws& seed;
  int32_t at;  // the last draw taken
  int32_t first;
  uint32_t natures;
  uint32_t next() { return seed.state(++at) >> 16; }
  int32_t taken() const { return at - first; }
  bool pidLoop(int32_t nature, uint32_t& pid, int32_t& tries) {
    if ((natures >> nature & 1u) == 0) return false;
    const int32_t q = seed.loopEnd(at + 1, nature);
    if (q < 0) return false;
    tries = (q - at - 1) / 2 + 1;
    pid = (seed.state(q + 1) & 0xFFFF0000u) | seed.state(q) >> 16;
    at = q + 1;
    return true;
  }
};

constexpr ScanRows<WildScanPlan> kRows{wildScanRowScalar, QUILLMAR_VECTOR_KERNEL(wildScanRowAvx2),
                                       QUILLMAR_VECTOR_KERNEL(wildScanRowAvx512)};

// The forward scan as the engine's scan.
struct WildScan {
  using Hit = WildHit;
  const WildSearchRequest* request;
  bool shinyPairs;  // only shiny PID pairs can end a hit's loop: the kernel finds them
  WildScanPlan plan;
  ScanRow<WildScanPlan> row;

  bool possible() const { return true; }

  // Every advance in turn.
  template <typename Out>
  void scanEvery(uint32_t seed, int32_t frames, Out& out) const {
    WildCreature c;
    uint32_t state = seed;
    for (int32_t n = 0; n < frames; ++n, state = Lcg32::Next(state)) {
      wildCreatureFrom(request->encounter, state, n, c);
      if (wildCreatureKept(request->filter, c)) out.add(WildHit{seed, n, out.delay()});
    }
  }

  // The kernel's shiny pair at draw i (low half drawn by `low`): the
  // advances whose PID is that pair.
  template <typename Out>
  void take(uint32_t seed, int32_t i, uint32_t low, Out& out) const {
    const WildEncounter& e = request->encounter;
    const int32_t frames = request->advanceCount;
    if (i < 0) {
      scanEvery(seed, frames, out);
      return;
    }
    const uint32_t v = pairNature(low, Lcg32::Next(low));
    if ((plan.natures >> v & 1u) == 0) return;
    uint32_t states[kBackDraws];
    BackWalk walk(states, low);
    const int32_t deepest = isGift(e) ? 1 : deepestStart(walk, 0, v);
    WildCreature c;
    for (int32_t d = 1; d <= deepest && d <= i; ++d) {
      const int32_t n = i - d;
      if (n >= frames) continue;
      wildCreatureFrom(e, walk.at(d), n, c);
      if (pidDrawOf(e, c) == d && wildCreatureKept(request->filter, c)) out.add(WildHit{seed, n, out.delay()});
    }
  }

  // Every advance of one seed over the seed's shared draws; a seed whose
  // loops run past the draws kept goes on advance by advance.
  template <typename Out>
  void scanShared(SeedDraws& draws, uint32_t seed, int32_t frames, Out& out) const {
    draws.start(seed);
    WildCreature c;
    for (int32_t n = 0; n < frames; ++n) {
      SharedDraws d{draws, n, n, plan.natures};
      const bool whole = wild_generate::generate(request->encounter, draws.state(n + 1) >> 16, d, n, c);
      if (draws.overflowed) {
        uint32_t state = Lcg32::Advance(seed, static_cast<uint32_t>(n));
        for (; n < frames; ++n, state = Lcg32::Next(state)) {
          wildCreatureFrom(request->encounter, state, n, c);
          if (wildCreatureKept(request->filter, c)) out.add(WildHit{seed, n, out.delay()});
        }
        return;
      }
      if (whole && wildCreatureKept(request->filter, c)) out.add(WildHit{seed, n, out.delay()});
    }
  }

  template <typename Out>
  void scanRow(uint32_t rowBase, int32_t frames, Out& out) const {
    if (shinyPairs) {
      year_search::KernelRow<WildScan, Out> kernelRow{this, &out};
      row(plan, rowBase, frames, kernelRow.sink());
      return;
    }
    SeedDraws draws;
    for (uint32_t aa = 0; aa < 256; ++aa) {
      if ((aa & 15u) == 0 && out.stopRequested()) return;
      scanShared(draws, aa << 24 | rowBase, frames, out);
    }
  }
};

// The earliest `capacity` hits in the search's order, kept as a heap once full.
struct EarliestHits {
  WildHit* hits;
  int32_t capacity;
  int32_t count;

  void add(const WildHit& hit) {
    if (count < capacity) {
      hits[count++] = hit;
      if (count == capacity) std::make_heap(hits, hits + capacity, year_search::earlier<WildHit>);
    } else if (capacity > 0 && year_search::earlier(hit, hits[0])) {
      std::pop_heap(hits, hits + capacity, year_search::earlier<WildHit>);
      hits[capacity - 1] = hit;
      std::push_heap(hits, hits + capacity, year_search::earlier<WildHit>);
    }
  }
};

// IV-first: the encounters whose IV word 1 is drawn by `s`, then every
// initial seed up to N draws before each.
void walkBackFrom(const WildSearchRequest& r, uint32_t s, uint32_t (&back)[kBackDraws], EarliestHits& out) {
  const WildEncounter& e = r.encounter;
  BackWalk walk(back, s);
  // The PID pair, if any, is drawn 2 (low) and 1 (high) draws before s; a
  // Cute Charm PID has none, and its encounter starts within kMaxPrefix + 4.
  int32_t deepest = kMaxPrefix + 4;
  if (!isGift(e)) deepest = std::max(deepest, deepestStart(walk, 2, pairNature(walk.at(2), walk.at(1))));
  const uint32_t yearOffset = static_cast<uint32_t>(r.window.year - kClockFirstYear);
  WildCreature c;
  for (int32_t d = 3; d <= deepest; ++d) {
    const uint32_t start = walk.at(d);
    wildCreatureFrom(e, start, 0, c);
    if (ivDrawOf(e, c) != d || !wildCreatureKept(r.filter, c)) continue;
    uint32_t seed = start;
    for (int32_t n = 0; n < r.advanceCount; ++n, seed = Lcg32::Prev(seed)) {
      const uint32_t hour = seed >> 16 & 0xFFu;
      const int32_t delay = static_cast<int32_t>(((seed & 0xFFFFu) - yearOffset) & 0xFFFFu);
      if (hour < 24 && (r.window.hourMask >> hour & 1u) != 0 && delay >= r.window.delayMin &&
          delay <= r.window.delayMax) {
        out.add(WildHit{seed, n, delay});
      }
    }
  }
}

YearSearchResult runIvFirst(const WildSearchRequest& r, WildHit* hits, int32_t capacity,
                            const YearSearchControl& control) {
  static_assert(kBackDraws > 2 * kMaxPrefix, "room for the prefix beyond the loop");
  const int64_t seeds = yearWindowSeedCount(r.window);
  const int64_t combinations = ivCombinations(r.filter.ivs);
  EarliestHits out{hits, capacity, 0};
  uint32_t back[kBackDraws];
  int32_t iv[kStatCount];
  int64_t done = 0;
  bool cancelled = false;
  for (bool more = firstIvCombination(r.filter.ivs, iv); more; more = nextIvCombination(r.filter.ivs, iv)) {
    if (control.cancel != nullptr && control.cancel->load(std::memory_order_relaxed)) {
      cancelled = true;
      break;
    }
    uint32_t states[kMaxIvWordStates];
    const int32_t count = ivWordStates(firstIvWord(iv[0], iv[1], iv[2]), secondIvWord(iv[3], iv[4], iv[5]), states);
    for (int32_t k = 0; k < count; ++k) walkBackFrom(r, states[k], back, out);
    ++done;
    if (control.seedsDone != nullptr) control.seedsDone->store(seeds * done / combinations, std::memory_order_relaxed);
  }
  year_search::sortAnyHits(hits, out.count, 1);
  if (cancelled) return YearSearchResult{YearSearchStatus::kCancelled, out.count};
  if (control.seedsDone != nullptr) control.seedsDone->store(seeds, std::memory_order_relaxed);
  return YearSearchResult{YearSearchStatus::kDone, out.count};
}

}  // namespace

bool wildSearchRequestValid(const WildSearchRequest& r) {
  return yearWindowValid(r.window) && r.advanceCount >= 1 && r.advanceCount <= kLargestWildSearchAdvances &&
         wildEncounterValid(r.encounter) && wildFilterValid(r.filter) && yearSearchKernelAvailable(r.kernel) &&
         (r.way == WildSearchWay::kAuto || r.way == WildSearchWay::kIvFirst || r.way == WildSearchWay::kForward);
}

int64_t wildSearchSeedCount(const WildSearchRequest& r) {
  return wildSearchRequestValid(r) ? yearWindowSeedCount(r.window) : 0;
}

WildSearchWay chosenWildSearchWay(const WildSearchRequest& r) {
  if (r.way != WildSearchWay::kAuto) return r.way;
  return ivCombinations(r.filter.ivs) <= kIvFirstCombinations ? WildSearchWay::kIvFirst : WildSearchWay::kForward;
}

YearSearchResult runWildSearch(const WildSearchRequest& request, WildHit* hits, int32_t capacity,
                               const YearSearchControl& control) {
  const bool valid = wildSearchRequestValid(request);
  if (valid && capacity >= 0 && (capacity == 0 || hits != nullptr) && control.threads >= 1 &&
      control.threads <= kYearSearchMaxThreads && chosenWildSearchWay(request) == WildSearchWay::kIvFirst) {
    if (control.seedsDone != nullptr) control.seedsDone->store(0, std::memory_order_relaxed);
    return runIvFirst(request, hits, capacity, control);
  }
  WildScan scan{&request, false, WildScanPlan{}, scanRowFor(valid ? request.kernel : YearSearchKernel::Scalar, kRows)};
  if (valid) {
    scan.shinyPairs = request.filter.shinyOnly && !charmCanBeShiny(request.encounter, request.filter);
    scan.plan.shinyValue = static_cast<uint32_t>(request.encounter.tid ^ request.encounter.sid);
    scan.plan.natures = wantedNatures(request.filter);
    scan.plan.prefix = kMaxPrefix;
    scan.plan.gift = isGift(request.encounter) ? 1 : 0;
    scan.plan.drawLimit = kForwardDraws;
  }
  return year_search::runYearSearch(request.window, request.advanceCount, valid, scan, hits, capacity, control);
}

void wildHitCreature(const WildSearchRequest& request, const WildHit& hit, WildCreature& out) {
  wildCreatureAt(request.encounter, hit.seed, hit.frame, out);
}
