#include <gtest/gtest.h>

#include <string>

#include "tests/cli_run.h"

namespace {

const std::string kAt = "2026-04-27 02:58:59";

int countLines(const std::string& s) {
  int n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

// The game's generator one step forward, as the tests write it.
uint32_t nextState(uint32_t s) { return s * 0x41C64E6Du + 0x6073u; }

// 2026-04-27 02:58:59 with delay 370: AA = 4 * 27 + 58 + 59 = 225 = 0xE1, BB =
// 2, CCCC = 370 + 26 = 0x18C. One second later the minute carries: 4 * 27 + 59
// = 0xA7.
TEST(CliCalibrate, TheTableAroundTheAimedMoment) {
  CliResult r = runCliCaptured({"calibrate", "--at", kAt, "--delay", "370"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(countLines(r.out), 3 * 21) << "seconds -1..+1 by delays -10..+10 by default";
  EXPECT_EQ(r.out.rfind("-1s\t-10\t0xE0020182\t2026-04-27 02:58:58\tdelay 360\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\n+0s\t+0\t0xE102018C\t2026-04-27 02:58:59\tdelay 370\n"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("\n+1s\t+10\t0xA7020196\t2026-04-27 02:59:00\tdelay 380\n")) << r.out;

  // The last second of the clock has no cell after it; delay 65535 none above.
  r = runCliCaptured({"calibrate", "--at", "2099-12-31 23:59:59", "--delay", "65535", "--seconds=1", "--delays=1"});
  EXPECT_EQ(r.exitCode, 0);
  // 12 * 31 + 59 + 58 = 489 mod 256 = 0xE9; 65534 + 99 = 65633 mod 65536 =
  // 0x61.
  EXPECT_EQ(r.out,
            "-1s\t-1\t0xE9170061\t2099-12-31 23:59:58\tdelay 65534\n"
            "-1s\t+0\t0xE9170062\t2099-12-31 23:59:58\tdelay 65535\n"
            "+0s\t-1\t0xEA170061\t2099-12-31 23:59:59\tdelay 65534\n"
            "+0s\t+0\t0xEA170062\t2099-12-31 23:59:59\tdelay 65535\n");
}

// The hit comes from step 3: a current state 5 steps after the cell (+1 s, +2
// delays) is stepped back by `seeds`, whose output is piped into calibrate.
TEST(CliCalibrate, FindsTheHitCellFromSeedsOutput) {
  uint32_t state = 0xA702018Eu;
  for (int i = 0; i < 5; ++i) state = nextState(state);
  char seedText[16];
  std::snprintf(seedText, sizeof seedText, "0x%08X", state);
  CliResult seeds = runCliCaptured({"seeds", "--seed", seedText, "--hour", "2"});
  ASSERT_EQ(seeds.exitCode, 0) << seeds.err;
  ASSERT_NE(seeds.out.find("4回前\t0xA702018E\n"), std::string::npos) << seeds.out;

  const std::string hitLine = "+1s\t+2\t0xA702018E\t2026-04-27 02:59:00\tdelay 372\taim delay 368\n";
  CliResult r = runCliCapturedWithInput({"calibrate", "--at", kAt, "--delay", "370", "--hit", "-"}, seeds.out);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, hitLine);
  // The same seed given by hand, in decimal, beside one that is not in the
  // table.
  r = runCliCaptured(
      {"calibrate", "--at", kAt, "--delay", "370", "--hit", "0x12345678", "--hit", std::to_string(0xA702018Eu)});
  EXPECT_EQ(r.out, hitLine);

  // Hit one delay late at the clock's edge of the delays: aim 0 - (+1) is
  // below 0, so no delay corrects the try.
  r = runCliCaptured({"calibrate", "--at", "2000-01-01 00:00:00", "--delay", "0", "--hit", "0x01000001"});
  EXPECT_EQ(r.out, "+0s\t+1\t0x01000001\t2000-01-01 00:00:00\tdelay 1\taim delay none\n");

  r = runCliCapturedWithInput({"calibrate", "--at", kAt, "--delay", "370", "--hit", "-"}, "4回前\t0x12345678\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out.rfind("no match within -1s..+1s and delays -10..+10 of "
                        "2026-04-27 02:58:59 delay 370",
                        0),
            0u)
      << r.out;
  EXPECT_EQ(countLines(r.out), 1);
}

TEST(CliCalibrate, RejectsWhatIsNotATableOrASeed) {
  const std::vector<std::vector<std::string>> bad = {
      {"calibrate", "--at", "2026-02-30 00:00:00", "--delay", "1"},
      {"calibrate", "--at", "2100-01-01 00:00:00", "--delay", "1"},
      {"calibrate", "--at", "2026-01-01 00:00", "--delay", "1"},
      {"calibrate", "--at", kAt, "--delay", "65536"},
      {"calibrate", "--at", kAt, "--delay", "-1"},
      {"calibrate", "--at", kAt},
      {"calibrate", "--delay", "1"},
      {"calibrate", "--at", kAt, "--delay", "1", "--seconds", "601"},
      {"calibrate", "--at", kAt, "--delay", "1", "--delays", "1001"},
      {"calibrate", "--at", kAt, "--delay", "1", "--delays", "-1"},
      {"calibrate", "--at", kAt, "--delay", "1", "--hit", "0xZZ"},
      {"calibrate", "--at", kAt, "--delay", "1", "--hit", "0x123456789"},
  };
  for (const auto& args : bad) expectUsageError(args);
  CliResult help = runCliCaptured({"calibrate", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--hit SEED"), std::string::npos);
  CliResult top = runCliCaptured({"--help"});
  EXPECT_NE(top.out.find("\n  calibrate  "), std::string::npos) << top.out;
}

}  // namespace
