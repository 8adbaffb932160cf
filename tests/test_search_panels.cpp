// The failure paths of every search panel, step 5's egg search, step 10's
// IV search, step 12's creature search and step 14's ID search alike, over
// the fake backend: a search that cannot start, a list
// cut at the hit limit, a hit file that cannot be written, and a search that
// ends while the IV dialog's loop runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/thread_start.h"
#include "tests/deadline.h"
#include "tests/search_fixture.h"
#include "ui/search_job.h"

namespace {

// What a test needs of one panel's step: its screen and commands, its
// window's edits, its panel and buttons, its file and its notes.
struct PanelCase {
  const char* name;
  SearchKind kind;
  int32_t screenCommand;
  int32_t searchCommand;
  int32_t firstHitCommand;
  SearchPanel AppState::*panel;
  int32_t shownHits;
  const char* hitFile;
  const char* notStartedNote;  // UTF-8
  const char* cutNote;         // UTF-8, the limit's count in front
  int32_t screenTimerPeriod;   // the timer's period on the step's screen with no search running
  // Year, delays and frames typed into the step's edits.
  void (*typeWindow)(const char* year, const char* delayMin, const char* delayMax, const char* frames);
  // One filter set that keeps well under a thousand of one delay's 6144 seeds at frame 0.
  void (*narrow)();
  ControlHandle* (*buttons)();
};

AppState* gApp = nullptr;

const PanelCase kCases[] = {
    {"EggSearch", SearchKind::kEgg, kCmdScreenThree, kCmdEggSearch, kCmdFirstHit, &AppState::eggSearch, kMaxShownHits,
     "search.txt", "スレッドを作れず、検索を始められませんでした。一覧は前のままです",
     "1000件で打ち切り。回まで・待機を狭めるか、絞り込みを足してください", 0,
     [](const char* year, const char* low, const char* high, const char* frames) {
       fakeType(gApp->screen3.yearEdit, year);
       fakeType(gApp->screen3.delayMinEdit, low);
       fakeType(gApp->screen3.delayMaxEdit, high);
       fakeType(gApp->screen3.maxFrameEdit, frames);
     },
     [] { fakeControl(gApp->screen3.searchNatureCombo).selected = 1; },  // one nature of 25
     [] { return gApp->screen3.hitButtons; }},
    {"IvSearch", SearchKind::kEggIvs, kCmdScreenFive, kCmdIvSearch, kCmdFirstIvHit, &AppState::ivSearch,
     kMaxShownIvHits, "ivs-search.txt", "スレッドを作れず検索できませんでした", "1000件で打ち切り。回まで・待機・範囲を狭めて", 0,
     [](const char* year, const char* low, const char* high, const char* frames) {
       fakeType(gApp->screen5.ivYearEdit, year);
       fakeType(gApp->screen5.ivDelayMinEdit, low);
       fakeType(gApp->screen5.ivDelayMaxEdit, high);
       fakeType(gApp->screen5.ivMaxFrameEdit, frames);
     },
     [] { fakeType(gApp->screen5.ivMinEdits[0], "31"); },  // H 31, with parents of 0: only a random 31
     [] { return gApp->screen5.ivHitButtons; }},
    // Step 11's defaults (a gift, nothing filtered); screen 6 ticks for its lists' greying.
    {"WildSearch", SearchKind::kWild, kCmdScreenSix, kCmdWildSearch, kCmdFirstWildHit, &AppState::wildSearch,
     kMaxShownWildHits, "wild-search.txt", "スレッドを作れず検索できませんでした",
     "1000件で打ち切り。消費数・待機・条件を狭めて", 100,
     [](const char* year, const char* low, const char* high, const char* frames) {
       fakeType(gApp->screen6.searchYearEdit, year);
       fakeType(gApp->screen6.searchDelayMinEdit, low);
       fakeType(gApp->screen6.searchDelayMaxEdit, high);
       fakeType(gApp->screen6.searchAdvanceEdit, frames);
     },
     [] { fakeControl(gApp->screen6.natureCombo).selected = 1; },  // one nature of 25
     [] { return gApp->screen6.hitButtons; }},
    {"IdSearch", SearchKind::kIds, kCmdScreenSeven, kCmdIdSearch, kCmdFirstIdHit, &AppState::idSearch, kMaxShownIdHits,
     "id-search.txt", "スレッドを作れず検索できませんでした", "1000件で打ち切り。待機を狭めるかIDを指定して", 0,
     [](const char* year, const char* low, const char* high, const char*) {  // nothing wanted: every seed
       fakeType(gApp->screen7.yearEdit, year);
       fakeType(gApp->screen7.searchDelayMinEdit, low);
       fakeType(gApp->screen7.searchDelayMaxEdit, high);
     },
     [] {  // PID 0 shiny: TID ^ SID < 8, one seed in 8192, over 100 delays
       fakeType(gApp->screen7.searchDelayMaxEdit, "399");
       fakeType(gApp->screen7.pidEdit, "0x00000000");
     },
     [] { return gApp->screen7.hitButtons; }},
};

class SearchPanelTest : public SearchTest, public ::testing::WithParamInterface<PanelCase> {
 protected:
  const PanelCase& kind() const { return GetParam(); }
  SearchPanel& panel() { return app().*kind().panel; }

  void openStep() {
    start();
    gApp = &app();
    command(kind().screenCommand);
  }

  // Ticks the window's timer as its loop would until the search has ended.
  void finishPanelSearch() {
    ASSERT_TRUE(waitUntil([this] {
      shellTimer(app());
      return panel().status != SearchStatus::kRunning;
    })) << "the search has not ended";
  }

  bool paintedContaining(const std::string& utf8) {
    for (const PaintOp& op : fakePaint(app()))
      if (op.kind == PaintOp::Kind::kText && op.text.find(sj(utf8)) != std::string::npos) return true;
    return false;
  }
};

// "検索" with no thread to be had: the list, its buttons, the year and the
// status stay as they were, with the note that the search did not start; the
// kept hits still go to step 6 in their year. The next search that starts
// takes the note away.
TEST_P(SearchPanelTest, ASearchThatCannotStartKeepsTheListAndSaysSo) {
  WorkingDirectory wd(dir_);
  openStep();
  kind().typeWindow("2026", "300", "300", "1");
  command(kind().searchCommand);
  finishPanelSearch();
  ASSERT_EQ(panel().hitCount, kind().shownHits);
  const uint32_t firstSeed = panel().hits[0].seed;
  const std::vector<std::string> file = fileLines(dir_ / kind().hitFile);
  EXPECT_FALSE(painted(kind().notStartedNote));

  kind().typeWindow("2030", "300", "300", "1");
  failThreadStart(1);  // the search's worker
  command(kind().searchCommand);
  failThreadStart(0);
  EXPECT_EQ(panel().status, SearchStatus::kFinished);
  EXPECT_EQ(panel().notStarted, 1);
  EXPECT_EQ(fake().timerPeriod, kind().screenTimerPeriod);
  ASSERT_EQ(panel().hitCount, kind().shownHits);
  EXPECT_EQ(panel().hits[0].seed, firstSeed);
  EXPECT_TRUE(alive(kind().buttons()[kind().shownHits - 1]));
  EXPECT_EQ(panel().year, 2026);
  EXPECT_EQ(fileLines(dir_ / kind().hitFile), file);
  EXPECT_TRUE(painted(kind().notStartedNote));
  EXPECT_TRUE(painted("完了 1000件"));
  command(kind().firstHitCommand);
  EXPECT_EQ(app().moments.momentYear, 2026);
  EXPECT_EQ(app().moments.moments[0].delay, 300);

  command(kind().screenCommand);  // step 10's hit went on to screen 3
  kind().typeWindow("2030", "300", "300", "1");
  command(kind().searchCommand);
  EXPECT_EQ(panel().status, SearchStatus::kRunning);
  EXPECT_FALSE(painted(kind().notStartedNote));
  finishPanelSearch();
  EXPECT_EQ(panel().year, 2030);
}

// Every seed of one delay at frame 0 with nothing filtered: 256 x 24 = 6144
// hits, of which the list keeps the first 1000, says so and how to narrow the
// search; the file holds them under its header. Filtered to well under a
// thousand, the list keeps every hit and says nothing of a cut.
TEST_P(SearchPanelTest, AListCutAtTheLimitSaysSo) {
  WorkingDirectory wd(dir_);
  openStep();
  kind().typeWindow("2026", "300", "300", "1");
  command(kind().searchCommand);
  finishPanelSearch();
  ASSERT_EQ(panel().status, SearchStatus::kFinished);
  EXPECT_EQ(panel().hitTotal, 1000);
  EXPECT_EQ(panel().hitsCut, 1);
  EXPECT_EQ(fileLines(dir_ / kind().hitFile).size(), 1001u);
  EXPECT_TRUE(painted("完了 1000件"));
  EXPECT_TRUE(painted(kind().cutNote));

  kind().narrow();
  command(kind().searchCommand);
  finishPanelSearch();
  ASSERT_EQ(panel().status, SearchStatus::kFinished);
  EXPECT_GT(panel().hitTotal, kind().shownHits);
  EXPECT_LT(panel().hitTotal, 1000);
  EXPECT_EQ(fileLines(dir_ / kind().hitFile).size(), std::size_t(panel().hitTotal) + 1);
  EXPECT_FALSE(painted(kind().cutNote));
}

// A folder named as the hit file: the search is listed and says "完了", and
// that its file was not saved, and why; nothing is opened. Once the folder is
// gone the next search writes and opens the file and the note goes.
TEST_P(SearchPanelTest, AHitFileThatCannotBeWrittenIsSaidWithItsReason) {
  WorkingDirectory wd(dir_);
  openStep();
  kind().typeWindow("2026", "300", "300", "1");
  kind().narrow();
  std::filesystem::create_directory(dir_ / kind().hitFile);
  command(kind().searchCommand);
  finishPanelSearch();
  ASSERT_EQ(panel().status, SearchStatus::kFinished);
  EXPECT_EQ(panel().hitCount, kind().shownHits);
  EXPECT_TRUE(painted("完了 " + std::to_string(panel().hitTotal) + "件"));
  const std::string unsaved = std::string(kind().hitFile) + "を保存できません: ";
  EXPECT_TRUE(painted(unsaved + kFolderInTheWayReason));
  EXPECT_TRUE(fake().openedDocuments.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / kind().hitFile));

  std::filesystem::remove(dir_ / kind().hitFile);
  command(kind().searchCommand);
  finishPanelSearch();
  EXPECT_EQ(fake().openedDocuments, std::vector<std::string>{kind().hitFile});
  EXPECT_EQ(fileLines(dir_ / kind().hitFile).size(), std::size_t(panel().hitTotal) + 1);
  EXPECT_FALSE(paintedContaining(unsaved));
}

// The IV dialog's loop ticks the timer while a search returns: the window
// takes the search in on the first tick after the dialog, not inside it.
TEST_P(SearchPanelTest, ASearchThatEndsWhileTheIvDialogIsOpenIsTakenInAfterIt) {
  WorkingDirectory wd(dir_);
  openStep();
  kind().typeWindow("2026", "300", "300", "1");
  kind().narrow();
  command(kind().searchCommand);
  ASSERT_EQ(panel().status, SearchStatus::kRunning);
  command(kCmdScreenOne);
  bool ran = false;
  const SearchKind searchKind = kind().kind;
  SearchPanel& shown = panel();
  const std::string file = kind().hitFile;
  fake().dialogInput = [&](AppState& a, ControlHandle) {
    ran = true;
    ASSERT_TRUE(waitUntil([searchKind] { return searchJobReturned(searchKind); })) << "the search never returned";
    shellTimer(a);  // ticks of the dialog's loop
    shellTimer(a);
    EXPECT_EQ(shown.status, SearchStatus::kRunning);
    EXPECT_GT(fake().timerPeriod, 0);
    EXPECT_TRUE(fake().openedDocuments.empty());
    EXPECT_FALSE(std::filesystem::exists(dir_ / file));
    fakeType(a.ivDialog.ivDialogEdits[0], "5");
  };
  fake().dialogOutcome = DialogOutcome::kOk;
  command(kCmdIvEntry);
  ASSERT_TRUE(ran);
  EXPECT_EQ(app().measure.ivRanges[0].low, 5);
  EXPECT_EQ(panel().status, SearchStatus::kRunning);
  shellTimer(app());  // the first tick after the dialog
  EXPECT_EQ(panel().status, SearchStatus::kFinished);
  EXPECT_EQ(fake().timerPeriod, 0);
  EXPECT_EQ(fake().openedDocuments, std::vector<std::string>{file});
  EXPECT_EQ(fileLines(dir_ / file).size(), std::size_t(panel().hitTotal) + 1);
  for (int32_t i = 0; i < kind().shownHits; ++i) EXPECT_EQ(kind().buttons()[i], 0);  // screen 1 has no hit buttons
}

INSTANTIATE_TEST_SUITE_P(EveryPanel, SearchPanelTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PanelCase>& param) { return std::string(param.param.name); });

}  // namespace
