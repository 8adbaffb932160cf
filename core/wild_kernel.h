// The creature search's forward scan for shiny creatures, between
// core/wild_search.cpp and its kernels (scalar, AVX2, AVX-512:
// core/wild_kernel.inc). Not for other callers.
#pragma once

#include <cstdint>

#include "core/year_scan.h"

struct WildScanPlan {
  uint32_t shinyValue;  // TID ^ SID
  uint32_t natures;     // the natures a hit can have, bit k for nature k
  int32_t prefix;       // draws an encounter takes before its first PID draw, at most
  int32_t gift;         // 1: the PID is an encounter's first two draws, no loop
  int32_t drawLimit;    // the draws a seed is scanned over at most
};

// The kernels (ScanRow<WildScanPlan>) report, for each seed of the row, every
// draw i whose pair of draws i (low half) and i + 1 (high half) makes a shiny
// PID, with the state of draw i, until every PID loop of an advance below
// `frames` with a wanted nature has ended: at each parity, a pair of each
// wanted nature seen at or after draw frames + prefix (a gift: until draw
// `frames`). A seed that would need more than drawLimit draws is reported
// once with frame -1 (its state then means nothing).
void wildScanRowScalar(const WildScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);

#if defined(QUILLMAR_YEAR_SCAN_X86)
void wildScanRowAvx2(const WildScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);
void wildScanRowAvx512(const WildScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);
#endif
