#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "quillmar/texts.h"
#include "tests/cli_run.h"
#include "tests/temp_dir.h"
#include "text/cp932.h"

namespace {

// Each candidate's bits 16..23 are the hour: 0x..03.... for hour 3.
TEST(CliSeeds, Hour3ListsTheSixCandidates) {
  CliResult r = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "3"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out,
            "8回前\t0xD4035754\n"
            "381回前\t0x9503A3A1\n"
            "432回前\t0x9903EE2C\n"
            "489回前\t0x57031C65\n"
            "604回前\t0x47031720\n"
            "800回前\t0xC60304BC\n");
  EXPECT_EQ(r.err, "");
  // The same seed in decimal (0x2684AD1F = 646229279) and lower-case hex.
  EXPECT_EQ(runCliCaptured({"seeds", "--seed=646229279", "--hour=3"}).out, r.out);
  EXPECT_EQ(runCliCaptured({"seeds", "--seed", "0x2684ad1f", "--hour", "3", "--steps", "1000"}).out, r.out);
}

TEST(CliSeeds, StepsLimitAndNothingFound) {
  CliResult r = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "3", "--steps", "381"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "8回前\t0xD4035754\n");
  CliResult one = runCliCaptured({"seeds", "--seed", "0xAD1C6073", "--hour", "12", "--steps", "1"});
  EXPECT_EQ(one.out, "0回前\t0x000C0000\n");
  CliResult ten = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "12", "--steps", "9999"});
  EXPECT_TRUE(ten.out.starts_with("352回前\t0x740C7E7C\n"));
  EXPECT_TRUE(ten.out.ends_with("\n2536回前\t0x590C3574\n"));
  // No candidate: nothing at all is printed.
  for (const char* steps : {"0", "-5", "8"}) {
    CliResult none = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "3", "--steps", steps});
    EXPECT_EQ(none.exitCode, 0) << steps;
    EXPECT_EQ(none.out, "") << steps;
  }
}

TEST(CliSeeds, EveryUnsignedDecimalIsTheSeedOfItsHexText) {
  // A seed is any 32-bit value: the decimal text and its "0x%08X" form name the
  // same state, above 2147483647 too.
  for (uint32_t seed : {0u, 646229279u, 2147483647u, 2147483648u, 3471870377u, 4294967295u}) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", seed);
    CliResult decimal = runCliCaptured({"seeds", "--seed", std::to_string(seed), "--hour", "14", "--steps", "3000"});
    CliResult written = runCliCaptured({"seeds", "--seed", hex, "--hour", "14", "--steps", "3000"});
    EXPECT_EQ(decimal.exitCode, 0) << seed << decimal.err;
    EXPECT_EQ(decimal.out, written.out) << seed;
    EXPECT_FALSE(decimal.out.empty()) << seed;
  }
}

TEST(CliSeeds, BadArguments) {
  const std::vector<std::vector<std::string>> bad = {
      {"seeds"},
      {"seeds", "--seed", "0x2684AD1F"},
      {"seeds", "--hour", "3"},
      {"seeds", "--seed", "0X2684AD1F", "--hour", "3"},
      {"seeds", "--seed", "0x", "--hour", "3"},
      {"seeds", "--seed", "0x123456789", "--hour", "3"},
      {"seeds", "--seed", "0x12g4", "--hour", "3"},
      {"seeds", "--seed", "4294967296", "--hour", "3"},
      {"seeds", "--seed", "-2147483649", "--hour", "3"},
      {"seeds", "--seed", " 123", "--hour", "3"},
      {"seeds", "--seed", "12ab", "--hour", "3"},
      {"seeds", "--seed", "", "--hour", "3"},
      {"seeds", "--seed", "1", "--hour", "24"},  // an hour of play is 0..23
      {"seeds", "--seed", "1", "--hour", "-1"},
      {"seeds", "--seed", "1", "--hour", "x"},
      {"seeds", "--seed", "1", "--hour", "1", "--steps", "10000"},
      {"seeds", "--seed", "1", "--hour", "1", "--steps", "-1000"},
      {"seeds", "--seed", "1", "--hour", "1", "--steps", "1e3"},
      {"seeds", "--seed", "1", "--hour", "1", "--bogus"},
      {"seeds", "--seed", "1", "--hour", "1", "extra"},
      {"seeds", "--seed"},
  };
  for (const auto& args : bad) expectUsageError(args);
  EXPECT_EQ(runCliCaptured({"seeds", "--seed", "1", "--hour", "24"}).err,
            "quillmar-cli: error: --hour '24': expected a number 0..23\n");
}

TEST(CliEggs, FrameTwelveOfTheWorkedExampleOnStdout) {
  CliResult r = runCliCaptured({"eggs", "--seed", "0", "--frames", "13", "--out", "-"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  // Standard output carries the file's CP932 bytes unchanged.
  EXPECT_EQ(r.out.rfind(std::string(texts::kTextResultHeader) + "\n", 0), 0u);
  std::string utf8 = cp932ToUtf8(r.out);
  EXPECT_TRUE(utf8.starts_with("回数,なつき+コイン,性格値,性格,特性,性別値,色\n0,0+0回,8C7F0AAC,うっかりや,1,172,\n"));
  EXPECT_TRUE(utf8.ends_with("\n12,1+0回,7005B724,すなお,1,36,\n"));
  int lines = 0;
  for (char c : utf8) lines += c == '\n';
  EXPECT_EQ(lines, 14);
}

TEST(CliEggs, OptionsReachTheRequest) {
  // Marriage with TID 44355: frame 0 stops at the shiny second reroll.
  CliResult m = runCliCaptured({"eggs", "--seed", "0x0", "--frames", "1", "--tid", "44355", "--marriage", "--out", "-"});
  EXPECT_EQ(cp932ToUtf8(m.out), "回数,なつき+コイン,性格値,性格,特性,性別値,色\n0,0+0回,EC714132,のうてんき,1,50,★\n");
  // The same ID given as SID gives the same shiny value.
  CliResult s = runCliCaptured({"eggs", "--seed", "0", "--frames", "1", "--sid", "44355", "--marriage", "--out", "-"});
  EXPECT_EQ(s.out, m.out);
  // Nature by number and by name, gender and ability by number and by text.
  auto body = [](std::vector<std::string> args) {
    CliResult r = runCliCaptured(args);
    EXPECT_EQ(r.exitCode, 0) << joinedArgs(args) << r.err;
    std::string utf8 = cp932ToUtf8(r.out);
    return utf8.substr(utf8.find('\n') + 1);
  };
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "3", "--nature", "19", "--out", "-"}),
            "0,0+0回,8C7F0AAC,うっかりや,1,172,\n");
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "3", "--nature", "うっかりや", "--out", "-"}),
            "0,0+0回,8C7F0AAC,うっかりや,1,172,\n");
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "3", "--gender", "2", "--out", "-"}),
            "1,0+1回,97C4AA2F,むじゃき,2,47,\n2,0+2回,B716A675,わんぱく,2,117,\n");
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "3", "--gender", "♂(1/2)", "--out", "-"}),
            "0,0+0回,8C7F0AAC,うっかりや,1,172,\n");
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "3", "--ability", "2", "--out", "-"}),
            "1,0+1回,97C4AA2F,むじゃき,2,47,\n2,0+2回,B716A675,わんぱく,2,117,\n");
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "3", "--ability", "特性1", "--out", "-"}),
            "0,0+0回,8C7F0AAC,うっかりや,1,172,\n");
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "0", "--out", "-"}), "");
  // The highest IDs are taken: TID and SID 65535 cancel as 0 and 0 do.
  EXPECT_EQ(body({"eggs", "--seed", "0", "--frames", "60", "--tid", "65535", "--sid", "65535", "--out", "-"}),
            body({"eggs", "--seed", "0", "--frames", "60", "--out", "-"}));
  // The default is 50000 frames: 50001 lines.
  CliResult d = runCliCaptured({"eggs", "--seed", "-1", "--out", "-"});
  int lines = 0;
  for (char c : d.out) lines += c == '\n';
  EXPECT_EQ(lines, 50001);
}

TEST(CliEggsFile, WritesTheFileAndNothingOnStdout) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  std::string path = dir.file("list.txt");
  CliResult r = runCliCaptured({"eggs", "--seed", "0", "--frames", "13", "--out", path});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(readFileBytes(path), textModeBytes(runCliCaptured({"eggs", "--seed", "0", "--frames", "13", "--out", "-"}).out));
}

TEST(CliEggsFile, DefaultsToResultTxtInTheWorkingFolder) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path);
  CliResult r = runCliCaptured({"eggs", "--seed", "0", "--frames", "2"});
  std::filesystem::current_path(previous);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(cp932ToUtf8(readFileBytes(dir.file("result.txt"))),
            textModeBytes("回数,なつき+コイン,性格値,性格,特性,性別値,色\n0,0+0回,8C7F0AAC,うっかりや,1,172,\n"
                          "1,0+1回,97C4AA2F,むじゃき,2,47,\n"));
}

TEST(CliEggsFile, AnUnwritableFolderFailsWithoutOutput) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  std::string path = dir.file("missing") + "/list.txt";
  CliResult r = runCliCaptured({"eggs", "--seed", "0", "--frames", "13", "--out", path});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: cannot create '" + path + "'", 0), 0u) << r.err;
  bool exists = true;
  readFileBytes(path, &exists);
  EXPECT_FALSE(exists);
}

TEST(CliEggs, BadArguments) {
  const std::vector<std::vector<std::string>> bad = {
      {"eggs"},
      {"eggs", "--frames", "13"},
      {"eggs", "--seed", "0X10"},
      {"eggs", "--seed", "0x1234567890"},
      {"eggs", "--seed", "4294967296"},
      {"eggs", "--seed", "0", "--frames", "1000000"},
      {"eggs", "--seed", "0", "--frames", "-1"},
      {"eggs", "--seed", "0", "--frames", ""},
      {"eggs", "--seed", "0", "--tid", "65536"},  // an ID is 16 bits
      {"eggs", "--seed", "0", "--tid", "-1"},
      {"eggs", "--seed", "0", "--sid", "65536"},
      {"eggs", "--seed", "0", "--sid", "abc"},
      {"eggs", "--seed", "0", "--nature", "25"},
      {"eggs", "--seed", "0", "--nature", "うっかり"},
      {"eggs", "--seed", "0", "--gender", "0"},
      {"eggs", "--seed", "0", "--gender", "9"},
      {"eggs", "--seed", "0", "--gender", "指定しない"},
      {"eggs", "--seed", "0", "--gender", "♂"},
      {"eggs", "--seed", "0", "--ability", "0"},
      {"eggs", "--seed", "0", "--ability", "3"},
      {"eggs", "--seed", "0", "--marriage=1"},
      {"eggs", "--seed", "0", "--out"},
      {"eggs", "--seed", "0", "--out", ""},
      {"eggs", "--seed", "0", "--bogus"},
      {"eggs", "--seed", "0", "result.txt"},
  };
  for (const auto& args : bad) expectUsageError(args);
}

TEST(CliSeedsEggs, HelpDescribesEveryOption) {
  CliResult seeds = runCliCaptured({"seeds", "--help"});
  EXPECT_EQ(seeds.exitCode, 0);
  for (const char* option : {"--seed", "--hour", "--steps", "0..23", "-999..9999"})
    EXPECT_NE(seeds.out.find(option), std::string::npos) << option;
  CliResult eggs = runCliCaptured({"eggs", "--help"});
  EXPECT_EQ(eggs.exitCode, 0);
  for (const char* option : {"--seed", "--frames", "--tid", "--sid", "--marriage", "--shiny-only", "--nature",
                             "--gender", "--ability", "--out", "0..999999", "0..65535"})
    EXPECT_NE(eggs.out.find(option), std::string::npos) << option;
  CliResult top = runCliCaptured({"--help"});
  EXPECT_NE(top.out.find("seeds"), std::string::npos);
  EXPECT_NE(top.out.find("eggs"), std::string::npos);
  EXPECT_NE(top.out.find("'eggs --out -' writes result.txt's CP932 bytes"), std::string::npos) << top.out;
}

}  // namespace
