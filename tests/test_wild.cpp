// Wild, stationary and gift creatures against the rules taken draw by draw
// (tests/reference/wild_model.h): every field at random advances of random
// encounters, the filtered listing, Hidden Power, one line of wild.txt, and
// where a run of cues (Chatot's cry, Elm's answers) starts in a seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/hit_sequence.h"
#include "core/wild.h"
#include "core/wild_files.h"
#include "data/tables.h"
#include "tests/reference/wild_model.h"
#include "text/cp932.h"

namespace {

std::mt19937 gRandom(20261210u);
int32_t below(uint32_t n) { return static_cast<int32_t>(gRandom() % n); }

WildEncounter randomEncounter() {
  WildEncounter e{};
  e.game = below(2) ? WildGame::kHgss : WildGame::kDppt;
  e.kind = static_cast<WildKind>(below(kWildKindCount));
  e.lead = static_cast<WildLead>(below(kWildLeadCount));
  e.leadNature = below(25);
  e.genderRatio = kGenderRatios[below(kGenderRatioCount)];
  e.levelMin = 1 + below(100);
  e.levelMax = below(3) ? e.levelMin + below(static_cast<uint32_t>(101 - e.levelMin)) : e.levelMin;
  e.biteRate = below(8) ? below(101) : 100 * below(2);
  e.roamer = (e.kind == WildKind::kGrass || e.kind == WildKind::kSurf) && below(2);
  const bool rod = e.kind >= WildKind::kOldRod;
  e.feebas = rod && e.game == WildGame::kDppt ? static_cast<WildFeebas>(below(3)) : WildFeebas::kOff;
  e.tid = below(65536);
  e.sid = below(65536);
  return e;
}

std::string describe(const WildEncounter& e) {
  char t[200];
  std::snprintf(t, sizeof t,
                "game %d kind %d lead %d/%d ratio %d levels %d-%d bite rate %d roamer %d feebas %d id %d/%d",
                int(e.game), int(e.kind), int(e.lead), e.leadNature, e.genderRatio, e.levelMin, e.levelMax, e.biteRate,
                e.roamer, int(e.feebas), e.tid, e.sid);
  return t;
}

// The fields the rules give the outcome: all of them for a met creature.
std::string describe(const WildCreature& c) {
  char t[400];
  int n = std::snprintf(t, sizeof t, "outcome %d advance %d draws %d cue %04X", int(c.outcome), c.advance, c.draws,
                        c.cueDraw);
  if (c.outcome == WildOutcome::kNoBite) std::snprintf(t + n, sizeof t - n, " bite %d", c.bite);
  if (c.outcome != WildOutcome::kMet) return t;
  const int32_t* v = c.ivs;
  std::snprintf(t + n, sizeof t - n,
                " pid %08X nature %d ability %d value %d gender %d shiny %d charmed %d sync %d feebas %d"
                " ivs %d %d %d %d %d %d hp %d %d slot %d level %d bite %d tries %d",
                c.pid, c.nature, c.ability, c.genderValue, int(c.gender), c.shiny, c.charmed, c.synchronized, c.feebas,
                v[0], v[1], v[2], v[3], v[4], v[5], c.hiddenPowerType, c.hiddenPowerPower, c.slot, c.level, c.bite,
                c.pidTries);
  return t;
}

TEST(Wild, EveryFieldOfRandomEncountersFollowsTheRules) {
  int32_t seen[7] = {};
  int32_t met[2][kWildKindCount][kWildLeadCount] = {};
  for (int trial = 0; trial < 12000; ++trial) {
    WildEncounter e = randomEncounter();
    ASSERT_TRUE(wildEncounterValid(e)) << describe(e);
    const uint32_t seed = gRandom();
    const int32_t advance = below(2001);
    WildCreature want = wild_model::creatureAt(e, seed, advance);
    if (want.outcome == WildOutcome::kMet && below(4) == 0) {  // an ID within 16 of making it shiny
      e.tid = static_cast<int32_t>((want.pid >> 16) ^ (want.pid & 0xFFFFu) ^ static_cast<uint32_t>(e.sid)) ^ below(16);
      want = wild_model::creatureAt(e, seed, advance);
    }
    const std::string where = describe(e) + " seed " + std::to_string(seed) + " advance " + std::to_string(advance);
    WildCreature got{};
    wildCreatureAt(e, seed, advance, got);
    ASSERT_EQ(describe(got), describe(want)) << where;
    WildCreature from{};
    wildCreatureFrom(e, wild_model::stateAfter(seed, advance), advance, from);
    ASSERT_EQ(describe(from), describe(want)) << where;

    const bool traits[] = {want.pidTries > 50, want.charmed, want.synchronized, want.feebas, want.shiny,
                           want.outcome == WildOutcome::kRoamer, want.outcome == WildOutcome::kNoBite};
    for (int k = 0; k < 7; ++k) seen[k] += traits[k];
    if (want.outcome == WildOutcome::kMet) ++met[int(e.game)][int(e.kind)][int(e.lead)];
  }
  // PID loops past 50 pairs (about one in eight: (24/25)^50), the charm, the lead's nature, Feebas, shiny
  // creatures, roamers and no bites: each seen in many cases.
  for (int32_t count : seen) EXPECT_GT(count, 100);
  for (auto& game : met)
    for (auto& kind : game)
      for (int32_t count : kind) EXPECT_GT(count, 20);  // every kind with every lead in both games
}

TEST(Wild, TheListingKeepsWhatTheFilterKeepsOfEachAdvance) {
  int32_t total = 0;
  for (int trial = 0; trial < 400; ++trial) {
    const WildEncounter e = randomEncounter();
    WildFilter f{};
    for (IvRange& r : f.ivs) r = below(4) ? IvRange{0, 31} : IvRange{below(16), 16 + below(16)};
    f.natureMask = below(3) ? 0 : static_cast<uint32_t>(gRandom()) & 0x1FFFFFFu;
    f.shinyOnly = below(20) == 0;
    f.ability = below(2) ? 0 : below(3);
    f.gender = below(2) ? 0 : below(4);
    const bool slotted = e.kind != WildKind::kGift && e.kind != WildKind::kStatic;
    f.slotMask = slotted && below(2) ? static_cast<uint32_t>(gRandom()) & 0xFFFu : 0;
    f.hiddenPowerType = below(3) ? -1 : below(16);
    f.hiddenPowerMin = below(2) ? 30 : 30 + below(41);
    ASSERT_TRUE(wildFilterValid(f));
    const uint32_t seed = gRandom();
    const int32_t first = below(1000), end = first + below(2000);
    std::vector<std::string> want, got;
    wild_model::Draws d{seed};
    for (int32_t a = 0; a < end; d.next(), ++a) {
      const WildCreature c = wild_model::creatureFrom(e, d.state, a);
      if (a >= first && wild_model::kept(f, c)) want.push_back(describe(c));
    }
    WildListCursor cursor = wildListStart(seed, first, end);
    WildCreature c{};
    while (wildListNext(e, f, cursor, c) && got.size() <= want.size()) got.push_back(describe(c));
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    ASSERT_TRUE(g == got.end() && w == want.end())
        << describe(e) << " seed " << seed << " advances " << first << ".." << end << "\n got  "
        << (g == got.end() ? "(end)" : *g) << "\n want " << (w == want.end() ? "(end)" : *w);
    total += static_cast<int32_t>(want.size());
  }
  EXPECT_GT(total, 20000);
}

TEST(Wild, HiddenPowerOfWorkedIvs) {
  struct Case {
    int32_t ivs[kStatCount];
    int32_t type, power;
  };
  const Case cases[] = {
      {{31, 31, 31, 31, 31, 31}, 15, 70},  // bits 63 and 63: 63 * 15 / 63 = 15 (あく), 63 * 40 / 63 + 30 = 70
      {{0, 0, 0, 0, 0, 0}, 0, 30},         // nothing: かくとう 30
      {{30, 31, 31, 31, 31, 31}, 14, 70},  // H even: 62 * 15 / 63 = 14.7 -> 14 (ドラゴン); second bits 63 -> 70
      // lowest bits 1 1 0 0 1 0 = 19: 285 / 63 = 4.5 -> 4 (いわ); second bits 1 0 1 0 0 0 = 5: 200 / 63 = 3 -> 33
      {{23, 1, 6, 12, 13, 4}, 4, 33},
      {{0, 0, 0, 0, 0, 3}, 7, 50},  // D's bits alone, 32: 480 / 63 = 7 (はがね), 1280 / 63 = 20 -> 50
      {{2, 0, 0, 1, 0, 0}, 1, 30},  // S's lowest bit, 8: 120 / 63 = 1 (ひこう); H's second bit, 1: 40 / 63 = 0 -> 30
  };
  for (const Case& c : cases) {
    int32_t type = -1, power = -1;
    hiddenPowerOf(c.ivs, type, power);
    EXPECT_EQ(type, c.type) << c.ivs[0] << " " << c.ivs[1] << " " << c.ivs[2];
    EXPECT_EQ(power, c.power) << c.ivs[0] << " " << c.ivs[1] << " " << c.ivs[2];
  }
}

TEST(Wild, LineOfTheGiftOfSeed12345678AtAdvance3) {
  const WildEncounter e{WildGame::kDppt, WildKind::kGift, WildLead::kNone, 0, 127, 5, 5, 0, false, WildFeebas::kOff,
                        0, 0};
  WildCreature c{};
  wildCreatureAt(e, 0x12345678u, 3, c);
  EXPECT_EQ(wild_model::creatureAt(e, 0x12345678u, 3).pid, 0x2684F4E0u);  // the model reads the same PID
  char line[kWildLineCapacity];
  const int32_t length = formatWildLine(line, e, c, false);
  EXPECT_EQ(std::string(line, static_cast<std::size_t>(length)),
            utf8ToCp932("3\t2684F4E0\tしんちょう\t1\t224\t23 1 6 12 13 4\tいわ 33\t\t-\t-\t5344 M"));
}

// A run of L cues read at a random advance a of a random seed: every start
// 0..M whose draws b + 1..b + L give the same letters, a among them.
TEST(Wild, WhereAmIFindsEveryStartOfTheCues) {
  for (int trial = 0; trial < 120; ++trial) {
    const bool chatot = trial % 2 == 0, beforePokerus = trial % 4 == 1;
    const uint32_t seed = gRandom();
    const int32_t maxAdvance = below(6000), a = below(static_cast<uint32_t>(maxAdvance + 1)), length = 1 + below(12);
    std::vector<uint8_t> letters;  // letters[j]: draw j + 1's
    wild_model::Draws d{seed};
    while (static_cast<int32_t>(letters.size()) < maxAdvance + length) {
      const uint32_t draw = d.next(), step = draw % 8192u;
      letters.push_back(chatot ? (step <= 2730 ? 0 : step <= 5461 ? 1 : 2) : draw % (beforePokerus ? 2u : 3u));
    }
    HitSearch search{};
    search.source = chatot ? HitSource::kChatot : HitSource::kElm;
    search.beforePokerus = beforePokerus;
    search.length = length;
    ASSERT_TRUE(chatot ? chatotPitches(seed, a, length, search.letters)
                       : elmAnswers(seed, a, length, beforePokerus, search.letters));
    ASSERT_EQ(std::vector<uint8_t>(search.letters, search.letters + length),
              std::vector<uint8_t>(letters.begin() + a, letters.begin() + a + length));
    std::vector<int32_t> want;
    for (int32_t b = 0; b <= maxAdvance; ++b)
      if (std::equal(search.letters, search.letters + length, letters.begin() + b)) want.push_back(b);
    std::vector<int32_t> got(want.size() + 4, -1);
    const int32_t capacity = trial % 5 == 0 ? 1 : static_cast<int32_t>(got.size());
    const int32_t count = findCueStarts(seed, search, maxAdvance, got.data(), capacity);
    ASSERT_EQ(count, static_cast<int32_t>(want.size())) << seed << " a " << a << " length " << length;
    if (capacity == 1) {
      EXPECT_EQ(got[1], -1);  // nothing past the room given
    }
    got.resize(static_cast<std::size_t>(std::min(count, capacity)));
    want.resize(got.size());
    EXPECT_EQ(got, want) << seed << " a " << a << " length " << length;
  }
}

}  // namespace
