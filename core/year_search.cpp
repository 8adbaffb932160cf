#include "core/year_search.h"

namespace {

std::atomic<EggSearchRowHook> gRowHook{nullptr};

}  // namespace

bool yearSeedsValid(const YearSeeds& s) {
  return s.year >= kClockFirstYear && s.year <= kClockLastYear && s.delayMin >= 0 && s.delayMin <= s.delayMax &&
         s.delayMax <= 0xFFFF && (s.hourMask >> year_search::kHours) == 0 && s.frameCount >= 1;
}

int64_t yearSeedCount(const YearSeeds& s) {
  if (!yearSeedsValid(s)) return 0;
  return int64_t(year_search::kRowSeeds) * __builtin_popcount(s.hourMask) * (int64_t(s.delayMax) - s.delayMin + 1);
}

EggSearchRowHook yearSearchRowHook() { return gRowHook.load(std::memory_order_acquire); }

void setEggSearchRowHook(EggSearchRowHook hook) { gRowHook.store(hook, std::memory_order_release); }
