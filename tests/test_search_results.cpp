// What step 5's search leaves to the player, over the fake backend: a hit's
// seed handed on to step 4 with the settings of the search that found it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/shell_fixture.h"

namespace {

class SearchResultsTest : public ShellTest {
 protected:
  // Ticks the window's timer as its loop would until the search has ended.
  void finishTheSearch() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (app().searchStatus == SearchStatus::kRunning) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the search has not ended in two minutes";
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      shellTimer(app());
    }
  }
  // Ticks the box the way a click does.
  void tick(ControlHandle box, bool on) { fakeControl(box).checked = on; }
  void choose(ControlHandle list, int32_t row) { fakeControl(list).selected = row; }
};

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
  type(app().yearEdit, "2026");
  type(app().searchTidEdit, "12345");
  type(app().searchSidEdit, "54321");
  type(app().delayMinEdit, "300");
  type(app().delayMaxEdit, "309");
  tick(app().searchMarriageCheck, true);
  tick(app().searchShinyOnlyCheck, true);
  choose(app().searchNatureCombo, 24);
  choose(app().searchGenderCombo, 1);
  choose(app().searchAbilityCombo, 1);
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  ASSERT_EQ(app().searchStatus, SearchStatus::kFinished);
  ASSERT_GE(app().hitCount, 2);
  EXPECT_EQ(hex(app().hits[0].seed), "0x09160146");
  EXPECT_EQ(app().hits[0].frame, 0);
  EXPECT_EQ(hitListLine(dir_ / "search.txt", 0), sj("0,0+0回,E5D201DA,しんちょう,1,218,★"));

  // The first hit and the last one listed (a later frame), each through step
  // 6 to step 4, whose list shows the hit's frame with the hit's line. Step
  // 5's boxes changed after the search change nothing: the search's settings go.
  for (int i : {0, app().hitCount - 1}) {
    SCOPED_TRACE(i);
    const SearchHit hit = app().hits[i];
    command(kCmdScreenThree);
    command(kCmdFirstHit + i);
    tick(app().searchMarriageCheck, false);
    choose(app().searchNatureCombo, 0);
    command(kCmdSeedToStepFour);
    ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
    EXPECT_EQ(text(app().initialSeedEdit), hex(hit.seed));
    EXPECT_EQ(text(app().tidEdit), "12345");
    EXPECT_EQ(text(app().sidEdit), "54321");
    EXPECT_TRUE(fakeControl(app().marriageCheck).checked);
    EXPECT_TRUE(fakeControl(app().shinyOnlyCheck).checked);
    EXPECT_EQ(fakeControl(app().natureFilterCombo).selected, 24);
    EXPECT_EQ(fakeControl(app().genderFilterCombo).selected, 1);
    EXPECT_EQ(fakeControl(app().abilityFilterCombo).selected, 1);
    command(kCmdOutput);
    EXPECT_EQ(resultLineOfFrame(dir_ / "result.txt", hit.frame), hitListLine(dir_ / "search.txt", i));
  }

  // A seed typed over the hit's, or typed after screen 3 was built again
  // (even the hit's own), gets step 4's own settings: no marriage, no filter.
  command(kCmdScreenThree);
  command(kCmdFirstHit);
  type(app().momentSeedEdit, "0x09160147");
  command(kCmdSeedToStepFour);
  EXPECT_FALSE(fakeControl(app().marriageCheck).checked);
  EXPECT_EQ(fakeControl(app().natureFilterCombo).selected, 0);
  command(kCmdScreenThree);
  command(kCmdFirstHit);
  command(kCmdScreenOne);
  command(kCmdScreenThree);
  type(app().momentSeedEdit, "0x09160146");
  command(kCmdSeedToStepFour);
  EXPECT_EQ(text(app().initialSeedEdit), "0x09160146");
  EXPECT_EQ(text(app().tidEdit), "12345");  // the IDs last used
  EXPECT_FALSE(fakeControl(app().marriageCheck).checked);
  EXPECT_FALSE(fakeControl(app().shinyOnlyCheck).checked);
  type(app().frameCountEdit, "1");
  command(kCmdOutput);
  EXPECT_EQ(resultLineOfFrame(dir_ / "result.txt", 0), sj("0,0+0回,68CF4965,ずぶとい,2,101,"));
}

}  // namespace
