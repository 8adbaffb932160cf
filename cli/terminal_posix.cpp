// The POSIX definition of cli/terminal.h.
#include <signal.h>
#include <unistd.h>

#include <csignal>

#include "cli/terminal.h"

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
struct sigaction gPreviousAction;

void onInterrupt(int) { gInterrupted = 1; }

}  // namespace

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

void watchInterrupt() {
  gInterrupted = 0;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &gPreviousAction);
}

bool interruptRequested() { return gInterrupted != 0; }

void unwatchInterrupt() { sigaction(SIGINT, &gPreviousAction, nullptr); }
