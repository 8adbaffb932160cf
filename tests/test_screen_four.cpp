// Screen 4 over the fake backend: step 6 chooses the moment aimed for, step 7
// builds the calibration table around it, finds the seed the player hit among
// step 3's candidates (or typed) and says what to aim for next time.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/calibration.h"
#include "tests/deadline.h"
#include "tests/shell_fixture.h"
#include "text/cp932.h"

namespace {

class ScreenFourTest : public ShellTest {
 protected:
  // Every control inside the 790 x 535 client area (step 7's within its left
  // half, x < 400), none overlapping another; a drop-down list counts closed.
  void expectLaidOut(int32_t right) {
    std::vector<ControlRect> rects;
    for (ControlHandle h : fakeLiveControls()) {
      ControlRect r = fakeControl(h).rect;
      if (fakeControl(h).kind == ControlKind::kDropDownList) r.height = 22;
      EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= right && r.y + r.height <= 535) << fakeControl(h).id;
      for (const ControlRect& o : rects)
        EXPECT_FALSE(r.x < o.x + o.width && o.x < r.x + r.width && r.y < o.y + o.height && o.y < r.y + r.height)
            << "control " << fakeControl(h).id << " overlaps another";
      rects.push_back(r);
    }
  }
  // Ticks the window's timer until the search has ended, within the tests'
  // one deadline.
  void waitForTheSearch() {
    ASSERT_TRUE(waitUntil([&] {
      shellTimer(app());
      return app().eggSearch.status != SearchStatus::kRunning;
    })) << "the search never ended";
  }
};

std::string seedText(uint32_t seed) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", seed);
  return text;
}

// The game's generator one step forward.
uint32_t nextState(uint32_t s) { return s * 0x41C64E6Du + 0x6073u; }

// The player's loop: a search hit, its moment aimed for in step 6, a try that
// lands one second late and two frames long, its seed found by step 3 from a
// state five steps on, and step 7 naming that cell and the delay to aim for.
TEST_F(ScreenFourTest, AMissedTryFoundInTheTableSaysWhatToAimForNextTime) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.maxFrameEdit, "1");
  type(app().screen3.delayMinEdit, "3909");
  type(app().screen3.delayMaxEdit, "3909");
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  waitForTheSearch();
  ASSERT_GT(app().eggSearch.hitCount, 0);
  command(kCmdFirstHit);
  ASSERT_GT(app().moments.momentCount, 0);
  for (int i = 0; i < kMaxSeedMoments; ++i) {
    ASSERT_EQ(alive(app().screen3.aimButtons[i]), i < app().moments.momentCount);
    if (i < app().moments.momentCount) {
      EXPECT_EQ(fakeControl(app().screen3.aimButtons[i]).id, kCmdFirstAim + i);
    }
  }
  expectLaidOut(790);

  const ConsoleMoment aimed = app().moments.moments[1];
  EXPECT_EQ(aimed.delay, 3909);
  command(kCmdFirstAim + 1);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  expectLaidOut(790);
  // Step 7 keeps to the left half, step 8 to the right.
  for (ControlHandle h : {app().screen4.targetMomentEdit, app().screen4.targetDelayEdit, app().screen4.calibrationSecondsEdit,
                          app().screen4.calibrationDelaysEdit, app().screen4.hitSeedEdit, app().screen4.calibrateButton,
                          app().screen4.applyCorrectionButton})
    EXPECT_LE(fakeControl(h).rect.x + fakeControl(h).rect.width, 400) << fakeControl(h).id;
  for (ControlHandle h : {app().screen4.delayCalibrationEdit, app().screen4.secondCalibrationEdit, app().screen4.minFirstPhaseEdit,
                          app().screen4.planButton, app().screen4.timerButton})
    EXPECT_GT(fakeControl(h).rect.x, 400) << fakeControl(h).id;
  char at[32];
  std::snprintf(at, sizeof at, "%04d-%02d-%02d %02d:%02d:%02d", aimed.year, aimed.month, aimed.day, aimed.hour,
                aimed.minute, aimed.second);
  EXPECT_EQ(text(app().screen4.targetMomentEdit), at);
  EXPECT_EQ(text(app().screen4.targetDelayEdit), "3909");
  EXPECT_EQ(app().aim.targetSeed, app().eggSearch.hits[0].seed) << "the moment chosen gives the hit's seed";
  EXPECT_TRUE(painted("step7:補正"));
  EXPECT_TRUE(painted("step3の候補か当たったSEEDで一致を探します"));
  EXPECT_TRUE(painted("秒-1") && painted("秒+0") && painted("秒+1"));
  EXPECT_TRUE(painted("-5") && painted("+5"));
  // The target's cell is framed: a frame around the painted text of its seed.
  char targetCell[16];
  std::snprintf(targetCell, sizeof targetCell, "0x%08X", app().aim.targetSeed);
  std::vector<PaintOp> ops = fakePaint(app());
  auto cell = std::find_if(ops.begin(), ops.end(), [&](const PaintOp& op) { return op.text == targetCell; });
  ASSERT_NE(cell, ops.end());
  EXPECT_TRUE(std::any_of(ops.begin(), ops.end(), [&](const PaintOp& op) {
    return op.kind == PaintOp::Kind::kFrame && op.x0 < cell->x0 && cell->x0 < op.x1 && op.y0 < cell->y0 &&
           cell->y0 < op.y1;
  }));

  CalibrationCell late{};
  ASSERT_TRUE(calibrationCellAt(CalibrationTable{aimed, 1, 10}, 1, 2, late));
  uint32_t state = late.seed;
  for (int i = 0; i < 5; ++i) state = nextState(state);
  command(kCmdScreenTwo);
  type(app().screen2.currentSeedEdit, seedText(state));
  type(app().screen2.hourEdit, std::to_string(late.moment.hour));
  command(kCmdSeedSearch);
  ASSERT_GT(app().seeds.seedCandidateCount, 0);
  const SeedCandidate* found = std::find_if(app().seeds.seedCandidates, app().seeds.seedCandidates + app().seeds.seedCandidateCount,
                                            [&](const SeedCandidate& c) { return c.stepIndex == 4; });
  ASSERT_NE(found, app().seeds.seedCandidates + app().seeds.seedCandidateCount);
  EXPECT_EQ(found->seed, late.seed);

  command(kCmdScreenFour);
  EXPECT_EQ(text(app().screen4.targetMomentEdit), at) << "the target is kept across screens";
  EXPECT_TRUE(painted("秒 +1・待機 +2 → 次は待機 3907"));
  char matched[128];
  std::snprintf(matched, sizeof matched, "◆0x%08X", late.seed);
  EXPECT_TRUE(painted(matched));
  // Step 7 keeps the candidates it took when screen 2 is built again.
  command(kCmdScreenTwo);
  command(kCmdScreenFour);
  EXPECT_TRUE(painted(matched));
  std::snprintf(matched, sizeof matched, "当たり 0x%08X: %02d/%02d %02d:%02d:%02d 待機3911", late.seed,
                late.moment.month, late.moment.day, late.moment.hour, late.moment.minute, late.moment.second);
  EXPECT_TRUE(painted(matched));

  // Step 8 plans for the target; step 7's correction shortens phase 2 by the
  // two frames the try ran long.
  EXPECT_EQ(app().timer.planOutcome, TimerPlanOutcome::kPlanned);
  EXPECT_EQ(app().timer.planSecondPhase, 65339) << "3909 frames: 65339.4 ms";
  command(kCmdApplyCorrection);
  EXPECT_EQ(text(app().screen4.delayCalibrationEdit), "-2");
  EXPECT_EQ(app().timer.planSecondPhase, 65306) << "3907 frames: 65305.9 ms";
  EXPECT_TRUE(painted("step7 秒 +1 → 秒補正を -500 ms ほど動かす"));
  // The same try pressed again: its miss stays applied once, and step 7 says so.
  command(kCmdApplyCorrection);
  EXPECT_EQ(text(app().screen4.delayCalibrationEdit), "-2");
  EXPECT_EQ(app().timer.planSecondPhase, 65306);
  EXPECT_TRUE(painted("秒 +1・待機 +2 → 次は待機 3907"));
  EXPECT_TRUE(painted("(この試行の補正は反映済み)"));
  // A second calibration of -59800 ms cannot move by another -500 ms.
  type(app().screen4.secondCalibrationEdit, "-59800");
  command(kCmdPlan);
  EXPECT_TRUE(painted("step7 秒 +1 → 秒補正では直せません(-60000～60000 ms)"));
  // The next try missed the same way, from a delay calibration of -9999: the
  // correction stops at the field's end, and step 8 says so.
  app().aim.correctionApplied = 0;
  type(app().screen4.delayCalibrationEdit, "-9999");
  command(kCmdPlan);
  command(kCmdApplyCorrection);
  EXPECT_EQ(text(app().screen4.delayCalibrationEdit), "-9999");
  EXPECT_TRUE(painted("待機補正は-9999～9999まで: -9999を使いました"));
}

// 2026-04-27 02:58:59, delay 370: 0xE102018C. Typed targets, ranges taken at
// their ends, a typed hit far out (the shown part follows it), no match, and a
// target that cannot be read.
TEST_F(ScreenFourTest, TypedTargetRangesAndHitSeed) {
  start();
  command(kCmdScreenFour);
  EXPECT_TRUE(painted("step6で「狙う」を押すか、日時と待機を入れて「表を計算」"));
  EXPECT_EQ(text(app().screen4.calibrationSecondsEdit), "1");
  EXPECT_EQ(text(app().screen4.calibrationDelaysEdit), "10");
  type(app().screen4.targetMomentEdit, "2026/4/27 2:58:59");
  type(app().screen4.targetDelayEdit, "370");
  type(app().screen4.calibrationSecondsEdit, "9999");
  type(app().screen4.calibrationDelaysEdit, "-4");
  // 300 s later is 03:03:59: AA = 108 + 3 + 59 = 170 = 0xAA, BB = 3.
  type(app().screen4.hitSeedEdit, "0xAA03018C");
  command(kCmdCalibrate);
  EXPECT_EQ(app().aim.calibrationSeconds, 600);
  EXPECT_EQ(app().aim.calibrationDelays, 0);
  EXPECT_EQ(app().aim.targetSeed, 0xE102018Cu);
  EXPECT_TRUE(painted("狙い 2026/04/27 02:58:59 待機370 (0xE102018C)"));
  EXPECT_TRUE(painted("秒 +300・待機 +0 → 次は待機 370"));
  EXPECT_TRUE(painted("秒+299") && painted("秒+300") && painted("秒+301"));
  EXPECT_TRUE(painted("◆0xAA03018C"));

  // 0xA702018E (hour 2, delay 372, minute + second 59) is 02:59:00 and ten
  // more moments within 600 s (02:49:10, 02:50:09, ...): the nearest is named.
  // A hit 474 delays late (0xE1020366, delay 844): no delay of 0 or more corrects it.
  type(app().screen4.calibrationSecondsEdit, "1");
  type(app().screen4.calibrationDelaysEdit, "500");
  type(app().screen4.hitSeedEdit, "0xE1020366");
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("秒 +0・待機 +474 → 待機なし(0未満)"));

  type(app().screen4.calibrationSecondsEdit, "600");
  type(app().screen4.calibrationDelaysEdit, "10");
  type(app().screen4.hitSeedEdit, "0xA702018E");
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("秒 +1・待機 +2 → 次は待機 368"));
  EXPECT_TRUE(painted("一致 11件: 上は狙いに最も近いもの"));

  type(app().screen4.calibrationSecondsEdit, "1");
  type(app().screen4.hitSeedEdit, "0xAA03018C");
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("表の中に一致なし(秒±1・待機±10)"));
  EXPECT_TRUE(painted("秒+0") && painted("+6") && painted("-6"));

  type(app().screen4.targetMomentEdit, "2026-02-30 00:00:00");
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("日時が読めません(例 2026-04-27 02:58:59)"));
  EXPECT_EQ(app().aim.targetSeed, 0xE102018Cu) << "the last readable target stays";

  // Step 7's command is taken only on its screen; the menu's own entry twice builds nothing new.
  std::size_t created = fake().controls.size();
  command(kCmdScreenFour);
  EXPECT_EQ(fake().controls.size(), created);
  command(kCmdScreenOne);
  fake().reads.clear();
  command(kCmdCalibrate);
  command(kCmdFirstAim);
  EXPECT_TRUE(fake().reads.empty());
  EXPECT_EQ(app().screenMode, ScreenMode::kOne);
}

// The countdown on an injected clock: 2026-04-27 02:58:59, delay 370 with
// the default 14 s shortest phase 1. Phase 2 = round(370000 / 59.8261) = 6185
// ms; T = 59000 ms, so n = 0 and phase 1 = 59000 - 6185 = 52815 ms from
// setting the clock to 02:58. Cues at 49815, 50815, 51815 (second), 52815
// (end), then 56000, 57000, 58000 (second) and 59000 (end).
TEST_F(ScreenFourTest, TheCountdownFollowsTheClockWithItsCuesFlashAndStop) {
  start();
  command(kCmdScreenFour);
  EXPECT_EQ(fake().focused, app().screen4.timerButton) << "the space bar starts the countdown";
  EXPECT_TRUE(painted("step7の狙いから計画します"));
  type(app().screen4.targetMomentEdit, "2026-04-27 02:58:59");
  type(app().screen4.targetDelayEdit, "370");
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("時計 2026/04/27 02:58 に合わせる"));
  EXPECT_TRUE(painted("起動まで 52.815 秒"));
  EXPECT_TRUE(painted("続きからまで 6.185 秒"));

  fake().now = 1000000;
  command(kCmdTimer);
  // Every cue handed to the sound at the start, on the monotonic clock.
  const int64_t seconds[] = {49815, 50815, 51815, 56000, 57000, 58000};
  const int64_t ends[] = {52815, 59000};
  ASSERT_EQ(fake().cueStarts.size(), 1u);
  const std::vector<TimedCue>& cues = fake().cueStarts[0];
  ASSERT_EQ(cues.size(), 8u);
  for (std::size_t i = 0; i < cues.size(); ++i) {
    const int64_t at = cues[i].at - 1000000;
    const bool end = std::find(std::begin(ends), std::end(ends), at) != std::end(ends);
    EXPECT_TRUE(end || std::find(std::begin(seconds), std::end(seconds), at) != std::end(seconds)) << at;
    EXPECT_EQ(cues[i].cue, end ? CueSound::kEnd : CueSound::kSecond) << at;
    if (i > 0) {
      EXPECT_LT(cues[i - 1].at, cues[i].at);
    }
  }
  EXPECT_EQ(app().timer.countdownRunning, 1);
  EXPECT_EQ(fake().focused, app().screen4.timerButton) << "the space bar presses it again";
  EXPECT_EQ(fake().timerPeriod, 10);
  // Ticks at uneven, drifting intervals: only the clock counts.
  const int64_t steps[] = {7, 49808, 1, 999, 1000, 1000, 16, 500, 2185, 1000, 999, 2, 999, 1000, 399, 1, 600};
  for (int64_t step : steps) {
    fake().now += step;
    shellTimer(app());
  }
  EXPECT_EQ(app().timer.countdownRunning, 0) << "after the last end has flashed";
  EXPECT_TRUE(painted("完了"));
  EXPECT_EQ(fake().timerPeriod, 0);

  // Started again: a second of 10 ms ticks repaints the digits at least 30
  // times; shown mid-phase, flashing at phase 1's end; stopped, it resets.
  command(kCmdTimer);
  int before = fake().invalidations;
  for (int i = 0; i < 100; ++i) {
    fake().now += 10;
    shellTimer(app());
  }
  EXPECT_GE(fake().invalidations - before, 30);
  fake().now -= 1000;  // the rest of this test counts from the start
  fake().now += 40000;
  shellTimer(app());
  std::vector<PaintOp> ops = fakePaint(app());
  EXPECT_TRUE(std::any_of(ops.begin(), ops.end(), [](const PaintOp& op) {
    return op.kind == PaintOp::Kind::kLargeText && op.text == "12.815";
  }));
  EXPECT_TRUE(painted("起動まで"));
  fake().now += 12815;
  shellTimer(app());
  ops = fakePaint(app());
  EXPECT_TRUE(std::any_of(ops.begin(), ops.end(),
                          [](const PaintOp& op) { return op.kind == PaintOp::Kind::kFilledRect; }));
  const int stops = fake().cueStops;
  command(kCmdTimer);
  EXPECT_EQ(app().timer.countdownRunning, 0);
  EXPECT_EQ(fake().cueStops, stops + 1) << "a stop cancels the cues not yet heard";
  EXPECT_TRUE(painted("スタートで時計を決定した瞬間から計ります"));

  // Whatever becomes of the sound, the countdown runs on and says why it is
  // silent, one reason under it, kept after a stop, gone when the sound is back.
  const std::pair<SoundState, const char*> failures[] = {
      {SoundState::kNoServer, "音が出せません: サーバーか出力装置がありません"},
      {SoundState::kNoStream, "音が出せません: 出力を開けません(表示と点滅で)"},
      {SoundState::kDeviceLost, "音が止まりました: 出力装置かサーバーが消えました"},
  };
  auto notes = [&] {
    std::vector<std::string> said;
    for (const PaintOp& op : fakePaint(app()))
      if (op.kind == PaintOp::Kind::kText && op.text.starts_with(sj("音が")))
        said.push_back(cp932ToUtf8(op.text) + " at " + std::to_string(op.x0) + "," + std::to_string(op.y0));
    return said;
  };
  for (const auto& [state, note] : failures) {
    fake().soundState = SoundState::kPlaying;
    command(kCmdTimer);
    fake().now += 20000;
    shellTimer(app());
    EXPECT_EQ(notes(), std::vector<std::string>{}) << note;
    fake().soundState = state;
    fake().now += 30000;
    shellTimer(app());
    EXPECT_EQ(app().timer.countdownRunning, 1);
    EXPECT_EQ(app().timer.countdownPhase, CountdownPhase::kFirst);
    EXPECT_EQ(notes(), std::vector<std::string>{std::string(note) + " at 410,345"});
    command(kCmdTimer);
    EXPECT_EQ(notes(), std::vector<std::string>{std::string(note) + " at 410,345"}) << "after the stop";
  }
  fake().soundState = SoundState::kIdle;
  command(kCmdTimer);
  fake().now += 20000;
  shellTimer(app());
  EXPECT_EQ(notes(), std::vector<std::string>{});
}

}  // namespace

namespace {

// A text file's lines, each ended by "\n" whatever the platform ends them with.
std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
  std::erase(text, '\r');
  return text;
}

// The target and the three calibrations outlive the window in timer.txt: a
// restart plans with them at once. A damaged file gives back the defaults of
// what it spoils, and says so. With delay calibration -3 and second
// calibration +250 ms, phase 2 = round(367000 / 59.8261) = 6134 ms and phase
// 1 = 59250 - 6134 = 53116 ms.
TEST_F(ScreenFourTest, TheTimersSettingsAreKeptInTimerTxtAcrossARestart) {
  start();
  command(kCmdScreenFour);
  type(app().screen4.targetMomentEdit, "2026-04-27 02:58:59");
  type(app().screen4.targetDelayEdit, "370");
  command(kCmdCalibrate);
  type(app().screen4.delayCalibrationEdit, "-3");
  type(app().screen4.secondCalibrationEdit, "250");
  type(app().screen4.minFirstPhaseEdit, "20000");
  command(kCmdPlan);
  EXPECT_EQ(fileText(dir_ / "timer.txt"),
            "delay_calibration=-3\nsecond_calibration=250\nmin_first_phase=20000\n"
            "target=2026-04-27 02:58:59\ntarget_delay=370\n");

  auto restart = [&] {
    shellClose(app());
    fakeReset();
    app() = AppState{};
    start();
    command(kCmdScreenFour);
  };
  restart();
  EXPECT_EQ(text(app().screen4.delayCalibrationEdit), "-3");
  EXPECT_EQ(text(app().screen4.secondCalibrationEdit), "250");
  EXPECT_EQ(text(app().screen4.minFirstPhaseEdit), "20000");
  EXPECT_EQ(text(app().screen4.targetMomentEdit), "2026-04-27 02:58:59");
  EXPECT_TRUE(painted("狙い 2026/04/27 02:58:59 待機370 (0xE102018C)"));
  EXPECT_TRUE(painted("起動まで 53.116 秒"));
  EXPECT_TRUE(painted("続きからまで 6.134 秒"));
  EXPECT_FALSE(painted("timer.txtの1行を読めず既定値にしました"));

  // Two values out of range or unreadable, a date that does not exist: the
  // defaults for those, the good minimum kept, and no half a target (its
  // delay line unused).
  writeFile(dir_ / "timer.txt",
            "delay_calibration=abc\r\nsecond_calibration=60001\nmin_first_phase=15000\n"
            "target=2026-02-30 00:00:00\ntarget_delay=5\n");
  restart();
  EXPECT_EQ(text(app().screen4.delayCalibrationEdit), "0");
  EXPECT_EQ(text(app().screen4.secondCalibrationEdit), "0");
  EXPECT_EQ(text(app().screen4.minFirstPhaseEdit), "15000");
  EXPECT_EQ(app().timer.settings.targetSet, 0);
  EXPECT_TRUE(painted("timer.txtの4行を読めず既定値にしました"));
}

// What the player typed wrong in steps 7 and 8, named with the value used,
// which timer.txt keeps; an unreadable target leaves no table of the old one.
TEST_F(ScreenFourTest, EveryMistypedFieldIsNamedWithTheValueUsed) {
  start();
  command(kCmdScreenFour);
  ScreenFourControls& c = app().screen4;
  type(c.targetMomentEdit, "2026-04-27 02:58:59");
  type(c.delayCalibrationEdit, "-3");
  command(kCmdPlan);
  expectFieldNotes({{c.targetDelayEdit, "70000", kCmdCalibrate, "狙いの待機は0～65535まで: 65535を使いました", "65535"},
                    {c.calibrationSecondsEdit, "1x", kCmdCalibrate, "秒±を読めません: 1x (1を使いました)", "1"},
                    {c.calibrationDelaysEdit, "1001", kCmdCalibrate, "待機±は0～1000まで: 1000を使いました", "1000"},
                    {c.hitSeedEdit, "0xZZ", kCmdCalibrate, "当たったSEEDを読めません: 0xZZ", "0xZZ"},
                    {c.delayCalibrationEdit, "abc", kCmdPlan, "待機補正を読めません: abc (0を使いました)", "0"},
                    {c.secondCalibrationEdit, "99999999", kCmdPlan, "秒補正は-60000～60000まで: 60000を使いました", "60000"},
                    {c.minFirstPhaseEdit, "-5", kCmdPlan, "最短起動は0～600000まで: 0を使いました", "0"}});
  EXPECT_EQ(fileText(dir_ / "timer.txt"), "delay_calibration=0\nsecond_calibration=60000\nmin_first_phase=0\n"
                                          "target=2026-04-27 02:58:59\ntarget_delay=65535\n");
  ASSERT_TRUE(painted("秒+0"));
  type(c.targetMomentEdit, "2026-02-30 00:00:00");
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("日時が読めません(例 2026-04-27 02:58:59)"));
  EXPECT_FALSE(painted("秒+0") || painted("枠=狙い ◆=当たり"));
}

// timer.txt's notes go once the file has been written whole.
TEST_F(ScreenFourTest, TheTimerFilesNotesGoWithAWholeWrite) {
  writeFile(dir_ / "timer.txt", "delay_calibration=abc\n");
  start();
  command(kCmdScreenFour);
  const std::string notes[] = {"timer.txtの1行を読めず既定値にしました",
                               std::string("timer.txtを保存できません: ") + kFolderInTheWayReason};
  std::filesystem::remove(dir_ / "timer.txt");
  std::filesystem::create_directory(dir_ / "timer.txt");
  type(app().screen4.delayCalibrationEdit, "5");
  command(kCmdPlan);
  EXPECT_TRUE(painted(notes[0]) && painted(notes[1]));
  std::filesystem::remove(dir_ / "timer.txt");
  command(kCmdPlan);
  EXPECT_FALSE(painted(notes[0]) || painted(notes[1]));
}

}  // namespace

namespace {

// The coin's sides of a seed's first flips and Elm's first answers, from
// models of the games' rules: the standard library's twister seeded with the
// initial seed (an odd output is heads, 表), and the LCG drawn one by one (a
// draw is the new state's upper 16 bits; after Pokérus an answer is draw mod
// 3: E, K, P).
std::string flipsOf(uint32_t seed, int count) {
  std::mt19937 twister(seed);
  std::string sides;
  for (int i = 0; i < count; ++i) sides += twister() % 2 == 1 ? "表" : "裏";
  return sides;
}

std::string answersOf(uint32_t seed, int skip, int count) {
  uint32_t state = seed;
  std::string letters;
  for (int i = 0; i < skip + count; ++i) {
    state = nextState(state);
    if (i >= skip) letters += "EKP"[(state >> 16) % 3];
  }
  return letters;
}

// 2026-05-28 00:58:58, delay 3909 (0x00000F5F), aimed; the try lands one
// second late and two frames long. Step 6 shows what the console will show
// on the aimed seed; step 7 finds the late cell from its flips, or from Elm's
// answers after two draws taken by the roaming legendaries.
TEST_F(ScreenFourTest, TheCoinsFlipsOrElmsAnswersTellTheHit) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.momentSeedEdit, "0x00000F5F");
  type(app().screen3.momentYearEdit, "2026");
  command(kCmdMoments);
  EXPECT_TRUE(painted("コイン " + flipsOf(0x00000F5Fu, 10)));
  EXPECT_TRUE(painted("電話 " + answersOf(0x00000F5Fu, 0, 10)));

  command(kCmdScreenFour);
  type(app().screen4.targetMomentEdit, "2026-05-28 00:58:58");
  type(app().screen4.targetDelayEdit, "3909");
  command(kCmdCalibrate);
  ASSERT_EQ(app().aim.targetSeed, 0x00000F5Fu);
  CalibrationCell late{};
  ASSERT_TRUE(calibrationCellAt(CalibrationTable{app().timer.settings.target, 1, 10}, 1, 2, late));
  char marked[16];
  std::snprintf(marked, sizeof marked, "◆0x%08X", late.seed);

  type(app().screen4.coinEdit, flipsOf(late.seed, 10));
  command(kCmdCalibrate);
  EXPECT_TRUE(painted(marked));
  EXPECT_TRUE(painted("秒 +1・待機 +2 → 次は待機 3907"));
  char named[96];
  std::snprintf(named, sizeof named, "当たり 0x%08X: 05/28 00:58:59 待機3911 skip0", late.seed);
  EXPECT_TRUE(painted(named));

  type(app().screen4.coinEdit, "");
  type(app().screen4.callsEdit, answersOf(late.seed, 2, 8));
  command(kCmdCalibrate);
  EXPECT_TRUE(painted(marked));
  std::snprintf(named, sizeof named, "当たり 0x%08X: 05/28 00:58:59 待機3911 skip2", late.seed);
  EXPECT_TRUE(painted(named));

  // Nothing is refused silently: a letter outside the set is named.
  type(app().screen4.coinEdit, "表裏x");
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("コインに使えない文字「x」(表裏HTのみ)"));
  type(app().screen4.coinEdit, "");
  type(app().screen4.callsEdit, "EKP");
  platformSetChecked(app().screen4.beforePokerusCheck, true);
  command(kCmdCalibrate);
  EXPECT_TRUE(painted("電話に使えない文字「P」(ポケルス前はEKのみ)"));

  // One flip matches about half the cells: the count and the flips still
  // needed to leave one are said.
  platformSetChecked(app().screen4.beforePokerusCheck, false);
  type(app().screen4.callsEdit, "");
  type(app().screen4.coinEdit, "H");
  command(kCmdCalibrate);
  EXPECT_GT(app().aim.matchCount, 1);
  EXPECT_GT(app().aim.tellApart, 0);
  char more[96];
  std::snprintf(more, sizeof more, "一致%d件・あと%d回投げれば1つに", app().aim.matchCount, app().aim.tellApart);
  EXPECT_TRUE(painted(more));
}

}  // namespace
