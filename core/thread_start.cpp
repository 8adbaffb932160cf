#include "core/thread_start.h"

#include <atomic>

namespace {

// Starts left until the refused one (0: none is refused).
std::atomic<int32_t> gStartsToRefusal{0};

}  // namespace

bool threadStartRefused() {
  int32_t left = gStartsToRefusal.load();
  while (left > 0 && !gStartsToRefusal.compare_exchange_weak(left, left - 1)) {
  }
  return left == 1;
}

void failThreadStart(int32_t n) { gStartsToRefusal.store(n > 0 ? n : 0); }
