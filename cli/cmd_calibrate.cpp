// calibrate: after a missed try, the seeds of the moments and delays around the
// one aimed for, and which of them the player hit.
#include <algorithm>
#include <cstdio>
#include <thread>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "core/calibration.h"
#include "core/hit_sequence.h"
#include "text/cp932.h"

namespace {

// "<TAB>aim delay N", or "<TAB>aim delay none" when no delay corrects the try.
void printAimDelay(std::FILE* out, int32_t aim) {
  if (aim < 0) {
    std::fputs("\taim delay none", out);
  } else {
    std::fprintf(out, "\taim delay %d", aim);
  }
}

constexpr int64_t kDefaultSeconds = 1;
constexpr int64_t kDefaultDelays = 10;
// Seeds taken from --hit options and standard input together.
constexpr int32_t kMaxHitSeeds = 4096;
constexpr int32_t kPageCells = 256;
constexpr int64_t kDefaultCallSkips = 4;
// A page of sequence matches: a call that fills its page drops the rest of
// its last round (up to 65,536 cells scanned), so pages are large.
constexpr int32_t kPageMatches = 4096;

const char kCalibrateHelp[] =
    "usage: quillmar-cli calibrate --at \"YYYY-MM-DD HH:MM:SS\" --delay D "
    "[--seconds S]\n"
    "                              [--delays K] [--hit SEED]... [--hit -]\n"
    "                              [--flips SEQ [--skip K]]\n"
    "                              [--calls SEQ [--skips M] [--before-pokerus]]\n"
    "\n"
    "After a try that missed the aimed initial seed: the calibration table "
    "around the\n"
    "aimed moment and delay, and the cells whose seed was hit. Each cell is "
    "the moment\n"
    "DS seconds away on the console's clock (carrying into minutes, hours, "
    "days,\n"
    "months and years) with the delay D + DD, for every DS in -S..+S and DD in "
    "-K..+K,\n"
    "and the initial seed the game builds from them (as time-seed does). "
    "Moments\n"
    "outside 2000-01-01 00:00:00..2099-12-31 23:59:59 and delays outside "
    "0..65535\n"
    "have no cell.\n"
    "\n"
    "  --at MOMENT   the aimed moment, exactly \"YYYY-MM-DD HH:MM:SS\"\n"
    "  --delay D     the aimed delay, frames 0..65535\n"
    "  --seconds S   the seconds on each side, 0..600 (default 1)\n"
    "  --delays K    the delays on each side, 0..1000 (default 10)\n"
    "  --hit SEED    a seed that was hit: \"0x\" and hex digits, or decimal, "
    "as seeds\n"
    "                reads it; repeatable. \"--hit -\" takes every \"0x\" + "
    "hex token on\n"
    "                standard input, so that the output of 'quillmar-cli "
    "seeds' can be\n"
    "                piped in\n"
    "  --flips SEQ   the coin's flips (DPPt) after continuing, H or T each (either\n"
    "                case; spaces are ignored), 1..64 of them, as 'quillmar-cli\n"
    "                flips' prints them: the cells whose seed flips so\n"
    "  --skip K      the twister's outputs taken before the first flip, 0..100000\n"
    "                (default 0). Past K + flips = 227 each cell seeds its whole\n"
    "                twister: slower\n"
    "  --calls SEQ   Elm's answers (HGSS) after continuing, E, K or P each, as\n"
    "                'quillmar-cli calls' prints them: the cells whose seed answers\n"
    "                so after 0..M draws\n"
    "  --skips M     the most draws taken before the first call, 0..8 (default 4)\n"
    "  --before-pokerus  Elm has not yet told you about Pokerus: E or K only\n"
    "\n"
    "Each line: \"DSs<TAB>DD<TAB>SEED<TAB>YYYY-MM-DD HH:MM:SS<TAB>delay N\", "
    "signed\n"
    "offsets, ordered by DS, then DD, e.g.\n"
    "  +0s\t+0\t0xE102018C\t2026-04-27 02:58:59\tdelay 370\n"
    "With --hit only the cells whose seed was hit are printed, each followed "
    "by\n"
    "\"<TAB>aim delay N\": D - DD, the delay to aim for next time if the same "
    "timing\n"
    "error repeats, or \"<TAB>aim delay none\" when D - DD is below 0 and no delay\n"
    "corrects the try.\n"
    "With --flips or --calls only the cells whose seed begins the sequence are\n"
    "printed, as with --hit and then \"<TAB>skip K\": the skip at which it does (for\n"
    "--calls the first of 0..M). Several cells may match: all are printed.\n"
    "No cell hit: one line \"no match ...\" naming the ranges searched, exit "
    "code 1.\n";

bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Every whitespace-separated "0x" + hexadecimal token of `in`, appended to
// seeds[count..]. False when they would pass kMaxHitSeeds.
bool readSeedTokens(std::FILE* in, uint32_t* seeds, int32_t& count) {
  char token[32];
  std::size_t length = 0;
  bool tooLong = false;
  for (;;) {
    int c = std::fgetc(in);
    if (c == EOF || isSpace(c)) {
      uint32_t seed = 0;
      if (!tooLong && length > 2 && token[0] == '0' && token[1] == 'x' &&
          parseSeedArg(std::string_view(token, length), seed)) {
        if (count == kMaxHitSeeds) return false;
        seeds[count++] = seed;
      }
      length = 0;
      tooLong = false;
      if (c == EOF) return true;
      continue;
    }
    if (length < sizeof token) {
      token[length++] = static_cast<char>(c);
    } else {
      tooLong = true;
    }
  }
}

void printCell(std::FILE* out, const CalibrationCell& cell) {
  const ConsoleMoment& m = cell.moment;
  std::fprintf(out, "%+ds\t%+d\t0x%08X\t%04d-%02d-%02d %02d:%02d:%02d\tdelay %d", cell.secondOffset, cell.delayOffset,
               cell.seed, m.year, m.month, m.day, m.hour, m.minute, m.second, m.delay);
}

const char* sequenceOption(HitSource source) { return source == HitSource::kCoin ? "--flips" : "--calls"; }

// The letters of --flips or --calls into `search`; exit 2 with the reason.
int readSequence(const CliIo& io, const std::string& text, HitSearch& search) {
  const std::string cp932 = utf8ToCp932(text);
  const HitTextResult read = parseHitText(cp932.c_str(), search);
  const char* option = sequenceOption(search.source);
  const char* set = search.source == HitSource::kCoin ? "H or T"
                    : search.beforePokerus           ? "E or K (before Pokerus)"
                                                     : "E, K or P";
  switch (read.status) {
    case HitTextStatus::kOk: return kExitOk;
    case HitTextStatus::kEmpty: return cliError(io, "%s '%s': no letter: expected %s", option, text.c_str(), set);
    case HitTextStatus::kTooLong:
      return cliError(io, "%s: %d letters, at most %d", option, read.letters, kMaxHitLetters);
    case HitTextStatus::kBadLetter: break;
  }
  const std::string letter = cp932ToUtf8(std::string_view(cp932).substr(read.at, read.width));
  return cliError(io, "%s '%s': letter %d, '%s', is not %s", option, text.c_str(), read.letters + 1, letter.c_str(),
                  set);
}

// The cells whose seed gives the sequence; exit 1 with "no match ..." when none.
int printSequenceMatches(const CliIo& io, const CalibrationTable& table, const HitSearch& search,
                         const std::string& atText) {
  const unsigned cores = std::thread::hardware_concurrency();
  const int32_t threads = std::clamp(static_cast<int32_t>(cores), int32_t{1}, kMaxHitMatchThreads);
  static HitMatch page[kPageMatches];
  CalibrationCursor cursor = calibrationStart(table);
  int64_t printed = 0;
  for (int32_t n = kPageMatches; n == kPageMatches; printed += n) {
    n = findHitMatches(table, search, cursor, page, kPageMatches, threads);
    for (int32_t i = 0; i < n; ++i) {
      printCell(io.out, page[i].cell);
      printAimDelay(io.out, calibrationAimDelay(table, page[i].cell));
      std::fprintf(io.out, "\tskip %d\n", page[i].skip);
    }
    if (std::ferror(io.out)) return kExitNotFound;
  }
  if (printed > 0) return kExitOk;
  char typed[kMaxHitLetters + 1];
  for (int32_t j = 0; j < search.length; ++j) typed[j] = hitLetterChar(search.source, search.letters[j]);
  typed[search.length] = '\0';
  std::fprintf(io.out, "no match within -%ds..+%ds and delays -%d..+%d of %s delay %d (%s %s ", table.seconds,
               table.seconds, table.delays, table.delays, atText.c_str(), table.target.delay,
               search.source == HitSource::kCoin ? "flips" : "calls", typed);
  if (search.source == HitSource::kCoin) {
    std::fprintf(io.out, "at skip %d)\n", search.skip);
  } else {
    std::fprintf(io.out, "at skips 0..%d%s)\n", search.skip, search.beforePokerus ? ", before Pokerus" : "");
  }
  return kExitNotFound;
}

}  // namespace

int cmdCalibrate(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first,
                         {{"--at", true},
                          {"--delay", true},
                          {"--seconds", true},
                          {"--delays", true},
                          {"--hit", true},
                          {"--flips", true},
                          {"--skip", true},
                          {"--calls", true},
                          {"--skips", true},
                          {"--before-pokerus", false}},
                         0, args, io))
    return rc;
  if (args.help) {
    std::fputs(kCalibrateHelp, io.out);
    return kExitOk;
  }
  const std::string* atText = findOption(args, "--at");
  const std::string* delayText = findOption(args, "--delay");
  if (!atText) return cliError(io, "--at is required (\"YYYY-MM-DD HH:MM:SS\")");
  if (!delayText) return cliError(io, "--delay is required (frames 0..65535)");
  CalibrationTable table{};
  if (!parseMomentArg(*atText, table.target)) {
    return cliError(io, "--at '%s': %s", atText->c_str(), kMomentArgExpected);
  }
  int64_t value = 0;
  if (!parseIntStrict(*delayText, 0, kMaxCalibrationDelay, value)) {
    return cliError(io, "--delay '%s': expected frames 0..65535", delayText->c_str());
  }
  table.target.delay = static_cast<int32_t>(value);
  value = kDefaultSeconds;
  if (const std::string* text = findOption(args, "--seconds")) {
    if (!parseIntStrict(*text, 0, kMaxCalibrationSeconds, value)) {
      return cliError(io, "--seconds '%s': expected seconds 0..600", text->c_str());
    }
  }
  table.seconds = static_cast<int32_t>(value);
  value = kDefaultDelays;
  if (const std::string* text = findOption(args, "--delays")) {
    if (!parseIntStrict(*text, 0, kMaxCalibrationDelays, value)) {
      return cliError(io, "--delays '%s': expected delays 0..1000", text->c_str());
    }
  }
  table.delays = static_cast<int32_t>(value);

  // One matcher at most: the hit seeds, the coin or Elm's answers.
  const std::string* flips = findOption(args, "--flips");
  const std::string* calls = findOption(args, "--calls");
  const bool hitGiven = findOption(args, "--hit") != nullptr;
  if ((flips != nullptr) + (calls != nullptr) + hitGiven > 1) {
    return cliError(io, "--hit, --flips and --calls: give one of them");
  }
  if (findOption(args, "--skip") && !flips) return cliError(io, "--skip goes with --flips");
  if (findOption(args, "--skips") && !calls) return cliError(io, "--skips goes with --calls");
  if (hasFlag(args, "--before-pokerus") && !calls) return cliError(io, "--before-pokerus goes with --calls");
  if (flips || calls) {
    HitSearch search{flips ? HitSource::kCoin : HitSource::kElm, hasFlag(args, "--before-pokerus"), 0, 0, {}};
    value = flips ? 0 : kDefaultCallSkips;
    const char* skipOption = flips ? "--skip" : "--skips";
    if (const std::string* text = findOption(args, skipOption)) {
      const int32_t most = flips ? kMaxHitSkip : kMaxElmSkips;
      if (!parseIntStrict(*text, 0, most, value)) {
        return cliError(io, "%s '%s': expected %s 0..%d", skipOption, text->c_str(), flips ? "outputs" : "draws",
                        most);
      }
    }
    search.skip = static_cast<int32_t>(value);
    if (int rc = readSequence(io, flips ? *flips : *calls, search)) return rc;
    return printSequenceMatches(io, table, search, *atText);
  }

  // The hit seeds: every --hit, in order; "-" reads standard input once.
  static uint32_t hits[kMaxHitSeeds];
  int32_t hitCount = 0;
  bool anyHitOption = false;
  bool stdinRead = false;
  for (const auto& [name, text] : args.options) {
    if (name != "--hit") continue;
    anyHitOption = true;
    if (text == "-") {
      if (stdinRead) continue;
      stdinRead = true;
      if (!readSeedTokens(io.in, hits, hitCount)) {
        return cliError(io, "--hit -: more than %d seeds", kMaxHitSeeds);
      }
      continue;
    }
    uint32_t seed = 0;
    if (!parseSeedArg(text, seed)) return cliError(io, "--hit '%s': %s", text.c_str(), kSeedArgExpected);
    if (hitCount == kMaxHitSeeds) return cliError(io, "--hit: more than %d seeds", kMaxHitSeeds);
    hits[hitCount++] = seed;
  }

  CalibrationCell page[kPageCells];
  CalibrationCursor cursor = calibrationStart(table);
  int64_t printed = 0;
  for (;;) {
    int32_t n = anyHitOption ? findCalibrationMatches(table, hits, hitCount, cursor, page, kPageCells)
                             : listCalibrationCells(table, cursor, page, kPageCells);
    for (int32_t i = 0; i < n; ++i) {
      printCell(io.out, page[i]);
      if (anyHitOption) printAimDelay(io.out, calibrationAimDelay(table, page[i]));
      std::fputc('\n', io.out);
    }
    printed += n;
    // A failed write ends the listing; runCli reports it.
    if (std::ferror(io.out)) return kExitNotFound;
    if (n < kPageCells) break;
  }
  if (anyHitOption && printed == 0) {
    std::fprintf(io.out,
                 "no match within -%ds..+%ds and delays -%d..+%d of %s delay "
                 "%d (%d seed%s looked for)\n",
                 table.seconds, table.seconds, table.delays, table.delays, atText->c_str(), table.target.delay,
                 hitCount, hitCount == 1 ? "" : "s");
    return kExitNotFound;
  }
  return kExitOk;
}
