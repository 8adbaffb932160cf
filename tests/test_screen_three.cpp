// Screen 3 over the fake backend: its controls fit the window, step 6 lists
// the moments of a seed (or says why there are none), and the seed goes on to
// step 4.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/seed_time.h"
#include "tests/shell_fixture.h"

namespace {

class ScreenThreeTest : public ShellTest {
 protected:
  void showScreenThree() {
    start();
    command(kCmdScreenThree);
    ASSERT_EQ(app().screenMode, 3);
  }
  std::vector<std::string> paintedTexts() {
    std::vector<std::string> out;
    for (const PaintOp& op : fakePaint(app()))
      if (op.kind == PaintOp::kText) out.push_back(op.text);
    return out;
  }
  bool painted(const std::string& utf8) {
    std::vector<std::string> texts = paintedTexts();
    return std::find(texts.begin(), texts.end(), sj(utf8)) != texts.end();
  }
};

bool overlap(const ControlRect& a, const ControlRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The 800 x 600 Win32 window keeps about 790 x 540 of client area below its
// caption and menu bar: every control must lie inside it, clear of the others.
// A drop-down list counts with its closed box only.
void expectLaidOutWithoutOverlap() {
  std::vector<ControlRect> rects;
  for (ControlHandle h : fakeLiveControls()) {
    ControlRect r = fakeControl(h).rect;
    if (fakeControl(h).kind == ControlKind::kDropDownList) r.height = 22;
    EXPECT_GE(r.x, 0);
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.x + r.width, 790) << "id " << fakeControl(h).id;
    EXPECT_LE(r.y + r.height, 535) << "id " << fakeControl(h).id;
    rects.push_back(r);
  }
  for (std::size_t i = 0; i < rects.size(); ++i)
    for (std::size_t j = i + 1; j < rects.size(); ++j)
      EXPECT_FALSE(overlap(rects[i], rects[j])) << "controls " << i << " and " << j;
}

TEST_F(ScreenThreeTest, MenuEntryBuildsScreenThreeWithinTheWindowAndLeavesTheOthersAlone) {
  showScreenThree();
  EXPECT_EQ(app().speciesEdit, 0);
  EXPECT_EQ(app().momentCount, -1);
  EXPECT_EQ(app().hitCount, -1);
  expectLaidOutWithoutOverlap();
  EXPECT_EQ(fakeControl(app().maxFrameEdit).text, "100");
  EXPECT_EQ(fakeControl(app().delayMinEdit).text, "300");
  EXPECT_EQ(fakeControl(app().delayMaxEdit).text, "9999");
  EXPECT_EQ(fakeControl(app().searchTidEdit).text, "");  // no TID used yet
  EXPECT_EQ(fakeControl(app().searchNatureCombo).rows.size(), 26u);
  EXPECT_EQ(fakeControl(app().searchGenderCombo).rows.size(), 9u);
  EXPECT_EQ(fakeControl(app().searchAbilityCombo).rows.size(), 3u);
  EXPECT_TRUE(painted("step5:タマゴ検索"));
  EXPECT_TRUE(painted("step6:日時算出"));
  EXPECT_FALSE(painted("候補なし"));  // no search has run

  std::size_t created = fake().controls.size();
  command(kCmdScreenThree);  // already shown
  EXPECT_EQ(fake().controls.size(), created);
  command(kCmdScreenOne);
  EXPECT_EQ(app().yearEdit, 0);
  EXPECT_EQ(app().momentButton, 0);
  EXPECT_EQ(fakeLiveControls().size(), 20u);  // screen 1's twenty controls, nothing left of screen 3
}

TEST_F(ScreenThreeTest, StepSixCommandsRunOnlyOnScreenThree) {
  start();
  for (int32_t id : {kCmdMoments, kCmdSeedToStepFour, kCmdEggSearch, kCmdEggSearchStop, kCmdFirstHit}) {
    command(id);
    command(kCmdScreenTwo);
    command(id);
    command(kCmdScreenOne);
  }
  EXPECT_EQ(app().momentCount, -1);
  EXPECT_TRUE(fake().reads.empty());
}

// 0x1B0C0F5F: AA 27 = month * day + minute + second, hour 12, and CCCC 3935 =
// delay + 26 in 2026. The first moment is January 1st, 12:00:26, delay 3909.
TEST_F(ScreenThreeTest, MomentsOfASeedAreTheFirstTenInCalendarOrderWithTheYearsTotal) {
  showScreenThree();
  type(app().momentSeedEdit, "0x1B0C0F5F");
  type(app().momentYearEdit, "2026");
  int invalidations = fake().invalidations;
  command(kCmdMoments);
  EXPECT_EQ(fake().invalidations, invalidations + 1);
  ASSERT_EQ(app().momentCount, 10);
  // Every moment of 2026 at 12 o'clock, counted by the forward rule.
  int total = 0;
  std::vector<ConsoleMoment> expected;
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= daysInMonth(2026, month); ++day)
      for (int minute = 0; minute < 60; ++minute)
        for (int second = 0; second < 60; ++second) {
          ConsoleMoment m{2026, month, day, 12, minute, second, 3909};
          uint32_t seed = 0;
          if (seedOfMoment(m, seed) && seed == 0x1B0C0F5Fu) {
            ++total;
            if (expected.size() < 10) expected.push_back(m);
          }
        }
  EXPECT_EQ(app().momentTotal, total);
  for (int i = 0; i < 10; ++i) {
    const ConsoleMoment& m = app().moments[i];
    EXPECT_EQ(std::tie(m.month, m.day, m.hour, m.minute, m.second, m.delay),
              std::tie(expected[i].month, expected[i].day, expected[i].hour, expected[i].minute, expected[i].second,
                       expected[i].delay));
  }
  EXPECT_TRUE(painted("01/01 12:00:26 待機3909"));
  EXPECT_TRUE(painted("全" + std::to_string(total) + "件"));
}

TEST_F(ScreenThreeTest, ASeedWithoutAMomentSaysWhyAndYearsOutsideTheClockAreTakenAtItsEnds) {
  showScreenThree();
  type(app().momentSeedEdit, "0x1B180F5F");  // hour byte 24
  command(kCmdMoments);
  EXPECT_EQ(app().momentCount, 0);
  EXPECT_TRUE(painted("時刻なし(時が24以上)"));

  // CCCC 5 is the delay 5 - (year - 2000), wrapped past 65535 after 2005.
  type(app().momentSeedEdit, "0x1B0C0005");
  for (auto [typed, year] : {std::pair{"1999", 2000}, std::pair{"21500", 2099}, std::pair{"x", 2000}}) {
    type(app().momentYearEdit, typed);
    command(kCmdMoments);
    EXPECT_EQ(app().momentYear, year) << typed;
    if (year == 2099) {
      ASSERT_GT(app().momentCount, 0);
      EXPECT_EQ(app().moments[0].delay, 65536 + 5 - 99);
    }
  }
  ASSERT_GT(app().momentCount, 0);
  EXPECT_EQ(app().moments[0].delay, 5);
  EXPECT_FALSE(painted("時刻なし(時が24以上)"));
}

TEST_F(ScreenThreeTest, TheSeedGoesToStepFourWithTheIdsLastUsed) {
  start();
  command(kCmdScreenTwo);
  type(app().tidEdit, "12345");
  type(app().sidEdit, "54321");
  type(app().frameCountEdit, "1");
  {
    WorkingDirectory wd(dir_);
    command(kCmdOutput);
  }
  command(kCmdScreenThree);
  EXPECT_EQ(text(app().searchTidEdit), "12345");  // step 5 starts from step 4's IDs
  EXPECT_EQ(text(app().searchSidEdit), "54321");
  type(app().momentSeedEdit, "454823775");  // 0x1B1C0F5F typed in decimal
  int invalidations = fake().invalidations;
  command(kCmdSeedToStepFour);
  ASSERT_EQ(app().screenMode, 2);
  EXPECT_EQ(app().momentSeedEdit, 0);
  EXPECT_EQ(text(app().initialSeedEdit), "0x1B1C0F5F");
  EXPECT_EQ(text(app().tidEdit), "12345");
  EXPECT_EQ(text(app().sidEdit), "54321");
  EXPECT_EQ(fake().invalidations, invalidations + 1);
}

}  // namespace
