// wild: step 11, the stationary, gift or wild creature of each advance after
// an initial seed.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "cli/wild_options.h"
#include "core/wild_files.h"

namespace {

constexpr int32_t kDefaultAdvances = 100;

const char kHelpHead[] =
    "usage: quillmar-cli wild SEED --game dppt|hgss --kind KIND [--lead LEAD]\n"
    "           [--gender-ratio R] [--levels LO-HI] [--rate R] [--roamer]\n"
    "           [--feebas lake|tile] [--tid T --sid S] [--advances N] [--min IVS]\n"
    "           [--max IVS] [--nature N] [--shiny-only] [--ability K] [--gender G]\n"
    "           [--slot K] [--hidden-power T] [--min-power P] [--before-pokerus]\n"
    "\n"
    "Step 11: the creature the game generates when an encounter starts n draws of\n"
    "the LCG after the initial seed SEED (advance n: its first draw is draw n + 1),\n"
    "for n = 0..N-1. Older guides count frames from 1: their frame F is advance\n"
    "F - 1 here. One line per advance kept, tab-separated:\n"
    "  advance, PID, nature, ability slot, gender value, the IVs H A B S C D,\n"
    "  Hidden Power \"TYPE POWER\", ★ or empty, slot or \"-\", level or \"-\", the\n"
    "  cue of the advance (DPPt: Chatot's cry, its step 0..8191 and L, M or H;\n"
    "  HGSS: Elm's answer E, K or P), and with a rod the bite's range of 100.\n"
    "e.g. 'wild 0x12345678 --game dppt --kind gift' at advance 3:\n"
    "  3\t2684F4E0\tしんちょう\t1\t224\t23 1 6 12 13 4\tいわ 33\t\t-\t-\t5344 M\n"
    "\n"
    "  SEED              the initial seed: \"0x\" and 1..8 hexadecimal digits, or a\n"
    "                    decimal 0..4294967295\n"
    "  --advances N      the advances listed, 0..N-1, N 1..1000000 (default 100)\n";

const char kHelpTail[] =
    "\n"
    "Exit 0 with lines; 1 when no advance is kept (one line says so) or when\n"
    "standard output cannot be written; 2 on a malformed argument.\n";

}  // namespace

int cmdWild(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  std::vector<OptionSpec> specs = {{"--advances", true}};
  addWildSpecs(specs);
  if (int rc = parseArgs(argc, argv, first, specs, 1, args, io)) return rc;
  if (args.help) {
    std::fputs(kHelpHead, io.out);
    std::fputs(kWildOptionsHelp, io.out);
    std::fputs(kHelpTail, io.out);
    return kExitOk;
  }
  WildListRequest request{};
  if (args.positionals.empty()) return cliError(io, "SEED is required (0x followed by hex digits, or decimal)");
  if (!parseSeedArg(args.positionals[0], request.seed)) {
    return cliError(io, "SEED '%s': %s", args.positionals[0].c_str(), kSeedArgExpected);
  }
  request.advanceCount = kDefaultAdvances;
  if (const std::string* t = findOption(args, "--advances")) {
    int64_t n = 0;
    if (!parseIntStrict(*t, 1, kLargestWildAdvanceCount, n)) {
      return cliError(io, "--advances '%s': expected 1..%d", t->c_str(), kLargestWildAdvanceCount);
    }
    request.advanceCount = static_cast<int32_t>(n);
  }
  if (int rc = parseWildOptions(args, request.encounter, request.filter, request.beforePokerus, io)) return rc;

  WildListCursor cursor = wildListStart(request.seed, 0, request.advanceCount);
  WildCreature creature;
  char line[kWildLineCapacity];
  int64_t kept = 0;
  while (wildListNext(request.encounter, request.filter, cursor, creature)) {
    const int32_t length = formatWildLine(line, request.encounter, creature, request.beforePokerus);
    line[length] = '\n';
    if (!printCp932(io.out, std::string_view(line, static_cast<std::size_t>(length) + 1))) {
      const int error = errno;
      std::clearerr(io.out);
      return cliFailure(io, "writing standard output: %s", std::strerror(error));
    }
    ++kept;
  }
  if (kept == 0) {
    std::fprintf(io.out, "no match: no advance below %d gives a creature the filters keep\n", request.advanceCount);
    return kExitNotFound;
  }
  return kExitOk;
}
