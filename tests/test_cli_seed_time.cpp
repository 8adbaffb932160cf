#include <gtest/gtest.h>

#include "tests/cli_run.h"

namespace {

int countLines(const std::string& s) {
  int n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

TEST(CliSeedTime, TimeSeedPrintsTheWorkedSeed) {
  CliResult r = runCliCaptured({"time-seed", "--at", "2099-09-17 16:00:10", "--delay", "4239"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "0xA31010F2\n");
  EXPECT_EQ(r.err, "");
  // 2 * 29 = 0x3A on the leap day of 2000; 65535 + 1 wraps to 0x0000.
  r = runCliCaptured({"time-seed", "--at=2000-02-29 07:00:00", "--delay=0"});
  EXPECT_EQ(r.out, "0x3A070000\n");
  r = runCliCaptured({"time-seed", "--at", "2001-01-01 00:00:00", "--delay", "65535"});
  EXPECT_EQ(r.out, "0x01000000\n");
}

TEST(CliSeedTime, SeedTimeListsMomentsInCalendarOrder) {
  // 0xA3 = 163: February 23 (163 - 46 = 117 = 58 + 59 = 59 + 58) is the first day.
  CliResult r = runCliCaptured({"seed-time", "0xA31010F2", "--year", "2099", "--limit", "3"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out,
            "2099-02-23 16:58:59 delay 4239\n"
            "2099-02-23 16:59:58 delay 4239\n"
            "2099-02-24 16:56:59 delay 4239\n");
  // More moments exist: a note on stderr, not on stdout.
  EXPECT_EQ(r.err.rfind("quillmar-cli: note: 3 of ", 0), 0u) << r.err;

  // The decimal spelling reads the seed as seeds does, as a signed 32-bit pattern:
  // 0xA31010F2 - 2^32 = -1559228174. Lower-case hex is the same seed too.
  CliResult dec = runCliCaptured({"seed-time", "-1559228174", "--year", "2099", "--limit", "3"});
  EXPECT_EQ(dec.out, r.out);
  CliResult lower = runCliCaptured({"seed-time", "0xa31010f2", "--year=2099", "--limit=3"});
  EXPECT_EQ(lower.out, r.out);
}

TEST(CliSeedTime, DefaultLimitAndAll) {
  CliResult def = runCliCaptured({"seed-time", "0xA31010F2", "--year", "2099"});
  EXPECT_EQ(def.exitCode, 0);
  EXPECT_EQ(countLines(def.out), 20);
  CliResult all = runCliCaptured({"seed-time", "0xA31010F2", "--year", "2099", "--limit", "0"});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(all.err, "");
  EXPECT_EQ(all.out.substr(0, def.out.size()), def.out);
  EXPECT_GT(countLines(all.out), 1000);
  EXPECT_NE(all.out.find("\n2099-09-17 16:00:10 delay 4239\n"), std::string::npos);
  // The note's total is the full count.
  EXPECT_NE(def.err.find(" of " + std::to_string(countLines(all.out)) + " moments"), std::string::npos) << def.err;
  // The last moment of the year: December 31 gives 372 mod 256 = 116, 163 - 116 = 47,
  // so minute 47 second 0 is the latest.
  EXPECT_TRUE(all.out.ends_with("\n2099-12-31 16:47:00 delay 4239\n"));
}

TEST(CliSeedTime, LeapDayOnlyInLeapYears) {
  // AA = 0x3A = 58 = 2 * 29: February 29 at minute + second = 0.
  CliResult leap = runCliCaptured({"seed-time", "0x3A070063", "--year", "2000", "--limit", "0"});
  CliResult common = runCliCaptured({"seed-time", "0x3A070063", "--year", "2001", "--limit", "0"});
  EXPECT_NE(leap.out.find("\n2000-02-29 07:00:00 delay 99\n"), std::string::npos);
  EXPECT_EQ(common.out.find("-02-29 "), std::string::npos);
  EXPECT_EQ(countLines(leap.out), countLines(common.out) + 1);
}

TEST(CliSeedTime, SeedWithoutTimeSaysWhyAndExitsOne) {
  CliResult hour = runCliCaptured({"seed-time", "0xA31810F2", "--year", "2099"});
  EXPECT_EQ(hour.exitCode, 1);
  EXPECT_EQ(hour.out, "no time: BB = 0x18 (24) is not an hour 0..23\n");
  EXPECT_EQ(hour.err, "");
  // -1 is 0xFFFFFFFF: BB = 0xFF.
  CliResult minusOne = runCliCaptured({"seed-time", "-1", "--year", "2000"});
  EXPECT_EQ(minusOne.exitCode, 1);
  EXPECT_EQ(minusOne.out, "no time: BB = 0xFF (255) is not an hour 0..23\n");
  // The same seed in 2005 needs no delay at all.
  CliResult ok = runCliCaptured({"seed-time", "0xA3100005", "--year", "2005", "--limit", "1"});
  EXPECT_EQ(ok.exitCode, 0);
  EXPECT_EQ(ok.out, "2005-02-23 16:58:59 delay 0\n");
}

TEST(CliSeedTime, ACcccBelowTheYearIsReachedByADelayPast65535) {
  // 2099-01-10 12:00:00: AA = 1 * 10 = 0x0A, BB = 0x0C, CCCC = (65442 + 99) mod 65536 = 5.
  CliResult forward = runCliCaptured({"time-seed", "--at", "2099-01-10 12:00:00", "--delay", "65442"});
  EXPECT_EQ(forward.out, "0x0A0C0005\n");
  // Back: the same delay, and the first moment of the year with month * day +
  // minute + second = 10 is January 1 at minute + second = 9.
  CliResult back = runCliCaptured({"seed-time", "0x0A0C0005", "--year", "2099", "--limit", "0"});
  EXPECT_EQ(back.exitCode, 0);
  EXPECT_TRUE(back.out.starts_with("2099-01-01 12:00:09 delay 65442\n")) << back.out;
  EXPECT_NE(back.out.find("\n2099-01-10 12:00:00 delay 65442\n"), std::string::npos);
  // CCCC = 5 in 2006: 5 + 65536 - 6 = 65535, the largest delay.
  CliResult last = runCliCaptured({"seed-time", "0xA3100005", "--year", "2006", "--limit", "1"});
  EXPECT_EQ(last.exitCode, 0);
  EXPECT_TRUE(last.out.ends_with(" delay 65535\n")) << last.out;
}

TEST(CliSeedTime, BadArgumentsExitTwoWithAMessageAndNoOutput) {
  const std::vector<std::vector<std::string>> bad = {
      {"seed-time"},
      {"seed-time", "--year", "2099"},
      {"seed-time", "0xA31010F2"},
      {"seed-time", "0XA31010F2", "--year", "2099"},
      {"seed-time", "0x", "--year", "2099"},
      {"seed-time", "0x123456789", "--year", "2099"},
      {"seed-time", "0xA31010G2", "--year", "2099"},
      {"seed-time", "4294967296", "--year", "2099"},
      {"seed-time", "-2147483649", "--year", "2099"},
      {"seed-time", "12ab", "--year", "2099"},
      {"seed-time", " 12", "--year", "2099"},
      {"seed-time", "", "--year", "2099"},
      {"seed-time", "0xA31010F2", "--year", "1999"},
      {"seed-time", "0xA31010F2", "--year", "2100"},
      {"seed-time", "0xA31010F2", "--year", "20x9"},
      {"seed-time", "0xA31010F2", "--year"},
      {"seed-time", "0xA31010F2", "--year", "2099", "--limit", "-1"},
      {"seed-time", "0xA31010F2", "--year", "2099", "--limit", "ten"},
      {"seed-time", "0xA31010F2", "--year", "2099", "--limit", "1000001"},
      {"seed-time", "0xA31010F2", "0x1", "--year", "2099"},
      {"seed-time", "0xA31010F2", "--year", "2099", "--bogus"},
      {"time-seed"},
      {"time-seed", "--at", "2099-09-17 16:00:10"},
      {"time-seed", "--delay", "4239"},
      {"time-seed", "--at", "2099-9-17 16:00:10", "--delay", "4239"},
      {"time-seed", "--at", "2099-09-17T16:00:10", "--delay", "4239"},
      {"time-seed", "--at", "2099-09-17 16:00:10 ", "--delay", "4239"},
      {"time-seed", "--at", "2099-09-17 16:00", "--delay", "4239"},
      {"time-seed", "--at", "2001-02-29 00:00:00", "--delay", "0"},
      {"time-seed", "--at", "2000-04-31 00:00:00", "--delay", "0"},
      {"time-seed", "--at", "2000-13-01 00:00:00", "--delay", "0"},
      {"time-seed", "--at", "2000-00-10 00:00:00", "--delay", "0"},
      {"time-seed", "--at", "2000-01-00 00:00:00", "--delay", "0"},
      {"time-seed", "--at", "1999-12-31 23:59:59", "--delay", "0"},
      {"time-seed", "--at", "2100-01-01 00:00:00", "--delay", "0"},
      {"time-seed", "--at", "2099-09-17 24:00:00", "--delay", "0"},
      {"time-seed", "--at", "2099-09-17 16:60:00", "--delay", "0"},
      {"time-seed", "--at", "2099-09-17 16:00:60", "--delay", "0"},
      {"time-seed", "--at", "2099-09-17 16:00:10", "--delay", "-1"},
      {"time-seed", "--at", "2099-09-17 16:00:10", "--delay", "1.5"},
      {"time-seed", "--at", "2099-09-17 16:00:10", "--delay", "2147483648"},
      {"time-seed", "--at", "2099-09-17 16:00:10", "--delay", ""},
      {"time-seed", "--at", "2099-09-17 16:00:10", "--delay", "1", "extra"},
  };
  for (const auto& args : bad) expectUsageError(args);
}

TEST(CliSeedTime, HelpExplainsTheLayoutAndOverflow) {
  CliResult r = runCliCaptured({"seed-time", "--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* text : {"0xAABBCCCC", "(month * day + minute + second) mod 256", "BB   = hour, 0..23",
                           "(delay + (year - 2000)) mod 65536", "D + 65536", "--year", "--limit", "default 20"})
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
  CliResult t = runCliCaptured({"time-seed", "--help"});
  EXPECT_EQ(t.exitCode, 0);
  for (const char* text : {"--at", "--delay", "0x%08X", "mod 65536"}) EXPECT_NE(t.out.find(text), std::string::npos);
  CliResult top = runCliCaptured({"--help"});
  EXPECT_NE(top.out.find("seed-time"), std::string::npos);
  EXPECT_NE(top.out.find("time-seed"), std::string::npos);
}

}  // namespace
