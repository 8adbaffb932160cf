// The inner scans of the egg searches, between core/egg_search.cpp and
// core/egg_iv_search.cpp and their kernels (scalar, AVX2, AVX-512). Not for
// other callers.
#pragma once

#include <cstdint>

#include "core/egg_search.h"

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
};

// The Mersenne Twister's twist constant, xored in for an odd lower word.
inline constexpr uint32_t kTwistMagic = 0x9908B0DFu;

struct EggScanSink {
  // A frame the plan may keep: the seed, the frame number and a value of the
  // frame: for the PID the frame's tempered output (the PID before any
  // reroll), for the IVs the LCG's state after the frame's n draws.
  void (*frameKept)(void* context, uint32_t seed, int32_t frame, uint32_t value);
  // Asked every 624 frames (the IV kernel: 4,096) of one seed group; true
  // abandons the row.
  bool (*stopRequested)(void* context);
  void* context;
};

// Scans frames 0..frames-1 (frames >= 1) of the 256 seeds (aa << 24) | rowBase,
// aa = 0..255 (rowBase < 2^24), reporting frames in no particular order.
using EggScanRow = void (*)(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);

void eggScanRowScalar(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);

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

// Scans frames 0..frames-1 (frames >= 1) of the 256 seeds (aa << 24) | rowBase,
// aa = 0..255, reporting the frames whose IVs all lie in their ranges, with
// the state after the frame's draws, in no particular order.
using EggIvScanRow = void (*)(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);

void eggIvScanRowScalar(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);

#if defined(__x86_64__)
#define QUILLMAR_EGG_SCAN_X86 1
void eggScanRowAvx2(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);
void eggScanRowAvx512(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);
void eggIvScanRowAvx2(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);
void eggIvScanRowAvx512(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const EggScanSink& sink);
#endif

// Auto as the widest kernel the processor has; any other as it is.
EggSearchKernel resolvedEggKernel(EggSearchKernel kernel);
