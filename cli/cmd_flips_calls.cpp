// flips and calls: what the game shows of an initial seed within seconds of
// continuing, the Poketch's coin (DPPt) and Elm's answers on the phone (HGSS).
#include <cstdio>
#include <vector>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "core/hit_sequence.h"

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
    "\n"
    "One line of N letters E, K and P, e.g. for 'calls 0xE102018C --count 10':\n"
    "  EKPPPEPPEP\n";

int runSequence(int argc, const char* const* argv, int first, const CliIo& io, HitSource source) {
  const bool coin = source == HitSource::kCoin;
  ParsedArgs args;
  std::vector<OptionSpec> specs = {{"--count", true}, {"--skip", true}};
  if (!coin) specs.push_back({"--before-pokerus", false});
  if (int rc = parseArgs(argc, argv, first, specs, 1, args, io)) return rc;
  if (args.help) {
    std::fputs(coin ? kFlipsHelp : kCallsHelp, io.out);
    return kExitOk;
  }
  if (args.positionals.empty()) return cliError(io, "SEED is required (\"0x\" and hex digits, or decimal)");
  uint32_t seed = 0;
  const std::string& seedText = args.positionals[0];
  if (!parseSeedArg(seedText, seed)) return cliError(io, "SEED '%s': %s", seedText.c_str(), kSeedArgExpected);
  int64_t count = kDefaultCount;
  if (const std::string* text = findOption(args, "--count")) {
    if (!parseIntStrict(*text, 1, kMaxHitLetters, count)) {
      return cliError(io, "--count '%s': expected %s 1..%d", text->c_str(), coin ? "flips" : "calls", kMaxHitLetters);
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
