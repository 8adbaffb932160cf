// The buffered egg-list writer must put out exactly the bytes of the writer
// that makes one printf-style call per line, for every filter and request,
// and leave AppState as that writer does.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "core/egg_list.h"
#include "core/rng.h"
#include "tests/cli_run.h"
#include "tests/reference/reference_scans.h"
#include "tests/temp_dir.h"

namespace {

AppState gFast;       // large; kept out of the stack
AppState gReference;

std::string fastBytes(const EggListRequest& request) {
  std::FILE* f = std::tmpfile();
  writeEggPidList(gFast.eggList, request, f);
  return readAll(f);
}

std::string referenceBytes(const EggListRequest& request) {
  std::FILE* f = std::tmpfile();
  writeEggPidListStraightforward(gReference.eggList, request, f);
  return readAll(f);
}

std::string describe(const EggListRequest& r) {
  char text[200];
  std::snprintf(text, sizeof text, "seed %08X frames %d tid %d sid %d marriage %d shinyOnly %d nature %d gender %d ability %d",
                r.initialSeed, r.frameCount, r.tid, r.sid, r.internationalMarriage, r.shinyOnly, r.natureChoice,
                r.genderChoice, r.abilityChoice);
  return text;
}

// Compares the two writers on one request; returns the number of lines written.
std::size_t expectSameList(const EggListRequest& request) {
  gFast = AppState{};
  gReference = AppState{};
  const std::string fast = fastBytes(request);
  const std::string reference = referenceBytes(request);
  EXPECT_EQ(fast.size(), reference.size()) << describe(request);
  if (fast != reference) {
    std::size_t at = 0;
    while (at < fast.size() && at < reference.size() && fast[at] == reference[at]) ++at;
    std::size_t lineStart = reference.rfind('\n', at == 0 ? 0 : at - 1);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    ADD_FAILURE() << describe(request) << "\nfirst difference at byte " << at << "\nexpected line: "
                  << reference.substr(lineStart, reference.find('\n', lineStart) - lineStart)
                  << "\nwritten:       " << fast.substr(lineStart, fast.find('\n', lineStart) - lineStart);
  }
  EXPECT_EQ(std::memcmp(&gFast.eggList.mt, &gReference.eggList.mt, sizeof gFast.eggList.mt), 0) << describe(request);
  EXPECT_EQ(gFast.eggList.eggInitialSeed, request.initialSeed);
  EXPECT_EQ(gFast.eggList.eggFrameCount, request.frameCount);
  EXPECT_EQ(gFast.eggList.settings.tid, request.tid);
  EXPECT_EQ(gFast.eggList.settings.sid, request.sid);
  EXPECT_EQ(gFast.eggList.settings.internationalMarriage, request.internationalMarriage ? 1 : 0);
  EXPECT_EQ(gFast.eggList.settings.shinyOnly, request.shinyOnly ? 1 : 0);
  std::size_t lines = 0;
  for (char c : reference) lines += c == '\n';
  return lines;
}

// The shiny value TID XOR SID must match for frame `frame` of `seed` to be
// shiny with SID 0: (pid >> 16) XOR (pid AND 0xFFFF) of that frame's output.
int32_t tidMakingFrameShiny(uint32_t seed, int frame) {
  Mt19937 mt{};
  Seed(mt, seed);
  uint32_t pid = 0;
  for (int i = 0, p = 0; i <= frame; ++i) {
    if (p == 0) Twist(mt);
    pid = Temper(mt, p);
    if (++p == kMtWordCount) p = 0;
  }
  return static_cast<int32_t>((pid >> 16) ^ (pid & 0xFFFFu));
}

EggListRequest request(uint32_t seed, int32_t frames) {
  EggListRequest r{};
  r.initialSeed = seed;
  r.frameCount = frames;
  return r;
}

TEST(EggListEquivalence, WorkedExampleAndEdgesOfTheFrameCount) {
  // Seed 0's second line is 0,0+0回,8C7F0AAC,うっかりや,1,172, in both.
  EXPECT_EQ(expectSameList(request(0, 13)), 14u);
  for (int32_t frames : {0, -1, -2147483647 - 1, 1, 11, 12, 13, 623, 624, 625, 1249}) {
    std::size_t lines = expectSameList(request(0x12345678u, frames));
    EXPECT_EQ(lines, static_cast<std::size_t>(frames > 0 ? frames + 1 : 1)) << frames;
  }
}

// Every option of every filter on its own (out-of-range choices included,
// which filter nothing or everything exactly as the tests say), with and
// without the marriage rerolls and the shiny filter, over a list that crosses
// a twist and holds shiny frames.
TEST(EggListEquivalence, EveryFilterOption) {
  const uint32_t seed = 0xC0FFEE01u;
  EggListRequest base = request(seed, 1300);
  base.tid = tidMakingFrameShiny(seed, 700);  // frame 700 is shiny without rerolls
  for (int flags = 0; flags < 4; ++flags) {
    base.internationalMarriage = flags & 1;
    base.shinyOnly = flags & 2;
    for (int n = -1; n <= 26; ++n) {
      EggListRequest r = base;
      r.natureChoice = n;
      expectSameList(r);
    }
    for (int g = -1; g <= 9; ++g) {
      EggListRequest r = base;
      r.genderChoice = g;
      expectSameList(r);
    }
    for (int a = -1; a <= 3; ++a) {
      EggListRequest r = base;
      r.abilityChoice = a;
      expectSameList(r);
    }
  }
  // The shiny frame is kept by the shiny filter and carries the mark.
  EggListRequest r = base;
  r.internationalMarriage = false;
  r.shinyOnly = true;
  EXPECT_GE(expectSameList(r), 2u);
}

// Random requests: seeds, frame counts, IDs (sometimes making a frame shiny,
// sometimes 65536 or more), flags and filter choices all drawn at random.
TEST(EggListEquivalence, RandomRequests) {
  std::mt19937 random(20261208u);
  auto below = [&random](uint32_t n) { return static_cast<int>(random() % n); };
  std::size_t shinyLines = 0;
  for (int trial = 0; trial < 300; ++trial) {
    EggListRequest r = request(static_cast<uint32_t>(random()), below(4000));
    switch (below(4)) {
      case 0:
        r.tid = below(65536);
        r.sid = below(65536);
        break;
      case 1:
        r.tid = r.frameCount > 0 ? tidMakingFrameShiny(r.initialSeed, below(static_cast<uint32_t>(r.frameCount))) : 0;
        break;
      case 2:
        r.tid = 65536 + below(34464);  // five digits: no PID is shiny
        break;
      default:
        r.tid = r.frameCount > 0 ? tidMakingFrameShiny(r.initialSeed, below(static_cast<uint32_t>(r.frameCount))) : 0;
        r.sid = r.tid ^ below(8);
        r.tid ^= r.sid;  // TID XOR SID still makes that frame shiny
        break;
    }
    r.internationalMarriage = below(2);
    r.shinyOnly = below(4) == 0;
    r.natureChoice = below(2) ? 0 : below(26);
    r.genderChoice = below(2) ? 0 : below(9);
    r.abilityChoice = below(2) ? 0 : below(3);
    const std::string before = referenceBytes(r);
    shinyLines += before.find("\x81\x9A") != std::string::npos;
    expectSameList(r);
    if (HasFailure()) break;
  }
  EXPECT_GT(shinyLines, 30u);  // the mark is compared, not only plain lines
}

// Past the frame numbers the window allows, across 999,999 -> 1,000,000 and
// many buffer fillings: every frame, then a filter that keeps about 1 in 25.
TEST(EggListEquivalence, LongListsAcrossManyBufferFillings) {
  EXPECT_EQ(expectSameList(request(0xDEADBEEFu, 200000)), 200001u);
  EggListRequest r = request(7u, 1000100);
  r.natureChoice = 20;
  EXPECT_GT(expectSameList(r), 30000u);
}

// The file itself, opened in text mode, holds the same bytes as the reference
// written through a text-mode stream of its own.
TEST(EggListEquivalence, FileMatchesTheReferenceInTextMode) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  EggListRequest r = request(0xA5A5A5A5u, 5000);
  r.tid = tidMakingFrameShiny(r.initialSeed, 4321);
  const std::string path = dir.file("result.txt");
  const std::string referencePath = dir.file("reference.txt");
  gFast = AppState{};
  ASSERT_EQ(writeEggPidListFile(gFast.eggList, r, path.c_str()).outcome, OutputOutcome::kWritten);
  std::FILE* f = std::fopen(referencePath.c_str(), "w");
  ASSERT_NE(f, nullptr);
  gReference = AppState{};
  writeEggPidListStraightforward(gReference.eggList, r, f);
  std::fclose(f);
  const std::string written = readFileBytes(path);
  EXPECT_EQ(written, readFileBytes(referencePath));
  EXPECT_NE(written.find("\x81\x9A"), std::string::npos);
}

}  // namespace
