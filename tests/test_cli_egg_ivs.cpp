// quillmar-cli egg-ivs and egg-iv-search: egg-ivs's lines against the rules
// taken draw by draw (tests/reference), in the line's format written out
// here; each egg-iv-search line against egg-ivs and seed-time run on its
// seed, whatever the thread count; what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rng.h"
#include "tests/cli_run.h"
#include "tests/reference/reference_scans.h"

namespace {

TEST(CliEggIvs, LinesAreTheModelsInRangeFrames) {
  // HGSS with both items, H, A and D wanted at 30 or 31; DPPt with S at most 20.
  const EggParents hgss{EggGame::kHgss, {31, 31, 31, 31, 31, 31}, {30, 30, 30, 30, 30, 30}, PowerItem::kWeight,
                        PowerItem::kBand};
  const EggParents dppt{EggGame::kDppt, {31, 30, 29, 28, 27, 26}, {6, 7, 8, 9, 10, 11}, PowerItem::kNone,
                        PowerItem::kNone};
  for (const bool isHgss : {true, false}) {
    std::vector<std::string> args = {"egg-ivs", "0xC0FFEE01", "--frames", "3000"};
    if (isHgss) {
      args.insert(args.end(), {"--parent-a", "31,31,31,31,31,31", "--parent-b", "30,30,30,30,30,30", "--game", "hgss",
                               "--item-a", "weight", "--item-b", "band", "--min", "30,30,0,0,0,30"});
    } else {
      args.insert(args.end(), {"--parent-a", "31,30,29,28,27,26", "--parent-b", "6,7,8,9,10,11", "--max",
                               "31,31,31,20,31,31"});
    }
    std::string expected;
    uint32_t state = 0xC0FFEE01u;
    for (int n = 0; n < 3000; ++n, state = Lcg32::Next(state)) {
      const EggIvs e = eggIvsByDraws(state, isHgss ? hgss : dppt);
      const bool kept = isHgss ? e.ivs[0] >= 30 && e.ivs[1] >= 30 && e.ivs[5] >= 30 : e.ivs[3] <= 20;
      if (!kept) continue;
      expected += std::to_string(n);
      for (int i = 0; i < kStatCount; ++i) {
        expected += i == 0 ? '\t' : ' ';
        expected += std::to_string(e.ivs[i]);
        expected += e.from[i] == IvSource::kParentA ? "A" : e.from[i] == IvSource::kParentB ? "B" : "";
      }
      expected += "\n";
    }
    const CliResult r = runCliCaptured(args);
    EXPECT_EQ(r.exitCode, 0) << joinedArgs(args) << r.err;
    EXPECT_EQ(r.out, expected) << joinedArgs(args);
    EXPECT_GT(linesOf(r.out).size(), 20u) << joinedArgs(args);
  }
}

TEST(CliEggIvSearch, LinesAreEggIvsAndTheFirstMomentsWhateverTheThreads) {
  const std::vector<std::string> parents = {"--parent-a", "31,31,31,31,31,31", "--parent-b", "31,31,31,31,31,31"};
  std::vector<std::string> one = {"egg-iv-search", "--year", "2031", "--min", "31,31,31,0,31,31", "--hours", "3,20",
                                  "--delay-min", "1000", "--delay-max", "1039", "--max-frame", "40", "--limit", "0"};
  one.insert(one.end(), parents.begin(), parents.end());
  std::vector<std::string> three = one;
  one.insert(one.end(), {"--threads", "1"});
  three.insert(three.end(), {"--threads", "3"});
  const CliResult r = runCliCaptured(one);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(runCliCaptured(three).out, r.out);
  const std::vector<std::string> lines = linesOf(r.out);
  ASSERT_GT(lines.size(), 10u);
  for (const std::string& line : lines) {
    const std::vector<std::string> f = fields(line);
    ASSERT_EQ(f.size(), 5u) << line;
    std::vector<std::string> list = {"egg-ivs", f[0], "--frames", std::to_string(std::stoi(f[1]) + 1)};
    list.insert(list.end(), parents.begin(), parents.end());
    const std::string listed = runCliCaptured(list).out;
    EXPECT_NE(("\n" + listed).find("\n" + f[1] + "\t" + f[2] + "\n"), std::string::npos) << line;
    const std::string moment = linesOf(runCliCaptured({"seed-time", f[0], "--year", "2031", "--limit", "1"}).out)[0];
    EXPECT_EQ(f[3] + " " + f[4], moment) << line;
  }
  std::vector<std::string> none = {"egg-iv-search", "--year", "2026", "--min", "31,31,31,31,31,31", "--hours", "5",
                                   "--delay-max", "300", "--max-frame", "3", "--parent-a", "0,0,0,0,0,0",
                                   "--parent-b", "0,0,0,0,0,0"};
  EXPECT_EQ(runCliCaptured(none).exitCode, 1);
  EXPECT_EQ(runCliCaptured(none).out,
            "no hit: no n below 3 of the 256 seeds of 2026 gives IVs within --min..--max\n");
}

TEST(CliEggIvs, MalformedRequestsAreRefused) {
  const std::vector<std::vector<std::string>> bad = {
      {"--parent-a", "1,2,3,4,5,32"}, {"--parent-a", "1,2,3,4,5"},  {"--parent-a", "1,2,3,4,5,6,7"},
      {"--item-a", "bracer"},         {"--game", "dppt", "--item-b", "band"},
      {"--game", "hgss", "--item-a", "everstone"},                  {"--game", "rse"},
      {"--min", "0,0,0,21,0,0", "--max", "31,31,31,20,31,31"},      {"--min", "0,0,0,-1,0,0"},
  };
  for (const std::vector<std::string>& b : bad) {
    for (std::vector<std::string> args : {std::vector<std::string>{"egg-ivs", "0x1234"},
                                          std::vector<std::string>{"egg-iv-search", "--year", "2026"}}) {
      args.insert(args.end(), {"--parent-a", "1,2,3,4,5,6", "--parent-b", "6,5,4,3,2,1"});
      args.insert(args.end(), b.begin(), b.end());  // the last --parent-a counts
      expectUsageError(args);
    }
  }
  expectUsageError({"egg-ivs", "0x1234", "--parent-b", "6,5,4,3,2,1"});
  expectUsageError({"egg-ivs", "0x1234", "--frames", "0", "--parent-a", "1,2,3,4,5,6", "--parent-b", "1,2,3,4,5,6"});
  expectUsageError({"egg-ivs", "--parent-a", "1,2,3,4,5,6", "--parent-b", "1,2,3,4,5,6"});
  expectUsageError({"egg-iv-search", "--parent-a", "1,2,3,4,5,6", "--parent-b", "1,2,3,4,5,6"});
}

}  // namespace
