// Starting a thread: the one place where this code meets an exception.
// std::thread's constructor throws std::system_error when the system has no
// thread to give (the build keeps C++ exceptions on for this alone; nothing
// else throws or catches). startThread turns that into false, so that the
// caller can stop and join what it started and say that it could not run.
#pragma once

#include <cstdint>
#include <system_error>
#include <thread>
#include <utility>

// Counts a thread start; true for the one failThreadStart named.
bool threadStartRefused();

// Test seam: the n-th thread start from now on (1: the next one) fails as if
// the system had refused it; n <= 0 lets every start through. Starts are
// counted over the whole process: the window's search worker, the search's
// helpers and the sort's.
void failThreadStart(int32_t n);

// Starts `thread` running function(args...); false, with `thread` left
// unstarted, when no thread could be had.
template <typename Function, typename... Args>
[[nodiscard]] bool startThread(std::thread& thread, Function&& function, Args&&... args) {
  if (threadStartRefused()) return false;
  try {
    thread = std::thread(std::forward<Function>(function), std::forward<Args>(args)...);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}
