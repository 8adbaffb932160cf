// The egg search's inner scan, between core/egg_search.cpp and its kernels
// (scalar, AVX2, AVX-512: core/egg_search_kernel.inc). Not for other callers.
#pragma once

#include <cstdint>

#include "core/year_scan.h"

// What a kernel tests on each frame, read off the egg list request once. A
// kernel may report more frames than the list keeps, never fewer: the caller
// checks every reported frame with the egg list's own functions.
struct EggScanPlan {
  uint32_t shinyValue;  // TID ^ SID; 65536 or more makes every PID not shiny
  bool marriage;        // up to four rerolls towards a shiny PID
  bool shinyOnly;
  bool nature;          // keep PID mod 25 == natureIndex
  uint32_t natureIndex;
  bool gender;          // keep (PID & 0xFF) - genderLow <= genderSpan (unsigned)
  uint32_t genderLow;
  uint32_t genderSpan;
  bool ability;         // keep (PID & 1) == abilityBit
  uint32_t abilityBit;
  // An Everstone passes this nature: frame i's PID is the first output at or
  // after i with that nature that is not 0 (core/everstone.h). A kernel then
  // reports a seed whose frames it cannot settle once, with frame -1, and
  // none of that seed's frames.
  bool everstone;
  uint32_t everstoneNature;
};

// The kernels (ScanRow<EggScanPlan>) report every frame the plan may keep.
void eggScanRowScalar(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);

#if defined(QUILLMAR_YEAR_SCAN_X86)
void eggScanRowAvx2(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);
void eggScanRowAvx512(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink);
#endif
