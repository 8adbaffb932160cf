#include "core/pid_search.h"

#include "core/rng.h"

namespace {

bool isFixed(const IvRange& r) { return r.low == r.high; }

// s is the state that drew the first IV word and t = Next(s) the state that
// drew the second; the two states before s drew the PID, low half first.
bool storeIfNature(AppState& app, uint32_t s, uint32_t t, int nature, int limit) {
  uint32_t p1 = Lcg32::Prev(s);
  uint32_t p2 = Lcg32::Prev(p1);
  uint32_t pid = (p1 & 0xFFFF0000u) | (p2 >> 16);
  if (NatureIndex(pid) != nature) return false;
  if (app.pidCandidateCount >= kMaxPidCandidates) return true;  // cannot happen: at most 6 per scan
  app.pidCandidates[app.pidCandidateCount] = PidCandidate{pid, Lcg32::Next(t)};
  ++app.pidCandidateCount;
  return limit > 0 && app.pidCandidateCount >= limit;
}

}  // namespace

bool scanIvWordsStraightforward(AppState& app, uint32_t w1, uint32_t w2, int nature, int limit) {
  const uint32_t highs[2] = {w1 & 0xFFFFu, (w1 | 0x8000u) & 0xFFFFu};
  const uint32_t want0 = w2 & 0xFFFFu;
  const uint32_t want1 = (w2 | 0x8000u) & 0xFFFFu;
  for (uint32_t h : highs) {
    for (uint32_t low = 0; low <= 0xFFFFu; ++low) {
      uint32_t s = (h << 16) | low;
      uint32_t t = Lcg32::Next(s);
      uint32_t draw = t >> 16;
      if (draw != want0 && draw != want1) continue;
      if (storeIfNature(app, s, t, nature, limit)) return true;
    }
  }
  return false;
}

bool scanIvWords(AppState& app, uint32_t w1, uint32_t w2, int nature, int limit) {
  return scanIvWordsStraightforward(app, w1, w2, nature, limit);
}

PidSearchKind searchPidCandidates(AppState& app) {
  bool allFixed = true;
  for (const IvRange& r : app.ivRanges) allFixed = allFixed && isFixed(r);
  const int nature = app.natureIndex;
  const IvRange* r = app.ivRanges;

  if (allFixed) {
    app.pidCandidateCount = 0;
    scanIvWords(app, firstIvWord(r[0].low, r[1].low, r[2].low), secondIvWord(r[3].low, r[4].low, r[5].low),
                nature, 0);
    return PidSearchKind::kFixed;
  }
  if (app.measurementCount <= 0) return PidSearchKind::kNotRun;

  app.pidCandidateCount = 0;
  for (int h = r[0].low; h <= r[0].high; ++h)
    for (int a = r[1].low; a <= r[1].high; ++a)
      for (int b = r[2].low; b <= r[2].high; ++b)
        for (int s = r[3].low; s <= r[3].high; ++s)
          for (int c = r[4].low; c <= r[4].high; ++c)
            for (int d = r[5].low; d <= r[5].high; ++d)
              if (scanIvWords(app, firstIvWord(h, a, b), secondIvWord(s, c, d), nature, kRangeSearchLimit))
                return PidSearchKind::kRange;
  return PidSearchKind::kRange;
}
