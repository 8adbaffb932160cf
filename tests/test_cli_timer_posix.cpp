// quillmar-cli timer --run on a pseudo-terminal, as a player runs it: the real
// program, its countdown redrawn on the terminal, its bells and Ctrl-C. Only
// what does not depend on the machine's speed is asserted: the bells, the
// lines, the order of what is shown and the exit codes. Every wait has a
// deadline that fails the test and kills the program.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Deadline = std::chrono::steady_clock::time_point;

Deadline secondsFromNow(int seconds) { return std::chrono::steady_clock::now() + std::chrono::seconds(seconds); }

struct PtyProgram {
  pid_t pid = -1;
  int master = -1;
  std::string output;  // everything the terminal received
  bool ended = false;  // the terminal closed: the program is gone
};

PtyProgram startOnPty(const std::vector<std::string>& args) {
  PtyProgram p;
  winsize size{24, 100, 0, 0};
  p.pid = forkpty(&p.master, nullptr, nullptr, &size);
  if (p.pid == 0) {
    std::vector<char*> argv{const_cast<char*>(QUILLMAR_CLI_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(QUILLMAR_CLI_PATH, argv.data());
    _exit(127);
  }
  return p;
}

// Reads the terminal until `done(output)` holds or it closes; false when the
// deadline passes first.
bool readUntil(PtyProgram& p, Deadline deadline, const std::function<bool(const std::string&)>& done) {
  while (!done(p.output) && !p.ended) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    pollfd fd{p.master, POLLIN, 0};
    if (poll(&fd, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(p.master, buffer, sizeof buffer);
    if (n > 0) {
      p.output.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      p.ended = true;  // EIO: the last holder of the terminal's other side closed it
    }
  }
  return true;
}

// The program's exit code once it has ended; -1 (and the program killed)
// when it does not end by the deadline or ends without an exit code.
int waitForExit(PtyProgram& p, Deadline deadline) {
  int status = 0;
  while (waitpid(p.pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(p.pid, SIGKILL);
      waitpid(p.pid, &status, 0);
      close(p.master);
      return -1;
    }
    usleep(10000);
  }
  close(p.master);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

TEST(CliTimerPty, AShortPlanCountsDownToItsEnd) {
  // Second 5 and 60 frames (1002.9 ms): phase 1 of 3997 ms and phase 2 of
  // 1003 ms, five seconds in all.
  PtyProgram p = startOnPty({"timer", "--at", "2026-04-27 02:58:05", "--delay", "60", "--min-first", "0", "--run"});
  ASSERT_GT(p.pid, 0);
  const bool closed = readUntil(p, secondsFromNow(60), [](const std::string&) { return false; });
  const int code = waitForExit(p, secondsFromNow(10));
  ASSERT_TRUE(closed) << "no end within 60 s of a 5 s countdown; shown so far:\n" << p.output;
  EXPECT_EQ(code, 0) << p.output;

  const std::string planLine = "clock 2026-04-27 02:58\tlaunch +3997 ms\tcontinue +1003 ms\r\n";
  ASSERT_EQ(p.output.rfind(planLine, 0), 0u) << p.output;
  // A bell at each whole second 1..3 before a phase's end that lies inside the
  // phase, and one at its end: 3997 ms gives 3 + 1, 1003 ms gives 1 + 1.
  EXPECT_EQ(count(p.output, "\a"), 6) << p.output;
  EXPECT_EQ(count(p.output, "done: continue now"), 1);
  const std::size_t last = p.output.rfind("\rdone: continue now");
  ASSERT_NE(last, std::string::npos) << p.output;
  EXPECT_EQ(p.output.find_first_not_of(" \a", last + 19), p.output.size() - 2) << "the last line ends the output";
  EXPECT_TRUE(p.output.ends_with("\r\n"));

  // Every redraw in between: phase 1, then phase 2, the time left never
  // growing within a phase, and none of it after the end.
  int lastPhase = 1;
  long long lastTenths = 40;
  int redraws = 0;
  for (std::size_t at = planLine.size(); at < last;) {
    int phase = 0;
    long long whole = 0, tenth = 0;
    char word[16] = {};
    ASSERT_EQ(p.output[at], '\r') << at << ": " << p.output.substr(at, 40);
    ASSERT_EQ(std::sscanf(p.output.c_str() + at + 1, "phase %d: %15s in %lld.%lld s", &phase, word, &whole, &tenth), 4)
        << p.output.substr(at, 40);
    EXPECT_EQ(std::string(word), phase == 1 ? "launch" : "continue");
    const long long tenths = whole * 10 + tenth;
    ASSERT_GE(phase, lastPhase);
    if (phase == lastPhase) {
      ASSERT_LE(tenths, lastTenths) << p.output.substr(at, 40);
    }
    EXPECT_GT(tenths, 0) << "a phase's time left shows 0.0 only once it is over";
    lastPhase = phase;
    lastTenths = tenths;
    ++redraws;
    at = p.output.find('\r', at + 1);
  }
  EXPECT_EQ(lastPhase, 2);
  EXPECT_GE(redraws, 2);
}

TEST(CliTimerPty, CtrlCEndsTheCountdownWith130) {
  PtyProgram p = startOnPty({"timer", "--at", "2026-04-27 02:58:59", "--delay", "370", "--run"});
  ASSERT_GT(p.pid, 0);
  // Ctrl-C is typed once the countdown shows, i.e. once it watches for it.
  const bool shown = readUntil(p, secondsFromNow(30),
                               [](const std::string& s) { return s.find("phase 1: launch") != std::string::npos; });
  if (shown && !p.ended) {
    ASSERT_EQ(write(p.master, "\x03", 1), 1);
  }
  const bool closed = readUntil(p, secondsFromNow(30), [](const std::string&) { return false; });
  const int code = waitForExit(p, secondsFromNow(10));
  ASSERT_TRUE(shown) << "no countdown within 30 s:\n" << p.output;
  ASSERT_TRUE(closed) << "still running 30 s after Ctrl-C:\n" << p.output;
  EXPECT_EQ(code, 130) << p.output;
  EXPECT_TRUE(p.output.ends_with("\r\ninterrupted\r\n")) << p.output;
  EXPECT_EQ(count(p.output, "\a"), 0) << "stopped 52 s before the first cue";
}

}  // namespace
