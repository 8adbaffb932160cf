// The AVX2 year search kernels of every kind: eight seeds per vector, eight
// vectors stepped together (two for the IVs). Compiled for AVX2 function by
// function (the rest of the program stays baseline x86-64) and called only
// when the processor has AVX2.
#include <cstdint>

#include "core/egg_iv_kernel.h"
#include "core/egg_search_kernel.h"
#include "core/rng.h"
#include "core/wild_kernel.h"

#if defined(QUILLMAR_YEAR_SCAN_X86)
#include <immintrin.h>

namespace {

#define SCAN_OP __attribute__((always_inline, target("avx2"))) inline
#define SCAN_FN __attribute__((target("avx2")))

using V = __m256i;
using M = __m256i;  // all ones in a kept lane
constexpr int kLanes = 8;
constexpr int kGroup = 8;

SCAN_OP V vSet(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
SCAN_OP V vAdd(V a, V b) { return _mm256_add_epi32(a, b); }
SCAN_OP V vSub(V a, V b) { return _mm256_sub_epi32(a, b); }
SCAN_OP V vMul(V a, V b) { return _mm256_mullo_epi32(a, b); }
SCAN_OP V vXor(V a, V b) { return _mm256_xor_si256(a, b); }
SCAN_OP V vAnd(V a, V b) { return _mm256_and_si256(a, b); }
SCAN_OP V vOr(V a, V b) { return _mm256_or_si256(a, b); }
SCAN_OP V vXor3(V a, V b, V c) { return _mm256_xor_si256(_mm256_xor_si256(a, b), c); }
SCAN_OP V vShr(V a, int n) { return _mm256_srli_epi32(a, n); }
SCAN_OP V vShl(V a, int n) { return _mm256_slli_epi32(a, n); }
SCAN_OP V vMinU(V a, V b) { return _mm256_min_epu32(a, b); }
SCAN_OP V vBits(V m, V a, V b) { return _mm256_or_si256(_mm256_and_si256(a, m), _mm256_andnot_si256(m, b)); }
// A lookup of the lane's lowest three bits in a table of alternating 0 and the constant.
SCAN_OP V vMagic(V next) {
  const int a = static_cast<int>(kTwistMagic);
  return _mm256_permutevar8x32_epi32(_mm256_setr_epi32(0, a, 0, a, 0, a, 0, a), next);
}
SCAN_OP V vIota() { return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7); }
SCAN_OP V vSelect(M m, V a, V b) { return _mm256_blendv_epi8(b, a, m); }
SCAN_OP void vStore(uint32_t* out, V a) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), a); }
SCAN_OP M mZero(V a, V b) { return _mm256_cmpeq_epi32(_mm256_and_si256(a, b), _mm256_setzero_si256()); }
SCAN_OP M mLeU(V a, V b) { return _mm256_cmpeq_epi32(_mm256_max_epu32(a, b), b); }
SCAN_OP M mAnd(M a, M b) { return _mm256_and_si256(a, b); }
SCAN_OP M mOr(M a, M b) { return _mm256_or_si256(a, b); }
SCAN_OP M mAll(bool on) { return _mm256_set1_epi32(on ? -1 : 0); }
SCAN_OP bool mAny(M m) { return !_mm256_testz_si256(m, m); }
SCAN_OP uint32_t mBits(M m) { return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(m))); }

constexpr int kIvGroup = 2;
SCAN_OP V vShlV(V a, V n) { return _mm256_sllv_epi32(a, n); }
SCAN_OP V vMulHi16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
SCAN_OP V vMulLo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
SCAN_OP V vMaxU(V a, V b) { return _mm256_max_epu32(a, b); }
// A 32-entry table as four vectors of eight: the index's lowest three bits
// pick within each (vpermd), bits 3 and 4, moved to the sign bit, pick
// between them.
struct Table32 {
  V part[4];
};
SCAN_OP Table32 table32(const uint32_t (&entries)[32]) {
  Table32 table;
  for (int i = 0; i < 4; ++i) table.part[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entries + 8 * i));
  return table;
}
SCAN_OP V vLookup32(const Table32& table, V index) {
  const __m256 bit3 = _mm256_castsi256_ps(_mm256_slli_epi32(index, 28));
  const __m256 bit4 = _mm256_castsi256_ps(_mm256_slli_epi32(index, 27));
  __m256 part[4];
  for (int i = 0; i < 4; ++i) part[i] = _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(table.part[i], index));
  const __m256 low = _mm256_blendv_ps(part[0], part[1], bit3);
  const __m256 high = _mm256_blendv_ps(part[2], part[3], bit3);
  return _mm256_castps_si256(_mm256_blendv_ps(low, high, bit4));
}

#include "core/year_scan_lanes.inc"
#include "core/egg_search_kernel.inc"
#include "core/egg_iv_kernel.inc"
#include "core/wild_kernel.inc"

}  // namespace

__attribute__((target("avx2"))) void eggScanRowAvx2(const EggScanPlan& plan, uint32_t rowBase, int32_t frames,
                                                    const YearScanSink& sink) {
  scanRow(plan, rowBase, frames, sink);
}

__attribute__((target("avx2"))) void eggIvScanRowAvx2(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames,
                                                      const YearScanSink& sink) {
  ivScanRow(plan, rowBase, frames, sink);
}

__attribute__((target("avx2"))) void wildScanRowAvx2(const WildScanPlan& plan, uint32_t rowBase, int32_t frames,
                                                    const YearScanSink& sink) {
  wildScanRowLanes(plan, rowBase, frames, sink);
}
#endif
