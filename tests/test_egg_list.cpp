#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/egg_list.h"
#include "core/rng.h"
#include "quillmar/texts.h"
#include "tests/cli_run.h"
#include "tests/temp_dir.h"
#include "text/cp932.h"

namespace {

AppState gApp;  // large; kept out of the stack

EggListRequest plain(uint32_t seed, int32_t frames) {
  EggListRequest r{};
  r.initialSeed = seed;
  r.frameCount = frames;
  return r;
}

// The list as CP932 bytes, written to a memory stream.
std::string listBytes(const EggListRequest& request) {
  gApp = AppState{};
  std::FILE* f = std::tmpfile();
  writeEggPidList(gApp.eggList, request, f);
  return readAll(f);
}

// The list's lines in UTF-8, without their "\n".
std::vector<std::string> listLines(const EggListRequest& request) {
  std::string utf8 = cp932ToUtf8(listBytes(request));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the last line has no newline";
      end = utf8.size();
    }
    lines.push_back(utf8.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

const char kHeader[] = "回数,なつき+コイン,性格値,性格,特性,性別値,色";

// The first field of a line: its frame number.
int frameOf(const std::string& line) { return std::stoi(line.substr(0, line.find(','))); }
// The third field: the PID.
uint32_t pidOf(const std::string& line) {
  std::size_t a = line.find(',');
  std::size_t b = line.find(',', a + 1);
  return static_cast<uint32_t>(std::stoul(line.substr(b + 1, 8), nullptr, 16));
}

std::string hex8(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", v);
  return buf;
}

TEST(EggList, WorkedExampleSeedZero) {
  std::vector<std::string> lines = listLines(plain(0, 13));
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], kHeader);
  EXPECT_EQ(lines[1], "0,0+0回,8C7F0AAC,うっかりや,1,172,");
  EXPECT_EQ(lines[2], "1,0+1回,97C4AA2F,むじゃき,2,47,");
  EXPECT_EQ(lines[3], "2,0+2回,B716A675,わんぱく,2,117,");
  EXPECT_EQ(lines[12], "11,0+11回,6266D6F2,おっとり,1,242,");
  EXPECT_EQ(lines[13], "12,1+0回,7005B724,すなお,1,36,");
  // The bytes themselves: CP932 header and "★" as 0x81 0x9A when shiny.
  std::string bytes = listBytes(plain(0, 1));
  EXPECT_EQ(bytes.substr(0, std::string(texts::kTextResultHeader).size() + 1),
            std::string(texts::kTextResultHeader) + "\n");
  EXPECT_EQ(std::string(texts::kTextShinyMark), "\x81\x9A");
}

TEST(EggList, StoresTheRequestAndReseedsTheGenerator) {
  EggListRequest r = plain(0xDEADBEEF, 3);
  r.tid = 12345;
  r.sid = 54321;
  r.internationalMarriage = true;
  r.shinyOnly = true;
  gApp = AppState{};
  Seed(gApp.eggList.mt, 5489);
  Twist(gApp.eggList.mt);  // stale words from an earlier run must not matter
  std::FILE* f = std::tmpfile();
  writeEggPidList(gApp.eggList, r, f);
  std::fclose(f);
  EXPECT_EQ(gApp.eggList.eggInitialSeed, 0xDEADBEEFu);
  EXPECT_EQ(gApp.eggList.eggFrameCount, 3);
  EXPECT_EQ(gApp.eggList.settings.tid, 12345);
  EXPECT_EQ(gApp.eggList.settings.sid, 54321);
  EXPECT_EQ(gApp.eggList.settings.internationalMarriage, 1);
  EXPECT_EQ(gApp.eggList.settings.shinyOnly, 1);
  // Two runs of one request give the same bytes.
  EXPECT_EQ(listBytes(plain(7, 700)), listBytes(plain(7, 700)));
}

TEST(EggList, EveryFrameIsOneGeneratorOutputAcrossTheTwists) {
  std::vector<std::string> lines = listLines(plain(0, 1300));
  ASSERT_EQ(lines.size(), 1301u);
  std::mt19937 reference(0);
  for (int i = 0; i < 1300; ++i) {
    uint32_t pid = reference();
    const std::string& line = lines[static_cast<std::size_t>(i) + 1];
    ASSERT_EQ(frameOf(line), i);
    ASSERT_EQ(pidOf(line), pid) << "frame " << i;
  }
  // Frame 624 is word 0 after the second twist; frames 623 and 625 sit beside it.
  std::mt19937 again(0);
  again.discard(624);
  EXPECT_EQ(lines[624].rfind("623,51+11回,", 0), 0u);
  EXPECT_EQ(lines[625].rfind("624,52+0回," + hex8(again()) + ",", 0), 0u);
  EXPECT_EQ(lines[626].rfind("625,52+1回,", 0), 0u);

  std::vector<std::string> upTo625 = listLines(plain(0, 625));
  ASSERT_EQ(upTo625.size(), 626u);
  EXPECT_EQ(upTo625.back(), lines[625]);
}

TEST(EggList, NoFramesWritesTheHeaderOnly) {
  for (int32_t frames : {0, -1, INT32_MIN}) {
    std::vector<std::string> lines = listLines(plain(0, frames));
    ASSERT_EQ(lines.size(), 1u) << frames;
    EXPECT_EQ(lines[0], kHeader);
  }
  std::vector<std::string> one = listLines(plain(0, 1));
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(one[1], "0,0+0回,8C7F0AAC,うっかりや,1,172,");
}

TEST(EggList, MarriageRerollsTakeNoGeneratorOutput) {
  // With TID = SID = 0, 0x8C7F0AAC goes through 0x458941DD, 0xEC714132,
  // 0xC4F07ABB to 0xA3AB7EC8: none is shiny, so the fourth value stays.
  EggListRequest r = plain(0, 13);
  r.internationalMarriage = true;
  std::vector<std::string> lines = listLines(r);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[1], "0,0+0回,A3AB7EC8,おだやか,1,200,");
  std::mt19937 reference(0);
  for (int i = 0; i < 13; ++i) {
    uint32_t pid = reference();
    EXPECT_EQ(frameOf(lines[static_cast<std::size_t>(i) + 1]), i);
    EXPECT_EQ(pidOf(lines[static_cast<std::size_t>(i) + 1]), MarriageReroll(pid, 0, 0)) << i;
  }

  // TID 44355 = 0xAD43 = 0xEC71 ^ 0x4132: the second reroll is shiny and stops them.
  r.tid = 44355;
  lines = listLines(r);
  EXPECT_EQ(lines[1], "0,0+0回,EC714132,のうてんき,1,50,★");

  // A first PID that is already shiny is kept: TID 0x8C7F ^ 0x0AAC = 34515.
  r.tid = 34515;
  lines = listLines(r);
  EXPECT_EQ(lines[1], "0,0+0回,8C7F0AAC,うっかりや,1,172,★");
  // The next frame is still output 1 of the generator, rerolled on its own.
  EXPECT_EQ(pidOf(lines[2]), MarriageReroll(0x97C4AA2F, 34515, 0));
}

TEST(EggList, ShinyMarkAndShinyOnly) {
  EggListRequest r = plain(0, 2000);
  r.tid = 34515;  // frame 0 (0x8C7F0AAC) is shiny
  std::vector<std::string> all = listLines(r);
  std::vector<std::string> shinyLines;
  std::mt19937 reference(0);
  for (int i = 0; i < 2000; ++i) {
    uint32_t pid = reference();
    uint32_t v = 34515u ^ (pid >> 16) ^ (pid & 0xFFFFu);
    const std::string& line = all[static_cast<std::size_t>(i) + 1];
    bool marked = line.ends_with(",★");
    EXPECT_EQ(marked, v < 8) << line;
    EXPECT_TRUE(marked || line.ends_with(",")) << line;
    if (v < 8) shinyLines.push_back(line);
  }
  ASSERT_GE(shinyLines.size(), 1u);
  EXPECT_EQ(shinyLines[0], "0,0+0回,8C7F0AAC,うっかりや,1,172,★");

  r.shinyOnly = true;
  std::vector<std::string> kept = listLines(r);
  ASSERT_EQ(kept.size(), shinyLines.size() + 1);
  for (std::size_t k = 0; k < shinyLines.size(); ++k) EXPECT_EQ(kept[k + 1], shinyLines[k]);
}

TEST(EggList, Tid65536MakesNothingShiny) {
  // IDs are not reduced to 16 bits: bit 16 stays in the shiny value.
  EggListRequest r = plain(0, 3000);
  r.tid = 65536;
  r.internationalMarriage = true;
  std::vector<std::string> lines = listLines(r);
  ASSERT_EQ(lines.size(), 3001u);
  // All four rerolls run: frame 0 ends on the fourth value.
  EXPECT_EQ(lines[1], "0,0+0回,A3AB7EC8,おだやか,1,200,");
  for (const std::string& line : lines) EXPECT_EQ(line.find("★"), std::string::npos) << line;

  // Shiny only with such an ID keeps nothing, and the header is still written.
  r.shinyOnly = true;
  std::vector<std::string> none = listLines(r);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0], kHeader);
}

TEST(EggList, NatureGenderAndAbilityFilters) {
  EggListRequest r = plain(0, 3000);
  r.natureChoice = 20;  // keeps NatureIndex 19, うっかりや
  std::vector<std::string> lines = listLines(r);
  std::mt19937 reference(0);
  std::vector<int> expectedFrames;
  for (int i = 0; i < 3000; ++i) {
    if (reference() % 25 == 19) expectedFrames.push_back(i);
  }
  ASSERT_EQ(lines.size(), expectedFrames.size() + 1);
  ASSERT_FALSE(expectedFrames.empty());
  EXPECT_EQ(expectedFrames[0], 0);
  for (std::size_t k = 0; k < expectedFrames.size(); ++k) {
    EXPECT_EQ(frameOf(lines[k + 1]), expectedFrames[k]);
    EXPECT_NE(lines[k + 1].find(",うっかりや,"), std::string::npos) << lines[k + 1];
  }

  // Frames 0..2 have gender values 172, 47, 117 and ability slots 1, 2, 2.
  auto framesKept = [](EggListRequest request) {
    std::vector<int> frames;
    std::vector<std::string> ls = listLines(request);
    for (std::size_t k = 1; k < ls.size(); ++k) frames.push_back(frameOf(ls[k]));
    return frames;
  };
  EggListRequest small = plain(0, 3);
  small.genderChoice = 1;  // ♂(1/2): g >= 128
  EXPECT_EQ(framesKept(small), (std::vector<int>{0}));
  small.genderChoice = 2;  // ♀(1/2): g < 128
  EXPECT_EQ(framesKept(small), (std::vector<int>{1, 2}));
  small.genderChoice = 4;  // ♀(1/8): g < 32
  EXPECT_EQ(framesKept(small), (std::vector<int>{}));
  small.genderChoice = 0;
  small.abilityChoice = 1;
  EXPECT_EQ(framesKept(small), (std::vector<int>{0}));
  small.abilityChoice = 2;
  EXPECT_EQ(framesKept(small), (std::vector<int>{1, 2}));
  // Every filter must pass: ability 2 and ♂(1/2) leave nothing of frames 0..2.
  small.genderChoice = 1;
  EXPECT_EQ(framesKept(small), (std::vector<int>{}));
  // Choices of 0 or below (a list with no selection) filter nothing.
  small = plain(0, 3);
  small.natureChoice = -1;
  small.genderChoice = -1;
  small.abilityChoice = -1;
  EXPECT_EQ(framesKept(small), (std::vector<int>{0, 1, 2}));
}

TEST(EggListFile, WritesTheSameBytesAsTheStreamAndTruncates) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  std::string path = dir.file("result.txt");
  gApp = AppState{};
  ASSERT_EQ(writeEggPidListFile(gApp.eggList, plain(0, 700), path.c_str()).outcome, OutputOutcome::kWritten);
  ASSERT_EQ(writeEggPidListFile(gApp.eggList, plain(0, 13), path.c_str()).outcome, OutputOutcome::kWritten);  // overwrites
  std::string expected = listBytes(plain(0, 13));
  EXPECT_NE(cp932ToUtf8(expected).find("\n12,1+0回,7005B724,すなお,1,36,\n"), std::string::npos);
  EXPECT_EQ(readFileBytes(path), textModeBytes(expected));

  // A run that keeps nothing still creates the file with its header.
  ASSERT_EQ(writeEggPidListFile(gApp.eggList, plain(0, 0), path.c_str()).outcome, OutputOutcome::kWritten);
  EXPECT_EQ(readFileBytes(path), textModeBytes(std::string(texts::kTextResultHeader) + "\n"));
}

TEST(EggListFile, AFolderThatCannotHoldTheFileWritesNothing) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  // Inside a missing folder, and below a regular file, nothing can be created.
  std::string missing = dir.file("no-such-folder") + "/result.txt";
  std::string blocker = dir.file("result.txt");
  std::FILE* f = std::fopen(blocker.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  std::string belowFile = blocker + "/result.txt";
  for (const std::string& path : {missing, belowFile}) {
    gApp = AppState{};
    EggListRequest r = plain(0x1234, 50);
    r.tid = 7;
    EXPECT_EQ(writeEggPidListFile(gApp.eggList, r, path.c_str()).outcome, OutputOutcome::kNotCreated) << path;
    bool exists = true;
    readFileBytes(path, &exists);
    EXPECT_FALSE(exists) << path;
    EXPECT_EQ(gApp.eggList.eggInitialSeed, 0x1234u);  // the request is still stored
    EXPECT_EQ(gApp.eggList.settings.tid, 7);
  }
  EXPECT_EQ(readFileBytes(blocker), "");  // the blocking file was left as it was
}

}  // namespace
