// Arbitrary EggListRequest fields written to a memory stream. The lines must be
// the header and then exactly the frames a straightforward count keeps: the
// standard library's std::mt19937 (the same published generator) gives the
// PIDs, the rerolls, the shiny test and the filters are written out here from
// their definitions (the gender filter from the share its option text shows),
// and each written line must carry the kept frame's number, its div/mod 12,
// its PID, the nature's name, the ability slot and the gender value, with "★"
// exactly on shiny frames. Lists of up to 4000 frames outgrow the writer's
// 128 KiB buffer, so its mid-list writes are fuzzed too.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "core/egg_list.h"
#include "quillmar/texts.h"

namespace {

// Frame counts are kept small so that each run is quick; one in eight inputs
// may pass the 624-word boundaries where the generator twists again and, past
// about 2900 kept lines, the writer's buffer fills.
constexpr int32_t kSmallFrames = 48;
constexpr int32_t kLargeFrames = 4000;

// Room for the header and kLargeFrames lines of at most ~60 bytes.
char gSink[kLargeFrames * 64 + 256];

AppState gApp;

[[noreturn]] void fail(const char* what, long long frame, long long got, long long want) {
  std::fprintf(stderr, "fuzz_egg_request: %s (frame %lld): got %lld, expected %lld\n", what, frame, got, want);
  std::abort();
}

bool shiny(uint32_t pid, int32_t tid, int32_t sid) {
  uint32_t x = static_cast<uint32_t>(tid) ^ static_cast<uint32_t>(sid) ^ (pid >> 16) ^ (pid & 0xFFFFu);
  return x < 8u;
}

// The eight gender options as the player reads them: "♂(n/d)" keeps the
// share n/d of gender values that are male, the top values g >= 256 - 256 n/d;
// "♀(n/d)" keeps the bottom share, g < 256 n/d. The option texts alternate
// ♂, ♀, starting with ♂(1/2); only their "(n/d)" is read here.
const char* const kGenderTexts[8] = {texts::kTextGenderOption1, texts::kTextGenderOption2, texts::kTextGenderOption3,
                                     texts::kTextGenderOption4, texts::kTextGenderOption5, texts::kTextGenderOption6,
                                     texts::kTextGenderOption7, texts::kTextGenderOption8};

bool genderPasses(int option, uint32_t pid) {
  if (option < 0 || option > 7) return true;
  const char* share = std::strchr(kGenderTexts[option], '(');
  int n = 0;
  int d = 0;
  if (share == nullptr || std::sscanf(share, "(%d/%d)", &n, &d) != 2 || d <= 0) std::abort();
  const uint32_t g = pid & 0xFFu;
  const bool male = option % 2 == 0;
  return male ? g >= 256u - 256u * static_cast<uint32_t>(n) / static_cast<uint32_t>(d)
              : g < 256u * static_cast<uint32_t>(n) / static_cast<uint32_t>(d);
}

// The nature names in game order (row = PID mod 25), from the texts.
const char* const kNatureTexts[25] = {
    texts::kTextNature0,  texts::kTextNature1,  texts::kTextNature2,  texts::kTextNature3,  texts::kTextNature4,
    texts::kTextNature5,  texts::kTextNature6,  texts::kTextNature7,  texts::kTextNature8,  texts::kTextNature9,
    texts::kTextNature10, texts::kTextNature11, texts::kTextNature12, texts::kTextNature13, texts::kTextNature14,
    texts::kTextNature15, texts::kTextNature16, texts::kTextNature17, texts::kTextNature18, texts::kTextNature19,
    texts::kTextNature20, texts::kTextNature21, texts::kTextNature22, texts::kTextNature23, texts::kTextNature24};

struct Expected {
  int32_t frame;
  uint32_t pid;
  bool shiny;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  EggListRequest request{};
  request.initialSeed = in.ConsumeIntegral<uint32_t>();
  const bool large = (in.ConsumeIntegral<uint8_t>() & 7) == 0;
  int32_t frames = in.ConsumeIntegral<int32_t>();
  if (frames > 0) frames = frames % ((large ? kLargeFrames : kSmallFrames) + 1);
  request.frameCount = frames;
  request.tid = in.ConsumeIntegral<int32_t>();
  request.sid = in.ConsumeIntegral<int32_t>();
  request.internationalMarriage = in.ConsumeBool();
  request.shinyOnly = in.ConsumeBool();
  request.natureChoice = in.ConsumeIntegral<int>();
  request.genderChoice = in.ConsumeIntegral<int>();
  request.abilityChoice = in.ConsumeIntegral<int>();
  // Mostly the choices the lists offer (-1..25, -1..8, -1..2), sometimes any int.
  if (!in.ConsumeBool()) {
    request.natureChoice = (request.natureChoice % 27 + 27) % 27 - 1;
    request.genderChoice = (request.genderChoice % 10 + 10) % 10 - 1;
    request.abilityChoice = (request.abilityChoice % 4 + 4) % 4 - 1;
  }

  std::FILE* sink = fmemopen(gSink, sizeof gSink, "w");
  if (sink == nullptr) std::abort();
  if (!writeEggPidList(gApp.eggList, request, sink)) fail("a write to the memory stream was refused", -1, 0, 1);
  const long written = std::ftell(sink);
  std::fclose(sink);
  if (written <= 0 || written >= static_cast<long>(sizeof gSink)) fail("bytes written", -1, written, 0);
  gSink[written] = '\0';

  if (gApp.eggList.eggInitialSeed != request.initialSeed || gApp.eggList.eggFrameCount != request.frameCount ||
      gApp.eggList.settings.tid != request.tid || gApp.eggList.settings.sid != request.sid ||
      gApp.eggList.settings.internationalMarriage != (request.internationalMarriage ? 1 : 0) ||
      gApp.eggList.settings.shinyOnly != (request.shinyOnly ? 1 : 0))
    fail("request values stored in AppState", -1, 0, 0);

  // The header line.
  const char* p = gSink;
  const std::size_t headerLen = std::strlen(texts::kTextResultHeader);
  if (std::strncmp(p, texts::kTextResultHeader, headerLen) != 0 || p[headerLen] != '\n') fail("header", -1, 0, 0);
  p += headerLen + 1;

  // The straightforward count, frame by frame, compared with each line as it comes.
  std::mt19937 mt(request.initialSeed);
  int32_t kept = 0;
  for (int32_t i = 0; i < request.frameCount; ++i) {
    uint32_t pid = static_cast<uint32_t>(mt());
    if (request.internationalMarriage) {
      for (int r = 0; r < 4 && !shiny(pid, request.tid, request.sid); ++r) pid = pid * 0x6C078965u + 1u;
    }
    const bool isShiny = shiny(pid, request.tid, request.sid);
    bool keep = !request.shinyOnly || isShiny;
    if (request.natureChoice > 0 && static_cast<uint32_t>(request.natureChoice - 1) != pid % 25u) keep = false;
    if (request.genderChoice > 0 && !genderPasses(request.genderChoice - 1, pid)) keep = false;
    if (request.abilityChoice > 0 && static_cast<uint32_t>(request.abilityChoice) != (pid & 1u) + 1u) keep = false;
    if (!keep) continue;
    ++kept;

    const char* end = std::strchr(p, '\n');
    if (end == nullptr) fail("missing line", i, 0, 1);
    int frame = -1;
    int div = -1;
    int mod = -1;
    unsigned linePid = 0;
    int consumed = 0;
    if (std::sscanf(p, "%d,%d+%d%n", &frame, &div, &mod, &consumed) != 3) fail("line start", i, 0, 0);
    if (frame != i) fail("frame number", i, frame, i);
    if (div != i / 12 || mod != i % 12) fail("div/mod 12", i, div * 100 + mod, (i / 12) * 100 + i % 12);
    // After "回," comes the PID in eight upper-case hexadecimal digits.
    const char* comma = std::strchr(p + consumed, ',');
    if (comma == nullptr || comma > end || std::sscanf(comma + 1, "%8X", &linePid) != 1) fail("pid field", i, 0, 0);
    if (linePid != pid) fail("pid", i, linePid, pid);
    // Then ",NAME,ABILITY,GENDER,": a CP932 name holds no comma byte.
    const char* name = comma + 1 + 8;
    if (*name++ != ',') fail("comma after the pid", i, name[-1], ',');
    const char* nameEnd = std::strchr(name, ',');
    const char* nature = kNatureTexts[pid % 25u];
    if (nameEnd == nullptr || nameEnd > end || static_cast<std::size_t>(nameEnd - name) != std::strlen(nature) ||
        std::strncmp(name, nature, std::strlen(nature)) != 0)
      fail("nature name", i, nameEnd ? nameEnd - name : -1, static_cast<long long>(pid % 25u));
    int ability = -1;
    int gender = -1;
    int tail = 0;
    if (std::sscanf(nameEnd, ",%d,%d,%n", &ability, &gender, &tail) != 2 || tail == 0) fail("columns 5, 6", i, 0, 0);
    if (ability != static_cast<int>(pid & 1u) + 1) fail("ability slot", i, ability, (pid & 1u) + 1);
    if (gender != static_cast<int>(pid & 0xFFu)) fail("gender value", i, gender, pid & 0xFFu);
    if (nameEnd + tail != end && nameEnd + tail + std::strlen(texts::kTextShinyMark) != end)
      fail("line end after the gender value", i, end - (nameEnd + tail), 0);
    const std::size_t markLen = std::strlen(texts::kTextShinyMark);
    const bool marked = static_cast<std::size_t>(end - p) >= markLen &&
                        std::strncmp(end - markLen, texts::kTextShinyMark, markLen) == 0;
    if (marked != isShiny) fail("shiny mark", i, marked, isShiny);
    if (!marked && end[-1] != ',') fail("line ends with a comma", i, end[-1], ',');
    p = end + 1;
  }
  if (*p != '\0') fail("lines beyond the kept frames", kept, static_cast<long long>(std::strlen(p)), 0);
  return 0;
}
