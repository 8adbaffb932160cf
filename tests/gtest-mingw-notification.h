// GoogleTest's Notification for the win32-thread mingw-w64 runtime, which has
// no std::mutex or std::condition_variable. Forced into every GoogleTest
// translation unit of the Windows cross build (with GTEST_HAS_NOTIFICATION_=1,
// so that gtest-port.h leaves its own version out). A manual-reset event gives
// the same contract: Notify once, WaitForNotification until it has happened.
#pragma once

#include <windows.h>

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
