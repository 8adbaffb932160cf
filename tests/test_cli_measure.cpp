#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli_run.h"

namespace {

const std::string kAssets = std::string(QUILLMAR_SOURCE_DIR) + "/assets";

TEST(CliSpecies, PrintsBaseStatsInStatOrder) {
  CliResult r = runCliCaptured({"species", "ピカチュウ", "--dir", kAssets});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "35,55,30,90,50,40\n");
  EXPECT_EQ(r.err, "");
  r = runCliCaptured({"species", "--dir=" + kAssets, "ポリゴンＺ"});
  EXPECT_EQ(r.out, "85,80,70,90,135,75\n");
  // Like the window, only the first 10 CP932 bytes are compared.
  r = runCliCaptured({"species", "ピカチュウです", "--dir", kAssets});
  EXPECT_EQ(r.out, "35,55,30,90,50,40\n");
}

TEST(CliSpecies, UnknownNameExitsOneWithAMessage) {
  for (const char* name : {"ピカチュ", "ポリゴンZ", "Pikachu"}) {
    CliResult r = runCliCaptured({"species", name, "--dir", kAssets});
    EXPECT_EQ(r.exitCode, 1) << name;
    EXPECT_EQ(r.out, "") << name;
    EXPECT_EQ(r.err.rfind("quillmar-cli: error: ", 0), 0u) << r.err;
  }
}

TEST(CliSpecies, BadArgumentsExitTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {"species"},
      {"species", "", "--dir", kAssets},
      {"species", "ピカチュウ", "ライチュウ", "--dir", kAssets},
      {"species", "ピカチュウ", "--dir"},
      {"species", "ピカチュウ", "--base", "1"},
  };
  for (const auto& args : bad) expectUsageError(args);
}

TEST(CliMeasure, HpBase45Example) {
  // Base 45 HP at level 5 showing 20: IVs 10..29, separable at level 6.
  // A/B (base 49) show 10 for IVs 2..21, S (45) 10 for 10..29, C/D (65) 11 for 0..9.
  CliResult r = runCliCaptured(
      {"measure", "--base", "45,49,49,45,65,65", "--nature", "0", "--at", "5:20,10,10,10,11,11"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "H 10-29 6\n"
            "A 2-21 6\n"
            "B 2-21 6\n"
            "S 10-29 6\n"
            "C 0-9 6\n"
            "D 0-9 6\n");
  // The second measurement at level 6 with HP 22 leaves 10..26, next level 7.
  r = runCliCaptured({"measure", "--base", "45,49,49,45,65,65", "--nature", "0", "--at", "5:20,10,10,10,11,11",
                      "--at", "6:22,11,11,11,12,12"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), "H 10-26 7\n");
}

TEST(CliMeasure, SpeciesAndNatureByNameWithRaisedAndLoweredStats) {
  // ピカチュウ (35,55,30,90,50,40), ひかえめ (C x1.1, A x0.9), all IVs 31 at level 50:
  // 110, 67, 50, 110, 77, 60. IVs 30 and 31 give the same stats there.
  CliResult r = runCliCaptured({"measure", "--species", "ピカチュウ", "--dir", kAssets, "--nature", "ひかえめ", "--at",
                                "50:110,67,50,110,77,60"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "H 30-31 100\n"
            "A 30-31 52\n"
            "B 30-31 51\n"
            "S 30-31 55\n"
            "C 30-31 52\n"
            "D 30-31 55\n");
}

TEST(CliMeasure, FixedStatsAcceptADashAndShowNoLevel) {
  // At level 100 every stat tells its IV: HP 200 + I, base 100 gives 205 + I,
  // base 45 gives 95 + I.
  CliResult r = runCliCaptured({"measure", "--base", "45,100,45,45,45,45", "--nature", "0", "--at",
                                "100:205,236,100,100,100,100", "--at", "50:-,-,-,-,-,-"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "H 5 -\nA 31 -\nB 5 -\nS 5 -\nC 5 -\nD 5 -\n");
}

TEST(CliMeasure, BadArgumentsExitTwoWithNothingPrinted) {
  const std::string base = "45,49,49,45,65,65";
  const std::vector<std::vector<std::string>> bad = {
      {"measure"},
      {"measure", "--base", base, "--nature", "0"},
      {"measure", "--nature", "0", "--at", "5:20,10,10,10,11,11"},
      {"measure", "--base", base, "--at", "5:20,10,10,10,11,11"},
      {"measure", "--base", base, "--species", "ピカチュウ", "--nature", "0", "--at", "5:20,10,10,10,11,11"},
      {"measure", "--base", "45,49,49,45,65", "--nature", "0", "--at", "5:20,10,10,10,11,11"},
      {"measure", "--base", "45,49,49,45,65,0", "--nature", "0", "--at", "5:20,10,10,10,11,11"},
      {"measure", "--base", "45,49,49,45,65,256", "--nature", "0", "--at", "5:20,10,10,10,11,11"},
      {"measure", "--base", base, "--nature", "25", "--at", "5:20,10,10,10,11,11"},
      {"measure", "--base", base, "--nature", "0", "--at", "0:20,10,10,10,11,11"},
      {"measure", "--base", base, "--nature", "0", "--at", "101:20,10,10,10,11,11"},
      {"measure", "--base", base, "--nature", "0", "--at", "5:20,10,10,10,11"},
      {"measure", "--base", base, "--nature", "0", "--at", "5:20,10,10,10,11,1000"},
      {"measure", "--base", base, "--nature", "0", "--at", "20,10,10,10,11,11"},
      {"measure", "--base", base, "--nature", "0", "--at", "5:-,10,10,10,11,11"},
      // A dash for a stat that the first measurement left open.
      {"measure", "--base", base, "--nature", "0", "--at", "5:20,10,10,10,11,11", "--at", "6:-,11,11,11,12,12"},
      {"measure", "--base", base, "--nature", "0", "--at", "5:20,10,10,10,11,11", "extra"},
  };
  for (const auto& args : bad) expectUsageError(args);
  CliResult missing = runCliCaptured(
      {"measure", "--species", "ピカチュ", "--dir", kAssets, "--nature", "0", "--at", "5:20,10,10,10,11,11"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
}

TEST(CliMeasure, HelpListsBothSubcommands) {
  CliResult top = runCliCaptured({"--help"});
  EXPECT_NE(top.out.find("species"), std::string::npos);
  EXPECT_NE(top.out.find("measure"), std::string::npos);
  CliResult r = runCliCaptured({"measure", "--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* option : {"--base", "--species", "--dir", "--nature", "--at"})
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  EXPECT_NE(runCliCaptured({"species", "--help"}).out.find("--dir"), std::string::npos);
}

}  // namespace
