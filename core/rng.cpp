#include "core/rng.h"

void Seed(Mt19937& mt, uint32_t seed) {
  mt.words[0] = seed;
  for (uint32_t i = 1; i < kMtWordCount; ++i) {
    uint32_t prev = mt.words[i - 1];
    mt.words[i] = kMtInitMul * (prev ^ (prev >> 30)) + i;
  }
}

void Twist(Mt19937& mt) {
  // In place and in increasing order: words already replaced in this pass are
  // read in their new form (word[i + 397] for i >= 227, word[0] for i = 623).
  for (int i = 0; i < kMtWordCount; ++i) {
    uint32_t y = (mt.words[i] & 0x80000000u) | (mt.words[(i + 1) % kMtWordCount] & 0x7FFFFFFFu);
    uint32_t v = mt.words[(i + 397) % kMtWordCount] ^ (y >> 1);
    if (y & 1u) v ^= 0x9908B0DFu;
    mt.words[i] = v;
  }
}

uint32_t Temper(const Mt19937& mt, int index) {
  if (static_cast<unsigned>(index) > static_cast<unsigned>(kMtWordCount - 1)) return 0;
  uint32_t y = mt.words[index];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}
