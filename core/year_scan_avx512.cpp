// The AVX-512 year search kernels of every kind: sixteen seeds per vector,
// eight vectors stepped together (two for the IVs). Compiled for AVX-512 F,
// BW and VBMI2 function by function and called only when the processor (and
// its operating system) has them.
#include <cstdint>

#include "core/egg_iv_kernel.h"
#include "core/egg_search_kernel.h"
#include "core/rng.h"
#include "core/wild_kernel.h"

#if defined(QUILLMAR_YEAR_SCAN_X86)
#include <immintrin.h>

namespace {

#define SCAN_TARGET "avx512f,avx512bw,avx512vbmi2"
#define SCAN_OP __attribute__((always_inline, target(SCAN_TARGET))) inline
#define SCAN_FN __attribute__((target(SCAN_TARGET)))

using V = __m512i;
using M = __mmask16;
constexpr int kLanes = 16;
constexpr int kGroup = 8;

SCAN_OP V vSet(uint32_t x) { return _mm512_set1_epi32(static_cast<int>(x)); }
SCAN_OP V vAdd(V a, V b) { return _mm512_add_epi32(a, b); }
SCAN_OP V vSub(V a, V b) { return _mm512_sub_epi32(a, b); }
SCAN_OP V vMul(V a, V b) { return _mm512_mullo_epi32(a, b); }
SCAN_OP V vXor(V a, V b) { return _mm512_xor_si512(a, b); }
SCAN_OP V vAnd(V a, V b) { return _mm512_and_si512(a, b); }
SCAN_OP V vOr(V a, V b) { return _mm512_or_si512(a, b); }
// Shifts through the compilers' vector types: GCC 12's _mm512_srli_epi32 trips
// its own maybe-uninitialized warning.
using Lanes = uint32_t __attribute__((vector_size(64)));
SCAN_OP V vShr(V a, int n) { return reinterpret_cast<V>(reinterpret_cast<Lanes>(a) >> n); }
SCAN_OP V vShl(V a, int n) { return reinterpret_cast<V>(reinterpret_cast<Lanes>(a) << n); }
SCAN_OP V vXor3(V a, V b, V c) { return _mm512_ternarylogic_epi32(a, b, c, 0x96); }
SCAN_OP V vBits(V m, V a, V b) { return _mm512_ternarylogic_epi32(m, a, b, 0xCA); }
// A lookup of the lane's lowest four bits in a table of alternating 0 and
// the constant: one shuffle where a test and a blend would be two (the masked
// form: see vShr).
SCAN_OP V vMagic(V next) {
  const int a = static_cast<int>(kTwistMagic);
  const V table = _mm512_setr_epi32(0, a, 0, a, 0, a, 0, a, 0, a, 0, a, 0, a, 0, a);
  return _mm512_mask_permutexvar_epi32(table, 0xFFFF, next, table);
}
SCAN_OP V vIota() { return _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15); }
SCAN_OP V vSelect(M m, V a, V b) { return _mm512_mask_blend_epi32(m, b, a); }
SCAN_OP void vStore(uint32_t* out, V a) { _mm512_storeu_si512(out, a); }
SCAN_OP M mZero(V a, V b) { return _mm512_testn_epi32_mask(a, b); }
SCAN_OP M mLeU(V a, V b) { return _mm512_cmple_epu32_mask(a, b); }
SCAN_OP M mAnd(M a, M b) { return static_cast<M>(a & b); }
SCAN_OP M mOr(M a, M b) { return static_cast<M>(a | b); }
SCAN_OP M mAll(bool on) { return static_cast<M>(on ? 0xFFFFu : 0u); }
SCAN_OP bool mAny(M m) { return m != 0; }
SCAN_OP uint32_t mBits(M m) { return m; }

// Shiny keys two to a lane, one per 16-bit half: the half holds
// (pid >> 16) ^ (pid & 0xFFFF) ^ TID ^ SID, which is below 8 exactly when pid
// is shiny. Halves are merged with one 16-bit minimum, so five PIDs take three
// keys instead of five. With hi and lo the halves of a PID and ids = TID ^ SID,
// the halves of a lane are:
//                                      high half       low half
//   (1) pid                            pid.hi          pid.lo
//   (2) rol(pid, 16)                   pid.lo          pid.hi
//   (3) shrdi(a, b, 16)                b.lo            a.hi
//   (4) blend16(0xAAAAAAAA, a, b)      b.hi            a.lo
//   (5) bothHalves(ids)                ids             ids
//   shinyKeys1: (1) ^ (2) ^ (5)        key of pid      key of pid
//   shinyKeys2: (3) ^ (4) ^ (5)        key of b        key of a
// The xor of three is _mm512_ternarylogic_epi32 with 0x96, the truth table of
// x ^ y ^ z: bit 4x + 2y + z of the constant is the result, and 0x96 sets bits
// 1, 2, 4 and 7, the indexes with an odd count of ones (0xCA, in vBits, sets
// 1, 3, 6 and 7: m ? a : b). A half below 8 has no bit of 0xFFF8: keysHit asks
// that of every half, keysLanes of each lane's two halves. Which PID's key a
// half holds does not matter: keysMin merges halves place by place, and any
// half below 8 is a shiny PID of its lane.
#define EGG_OWN_SHINY_KEYS 1
SCAN_OP V bothHalves(V ids) { return vOr(ids, vShl(ids, 16)); }
SCAN_OP V shinyKeys1(V ids, V pid) {
  const V halvesSwapped = _mm512_mask_rol_epi32(pid, 0xFFFF, pid, 16);  // the unmasked form: see vShr
  return _mm512_ternarylogic_epi32(halvesSwapped, pid, bothHalves(ids), 0x96);
}
SCAN_OP V shinyKeys2(V ids, V a, V b) {
  const V highOfALowOfB = _mm512_shrdi_epi32(a, b, 16);
  const V lowOfAHighOfB = _mm512_mask_blend_epi16(0xAAAAAAAAu, a, b);
  return _mm512_ternarylogic_epi32(highOfALowOfB, lowOfAHighOfB, bothHalves(ids), 0x96);
}
SCAN_OP V keysMin(V a, V b) { return _mm512_mask_min_epu16(a, 0xFFFFFFFFu, a, b); }
SCAN_OP bool keysHit(V, V keys) { return _mm512_testn_epi16_mask(keys, _mm512_set1_epi16(-8)) != 0; }
SCAN_OP M keysLanes(V, V keys) {
  return static_cast<M>(_mm512_testn_epi32_mask(keys, vSet(0xFFF8u)) | _mm512_testn_epi32_mask(keys, vSet(0xFFF80000u)));
}

constexpr int kIvGroup = 2;
SCAN_OP V vShlV(V a, V n) { return reinterpret_cast<V>(reinterpret_cast<Lanes>(a) << reinterpret_cast<Lanes>(n)); }
SCAN_OP V vMulHi16(V a, V b) { return _mm512_mulhi_epu16(a, b); }
SCAN_OP V vMulLo16(V a, V b) { return _mm512_mullo_epi16(a, b); }
SCAN_OP V vMinU(V a, V b) { return _mm512_mask_min_epu32(a, 0xFFFF, a, b); }  // the masked forms: see vShr
SCAN_OP V vMaxU(V a, V b) { return _mm512_mask_max_epu32(a, 0xFFFF, a, b); }
// A 32-entry table in two vectors: one two-source permute (vpermt2d) reads
// the index's lowest five bits.
struct Table32 {
  V low, high;
};
SCAN_OP Table32 table32(const uint32_t (&entries)[32]) {
  return Table32{_mm512_loadu_si512(entries), _mm512_loadu_si512(entries + 16)};
}
SCAN_OP V vLookup32(const Table32& table, V index) { return _mm512_permutex2var_epi32(table.low, index, table.high); }

#include "core/year_scan_lanes.inc"
#include "core/egg_search_kernel.inc"
#include "core/egg_iv_kernel.inc"
#include "core/wild_kernel.inc"

}  // namespace

__attribute__((target(SCAN_TARGET))) void eggScanRowAvx512(const EggScanPlan& plan, uint32_t rowBase, int32_t frames,
                                                         const YearScanSink& sink) {
  scanRow(plan, rowBase, frames, sink);
}

__attribute__((target(SCAN_TARGET))) void eggIvScanRowAvx512(const EggIvScanPlan& plan, uint32_t rowBase,
                                                           int32_t frames, const YearScanSink& sink) {
  ivScanRow(plan, rowBase, frames, sink);
}

__attribute__((target(SCAN_TARGET))) void wildScanRowAvx512(const WildScanPlan& plan, uint32_t rowBase, int32_t frames,
                                                    const YearScanSink& sink) {
  wildScanRowLanes(plan, rowBase, frames, sink);
}
#endif
