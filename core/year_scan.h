// What the kernels of every year search kind share (core/year_search_engine.h
// drives them): the sink they report frames to, and the choice of a kind's
// kernel by the processor's instruction sets. For the kinds' .cpp files and
// their kernels only.
//
// A kind's kernels are one source written once over a vector of lanes
// (core/year_scan_lanes.inc and the kind's own .inc), compiled three times by
// core/year_scan_scalar.cpp, core/year_scan_avx2.cpp and
// core/year_scan_avx512.cpp.
#pragma once

#include <cstdint>

#include "core/year_search.h"

struct YearScanSink {
  // A frame the kind's plan may keep: the seed, the frame number and a value
  // of the frame the kind names (the egg search: the frame's tempered output,
  // the PID before any reroll; the IV search: the LCG's state after the
  // frame's n draws).
  void (*frameKept)(void* context, uint32_t seed, int32_t frame, uint32_t value);
  // Asked now and then within one seed group (the kind says how often); true
  // abandons the row.
  bool (*stopRequested)(void* context);
  void* context;
};

// The Mersenne Twister's twist constant, xored in for an odd lower word (the
// lanes' vMagic).
inline constexpr uint32_t kTwistMagic = 0x9908B0DFu;

#if defined(__x86_64__)
#define QUILLMAR_YEAR_SCAN_X86 1
// A vector kernel's function where this build has it, null elsewhere (where
// resolvedYearSearchKernel never picks it).
#define QUILLMAR_VECTOR_KERNEL(function) function
#else
#define QUILLMAR_VECTOR_KERNEL(function) nullptr
#endif

// A kind's kernel: scans frames 0..frames-1 (frames >= 1) of the 256 seeds
// (aa << 24) | rowBase, aa = 0..255 (rowBase < 2^24), with the kind's plan,
// reporting frames to the sink in no particular order.
template <typename Plan>
using ScanRow = void (*)(const Plan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);

// A kind's row functions, one per instruction set (the vector ones through
// QUILLMAR_VECTOR_KERNEL).
template <typename Plan>
struct ScanRows {
  ScanRow<Plan> scalar;
  ScanRow<Plan> avx2;
  ScanRow<Plan> avx512;
};

// The row function that runs `kernel` (Auto: the widest the processor has).
template <typename Plan>
ScanRow<Plan> scanRowFor(YearSearchKernel kernel, const ScanRows<Plan>& rows) {
  switch (resolvedYearSearchKernel(kernel)) {
    case YearSearchKernel::Avx512:
      return rows.avx512;
    case YearSearchKernel::Avx2:
      return rows.avx2;
    default:
      return rows.scalar;
  }
}
