// The timer of step 8 in the real Qt window, for a minute: how late the
// window's ticks come after their 10 ms period, and how late each phase's end
// is seen after its computed instant, against the one-frame goal (1000 /
// 59.8261 = 16.7 ms). The countdown is started through the shell as a click
// on "スタート/ストップ" would; an event filter on the client area notes the
// monotonic time of every tick the window hands to the shell.
//   QT_QPA_PLATFORM=offscreen build/release/bench/quillmar_timer_bench
// Its cues as heard (bench/README.md): run it under the cue listener,
//   build/release/tests/quillmar_cue_listen --report build/release/bench/quillmar_timer_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/timer_plan.h"
#include "state/app_state.h"
#include "ui/platform.h"
#include "ui/qt/qt_window.h"
#include "ui/resources/templates.h"
#include "ui/shell.h"

namespace {

constexpr double kFrameMilliseconds = 1000.0 / 59.8261;

class TickRecorder : public QObject {
 public:
  std::vector<int64_t> ticks;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Timer) ticks.push_back(platformNowMilliseconds());
    return false;
  }
};

// The median, 99th percentile and worst of `values`.
void report(benchmark::State& state, const char* name, std::vector<double> values) {
  if (values.empty()) return;
  std::sort(values.begin(), values.end());
  auto at = [&](double q) { return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))]; };
  state.counters[std::string(name) + "_median_ms"] = at(0.5);
  state.counters[std::string(name) + "_p99_ms"] = at(0.99);
  state.counters[std::string(name) + "_worst_ms"] = values.back();
}

// The countdown's cues for the cue listener (tests/sound/cue_listen.cpp),
// which hears the sound server while this runs: "cue KIND MICROS" for each
// of the last three seconds (kind 0) and the end (kind 1) of both phases, at
// their planned instants on the time of day.
void printCues(int64_t start, int64_t firstPhase, int64_t secondPhase) {
  int64_t before = platformNowMilliseconds();
  int64_t now = before;
  while (now == before) now = platformNowMilliseconds();  // the instant a millisecond begins
  const int64_t nowMicros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count();
  CountdownCue cues[kMaxCountdownCues];
  const int32_t count = listCountdownCues(TimerPlan{{}, 0, firstPhase, secondPhase}, cues);
  for (int32_t i = 0; i < count; ++i)
    std::printf("cue %d %lld\n", cues[i].end ? 1 : 0,
                static_cast<long long>(nowMicros + (start + cues[i].at - now) * 1000));
  std::fflush(stdout);
}

// 2026-04-27 02:58:59, delay 600, default calibrations: phase 2 = 10029 ms,
// phase 1 = 59000 - 10029 = 48971 ms; the countdown lasts 59 s.
void BM_QtCountdownTimer(benchmark::State& state) {
  auto app = std::make_unique<AppState>();
  // The window keeps its calibrations in timer.txt: a folder of its own.
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillmar-timer-bench";
  std::filesystem::create_directories(folder);
  QWidget* window = quillmarqt::createMainWindow(*app, folder.string().c_str());
  window->show();
  shellCommand(*app, kCmdScreenFour);
  platformSetText(app->screen4.targetMomentEdit, "2026-04-27 02:58:59");
  platformSetText(app->screen4.targetDelayEdit, "600");
  shellCommand(*app, kCmdCalibrate);
  TickRecorder recorder;
  quillmarqt::clientArea()->installEventFilter(&recorder);
  for (auto _ : state) {
    recorder.ticks.clear();
    shellCommand(*app, kCmdTimer);
    const int64_t start = app->timer.countdownStart;
    printCues(start, app->timer.planFirstPhase, app->timer.planSecondPhase);
    QElapsedTimer wall;
    wall.start();
    // Blocks until the next event: the window's own 10 ms ticks keep it waking.
    while (app->timer.countdownRunning != 0 && wall.elapsed() < 90000) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.SetIterationTime(static_cast<double>(wall.elapsed()) / 1000.0);
    if (app->timer.countdownRunning != 0) state.SkipWithError("the countdown did not end within 90 s");

    std::vector<double> tickLate;
    for (std::size_t i = 1; i < recorder.ticks.size(); ++i)
      tickLate.push_back(static_cast<double>(recorder.ticks[i] - recorder.ticks[i - 1] - 10));
    std::vector<double> endLate;
    for (int64_t end : {app->timer.planFirstPhase, app->timer.planFirstPhase + app->timer.planSecondPhase}) {
      auto seen = std::lower_bound(recorder.ticks.begin(), recorder.ticks.end(), start + end);
      if (seen != recorder.ticks.end()) endLate.push_back(static_cast<double>(*seen - (start + end)));
    }
    report(state, "tick_late", tickLate);
    report(state, "phase_end_late", endLate);
    state.counters["ticks"] = static_cast<double>(recorder.ticks.size());
    state.counters["goal_ms"] = kFrameMilliseconds;
  }
  quillmarqt::clientArea()->removeEventFilter(&recorder);
  window->close();
  delete window;
}
BENCHMARK(BM_QtCountdownTimer)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  quillmarqt::setUpApplication(application);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
