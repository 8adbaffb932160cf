// egg-ivs: the egg's IVs at pick-up, n = 0..N-1 draws after an initial seed.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/commands.h"
#include "cli/egg_iv_options.h"
#include "cli/seed_arg.h"
#include "core/egg_ivs.h"

namespace {

constexpr int32_t kDefaultFrames = 1000;
constexpr int32_t kMaxFrames = 9999999;

const char kHelpHead[] =
    "usage: quillmar-cli egg-ivs SEED --parent-a H,A,B,S,C,D --parent-b H,A,B,S,C,D\n"
    "           [--game dppt|hgss] [--item-a ITEM] [--item-b ITEM] [--frames N]\n"
    "           [--min H,A,B,S,C,D] [--max H,A,B,S,C,D]\n"
    "\n"
    "Step 9: the six IVs the egg gets when it is picked up from the day-care man n\n"
    "draws of the LCG after the initial seed SEED, for n = 0..N-1: two draws give the\n"
    "random IVs, then three stats are inherited from the parents (DPPt keeps the\n"
    "games' fault: a stat can be picked twice; HGSS forces a power item's stat\n"
    "first). One line per n whose IVs all lie within --min..--max:\n"
    "  N<TAB>31A 20 31B 5 31A 8\n"
    "in the order H, A, B, S, C, D; an inherited IV carries its parent's letter.\n"
    "\n"
    "  SEED            the initial seed: \"0x\" and 1..8 hexadecimal digits, or a\n"
    "                  decimal 0..4294967295 (-2147483648..-1: its 32-bit pattern)\n";

const char kHelpTail[] =
    "  --frames N      the n listed, 0..N-1, N 1..9999999 (default 1000)\n"
    "\n"
    "Exit 0 with lines; 1 when no n keeps the IVs wanted (one line says so) or when\n"
    "standard output cannot be written (a message on stderr says why); 2 on a\n"
    "malformed argument.\n";

}  // namespace

int cmdEggIvs(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  std::vector<OptionSpec> specs = {{"--frames", true}};
  addEggIvSpecs(specs);
  if (int rc = parseArgs(argc, argv, first, specs, 1, args, io)) return rc;
  if (args.help) {
    std::fputs(kHelpHead, io.out);
    std::fputs(kEggIvOptionsHelp, io.out);
    std::fputs(kHelpTail, io.out);
    return kExitOk;
  }
  EggIvListRequest request{};
  request.frameCount = kDefaultFrames;
  if (args.positionals.empty()) return cliError(io, "SEED is required (0x followed by hex digits, or decimal)");
  if (!parseSeedArg(args.positionals[0], request.seed)) {
    return cliError(io, "SEED '%s': %s", args.positionals[0].c_str(), kSeedArgExpected);
  }
  if (const std::string* t = findOption(args, "--frames")) {
    int64_t n = 0;
    if (!parseIntStrict(*t, 1, kMaxFrames, n)) {
      return cliError(io, "--frames '%s': expected 1..%d", t->c_str(), kMaxFrames);
    }
    request.frameCount = static_cast<int32_t>(n);
  }
  if (int rc = parseEggIvOptions(args, request.parents, request.ranges, io)) return rc;

  EggIvCursor cursor = eggIvListStart(request);
  int64_t kept = 0;
  while (cursor.frame < request.frameCount) {
    EggIvLine lines[256];
    const int32_t count = listEggIvs(request, cursor, lines, 256);
    for (int32_t i = 0; i < count; ++i) {
      char ivs[kEggIvsTextCapacity];
      formatEggIvs(ivs, lines[i].ivs);
      if (std::fprintf(io.out, "%d\t%s\n", lines[i].frame, ivs) < 0) {
        // Reported here, where errno still tells why; the stream then holds
        // nothing more for the check of standard output at exit to report.
        const int error = errno;
        std::clearerr(io.out);
        return cliFailure(io, "writing standard output: %s", std::strerror(error));
      }
    }
    kept += count;
  }
  if (kept == 0) {
    std::fprintf(io.out, "no match: no n below %d gives IVs within --min..--max\n", request.frameCount);
    return kExitNotFound;
  }
  return kExitOk;
}
