// The AVX-512 egg search kernel: sixteen seeds per vector, four vectors
// stepped together. Compiled for AVX-512F function by function and called only
// when the processor (and its operating system) has it.
#include <cstdint>

#include "core/egg_search_kernel.h"

#if defined(QUILLMAR_EGG_SCAN_X86)
#include <immintrin.h>

namespace {

#define EGG_OP __attribute__((always_inline, target("avx512f"))) inline
#define EGG_FN __attribute__((target("avx512f")))

using V = __m512i;
using M = __mmask16;
constexpr int kLanes = 16;
constexpr int kGroup = 4;

EGG_OP V vSet(uint32_t x) { return _mm512_set1_epi32(static_cast<int>(x)); }
EGG_OP V vAdd(V a, V b) { return _mm512_add_epi32(a, b); }
EGG_OP V vSub(V a, V b) { return _mm512_sub_epi32(a, b); }
EGG_OP V vMul(V a, V b) { return _mm512_mullo_epi32(a, b); }
EGG_OP V vXor(V a, V b) { return _mm512_xor_si512(a, b); }
EGG_OP V vAnd(V a, V b) { return _mm512_and_si512(a, b); }
EGG_OP V vOr(V a, V b) { return _mm512_or_si512(a, b); }
// Shifts through the compilers' vector types: GCC 12's _mm512_srli_epi32 trips
// its own maybe-uninitialized warning.
using Lanes = uint32_t __attribute__((vector_size(64)));
EGG_OP V vShr(V a, int n) { return reinterpret_cast<V>(reinterpret_cast<Lanes>(a) >> n); }
EGG_OP V vShl(V a, int n) { return reinterpret_cast<V>(reinterpret_cast<Lanes>(a) << n); }
EGG_OP V vIota() { return _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15); }
EGG_OP V vSelect(M m, V a, V b) { return _mm512_mask_blend_epi32(m, b, a); }
EGG_OP void vStore(uint32_t* out, V a) { _mm512_storeu_si512(out, a); }
EGG_OP M mZero(V a, V b) { return _mm512_testn_epi32_mask(a, b); }
EGG_OP M mLeU(V a, V b) { return _mm512_cmple_epu32_mask(a, b); }
EGG_OP M mAnd(M a, M b) { return static_cast<M>(a & b); }
EGG_OP M mOr(M a, M b) { return static_cast<M>(a | b); }
EGG_OP M mAll(bool on) { return static_cast<M>(on ? 0xFFFFu : 0u); }
EGG_OP bool mAny(M m) { return m != 0; }
EGG_OP uint32_t mBits(M m) { return m; }

#include "core/egg_search_kernel.inc"

}  // namespace

__attribute__((target("avx512f"))) void eggScanRowAvx512(const EggScanPlan& plan, uint32_t rowBase, int32_t frames,
                                                         const EggScanSink& sink) {
  scanRow(plan, rowBase, frames, sink);
}
#endif
