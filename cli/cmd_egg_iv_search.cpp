// egg-iv-search: every initial seed of a year, searched for the n at which the
// egg picked up has the IVs wanted.
#include <cstdio>
#include <memory>
#include <new>
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
  ConsoleMoment m{};
  yearHitMoment(hit.seed, request.window.year, m);
  return std::fprintf(out, "0x%08X\t%d\t%s\t%04d-%02d-%02d %02d:%02d:%02d\tdelay %d\n", hit.seed, hit.frame, ivs,
                      m.year, m.month, m.day, m.hour, m.minute, m.second, m.delay) >= 0;
}

}  // namespace

int cmdEggIvSearch(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  std::vector<OptionSpec> specs;
  addEggIvSpecs(specs);
  addYearSearchSpecs(specs);
  if (int rc = parseArgs(argc, argv, first, specs, 0, args, io)) return rc;
  if (args.help) {
    std::fputs(kHelpHead, io.out);
    printYearSearchYearHelp(io.out);
    std::fputs(kEggIvOptionsHelp, io.out);
    printYearSearchOptionsHelp(io.out, kDefaultMaxFrame);
    return kExitOk;
  }
  YearSearchOptions options{};
  if (int rc = parseYearSearchOptions(args, kDefaultMaxFrame, options, io)) return rc;
  EggIvSearchRequest request{};
  if (int rc = parseEggIvOptions(args, request.parents, request.ranges, io)) return rc;
  request.window.year = options.year;
  request.window.delayMin = options.delayMin;
  request.window.delayMax = options.delayMax;
  request.window.hourMask = options.hourMask;
  request.frameCount = options.frameCount;

  const int32_t capacity = yearSearchCapacity(options);
  std::unique_ptr<EggIvHit[]> hits(new (std::nothrow) EggIvHit[static_cast<std::size_t>(capacity)]);
  if (!hits) return cliFailure(io, "no memory for %d hits: set a smaller --limit", capacity);
  const YearSearchResult result = runYearSearchCli(
      [&](const YearSearchControl& control) { return runEggIvSearch(request, hits.get(), capacity, control); },
      eggIvSearchSeedCount(request), options.threads, io);
  if (result.status == YearSearchStatus::kNoThreads) {
    return cliFailure(io, "the system refused a thread for the search: try a smaller --threads");
  }
  if (result.count == 0) {
    std::fprintf(io.out, "no hit: no n below %d of the %lld seeds of %d gives IVs within --min..--max\n",
                 request.frameCount, static_cast<long long>(eggIvSearchSeedCount(request)), request.window.year);
    return kExitNotFound;
  }
  return printYearSearchHits(
      hits.get(), result.count,
      [&request](std::FILE* out, const EggIvHit& hit) { return printHit(out, hit, request); }, io);
}
