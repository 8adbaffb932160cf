// The calculations never touch the heap. This binary replaces the global
// operator new/delete, and on glibc outside the sanitizer builds also malloc,
// calloc and realloc (forwarding to glibc's own), counting every allocation
// made while a calculation runs. Each test counts around one calculation only;
// everything it needs, the output stream and its buffer included, is set up
// before counting starts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "core/calibration.h"
#include "core/egg_iv_search.h"
#include "core/egg_ivs.h"
#include "core/egg_list.h"
#include "core/egg_search.h"
#include "core/hit_sequence.h"
#include "core/measurement.h"
#include "core/pid_search.h"
#include "core/seed_backtrack.h"
#include "core/timer_plan.h"
#include "core/typed_numbers.h"
#include "data/tables.h"

namespace {
bool gCounting = false;
long gAllocations = 0;

void noteAllocation() {
  if (gCounting) ++gAllocations;
}

// Counts the allocations made by `work`.
template <typename F>
long allocationsDuring(F&& work) {
  gAllocations = 0;
  gCounting = true;
  work();
  gCounting = false;
  return gAllocations;
}

AppState gApp;  // large; kept out of the stack
}  // namespace

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(QUILLMAR_NO_MALLOC_COUNT)
// glibc lets a program replace malloc and its family; its own internal calls
// (stdio buffers, iconv) then come here too.
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void __libc_free(void*);
void* malloc(std::size_t n) {
  noteAllocation();
  return __libc_malloc(n);
}
void* calloc(std::size_t count, std::size_t n) {
  noteAllocation();
  return __libc_calloc(count, n);
}
void* realloc(void* p, std::size_t n) {
  noteAllocation();
  return __libc_realloc(p, n);
}
void free(void* p) { __libc_free(p); }
}
constexpr bool kCountsMalloc = true;
#else
constexpr bool kCountsMalloc = false;
#endif

// Where malloc is counted, operator new is counted through it.
void* operator new(std::size_t n) {
  if (!kCountsMalloc) noteAllocation();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(NoAllocation, TheCounterSeesAllocations) {
  // Without this the zero counts below would prove nothing.
  long seen = allocationsDuring([] {
    int* volatile p = new int(7);
    delete p;
  });
  EXPECT_EQ(seen, 1);
  if (kCountsMalloc) {
    seen = allocationsDuring([] {
      void* volatile p = std::malloc(16);
      std::free(p);
    });
    EXPECT_EQ(seen, 1);
    // The C library's own allocations are seen too (fopen allocates its FILE).
    seen = allocationsDuring([] {
      if (std::FILE* f = std::fopen("/dev/null", "r")) std::fclose(f);
    });
    EXPECT_GE(seen, 1);
  }
}

TEST(NoAllocation, PidSearchFixedAndRange) {
  AppState& app = gApp;
  app = AppState{};
  const IvRange fixed[kStatCount] = {{10, 10}, {12, 12}, {22, 22}, {0, 0}, {7, 7}, {29, 29}};
  for (int i = 0; i < kStatCount; ++i) app.measure.ivRanges[i] = fixed[i];
  app.measure.natureIndex = 15;
  app.measure.measurementCount = 1;
  PidSearchKind kind = PidSearchKind::kNotRun;
  EXPECT_EQ(allocationsDuring([&] { kind = searchPidCandidates(app.pids, app.measure); }), 0);
  EXPECT_EQ(kind, PidSearchKind::kFixed);
  ASSERT_EQ(app.pids.pidCandidateCount, 1);
  EXPECT_EQ(app.pids.pidCandidates[0].pid, 0x84EA0B71u);
  EXPECT_EQ(app.pids.pidCandidates[0].currentSeed, 0x2684AD1Fu);

  // H and A open: the range search walks H 0.., A 0.. and stops at 16 candidates.
  app.measure.ivRanges[0] = {0, 31};
  app.measure.ivRanges[1] = {0, 31};
  EXPECT_EQ(allocationsDuring([&] { kind = searchPidCandidates(app.pids, app.measure); }), 0);
  EXPECT_EQ(kind, PidSearchKind::kRange);
  ASSERT_EQ(app.pids.pidCandidateCount, 16);
  EXPECT_EQ(app.pids.pidCandidates[0].pid, 0x6A0A91EFu);
  EXPECT_EQ(app.pids.pidCandidates[15].pid, 0xD68976E2u);
  EXPECT_EQ(app.pids.pidCandidates[15].currentSeed, 0x7C1896B2u);
}

StatBlock block(int32_t h, int32_t a, int32_t b, int32_t s, int32_t c, int32_t d) { return StatBlock{{h, a, b, s, c, d}}; }

TEST(NoAllocation, MeasurementNarrowingAndReset) {
  AppState& app = gApp;
  app = AppState{};
  buildNatureTable(app.natureTable);
  bool second = false;
  bool reset = false;
  EXPECT_EQ(allocationsDuring([&] {
              startStepOne(app.measure, app.pids);
              // HP base 45 at level 5 showing 20: IVs 10..29, narrowing level 6;
              // at level 6 showing 22: IVs 10..26.
              takeFirstMeasurement(app.measure, app.natureTable, block(45, 45, 45, 45, 45, 45), 0, 5, block(20, 10, 10, 10, 10, 10));
              second = takeNextMeasurement(app.measure, app.natureTable, 6, block(22, 11, 11, 11, 11, 11));
              reset = resetMeasurement(app.measure, app.pids);
            }),
            0);
  EXPECT_TRUE(second);
  EXPECT_TRUE(reset);
  EXPECT_EQ(app.measure.measurementCount, 0);

  takeFirstMeasurement(app.measure, app.natureTable, block(45, 45, 45, 45, 45, 45), 0, 5, block(20, 10, 10, 10, 10, 10));
  EXPECT_EQ(app.measure.ivRanges[0].low, 10);
  EXPECT_EQ(app.measure.ivRanges[0].high, 29);
  EXPECT_EQ(app.measure.narrowLevels[0], 6);
  EXPECT_EQ(allocationsDuring([&] { second = takeNextMeasurement(app.measure, app.natureTable, 6, block(22, 11, 11, 11, 11, 11)); }), 0);
  EXPECT_TRUE(second);
  EXPECT_EQ(app.measure.ivRanges[0].low, 10);
  EXPECT_EQ(app.measure.ivRanges[0].high, 26);
  EXPECT_EQ(app.measure.narrowLevels[0], 7);
}

TEST(NoAllocation, BackTrackingAndTypedNumbers) {
  AppState& app = gApp;
  app = AppState{};
  int32_t steps = 0;
  int32_t hour = 0;
  EXPECT_EQ(allocationsDuring([&] {
              app.seeds.currentSeed = parseSeedText("0x2684ad1f");
              steps = parseDecimalText("1000");
              hour = parseDecimalText("52");
              backtrackInitialSeeds(app.seeds, steps, hour);
            }),
            0);
  EXPECT_EQ(app.seeds.currentSeed, 0x2684AD1Fu);
  ASSERT_EQ(app.seeds.seedCandidateCount, 4);
  EXPECT_EQ(app.seeds.seedCandidates[0].seed, 0x12345678u);
  EXPECT_EQ(app.seeds.seedCandidates[0].stepIndex, 4);
  EXPECT_EQ(app.seeds.seedCandidates[3].seed, 0x0334FF52u);
  EXPECT_EQ(app.seeds.seedCandidates[3].stepIndex, 978);

  // The full 9999 steps, stopping at the 10th candidate.
  app.seeds.currentSeed = 0x2684AD1F;
  EXPECT_EQ(allocationsDuring([&] { backtrackInitialSeeds(app.seeds, 9999, 12); }), 0);
  ASSERT_EQ(app.seeds.seedCandidateCount, 10);
  EXPECT_EQ(app.seeds.seedCandidates[9].seed, 0x590C3574u);
  EXPECT_EQ(app.seeds.seedCandidates[9].stepIndex, 2536);
}

TEST(NoAllocation, CalibrationTableAndMatches) {
  // The widest table, 1201 seconds by 2001 delays, listed and searched in pages.
  const CalibrationTable table{{2026, 4, 27, 2, 58, 59, 370}, 600, 1000};
  static CalibrationCell page[64];
  const uint32_t hits[] = {0xA702018Eu, 0x12345678u};
  int64_t cells = 0;
  int64_t matches = 0;
  EXPECT_EQ(allocationsDuring([&] {
              CalibrationCursor cursor = calibrationStart(table);
              for (int32_t n = 64; n == 64; cells += n) n = listCalibrationCells(table, cursor, page, 64);
              cursor = calibrationStart(table);
              for (int32_t n = 64; n == 64; matches += n) n = findCalibrationMatches(table, hits, 2, cursor, page, 64);
            }),
            0);
  EXPECT_EQ(cells, 1201 * 1371) << "delays below 0 have no cell: only 0..1370 of 370 - 1000..370 + 1000";
  // 0xA702018E is hour 2, delay 372 and minute + second = 167 - 4 * 27 = 59:
  // 02:49:10, 02:50:09, ..., 02:59:00 lie within 600 s of 02:58:59.
  EXPECT_EQ(matches, 11);
}

TEST(NoAllocation, HitSequencesMatchedOverATable) {
  // 121 x 201 cells, several of the matcher's rounds, on the calling thread:
  // ten flips, two flips past the twister's short reach, six answers at skips
  // 0..4, and what tells the last page of the second apart.
  const CalibrationTable table{{2026, 4, 27, 2, 58, 59, 370}, 60, 100};
  static HitMatch page[64];
  HitSearch searches[3] = {{HitSource::kCoin, false, 0, 0, {}},
                           {HitSource::kCoin, false, 300, 0, {}},
                           {HitSource::kElm, false, 4, 0, {}}};
  const char* typed[3] = {"THTHH TTTTT", "ht", "PPKEEP"};
  int64_t matches[3] = {};
  int32_t apart = 0;
  uint8_t letters[kMaxHitLetters];
  EXPECT_EQ(allocationsDuring([&] {
              coinFlips(0xA702018Eu, kMaxHitSkip, kMaxHitLetters, letters);
              elmAnswers(0xA702018Eu, kMaxHitSkip, kMaxHitLetters, true, letters);
              for (int k = 0; k < 3; ++k) {
                parseHitText(typed[k], searches[k]);
                CalibrationCursor cursor = calibrationStart(table);
                for (int32_t n = 64; n == 64; matches[k] += n) {
                  n = findHitMatches(table, searches[k], cursor, page, 64, 1);
                  if (k == 1 && n > 1) apart = lettersToTellApart(searches[1], page, n);
                }
              }
            }),
            0);
  // Cell +1s, +2 (0xA702018E) flips THTHHTTTTT and answers PPKEEP at skip 2.
  EXPECT_GE(matches[0], 1);
  EXPECT_GT(matches[1], 121 * 201 / 8) << "about a quarter of the cells flip HT";
  EXPECT_GE(matches[2], 1);
  EXPECT_NE(apart, 0);
}

TEST(NoAllocation, TimerPlanAndCountdown) {
  // A plan that carries back over a year, then its countdown ticked every 10 ms.
  TimerPlan plan{};
  int64_t cues = 0;
  int64_t lastEvent = 0;
  EXPECT_EQ(allocationsDuring([&] {
              if (planTimer({{2026, 1, 1, 0, 0, 5, 5000}, -20, 250, 14000}, plan) != TimerPlanOutcome::kPlanned) return;
              for (int64_t t = 0, previous = -1; t <= plan.firstPhase + plan.secondPhase; previous = t, t += 10) {
                const CountdownTick tick = countdownAt(plan, previous, t);
                cues += tick.secondCues + tick.endCues;
                lastEvent = nextCountdownEvent(plan, t);
              }
            }),
            0);
  // 4980 frames = 83241 ms; 5250 + 60000 n - 83241 >= 14000 first for n = 2.
  EXPECT_EQ(plan.clock.year, 2025);
  EXPECT_EQ(plan.firstPhase, 42009);
  EXPECT_EQ(cues, 8) << "both phases last over 3 s: three second cues and an end each";
  EXPECT_EQ(lastEvent, -1);
}

TEST(NoAllocation, EggListFormattingToAnOpenStream) {
  AppState& app = gApp;
  app = AppState{};
  std::FILE* sink = std::tmpfile();
  ASSERT_NE(sink, nullptr);
  // The stream's buffer is ours, so stdio has nothing to allocate either.
  static char streamBuffer[1 << 16];
  ASSERT_EQ(std::setvbuf(sink, streamBuffer, _IOFBF, sizeof streamBuffer), 0);

  EggListRequest plain{};
  plain.initialSeed = 0;
  plain.frameCount = 1300;  // past the second twist
  EXPECT_EQ(allocationsDuring([&] { writeEggPidList(app.eggList, plain, sink); }), 0);

  EggListRequest filtered{};
  filtered.initialSeed = 0x12345678;
  filtered.frameCount = 5000;
  filtered.tid = 12345;
  filtered.sid = 54321;
  filtered.internationalMarriage = true;
  filtered.natureChoice = 20;
  filtered.genderChoice = 4;
  filtered.abilityChoice = 2;
  EXPECT_EQ(allocationsDuring([&] { writeEggPidList(app.eggList, filtered, sink); }), 0);
  EXPECT_EQ(app.eggList.eggFrameCount, 5000);
  EXPECT_EQ(app.eggList.settings.internationalMarriage, 1);
  std::fclose(sink);
}

// The egg search on the calling thread alone (more threads start std::threads,
// which the platform allocates): the scan, the gathering, the heap of a full
// array and the sort use the caller's array and the stack only.
TEST(NoAllocation, EggSearchOnOneThread) {
  static EggHit hits[64];
  EggSearchRequest request{};
  request.window.year = 2099;
  request.window.delayMin = 65430;
  request.window.delayMax = 65440;  // CCCC wraps past 65535
  request.window.hourMask = 1u << 5 | 1u << 17;
  request.egg.frameCount = 700;  // the whole-twister path
  request.egg.natureChoice = 3;
  request.egg.internationalMarriage = true;
  YearSearchResult result{};
  for (YearSearchKernel kernel : {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512}) {
    if (!yearSearchKernelAvailable(kernel)) continue;
    request.kernel = kernel;
    EXPECT_EQ(allocationsDuring([&] { result = runEggSearch(request, hits, 64, YearSearchControl{1, nullptr, nullptr}); }),
              0);
    EXPECT_EQ(result.status, YearSearchStatus::kDone);
    EXPECT_EQ(result.count, 64);  // about 5,000 frames of that nature: the array fills
  }
}

// The egg's IVs: at a distant n, listed page by page, and searched over a
// year's window on the calling thread with every kernel.
TEST(NoAllocation, EggIvsListingAndSearchOnOneThread) {
  const EggParents parents{EggGame::kHgss, {31, 31, 31, 31, 31, 31}, {}, PowerItem::kBelt, PowerItem::kLens};
  EggIvListRequest list{0x0916014Au, 5000, parents, {{31, 31}, {0, 31}, {0, 31}, {0, 31}, {0, 31}, {0, 31}}};
  EggIvLine page[64];
  int32_t lines = 0;
  EggIvs distant{};
  EXPECT_EQ(allocationsDuring([&] {
              distant = eggIvsAt(list.seed, 3000000000u, parents);
              for (EggIvCursor cursor = eggIvListStart(list); cursor.frame < list.frameCount;) {
                lines += listEggIvs(list, cursor, page, 64);
              }
            }),
            0);
  EXPECT_GT(lines, 100);  // H is 31 at about 1 n in 32, and more from parent A
  // The belt's B or the lens's C is always inherited.
  EXPECT_TRUE(distant.from[2] != IvSource::kRandom || distant.from[4] != IvSource::kRandom);

  static EggIvHit hits[64];
  // CCCC wraps past 65535; 5,000 n pass the 4,096 after which a row looks at the stop.
  EggIvSearchRequest search{2099, 65430, 65440, 1u << 5 | 1u << 17, 5000, parents, {}, YearSearchKernel::Auto};
  for (IvRange& range : search.ranges) range = IvRange{0, 31};
  search.ranges[0] = search.ranges[3] = IvRange{30, 31};
  for (YearSearchKernel kernel : {YearSearchKernel::Scalar, YearSearchKernel::Avx2, YearSearchKernel::Avx512}) {
    if (!yearSearchKernelAvailable(kernel)) continue;
    search.kernel = kernel;
    YearSearchResult result{};
    const YearSearchControl control{1, nullptr, nullptr};
    EXPECT_EQ(allocationsDuring([&] { result = runEggIvSearch(search, hits, 64, control); }), 0);
    EXPECT_EQ(result.status, YearSearchStatus::kDone);
    EXPECT_EQ(result.count, 64);
  }
}
