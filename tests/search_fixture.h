// Screen 3 over the fake backend with step 5's search run to its end, and
// what the paint handler drew.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/shell_fixture.h"

class SearchTest : public ShellTest {
 protected:
  // Ticks the window's timer as its loop would until the search has ended.
  void finishTheSearch() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (app().eggSearch.status == SearchStatus::kRunning) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the search has not ended in two minutes";
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      shellTimer(app());
    }
  }
  // A click on a check box; a row chosen in a list.
  void tick(ControlHandle box, bool on) { fakeControl(box).checked = on; }
  void choose(ControlHandle list, int32_t row) { fakeControl(list).selected = row; }
};
