// The game's two generators and the properties read off a personality value.
// Pure unsigned 32-bit arithmetic, wrapping modulo 2^32; no I/O, no allocation.
#pragma once

#include <cstdint>

#include "state/app_state.h"

namespace Lcg32 {
inline constexpr uint32_t kMul = 0x41C64E6Du;
inline constexpr uint32_t kAdd = 0x00006073u;
inline constexpr uint32_t kPrevMul = 0xEEB9EB65u;  // inverse of kMul mod 2^32
inline constexpr uint32_t kPrevAdd = 0x0A3561A1u;  // -kAdd * kPrevMul mod 2^32

// One forward step. The value drawn with the step is the new state's upper 16 bits.
constexpr uint32_t Next(uint32_t s) { return s * kMul + kAdd; }
// One backward step: Prev(Next(s)) == Next(Prev(s)) == s for every s.
constexpr uint32_t Prev(uint32_t s) { return s * kPrevMul + kPrevAdd; }
// n forward steps at once: Advance(s, n) == Next applied n times, in about
// 32 squarings of the step (s -> s * mul + add composed with itself).
constexpr uint32_t Advance(uint32_t s, uint32_t n) {
  uint32_t mul = kMul;
  uint32_t add = kAdd;
  for (; n != 0; n >>= 1) {
    if (n & 1u) s = s * mul + add;
    add = add * mul + add;
    mul *= mul;
  }
  return s;
}
}  // namespace Lcg32

inline constexpr uint32_t kMtInitMul = 0x6C078965u;

// Fills the 624 words from a 32-bit seed (the standard MT19937 initialisation).
void Seed(Mt19937& mt, uint32_t seed);
// Regenerates the 624 words in place.
void Twist(Mt19937& mt);
// Tempered value of word `index`, or 0 when index is outside 0..623.
uint32_t Temper(const Mt19937& mt, int index);

// Shiny when TID ^ SID ^ (pid >> 16) ^ (pid & 0xFFFF) < 8, over all 32 bits:
// IDs of 65536 or more are not reduced to 16 bits.
constexpr bool ShinyTest(uint32_t pid, int32_t tid, int32_t sid) {
  uint32_t v = static_cast<uint32_t>(tid) ^ static_cast<uint32_t>(sid) ^ (pid >> 16) ^ (pid & 0xFFFFu);
  return v < 8u;
}

// International marriage: up to four extra values pid * 0x6C078965 + 1 that stop
// at the first shiny one; an already shiny pid is returned unchanged.
constexpr uint32_t MarriageReroll(uint32_t pid, int32_t tid, int32_t sid) {
  if (ShinyTest(pid, tid, sid)) return pid;
  for (int i = 0; i < 4; ++i) {
    pid = pid * kMtInitMul + 1u;
    if (ShinyTest(pid, tid, sid)) return pid;
  }
  return pid;
}

// Unsigned remainder: NatureIndex(0xFFFFFFFF) is 20, never a negative value.
constexpr int NatureIndex(uint32_t pid) { return static_cast<int>(pid % 25u); }
constexpr int AbilitySlot(uint32_t pid) { return static_cast<int>(pid & 1u) + 1; }
constexpr int GenderValue(uint32_t pid) { return static_cast<int>(pid & 0xFFu); }
