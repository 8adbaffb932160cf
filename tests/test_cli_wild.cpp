#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli_run.h"

namespace {

// Seed 0x12345678's draws 4..7 are 0xF4E0, 0x2684, 0x9837 and 0x91AC: the gift
// at advance 3 has PID 0x2684F4E0 (nature 23, ability 1, gender value 224),
// IVs 23 1 6 / 12 13 4, Hidden Power type (1+2+16) * 15 / 63 = 4 (いわ) and
// power (1+4) * 40 / 63 + 30 = 33; draw 4 is 5344 mod 8192, in M's third.
TEST(CliWild, TheGiftLineAndItsFilters) {
  const std::string line3 = "3\t2684F4E0\tしんちょう\t1\t224\t23 1 6 12 13 4\tいわ 33\t\t-\t-\t5344 M\n";
  CliResult r = runCliCaptured({"wild", "0x12345678", "--game", "dppt", "--kind", "gift", "--advances", "6"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find(line3), std::string::npos) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 6);
  r = runCliCaptured({"wild", "305419896", "--game=dppt", "--kind=gift", "--nature", "しんちょう,0", "--advances", "6"});
  EXPECT_EQ(r.out, line3);
  r = runCliCaptured({"wild", "0x12345678", "--game", "dppt", "--kind", "gift", "--hidden-power", "いわ", "--min",
                      "23,0,0,0,0,0", "--advances", "6"});
  EXPECT_EQ(r.out, line3);
  r = runCliCaptured({"wild", "0x12345678", "--game", "dppt", "--kind", "gift", "--advances", "6", "--min-power", "70"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "no match: no advance below 6 gives a creature the filters keep\n");
}

// The rods' lines end in the bite; what does not bite is left out.
TEST(CliWild, ARodLineEndsInItsBite) {
  CliResult all = runCliCaptured({"wild", "0x1", "--game", "hgss", "--kind", "old-rod", "--advances", "50"});
  CliResult half = runCliCaptured({"wild", "0x1", "--game", "hgss", "--kind", "old-rod", "--rate", "50", "--advances", "50"});
  ASSERT_EQ(all.exitCode, 0) << all.err;
  std::size_t kept = 0;
  for (std::size_t at = 0, end; (end = all.out.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = all.out.substr(at, end - at);
    const int bite = std::stoi(line.substr(line.rfind('\t') + 1));
    EXPECT_LT(bite, 100);
    if (bite < 50) {
      EXPECT_NE(half.out.find(line + "\n"), std::string::npos) << line;
      ++kept;
    }
  }
  EXPECT_EQ(static_cast<std::size_t>(std::count(half.out.begin(), half.out.end(), '\n')), kept);
}

// A run of cues read off the seed at a known advance is found there.
TEST(CliWild, FindNamesTheAdvanceARunOfCuesStartsAt) {
  for (const std::string command : {"pitches", "calls"}) {
    CliResult heard = runCliCaptured({command, "0xC0FFEE", "--skip", "37", "--count", "12"});
    ASSERT_EQ(heard.exitCode, 0) << heard.err;
    const std::string letters = heard.out.substr(0, 12);
    CliResult r = runCliCaptured({command, "0xC0FFEE", "--find", letters, "--skips", "200"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("37\tnow 49\n"), std::string::npos) << command << " " << r.out;
    EXPECT_EQ(runCliCaptured({command, "0xC0FFEE", "--find", letters, "--skips", "36"}).out.find("37\t"),
              std::string::npos);
  }
  EXPECT_EQ(runCliCaptured({"pitches", "0x1", "--count", "64"}).out.find_first_not_of("LMH"), 64u);
}

TEST(CliWild, RejectsWhatTheGameCannotDo) {
  const std::vector<std::string> gift = {"wild", "0x1", "--game", "dppt", "--kind", "gift"};
  const std::vector<std::vector<std::string>> extra = {
      {"--kind", "rod"},        {"--game", "bw"},          {"--gender-ratio", "100"}, {"--levels", "5-3"},
      {"--levels", "0-3"},      {"--tid", "65536"},        {"--lead", "sync:x"},      {"--lead", "cute:X"},
      {"--roamer"},             {"--feebas", "tile"},      {"--rate", "50"},          {"--nature", "0,25"},
      {"--slot", "12"},         {"--hidden-power", "16"},  {"--min-power", "71"},     {"--gender", "N"},
      {"--advances", "0"},      {"--min", "0,0,0,0,0"},    {"--ability", "3"},
  };
  for (const auto& more : extra) {
    std::vector<std::string> args = gift;
    args.insert(args.end(), more.begin(), more.end());
    CliResult r = runCliCaptured(args);
    EXPECT_EQ(r.exitCode, 2) << more[0];
    EXPECT_EQ(r.out, "") << more[0];
    EXPECT_EQ(r.err.rfind("quillmar-cli: error: ", 0), 0u) << r.err;
  }
  EXPECT_EQ(runCliCaptured({"wild", "0x1", "--game", "hgss", "--kind", "old-rod", "--feebas", "lake"}).exitCode, 2);
  EXPECT_EQ(runCliCaptured({"wild", "0x1", "--kind", "gift"}).exitCode, 2);
  EXPECT_EQ(runCliCaptured({"pitches", "0x1", "--find", "LMX"}).exitCode, 2);
  EXPECT_EQ(runCliCaptured({"calls", "0x1", "--find", "EKP", "--before-pokerus"}).exitCode, 2);
}

}  // namespace

namespace {

// Each hit's columns are those wild prints for its seed at its advance, and
// its moment is the first of the year that gives its seed.
TEST(CliWildSearch, AHitIsWildsLineAtItsSeedAndAdvance) {
  const std::vector<std::string> creature = {"--game", "dppt", "--kind", "static", "--min", "31,31,31,31,31,31"};
  std::vector<std::string> args = {"wild-search", "--year", "2026", "--max-advance", "1000", "--limit", "3"};
  args.insert(args.end(), creature.begin(), creature.end());
  CliResult r = runCliCaptured(args);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  int lines = 0;
  for (std::size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1, ++lines) {
    const std::string line = r.out.substr(at, end - at);
    const std::string seed = line.substr(0, line.find('\t'));
    const std::size_t afterN = line.find('\t', seed.size() + 1);
    const int n = std::stoi(line.substr(seed.size() + 1));
    std::vector<std::string> wild = {"wild", seed, "--advances", std::to_string(n + 1)};
    wild.insert(wild.end(), creature.begin(), creature.end());
    std::string listed = runCliCaptured(wild).out;
    listed = listed.substr(listed.rfind('\n', listed.size() - 2) + 1);  // the line of advance n
    ASSERT_EQ(listed.rfind(std::to_string(n) + "\t", 0), 0u) << listed;
    const std::string columns = listed.substr(listed.find('\t') + 1, listed.size() - listed.find('\t') - 2);
    EXPECT_EQ(line.substr(afterN + 1, columns.size()), columns) << line;
    std::string moment = runCliCaptured({"seed-time", seed, "--year", "2026", "--limit", "1"}).out;
    moment.resize(moment.find('\n'));
    moment[moment.find(" delay")] = '\t';
    EXPECT_EQ(line.substr(line.size() - moment.size()), moment) << line;
  }
  EXPECT_EQ(lines, 3);
  r = runCliCaptured({"wild-search", "--year", "2026", "--game", "hgss", "--kind", "gift", "--max-advance", "10001"});
  EXPECT_EQ(r.exitCode, 2);
  r = runCliCaptured({"wild-search", "--year", "2026", "--game", "hgss", "--kind", "gift", "--hours", "3",
                      "--delay-max", "300", "--shiny-only", "--max-advance", "2", "--min", "31,31,31,31,31,31"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out.rfind("no hit: no advance below 2 of the 256 seeds of 2026", 0), 0u) << r.out;
}

}  // namespace
