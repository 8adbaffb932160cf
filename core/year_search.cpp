#include "core/year_search.h"

#include "core/seed_time.h"
#include "core/year_search_engine.h"

namespace {

std::atomic<YearSearchRowHook> gRowHook{nullptr};

bool cpuHas(YearSearchKernel kernel) {
#if defined(QUILLMAR_YEAR_SCAN_X86)
  __builtin_cpu_init();
  if (kernel == YearSearchKernel::Avx2) return __builtin_cpu_supports("avx2");
  if (kernel == YearSearchKernel::Avx512) {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi2");
  }
#endif
  return kernel == YearSearchKernel::Auto || kernel == YearSearchKernel::Scalar;
}

}  // namespace

bool yearWindowValid(const YearWindow& w) {
  return w.year >= kClockFirstYear && w.year <= kClockLastYear && w.delayMin >= 0 && w.delayMin <= w.delayMax &&
         w.delayMax <= 0xFFFF && (w.hourMask >> year_search::kHours) == 0;
}

int64_t yearWindowSeedCount(const YearWindow& w) {
  if (!yearWindowValid(w)) return 0;
  return int64_t(year_search::kRowSeeds) * __builtin_popcount(w.hourMask) * (int64_t(w.delayMax) - w.delayMin + 1);
}

bool yearSearchKernelAvailable(YearSearchKernel kernel) { return cpuHas(kernel); }

YearSearchKernel resolvedYearSearchKernel(YearSearchKernel kernel) {
  if (kernel != YearSearchKernel::Auto) return kernel;
  return cpuHas(YearSearchKernel::Avx512) ? YearSearchKernel::Avx512
         : cpuHas(YearSearchKernel::Avx2) ? YearSearchKernel::Avx2
                                          : YearSearchKernel::Scalar;
}

YearSearchRowHook yearSearchRowHook() { return gRowHook.load(std::memory_order_acquire); }

void setYearSearchRowHook(YearSearchRowHook hook) { gRowHook.store(hook, std::memory_order_release); }

bool yearHitMoment(uint32_t seed, int32_t year, ConsoleMoment& moment) {
  SeedMomentCursor cursor = kSeedMomentStart;
  return listSeedMoments(seed, year, cursor, &moment, 1).count == 1;
}
