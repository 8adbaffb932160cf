// The Windows definition of cli/terminal.h (the C runtime's console check, the
// console's control handler).
#include <io.h>
#include <windows.h>

#include <atomic>

#include "cli/terminal.h"

namespace {

// The console calls its handlers on a thread of its own.
std::atomic<bool> gInterrupted{false};

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  gInterrupted.store(true);
  return TRUE;
}

}  // namespace

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

void watchInterrupt() {
  gInterrupted.store(false);
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool interruptRequested() { return gInterrupted.load(); }

void unwatchInterrupt() { SetConsoleCtrlHandler(onConsoleEvent, FALSE); }
