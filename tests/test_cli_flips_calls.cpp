#include <gtest/gtest.h>

#include <string>

#include "tests/cli_run.h"

namespace {

const std::string kAt = "2026-04-27 02:58:59";

// Skipping K outputs (or draws) drops the first K letters.
TEST(CliFlipsCalls, ALineOfLettersThatTheSkipShifts) {
  for (const std::string command : {"flips", "calls"}) {
    CliResult whole = runCliCaptured({command, "0xA702018E", "--count", "64"});
    CliResult later = runCliCaptured({command, "2801926542", "--count=20", "--skip", "44"});
    EXPECT_EQ(whole.exitCode, 0) << whole.err;
    ASSERT_EQ(whole.out.size(), 65u);
    EXPECT_EQ(later.out, whole.out.substr(44)) << command;
    EXPECT_EQ(runCliCaptured({command, "0xA702018E"}).out, whole.out.substr(0, 20) + "\n");
  }
  EXPECT_EQ(runCliCaptured({"flips", "0xA702018E", "--count", "10"}).out.find_first_not_of("HT"), 10u);
  EXPECT_EQ(runCliCaptured({"calls", "0xA702018E", "--before-pokerus"}).out.find_first_not_of("EK"), 20u);
}

// Cell +1s, +2 of the table around 02:58:59, delay 370, has seed 0xA702018E
// (AA = 4 * 27 + 59 + 0 = 0xA7, CCCC = 372 + 26 = 0x18E). Its twister's first
// ten outputs are odd, even, odd, odd, odd, even, even, even, even, even; its
// draws 3..8 are 2, 2, 1, 0, 0, 2 mod 3.
TEST(CliFlipsCalls, CalibrateFindsTheCellThatFlipsOrAnswersSo) {
  const std::string cell = "+1s\t+2\t0xA702018E\t2026-04-27 02:59:00\tdelay 372\taim delay 368";
  CliResult r = runCliCaptured({"calibrate", "--at", kAt, "--delay", "370", "--flips", "THTHH TTTTT"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, cell + "\tskip 0\n");
  r = runCliCaptured({"calibrate", "--at", kAt, "--delay", "370", "--calls", "ppkeep"});
  EXPECT_EQ(r.out, cell + "\tskip 2\n");
  r = runCliCaptured({"calibrate", "--at", kAt, "--delay", "370", "--calls", "PPKEEP", "--skips", "1"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "no match within -1s..+1s and delays -10..+10 of " + kAt + " delay 370 (calls PPKEEP at skips 0..1)\n");
  // One flip: about half the 63 cells.
  r = runCliCaptured({"calibrate", "--at", kAt, "--delay", "370", "--flips", "T"});
  EXPECT_NE(r.out.find(cell + "\tskip 0\n"), std::string::npos);
  EXPECT_GT(std::count(r.out.begin(), r.out.end(), '\n'), 15);
}

TEST(CliFlipsCalls, RejectsWhatIsNoSequence) {
  const std::vector<std::vector<std::string>> bad = {
      {"flips"},
      {"flips", "0x1", "--count", "0"},
      {"flips", "0x1", "--count", "65"},
      {"calls", "0x1", "--skip", "100001"},
      {"flips", "0x1", "--before-pokerus"},
      {"calibrate", "--at", kAt, "--delay", "1", "--flips", "HTX"},
      {"calibrate", "--at", kAt, "--delay", "1", "--flips", " "},
      {"calibrate", "--at", kAt, "--delay", "1", "--flips", std::string(65, 'H')},
      {"calibrate", "--at", kAt, "--delay", "1", "--calls", "EKP", "--before-pokerus"},
      {"calibrate", "--at", kAt, "--delay", "1", "--calls", "EKP", "--skips", "9"},
      {"calibrate", "--at", kAt, "--delay", "1", "--calls", "EKP", "--skip", "1"},
      {"calibrate", "--at", kAt, "--delay", "1", "--calls", "EKP", "--flips", "H"},
  };
  for (const auto& args : bad) expectUsageError(args);
  EXPECT_NE(runCliCaptured({"calibrate", "--at", kAt, "--delay", "1", "--flips", "HT秒"}).err.find("'秒'"),
            std::string::npos);
  const std::string top = runCliCaptured({"--help"}).out;
  EXPECT_NE(top.find("\n  flips      "), std::string::npos);
  EXPECT_NE(top.find("\n  calls      "), std::string::npos);
}

}  // namespace
