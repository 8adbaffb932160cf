// The egg search's threads. A thread the system refuses is reported, with
// the threads already started stopped and joined: by the engine, the command
// line and the window. A search stopped at any row on 2 to 4 threads hands
// over only hits it found, in order. The window's search job, started,
// stopped, restarted and closed mid-search many times, leaves the window as a
// search that ran alone would. A search that ends while the IV dialog is open
// is taken in after the dialog. The hit matcher pages the same matches on 1
// to 4 threads. scripts/test.sh also runs this file alone under
// ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/egg_search.h"
#include "core/hit_sequence.h"
#include "core/thread_start.h"
#include "tests/cli_run.h"
#include "tests/deadline.h"
#include "tests/search_gate.h"
#include "tests/shell_fixture.h"
#include "ui/search_job.h"

namespace {

bool before(const EggHit& a, const EggHit& b) {
  return std::tie(a.frame, a.delay, a.seed) < std::tie(b.frame, b.delay, b.seed);
}
bool sameHit(const EggHit& a, const EggHit& b) {
  return std::tie(a.seed, a.frame, a.delay, a.pid) == std::tie(b.seed, b.frame, b.delay, b.pid);
}

// 2026, delays 300..319 of every hour (480 rows of 256 seeds), IDs 12345 /
// 54321. `shape` 0: frames 0..39 of one nature, about 200,000 hits, so that a
// small limit soon narrows the rows; 1: shiny eggs with 国際結婚 among frames
// 0..99, a few hundred, so that every row is scanned; 2: frames 0..19 of one
// gender and ability, about 600,000 hits.
EggSearchRequest smallSearch(int shape) {
  EggSearchRequest r{};
  r.window.year = 2026;
  r.window.delayMin = 300;
  r.window.delayMax = 319;
  r.window.hourMask = 0xFFFFFFu;
  r.egg.tid = 12345;
  r.egg.sid = 54321;
  r.egg.frameCount = shape == 0 ? 40 : shape == 1 ? 100 : 20;
  r.egg.natureChoice = shape == 0 ? 16 : 0;
  r.egg.internationalMarriage = shape == 1;
  r.egg.shinyOnly = shape == 1;
  r.egg.genderChoice = shape == 2 ? 1 : 0;
  r.egg.abilityChoice = shape == 2 ? 2 : 0;
  r.kernel = YearSearchKernel::Auto;
  return r;
}
constexpr int64_t kSmallSearchRows = 20 * 24;

// Every hit of the request, found on one thread (the hits do not depend on
// the thread count: tests/test_egg_search.cpp holds them to the egg lists).
std::vector<EggHit> allHits(const EggSearchRequest& r) {
  std::vector<EggHit> hits(1u << 20);
  const YearSearchResult result =
      runEggSearch(r, hits.data(), int32_t(hits.size()), YearSearchControl{1, nullptr, nullptr});
  EXPECT_EQ(result.status, YearSearchStatus::kDone);
  EXPECT_LT(std::size_t(result.count), hits.size());
  hits.resize(std::size_t(result.count));
  return hits;
}

// What a stopped search may hand over: hits in the search's order, each one
// of the request's.
void expectFoundHits(const EggHit* hits, int32_t count, const std::vector<EggHit>& all, const std::string& what) {
  for (int32_t i = 0; i < count; ++i) {
    ASSERT_TRUE(i == 0 || before(hits[i - 1], hits[i])) << what << ": out of order at " << i;
    auto at = std::lower_bound(all.begin(), all.end(), hits[i], before);
    ASSERT_TRUE(at != all.end() && sameHit(*at, hits[i])) << what << ": hit " << i << " is not one of the request's";
  }
}

// --- a thread the system refuses -------------------------------------------

// Helper n of the search refused (n = 1..threads-1): nothing is handed over,
// and the helpers started before it have been joined, or the program would
// have ended on their destruction. A refused helper of the final sort costs
// nothing: the other threads sort its part.
TEST(SearchThreads, ARefusedHelperStopsTheSearchAndAnotherSortsInItsPlace) {
  const EggSearchRequest r = smallSearch(0);
  const std::vector<EggHit> all = allHits(r);
  ASSERT_GT(all.size(), 100000u);  // the final sort is shared between threads
  std::vector<EggHit> hits(all.size() + 1);
  for (int32_t threads = 2; threads <= 4; ++threads) {
    for (int32_t refused = 1; refused <= threads; ++refused) {
      SCOPED_TRACE(testing::Message() << threads << " threads, start " << refused << " refused");
      failThreadStart(refused);
      const YearSearchResult result =
          runEggSearch(r, hits.data(), int32_t(hits.size()), YearSearchControl{threads, nullptr, nullptr});
      failThreadStart(0);
      if (refused < threads) {
        EXPECT_EQ(result.status, YearSearchStatus::kNoThreads);
        EXPECT_EQ(result.count, 0);
        continue;
      }
      ASSERT_EQ(result.status, YearSearchStatus::kDone);
      ASSERT_EQ(std::size_t(result.count), all.size());
      EXPECT_TRUE(std::equal(all.begin(), all.end(), hits.begin(), sameHit));
    }
  }
}

TEST(SearchThreads, TheCommandLineExitsOneWhenTheSystemRefusesAThread) {
  failThreadStart(2);  // the second helper of three threads
  CliResult r = runCliCaptured({"egg-search", "--year", "2026", "--threads", "3", "--delay-min", "300", "--delay-max",
                                "301"});
  failThreadStart(0);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "quillmar-cli: error: the system refused a thread for the search: try a smaller --threads\n");
  // The same search on one thread needs none.
  failThreadStart(1);
  r = runCliCaptured({"egg-search", "--year", "2026", "--threads", "1", "--delay-min", "300", "--delay-max", "301"});
  failThreadStart(0);
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

// --- stops at any point ------------------------------------------------------

// The stop is set from the row hook once the chosen row has been scanned, by
// every thread that scans a row from then on: each of them stops at its next
// row, even while the thread that reached the chosen row first is held up
// before its store.
std::atomic<bool> gStop{false};
std::atomic<int64_t> gRows{0};
std::atomic<int64_t> gStopRow{0};
void stopAtTheChosenRow(const YearSearchControl&) {
  if (gRows.fetch_add(1) + 1 >= gStopRow.load()) gStop.store(true);
}

// A search stopped at a random row on 2 to 4 threads, with a limit that
// narrows the rows or one that holds every hit: stopped, it hands over hits
// it found, in order, having scanned at most a row per thread beyond the stop;
// not stopped (the chosen row was never reached), it hands over the first
// hits exactly.
// 41 x 801 cells in rounds of 64 to 16,384, the rounds of several blocks
// scanned by 1 to 4 threads (on 3, the second helper refused), in pages of 100
// of the about 4,000 cells that flip HTH.
TEST(SearchThreads, HitMatchesAreTheSameOnOneToFourThreads) {
  const CalibrationTable table{{2026, 4, 27, 2, 58, 59, 1370}, 20, 400};
  HitSearch search{HitSource::kCoin, false, 0, 0, {}};
  ASSERT_EQ(parseHitText("HTH", search).status, HitTextStatus::kOk);
  std::vector<std::tuple<int32_t, int32_t, uint32_t>> found[4];
  for (int32_t threads = 1; threads <= 4; ++threads) {
    if (threads == 3) failThreadStart(2);
    HitMatch page[100];
    CalibrationCursor cursor = calibrationStart(table);
    for (int32_t n = 100; n == 100;) {
      n = findHitMatches(table, search, cursor, page, 100, threads);
      for (int32_t i = 0; i < n; ++i) {
        found[threads - 1].emplace_back(page[i].cell.secondOffset, page[i].cell.delayOffset, page[i].cell.seed);
      }
    }
    failThreadStart(0);
    EXPECT_EQ(found[threads - 1], found[0]) << threads << " threads";
  }
  EXPECT_GT(found[0].size(), 41u * 801u / 16u);
}

TEST(SearchThreads, StoppedAtRandomRowsOnTwoToFourThreads) {
  std::mt19937 random(21042026u);
  int stopped = 0;
  for (int shape = 0; shape < 3; ++shape) {
    const EggSearchRequest r = smallSearch(shape);
    const std::vector<EggHit> all = allHits(r);
    for (int run = 0; run < 12; ++run) {
      const int32_t threads = 2 + run % 3;
      const int32_t capacity = run % 2 == 0 ? 100 : int32_t(all.size()) + 1;
      const int64_t stopRow = 1 + int64_t(random() % kSmallSearchRows);
      const std::string what = "shape " + std::to_string(shape) + ", " + std::to_string(threads) +
                               " threads, limit " + std::to_string(capacity) + ", stop at row " +
                               std::to_string(stopRow);
      std::vector<EggHit> hits(static_cast<std::size_t>(capacity));
      std::atomic<int64_t> done{0};
      gStop.store(false);
      gRows.store(0);
      gStopRow.store(stopRow);
      setYearSearchRowHook(stopAtTheChosenRow);
      const YearSearchResult result =
          runEggSearch(r, hits.data(), capacity, YearSearchControl{threads, &done, &gStop});
      setYearSearchRowHook(nullptr);
      if (result.status == YearSearchStatus::kCancelled) {
        ++stopped;
        ASSERT_LE(result.count, capacity) << what;
        expectFoundHits(hits.data(), result.count, all, what);
        EXPECT_GE(done.load(), stopRow * 256) << what;
        EXPECT_LE(done.load(), (stopRow + threads - 1) * 256) << what;
        continue;
      }
      ASSERT_EQ(result.status, YearSearchStatus::kDone) << what;
      const std::size_t first = std::min(all.size(), std::size_t(capacity));
      ASSERT_EQ(std::size_t(result.count), first) << what;
      EXPECT_TRUE(std::equal(all.begin(), all.begin() + std::ptrdiff_t(first), hits.begin(), sameHit)) << what;
    }
  }
  EXPECT_GT(stopped, 18);  // the stops landed: every search that scans every row is stopped
}

// The job's thread count is the one set when it starts: a count set while it
// runs is for the next job (each row reports the engine's count of its search).
std::atomic<int32_t> gRowThreads{0};
void recordRowThreads(const YearSearchControl& control) { gRowThreads.store(control.threads); }

TEST(SearchJobThreads, TheCountIsTakenWhenTheJobStarts) {
  setYearSearchRowHook(&recordRowThreads);
  for (const auto& [atStart, meanwhile] : {std::pair{3, 1}, std::pair{1, 4}, std::pair{2, 3}}) {
    SCOPED_TRACE(testing::Message() << atStart << " threads at the start, " << meanwhile << " set meanwhile");
    gRowThreads.store(0);
    searchJobSetThreads(atStart);
    SearchRequest request{};
    request.egg = smallSearch(1);
    ASSERT_TRUE(searchJobStart(SearchKind::kEgg, request));
    searchJobSetThreads(meanwhile);
    ASSERT_TRUE(waitUntil([] { return searchJobReturned(SearchKind::kEgg); })) << "the search never returned";
    EXPECT_EQ(searchJobCollect(SearchKind::kEgg).result.status, YearSearchStatus::kDone);
    EXPECT_EQ(gRowThreads.load(), atStart);
  }
  setYearSearchRowHook(nullptr);
  searchJobSetThreads(0);
}

// --- the window ----------------------------------------------------------------

class SearchThreadsWindowTest : public ShellTest {
 protected:
  void TearDown() override {
    failThreadStart(0);
    searchJobSetThreads(0);
    ShellTest::TearDown();
  }

  void openOnScreenThree() {
    fakeReset();
    app_ = std::make_unique<AppState>();
    start();
    command(kCmdScreenThree);
  }

  // Step 5's edits for smallSearch(shape).
  void typeSmallSearch(int shape) {
    const EggSearchRequest r = smallSearch(shape);
    type(app().screen3.yearEdit, "2026");
    type(app().screen3.searchTidEdit, "12345");
    type(app().screen3.searchSidEdit, "54321");
    type(app().screen3.maxFrameEdit, std::to_string(r.egg.frameCount));
    type(app().screen3.delayMinEdit, "300");
    type(app().screen3.delayMaxEdit, "319");
    fakeControl(app().screen3.searchMarriageCheck).checked = r.egg.internationalMarriage;
    fakeControl(app().screen3.searchShinyOnlyCheck).checked = r.egg.shinyOnly;
    fakeControl(app().screen3.searchNatureCombo).selected = r.egg.natureChoice;
    fakeControl(app().screen3.searchGenderCombo).selected = r.egg.genderChoice;
    fakeControl(app().screen3.searchAbilityCombo).selected = r.egg.abilityChoice;
  }

  // The listed hits and their buttons, against the request's hits.
  void expectListed(const std::vector<EggHit>& all, bool whole, const std::string& what) {
    std::vector<EggHit> listed;
    for (int i = 0; i < app().eggSearch.hitCount; ++i) {
      const SearchHit& h = app().eggSearch.hits[i];
      listed.push_back(EggHit{h.seed, h.frame, h.delay, h.pid});
      ASSERT_TRUE(alive(app().screen3.hitButtons[i])) << what;
    }
    for (int i = app().eggSearch.hitCount; i < kMaxShownHits; ++i) ASSERT_FALSE(alive(app().screen3.hitButtons[i])) << what;
    ASSERT_EQ(fileLines(dir_ / "search.txt").size(), std::size_t(app().eggSearch.hitTotal) + 1) << what;
    if (!whole) {
      expectFoundHits(listed.data(), int32_t(listed.size()), all, what);
      return;
    }
    ASSERT_EQ(std::size_t(app().eggSearch.hitTotal), std::min<std::size_t>(all.size(), kSearchHitLimit)) << what;
    ASSERT_EQ(std::size_t(app().eggSearch.hitCount), std::min<std::size_t>(all.size(), kMaxShownHits)) << what;
    EXPECT_TRUE(std::equal(listed.begin(), listed.end(), all.begin(), sameHit)) << what;
  }
};

// 120 searches on 2 to 4 threads, each stopped, left to end or closed with
// the window after a few ticks at random moments, some held at the gate: the window ends every one
// with its timer stopped and its thread joined, and lists exactly the first
// hits of a search that ended (by itself, or before a tick took it in), or
// hits of the request in order for one that was stopped. A closed window is
// opened anew for the next search.
TEST_F(SearchThreadsWindowTest, StartedStoppedRestartedAndClosedMidSearchManyTimes) {
  WorkingDirectory wd(dir_);
  std::vector<EggHit> all[3];
  for (int shape = 0; shape < 3; ++shape) all[shape] = allHits(smallSearch(shape));
  std::mt19937 random(1208u);
  openOnScreenThree();
  int ends[2] = {};  // stopped mid-search, ended
  for (int run = 0; run < 120; ++run) {
    const int shape = int(random() % 3);
    const int32_t threads = 2 + int32_t(random() % 3);
    const int how = int(random() % 3);  // 0: "中止", 1: left to end, 2: the window closed
    const std::string what = "run " + std::to_string(run) + ", shape " + std::to_string(shape) + ", " +
                             std::to_string(threads) + " threads, " +
                             (how == 0 ? "stopped" : how == 1 ? "ended" : "closed");
    // Every other stop or close comes while the gate holds the search after
    // a few of the first delay's 24 rows, which every search scans: those
    // land mid-search for certain; the others land where the clock puts them.
    const bool held = how != 1 && random() % 2 == 0;
    std::optional<SearchGate> gate;
    if (held) gate.emplace();
    searchJobSetThreads(threads);
    typeSmallSearch(shape);
    command(kCmdEggSearch);
    ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning) << what;
    if (held) {
      const int64_t rows = int64_t(random() % 21);
      gate->letThrough(rows);
      ASSERT_TRUE(gate->waitForRows(rows)) << what << ": rows did not go through";
    }
    for (int ticks = int(random() % 4); ticks > 0; --ticks) {
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
      shellTimer(app());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
    if (how == 0) {
      command(kCmdEggSearchStop);
    } else if (how == 1) {
      ASSERT_TRUE(waitUntil([] { return !searchJobActive(SearchKind::kEgg) || searchJobReturned(SearchKind::kEgg); })) << what << ": never returned";
      shellTimer(app());
    } else {
      shellClose(app());
    }
    ASSERT_FALSE(searchJobActive(SearchKind::kEgg)) << what;
    ASSERT_EQ(fake().timerPeriod, 0) << what;
    gate.reset();
    ASSERT_TRUE(!held || app().eggSearch.status == SearchStatus::kStopped) << what;
    // A tick that found the search returned has ended it already, and "中止"
    // after the search returned takes it in as ended.
    const bool finished = app().eggSearch.status == SearchStatus::kFinished;
    ASSERT_TRUE(finished || (how != 1 && app().eggSearch.status == SearchStatus::kStopped)) << what;
    if (how == 2 && !finished) {
      openOnScreenThree();  // the window went, its search with it
      continue;
    }
    ++ends[finished ? 1 : 0];
    expectListed(all[shape], finished, what);
    if (HasFatalFailure()) return;
    if (how == 2) openOnScreenThree();
  }
  EXPECT_GT(ends[0], 0);
  EXPECT_GT(ends[1], 0);
}

// The worker started, but the engine could not start its helper: the window
// takes that in as a search that could not start. The earlier list, its year
// and status and search.txt stay, and step 5 says so.
TEST_F(SearchThreadsWindowTest, ARefusedEngineThreadLeavesTheEarlierListAndSaysSo) {
  WorkingDirectory wd(dir_);
  openOnScreenThree();
  typeSmallSearch(1);
  command(kCmdEggSearch);
  ASSERT_TRUE(waitUntil([] { return searchJobReturned(SearchKind::kEgg); })) << "the search never returned";
  shellTimer(app());
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  ASSERT_GT(app().eggSearch.hitCount, 0);
  const SearchHit first = app().eggSearch.hits[0];
  const int32_t listed = app().eggSearch.hitCount;
  const std::vector<std::string> file = fileLines(dir_ / "search.txt");
  const std::size_t opened = fake().openedDocuments.size();

  type(app().screen3.yearEdit, "2030");
  searchJobSetThreads(2);
  failThreadStart(2);  // the worker is start 1, the engine's one helper start 2
  command(kCmdEggSearch);
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  ASSERT_TRUE(waitUntil([] { return searchJobReturned(SearchKind::kEgg); })) << "the search never returned";
  failThreadStart(0);
  shellTimer(app());
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  EXPECT_EQ(app().eggSearch.notStarted, 1);
  EXPECT_EQ(app().eggSearch.year, 2026);
  ASSERT_EQ(app().eggSearch.hitCount, listed);
  EXPECT_EQ(app().eggSearch.hits[0].seed, first.seed);
  EXPECT_TRUE(alive(app().screen3.hitButtons[listed - 1]));
  EXPECT_EQ(fileLines(dir_ / "search.txt"), file);
  EXPECT_EQ(fake().openedDocuments.size(), opened);
  EXPECT_EQ(fake().timerPeriod, 0);
  const std::string note = sj("スレッドを作れず、検索を始められませんでした。一覧は前のままです");
  bool said = false;
  for (const PaintOp& op : fakePaint(app())) said = said || (op.kind == PaintOp::Kind::kText && op.text == note);
  EXPECT_TRUE(said);
}

// The IV dialog's loop ticks the timer while a search returns: the window
// takes the search in on the first tick after the dialog, not inside it.
TEST_F(SearchThreadsWindowTest, ASearchThatEndsWhileTheIvDialogIsOpenIsTakenInAfterIt) {
  WorkingDirectory wd(dir_);
  openOnScreenThree();
  typeSmallSearch(1);
  command(kCmdEggSearch);
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  command(kCmdScreenOne);
  bool ran = false;
  fake().dialogInput = [&](AppState& a, ControlHandle) {
    ran = true;
    ASSERT_TRUE(waitUntil([] { return searchJobReturned(SearchKind::kEgg); })) << "the search never returned";
    shellTimer(a);  // ticks of the dialog's loop
    shellTimer(a);
    EXPECT_EQ(a.eggSearch.status, SearchStatus::kRunning);
    EXPECT_GT(fake().timerPeriod, 0);
    EXPECT_TRUE(fake().openedDocuments.empty());
    EXPECT_TRUE(fileLines(dir_ / "search.txt").empty());
    fakeType(a.ivDialog.ivDialogEdits[0], "5");
  };
  fake().dialogOutcome = DialogOutcome::kOk;
  command(kCmdIvEntry);
  ASSERT_TRUE(ran);
  EXPECT_EQ(app().measure.measurementCount, 1);
  EXPECT_EQ(app().measure.ivRanges[0].low, 5);
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  shellTimer(app());  // the first tick after the dialog
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  EXPECT_EQ(fake().timerPeriod, 0);
  EXPECT_EQ(fake().openedDocuments, std::vector<std::string>{"search.txt"});
  const std::vector<EggHit> all = allHits(smallSearch(1));
  EXPECT_EQ(std::size_t(app().eggSearch.hitTotal), std::min<std::size_t>(all.size(), kSearchHitLimit));
  for (ControlHandle h : app().screen3.hitButtons) EXPECT_EQ(h, 0);  // screen 1 has no hit buttons
}

}  // namespace
