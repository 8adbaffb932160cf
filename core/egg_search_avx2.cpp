// The AVX2 egg search kernel: eight seeds per vector, four vectors stepped
// together. Compiled for AVX2 function by function (the rest of the program
// stays baseline x86-64) and called only when the processor has AVX2.
#include <cstdint>

#include "core/egg_search_kernel.h"

#if defined(QUILLMAR_EGG_SCAN_X86)
#include <immintrin.h>

namespace {

#define EGG_OP __attribute__((always_inline, target("avx2"))) inline
#define EGG_FN __attribute__((target("avx2")))

using V = __m256i;
using M = __m256i;  // all ones in a kept lane
constexpr int kLanes = 8;
constexpr int kGroup = 8;

EGG_OP V vSet(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
EGG_OP V vAdd(V a, V b) { return _mm256_add_epi32(a, b); }
EGG_OP V vSub(V a, V b) { return _mm256_sub_epi32(a, b); }
EGG_OP V vMul(V a, V b) { return _mm256_mullo_epi32(a, b); }
EGG_OP V vXor(V a, V b) { return _mm256_xor_si256(a, b); }
EGG_OP V vAnd(V a, V b) { return _mm256_and_si256(a, b); }
EGG_OP V vOr(V a, V b) { return _mm256_or_si256(a, b); }
EGG_OP V vXor3(V a, V b, V c) { return _mm256_xor_si256(_mm256_xor_si256(a, b), c); }
EGG_OP V vShr(V a, int n) { return _mm256_srli_epi32(a, n); }
EGG_OP V vShl(V a, int n) { return _mm256_slli_epi32(a, n); }
EGG_OP V vMinU(V a, V b) { return _mm256_min_epu32(a, b); }
EGG_OP V vBits(V m, V a, V b) { return _mm256_or_si256(_mm256_and_si256(a, m), _mm256_andnot_si256(m, b)); }
// A lookup of the lane's lowest three bits in a table of alternating 0 and the constant.
EGG_OP V vMagic(V next) {
  const int a = static_cast<int>(kTwistMagic);
  return _mm256_permutevar8x32_epi32(_mm256_setr_epi32(0, a, 0, a, 0, a, 0, a), next);
}
EGG_OP V vIota() { return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7); }
EGG_OP V vSelect(M m, V a, V b) { return _mm256_blendv_epi8(b, a, m); }
EGG_OP void vStore(uint32_t* out, V a) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), a); }
EGG_OP M mZero(V a, V b) { return _mm256_cmpeq_epi32(_mm256_and_si256(a, b), _mm256_setzero_si256()); }
EGG_OP M mLeU(V a, V b) { return _mm256_cmpeq_epi32(_mm256_max_epu32(a, b), b); }
EGG_OP M mAnd(M a, M b) { return _mm256_and_si256(a, b); }
EGG_OP M mOr(M a, M b) { return _mm256_or_si256(a, b); }
EGG_OP M mAll(bool on) { return _mm256_set1_epi32(on ? -1 : 0); }
EGG_OP bool mAny(M m) { return !_mm256_testz_si256(m, m); }
EGG_OP uint32_t mBits(M m) { return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(m))); }

#include "core/egg_search_kernel.inc"

}  // namespace

__attribute__((target("avx2"))) void eggScanRowAvx2(const EggScanPlan& plan, uint32_t rowBase, int32_t frames,
                                                    const EggScanSink& sink) {
  scanRow(plan, rowBase, frames, sink);
}
#endif
