// Makes the egg search's progress a count that the test sets. Through the
// engine's row hook every row of 256 seeds waits at the gate, once scanned and
// before it is counted, until the test lets it through or the search is
// stopped. A test that looks at the progress then knows how far the search
// has come on any machine, under any load, and a search held at the gate can
// neither end nor move on before the test says so; stopping it is certain.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "core/egg_search.h"
#include "tests/deadline.h"

// One gate at a time; it holds every search that runs while it exists.
class SearchGate {
 public:
  SearchGate() {
    State& s = state();
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      s.allowed = 0;
      s.passed = 0;
      s.open = false;
    }
    setYearSearchRowHook(&SearchGate::row);
  }
  // Opens the gate first, so that no thread stays held.
  ~SearchGate() {
    open();
    setYearSearchRowHook(nullptr);
  }
  SearchGate(const SearchGate&) = delete;
  SearchGate& operator=(const SearchGate&) = delete;

  // Lets `rows` more rows through.
  void letThrough(int64_t rows) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.allowed += rows;
    s.changed.notify_all();
  }

  // Lets every row through from now on.
  void open() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.open = true;
    s.changed.notify_all();
  }

  // Waits until `rows` rows in all have gone through: false when the deadline
  // passes first.
  [[nodiscard]] bool waitForRows(int64_t rows) {
    State& s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    return s.changed.wait_for(lock, kTestWaitDeadline, [&] { return s.passed >= rows; });
  }

  int64_t passed() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.passed;
  }

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    int64_t allowed = 0;
    int64_t passed = 0;
    bool open = false;
  };
  // Static, so that a thread still on its way out of the hook never meets a
  // destroyed gate.
  static State& state() {
    static State s;
    return s;
  }
  // A stopped search's rows go through at once (the stop is polled: it is not
  // the gate's to signal), so that it ends within a row.
  static void row(const YearSearchControl& control) {
    State& s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    while (!s.open && s.passed >= s.allowed && !(control.cancel != nullptr && control.cancel->load())) {
      s.changed.wait_for(lock, std::chrono::milliseconds(1));
    }
    ++s.passed;
    s.changed.notify_all();
  }
};
