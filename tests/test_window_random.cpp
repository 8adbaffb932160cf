// The window fed long random sequences of commands and typed texts over the
// fake backend: no crash, and after every step the state is consistent. Every
// count stays within -1..its capacity, every control handle AppState holds
// belongs to a live control of the screen shown, and no live control is
// missing from AppState (none leaked, none lost).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "shell_fixture.h"
#include "tests/deadline.h"
#include "ui/search_job.h"

namespace {

// Restores the working directory (the window writes "result.txt" there).
struct WorkingDirectoryGuard {
  std::filesystem::path previous = std::filesystem::current_path();
  ~WorkingDirectoryGuard() {
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
  }
};

std::vector<ControlHandle> screenOneHandles(const AppState& app) {
  std::vector<ControlHandle> h{app.screen1.speciesEdit, app.screen1.speciesButton, app.screen1.levelEdit,   app.screen1.natureCombo,
                               app.screen1.resetButton, app.screen1.addButton,     app.screen1.searchButton, app.screen1.ivEntryButton};
  for (ControlHandle c : app.screen1.baseStatEdits) h.push_back(c);
  for (ControlHandle c : app.screen1.statEdits) h.push_back(c);
  for (ControlHandle c : app.screen1.candidateButtons) h.push_back(c);
  return h;
}

std::vector<ControlHandle> screenTwoHandles(const AppState& app) {
  std::vector<ControlHandle> h{app.screen2.currentSeedEdit, app.screen2.hourEdit,        app.screen2.seedSearchButton,  app.screen2.stepLimitEdit,
                               app.screen2.tidEdit,         app.screen2.sidEdit,         app.screen2.initialSeedEdit,   app.screen2.marriageCheck,
                               app.screen2.outputButton,    app.screen2.frameCountEdit,  app.screen2.shinyOnlyCheck,    app.screen2.natureFilterCombo,
                               app.screen2.genderFilterCombo, app.screen2.abilityFilterCombo, app.screen2.everstoneCheck,
                               app.screen2.everstoneCombo};
  for (ControlHandle c : app.screen2.seedResultEdits) h.push_back(c);
  return h;
}

std::vector<ControlHandle> screenThreeHandles(const AppState& app) {
  std::vector<ControlHandle> h{app.screen3.yearEdit,          app.screen3.searchTidEdit,      app.screen3.searchSidEdit,
                               app.screen3.searchMarriageCheck, app.screen3.searchShinyOnlyCheck, app.screen3.searchNatureCombo,
                               app.screen3.searchGenderCombo,  app.screen3.searchAbilityCombo, app.screen3.maxFrameEdit,
                               app.screen3.delayMinEdit,       app.screen3.delayMaxEdit,       app.screen3.eggSearchButton,
                               app.screen3.eggSearchStopButton, app.screen3.momentSeedEdit,    app.screen3.momentYearEdit,
                               app.screen3.momentButton,       app.screen3.toStepFourButton,   app.screen3.searchEverstoneCheck,
                               app.screen3.searchEverstoneCombo};
  for (ControlHandle c : app.screen3.hitButtons) h.push_back(c);
  for (ControlHandle c : app.screen3.aimButtons) h.push_back(c);
  return h;
}

std::vector<ControlHandle> screenFourHandles(const AppState& app) {
  return {app.screen4.targetMomentEdit,      app.screen4.targetDelayEdit,       app.screen4.calibrationSecondsEdit,
          app.screen4.calibrationDelaysEdit, app.screen4.hitSeedEdit,           app.screen4.calibrateButton,
          app.screen4.applyCorrectionButton, app.screen4.delayCalibrationEdit,  app.screen4.secondCalibrationEdit,
          app.screen4.minFirstPhaseEdit,     app.screen4.planButton,            app.screen4.timerButton,
          app.screen4.coinEdit,              app.screen4.callsEdit,             app.screen4.beforePokerusCheck};
}

std::vector<ControlHandle> screenFiveHandles(const AppState& app) {
  std::vector<ControlHandle> h{app.screen5.ivGameCheck,    app.screen5.ivItemACombo,   app.screen5.ivItemBCombo,   app.screen5.ivSeedEdit,
                               app.screen5.ivFrameCountEdit, app.screen5.ivListButton, app.screen5.ivYearEdit,     app.screen5.ivMaxFrameEdit,
                               app.screen5.ivDelayMinEdit, app.screen5.ivDelayMaxEdit, app.screen5.ivSearchButton, app.screen5.ivSearchStopButton};
  for (const auto* row : {&app.screen5.ivParentAEdits, &app.screen5.ivParentBEdits, &app.screen5.ivMinEdits, &app.screen5.ivMaxEdits})
    for (ControlHandle c : *row) h.push_back(c);
  for (ControlHandle c : app.screen5.ivHitButtons) h.push_back(c);
  return h;
}

std::vector<ControlHandle> screenSixHandles(const AppState& app) {
  const Screen6Controls& c = app.screen6;
  std::vector<ControlHandle> h{c.gameCombo,   c.kindCombo,     c.leadCombo,        c.leadNatureCombo,  c.genderRatioCombo,
                               c.levelMinEdit, c.levelMaxEdit, c.biteRateEdit,     c.roamerCheck,      c.feebasCombo,
                               c.tidEdit,      c.sidEdit,      c.shinyOnlyCheck,   c.natureCombo,      c.abilityCombo,
                               c.genderCombo,  c.slotCombo,    c.hiddenPowerCombo, c.hiddenPowerMinEdit, c.seedEdit,
                               c.advanceCountEdit, c.outputButton, c.cueEdit, c.beforePokerusCheck, c.aimedAdvanceEdit,
                               c.whereButton, c.searchYearEdit, c.searchAdvanceEdit, c.searchDelayMinEdit,
                               c.searchDelayMaxEdit, c.searchButton, c.searchStopButton};
  for (const auto* row : {&c.ivMinEdits, &c.ivMaxEdits})
    for (ControlHandle e : *row) h.push_back(e);
  for (ControlHandle e : c.hitButtons) h.push_back(e);
  return h;
}

std::vector<ControlHandle> screenSevenHandles(const AppState& app) {
  const Screen7Controls& c = app.screen7;
  std::vector<ControlHandle> h{c.momentEdit, c.delayMinEdit, c.delayMaxEdit,   c.listButton,   c.yearEdit,
                               c.searchDelayMinEdit, c.searchDelayMaxEdit, c.tidEdit, c.sidEdit, c.pidEdit,
                               c.cuteCharmCheck, c.natureCombo, c.ratioCombo, c.searchButton, c.searchStopButton};
  for (const auto* row : {&c.hitButtons, &c.hitUseButtons})
    for (ControlHandle b : *row) h.push_back(b);
  for (ControlHandle b : c.lineUseButtons) h.push_back(b);
  return h;
}

std::vector<ControlHandle> screenHandles(const AppState& app, ScreenMode screen) {
  return screen == ScreenMode::kOne     ? screenOneHandles(app)
         : screen == ScreenMode::kTwo   ? screenTwoHandles(app)
         : screen == ScreenMode::kThree ? screenThreeHandles(app)
         : screen == ScreenMode::kFour  ? screenFourHandles(app)
         : screen == ScreenMode::kFive  ? screenFiveHandles(app)
         : screen == ScreenMode::kSix   ? screenSixHandles(app)
                                        : screenSevenHandles(app);
}

class WindowRandomTest : public ShellTest {
 protected:
  std::mt19937 rng_{20261208};

  uint32_t below(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }

  // A text as a player might type or paste it: numbers of every shape, seeds,
  // Japanese text, raw CP932 bytes with broken characters, long texts.
  std::string randomText() {
    static const char* const kWords[] = {"フシギダネ", "ミュウ", "ミュウツー", "がんばりや", "★", "３～４", "ｱｲｳ"};
    std::string s;
    switch (below(8)) {
      case 0: return "";
      case 1: return std::to_string(static_cast<int32_t>(rng_()));
      case 2: return std::to_string(below(40));
      case 3: {
        char buf[16];
        std::snprintf(buf, sizeof buf, below(2) ? "0x%08X" : "0x%X", static_cast<unsigned>(rng_()));
        return buf;
      }
      case 4: return sj(kWords[below(7)]);
      case 5:
        for (uint32_t n = below(24); n > 0; --n) s += static_cast<char>(1 + below(255));  // raw bytes, no NUL
        return s;
      case 6:
        for (uint32_t n = below(6); n > 0; --n) s += " +-0123456789xX"[below(15)];
        return s;
      default:
        for (uint32_t n = below(60); n > 0; --n) s += static_cast<char>('0' + below(10));
        return s;
    }
  }

  void typeRandomly() {
    std::vector<ControlHandle> live = fakeLiveControls();
    if (live.empty()) return;
    ControlHandle h = live[below(static_cast<uint32_t>(live.size()))];
    FakeControl& c = fakeControl(h);
    switch (c.kind) {
      case ControlKind::kDropDownList:
        c.selected = static_cast<int32_t>(below(static_cast<uint32_t>(c.rows.size()) + 3)) - 1;
        if (c.selected >= static_cast<int32_t>(c.rows.size())) c.selected = -1;
        break;
      case ControlKind::kCheckBox:
        c.checked = below(2) == 1;
        break;
      default:
        c.text = randomText();
        // Keep the egg list and the egg search short so that 10,000 steps stay quick.
        if (h == app().screen2.frameCountEdit && c.text.size() > 3) c.text.resize(3);
        if (h == app().screen3.maxFrameEdit && c.text.size() > 2) c.text.resize(2);
        if ((h == app().screen3.delayMinEdit || h == app().screen3.delayMaxEdit) && c.text.size() > 1) c.text.resize(1);
        if (h == app().screen5.ivFrameCountEdit && c.text.size() > 3) c.text.resize(3);
        if (h == app().screen5.ivMaxFrameEdit && c.text.size() > 2) c.text.resize(2);
        if ((h == app().screen5.ivDelayMinEdit || h == app().screen5.ivDelayMaxEdit) && c.text.size() > 1) c.text.resize(1);
        if (h == app().screen6.advanceCountEdit && c.text.size() > 3) c.text.resize(3);
        break;
    }
  }

  int32_t randomCommand() {
    static const int32_t kIds[] = {1,              2,                 kCmdReset,       kCmdAdd,        kCmdAdd,
                                   kCmdSearch,     kCmdIvEntry,       kCmdSpecies,     kCmdSeedSearch, kCmdOutput,
                                   kCmdScreenOne,  kCmdScreenTwo,     kCmdScreenTwo,   0,              kCmdFirstCandidate,
                                   kCmdScreenThree, kCmdEggSearch,    kCmdEggSearchStop, kCmdMoments,  kCmdSeedToStepFour,
                                   kCmdFirstHit,   kCmdFirstAim,      kCmdScreenFour,  kCmdCalibrate,  kCmdCalibrate,
                                   kCmdApplyCorrection, kCmdPlan,     kCmdTimer,       kCmdScreenFive, kCmdIvGame,
                                   kCmdIvList,     kCmdIvSearch,      kCmdIvSearchStop, kCmdFirstIvHit, kCmdScreenSix,
                                   kCmdWildOutput, kCmdWildWhere,     kCmdWildSearch,  kCmdWildSearchStop, kCmdFirstWildHit};
    constexpr uint32_t kListed = sizeof kIds / sizeof kIds[0];
    const uint32_t pick = below(kListed + 3);
    if (pick < kListed) {
      int32_t id = kIds[pick];
      if (id == kCmdFirstCandidate) id += static_cast<int32_t>(below(20));
      if (id == kCmdFirstHit) id += static_cast<int32_t>(below(kMaxShownHits + 1));
      if (id == kCmdFirstAim) id += static_cast<int32_t>(below(kMaxSeedMoments + 1));
      if (id == kCmdFirstIvHit) id += static_cast<int32_t>(below(kMaxShownIvHits + 1));
      if (id == kCmdFirstWildHit) id += static_cast<int32_t>(below(kMaxShownWildHits + 1));
      // Delays 0..9 and n < 10, defaults too: steps 5 and 12 stay quick. A text
      // that is not a digit would be read as the field's default (a year's
      // delays), so it becomes one.
      if (id == kCmdEggSearch || id == kCmdWildSearch) {
        for (ControlHandle e : {app().screen3.maxFrameEdit, app().screen3.delayMinEdit, app().screen3.delayMaxEdit,
                                app().screen6.searchDelayMinEdit, app().screen6.searchDelayMaxEdit,
                                app().screen6.searchAdvanceEdit}) {
          if (e == 0) continue;
          std::string& text = fakeControl(e).text;
          if (text.empty() || text[0] < '0' || text[0] > '9') text = std::to_string(below(10));
          text.resize(1);
        }
      }
      return id;
    }
    return static_cast<int32_t>(below(65536));  // any id
  }

  // Waits until a running search has returned, so that what the next tick or
  // stop finds does not depend on the machine's speed, and neither do the
  // steps after it. The searches are a few delays and frames: milliseconds.
  void searchReturned() {
    ASSERT_TRUE(waitUntil([] { return !searchJobActive(SearchKind::kEgg) || searchJobReturned(SearchKind::kEgg); })) << "the search has not returned";
    ASSERT_TRUE(waitUntil([] { return !searchJobActive(SearchKind::kEggIvs) || searchJobReturned(SearchKind::kEggIvs); }))
        << "the IV search has not returned";
    ASSERT_TRUE(waitUntil([] { return !searchJobActive(SearchKind::kWild) || searchJobReturned(SearchKind::kWild); }));
  }

  void expectConsistent(int step) {
    const AppState& a = app();
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_TRUE(a.screenMode >= ScreenMode::kOne && a.screenMode <= ScreenMode::kSeven);
    ASSERT_GE(a.measure.measurementCount, 0);
    ASSERT_LE(a.measure.measurementCount, kMaxMeasurements);
    ASSERT_GE(a.pids.pidCandidateCount, -1);
    ASSERT_LE(a.pids.pidCandidateCount, kMaxPidCandidates);
    ASSERT_GE(a.seeds.seedCandidateCount, -1);
    ASSERT_LE(a.seeds.seedCandidateCount, kMaxSeedCandidates);
    ASSERT_GE(a.eggSearch.hitCount, -1);
    ASSERT_LE(a.eggSearch.hitCount, kMaxShownHits);
    ASSERT_GE(a.moments.momentCount, -1);
    ASSERT_LE(a.moments.momentCount, kMaxSeedMoments);
    ASSERT_LE(a.aim.shownSecondCount, kCalibrationShownSeconds);
    ASSERT_LE(a.aim.shownDelayCount, kCalibrationShownDelays);
    ASSERT_TRUE(a.aim.calibrationSeconds >= 0 && a.aim.calibrationSeconds <= 600);
    ASSERT_TRUE(a.aim.calibrationDelays >= 0 && a.aim.calibrationDelays <= 1000);
    ASSERT_TRUE(a.eggSearch.status >= SearchStatus::kIdle && a.eggSearch.status <= SearchStatus::kStopped);
    ASSERT_EQ(fake().timerPeriod != 0, a.eggSearch.status == SearchStatus::kRunning ||
                                           a.ivSearch.status == SearchStatus::kRunning || a.timer.countdownRunning != 0 ||
                                           a.wildSearch.status == SearchStatus::kRunning ||
                                           a.idSearch.status == SearchStatus::kRunning ||
                                           a.screenMode == ScreenMode::kSix);
    ASSERT_TRUE(a.wild.lineCount >= -1 && a.wild.lineCount <= kMaxShownWildLines);
    ASSERT_TRUE(a.ivList.ivLineCount >= -1 && a.ivList.ivLineCount <= kMaxShownIvLines);
    ASSERT_TRUE(a.ivSearch.hitCount >= -1 && a.ivSearch.hitCount <= kMaxShownIvHits);
    for (const IvRange& r : a.ivInputs.ivWanted) ASSERT_TRUE(0 <= r.low && r.low <= r.high && r.high <= 31);
    for (const IvRange& r : a.measure.ivRanges) {
      ASSERT_LE(0, r.low);
      ASSERT_LE(r.low, r.high);
      ASSERT_LE(r.high, 31);
    }
    for (ControlHandle h : a.ivDialog.ivDialogEdits) ASSERT_EQ(h, 0);  // the dialog is closed

    std::vector<ControlHandle> shown = screenHandles(a, a.screenMode);
    for (ScreenMode other :
         {ScreenMode::kOne, ScreenMode::kTwo, ScreenMode::kThree, ScreenMode::kFour, ScreenMode::kFive, ScreenMode::kSix,
          ScreenMode::kSeven}) {
      if (other == a.screenMode) continue;
      for (ControlHandle h : screenHandles(a, other)) ASSERT_EQ(h, 0);
    }
    std::vector<ControlHandle> held;
    for (ControlHandle h : shown) {
      if (h == 0) continue;
      ASSERT_TRUE(alive(h)) << "handle " << h;
      ASSERT_FALSE(fakeControl(h).dialogItem);
      held.push_back(h);
    }
    // Exactly the live controls are held, each once.
    std::vector<ControlHandle> live = fakeLiveControls();
    std::sort(held.begin(), held.end());
    std::sort(live.begin(), live.end());
    ASSERT_EQ(held, live);

    if (a.screenMode == ScreenMode::kOne) {
      // The step-1 inputs stand exactly while no measurement is taken.
      for (ControlHandle h : a.screen1.baseStatEdits) ASSERT_EQ(h != 0, a.measure.measurementCount == 0);
      ASSERT_EQ(a.screen1.natureCombo != 0, a.measure.measurementCount == 0);
    } else if (a.screenMode == ScreenMode::kTwo) {
      for (int i = 0; i < kMaxSeedCandidates; ++i) ASSERT_EQ(a.screen2.seedResultEdits[i] != 0, i < a.seeds.seedCandidateCount);
    } else if (a.screenMode == ScreenMode::kThree) {
      for (int i = 0; i < kMaxShownHits; ++i) ASSERT_EQ(a.screen3.hitButtons[i] != 0, i < a.eggSearch.hitCount);
      for (int i = 0; i < kMaxSeedMoments; ++i) ASSERT_EQ(a.screen3.aimButtons[i] != 0, i < a.moments.momentCount);
    } else if (a.screenMode == ScreenMode::kFive) {
      for (int i = 0; i < kMaxShownIvHits; ++i) ASSERT_EQ(a.screen5.ivHitButtons[i] != 0, i < a.ivSearch.hitCount);
    }
  }
};

TEST_F(WindowRandomTest, TenThousandRandomCommandsAndTexts) {
  WorkingDirectoryGuard guard;
  std::filesystem::current_path(dir_);
  start();
  fake().dialogInput = [this](AppState& a, ControlHandle) {
    for (ControlHandle h : a.ivDialog.ivDialogEdits) {
      ASSERT_TRUE(alive(h));
      if (below(2)) fakeControl(h).text = randomText();
    }
  };
  expectConsistent(-1);
  int screenTwoSteps = 0;
  int maxMeasurements = 0;
  int maxPidCandidates = -1;
  int maxSeedCandidates = -1;
  int screenThreeSteps = 0;
  int maxHits = -1;
  int maxMoments = -1;
  int targetSteps = 0;
  int screenFiveSteps = 0;
  int screenSixSteps = 0;
  for (int step = 0; step < 10000; ++step) {
    if (below(2)) {
      typeRandomly();
    } else if (below(8) == 0) {
      searchReturned();
      fake().now += below(3000);  // the monotonic clock moves on between ticks
      shellTimer(app());          // a tick of the window's timer, as its loop gives one
    } else {
      // The dialog is accepted one time in four.
      fake().dialogOutcome = below(4) == 1 ? DialogOutcome::kOk : DialogOutcome::kCancel;
      const int32_t id = randomCommand();
      if (id == kCmdEggSearchStop) searchReturned();
      shellCommand(app(), id);
    }
    expectConsistent(step);
    if (HasFatalFailure()) return;
    screenTwoSteps += app().screenMode == ScreenMode::kTwo;
    maxMeasurements = std::max(maxMeasurements, app().measure.measurementCount);
    maxPidCandidates = std::max(maxPidCandidates, app().pids.pidCandidateCount);
    maxSeedCandidates = std::max(maxSeedCandidates, app().seeds.seedCandidateCount);
    screenThreeSteps += app().screenMode == ScreenMode::kThree;
    maxHits = std::max(maxHits, app().eggSearch.hitCount);
    maxMoments = std::max(maxMoments, app().moments.momentCount);
    targetSteps += app().screenMode == ScreenMode::kFour && app().timer.settings.targetSet != 0;
    screenFiveSteps += app().screenMode == ScreenMode::kFive;
    screenSixSteps += app().screenMode == ScreenMode::kSix;
  }
  // The sequence really went through every screen, the dialog, every list and
  // the written files, so the checks above saw them all.
  EXPECT_GT(screenTwoSteps, 1000);
  EXPECT_GT(screenThreeSteps, 1000);
  EXPECT_GT(maxHits, 0);
  EXPECT_GT(maxMoments, 0);
  EXPECT_GT(targetSteps, 100);
  EXPECT_GT(screenFiveSteps, 500);
  EXPECT_GT(screenSixSteps, 500);
  EXPECT_GT(fake().dialogsRun, 10);
  EXPECT_GT(fake().openedDocuments.size(), 10u);
  EXPECT_GE(maxMeasurements, 2);
  EXPECT_GT(maxPidCandidates, 0);
  EXPECT_GT(maxSeedCandidates, 0);
  std::printf("screen-2 steps %d, screen-3 steps %d, dialogs %d, files opened %d, most measurements %d, PID "
              "candidates %d, seed candidates %d, hits %d, moments %d, steps on a target %d, screen-5 steps %d, screen-6 steps %d\n",
              screenTwoSteps, screenThreeSteps, fake().dialogsRun, static_cast<int>(fake().openedDocuments.size()),
              maxMeasurements, maxPidCandidates, maxSeedCandidates, maxHits, maxMoments, targetSteps, screenFiveSteps,
              screenSixSteps);
}

}  // namespace
