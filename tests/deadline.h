// How long a test waits for something another thread or the event loop does.
// Every wait in the tests ends at this deadline, far beyond what any machine
// needs for what is awaited, and a test that reaches it fails saying what it
// waited for: a fault shows as a failure, never as a hang, and never as a
// verdict that depends on how fast the machine is.
#pragma once

#include <chrono>
#include <thread>

inline constexpr std::chrono::seconds kTestWaitDeadline{60};

// Polls `done` every millisecond until it holds (true) or the deadline has
// passed (false), the deadline coming `planned` after the tests' one: for
// what cannot happen before a known time (a plan of cues played out), that
// time. For waits without an event loop to run.
template <typename Done>
[[nodiscard]] bool waitUntilAfter(std::chrono::milliseconds planned, Done done) {
  const auto until = std::chrono::steady_clock::now() + planned + kTestWaitDeadline;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

template <typename Done>
[[nodiscard]] bool waitUntil(Done done) {
  return waitUntilAfter(std::chrono::milliseconds(0), done);
}
