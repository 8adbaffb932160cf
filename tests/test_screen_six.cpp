// Screen 6 over the fake backend: a seed found by step 3 listed by step 11
// and checked against the game's draws worked out here, step 12's hits
// checked the same way and taken on to steps 6, 8 and 11, "where am I" from
// typed cues, wild.txt kept whole or not at all, and the greying that follows
// the game, kind and lead.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/tables.h"
#include "tests/deadline.h"
#include "tests/shell_fixture.h"

namespace {

// The game's generator: draw k is the upper half of the k-th state after `seed`.
uint32_t drawOf(uint32_t seed, int k) {
  for (int i = 0; i < k; ++i) seed = seed * 0x41C64E6Du + 0x6073u;
  return seed >> 16;
}
// Chatot's cry of a draw: step draw % 8192 heard as its third, L, M or H.
char third(uint32_t draw) { return draw % 8192 <= 2730 ? 'L' : draw % 8192 <= 5461 ? 'M' : 'H'; }

std::string hex(uint32_t v) {
  char s[16];
  std::snprintf(s, sizeof s, "0x%08X", v);
  return s;
}

class ScreenSixTest : public ShellTest {
 protected:
  void showScreenSix() {
    command(kCmdScreenSix);
    ASSERT_EQ(app().screenMode, ScreenMode::kSix);
  }
  bool painted(const std::string& utf8) { return paintedAt(utf8) != nullptr; }
  const PaintOp* paintedAt(const std::string& utf8) {
    ops_ = fakePaint(app());
    for (const PaintOp& op : ops_)
      if (op.kind == PaintOp::Kind::kText && op.text == sj(utf8)) return &op;
    return nullptr;
  }
  bool enabled(ControlHandle h) { return fakeControl(h).enabled; }
  void choose(ControlHandle list, int row) {
    platformSelectListRow(list, row);
    shellTimer(app());  // the window's tick: the greying follows the lists
  }
  std::vector<PaintOp> ops_;
};

// Step 3 finds the initial seed from a state five draws later; typed into
// step 11, it lists gift creatures whose PID, IVs, Hidden Power and Chatot
// cue are the game's draws n + 1..n + 4.
TEST_F(ScreenSixTest, AStepThreeSeedListsTheGiftsOfItsAdvances) {
  const uint32_t initial = 0x3F0C9A21u;  // hour byte 0x0C: played at 12
  uint32_t current = initial;
  for (int i = 0; i < 5; ++i) current = current * 0x41C64E6Du + 0x6073u;
  start();
  command(kCmdScreenTwo);
  type(app().screen2.currentSeedEdit, hex(current));
  type(app().screen2.hourEdit, "12");
  command(kCmdSeedSearch);
  std::string seedText;
  for (int i = 0; i < app().seeds.seedCandidateCount; ++i)
    if (app().seeds.seedCandidates[i].stepIndex == 4) seedText = text(app().screen2.seedResultEdits[i]);
  ASSERT_EQ(seedText, hex(initial));

  showScreenSix();
  EXPECT_EQ(text(app().screen6.seedEdit), "") << "no seed listed yet and none in step 6";
  type(app().screen6.seedEdit, seedText);
  type(app().screen6.tidEdit, "12345");
  type(app().screen6.sidEdit, "54321");
  type(app().screen6.advanceCountEdit, "50");
  choose(app().screen6.kindCombo, 0);  // 配布・もらう
  WorkingDirectory wd(dir_);
  command(kCmdWildOutput);
  ASSERT_EQ(app().wild.fileError, 0);
  EXPECT_EQ(fake().openedDocuments.back(), "wild.txt");
  std::vector<std::string> lines = fileLines(dir_ / "wild.txt");
  ASSERT_EQ(lines.size(), 51u) << "a header and every advance 0..49";
  EXPECT_TRUE(painted("全50件をwild.txtに書きました"));
  EXPECT_EQ(text(app().screen6.aimedAdvanceEdit), "0") << "the first listed advance";

  for (int n : {0, 3, 49}) {
    const uint32_t pid = drawOf(initial, n + 2) << 16 | drawOf(initial, n + 1);
    const uint32_t w1 = drawOf(initial, n + 3), w2 = drawOf(initial, n + 4);
    int ivs[6] = {int(w1 & 31), int(w1 >> 5 & 31), int(w1 >> 10 & 31), int(w2 & 31), int(w2 >> 5 & 31), int(w2 >> 10 & 31)};
    int low = 0, second = 0;
    for (int s = 0; s < 6; ++s) low |= (ivs[s] & 1) << s, second |= (ivs[s] >> 1 & 1) << s;
    const bool shiny = (12345u ^ 54321u ^ (pid >> 16) ^ (pid & 0xFFFF)) < 8;
    char want[160];
    std::snprintf(want, sizeof want, "%d\t%08X\t%s\t%u\t%u\t%d %d %d %d %d %d\t%s %d\t%s\t-\t-\t%u %c", n, pid,
                  kNatureNames[pid % 25], (pid & 1) + 1, pid & 0xFF, ivs[0], ivs[1], ivs[2], ivs[3], ivs[4], ivs[5],
                  kHiddenPowerTypeNames[low * 15 / 63], second * 40 / 63 + 30, shiny ? sj("★").c_str() : "",
                  drawOf(initial, n + 1) % 8192, third(drawOf(initial, n + 1)));
    EXPECT_EQ(lines[static_cast<size_t>(n) + 1], want);
    if (n == 3) {  // the fourth line on screen
      char pidText[16];
      std::snprintf(pidText, sizeof pidText, "%08X", pid);
      const PaintOp* op = paintedAt(pidText);
      ASSERT_NE(op, nullptr);
      EXPECT_EQ(op->y0, 354 + 3 * 36);
      EXPECT_LT(op->x0, 400);
    }
  }

  // Back from another screen: the seed and IDs are the ones last used.
  command(kCmdScreenOne);
  showScreenSix();
  EXPECT_EQ(text(app().screen6.seedEdit), hex(initial));
  EXPECT_EQ(text(app().screen6.tidEdit), "12345");
  EXPECT_EQ(text(app().screen6.advanceCountEdit), "50");
}

// Cries heard from advance 37 on: "now" is 37 + the letters typed, counted
// against the advance aimed at; a run starting at a listed advance marks it.
TEST_F(ScreenSixTest, TypedCriesAndCallsTellTheAdvanceNow) {
  const uint32_t seed = 0x00000F5Fu;
  start();
  command(kCmdScreenThree);
  type(app().screen3.momentSeedEdit, hex(seed));
  command(kCmdMoments);
  showScreenSix();
  EXPECT_EQ(text(app().screen6.seedEdit), hex(seed)) << "the seed step 6 shows";
  std::string cries;
  for (int k = 38; k <= 53; ++k) cries += third(drawOf(seed, k));
  type(app().screen6.cueEdit, cries);
  type(app().screen6.aimedAdvanceEdit, "60");
  command(kCmdWildWhere);
  EXPECT_TRUE(painted("今 53 消費目・あと 7 回"));
  type(app().screen6.aimedAdvanceEdit, "50");
  command(kCmdWildWhere);
  EXPECT_TRUE(painted("今 53 消費目・狙いの50は3回前に過ぎました"));
  type(app().screen6.cueEdit, "LMX");
  command(kCmdWildWhere);
  EXPECT_TRUE(painted("鳴き声に使えない文字「X」(LMHのみ)"));

  // From advance 2, listed: 出力 marks its line.
  cries.clear();
  for (int k = 3; k <= 18; ++k) cries += third(drawOf(seed, k));
  type(app().screen6.cueEdit, cries);
  WorkingDirectory wd(dir_);
  command(kCmdWildOutput);
  const PaintOp* mark = paintedAt("◆");
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->y0, 354 + 2 * 36);
  EXPECT_TRUE(painted("今 18 消費目・狙いの0は18回前に過ぎました")) << "aimed at the first listed";

  // HGSS before Pokérus: Elm answers E or K, draw % 2, from advance 20.
  choose(app().screen6.gameCombo, 1);
  EXPECT_TRUE(enabled(app().screen6.beforePokerusCheck));
  platformSetChecked(app().screen6.beforePokerusCheck, true);
  std::string calls;
  for (int k = 21; k <= 44; ++k) calls += drawOf(seed, k) % 2 == 0 ? 'E' : 'K';
  type(app().screen6.cueEdit, calls);
  type(app().screen6.aimedAdvanceEdit, "44");
  command(kCmdWildWhere);
  EXPECT_TRUE(painted("今 44 消費目・あと 0 回"));
  type(app().screen6.cueEdit, "EKP");
  command(kCmdWildWhere);
  EXPECT_TRUE(painted("電話に使えない文字「P」(ポケルス前はEKのみ)"));
}

// Step 12, gifts of ようき with H at 31: a hit 0xAABBCCCC is hour BB, delay CCCC - 26
// of 2026, PID draws n + 2, n + 1 (% 25 = 13), IVs draws n + 3, n + 4, and the file
// holds every such n < 20 of it; on to steps 6 and 8, and step 11 lists it marked.
TEST_F(ScreenSixTest, AStepTwelveHitIsTheGamesCreatureAndGoesOnToStepsSixEightAndEleven) {
  start();
  WorkingDirectory wd(dir_);
  showScreenSix();
  choose(app().screen6.natureCombo, 1 + 13);
  type(app().screen6.ivMinEdits[0], "31");
  type(app().screen6.searchYearEdit, "2026");
  type(app().screen6.searchDelayMinEdit, "300");
  type(app().screen6.searchDelayMaxEdit, "302");
  type(app().screen6.searchAdvanceEdit, "20");
  command(kCmdWildSearch);
  ASSERT_TRUE(waitUntil([this] {
    shellTimer(app());
    return app().wildSearch.status != SearchStatus::kRunning;
  })) << "the search has not ended";
  ASSERT_EQ(app().wildSearch.status, SearchStatus::kFinished);
  ASSERT_EQ(app().wildSearch.hitCount, kMaxShownWildHits);
  const SearchHit hit = app().wildSearch.hits[0];
  const uint32_t seed = hit.seed;
  const int n = hit.frame;
  EXPECT_LT(seed >> 16 & 0xFF, 24u);
  EXPECT_EQ(int(seed & 0xFFFF), hit.delay + 26);
  EXPECT_TRUE(hit.delay >= 300 && hit.delay <= 302) << hit.delay;
  const uint32_t pid = drawOf(seed, n + 2) << 16 | drawOf(seed, n + 1);
  const uint32_t w1 = drawOf(seed, n + 3), w2 = drawOf(seed, n + 4);
  EXPECT_EQ(hit.pid, pid);
  EXPECT_EQ(pid % 25, 13u);
  char ivs[32];
  std::snprintf(ivs, sizeof ivs, "%u %u %u %u %u %u", w1 & 31, w1 >> 5 & 31, w1 >> 10 & 31, w2 & 31, w2 >> 5 & 31,
                w2 >> 10 & 31);
  EXPECT_EQ(std::string(hit.ivs), ivs);
  EXPECT_EQ(w1 & 31, 31u);
  const PaintOp* shown = paintedAt(hex(pid).substr(2));
  ASSERT_NE(shown, nullptr);
  EXPECT_GE(shown->x0, 400);

  std::vector<std::string> lines = fileLines(dir_ / "wild-search.txt");
  ASSERT_EQ(lines.size(), std::size_t(app().wildSearch.hitTotal) + 1);
  EXPECT_EQ(lines[0].rfind(sj("SEED\t消費数\tPID\t"), 0), 0u);
  std::vector<int> wanted, listed;
  for (int k = 0; k < 20; ++k)
    if ((drawOf(seed, k + 2) << 16 | drawOf(seed, k + 1)) % 25 == 13 && (drawOf(seed, k + 3) & 31) == 31)
      wanted.push_back(k);
  for (const std::string& line : lines)
    if (line.rfind(hex(seed) + "\t", 0) == 0) listed.push_back(std::stoi(line.substr(11)));
  EXPECT_EQ(listed, wanted);

  command(kCmdFirstWildHit);
  ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  EXPECT_EQ(app().moments.momentSeed, seed);
  EXPECT_EQ(app().moments.momentYear, 2026);
  ASSERT_GT(app().moments.momentCount, 0);
  const ConsoleMoment m = app().moments.moments[0];
  EXPECT_EQ(m.hour, int(seed >> 16 & 0xFF));
  EXPECT_EQ(m.delay, hit.delay);
  char moment[48];
  std::snprintf(moment, sizeof moment, "\t%04d/%02d/%02d %02d:%02d:%02d\t%d", m.year, m.month, m.day, m.hour, m.minute,
                m.second, m.delay);
  EXPECT_EQ(lines[1].substr(lines[1].size() - std::strlen(moment)), moment);
  command(kCmdFirstAim);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  EXPECT_EQ(app().aim.targetSeed, seed);
  EXPECT_EQ(app().timer.settings.target.delay, hit.delay);

  showScreenSix();
  EXPECT_EQ(text(app().screen6.seedEdit), hex(seed));
  EXPECT_EQ(text(app().screen6.aimedAdvanceEdit), std::to_string(n));
  command(kCmdWildOutput);
  ASSERT_GT(app().wild.lineCount, 0);
  EXPECT_EQ(app().wild.lines[0].advance, n);
  const PaintOp* mark = paintedAt("●");
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->y0, 354);
}

// What the player typed wrong in steps 11 and 12, named with the value used;
// a seed that does not read lists nothing, never seed 0.
TEST_F(ScreenSixTest, EveryMistypedFieldIsNamedWithTheValueUsed) {
  start();
  showScreenSix();
  WorkingDirectory wd(dir_);
  Screen6Controls& c = app().screen6;
  expectFieldNotes({{c.seedEdit, "0xZZ", kCmdWildOutput, "初期SEEDを読めません: 0xZZ", "0xZZ"}});
  EXPECT_EQ(app().wild.lineCount, -1);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "wild.txt"));
  type(c.seedEdit, "0x3F0C9A21");
  expectFieldNotes({{c.levelMinEdit, "0", kCmdWildOutput, "Lvの下限は1～100まで: 1を使いました", "1"},
                    {c.ivMaxEdits[2], "32", kCmdWildOutput, "上限 Bは0～31まで: 31を使いました", "31"},
                    {c.advanceCountEdit, "0", kCmdWildOutput, "消費数は1～1000000まで: 1を使いました", "1"},
                    {c.tidEdit, "65536", kCmdWildOutput, "表IDは0～65535まで: 65535を使いました", "65535"},
                    {c.aimedAdvanceEdit, "-1", kCmdWildWhere, "狙う消費数は0～1000000まで: 0を使いました", "0"},
                    {c.searchYearEdit, "2100", kCmdWildSearch, "年は2000～2099まで: 2099を使いました", "2099"},
                    {c.searchDelayMinEdit, "x", kCmdWildSearch, "待機の下限を読めません: x (300を使いました)", "300"}},
                   kCmdWildSearchStop, &AppState::wildSearch);
}

}  // namespace
