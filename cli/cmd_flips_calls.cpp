// flips, calls and pitches: what the game shows of an initial seed within
// seconds of continuing, the Poketch's coin (DPPt), Elm's answers on the phone
// (HGSS) and Chatot's cry (DPPt); with --find, where a run of answers or cries
// the player heard starts.
#include <cstdio>
#include <vector>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "core/hit_sequence.h"
#include "text/cp932.h"

namespace {

constexpr int64_t kDefaultCount = 20;

const char kFlipsHelp[] =
    "usage: quillmar-cli flips SEED [--count N] [--skip K]\n"
    "\n"
    "Diamond, Pearl and Platinum: the coin of the Poketch's coin toss after continuing\n"
    "the game with initial seed SEED. Each tap takes the next output of the Mersenne\n"
    "Twister seeded with SEED (as eggs does): an odd output is heads (H, 表), an even\n"
    "one tails (T, 裏). Flip n is output K + n - 1: continuing takes no output before\n"
    "the first tap, except in Platinum where there is weather (rain, snow) and through\n"
    "other Poketch apps; K counts the outputs taken so. After K + N flips, frame K + N\n"
    "of the egg list is the next egg.\n"
    "\n"
    "  SEED       \"0x\" and 1..8 hexadecimal digits, or decimal, as seeds reads it\n"
    "  --count N  the flips, 1..64 (default 20)\n"
    "  --skip K   the outputs taken before the first flip, 0..100000 (default 0)\n"
    "\n"
    "One line of N letters H and T, e.g. for 'flips 0xE102018C --count 10':\n"
    "  HTTHHTHHHH\n";

const char kCallsHelp[] =
    "usage: quillmar-cli calls SEED [--count N] [--skip K] [--before-pokerus]\n"
    "\n"
    "HeartGold and SoulSilver: Professor Elm's answers on the phone after continuing\n"
    "the game with initial seed SEED. Each call takes one draw of the game's 32-bit\n"
    "generator seeded with SEED (the draw is the new state's upper 16 bits): once Elm\n"
    "has told you about Pokerus the answer is draw mod 3, 0 = E (evolution), 1 = K\n"
    "(Kanto), 2 = P (Pokerus); before that, draw mod 2, E or K. Irwin's answers\n"
    "follow the mod-3 rule too; a call made in Elm's lab takes no draw. On\n"
    "continuing, each roaming legendary takes a draw (more when a pick repeats an\n"
    "area), so the calls start after a small number K of draws, usually 0..4.\n"
    "\n"
    "  SEED              \"0x\" and 1..8 hexadecimal digits, or decimal, as seeds\n"
    "                    reads it\n"
    "  --count N         the calls, 1..64 (default 20)\n"
    "  --skip K          the draws taken before the first call, 0..100000 (default 0)\n"
    "  --before-pokerus  Elm has not yet told you about Pokerus: answers mod 2\n"
    "  --find LETTERS    where am I: the answers heard since continuing\n"
    "  --skips M         with --find, the last advance tried, 0..100000 (default 100)\n"
    "\n"
    "One line of N letters E, K and P, e.g. for 'calls 0xE102018C --count 10':\n"
    "  EKPPPEPPEP\n"
    "With --find, one line per advance A = 0..M at which the letters start (the\n"
    "answers are draws A + 1..A + L), with the advance the console now stands at:\n"
    "  A<TAB>now A + L\n"
    "Advance n is the encounter whose first draw is draw n + 1 (as wild lists them).\n";

const char kPitchesHelp[] =
    "usage: quillmar-cli pitches SEED [--count N] [--skip K]\n"
    "       quillmar-cli pitches SEED --find LETTERS [--skips M]\n"
    "\n"
    "Diamond, Pearl and Platinum: Chatot's recorded cry after continuing the game\n"
    "with initial seed SEED. Each time the cry plays in the party's summary or the\n"
    "Poketch's party app it takes one draw of the game's 32-bit generator and plays\n"
    "at speed 1 + (draw mod 8192) / 32768: the higher the draw, the higher the cry.\n"
    "Its third of the range is the letter: L (low) for 0..2730, M for 2731..5461,\n"
    "H (high) for 5462..8191.\n"
    "\n"
    "  SEED            \"0x\" and 1..8 hexadecimal digits, or decimal, as seeds reads\n"
    "                  it\n"
    "  --count N       the cries, 1..64 (default 20)\n"
    "  --skip K        the draws taken before the first cry, 0..100000 (default 0)\n"
    "  --find LETTERS  where am I: the cries heard since continuing, L, M and H\n"
    "  --skips M       with --find, the last advance tried, 0..100000 (default 100)\n"
    "\n"
    "One line of N letters L, M and H. With --find, one line per advance A = 0..M at\n"
    "which the letters start (the cries are draws A + 1..A + L), with the advance the\n"
    "console now stands at:\n"
    "  A<TAB>now A + L\n"
    "Advance n is the encounter whose first draw is draw n + 1 (as wild lists them).\n";

constexpr int32_t kDefaultFindSkips = 100;
constexpr int32_t kShownStarts = 1024;

// --find: every advance 0..M at which the typed letters start.
int findStarts(const ParsedArgs& args, const CliIo& io, HitSource source, uint32_t seed, const std::string& letters) {
  int64_t skips = kDefaultFindSkips;
  if (const std::string* text = findOption(args, "--skips")) {
    if (!parseIntStrict(*text, 0, kMaxHitSkip, skips)) {
      return cliError(io, "--skips '%s': expected the last advance 0..%d", text->c_str(), kMaxHitSkip);
    }
  }
  HitSearch search{source, hasFlag(args, "--before-pokerus"), 0, 0, {}};
  const std::string typed = utf8ToCp932(letters);
  const HitTextResult read = parseHitText(typed.c_str(), search);
  const char* set = source == HitSource::kChatot ? "L, M and H" : search.beforePokerus ? "E and K" : "E, K and P";
  if (read.status == HitTextStatus::kEmpty) return cliError(io, "--find '%s': no letter (%s)", letters.c_str(), set);
  if (read.status == HitTextStatus::kTooLong) {
    return cliError(io, "--find '%s': %d letters, at most %d", letters.c_str(), read.letters, kMaxHitLetters);
  }
  if (read.status != HitTextStatus::kOk) {
    return cliError(io, "--find '%s': '%s' is not one of %s", letters.c_str(),
                    cp932ToUtf8(std::string_view(typed).substr(read.at, read.width)).c_str(), set);
  }
  static int32_t starts[kShownStarts];
  const int32_t found = findCueStarts(seed, search, static_cast<int32_t>(skips), starts, kShownStarts);
  for (int32_t i = 0; i < found && i < kShownStarts; ++i) {
    std::fprintf(io.out, "%d\tnow %d\n", starts[i], starts[i] + search.length);
  }
  if (found > kShownStarts) std::fprintf(io.out, "... %d starts in all\n", found);
  if (found == 0) {
    std::fprintf(io.out, "no match: the letters start at no advance 0..%d\n", static_cast<int32_t>(skips));
    return kExitNotFound;
  }
  return kExitOk;
}

int runSequence(int argc, const char* const* argv, int first, const CliIo& io, HitSource source) {
  const bool coin = source == HitSource::kCoin;
  ParsedArgs args;
  std::vector<OptionSpec> specs = {{"--count", true}, {"--skip", true}};
  if (source == HitSource::kElm) specs.push_back({"--before-pokerus", false});
  if (!coin) specs.insert(specs.end(), {{"--find", true}, {"--skips", true}});
  if (int rc = parseArgs(argc, argv, first, specs, 1, args, io)) return rc;
  if (args.help) {
    std::fputs(coin ? kFlipsHelp : source == HitSource::kElm ? kCallsHelp : kPitchesHelp, io.out);
    return kExitOk;
  }
  if (args.positionals.empty()) return cliError(io, "SEED is required (\"0x\" and hex digits, or decimal)");
  uint32_t seed = 0;
  const std::string& seedText = args.positionals[0];
  if (!parseSeedArg(seedText, seed)) return cliError(io, "SEED '%s': %s", seedText.c_str(), kSeedArgExpected);
  if (const std::string* letters = findOption(args, "--find")) return findStarts(args, io, source, seed, *letters);
  int64_t count = kDefaultCount;
  if (const std::string* text = findOption(args, "--count")) {
    if (!parseIntStrict(*text, 1, kMaxHitLetters, count)) {
      return cliError(io, "--count '%s': expected %s 1..%d", text->c_str(),
                      coin ? "flips" : source == HitSource::kElm ? "calls" : "cries", kMaxHitLetters);
    }
  }
  int64_t skip = 0;
  if (const std::string* text = findOption(args, "--skip")) {
    if (!parseIntStrict(*text, 0, kMaxHitSkip, skip)) {
      return cliError(io, "--skip '%s': expected %s 0..%d", text->c_str(), coin ? "outputs" : "draws", kMaxHitSkip);
    }
  }
  uint8_t letters[kMaxHitLetters];
  const int32_t n = static_cast<int32_t>(count);
  if (coin) {
    coinFlips(seed, static_cast<int32_t>(skip), n, letters);
  } else if (source == HitSource::kChatot) {
    chatotPitches(seed, static_cast<int32_t>(skip), n, letters);
  } else {
    elmAnswers(seed, static_cast<int32_t>(skip), n, hasFlag(args, "--before-pokerus"), letters);
  }
  char line[kMaxHitLetters + 2];
  for (int32_t j = 0; j < n; ++j) line[j] = hitLetterChar(source, letters[j]);
  line[n] = '\n';
  line[n + 1] = '\0';
  std::fputs(line, io.out);
  return kExitOk;
}

}  // namespace

int cmdFlips(int argc, const char* const* argv, int first, const CliIo& io) {
  return runSequence(argc, argv, first, io, HitSource::kCoin);
}

int cmdCalls(int argc, const char* const* argv, int first, const CliIo& io) {
  return runSequence(argc, argv, first, io, HitSource::kElm);
}

int cmdPitches(int argc, const char* const* argv, int first, const CliIo& io) {
  return runSequence(argc, argv, first, io, HitSource::kChatot);
}
