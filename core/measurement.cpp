#include "core/measurement.h"

#include <cstdint>

namespace {

constexpr int32_t kLowestIv = 0;
constexpr int32_t kHighestIv = 31;
constexpr int32_t kHighestLevel = 100;
constexpr int32_t kNotMeasured = -1;

// 32-bit arithmetic that wraps like the game's compiled code instead of being
// undefined: only absurd typed values (far beyond three digits) ever wrap.
int32_t wrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t wrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// pre times a double factor, truncated toward zero. A product outside the
// 32-bit range gives INT32_MIN, the value x86's truncating conversion yields.
int32_t scaleTruncated(int32_t pre, double factor) {
  double scaled = static_cast<double>(pre) * factor;
  if (!(scaled > -2147483649.0 && scaled < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(scaled);
}

// The nature row the formula uses; an index outside the table reads as neutral.
const NatureInfo& natureRow(const MeasureState& measure, const NatureTable& natures) {
  static constexpr NatureInfo kNeutral{};
  if (measure.natureIndex < 0 || measure.natureIndex >= kNatureCount) return kNeutral;
  return natures.rows[measure.natureIndex];
}

void openAllRanges(MeasureState& measure) {
  for (IvRange& range : measure.ivRanges) range = IvRange{kLowestIv, kHighestIv};
  for (int32_t& level : measure.narrowLevels) level = 0;
}

}  // namespace

int32_t computeStat(StatKind kind, int32_t base, int32_t iv, int32_t level) {
  // (2B + I) * L / 100 + 5; the division truncates toward zero.
  int32_t product = wrapMul(wrapAdd(wrapMul(2, base), iv), level);
  int32_t pre = wrapAdd(product / 100, 5);
  switch (kind) {
    case StatKind::kHp: return wrapAdd(wrapAdd(pre, level), 5);
    case StatKind::kRaised: return scaleTruncated(pre, 1.1);
    case StatKind::kLowered: return scaleTruncated(pre, 0.9);
    case StatKind::kNeutral: break;
  }
  return pre;
}

StatKind statKindFor(int statIndex, const NatureInfo& nature) {
  if (statIndex == 0) return StatKind::kHp;
  if (statIndex == nature.raised) return StatKind::kRaised;
  if (statIndex == nature.lowered) return StatKind::kLowered;
  return StatKind::kNeutral;
}

void narrowRange(IvRange& range, StatKind kind, int32_t base, int32_t level, int32_t observed, int32_t firstIv,
                 int32_t lastIv) {
  // At one level the stat never decreases as the IV grows, so the IVs giving
  // `observed` form one run; no match leaves the range as it was.
  bool inRun = false;
  for (int32_t iv = firstIv; iv <= lastIv; ++iv) {
    bool matches = computeStat(kind, base, iv, level) == observed;
    if (!inRun) {
      if (matches) {
        range.low = iv;
        inRun = true;
      }
    } else if (!matches) {
      range.high = iv - 1;
      return;
    }
  }
}

void takeFirstMeasurement(MeasureState& measure, const NatureTable& natures, const StatBlock& baseStats, int32_t natureIndex, int32_t level,
                          const StatBlock& stats) {
  measure.baseStats = baseStats;
  measure.measurements[0].level = level;
  measure.measurements[0].stats = stats;
  measure.natureIndex = natureIndex;
  measure.measurementCount = 1;
  // With no measurement taken every range is 0..31 already; restating it keeps
  // a stray earlier value from surviving an unmatched stat.
  for (IvRange& range : measure.ivRanges) range = IvRange{kLowestIv, kHighestIv};
  const NatureInfo& nature = natureRow(measure, natures);
  for (int i = 0; i < kStatCount; ++i) {
    narrowRange(measure.ivRanges[i], statKindFor(i, nature), measure.baseStats[i], level, stats[i], kLowestIv, kHighestIv);
  }
  computeNarrowLevels(measure, natures);
}

bool takeNextMeasurement(MeasureState& measure, const NatureTable& natures, int32_t level, const StatBlock& stats) {
  int32_t r = measure.measurementCount;
  if (r < 1 || r >= kMaxMeasurements) return false;
  MeasurementRow& row = measure.measurements[r];
  row.level = level;
  for (int i = 0; i < kStatCount; ++i) row.stats[i] = isFixed(measure.ivRanges[i]) ? kNotMeasured : stats[i];
  const NatureInfo& nature = natureRow(measure, natures);
  for (int i = 0; i < kStatCount; ++i) {
    IvRange& range = measure.ivRanges[i];
    if (isFixed(range)) continue;
    narrowRange(range, statKindFor(i, nature), measure.baseStats[i], level, row.stats[i], range.low, range.high);
  }
  measure.measurementCount = r + 1;
  computeNarrowLevels(measure, natures);
  return true;
}

void computeNarrowLevels(MeasureState& measure, const NatureTable& natures) {
  if (measure.measurementCount < 1 || measure.measurementCount > kMaxMeasurements) return;
  const int32_t lastLevel = measure.measurements[measure.measurementCount - 1].level;
  const NatureInfo& nature = natureRow(measure, natures);
  for (int i = 0; i < kStatCount; ++i) {
    const IvRange& range = measure.ivRanges[i];
    if (isFixed(range)) {
      measure.narrowLevels[i] = 0;
      continue;
    }
    StatKind kind = statKindFor(i, nature);
    int32_t base = measure.baseStats[i];
    // The scan starts at the level just measured: an unmatched stat may already
    // be separable there.
    for (int32_t level = lastLevel; level <= kHighestLevel; ++level) {
      int32_t lowStat = computeStat(kind, base, range.low, level);
      bool separates = false;
      for (int32_t iv = range.low; iv <= range.high && !separates; ++iv) {
        separates = computeStat(kind, base, iv, level) != lowStat;
      }
      if (separates) {
        measure.narrowLevels[i] = level;
        break;
      }
    }
  }
}

bool resetMeasurement(MeasureState& measure, PidSteps& pids) {
  if (measure.measurementCount == 0) return false;
  measure.measurementCount = 0;
  openAllRanges(measure);
  pids.pidCandidateCount = -1;
  return true;
}

void startStepOne(MeasureState& measure, PidSteps& pids) {
  measure.natureIndex = 0;
  measure.measurementCount = 0;
  openAllRanges(measure);
  pids.pidCandidateCount = -1;
}
