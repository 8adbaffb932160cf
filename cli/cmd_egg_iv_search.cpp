// egg-iv-search: every initial seed of a year, searched for the n at which the
// egg picked up has the IVs wanted.
#include <cstdio>
#include <vector>

#include "cli/commands.h"
#include "cli/egg_iv_options.h"
#include "cli/year_search_cli.h"
#include "core/egg_iv_search.h"

namespace {

constexpr int32_t kDefaultMaxFrame = 30;

const char kHelpHead[] =
    "usage: quillmar-cli egg-iv-search --year Y --parent-a H,A,B,S,C,D\n"
    "           --parent-b H,A,B,S,C,D [--game dppt|hgss] [--item-a ITEM]\n"
    "           [--item-b ITEM] [--min H,A,B,S,C,D] [--max H,A,B,S,C,D]\n"
    "           [--max-frame F] [--delay-min A] [--delay-max B] [--hours LIST]\n"
    "           [--limit N] [--threads N]\n"
    "\n"
    "Step 10, aim first: every initial seed 0xAABBCCCC a player can reach in year Y\n"
    "(AA any of 0..255, BB an hour of --hours, CCCC = (delay + (Y - 2000)) mod 65536\n"
    "for every delay A..B) is run through the pick-up of 'quillmar-cli egg-ivs', n =\n"
    "0..F-1. A hit is an n whose IVs all lie within --min..--max; hits come in order\n"
    "of n, then delay, then seed, one line each, tab-separated:\n"
    "  SEED  N  IVS  YYYY-MM-DD HH:MM:SS  delay D\n"
    "IVS is as egg-ivs prints it; the moment is the first of year Y that gives SEED\n"
    "('seed-time SEED --year Y'), after which the player waits D frames.\n"
    "\n";

// One hit's line; false at the first write the stream refuses (errno tells why).
bool printHit(std::FILE* out, const EggIvHit& hit, const EggIvSearchRequest& request) {
  char ivs[kEggIvsTextCapacity];
  formatEggIvs(ivs, eggIvHitIvs(hit, request.parents));
  return std::fprintf(out, "0x%08X\t%d\t%s", hit.seed, hit.frame, ivs) >= 0 &&
         printHitMoment(out, hit.seed, request.window.year);
}

}  // namespace

int cmdEggIvSearch(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  std::vector<OptionSpec> specs;
  addEggIvSpecs(specs);
  YearSearchOptions options{};
  const int read =
      readYearSearchArgs(argc, argv, first, specs, {kHelpHead, kEggIvOptionsHelp, kDefaultMaxFrame}, args, options, io);
  if (read != kYearSearchGoOn) return read;
  EggIvSearchRequest request{};
  if (int rc = parseEggIvOptions(args, request.parents, request.ranges, io)) return rc;
  request.window = options.window;
  request.frameCount = options.frameCount;
  return runYearSearchCommand<EggIvHit>(
      options, eggIvSearchSeedCount(request),
      [&request](EggIvHit* hits, int32_t capacity, const YearSearchControl& control) {
        return runEggIvSearch(request, hits, capacity, control);
      },
      [&request](std::FILE* out, const EggIvHit& hit) { return printHit(out, hit, request); }, "n",
      "gives IVs within --min..--max", io);
}
