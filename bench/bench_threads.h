// The threads a year-search bench runs on: every core the machine reports
// (1 when it reports none), as the window's search does.
#pragma once

#include <cstdint>
#include <thread>

inline int32_t coreCount() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int32_t>(n);
}
