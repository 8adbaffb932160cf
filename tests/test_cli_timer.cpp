#include <gtest/gtest.h>

#include <string>

#include "tests/cli_run.h"

namespace {

// 370 frames = 370000 / 59.8261 = 6184.59 ms -> 6185; 59000 - 6185 = 52815 ms
// is over 14 s, so the clock is set to the aimed minute itself.
TEST(CliTimer, PrintsTheClockAndBothPhases) {
  CliResult r = runCliCaptured({"timer", "--at", "2026-04-27 02:58:59", "--delay", "370"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "clock 2026-04-27 02:58\tlaunch +52815 ms\tcontinue +6185 ms\n");

  // 600 - 10 = 590 frames = 9861.92 ms -> 9862; 10000 + 500 - 9862 = 638 ms
  // is short of 20 s: one minute more, 60638 ms, from the year before.
  r = runCliCaptured({"timer", "--at=2025-01-01 00:00:10", "--delay=600", "--delay-calibration=-10",
                      "--second-calibration", "500", "--min-first", "20000"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "clock 2024-12-31 23:59\tlaunch +60638 ms\tcontinue +9862 ms\n");

  // The clock's first minute: 2000-01-01 00:00 still has a plan, a minute
  // earlier has none.
  r = runCliCaptured({"timer", "--at", "2000-01-01 00:01:05", "--delay", "0", "--min-first", "65000"});
  EXPECT_EQ(r.out, "clock 2000-01-01 00:00\tlaunch +65000 ms\tcontinue +0 ms\n");
  r = runCliCaptured({"timer", "--at", "2000-01-01 00:01:05", "--delay", "0", "--min-first", "65001"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out.rfind("no plan: ", 0), 0u) << r.out;
  EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line";
  r = runCliCaptured({"timer", "--at", "2026-04-27 02:58:59", "--delay", "10", "--delay-calibration", "-11"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "no plan: delay 10 with calibration -11 is -1 frames, below 0\n");
}

// Away from a terminal the countdown writes a line at its start, at each cue
// and at its end. A plan of two empty phases ends at once with both ends' bells.
TEST(CliTimer, RunsAnEmptyPlanToItsEndAwayFromATerminal) {
  CliResult r = runCliCaptured({"timer", "--at", "2026-04-27 02:58:00", "--delay", "0", "--min-first", "0", "--run"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "clock 2026-04-27 02:58\tlaunch +0 ms\tcontinue +0 ms\n");
  EXPECT_EQ(r.err, "done: continue now\a\a\n");
}

TEST(CliTimer, RejectsWhatIsOutOfRange) {
  const std::string at = "2026-04-27 02:58:59";
  const std::vector<std::vector<std::string>> bad = {
      {"timer", "--delay", "1"},
      {"timer", "--at", at},
      {"timer", "--at", "2026-02-29 00:00:00", "--delay", "1"},
      {"timer", "--at", "2026-04-27 02:58", "--delay", "1"},
      {"timer", "--at", at, "--delay", "65536"},
      {"timer", "--at", at, "--delay", "-1"},
      {"timer", "--at", at, "--delay", "1", "--delay-calibration", "10000"},
      {"timer", "--at", at, "--delay", "1", "--delay-calibration", "-10000"},
      {"timer", "--at", at, "--delay", "1", "--second-calibration", "60001"},
      {"timer", "--at", at, "--delay", "1", "--second-calibration", "-60001"},
      {"timer", "--at", at, "--delay", "1", "--min-first", "-1"},
      {"timer", "--at", at, "--delay", "1", "--min-first", "600001"},
      {"timer", "--at", at, "--delay", "1", "--min-first", "1.5"},
      {"timer", "--at", at, "--delay", "1", "--run=yes"},
      {"timer", "--at", at, "--delay", "1", "extra"},
  };
  for (const auto& args : bad) expectUsageError(args);
  // The ends of every range are accepted.
  EXPECT_EQ(runCliCaptured({"timer", "--at", at, "--delay", "65535", "--delay-calibration", "-9999",
                            "--second-calibration", "60000", "--min-first", "600000"})
                .exitCode,
            0);
  EXPECT_EQ(runCliCaptured({"timer", "--at", at, "--delay", "9999", "--delay-calibration", "-9999",
                            "--second-calibration", "-60000", "--min-first", "0"})
                .out,
            "clock 2026-04-27 02:57\tlaunch +59000 ms\tcontinue +0 ms\n")
      << "no frames; the second 59 s - 60 s lies before the minute: one minute back, 59000 ms";

  CliResult help = runCliCaptured({"timer", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* line : {"\n  --at MOMENT ", "\n  --delay D ", "\n  --delay-calibration C ",
                           "\n  --second-calibration S ", "\n  --min-first M ", "\n  --run  "}) {
    EXPECT_NE(help.out.find(line), std::string::npos) << line;
  }
  CliResult top = runCliCaptured({"--help"});
  EXPECT_NE(top.out.find("\n  timer      "), std::string::npos) << top.out;
}

}  // namespace
