// Screen 3 over the fake backend: its controls fit the window, step 5 finds
// the eggs the egg list keeps for every reachable seed and hands a hit to step
// 6, which lists the moments of a seed (or says why there are none), and the
// seed goes on to step 4.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "core/egg_list.h"
#include "core/seed_time.h"
#include "tests/deadline.h"
#include "ui/screens/screen_common.h"
#include "tests/search_gate.h"
#include "tests/shell_fixture.h"
#include "ui/search_job.h"

namespace {

class ScreenThreeTest : public ShellTest {
 protected:
  void showScreenThree() {
    start();
    command(kCmdScreenThree);
    ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  }
  std::vector<std::string> paintedTexts() {
    std::vector<std::string> out;
    for (const PaintOp& op : fakePaint(app()))
      if (op.kind == PaintOp::Kind::kText) out.push_back(op.text);
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
  EXPECT_EQ(app().screen1.speciesEdit, 0);
  EXPECT_EQ(app().moments.momentCount, -1);
  EXPECT_EQ(app().eggSearch.hitCount, -1);
  expectLaidOutWithoutOverlap();
  EXPECT_EQ(fakeControl(app().screen3.maxFrameEdit).text, "100");
  EXPECT_EQ(fakeControl(app().screen3.delayMinEdit).text, "300");
  EXPECT_EQ(fakeControl(app().screen3.delayMaxEdit).text, "9999");
  EXPECT_EQ(fakeControl(app().screen3.searchTidEdit).text, "");  // no TID used yet
  EXPECT_EQ(fakeControl(app().screen3.searchNatureCombo).rows.size(), 26u);
  EXPECT_EQ(fakeControl(app().screen3.searchGenderCombo).rows.size(), 9u);
  EXPECT_EQ(fakeControl(app().screen3.searchAbilityCombo).rows.size(), 3u);
  EXPECT_TRUE(painted("step5:タマゴ検索"));
  EXPECT_TRUE(painted("step6:日時算出"));
  EXPECT_FALSE(painted("候補なし"));  // no search has run

  std::size_t created = fake().controls.size();
  command(kCmdScreenThree);  // already shown
  EXPECT_EQ(fake().controls.size(), created);
  command(kCmdScreenOne);
  EXPECT_EQ(app().screen3.yearEdit, 0);
  EXPECT_EQ(app().screen3.momentButton, 0);
  EXPECT_EQ(fakeLiveControls().size(), 20u);  // screen 1's twenty controls, nothing left of screen 3

  // Screen 3's commands are not taken on the other screens.
  fake().reads.clear();
  for (int32_t id : {kCmdMoments, kCmdSeedToStepFour, kCmdEggSearch, kCmdEggSearchStop, kCmdFirstHit}) {
    command(id);
    command(kCmdScreenTwo);
    command(id);
    command(kCmdScreenOne);
  }
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kIdle);
  EXPECT_TRUE(fake().reads.empty());
}

// 0x1B0C0F5F: AA 27 = month * day + minute + second, hour 12, and CCCC 3935 =
// delay + 26 in 2026. The first moment is January 1st, 12:00:26, delay 3909.
TEST_F(ScreenThreeTest, MomentsOfASeedAreTheFirstTenInCalendarOrderWithTheYearsTotal) {
  showScreenThree();
  type(app().screen3.momentSeedEdit, "0x1B0C0F5F");
  type(app().screen3.momentYearEdit, "2026");
  int invalidations = fake().invalidations;
  command(kCmdMoments);
  EXPECT_EQ(fake().invalidations, invalidations + 1);
  ASSERT_EQ(app().moments.momentCount, 10);
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
  EXPECT_EQ(app().moments.momentTotal, total);
  for (int i = 0; i < 10; ++i) {
    const ConsoleMoment& m = app().moments.moments[i];
    EXPECT_EQ(std::tie(m.month, m.day, m.hour, m.minute, m.second, m.delay),
              std::tie(expected[i].month, expected[i].day, expected[i].hour, expected[i].minute, expected[i].second,
                       expected[i].delay));
  }
  EXPECT_TRUE(painted("01/01 12:00:26"));
  EXPECT_TRUE(painted("待機3909"));  // shown once: every moment of a seed in a year has the same delay
  EXPECT_TRUE(painted("全" + std::to_string(total) + "件"));

  // A round trip through another screen keeps step 6's list and step 5's inputs.
  fakeControl(app().screen3.searchMarriageCheck).checked = true;
  fakeControl(app().screen3.searchShinyOnlyCheck).checked = true;
  fakeControl(app().screen3.searchNatureCombo).selected = 14;
  type(app().screen3.maxFrameEdit, "250");
  command(kCmdScreenOne);
  command(kCmdScreenThree);
  EXPECT_EQ(app().moments.momentCount, 10);
  EXPECT_TRUE(painted("01/01 12:00:26"));
  EXPECT_EQ(text(app().screen3.momentSeedEdit), "0x1B0C0F5F");
  EXPECT_TRUE(fakeControl(app().screen3.searchMarriageCheck).checked);
  EXPECT_TRUE(fakeControl(app().screen3.searchShinyOnlyCheck).checked);
  EXPECT_EQ(fakeControl(app().screen3.searchNatureCombo).selected, 14);
  EXPECT_EQ(text(app().screen3.maxFrameEdit), "250");
}

TEST_F(ScreenThreeTest, ASeedWithoutAMomentSaysWhyAndYearsOutsideTheClockAreTakenAtItsEnds) {
  showScreenThree();
  type(app().screen3.momentSeedEdit, "0x1B180F5F");  // hour byte 24
  command(kCmdMoments);
  EXPECT_EQ(app().moments.momentCount, 0);
  EXPECT_TRUE(painted("時刻なし(時が24以上)"));

  // CCCC 5 is the delay 5 - (year - 2000), wrapped past 65535 after 2005. A
  // year outside the clock, or not a number, is named with the year used,
  // which the field then shows.
  type(app().screen3.momentSeedEdit, "0x1B0C0005");
  const int32_t now = thisYear();
  const std::string nowText = std::to_string(now);
  for (auto [typed, year, note] :
       {std::tuple{"1999", 2000, std::string("2000を使いました")}, std::tuple{"21500", 2099, std::string("2099を使いました")},
        std::tuple{"x", now, "x (" + nowText + "を使いました)"}}) {
    type(app().screen3.momentYearEdit, typed);
    command(kCmdMoments);
    EXPECT_EQ(app().moments.momentYear, year) << typed;
    EXPECT_EQ(text(app().screen3.momentYearEdit), std::to_string(year)) << typed;
    EXPECT_TRUE(painted(note)) << typed;
    if (year == 2099) {
      ASSERT_GT(app().moments.momentCount, 0);
      EXPECT_EQ(app().moments.moments[0].delay, 65536 + 5 - 99);
    }
  }
  type(app().screen3.momentYearEdit, "2000");
  command(kCmdMoments);
  ASSERT_GT(app().moments.momentCount, 0);
  EXPECT_EQ(app().moments.moments[0].delay, 5);
  EXPECT_FALSE(painted("時刻なし(時が24以上)"));
  EXPECT_FALSE(painted("2099を使いました"));

  // A seed that is not one lists nothing, never the moments of seed 0.
  type(app().screen3.momentSeedEdit, "0xZZ");
  command(kCmdMoments);
  EXPECT_EQ(app().moments.momentCount, -1);
  EXPECT_TRUE(painted("SEEDを読めません") && painted("0xZZ"));
  EXPECT_FALSE(painted("01/01 00:00:05"));
  command(kCmdSeedToStepFour);
  EXPECT_EQ(app().screenMode, ScreenMode::kThree) << "no seed 0 goes to step 4";
}

TEST_F(ScreenThreeTest, TheSeedGoesToStepFourWithTheIdsLastUsed) {
  start();
  command(kCmdScreenTwo);
  type(app().screen2.tidEdit, "12345");
  type(app().screen2.sidEdit, "54321");
  type(app().screen2.frameCountEdit, "1");
  {
    WorkingDirectory wd(dir_);
    command(kCmdOutput);
  }
  command(kCmdScreenThree);
  EXPECT_EQ(text(app().screen3.searchTidEdit), "12345");  // step 5 starts from step 4's IDs
  EXPECT_EQ(text(app().screen3.searchSidEdit), "54321");
  type(app().screen3.momentSeedEdit, "454823775");  // 0x1B1C0F5F typed in decimal
  int invalidations = fake().invalidations;
  command(kCmdSeedToStepFour);
  ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
  EXPECT_EQ(app().screen3.momentSeedEdit, 0);
  EXPECT_EQ(text(app().screen2.initialSeedEdit), "0x1B1C0F5F");
  EXPECT_EQ(text(app().screen2.tidEdit), "12345");
  EXPECT_EQ(text(app().screen2.sidEdit), "54321");
  EXPECT_EQ(fake().invalidations, invalidations + 1);
}

// --- step 5 -------------------------------------------------------------------

// Ticks the window's timer as its loop would, once the search has returned:
// that tick ends it.
void tickOnceTheSearchHasReturned(AppState& app) {
  ASSERT_TRUE(waitUntil([] { return searchJobReturned(SearchKind::kEgg); })) << "the search has not returned";
  shellTimer(app);
}

struct ModelHit {
  int32_t frame;
  int32_t delay;
  uint32_t seed;
  std::string line;  // the seed's egg-list line of that frame
  bool operator<(const ModelHit& o) const { return std::tie(frame, delay, seed) < std::tie(o.frame, o.delay, o.seed); }
};

// Every kept frame of every seed 0xAABBCCCC of `year` with CCCC = delay +
// (year - 2000), read off the egg list that step 4 writes for that seed.
std::vector<ModelHit> eggListHits(EggListRequest request, int32_t year, int32_t delayMin, int32_t delayMax) {
  std::vector<uint32_t> seeds;
  std::vector<int32_t> delays;
  for (int32_t delay = delayMin; delay <= delayMax; ++delay)
    for (uint32_t aa = 0; aa < 256; ++aa)
      for (uint32_t bb = 0; bb < 24; ++bb) {
        seeds.push_back(aa << 24 | bb << 16 | static_cast<uint32_t>(delay + year - 2000));
        delays.push_back(delay);
      }
  auto scratch = std::make_unique<AppState>();
  std::FILE* f = std::tmpfile();
  for (uint32_t seed : seeds) {
    request.initialSeed = seed;
    writeEggPidList(scratch->eggList, request, f);
  }
  std::rewind(f);
  std::vector<std::string> lines = linesOf(f);
  std::fclose(f);
  std::vector<ModelHit> hits;
  int list = -1;  // every list starts with the header line
  for (const std::string& line : lines) {
    if (line == sj("回数,なつき+コイン,性格値,性格,特性,性別値,色")) {
      ++list;
      continue;
    }
    hits.push_back(ModelHit{std::atoi(line.c_str()), delays[list], seeds[list], line});
  }
  std::sort(hits.begin(), hits.end());
  return hits;
}

std::string seedText(uint32_t seed) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", seed);
  return text;
}

TEST_F(ScreenThreeTest, SearchListsTheFirstHitsOfTheEggListsWritesThemAllAndHandsOneToStepSix) {
  showScreenThree();
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.maxFrameEdit, "8");
  type(app().screen3.delayMinEdit, "3910");  // the wrong way round: 3909..3910 is searched
  type(app().screen3.delayMaxEdit, "3909");
  fakeControl(app().screen3.searchNatureCombo).selected = 16;  // ひかえめ, nature 15
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  EXPECT_GT(fake().timerPeriod, 0);
  tickOnceTheSearchHasReturned(app());
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  EXPECT_EQ(fake().timerPeriod, 0);
  EXPECT_EQ(fake().openedDocuments, std::vector<std::string>{"search.txt"});

  EggListRequest list{};
  list.frameCount = 8;
  list.tid = 12345;
  list.sid = 54321;
  list.natureChoice = 16;
  std::vector<ModelHit> expected = eggListHits(list, 2026, 3909, 3910);
  ASSERT_GT(expected.size(), 1000u);  // more than the search keeps
  expected.resize(1000);
  EXPECT_EQ(app().eggSearch.hitTotal, 1000);

  std::vector<std::string> file = fileLines(dir_ / "search.txt");
  ASSERT_EQ(file.size(), 1001u);
  EXPECT_EQ(file[0], sj("SEED,回数,なつき+コイン,性格値,性格,特性,性別値,色,日時,待機"));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ModelHit& hit = expected[i];
    ConsoleMoment first{};
    SeedMomentCursor cursor = kSeedMomentStart;
    ASSERT_EQ(listSeedMoments(hit.seed, 2026, cursor, &first, 1).count, 1);
    char moment[64];
    std::snprintf(moment, sizeof moment, ",%04d/%02d/%02d %02d:%02d:%02d,%d", first.year, first.month, first.day,
                  first.hour, first.minute, first.second, hit.delay);
    ASSERT_EQ(file[i + 1], seedText(hit.seed) + "," + hit.line + moment) << i;
  }

  ASSERT_EQ(app().eggSearch.hitCount, 14);
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(std::tie(app().eggSearch.hits[i].seed, app().eggSearch.hits[i].frame, app().eggSearch.hits[i].delay),
              std::tie(expected[i].seed, expected[i].frame, expected[i].delay));
    ASSERT_TRUE(alive(app().screen3.hitButtons[i]));
    EXPECT_EQ(fakeControl(app().screen3.hitButtons[i]).id, kCmdFirstHit + i);
    EXPECT_EQ(fakeControl(app().screen3.hitButtons[i]).rect.y, 135 + 25 * i);
  }
  expectLaidOutWithoutOverlap();
  EXPECT_TRUE(painted(seedText(expected[13].seed)));
  EXPECT_TRUE(painted("完了 1000件"));

  command(kCmdFirstHit + 13);
  EXPECT_EQ(text(app().screen3.momentSeedEdit), seedText(expected[13].seed));
  EXPECT_EQ(text(app().screen3.momentYearEdit), "2026");
  ASSERT_GT(app().moments.momentCount, 0);
  EXPECT_EQ(app().moments.moments[0].delay, expected[13].delay);

  // The search, its hits and buttons outlive a visit to another screen.
  command(kCmdScreenOne);
  command(kCmdScreenThree);
  EXPECT_EQ(app().eggSearch.hitCount, 14);
  EXPECT_TRUE(alive(app().screen3.hitButtons[13]));
  EXPECT_EQ(text(app().screen3.yearEdit), "2026");
  EXPECT_EQ(text(app().screen3.searchTidEdit), "12345");
}

// A search held at the gate, which lets its rows through a few at a time:
// the last 36 delays of the clock (70000 is taken as 65535), for a shiny egg
// of one nature, gender and ability. The window gets its progress tick by
// tick while the search runs; "中止" keeps what was found, closing the window
// ends the search. Each percent is reached when the test says, and the search
// cannot end before it is stopped, whatever the machine's speed.
TEST_F(ScreenThreeTest, ALongSearchReportsProgressAndStopsOrEndsWithTheWindow) {
  showScreenThree();
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.delayMinEdit, "65500");
  type(app().screen3.delayMaxEdit, "70000");
  fakeControl(app().screen3.searchShinyOnlyCheck).checked = true;
  fakeControl(app().screen3.searchNatureCombo).selected = 16;
  fakeControl(app().screen3.searchGenderCombo).selected = 1;
  fakeControl(app().screen3.searchAbilityCombo).selected = 1;
  WorkingDirectory wd(dir_);
  SearchGate gate;
  command(kCmdEggSearch);
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  std::size_t reads = fake().reads.size();
  command(kCmdEggSearch);  // a second search waits for the first to end
  EXPECT_EQ(fake().reads.size(), reads);

  // 256 seeds a row, 24 hours and 36 delays: percent p is reached at the
  // first row count r with r * 256 * 100 >= p * 256 * 24 * 36.
  const int64_t rows = 24 * 36;
  int repaints = 0;
  for (int32_t percent = 1; percent <= 3; ++percent) {
    const int64_t through = (percent * rows + 99) / 100;
    gate.letThrough(through - gate.passed());
    ASSERT_TRUE(gate.waitForRows(through)) << "rows did not go through";
    // The last rows let through may not be counted yet: tick until the window
    // shows them. Only a tick that finds the percent moved asks for a repaint.
    ASSERT_TRUE(waitUntil([&] {
      int before = fake().invalidations;
      shellTimer(app());
      repaints += fake().invalidations > before;
      return app().eggSearch.percent == percent;
    })) << "percent " << percent << " never shown";
    ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
    EXPECT_EQ(repaints, percent);
    EXPECT_TRUE(painted("検索中 " + std::to_string(percent) + "%"));
  }
  shellTimer(app());  // nothing moved: no repaint
  EXPECT_EQ(repaints, 3);

  command(kCmdEggSearchStop);  // the gate still holds the search
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kStopped);
  EXPECT_EQ(fake().timerPeriod, 0);
  EXPECT_TRUE(fake().openedDocuments.empty());
  EXPECT_EQ(fileLines(dir_ / "search.txt").size(), static_cast<std::size_t>(app().eggSearch.hitTotal) + 1);
  for (int i = 0; i < kMaxShownHits; ++i) EXPECT_EQ(alive(app().screen3.hitButtons[i]), i < app().eggSearch.hitCount);
  EXPECT_TRUE(painted("中止 " + std::to_string(app().eggSearch.hitTotal) + "件"));
  command(kCmdEggSearchStop);  // nothing runs: nothing happens
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kStopped);

  command(kCmdEggSearch);
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  EXPECT_EQ(app().eggSearch.hitCount, -1);  // the old list went with the new search
  shellClose(app());
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kStopped);
  shellTimer(app());  // a late tick finds nothing running and stops the timer
  EXPECT_EQ(fake().timerPeriod, 0);
  EXPECT_TRUE(fake().openedDocuments.empty());
}

}  // namespace
