#include <gtest/gtest.h>

#include <vector>

#include "core/rng.h"
#include "core/seed_time.h"

namespace {

uint32_t seedOf(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s, int32_t delay) {
  uint32_t seed = 0xDEADBEEFu;
  EXPECT_TRUE(seedOfMoment(ConsoleMoment{y, mo, d, h, mi, s, delay}, seed));
  return seed;
}

bool sameMoment(const ConsoleMoment& a, const ConsoleMoment& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second && a.delay == b.delay;
}

// Every moment of the year, paging with `capacity` slots at a time.
std::vector<ConsoleMoment> allMoments(uint32_t seed, int32_t year, int32_t capacity) {
  std::vector<ConsoleMoment> all;
  std::vector<ConsoleMoment> page(static_cast<std::size_t>(capacity));
  SeedMomentCursor cursor = kSeedMomentStart;
  for (int guard = 0; guard < 100000; ++guard) {
    SeedMomentPage got = listSeedMoments(seed, year, cursor, page.data(), capacity);
    EXPECT_LE(got.count, capacity);
    all.insert(all.end(), page.begin(), page.begin() + got.count);
    if (!got.more) return all;
    EXPECT_EQ(got.count, capacity) << "a page that is not full must be the last";
  }
  ADD_FAILURE() << "listing never ended";
  return all;
}

// The listing by brute force: every (month, day, minute, second) of the year in
// calendar order whose forward seed is `seed`.
std::vector<ConsoleMoment> bruteForceMoments(uint32_t seed, int32_t year) {
  std::vector<ConsoleMoment> all;
  int32_t hour = static_cast<int32_t>((seed >> 16) & 0xFF);
  // The smallest delay whose sum with year - 2000 has CCCC as its low 16 bits.
  int32_t delay = 0;
  while (((delay + year - 2000) & 0xFFFF) != static_cast<int32_t>(seed & 0xFFFF)) ++delay;
  for (int32_t mo = 1; mo <= 12; ++mo)
    for (int32_t d = 1; d <= daysInMonth(year, mo); ++d)
      for (int32_t mi = 0; mi < 60; ++mi)
        for (int32_t s = 0; s < 60; ++s) {
          uint32_t got = 0;
          ConsoleMoment m{year, mo, d, hour, mi, s, delay};
          if (seedOfMoment(m, got) && got == seed) all.push_back(m);
        }
  return all;
}

TEST(SeedTime, SeedsOfWorkedMoments) {
  // 9 * 17 + 0 + 10 = 163 = 0xA3, hour 16 = 0x10, 4239 + 99 = 4338 = 0x10F2.
  EXPECT_EQ(seedOf(2099, 9, 17, 16, 0, 10, 4239), 0xA31010F2u);
  // 1 * 1 + 0 + 0 = 1, hour 0, 0 + 0.
  EXPECT_EQ(seedOf(2000, 1, 1, 0, 0, 0, 0), 0x01000000u);
  // 12 * 31 + 59 + 59 = 490, mod 256 = 234 = 0xEA; hour 23 = 0x17; 65535 + 0.
  EXPECT_EQ(seedOf(2000, 12, 31, 23, 59, 59, 65535), 0xEA17FFFFu);
  // 6 * 15 + 30 + 45 = 165 = 0xA5; hour 12 = 0x0C; 600 + 50 = 650 = 0x028A.
  EXPECT_EQ(seedOf(2050, 6, 15, 12, 30, 45, 600), 0xA50C028Au);
}

TEST(SeedTime, DelayOverflowKeepsTheLowSixteenBitsAndNeverCarriesIntoTheHour) {
  // 65530 + 10 = 65540 = 0x10004: the carry is dropped, the hour byte stays 0x05.
  EXPECT_EQ(seedOf(2010, 1, 1, 5, 0, 0, 65530), 0x01050004u);
  // D and D + 65536 give one seed: 100 + 10 = 110 = 0x6E.
  EXPECT_EQ(seedOf(2010, 1, 1, 5, 0, 0, 100), 0x0105006Eu);
  EXPECT_EQ(seedOf(2010, 1, 1, 5, 0, 0, 100 + 65536), 0x0105006Eu);
  EXPECT_EQ(seedOf(2099, 1, 1, 5, 0, 0, 2147483647), 0x01050062u);  // (2^31 - 1 + 99) mod 2^16 = 98
}

TEST(SeedTime, LeapYearsAndInvalidMoments) {
  EXPECT_TRUE(isLeapYear(2000));  // divisible by 400
  EXPECT_TRUE(isLeapYear(2004));
  EXPECT_TRUE(isLeapYear(2096));
  EXPECT_FALSE(isLeapYear(2001));
  EXPECT_FALSE(isLeapYear(2100));  // divisible by 100, not by 400
  EXPECT_EQ(daysInMonth(2000, 2), 29);
  EXPECT_EQ(daysInMonth(2099, 2), 28);
  EXPECT_EQ(daysInMonth(2001, 4), 30);
  EXPECT_EQ(daysInMonth(2001, 13), 0);

  // February 29, 2000: 2 * 29 = 58 = 0x3A.
  EXPECT_EQ(seedOf(2000, 2, 29, 0, 0, 0, 0), 0x3A000000u);
  EXPECT_EQ(seedOf(2096, 2, 29, 0, 0, 0, 0), 0x3A000060u);  // 96 = 0x60
  uint32_t untouched = 0x12345678u;
  const ConsoleMoment bad[] = {
      {2001, 2, 29, 0, 0, 0, 0},  {2099, 2, 29, 0, 0, 0, 0},   {2000, 2, 30, 0, 0, 0, 0},
      {2000, 4, 31, 0, 0, 0, 0},  {2000, 0, 1, 0, 0, 0, 0},    {2000, 13, 1, 0, 0, 0, 0},
      {2000, 1, 0, 0, 0, 0, 0},   {1999, 12, 31, 0, 0, 0, 0},  {2100, 1, 1, 0, 0, 0, 0},
      {2000, 1, 1, 24, 0, 0, 0},  {2000, 1, 1, -1, 0, 0, 0},   {2000, 1, 1, 0, 60, 0, 0},
      {2000, 1, 1, 0, 0, 60, 0},  {2000, 1, 1, 0, -1, 0, 0},   {2000, 1, 1, 0, 0, 0, -1},
  };
  for (const ConsoleMoment& m : bad) {
    EXPECT_FALSE(isValidMoment(m)) << m.year << "-" << m.month << "-" << m.day << " " << m.hour << ":" << m.minute
                                   << ":" << m.second << " delay " << m.delay;
    EXPECT_FALSE(seedOfMoment(m, untouched));
  }
  EXPECT_EQ(untouched, 0x12345678u);
}

TEST(SeedTime, FebruaryTwentyNinthIsListedOnlyInLeapYears) {
  // AA = 58 with hour 0: February 29 needs minute + second = 0, so 00:00:00.
  const uint32_t seed = 0x3A000063u;  // CCCC = 99 leaves delay >= 0 in every year
  auto onLeapDay = [](const std::vector<ConsoleMoment>& ms) {
    int n = 0;
    for (const ConsoleMoment& m : ms) n += m.month == 2 && m.day == 29;
    return n;
  };
  std::vector<ConsoleMoment> leap = allMoments(seed, 2000, 50);
  std::vector<ConsoleMoment> common = allMoments(seed, 2001, 50);
  EXPECT_EQ(onLeapDay(leap), 1);
  EXPECT_EQ(onLeapDay(common), 0);
  // The other days are the same in both years, so the leap year has one more.
  EXPECT_EQ(leap.size(), common.size() + 1);
  EXPECT_EQ(countSeedMoments(seed, 2000), static_cast<int32_t>(leap.size()));
  EXPECT_EQ(countSeedMoments(seed, 2001), static_cast<int32_t>(common.size()));
  for (const ConsoleMoment& m : leap) {
    if (m.month == 2 && m.day == 29) {
      EXPECT_TRUE(sameMoment(m, ConsoleMoment{2000, 2, 29, 0, 0, 0, 99}));
    }
  }
}

TEST(SeedTime, WorkedSeedListsItsFirstMomentsInCalendarOrder) {
  // AA = 163. January: 163 - d >= 132 for d <= 31, more than 59 + 59, so no moment.
  // February 23: 163 - 46 = 117 = 58 + 59 = 59 + 58. February 24: 115 = 56 + 59 ...
  ConsoleMoment out[4];
  SeedMomentCursor cursor = kSeedMomentStart;
  SeedMomentPage page = listSeedMoments(0xA31010F2u, 2099, cursor, out, 4);
  ASSERT_EQ(page.count, 4);
  EXPECT_TRUE(page.more);
  EXPECT_TRUE(sameMoment(out[0], ConsoleMoment{2099, 2, 23, 16, 58, 59, 4239}));
  EXPECT_TRUE(sameMoment(out[1], ConsoleMoment{2099, 2, 23, 16, 59, 58, 4239}));
  EXPECT_TRUE(sameMoment(out[2], ConsoleMoment{2099, 2, 24, 16, 56, 59, 4239}));
  EXPECT_TRUE(sameMoment(out[3], ConsoleMoment{2099, 2, 24, 16, 57, 58, 4239}));
  // The cursor already points at the next moment.
  EXPECT_EQ(cursor.month, 2);
  EXPECT_EQ(cursor.day, 24);
  EXPECT_EQ(cursor.minute, 58);

  std::vector<ConsoleMoment> all = allMoments(0xA31010F2u, 2099, 64);
  bool found = false;
  for (const ConsoleMoment& m : all) found = found || sameMoment(m, ConsoleMoment{2099, 9, 17, 16, 0, 10, 4239});
  EXPECT_TRUE(found);
}

TEST(SeedTime, SeedsWithoutTime) {
  ConsoleMoment out[8];
  auto expectNoListing = [&](uint32_t seed, int32_t year) {
    SeedMomentCursor cursor = kSeedMomentStart;
    SeedMomentPage page = listSeedMoments(seed, year, cursor, out, 8);
    EXPECT_EQ(page.count, 0);
    EXPECT_FALSE(page.more);
    EXPECT_EQ(countSeedMoments(seed, year), 0);
  };
  // BB = 0x18 = 24 and 0xFF: not an hour.
  EXPECT_EQ(seedTimeVerdict(0xA31810F2u, 2099), SeedTimeVerdict::kHourOutOfRange);
  EXPECT_EQ(seedTimeVerdict(0x00FF0000u, 2000), SeedTimeVerdict::kHourOutOfRange);
  EXPECT_EQ(seedTimeVerdict(0xA31710F2u, 2099), SeedTimeVerdict::kHasTime);  // 23 is the last hour
  expectNoListing(0xA31810F2u, 2099);
  // Both faults: the hour is reported.
  EXPECT_EQ(seedTimeVerdict(0xA3200000u, 2050), SeedTimeVerdict::kHourOutOfRange);
  EXPECT_EQ(seedTimeVerdict(0xA3100000u, 1999), SeedTimeVerdict::kYearOutOfRange);
  EXPECT_EQ(seedTimeVerdict(0xA3100000u, 2100), SeedTimeVerdict::kYearOutOfRange);
  expectNoListing(0xA3100000u, 2100);
}

TEST(SeedTime, ListingMatchesBruteForceAndPagingDoesNotChangeIt) {
  // AA values that reach the edges: 0 and 255 wrap around, 1 and 118 sit at the
  // edges of minute + second, 0xA3 is the worked seed. Every hour is 0..23, so
  // every seed has moments in every year: a CCCC below year - 2000 (0 and 0x63
  // after 2000 and 2099) is reached by a delay that wraps past 65535.
  for (uint32_t seed : {0x00000000u, 0xFF170000u, 0x01050063u, 0x760C1234u, 0xA31010F2u}) {
    for (int32_t year : {2000, 2001, 2099}) {
      ASSERT_EQ(seedTimeVerdict(seed, year), SeedTimeVerdict::kHasTime) << std::hex << seed << std::dec << " " << year;
      std::vector<ConsoleMoment> expected = bruteForceMoments(seed, year);
      ASSERT_FALSE(expected.empty());
      std::vector<ConsoleMoment> big = allMoments(seed, year, 4096);
      std::vector<ConsoleMoment> small = allMoments(seed, year, 1);
      std::vector<ConsoleMoment> odd = allMoments(seed, year, 7);
      ASSERT_EQ(big.size(), expected.size()) << std::hex << seed << std::dec << " " << year;
      ASSERT_EQ(small.size(), expected.size());
      ASSERT_EQ(odd.size(), expected.size());
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(sameMoment(big[i], expected[i])) << i;
        EXPECT_TRUE(sameMoment(small[i], expected[i])) << i;
        EXPECT_TRUE(sameMoment(odd[i], expected[i])) << i;
      }
      EXPECT_EQ(countSeedMoments(seed, year), static_cast<int32_t>(expected.size()));
    }
  }
}

TEST(SeedTime, CapacityZeroOnlyReportsWhetherMomentsRemain) {
  ConsoleMoment unused[1];
  SeedMomentCursor cursor = kSeedMomentStart;
  SeedMomentPage page = listSeedMoments(0xA31010F2u, 2099, cursor, unused, 0);
  EXPECT_EQ(page.count, 0);
  EXPECT_TRUE(page.more);
  EXPECT_EQ(cursor.month, 2);  // moved to February 23, the first moment
  EXPECT_EQ(cursor.day, 23);
  // A finished cursor stays finished.
  SeedMomentCursor done{13, 1, 0};
  page = listSeedMoments(0xA31010F2u, 2099, done, unused, 1);
  EXPECT_EQ(page.count, 0);
  EXPECT_FALSE(page.more);
}

TEST(SeedTime, RoundTripSeedToMomentsToSeedForManySeeds) {
  // Seeds from the game's own generator, with the hour byte folded into 0..23.
  uint32_t s = 0x12345678u;
  int checkedSeeds = 0;
  for (int i = 0; i < 200; ++i) {
    s = Lcg32::Next(s);
    uint32_t seed = (s & 0xFF00FFFFu) | (((s >> 16) & 0xFFu) % 24u) << 16;
    int32_t year = 2000 + static_cast<int32_t>((s >> 8) % 100u);
    ASSERT_EQ(seedTimeVerdict(seed, year), SeedTimeVerdict::kHasTime);
    ++checkedSeeds;
    std::vector<ConsoleMoment> all = allMoments(seed, year, 97);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(countSeedMoments(seed, year), static_cast<int32_t>(all.size()));
    for (std::size_t k = 0; k < all.size(); ++k) {
      const ConsoleMoment& m = all[k];
      uint32_t back = 0;
      ASSERT_TRUE(seedOfMoment(m, back));
      EXPECT_EQ(back, seed);
      if (k > 0) {  // strictly increasing in calendar order
        const ConsoleMoment& p = all[k - 1];
        long prev = ((p.month * 32L + p.day) * 60 + p.minute) * 60 + p.second;
        long cur = ((m.month * 32L + m.day) * 60 + m.minute) * 60 + m.second;
        EXPECT_LT(prev, cur);
      }
    }
  }
  EXPECT_GT(checkedSeeds, 150);

  // And moment -> seed -> moments holds the moment.
  for (int i = 0; i < 100; ++i) {
    s = Lcg32::Next(s);
    int32_t year = 2000 + static_cast<int32_t>(s % 100u);
    int32_t month = 1 + static_cast<int32_t>((s >> 8) % 12u);
    ConsoleMoment m{year,
                    month,
                    1 + static_cast<int32_t>((s >> 12) % static_cast<uint32_t>(daysInMonth(year, month))),
                    static_cast<int32_t>((s >> 17) % 24u),
                    static_cast<int32_t>((s >> 20) % 60u),
                    static_cast<int32_t>((s >> 26) % 60u),
                    static_cast<int32_t>((s >> 3) % 9000u)};
    uint32_t seed = 0;
    ASSERT_TRUE(seedOfMoment(m, seed));
    std::vector<ConsoleMoment> all = allMoments(seed, year, 500);
    bool found = false;
    for (const ConsoleMoment& x : all) found = found || sameMoment(x, m);
    EXPECT_TRUE(found) << year << "-" << month << "-" << m.day;
  }
}

}  // namespace
