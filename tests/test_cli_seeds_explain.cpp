#include <gtest/gtest.h>

#include "tests/cli_run.h"

namespace {

TEST(CliSeedsExplain, HourAndDelayOfEachCandidate) {
  // The six hour-3 candidates of 0x2684AD1F: the delays are CCCC - (year -
  // 2000); those within the default 300..9999 are reachable.
  CliResult r = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "3", "--explain", "--year", "2000"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "8回前\t0xD4035754\thour 3\tdelay 22356\tunreachable\n"    // 0x5754
            "381回前\t0x9503A3A1\thour 3\tdelay 41889\tunreachable\n"  // 0xA3A1
            "432回前\t0x9903EE2C\thour 3\tdelay 60972\tunreachable\n"  // 0xEE2C
            "489回前\t0x57031C65\thour 3\tdelay 7269\treachable\n"     // 0x1C65
            "604回前\t0x47031720\thour 3\tdelay 5920\treachable\n"     // 0x1720
            "800回前\t0xC60304BC\thour 3\tdelay 1212\treachable\n");   // 0x04BC
  CliResult later = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "3", "--steps", "381", "--explain",
                                    "--year=2010"});
  EXPECT_EQ(later.out, "8回前\t0xD4035754\thour 3\tdelay 22346\tunreachable\n");
}

TEST(CliSeedsExplain, DelayWindowDecidesReachability) {
  const std::vector<std::string> base = {"seeds", "--seed", "0xAD1C6073", "--hour", "12", "--steps", "1", "--explain"};
  auto run = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = base;
    args.insert(args.end(), extra.begin(), extra.end());
    return runCliCaptured(args);
  };
  // 0x000C0000 in 2000 needs delay 0: below the default 300.
  EXPECT_EQ(run({"--year", "2000"}).out, "0回前\t0x000C0000\thour 12\tdelay 0\tunreachable\n");
  EXPECT_EQ(run({"--year", "2000", "--delay-min", "0"}).out, "0回前\t0x000C0000\thour 12\tdelay 0\treachable\n");
  // In 2001 CCCC = 0 is 1 below the year's offset: 0 + 65536 - 1 = 65535 frames,
  // reachable only by a window that holds 65535.
  EXPECT_EQ(run({"--year", "2001", "--delay-min", "0"}).out, "0回前\t0x000C0000\thour 12\tdelay 65535\tunreachable\n");
  EXPECT_EQ(run({"--year", "2001", "--delay-max", "65535"}).out,
            "0回前\t0x000C0000\thour 12\tdelay 65535\treachable\n");

  // Hour 12 from 0x2684AD1F: the first candidate 0x740C7E7C needs 32380 frames,
  // the tenth 0x590C3574 needs 13684 - 99 = 13585 in 2099.
  CliResult ten = runCliCaptured(
      {"seeds", "--seed", "0x2684AD1F", "--hour", "12", "--steps", "9999", "--explain", "--year", "2099"});
  EXPECT_TRUE(ten.out.starts_with("352回前\t0x740C7E7C\thour 12\tdelay 32281\tunreachable\n")) << ten.out;
  EXPECT_TRUE(ten.out.ends_with("\n2536回前\t0x590C3574\thour 12\tdelay 13585\tunreachable\n")) << ten.out;
  CliResult wide = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "12", "--steps", "9999", "--explain",
                                   "--year", "2099", "--delay-min", "13585", "--delay-max", "32281"});
  EXPECT_TRUE(wide.out.starts_with("352回前\t0x740C7E7C\thour 12\tdelay 32281\treachable\n")) << wide.out;
  EXPECT_TRUE(wide.out.ends_with("\n2536回前\t0x590C3574\thour 12\tdelay 13585\treachable\n")) << wide.out;
  CliResult narrow = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "12", "--steps", "9999", "--explain",
                                     "--year", "2099", "--delay-min", "13586", "--delay-max", "32280"});
  EXPECT_TRUE(narrow.out.ends_with("\tdelay 13585\tunreachable\n")) << narrow.out;
}

TEST(CliSeedsExplain, BadArgumentsExitTwoWithAMessageAndNoOutput) {
  const std::vector<std::string> base = {"seeds", "--seed", "0x2684AD1F", "--hour", "3"};
  const std::vector<std::vector<std::string>> extras = {
      {"--year", "2000"},
      {"--delay-min", "0"},
      {"--delay-max", "100"},
      {"--explain"},
      {"--explain=yes", "--year", "2000"},
      {"--explain", "--year", "1999"},
      {"--explain", "--year", "2100"},
      {"--explain", "--year", "y2k"},
      {"--explain", "--year", "2000", "--delay-min", "-1"},
      {"--explain", "--year", "2000", "--delay-max", "65536"},
      {"--explain", "--year", "2000", "--delay-min", "x"},
      {"--explain", "--year", "2000", "--delay-min", "500", "--delay-max", "499"},
      {"--explain", "--year", "2000", "--delay-min", "10000"},  // above the default maximum 9999
      {"--explain", "--year"},
  };
  for (const auto& extra : extras) {
    std::vector<std::string> args = base;
    args.insert(args.end(), extra.begin(), extra.end());
    expectUsageError(args);
  }
}

TEST(CliSeedsExplain, HelpNamesTheOptionsAndTheDefaultWindow) {
  CliResult r = runCliCaptured({"seeds", "--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* text : {"--explain", "--year", "--delay-min", "--delay-max", "default 300", "default 9999",
                           "seed-time"})
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
}

}  // namespace
