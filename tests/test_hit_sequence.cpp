#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/hit_sequence.h"
#include "core/thread_start.h"
#include "quillmar/texts.h"

namespace {

using Letters = std::vector<uint8_t>;

// The models. Flip n: the low bit of output skip + n - 1 of the standard
// library's full Mersenne Twister. Answer n: the LCG stepped one draw at a
// time, draw skip + n's upper 16 bits mod 3 (mod 2 before Pokérus).
Letters modelFlips(uint32_t seed, int skip, int count) {
  std::mt19937 mt(seed);
  mt.discard(skip);
  Letters letters;
  for (int j = 0; j < count; ++j) letters.push_back(static_cast<uint8_t>(mt() & 1u));
  return letters;
}

Letters modelAnswers(uint32_t seed, int skip, int count, bool beforePokerus) {
  Letters letters;
  for (int j = 0; j < skip + count; ++j) {
    seed = seed * 0x41C64E6Du + 0x6073u;
    if (j >= skip) letters.push_back(static_cast<uint8_t>((seed >> 16) % (beforePokerus ? 2u : 3u)));
  }
  return letters;
}

Letters modelLetters(const HitSearch& s, uint32_t seed, int skip, int count) {
  if (s.source == HitSource::kCoin) return modelFlips(seed, skip, count);
  return modelAnswers(seed, skip, count, s.beforePokerus);
}

std::string key(const CalibrationCell& c, int skip) {
  return std::to_string(c.secondOffset) + "," + std::to_string(c.delayOffset) + " skip " + std::to_string(skip);
}

TEST(HitSequence, FlipsAndAnswersFollowTheReferenceGenerators) {
  std::mt19937 rng(27);
  for (int trial = 0; trial < 10000; ++trial) {
    const uint32_t seed = rng();
    const int count = static_cast<int>(rng() % 65);
    // Mostly within the first twist's short reach (skip + count <= 227), then
    // past it, and a few at the largest skip.
    const int skip = static_cast<int>(trial % 500 == 0 ? kMaxHitSkip - rng() % 100 : rng() % (trial % 3 ? 240 : 2000));
    const bool beforePokerus = trial % 2;
    uint8_t flips[kMaxHitLetters];
    uint8_t answers[kMaxHitLetters];
    ASSERT_TRUE(coinFlips(seed, skip, count, flips));
    ASSERT_TRUE(elmAnswers(seed, skip, count, beforePokerus, answers));
    ASSERT_EQ(Letters(flips, flips + count), modelFlips(seed, skip, count)) << seed << " skip " << skip;
    ASSERT_EQ(Letters(answers, answers + count), modelAnswers(seed, skip, count, beforePokerus))
        << seed << " skip " << skip;
  }
  uint8_t letters[kMaxHitLetters + 1];
  EXPECT_FALSE(coinFlips(0, kMaxHitSkip + 1, 1, letters));
  EXPECT_FALSE(coinFlips(0, 0, kMaxHitLetters + 1, letters));
  EXPECT_FALSE(elmAnswers(0, -1, 1, false, letters));
}

// Random tables, sequences read off one of their cells, skips on both sides
// of the twister's short reach, pages of 1..7 matches, 1..3 threads (now and
// then one refused); the first table spans several rounds of the matcher.
TEST(HitSequence, MatchesTheCellsTheModelMatchesInTableOrder) {
  std::mt19937 rng(20);
  for (int trial = 0; trial < 40; ++trial) {
    const int32_t month = 1 + static_cast<int32_t>(rng() % 12);
    CalibrationTable table{{2000 + static_cast<int32_t>(rng() % 100), month, 1 + static_cast<int32_t>(rng() % 28),
                            static_cast<int32_t>(rng() % 24), static_cast<int32_t>(rng() % 60),
                            static_cast<int32_t>(rng() % 60), static_cast<int32_t>(rng() % 100)},
                           static_cast<int32_t>(rng() % 8), static_cast<int32_t>(rng() % 120)};
    if (trial == 0) table.seconds = 4, table.delays = 300;
    std::vector<CalibrationCell> cells(static_cast<std::size_t>(2 * table.seconds + 1) * (2 * table.delays + 1));
    CalibrationCursor all = calibrationStart(table);
    cells.resize(listCalibrationCells(table, all, cells.data(), static_cast<int32_t>(cells.size())));

    const bool coin = trial % 2 == 0;
    HitSearch search{coin ? HitSource::kCoin : HitSource::kElm, trial % 4 == 3, 0, 0, {}};
    search.skip = static_cast<int32_t>(coin ? rng() % (trial % 8 == 2 ? 700 : 160) : rng() % (kMaxElmSkips + 1));
    search.length = 1 + static_cast<int32_t>(rng() % (trial == 0 ? 3 : 6));
    const uint32_t source = cells[rng() % cells.size()].seed;
    const Letters typed = modelLetters(search, source, coin ? search.skip : static_cast<int>(rng() % (search.skip + 1)),
                                       search.length);
    std::copy(typed.begin(), typed.end(), search.letters);

    std::vector<std::string> expected;
    for (const CalibrationCell& cell : cells) {
      for (int skip = coin ? search.skip : 0; skip <= search.skip; ++skip) {
        if (modelLetters(search, cell.seed, skip, search.length) != typed) continue;
        expected.push_back(key(cell, skip));
        break;
      }
    }
    std::vector<std::string> found;
    HitMatch page[7];
    const int32_t capacity = 1 + static_cast<int32_t>(rng() % 7);
    if (trial % 5 == 4) failThreadStart(1);
    CalibrationCursor cursor = calibrationStart(table);
    for (int32_t n = capacity; n == capacity;) {
      n = findHitMatches(table, search, cursor, page, capacity, 1 + trial % 3);
      for (int32_t i = 0; i < n; ++i) found.push_back(key(page[i].cell, page[i].skip));
    }
    failThreadStart(0);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(found, expected) << "trial " << trial;
  }
}

std::tuple<HitTextStatus, int32_t, int32_t, int32_t> read(const char* text, HitSearch& s) {
  const HitTextResult r = parseHitText(text, s);
  return {r.status, r.at, r.width, s.length};
}

TEST(HitSequence, TypedLettersAndWhatIsRefused) {
  HitSearch s{HitSource::kCoin, false, 0, 0, {}};
  EXPECT_EQ(read(" h T\tht ", s), std::tuple(HitTextStatus::kOk, 0, 0, 4));
  EXPECT_EQ(Letters(s.letters, s.letters + s.length), (Letters{kHeads, kTails, kHeads, kTails}));
  EXPECT_EQ(read(std::string(64, 'H').c_str(), s), std::tuple(HitTextStatus::kOk, 0, 0, 64));
  EXPECT_EQ(read(std::string(65, 'T').c_str(), s), std::tuple(HitTextStatus::kTooLong, 0, 0, 0));
  EXPECT_EQ(read(" \t", s), std::tuple(HitTextStatus::kEmpty, 0, 0, 0));
  // As a Japanese input method types them: 表裏 and a full-width space.
  const std::string sides = std::string(texts::kTextCoinHeads) + texts::kTextFullWidthSpace + "t" + texts::kTextCoinTails;
  EXPECT_EQ(read(sides.c_str(), s), std::tuple(HitTextStatus::kOk, 0, 0, 3));
  EXPECT_EQ(Letters(s.letters, s.letters + s.length), (Letters{kHeads, kTails, kTails}));
  s.source = HitSource::kElm;
  EXPECT_EQ(read("ekp K", s), std::tuple(HitTextStatus::kOk, 0, 0, 4));
  EXPECT_EQ(Letters(s.letters, s.letters + s.length), (Letters{0, 1, 2, 1}));
  s.beforePokerus = true;
  EXPECT_EQ(read("EK P", s), std::tuple(HitTextStatus::kBadLetter, 3, 1, 0));
  // A double-byte character is one bad character.
  EXPECT_EQ(read((std::string("E ") + texts::kTextTid).c_str(), s), std::tuple(HitTextStatus::kBadLetter, 2, 2, 0));
  EXPECT_EQ(read((std::string("K") + texts::kTextCoinHeads).c_str(), s), std::tuple(HitTextStatus::kBadLetter, 1, 2, 0));
}

// The model: the largest, over every pair, of the first further letter at
// which the two differ (counted from 1); -1 when a pair never differs.
TEST(HitSequence, FurtherLettersThatTellMatchesApart) {
  std::mt19937 rng(6);
  for (int trial = 0; trial < 200; ++trial) {
    HitSearch search{trial % 2 ? HitSource::kElm : HitSource::kCoin, trial % 4 == 1, 0, 0, {}};
    search.length = 1 + static_cast<int32_t>(rng() % 40);
    std::vector<HitMatch> matches(2 + rng() % (trial < 10 ? 70 : 5));
    for (HitMatch& m : matches) {
      const uint32_t seed = trial >= 10 && rng() % 4 == 0 ? 1234u : static_cast<uint32_t>(rng());
      m = HitMatch{{0, 0, {}, seed}, static_cast<int32_t>(rng() % 9)};
    }
    const int further = kMaxHitLetters - search.length;
    int expected = 0;
    for (std::size_t i = 0; i < matches.size() && expected >= 0; ++i) {
      for (std::size_t j = i + 1; j < matches.size(); ++j) {
        const Letters a = modelLetters(search, matches[i].cell.seed, matches[i].skip + search.length, further);
        const Letters b = modelLetters(search, matches[j].cell.seed, matches[j].skip + search.length, further);
        const auto differ = std::mismatch(a.begin(), a.end(), b.begin()).first - a.begin();
        expected = differ == further ? -1 : std::max(expected, static_cast<int>(differ) + 1);
        if (expected < 0) break;
      }
    }
    EXPECT_EQ(lettersToTellApart(search, matches.data(), static_cast<int32_t>(matches.size())), expected)
        << "trial " << trial;
  }
  HitSearch one{HitSource::kCoin, false, 0, 10, {}};
  const HitMatch match{{0, 0, {}, 7u}, 0};
  EXPECT_EQ(lettersToTellApart(one, &match, 1), 0);
}

}  // namespace
