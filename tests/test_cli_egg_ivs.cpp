// quillmar-cli egg-ivs and egg-iv-search: egg-ivs's lines against the rules
// taken draw by draw (tests/reference), written out here in the line's
// format; each egg-iv-search line against egg-ivs and seed-time run on its
// seed; the same output whatever the thread count; what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rng.h"
#include "tests/cli_run.h"
#include "tests/reference/reference_scans.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (std::size_t tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1) {
    parts.push_back(line.substr(at, tab - at));
  }
  parts.push_back(line.substr(at));
  return parts;
}

struct ListCase {
  std::vector<std::string> args;  // after "egg-ivs SEED"
  EggParents parents;
  IvRange ranges[kStatCount];
};

TEST(CliEggIvs, LinesAreTheModelsInRangeFrames) {
  const IvRange open{0, 31};
  const ListCase cases[] = {
      {{"--parent-a", "31,31,31,31,31,31", "--parent-b", "0,1,2,3,4,5"},
       {EggGame::kDppt, {31, 31, 31, 31, 31, 31}, {0, 1, 2, 3, 4, 5}, PowerItem::kNone, PowerItem::kNone},
       {open, open, open, open, open, open}},
      {{"--parent-a", "31,30,29,28,27,26", "--parent-b", "6,7,8,9,10,11", "--game", "hgss", "--min", "0,20,0,0,0,0"},
       {EggGame::kHgss, {31, 30, 29, 28, 27, 26}, {6, 7, 8, 9, 10, 11}, PowerItem::kNone, PowerItem::kNone},
       {open, {20, 31}, open, open, open, open}},
      {{"--parent-a", "31,31,31,31,31,31", "--parent-b", "2,2,2,2,2,2", "--game", "hgss", "--item-b", "anklet",
        "--max", "31,31,31,20,31,31"},
       {EggGame::kHgss, {31, 31, 31, 31, 31, 31}, {2, 2, 2, 2, 2, 2}, PowerItem::kNone, PowerItem::kAnklet},
       {open, open, open, {0, 20}, open, open}},
      {{"--parent-a", "31,31,31,31,31,31", "--parent-b", "30,30,30,30,30,30", "--game", "hgss", "--item-a",
        "weight", "--item-b", "band", "--min", "30,30,0,0,0,30"},
       {EggGame::kHgss, {31, 31, 31, 31, 31, 31}, {30, 30, 30, 30, 30, 30}, PowerItem::kWeight, PowerItem::kBand},
       {{30, 31}, {30, 31}, open, open, open, {30, 31}}},
  };
  for (const ListCase& c : cases) {
    std::vector<std::string> args = {"egg-ivs", "0xC0FFEE01", "--frames", "3000"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::string expected;
    uint32_t state = 0xC0FFEE01u;
    for (int n = 0; n < 3000; ++n, state = Lcg32::Next(state)) {
      const EggIvs e = eggIvsByDraws(state, c.parents);
      std::string line = std::to_string(n) + "\t";
      bool kept = true;
      for (int i = 0; i < kStatCount; ++i) {
        kept = kept && e.ivs[i] >= c.ranges[i].low && e.ivs[i] <= c.ranges[i].high;
        line += std::to_string(e.ivs[i]) + (e.from[i] == IvSource::kParentA   ? "A"
                                            : e.from[i] == IvSource::kParentB ? "B"
                                                                              : "");
        line += i < kStatCount - 1 ? " " : "\n";
      }
      if (kept) expected += line;
    }
    const CliResult r = runCliCaptured(args);
    EXPECT_EQ(r.exitCode, 0) << joinedArgs(args) << r.err;
    EXPECT_EQ(r.out, expected) << joinedArgs(args);
    EXPECT_GT(linesOf(r.out).size(), 20u) << joinedArgs(args);
  }
}

TEST(CliEggIvSearch, LinesAreEggIvsAndTheFirstMomentsWhateverTheThreads) {
  const std::vector<std::string> base = {"egg-iv-search", "--year",   "2031", "--parent-a", "31,31,31,31,31,31",
                                         "--parent-b",    "31,31,31,31,31,31", "--min", "31,31,31,0,31,31",
                                         "--hours",       "3,20",     "--delay-min", "1000", "--delay-max", "1039",
                                         "--max-frame",   "40", "--limit", "0"};
  std::vector<std::string> one = base;
  one.insert(one.end(), {"--threads", "1"});
  std::vector<std::string> three = base;
  three.insert(three.end(), {"--threads", "3"});
  const CliResult r = runCliCaptured(one);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(runCliCaptured(three).out, r.out);
  const std::vector<std::string> lines = linesOf(r.out);
  ASSERT_GT(lines.size(), 10u);
  for (const std::string& line : lines) {
    const std::vector<std::string> f = fields(line);
    ASSERT_EQ(f.size(), 5u) << line;
    const std::string list = "\n" + runCliCaptured({"egg-ivs", f[0], "--frames", std::to_string(std::stoi(f[1]) + 1),
                                             "--parent-a", "31,31,31,31,31,31", "--parent-b", "31,31,31,31,31,31"})
                                 .out;
    EXPECT_NE(list.find("\n" + f[1] + "\t" + f[2] + "\n"), std::string::npos) << line;
    const std::string moment = linesOf(runCliCaptured({"seed-time", f[0], "--year", "2031", "--limit", "1"}).out)[0];
    EXPECT_EQ(f[3] + " " + f[4], moment) << line;
  }
  const CliResult none = runCliCaptured({"egg-iv-search", "--year", "2026", "--parent-a", "0,0,0,0,0,0",
                                         "--parent-b", "0,0,0,0,0,0", "--min", "31,31,31,31,31,31", "--hours", "5",
                                         "--delay-max", "300", "--max-frame", "3"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, "no hit: no n below 3 of the 256 seeds of 2026 gives IVs within --min..--max\n");
}

TEST(CliEggIvs, MalformedRequestsAreRefused) {
  const std::vector<std::string> parents = {"--parent-a", "1,2,3,4,5,6", "--parent-b", "6,5,4,3,2,1"};
  const std::vector<std::vector<std::string>> bad = {
      {"--parent-a", "1,2,3,4,5,32", "--parent-b", "6,5,4,3,2,1"},
      {"--parent-a", "1,2,3,4,5", "--parent-b", "6,5,4,3,2,1"},
      {"--parent-a", "1,2,3,4,5,6,7", "--parent-b", "6,5,4,3,2,1"},
      {"--parent-b", "6,5,4,3,2,1"},
      {"--item-a", "bracer"},
      {"--game", "dppt", "--item-b", "band"},
      {"--game", "hgss", "--item-a", "everstone"},
      {"--game", "rse"},
      {"--min", "0,0,0,21,0,0", "--max", "31,31,31,20,31,31"},
      {"--min", "0,0,0,-1,0,0"},
  };
  for (const std::vector<std::string>& b : bad) {
    for (std::vector<std::string> args : {std::vector<std::string>{"egg-ivs", "0x1234"},
                                          std::vector<std::string>{"egg-iv-search", "--year", "2026"}}) {
      if (b[0] != "--parent-a" && b[0] != "--parent-b") args.insert(args.end(), parents.begin(), parents.end());
      args.insert(args.end(), b.begin(), b.end());
      expectUsageError(args);
    }
  }
  expectUsageError({"egg-ivs", "0x1234", "--frames", "0", "--parent-a", "1,2,3,4,5,6", "--parent-b", "1,2,3,4,5,6"});
  expectUsageError({"egg-ivs", "--parent-a", "1,2,3,4,5,6", "--parent-b", "1,2,3,4,5,6"});
  expectUsageError({"egg-iv-search", "--parent-a", "1,2,3,4,5,6", "--parent-b", "1,2,3,4,5,6"});
}

}  // namespace
