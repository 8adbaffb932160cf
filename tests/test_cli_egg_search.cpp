// quillmar-cli egg-search: each line is the seed, its egg list line and the
// first line of its moments, as eggs and seed-time print them; exit codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli_run.h"
#include "text/cp932.h"

namespace {

// Each hit line against `eggs` and `seed-time` run on its seed with the same options.
void expectLinesFromOtherCommands(const std::vector<std::string>& search, const std::vector<std::string>& eggOptions,
                                  const std::string& year) {
  CliResult r = runCliCaptured(search);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> lines = linesOf(r.out);
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) {
    const std::vector<std::string> f = fields(line);
    ASSERT_EQ(f.size(), 4u) << line;
    std::vector<std::string> eggs = {"eggs", "--seed", f[0], "--frames", "1000", "--out", "-"};
    eggs.insert(eggs.end(), eggOptions.begin(), eggOptions.end());
    const std::string list = cp932ToUtf8(runCliCaptured(eggs).out);
    EXPECT_NE(list.find("\n" + f[1] + "\n"), std::string::npos) << line;
    const std::string moment = linesOf(runCliCaptured({"seed-time", f[0], "--year", year, "--limit", "1"}).out)[0];
    EXPECT_EQ(f[2] + " " + f[3], moment) << line;
  }
}

TEST(CliEggSearch, LinesAreTheEggListsAndTheFirstMoments) {
  CliResult r = runCliCaptured({"egg-search", "--year", "2026", "--marriage", "--shiny-only", "--tid", "12345",
                                "--sid", "54321", "--limit", "2"});
  // Seed 0x09160146 is AA 9, hour 22, delay 0x0146 - 26 = 300: 9 = 1 * 1 + 0 + 8
  // on January 1 at 22:00:08.
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "0x09160146\t0,0+0回,E5D201DA,しんちょう,1,218,★\t2026-01-01 22:00:08\tdelay 300");
  EXPECT_EQ(linesOf(r.out).size(), 2u);
  expectLinesFromOtherCommands({"egg-search", "--year", "2026", "--marriage", "--shiny-only", "--tid", "12345",
                                "--sid", "54321", "--max-frame", "700", "--hours", "3,20-21", "--limit", "12"},
                               {"--marriage", "--shiny-only", "--tid", "12345", "--sid", "54321"}, "2026");
  // Delays 65437..65535 of 2099 wrap CCCC past 65535 (0x0000..0x0062).
  expectLinesFromOtherCommands({"egg-search", "--year", "2099", "--nature", "ずぶとい", "--gender", "4", "--ability",
                                "2", "--delay-min", "65400", "--delay-max", "65535", "--hours", "0", "--max-frame", "3", "--limit", "0"},
                               {"--nature", "ずぶとい", "--gender", "4", "--ability", "2"}, "2099");
}

TEST(CliEggSearch, SameOutputForAnyThreadCount) {
  const std::vector<std::string> base = {"egg-search", "--year", "2040", "--nature", "3", "--hours", "5-6",
                                         "--delay-min", "1000", "--delay-max", "1003", "--max-frame", "30",
                                         "--limit", "0"};
  const CliResult one = runCliCaptured([&] { auto a = base; a.insert(a.end(), {"--threads", "1"}); return a; }());
  const CliResult three = runCliCaptured([&] { auto a = base; a.insert(a.end(), {"--threads", "3"}); return a; }());
  EXPECT_EQ(one.exitCode, 0);
  // 2 hours x 4 delays x 256 seeds x 30 frames, about one in 25 of a nature.
  EXPECT_GT(linesOf(one.out).size(), 2000u);
  EXPECT_EQ(one.out, three.out);
  EXPECT_EQ(one.err + three.err, "");
}

TEST(CliEggSearch, NothingFoundAndBadArguments) {
  // TID 65535: none of the 2560 PIDs of hour 0, delay 600 (CCCC 0x0272),
  // frames 0..9 of each AA, has (TID ^ SID ^ high ^ low) < 8.
  CliResult none = runCliCaptured({"egg-search", "--year", "2026", "--tid", "65535", "--hours", "0", "--delay-min",
                                   "600", "--delay-max", "600", "--max-frame", "10", "--shiny-only"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(linesOf(none.out).size(), 1u);
  EXPECT_EQ(none.out.rfind("no hit", 0), 0u) << none.out;
  const std::vector<std::vector<std::string>> bad = {
      {}, {"--year", "1999"}, {"--year", "2026", "--hours", "24"}, {"--year", "2026", "--hours", "3-2"},
      {"--year", "2026", "--hours", ""}, {"--year", "2026", "--hours", "1,,2"}, {"--year", "2026", "--hours", "-3"},
      {"--year", "2026", "--hours", "1,"}, {"--year", "2026", "--max-frame", "0"}, {"--year", "2026", "--limit", "-1"},
      {"--year", "2026", "--threads", "0"}, {"--year", "2026", "--threads", "65"},
      {"--year", "2026", "--delay-min", "10", "--delay-max", "5"}, {"--year", "2026", "--delay-max", "65536"},
      {"--year", "2026", "--nature", "25"}, {"--year", "2026", "--frames", "5"}, {"--year", "2026", "0x1234"},
      {"--year", "2026", "--tid", "65536"}, {"--year", "2026", "--sid", "70000"},
  };
  for (std::vector<std::string> args : bad) {
    args.insert(args.begin(), "egg-search");
    CliResult r = runCliCaptured(args);
    EXPECT_EQ(r.exitCode, 2) << args.size() << " " << args.back();
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("quillmar-cli: error: ", 0), 0u) << r.err;
  }
}

}  // namespace
