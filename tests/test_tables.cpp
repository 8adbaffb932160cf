#include <gtest/gtest.h>

#include <string>

#include "data/tables.h"
#include "text/cp932.h"

namespace {

std::string utf8(const char* cp932) { return cp932ToUtf8(cp932); }

TEST(NatureTable, RowsFollowTheGameOrderWithTheirStats) {
  NatureTable table{};
  buildNatureTable(table);
  struct Row {
    int n;
    const char* name;
    int raised;
    int lowered;
  };
  // Rows from the game's list: every neutral one and both ends of each group.
  const Row expected[] = {
      {0, "がんばりや", 0, 0}, {1, "さみしがり", 1, 2}, {3, "いじっぱり", 1, 4}, {4, "やんちゃ", 1, 5},
      {5, "ずぶとい", 2, 1},   {6, "すなお", 0, 0},     {9, "のうてんき", 2, 5}, {10, "おくびょう", 3, 1},
      {12, "まじめ", 0, 0},    {13, "ようき", 3, 4},    {15, "ひかえめ", 4, 1},  {18, "てれや", 0, 0},
      {19, "うっかりや", 4, 5}, {20, "おだやか", 5, 1},  {23, "しんちょう", 5, 4}, {24, "きまぐれ", 0, 0},
  };
  for (const Row& r : expected) {
    EXPECT_EQ(utf8(table.rows[r.n].name), r.name) << r.n;
    EXPECT_EQ(table.rows[r.n].raised, r.raised) << r.n;
    EXPECT_EQ(table.rows[r.n].lowered, r.lowered) << r.n;
  }
  // Five neutral rows; the other twenty cover each (raised, lowered) pair of
  // two different stats 1..5 exactly once.
  int neutral = 0;
  int pairSeen[6][6] = {};
  for (const NatureInfo& row : table.rows) {
    EXPECT_GE(std::char_traits<char>::length(row.name), 6u);  // 6..10 bytes, NUL inside the field
    EXPECT_LE(std::char_traits<char>::length(row.name), 10u);
    if (row.raised == 0 && row.lowered == 0) {
      ++neutral;
      continue;
    }
    ASSERT_GE(row.raised, 1);
    ASSERT_LE(row.raised, 5);
    ASSERT_GE(row.lowered, 1);
    ASSERT_LE(row.lowered, 5);
    EXPECT_NE(row.raised, row.lowered);
    ++pairSeen[row.raised][row.lowered];
  }
  EXPECT_EQ(neutral, 5);
  for (int r = 1; r <= 5; ++r)
    for (int l = 1; l <= 5; ++l) EXPECT_EQ(pairSeen[r][l], r == l ? 0 : 1) << r << "," << l;
}

TEST(NatureTable, NamesAreTheSameListEverywhere) {
  NatureTable table{};
  buildNatureTable(table);
  for (int n = 0; n < kNatureCount; ++n) EXPECT_STREQ(table.rows[n].name, kNatureNames[n]);
}

TEST(StatLabels, SpeedStandsFourth) {
  const char* painted[] = {"H", "A", "B", "S", "C", "D"};
  for (int i = 0; i < kStatCount; ++i) EXPECT_STREQ(kStatLabels[i], painted[i]);
}

TEST(FilterOptions, TextsInComboOrder) {
  const char* gender[] = {"指定しない", "♂(1/2)", "♀(1/2)", "♂(7/8)", "♀(1/8)",
                          "♂(3/4)",     "♀(1/4)", "♂(1/4)", "♀(3/4)"};
  for (int k = 0; k < kGenderFilterOptionCount; ++k) EXPECT_EQ(utf8(kGenderFilterOptions[k]), gender[k]) << k;
  const char* ability[] = {"指定しない", "特性1", "特性2"};
  for (int k = 0; k < kAbilityFilterOptionCount; ++k) EXPECT_EQ(utf8(kAbilityFilterOptions[k]), ability[k]) << k;
}

TEST(GenderFilter, EachPairSplitsAtItsBoundWhichBelongsToTheMaleEntry) {
  struct Pair {
    int male;    // option t of the "♂" entry; the "♀" entry is t + 1
    int bound;   // lowest gender value of the male side
  };
  const Pair pairs[] = {{0, 128}, {2, 32}, {4, 64}, {6, 192}};
  for (const Pair& p : pairs) {
    EXPECT_TRUE(GenderFilter(p.male, p.bound)) << p.bound;
    EXPECT_FALSE(GenderFilter(p.male + 1, p.bound)) << p.bound;
    EXPECT_FALSE(GenderFilter(p.male, p.bound - 1)) << p.bound;
    EXPECT_TRUE(GenderFilter(p.male + 1, p.bound - 1)) << p.bound;
    // Every gender value passes exactly one entry of the pair.
    for (int g = 0; g < 256; ++g) EXPECT_NE(GenderFilter(p.male, g), GenderFilter(p.male + 1, g)) << g;
  }
}

TEST(GenderFilter, ExtremesAndOptionsOutsideTheList) {
  for (int t = 0; t < 8; ++t) {
    bool female = t % 2 == 1;
    EXPECT_EQ(GenderFilter(t, 0), female) << t;
    EXPECT_EQ(GenderFilter(t, 255), !female) << t;
  }
  for (int t : {-1, 8, 100}) {
    EXPECT_TRUE(GenderFilter(t, 0));
    EXPECT_TRUE(GenderFilter(t, 255));
  }
}

}  // namespace
