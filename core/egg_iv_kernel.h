// The egg IV search's inner scan, between core/egg_iv_search.cpp and its
// kernels (scalar, AVX2, AVX-512: core/egg_iv_kernel.inc). Not for other
// callers.
#pragma once

#include <cstdint>

#include "core/year_scan.h"

// What the IV kernel tests on each frame, read off the IV search's request
// once. The kernel reports exactly the frames whose six IVs all lie in their
// ranges; the caller checks each with eggIvsAt all the same.
enum class EggIvScanShape : int32_t {
  kDppt,          // picks from draws 3..5 with the DPPt removal, parents from 6..8
  kHgss,          // picks from draws 3..5, each removing itself, parents from 6..8
  kHgssOneItem,   // forced[0] first; picks from draws 3, 4; parents from 5, 6
  kHgssTwoItems,  // draw 3 odd: forced[0] (A's), else forced[1] (B's); picks 4, 5; parents 6, 7
};

struct EggIvScanPlan {
  EggIvScanShape shape;
  // Entry v of table j (j = 0, 1, 2): bit j set when v is outside the range
  // of stat j (H, A, B: the first draw's field j), bit j + 3 when v is outside
  // the range of stat j + 3 (S, C, D: the second draw's field j).
  uint32_t fieldMissed[3][32];
  uint32_t goodA;  // bit i: parent A's IV of stat i lies in stat i's range
  uint32_t goodB;
  uint32_t forcedStat[2];  // the stat (0..5) a power item forces, and the
  uint32_t forcedGood[2];  // good mask of the parent holding it (see the shapes)
};

// The kernels (ScanRow<EggIvScanPlan>) report the frames whose IVs all lie in
// their ranges, with the state after the frame's draws.
void eggIvScanRowScalar(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);

#if defined(QUILLMAR_YEAR_SCAN_X86)
void eggIvScanRowAvx2(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);
void eggIvScanRowAvx512(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);
#endif
