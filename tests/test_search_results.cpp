// What step 5's search leaves to the player, over the fake backend: a hit's
// seed handed on to step 4 with the settings of the search that found it, and
// what the window says when the list is cut, when search.txt cannot be written
// and when no search can start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/egg_list.h"
#include "core/thread_start.h"
#include "tests/search_fixture.h"
#include "ui/screens/screen_common.h"
#include "ui/search_job.h"

namespace {

using SearchResultsTest = SearchTest;

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// The line of result.txt for `frame` ("FRAME,..."), empty when the list does
// not keep that frame.
std::string resultLineOfFrame(const std::filesystem::path& file, int32_t frame) {
  std::vector<std::string> lines = fileLines(file);
  const std::string prefix = std::to_string(frame) + ",";
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (lines[i].compare(0, prefix.size(), prefix) == 0) return lines[i];
  return "";
}

// search.txt's line of hit i without its seed in front and its moment and
// delay behind: the hit's line of the egg list.
std::string hitListLine(const std::filesystem::path& file, int i) {
  std::vector<std::string> lines = fileLines(file);
  if (static_cast<std::size_t>(i) + 1 >= lines.size()) return "<no line>";
  std::string line = lines[static_cast<std::size_t>(i) + 1].substr(std::string("0x09160146,").size());
  return line.substr(0, line.rfind(',', line.rfind(',') - 1));
}

// 2026, delays 300..309, frames 0..99, IDs 12345 / 54321 with 国際結婚 and
// every filter set: shiny, しんちょう (row 24), ♂(1/2) (gender value 128 and
// up) and 特性1. Without the marriage rerolls frame 0 of 0x09160146 is
// 68CF4965, not shiny; four rerolls (PID * 0x6C078965 + 1) reach E5D201DA,
// shiny for these IDs, しんちょう (E5D201DA mod 25 = 23), gender value 218,
// 特性1: the first of every hit (frame 0, delay 300 = 0x0146 - 26, and of the
// two shiny seeds of that delay the one with the smaller upper half).
TEST_F(SearchResultsTest, AHitsSeedTakesTheSettingsOfItsSearchToStepFourAndATypedSeedDoesNot) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.delayMinEdit, "300");
  type(app().screen3.delayMaxEdit, "309");
  tick(app().screen3.searchMarriageCheck, true);
  tick(app().screen3.searchShinyOnlyCheck, true);
  choose(app().screen3.searchNatureCombo, 24);
  choose(app().screen3.searchGenderCombo, 1);
  choose(app().screen3.searchAbilityCombo, 1);
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  ASSERT_GE(app().eggSearch.hitCount, 2);
  EXPECT_EQ(hex(app().eggSearch.hits[0].seed), "0x09160146");
  EXPECT_EQ(app().eggSearch.hits[0].frame, 0);
  EXPECT_EQ(hitListLine(dir_ / "search.txt", 0), sj("0,0+0回,E5D201DA,しんちょう,1,218,★"));

  // The first hit and the last one listed (a later frame), each through step
  // 6 to step 4, whose list shows the hit's frame with the hit's line. Step
  // 5's boxes changed after the search change nothing: the search's settings go.
  for (int i : {0, app().eggSearch.hitCount - 1}) {
    SCOPED_TRACE(i);
    const SearchHit hit = app().eggSearch.hits[i];
    command(kCmdScreenThree);
    command(kCmdFirstHit + i);
    tick(app().screen3.searchMarriageCheck, false);
    choose(app().screen3.searchNatureCombo, 0);
    command(kCmdSeedToStepFour);
    ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
    EXPECT_EQ(text(app().screen2.initialSeedEdit), hex(hit.seed));
    EXPECT_EQ(text(app().screen2.tidEdit), "12345");
    EXPECT_EQ(text(app().screen2.sidEdit), "54321");
    EXPECT_TRUE(fakeControl(app().screen2.marriageCheck).checked);
    EXPECT_TRUE(fakeControl(app().screen2.shinyOnlyCheck).checked);
    EXPECT_EQ(fakeControl(app().screen2.natureFilterCombo).selected, 24);
    EXPECT_EQ(fakeControl(app().screen2.genderFilterCombo).selected, 1);
    EXPECT_EQ(fakeControl(app().screen2.abilityFilterCombo).selected, 1);
    command(kCmdOutput);
    EXPECT_EQ(resultLineOfFrame(dir_ / "result.txt", hit.frame), hitListLine(dir_ / "search.txt", i));
  }

  // A seed typed over the hit's gets step 4's own settings: no marriage, no
  // filter. Screen 3 keeps the hit over a switch to another screen: its seed,
  // still in step 6, brings the search's settings after the round trip.
  command(kCmdScreenThree);
  command(kCmdFirstHit);
  type(app().screen3.momentSeedEdit, "0x09160147");
  command(kCmdSeedToStepFour);
  EXPECT_FALSE(fakeControl(app().screen2.marriageCheck).checked);
  EXPECT_EQ(fakeControl(app().screen2.natureFilterCombo).selected, 0);
  command(kCmdScreenThree);
  command(kCmdFirstHit);
  command(kCmdScreenOne);
  command(kCmdScreenThree);
  EXPECT_EQ(text(app().screen3.momentSeedEdit), "0x09160146");
  command(kCmdSeedToStepFour);
  EXPECT_EQ(text(app().screen2.initialSeedEdit), "0x09160146");
  EXPECT_EQ(text(app().screen2.tidEdit), "12345");
  EXPECT_TRUE(fakeControl(app().screen2.marriageCheck).checked);
  EXPECT_TRUE(fakeControl(app().screen2.shinyOnlyCheck).checked);
  type(app().screen2.frameCountEdit, "1");
  command(kCmdOutput);
  EXPECT_EQ(resultLineOfFrame(dir_ / "result.txt", 0), sj("0,0+0回,E5D201DA,しんちょう,1,218,★"));
}

// 2026, delay 300, shiny only for IDs 12345 / 54321: the egg lists of its
// 6144 seeds (256 AA x 24 hours, CCCC 0x0146) keep exactly 1000 frames below
// 1279 and more below 1280. At 1279 frames the list is whole; at 1280 the
// search keeps 1000 and says that it cut the list and how to narrow it.
TEST_F(SearchResultsTest, AListCutAtTheLimitSaysSoAndHowToNarrowTheSearch) {
  EggListRequest list{};
  list.frameCount = 1280;
  list.tid = 12345;
  list.sid = 54321;
  list.shinyOnly = true;
  auto scratch = std::make_unique<AppState>();
  std::FILE* f = std::tmpfile();
  for (uint32_t aa = 0; aa < 256; ++aa)
    for (uint32_t hour = 0; hour < 24; ++hour) {
      list.initialSeed = aa << 24 | hour << 16 | 0x0146u;
      writeEggPidList(scratch->eggList, list, f);
    }
  std::rewind(f);
  int below1279 = 0;
  int below1280 = 0;
  for (const std::string& line : linesOf(f)) {
    if (line == sj("回数,なつき+コイン,性格値,性格,特性,性別値,色")) continue;  // each list's header
    below1279 += std::atoi(line.c_str()) < 1279;
    ++below1280;
  }
  std::fclose(f);
  ASSERT_EQ(below1279, 1000);
  ASSERT_GT(below1280, 1000);

  start();
  command(kCmdScreenThree);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.delayMinEdit, "300");
  type(app().screen3.delayMaxEdit, "300");
  tick(app().screen3.searchShinyOnlyCheck, true);
  const std::string cut = "1000件で打ち切り。回まで・待機を狭めるか、絞り込みを足してください";
  WorkingDirectory wd(dir_);
  for (const char* frames : {"1279", "1280"}) {
    SCOPED_TRACE(frames);
    type(app().screen3.maxFrameEdit, frames);
    command(kCmdEggSearch);
    finishTheSearch();
    ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
    EXPECT_EQ(app().eggSearch.hitTotal, 1000);
    EXPECT_EQ(fileLines(dir_ / "search.txt").size(), 1001u);
    EXPECT_TRUE(painted("完了 1000件"));
    EXPECT_EQ(painted(cut), std::string(frames) == "1280");
  }
}

// A folder named search.txt: the search is listed and says "完了", but also
// that search.txt was not saved, and why; nothing is opened. Once the folder
// is gone the next search writes and opens the file and the note goes.
TEST_F(SearchResultsTest, AHitFileThatCannotBeWrittenIsSaidWithItsReason) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.delayMinEdit, "300");
  type(app().screen3.delayMaxEdit, "300");
  type(app().screen3.maxFrameEdit, "1");
  choose(app().screen3.searchNatureCombo, 1);
  std::filesystem::create_directory(dir_ / "search.txt");
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  EXPECT_EQ(app().eggSearch.hitCount, 14);
  EXPECT_TRUE(painted("完了 " + std::to_string(app().eggSearch.hitTotal) + "件"));
  EXPECT_TRUE(painted(std::string("search.txtを保存できません: ") + kFolderInTheWayReason));
  EXPECT_TRUE(fake().openedDocuments.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "search.txt"));

  std::filesystem::remove(dir_ / "search.txt");
  command(kCmdEggSearch);
  finishTheSearch();
  EXPECT_EQ(fake().openedDocuments, std::vector<std::string>{"search.txt"});
  EXPECT_EQ(fileLines(dir_ / "search.txt").size(), static_cast<std::size_t>(app().eggSearch.hitTotal) + 1);
  for (const PaintOp& op : fakePaint(app()))
    EXPECT_FALSE(op.kind == PaintOp::Kind::kText && op.y0 >= 485) << op.text;  // no note below the list
}

// "検索" with no thread to be had: the list, its buttons, the year and the
// status stay as they were, with a note that the search did not start. The
// next search that starts takes the note away.
TEST_F(SearchResultsTest, ASearchThatCannotStartKeepsTheListAndSaysSo) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.delayMinEdit, "300");
  type(app().screen3.delayMaxEdit, "300");
  type(app().screen3.maxFrameEdit, "1");
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  ASSERT_EQ(app().eggSearch.hitCount, 14);
  const SearchHit first = app().eggSearch.hits[0];
  const std::vector<std::string> file = fileLines(dir_ / "search.txt");
  const std::string note = "スレッドを作れず、検索を始められませんでした。一覧は前のままです";
  EXPECT_FALSE(painted(note));

  type(app().screen3.yearEdit, "2030");
  failThreadStart(1);  // the search's worker
  command(kCmdEggSearch);
  failThreadStart(0);
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  EXPECT_EQ(fake().timerPeriod, 0);
  ASSERT_EQ(app().eggSearch.hitCount, 14);
  EXPECT_EQ(app().eggSearch.hits[0].seed, first.seed);
  EXPECT_TRUE(alive(app().screen3.hitButtons[13]));
  EXPECT_EQ(app().eggSearch.year, 2026);
  EXPECT_EQ(fileLines(dir_ / "search.txt"), file);
  EXPECT_TRUE(painted(note));
  EXPECT_TRUE(painted("完了 " + std::to_string(app().eggSearch.hitTotal) + "件"));
  command(kCmdFirstHit);  // the kept hits still go to step 6, in their year
  EXPECT_EQ(app().moments.momentYear, 2026);

  command(kCmdEggSearch);
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  EXPECT_FALSE(painted(note));
  finishTheSearch();
  EXPECT_EQ(app().eggSearch.year, 2030);
}

// With an Everstone of ようき (row 13) the hits' PIDs all have that nature
// unless a reroll changed it; a hit's seed reaches step 4 with the tick and
// the nature, and step 4's list shows the hit's frame with the hit's line.
TEST_F(SearchResultsTest, AnEverstoneSearchsHitReachesStepFourWithItsEverstone) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.delayMinEdit, "300");
  type(app().screen3.delayMaxEdit, "301");
  tick(app().screen3.searchShinyOnlyCheck, true);
  tick(app().screen3.searchEverstoneCheck, true);
  choose(app().screen3.searchEverstoneCombo, 13);
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  ASSERT_GE(app().eggSearch.hitCount, 1);
  for (int i = 0; i < app().eggSearch.hitCount; ++i) EXPECT_EQ(app().eggSearch.hits[i].pid % 25, 13u);
  const SearchHit hit = app().eggSearch.hits[0];
  command(kCmdFirstHit);
  command(kCmdSeedToStepFour);
  ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
  EXPECT_TRUE(fakeControl(app().screen2.everstoneCheck).checked);
  EXPECT_EQ(fakeControl(app().screen2.everstoneCombo).selected, 13);
  command(kCmdOutput);
  const std::string line = resultLineOfFrame(dir_ / "result.txt", hit.frame);
  char pid[16];
  std::snprintf(pid, sizeof pid, ",%08X,", hit.pid);
  EXPECT_NE(line.find(pid), std::string::npos) << line;
}

// A year that is not a number is named with the year used, which the field
// then shows, and the search runs over that year; an ID past 65535 is taken
// at the end of the range and shown so.
TEST_F(SearchResultsTest, StepFivesUnreadableYearIsNamedAndTheFieldShowsTheYearUsed) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.yearEdit, "abcd");
  type(app().screen3.searchTidEdit, "99999");
  type(app().screen3.delayMinEdit, "300");
  type(app().screen3.delayMaxEdit, "300");
  tick(app().screen3.searchShinyOnlyCheck, true);
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  const std::string year = std::to_string(thisYear());
  EXPECT_EQ(app().eggSearch.year, thisYear());
  EXPECT_EQ(text(app().screen3.yearEdit), year);
  EXPECT_EQ(text(app().screen3.searchTidEdit), "65535");
  EXPECT_TRUE(painted("年を読めません: abcd (" + year + "を使いました)"));
  type(app().screen3.searchTidEdit, "1");
  command(kCmdEggSearch);
  finishTheSearch();
  EXPECT_FALSE(painted("年を読めません: abcd (" + year + "を使いました)"));
}

}  // namespace
