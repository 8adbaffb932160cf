// Screen 5 over the fake backend: step 9 lists the egg's IVs of a seed into
// ivs.txt, step 10 finds a year's seeds whose egg has the wanted IVs, and a
// hit goes on through step 6 to 狙う.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/egg_ivs.h"
#include "tests/deadline.h"
#include "tests/shell_fixture.h"

namespace {

class ScreenFiveTest : public ShellTest {
 protected:
  void showScreenFive() {
    start();
    command(kCmdScreenFive);
    ASSERT_EQ(app().screenMode, ScreenMode::kFive);
  }
  void typeParents(const int (&a)[6], const int (&b)[6]) {
    for (int i = 0; i < 6; ++i) {
      type(app().screen5.ivParentAEdits[i], std::to_string(a[i]));
      type(app().screen5.ivParentBEdits[i], std::to_string(b[i]));
    }
  }
};

std::vector<std::string> fileLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Step 9: the items follow the game; the listing keeps the n whose IVs lie in
// the ranges (typed the wrong way round: turned round) and writes them all.
TEST_F(ScreenFiveTest, StepNineListsTheSeedsEggIvsIntoIvsTxt) {
  showScreenFive();
  EXPECT_FALSE(fakeControl(app().screen5.ivItemACombo).enabled) << "DPPt has no power items";
  platformSetChecked(app().screen5.ivGameCheck, true);
  command(kCmdIvGame);
  EXPECT_TRUE(fakeControl(app().screen5.ivItemACombo).enabled);
  platformSelectListRow(app().screen5.ivItemACombo, 1);  // Power Weight: H from parent A
  typeParents({31, 31, 31, 31, 31, 31}, {0, 0, 0, 0, 0, 0});
  type(app().screen5.ivSeedEdit, "0x00000F5F");
  type(app().screen5.ivFrameCountEdit, "200");
  type(app().screen5.ivMinEdits[0], "31");
  type(app().screen5.ivMaxEdits[0], "0");  // 0..31 after turning round
  WorkingDirectory wd(dir_);
  command(kCmdIvList);
  ASSERT_EQ(app().ivList.ivFileError, 0);
  std::vector<std::string> lines = fileLines(dir_ / "ivs.txt");
  ASSERT_EQ(lines.size(), 201u) << "a header and every n, all within 0..31";
  EXPECT_EQ(lines[0], sj("回数,H,A,B,S,C,D"));
  ASSERT_EQ(app().ivList.ivLineTotal, 200);
  EggParents parents{EggGame::kHgss, {31, 31, 31, 31, 31, 31}, {0, 0, 0, 0, 0, 0}, PowerItem::kWeight,
                     PowerItem::kNone};
  for (int n : {0, 1, 199}) {
    const EggIvs egg = eggIvsAt(0x00000F5Fu, static_cast<uint32_t>(n), parents);
    EXPECT_EQ(egg.ivs[0], 31);
    EXPECT_EQ(egg.from[0], IvSource::kParentA) << "the Power Weight's holder gives H";
    std::string want = std::to_string(n);
    for (int s = 0; s < 6; ++s) {
      want += ',';
      want += std::to_string(egg.ivs[s]);
      if (egg.from[s] != IvSource::kRandom) want += egg.from[s] == IvSource::kParentA ? "A" : "B";
    }
    EXPECT_EQ(lines[static_cast<std::size_t>(n) + 1], want);
  }
  EXPECT_EQ(fake().openedDocuments.back(), "ivs.txt");
  EXPECT_TRUE(painted("全200件をivs.txtに書きました"));
}

// Step 10: a search over one delay of 2026 for n = 0 with H and A at 31 from
// parents with 31 there; its hits carry what step 9 shows for them, and one
// goes on to step 6 and, by 狙う, to step 7's target.
TEST_F(ScreenFiveTest, AStepTenHitGoesToStepSixAndIsAimedFor) {
  showScreenFive();
  typeParents({31, 31, 0, 0, 0, 0}, {31, 31, 0, 0, 0, 0});
  type(app().screen5.ivMinEdits[0], "31");
  type(app().screen5.ivMinEdits[1], "31");
  type(app().screen5.ivYearEdit, "2026");
  type(app().screen5.ivMaxFrameEdit, "1");
  type(app().screen5.ivDelayMinEdit, "3909");
  type(app().screen5.ivDelayMaxEdit, "3909");
  WorkingDirectory wd(dir_);
  command(kCmdIvSearch);
  ASSERT_TRUE(waitUntil([&] {
    shellTimer(app());
    return app().ivSearch.status != SearchStatus::kRunning;
  })) << "the search never ended";
  ASSERT_EQ(app().ivSearch.status, SearchStatus::kFinished);
  ASSERT_GT(app().ivSearch.hitCount, 0);
  std::vector<std::string> lines = fileLines(dir_ / "ivs-search.txt");
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(app().ivSearch.hitTotal) + 1);
  EggParents parents{EggGame::kDppt, {31, 31, 0, 0, 0, 0}, {31, 31, 0, 0, 0, 0}, PowerItem::kNone, PowerItem::kNone};
  for (int i = 0; i < app().ivSearch.hitCount; ++i) {
    const SearchHit& hit = app().ivSearch.hits[i];
    EXPECT_EQ(hit.frame, 0);
    EXPECT_EQ(hit.seed & 0xFFFFu, 3909u + 26u) << "delay 3909 in 2026";
    const EggIvs egg = eggIvsAt(hit.seed, 0, parents);
    EXPECT_TRUE(egg.ivs[0] == 31 && egg.ivs[1] == 31);
    char seed[16];
    std::snprintf(seed, sizeof seed, "0x%08X,0,", hit.seed);
    EXPECT_EQ(lines[static_cast<std::size_t>(i) + 1].rfind(seed, 0), 0u) << lines[static_cast<std::size_t>(i) + 1];
    EXPECT_TRUE(fakeControl(app().screen5.ivHitButtons[i]).alive);
  }

  const uint32_t seed = app().ivSearch.hits[0].seed;
  command(kCmdFirstIvHit);
  ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  EXPECT_EQ(app().moments.momentSeed, seed);
  ASSERT_GT(app().moments.momentCount, 0);
  command(kCmdFirstAim);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  EXPECT_EQ(app().aim.targetSeed, seed);

  // Back on screen 5, the search's list and the parents typed are still there.
  command(kCmdScreenFive);
  EXPECT_EQ(text(app().screen5.ivParentAEdits[0]), "31");
  EXPECT_EQ(text(app().screen5.ivMinEdits[1]), "31");
  EXPECT_TRUE(fakeControl(app().screen5.ivHitButtons[0]).alive);
}

// What the player typed wrong in steps 9 and 10, named with the value used.
TEST_F(ScreenFiveTest, EveryMistypedFieldIsNamedWithTheValueUsed) {
  showScreenFive();
  WorkingDirectory wd(dir_);
  ScreenFiveControls& c = app().screen5;
  type(c.ivDelayMinEdit, "3909");
  type(c.ivSeedEdit, "0x00000F5F");
  expectFieldNotes({{c.ivParentAEdits[0], "99", kCmdIvList, "親A Hは0～31まで: 31を使いました", "31"},
                    {c.ivMaxEdits[5], "x", kCmdIvList, "上限 Dを読めません: x (31を使いました)", "31"},
                    {c.ivFrameCountEdit, "0", kCmdIvList, "回までは1～1000000まで: 1を使いました", "1"},
                    {c.ivYearEdit, "1999", kCmdIvSearch, "年は2000～2099まで: 2000を使いました", "2000"},
                    {c.ivDelayMaxEdit, "99999", kCmdIvSearch, "待機の上限は0～65535まで: 65535を使いました", "65535"},
                    {c.ivSeedEdit, "0xZZ", kCmdIvList, "初期SEEDを読めません: 0xZZ", "0xZZ"}},
                   kCmdIvSearchStop, &AppState::ivSearch);
  // Two mistakes at once: the refused seed, why nothing is listed, is the one named.
  type(c.ivParentAEdits[0], "99");
  type(c.ivSeedEdit, "0xZZ");
  command(kCmdIvList);
  EXPECT_TRUE(painted("初期SEEDを読めません: 0xZZ"));
  EXPECT_EQ(text(c.ivParentAEdits[0]), "31");
}

}  // namespace
