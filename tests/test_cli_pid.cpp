#include <gtest/gtest.h>

#include "tests/cli_run.h"

namespace {

TEST(CliPid, FixedExamplePrintsTheScreenLineAndSeed) {
  CliResult r = runCliCaptured({"pid", "--ivs", "10,12,22,0,7,29", "--nature", "15"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "0x84EA0B71 特性2 性別値113\t0x2684AD1F\n");
  EXPECT_EQ(r.err, "");
}

TEST(CliPid, NatureByJapaneseName) {
  CliResult r = runCliCaptured({"pid", "--ivs=17,19,20,16,13,12", "--nature=むじゃき"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out,
            "0xE97E0000 特性1 性別値0\t0x8E425287\n"
            "0x59736AD6 特性1 性別値214\t0x33CB78DB\n");
}

TEST(CliPid, RangeStopsAtSixteenUnlessAll) {
  CliResult limited = runCliCaptured({"pid", "--ivs", "0-31,0-31,22,0,7,29", "--nature", "15"});
  ASSERT_EQ(limited.exitCode, 0);
  int lines = 0;
  for (char c : limited.out) lines += c == '\n';
  EXPECT_EQ(lines, 16);
  EXPECT_TRUE(limited.out.ends_with("\n0xD68976E2 特性1 性別値226\t0x7C1896B2\n"));
  EXPECT_TRUE(limited.out.starts_with("0x6A0A91EF 特性2 性別値239\t0x74A38097\n"));

  CliResult all = runCliCaptured({"pid", "--ivs", "0-2,0-31,22,0,7,29", "--nature", "15", "--all"});
  ASSERT_EQ(all.exitCode, 0);
  // The first 16 lines are the limited list; --all goes on past them.
  EXPECT_EQ(all.out.substr(0, limited.out.size()), limited.out);
  EXPECT_GT(all.out.size(), limited.out.size());
}

TEST(CliPid, NothingFoundPrintsNoCandidate) {
  // 17,19,20,16,13,12 has candidates for natures 14 only among its pairs; try the others.
  for (int n = 0; n < 25; ++n) {
    CliResult r = runCliCaptured({"pid", "--ivs", "17,19,20,16,13,12", "--nature", std::to_string(n)});
    ASSERT_EQ(r.exitCode, 0);
    if (r.out == "候補なし\n") return;
  }
  FAIL() << "no nature without candidates";
}

TEST(CliPid, BadArgumentsExitTwoWithAMessageAndNoOutput) {
  const std::vector<std::vector<std::string>> bad = {
      {"pid"},
      {"pid", "--ivs", "10,12,22,0,7"},
      {"pid", "--ivs", "10,12,22,0,7,29,1", "--nature", "1"},
      {"pid", "--ivs", "10,12,22,0,7,32", "--nature", "1"},
      {"pid", "--ivs", "10,12,22,0,7,-1", "--nature", "1"},
      {"pid", "--ivs", "10,12,22,0,7,5-3", "--nature", "1"},
      {"pid", "--ivs", "10,12,22,0,7,x", "--nature", "1"},
      {"pid", "--ivs", "10,12,22,0,7,29", "--nature", "25"},
      {"pid", "--ivs", "10,12,22,0,7,29", "--nature", "ひかえ"},
      {"pid", "--ivs", "10,12,22,0,7,29"},
      {"pid", "--ivs", "10,12,22,0,7,29", "--nature", "1", "--bogus"},
      {"pid", "--ivs", "10,12,22,0,7,29", "--nature", "1", "extra"},
      {"pid", "--ivs"},
      {"nosuchcommand"},
      {},
  };
  for (const auto& args : bad) expectUsageError(args);
}

TEST(CliPid, HelpDescribesEveryOption) {
  CliResult r = runCliCaptured({"pid", "--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* option : {"--ivs", "--nature", "--all"}) EXPECT_NE(r.out.find(option), std::string::npos);
  CliResult top = runCliCaptured({"--help"});
  EXPECT_EQ(top.exitCode, 0);
  EXPECT_NE(top.out.find("pid"), std::string::npos);
}

}  // namespace
