// The portable year search kernels of every kind: one seed per lane, eight
// seeds stepped together (two for the IVs) so that their independent
// multiplications overlap.
#include <cstdint>

#include "core/egg_iv_kernel.h"
#include "core/egg_search_kernel.h"
#include "core/rng.h"
#include "core/wild_kernel.h"

namespace {

#define SCAN_OP __attribute__((always_inline)) inline
#define SCAN_FN

using V = uint32_t;
using M = bool;
constexpr int kLanes = 1;
constexpr int kGroup = 8;

SCAN_OP V vSet(uint32_t x) { return x; }
SCAN_OP V vAdd(V a, V b) { return a + b; }
SCAN_OP V vSub(V a, V b) { return a - b; }
SCAN_OP V vMul(V a, V b) { return a * b; }
SCAN_OP V vXor(V a, V b) { return a ^ b; }
SCAN_OP V vAnd(V a, V b) { return a & b; }
SCAN_OP V vOr(V a, V b) { return a | b; }
SCAN_OP V vXor3(V a, V b, V c) { return a ^ b ^ c; }
SCAN_OP V vMagic(V next) { return (next & 1u) != 0 ? kTwistMagic : 0u; }
SCAN_OP V vShr(V a, int n) { return a >> n; }
SCAN_OP V vShl(V a, int n) { return a << n; }
SCAN_OP V vMinU(V a, V b) { return a < b ? a : b; }
SCAN_OP V vBits(V m, V a, V b) { return (a & m) | (b & ~m); }
SCAN_OP V vIota() { return 0; }
SCAN_OP V vSelect(M m, V a, V b) { return m ? a : b; }
SCAN_OP void vStore(uint32_t* out, V a) { out[0] = a; }
SCAN_OP M mZero(V a, V b) { return (a & b) == 0; }
SCAN_OP M mLeU(V a, V b) { return a <= b; }
SCAN_OP M mAnd(M a, M b) { return a && b; }
SCAN_OP M mOr(M a, M b) { return a || b; }
SCAN_OP M mAll(bool on) { return on; }
SCAN_OP bool mAny(M m) { return m; }
SCAN_OP uint32_t mBits(M m) { return m ? 1u : 0u; }

constexpr int kIvGroup = 2;
SCAN_OP V vShlV(V a, V n) { return a << n; }
SCAN_OP V vMulHi16(V a, V b) { return (a * b) >> 16; }
SCAN_OP V vMulLo16(V a, V b) { return (a * b) & 0xFFFFu; }
SCAN_OP V vMaxU(V a, V b) { return a > b ? a : b; }
struct Table32 {
  uint32_t entries[32];
};
SCAN_OP Table32 table32(const uint32_t (&entries)[32]) {
  Table32 table;
  for (int i = 0; i < 32; ++i) table.entries[i] = entries[i];
  return table;
}
SCAN_OP V vLookup32(const Table32& table, V index) { return table.entries[index & 31u]; }

#include "core/year_scan_lanes.inc"
#include "core/egg_search_kernel.inc"
#include "core/egg_iv_kernel.inc"
#include "core/wild_kernel.inc"

}  // namespace

void eggScanRowScalar(const EggScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink) {
  scanRow(plan, rowBase, frames, sink);
}

void eggIvScanRowScalar(const EggIvScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink) {
  ivScanRow(plan, rowBase, frames, sink);
}

void wildScanRowScalar(const WildScanPlan& plan, uint32_t rowBase, int32_t frames, const YearScanSink& sink) {
  wildScanRowLanes(plan, rowBase, frames, sink);
}
