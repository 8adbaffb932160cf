#include <cstdio>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "cli/seed_explain.h"
#include "core/seed_backtrack.h"
#include "quillmar/texts.h"

namespace {

const char kHelp[] =
    "usage: quillmar-cli seeds --seed SEED --hour H [--steps N]\n"
    "                          [--explain --year Y [--delay-min A] [--delay-max B]]\n"
    "\n"
    "Step 3: step the game's generator backwards from the current seed and list the\n"
    "earlier states whose hour byte (bits 16..23) equals the hour of play: the\n"
    "candidates for the initial seed, nearest first, at most 10.\n"
    "\n"
    "  --seed SEED  the current seed: \"0x\" (lower-case x) and 1..8 hexadecimal\n"
    "               digits, or a decimal 0..4294967295; a negative decimal down to\n"
    "               -2147483648 is its 32-bit pattern, so -1 is 0xFFFFFFFF\n"
    "  --hour H     the hour of play, 0..23: the hour byte a game's initial seed has\n"
    "  --steps N    how many single steps back to search, -999..9999 as the window's\n"
    "               4-character field takes it (default 1000); 0 or less searches nothing\n"
    "\n"
    "Each line: \"%d回前\" (the 0-based index of the backward step: 0 is one step\n"
    "back), a TAB, the candidate as 0x%08X. Nothing is printed when there is none.\n";

}  // namespace

int cmdSeeds(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first,
                         {{"--seed", true}, {"--hour", true}, {"--steps", true}, {"--explain", false},
                          {"--year", true}, {"--delay-min", true}, {"--delay-max", true}},
                         0, args, io))
    return rc;
  if (args.help) {
    std::fputs(kHelp, io.out);
    std::fputs(kSeedExplainHelp, io.out);
    return kExitOk;
  }
  const std::string* seedText = findOption(args, "--seed");
  const std::string* hourText = findOption(args, "--hour");
  const std::string* stepsText = findOption(args, "--steps");
  if (!seedText) return cliError(io, "--seed is required (0x followed by hex digits, or decimal)");
  if (!hourText) return cliError(io, "--hour is required (0..23)");

  uint32_t seed = 0;
  if (!parseSeedArg(*seedText, seed)) {
    return cliError(io, "--seed '%s': %s", seedText->c_str(), kSeedArgExpected);
  }
  int64_t hour = 0;
  if (!parseIntStrict(*hourText, 0, 23, hour)) {
    return cliError(io, "--hour '%s': expected a number 0..23", hourText->c_str());
  }
  int64_t steps = 1000;
  if (stepsText && !parseIntStrict(*stepsText, -999, 9999, steps)) {
    return cliError(io, "--steps '%s': expected a number -999..9999", stepsText->c_str());
  }
  SeedExplainRequest explain;
  if (int rc = parseSeedExplain(args, explain, io)) return rc;

  SeedSteps seeds{};
  seeds.seedCandidateCount = -1;
  seeds.currentSeed = seed;
  backtrackInitialSeeds(seeds, static_cast<int32_t>(steps), static_cast<int32_t>(hour));
  for (int i = 0; i < seeds.seedCandidateCount; ++i) {
    const SeedCandidate& c = seeds.seedCandidates[i];
    char label[kTextBufferBytes];
    std::snprintf(label, sizeof label, texts::kTextStepsBack, c.stepIndex);
    printCp932(io.out, label);
    std::fprintf(io.out, "\t0x%08X", c.seed);
    if (explain.on) printSeedExplanation(io.out, c.seed, explain);
    std::fputc('\n', io.out);
  }
  return kExitOk;
}
