#include <gtest/gtest.h>

#include <random>

#include "core/rng.h"

namespace {

// Output n of the generator in the order the egg list reads it: twist whenever
// the caller's position wraps to 0, then temper at that position.
struct MtReader {
  Mt19937 mt{};
  int position = 0;
  explicit MtReader(uint32_t seed) { Seed(mt, seed); }
  uint32_t next() {
    if (position == 0) Twist(mt);
    uint32_t v = Temper(mt, position);
    position = (position + 1) % kMtWordCount;
    return v;
  }
};

TEST(Lcg32, KnownStepsAndInverse) {
  EXPECT_EQ(Lcg32::Next(0), 0x00006073u);
  EXPECT_EQ(Lcg32::Prev(0), 0x0A3561A1u);
  EXPECT_EQ(Lcg32::Prev(5), 0xB3D6FA9Au);
  // The alternative form of Prev: 0x0A3561A1 - s * 0x1146149B.
  for (uint32_t s : {0u, 1u, 5u, 0x12345678u, 0xFFFFFFFFu, 0x80000000u}) {
    EXPECT_EQ(Lcg32::Prev(Lcg32::Next(s)), s);
    EXPECT_EQ(Lcg32::Next(Lcg32::Prev(s)), s);
    EXPECT_EQ(Lcg32::Prev(s), 0x0A3561A1u - s * 0x1146149Bu);
  }
  EXPECT_EQ(Lcg32::kMul * Lcg32::kPrevMul, 1u);
}

TEST(Mt19937, PublishedOutputsForSeed5489) {
  MtReader r(5489);
  EXPECT_EQ(r.next(), 3499211612u);
  for (int i = 1; i < 9999; ++i) r.next();
  EXPECT_EQ(r.next(), 4123659995u);  // output 9999
}

TEST(Mt19937, SeedZeroFirstOutputs) {
  MtReader r(0);
  EXPECT_EQ(r.next(), 0x8C7F0AACu);
  EXPECT_EQ(r.next(), 0x97C4AA2Fu);
  EXPECT_EQ(r.next(), 0xB716A675u);
}

TEST(Mt19937, MatchesTheStandardLibraryAcrossSeveralTwists) {
  for (uint32_t seed : {0u, 1u, 0x12345678u, 0xFFFFFFFFu}) {
    MtReader r(seed);
    std::mt19937 reference(seed);
    for (int i = 0; i < 3 * kMtWordCount + 7; ++i) ASSERT_EQ(r.next(), reference()) << "seed " << seed << " output " << i;
  }
}

TEST(Mt19937, TemperOutsideTheWordsIsZero) {
  Mt19937 mt{};
  Seed(mt, 5489);
  Twist(mt);
  EXPECT_EQ(Temper(mt, 624), 0u);
  EXPECT_EQ(Temper(mt, -1), 0u);
  EXPECT_NE(Temper(mt, 0), 0u);
  EXPECT_EQ(Temper(mt, 0), 3499211612u);
  // Word 623 is the 624th output of the first twist.
  std::mt19937 reference(5489);
  reference.discard(623);
  EXPECT_EQ(Temper(mt, 623), reference());
}

TEST(PidProperties, ShinyTestUsesAll32Bits) {
  EXPECT_TRUE(ShinyTest(0x00000007u, 0, 0));
  EXPECT_FALSE(ShinyTest(0x00000008u, 0, 0));
  EXPECT_TRUE(ShinyTest(0x00010001u, 0, 0));
  // An ID of 65536 leaves bit 16 set: nothing is shiny with SID 0...
  EXPECT_FALSE(ShinyTest(0x00000000u, 65536, 0));
  EXPECT_FALSE(ShinyTest(0x00010000u, 65536, 0));
  // ...unless both IDs carry the same high bits.
  EXPECT_TRUE(ShinyTest(0x00000000u, 65536, 65536));
}

TEST(PidProperties, MarriageRerollChains) {
  // 0x8C7F0AAC and its four rerolls, each the last times 0x6C078965 plus 1
  // modulo 2^32, worked by hand.
  const uint32_t chain[5] = {0x8C7F0AACu, 0x458941DDu, 0xEC714132u, 0xC4F07ABBu, 0xA3AB7EC8u};
  // None is shiny for IDs 0/0: the fourth reroll is kept.
  EXPECT_EQ(MarriageReroll(chain[0], 0, 0), chain[4]);
  // TID = high half XOR low half makes exactly chain[k] shiny (XOR 0) and none
  // before it (1108, 44355, 48715, 56675): the rerolls stop at step k.
  const int32_t tidFor[5] = {0, 0x4589 ^ 0x41DD, 0xEC71 ^ 0x4132, 0xC4F0 ^ 0x7ABB, 0xA3AB ^ 0x7EC8};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(MarriageReroll(chain[0], tidFor[k], 0), chain[k]) << k;
    EXPECT_EQ(MarriageReroll(chain[0], 0, tidFor[k]), chain[k]) << k;  // SID counts alike
  }
  EXPECT_TRUE(ShinyTest(0xEC714132u, 44355, 0));
  EXPECT_FALSE(ShinyTest(0x458941DDu, 44355, 0));
  // An already shiny value is returned unchanged.
  EXPECT_EQ(MarriageReroll(0x00000007u, 0, 0), 0x00000007u);
  EXPECT_EQ(MarriageReroll(0xEC714132u, 44355, 0), 0xEC714132u);
}

TEST(PidProperties, UnsignedNatureAbilityGender) {
  EXPECT_EQ(NatureIndex(0xFFFFFFFFu), 20);
  EXPECT_EQ(NatureIndex(0x80000000u), 23);
  EXPECT_EQ(NatureIndex(0x84EA0B71u), 15);
  EXPECT_EQ(AbilitySlot(0x84EA0B71u), 2);
  EXPECT_EQ(AbilitySlot(0x84EA0B70u), 1);
  EXPECT_EQ(GenderValue(0x84EA0B71u), 113);
  EXPECT_EQ(GenderValue(0xFFFFFFFFu), 255);
}

}  // namespace
