// Screen 7 over the fake backend, against the game's twister: step 13's IDs,
// step 14's hits and their way to step 8's target and to steps 4, 5 and 11.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/deadline.h"
#include "tests/shell_fixture.h"

namespace {

// The game's rule: seed 0xAABBCCCC with AA = month * day + minute + second,
// BB = hour, CCCC = year - 2000 + delay; the ID is the twister's second output.
uint32_t seedAt(int month, int day, int hour, int minute, int second, int year, int delay) {
  return (static_cast<uint32_t>(month * day + minute + second) & 0xFFu) << 24 | static_cast<uint32_t>(hour) << 16 |
         static_cast<uint32_t>(year - 2000 + delay);
}
uint32_t idWord(uint32_t seed) {
  std::mt19937 twister(seed);
  twister.discard(1);
  return static_cast<uint32_t>(twister());
}

class ScreenSevenTest : public ShellTest {
 protected:
  void showScreenSeven() {
    start();
    command(kCmdScreenSeven);
    ASSERT_EQ(app().screenMode, ScreenMode::kSeven);
  }
  void search() {
    command(kCmdIdSearch);
    ASSERT_TRUE(waitUntil([&] {
      shellTimer(app());
      return app().idSearch.status != SearchStatus::kRunning;
    })) << "the search never ended";
    ASSERT_EQ(app().idSearch.status, SearchStatus::kFinished);
  }
};

// Step 13: each delay's TID and SID are the low and high halves of the
// twister's second output; a wide range shows its first lines and its count;
// an unreadable moment keeps the list and says so.
TEST_F(ScreenSevenTest, StepThirteenListsEachDelaysIdsAsTheTwisterGivesThem) {
  showScreenSeven();
  type(app().screen7.momentEdit, "2026-03-01 12:00:00");
  type(app().screen7.delayMinEdit, "603");
  type(app().screen7.delayMaxEdit, "600");  // turned round
  command(kCmdIdList);
  ASSERT_EQ(app().idList.lineCount, 4);
  for (int i = 0; i < 4; ++i) {
    const IdLine& line = app().idList.lines[i];
    const uint32_t seed = seedAt(3, 1, 12, 0, 0, 2026, 600 + i);
    EXPECT_EQ(line.delay, 600 + i);
    EXPECT_EQ(line.seed, seed);
    EXPECT_EQ(line.tid, static_cast<int32_t>(idWord(seed) & 0xFFFFu));
    EXPECT_EQ(line.sid, static_cast<int32_t>(idWord(seed) >> 16));
    EXPECT_TRUE(alive(app().screen7.lineUseButtons[i]));
  }
  EXPECT_TRUE(painted("全4件(先頭4件を表示)"));

  type(app().screen7.delayMinEdit, "0");
  type(app().screen7.delayMaxEdit, "70000");  // taken as 65535
  command(kCmdIdList);
  EXPECT_EQ(app().idList.lineTotal, 65536);
  EXPECT_EQ(app().idList.lineCount, kMaxShownIdLines);
  EXPECT_EQ(app().idList.lines[kMaxShownIdLines - 1].seed, seedAt(3, 1, 12, 0, 0, 2026, kMaxShownIdLines - 1));
  type(app().screen7.momentEdit, "2026-02-30 12:00:00");
  command(kCmdIdList);
  EXPECT_TRUE(painted("日時を読めません(YYYY-MM-DD HH:MM:SS)"));
  // The list of the moment before goes with the message.
  EXPECT_FALSE(painted("全65536件(先頭16件を表示)"));
  EXPECT_FALSE(alive(app().screen7.lineUseButtons[0]));

  type(app().screen7.momentEdit, "2026-03-01 12:00:00");
  command(kCmdIdList);
  command(kCmdFirstIdLineUse + 1);
  const uint32_t word = idWord(seedAt(3, 1, 12, 0, 0, 2026, 1));
  command(kCmdScreenThree);
  EXPECT_EQ(text(app().screen3.searchTidEdit), std::to_string(word & 0xFFFFu));
  EXPECT_EQ(text(app().screen3.searchSidEdit), std::to_string(word >> 16));
}

// Step 14: the IDs of one moment's seed wanted; the hit is that seed, written
// with its first moment of the year; 日時へ, 狙う and step 8's target follow,
// and このIDを使う fills the ID edits of steps 4, 5 and 11.
TEST_F(ScreenSevenTest, AStepFourteenHitIsAimedForAndItsIdsUsed) {
  showScreenSeven();
  const uint32_t seed = seedAt(3, 1, 12, 0, 0, 2026, 600);
  const uint32_t word = idWord(seed);
  const std::string tid = std::to_string(word & 0xFFFFu);
  const std::string sid = std::to_string(word >> 16);
  type(app().screen7.yearEdit, "2026");
  type(app().screen7.searchDelayMinEdit, "600");
  type(app().screen7.searchDelayMaxEdit, "600");
  type(app().screen7.tidEdit, tid);
  type(app().screen7.sidEdit, sid);
  WorkingDirectory wd(dir_);
  search();
  ASSERT_EQ(app().idSearch.hitCount, 1);
  EXPECT_EQ(app().idSearch.hits[0].seed, seed);
  // AA 3 is first reached on January 1st at 12:00:02.
  EXPECT_EQ(fileLines(dir_ / "id-search.txt"),
            (std::vector<std::string>{sj("SEED,表ID,裏ID,日時,待機"), "0x030C0272," + tid + "," + sid +
                                                                      ",2026/01/01 12:00:02,600"}));

  command(kCmdFirstIdHit);
  ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  EXPECT_EQ(app().moments.momentSeed, seed);
  ASSERT_GT(app().moments.momentCount, 0);
  command(kCmdFirstAim);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  EXPECT_EQ(app().aim.targetSeed, seed);
  const ConsoleMoment& target = app().timer.settings.target;
  EXPECT_EQ(seedAt(target.month, target.day, target.hour, target.minute, target.second, target.year, target.delay), seed);
  EXPECT_EQ(app().timer.planOutcome, TimerPlanOutcome::kPlanned);

  command(kCmdScreenSeven);
  command(kCmdFirstIdHitUse);
  EXPECT_TRUE(painted("使うID: 表ID " + tid + " 裏ID " + sid));
  command(kCmdScreenThree);
  EXPECT_EQ(text(app().screen3.searchTidEdit), tid);
  EXPECT_EQ(text(app().screen3.searchSidEdit), sid);
  command(kCmdScreenTwo);
  EXPECT_EQ(text(app().screen2.tidEdit), tid);
  EXPECT_EQ(text(app().screen2.sidEdit), sid);
  command(kCmdScreenSix);
  EXPECT_EQ(text(app().screen6.tidEdit), tid);
  EXPECT_EQ(text(app().screen6.sidEdit), sid);
}

// What the player typed wrong in steps 13 and 14, named with the value used;
// an empty ID still wants any.
TEST_F(ScreenSevenTest, EveryMistypedFieldIsNamedWithTheValueUsed) {
  showScreenSeven();
  WorkingDirectory wd(dir_);
  Screen7Controls& c = app().screen7;
  type(c.momentEdit, "2026-04-27 02:58:59");
  expectFieldNotes({{c.pidEdit, "0xZZ", kCmdIdSearch, "PIDを読めません: 0xZZ", "0xZZ"}});
  EXPECT_EQ(app().idSearch.status, SearchStatus::kIdle) << "nothing searched";
  type(c.pidEdit, "");
  expectFieldNotes({{c.delayMaxEdit, "65536", kCmdIdList, "待機の上限は0～65535まで: 65535を使いました", "65535"},
                    {c.yearEdit, "1999", kCmdIdSearch, "年は2000～2099まで: 2000を使いました", "2000"},
                    {c.searchDelayMinEdit, "abc", kCmdIdSearch, "待機の下限を読めません: abc (300を使いました)", "300"},
                    {c.tidEdit, "70000", kCmdIdSearch, "表IDは0～65535まで: 65535を使いました", "65535"}},
                   kCmdIdSearchStop, &AppState::idSearch);
  EXPECT_EQ(app().idInputs.sidWanted, 0);
  EXPECT_EQ(text(c.sidEdit), "");
}

}  // namespace
