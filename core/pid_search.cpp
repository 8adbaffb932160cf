#include "core/pid_search.h"

#include "core/rng.h"

namespace {

// s is the state that drew the first IV word and t = Next(s) the state that
// drew the second; the two states before s drew the PID, low half first.
bool storeIfNature(PidSteps& pids, uint32_t s, uint32_t t, int nature, int limit) {
  uint32_t p1 = Lcg32::Prev(s);
  uint32_t p2 = Lcg32::Prev(p1);
  uint32_t pid = (p1 & 0xFFFF0000u) | (p2 >> 16);
  if (NatureIndex(pid) != nature) return false;
  if (pids.pidCandidateCount >= kMaxPidCandidates) return true;  // cannot happen: at most 6 per scan
  pids.pidCandidates[pids.pidCandidateCount] = PidCandidate{pid, Lcg32::Next(t)};
  ++pids.pidCandidateCount;
  return limit > 0 && pids.pidCandidateCount >= limit;
}

}  // namespace

// With s = (h << 16) | low, Next(s) = ((h * kMul mod 2^16) << 16) + (low * kMul + kAdd mod 2^32):
// the first term has no low bits, so the draw of Next(s) is
// (h * kMul + lowPart(low)) mod 2^16 with lowPart(low) = (low * kMul + kAdd mod 2^32) >> 16.
// A state of high half h draws w exactly when lowPart(low) = (w - h * kMul) mod 2^16, so the
// index below, every low grouped by its lowPart in ascending order, hands out the matching
// lows directly. lowPart takes no value more than kMaxLowsPerPart times.
namespace {

constexpr uint32_t lowPart(uint32_t low) { return (low * Lcg32::kMul + Lcg32::kAdd) >> 16; }

inline constexpr uint32_t kHalfStates = 0x10000u;
inline constexpr uint32_t kMaxLowsPerPart = 3;

// lows[start[v] .. start[v + 1]) are the lows with lowPart(low) = v, ascending.
struct LowPartIndex {
  uint32_t start[kHalfStates + 1];
  uint16_t lows[kHalfStates];
};

consteval LowPartIndex buildLowPartIndex() {
  LowPartIndex index{};
  for (uint32_t low = 0; low < kHalfStates; ++low) ++index.start[lowPart(low) + 1];
  for (uint32_t v = 0; v < kHalfStates; ++v) index.start[v + 1] += index.start[v];
  uint32_t fill[kHalfStates]{};
  for (uint32_t v = 0; v < kHalfStates; ++v) fill[v] = index.start[v];
  for (uint32_t low = 0; low < kHalfStates; ++low) index.lows[fill[lowPart(low)]++] = static_cast<uint16_t>(low);
  return index;
}

constexpr LowPartIndex kLowPartIndex = buildLowPartIndex();

consteval bool partsAreSmall() {
  for (uint32_t v = 0; v < kHalfStates; ++v)
    if (kLowPartIndex.start[v + 1] - kLowPartIndex.start[v] > kMaxLowsPerPart) return false;
  return kLowPartIndex.start[kHalfStates] == kHalfStates;
}
static_assert(partsAreSmall(), "each lowPart value has at most kMaxLowsPerPart lows");
static_assert(kMaxIvWordStates == 2 * 2 * kMaxLowsPerPart, "two high halves, two wanted draws each");

}  // namespace

int32_t ivWordStates(uint32_t w1, uint32_t w2, uint32_t (&states)[kMaxIvWordStates]) {
  int32_t count = 0;
  const uint32_t highs[2] = {w1 & 0xFFFFu, (w1 | 0x8000u) & 0xFFFFu};
  const uint32_t want0 = w2 & 0xFFFFu;
  const uint32_t want1 = (w2 | 0x8000u) & 0xFFFFu;
  for (uint32_t h : highs) {
    const uint32_t base = (h * Lcg32::kMul) & 0xFFFFu;
    const uint32_t part0 = (want0 - base) & 0xFFFFu;
    const uint32_t part1 = (want1 - base) & 0xFFFFu;
    // Two ascending runs of lows (one when both wanted draws are the same), merged.
    const uint16_t* a = kLowPartIndex.lows + kLowPartIndex.start[part0];
    const uint16_t* aEnd = kLowPartIndex.lows + kLowPartIndex.start[part0 + 1];
    const uint16_t* b = kLowPartIndex.lows + kLowPartIndex.start[part1];
    const uint16_t* bEnd = part1 == part0 ? b : kLowPartIndex.lows + kLowPartIndex.start[part1 + 1];
    while (a != aEnd || b != bEnd) {
      uint32_t low;
      if (b == bEnd || (a != aEnd && *a < *b)) {
        low = *a++;
      } else {
        low = *b++;
      }
      states[count++] = (h << 16) | low;
    }
  }
  return count;
}

bool scanIvWords(PidSteps& pids, uint32_t w1, uint32_t w2, int nature, int limit, uint64_t& checks) {
  uint32_t states[kMaxIvWordStates];
  const int32_t count = ivWordStates(w1, w2, states);
  for (int32_t i = 0; i < count; ++i) {
    ++checks;
    if (storeIfNature(pids, states[i], Lcg32::Next(states[i]), nature, limit)) return true;
  }
  return false;
}

bool scanIvWords(PidSteps& pids, uint32_t w1, uint32_t w2, int nature, int limit) {
  uint64_t checks = 0;
  return scanIvWords(pids, w1, w2, nature, limit, checks);
}

bool firstIvCombination(const IvRange (&ranges)[kStatCount], int32_t (&ivs)[kStatCount]) {
  for (int i = 0; i < kStatCount; ++i) {
    if (ranges[i].low > ranges[i].high) return false;
    ivs[i] = ranges[i].low;
  }
  return true;
}

bool nextIvCombination(const IvRange (&ranges)[kStatCount], int32_t (&ivs)[kStatCount]) {
  // An odometer with D as its fastest wheel.
  for (int i = kStatCount - 1; i >= 0; --i) {
    if (ivs[i] < ranges[i].high) {
      ++ivs[i];
      return true;
    }
    ivs[i] = ranges[i].low;
  }
  return false;
}

PidSearchKind searchPidCandidates(PidSteps& pids, const MeasureState& measure) {
  bool allFixed = true;
  for (const IvRange& r : measure.ivRanges) allFixed = allFixed && isFixed(r);
  const int nature = measure.natureIndex;
  const IvRange* r = measure.ivRanges;

  if (allFixed) {
    pids.pidCandidateCount = 0;
    scanIvWords(pids, firstIvWord(r[0].low, r[1].low, r[2].low), secondIvWord(r[3].low, r[4].low, r[5].low),
                nature, 0);
    return PidSearchKind::kFixed;
  }
  if (measure.measurementCount <= 0) return PidSearchKind::kNotRun;

  pids.pidCandidateCount = 0;
  int32_t iv[kStatCount];
  for (bool more = firstIvCombination(measure.ivRanges, iv); more; more = nextIvCombination(measure.ivRanges, iv)) {
    if (scanIvWords(pids, firstIvWord(iv[0], iv[1], iv[2]), secondIvWord(iv[3], iv[4], iv[5]), nature,
                    kRangeSearchLimit))
      break;
  }
  return PidSearchKind::kRange;
}
