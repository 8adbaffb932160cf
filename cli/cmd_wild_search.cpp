// wild-search: every initial seed of a year, searched for the advances that
// give the creature wanted.
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/commands.h"
#include "cli/wild_options.h"
#include "cli/year_search_cli.h"
#include "core/wild_files.h"
#include "core/wild_search.h"

namespace {

constexpr int32_t kDefaultMaxAdvance = 100;

const char kHelpHead[] =
    "usage: quillmar-cli wild-search --year Y --game dppt|hgss --kind KIND\n"
    "           [wild's creature options and filters] [--max-advance N]\n"
    "           [--delay-min A] [--delay-max B] [--hours LIST] [--limit N]\n"
    "           [--threads N]\n"
    "\n"
    "Step 12, aim first: every initial seed 0xAABBCCCC a player can reach in year Y\n"
    "(AA any of 0..255, BB an hour of --hours, CCCC = (delay + (Y - 2000)) mod 65536\n"
    "for every delay A..B) and every advance n = 0..N-1 of it give the creature\n"
    "'quillmar-cli wild' lists. A hit is a (seed, n) whose creature the filters\n"
    "keep; hits come in order of n, then delay, then seed, one line each,\n"
    "tab-separated:\n"
    "  SEED  N  <wild's columns after the advance>  YYYY-MM-DD HH:MM:SS  delay D\n"
    "The moment is the first of year Y that gives SEED ('seed-time SEED --year Y'),\n"
    "after which the player waits D frames. Narrow IV ranges (4096 combinations or\n"
    "fewer) are searched from the IVs back to the seeds; others seed by seed.\n"
    "\n";

// One hit's line; false at the first write the stream refuses (errno tells why).
bool printHit(std::FILE* out, const WildHit& hit, const WildSearchRequest& request, bool beforePokerus) {
  WildCreature creature;
  wildHitCreature(request, hit, creature);
  char line[kWildLineCapacity];
  formatWildLine(line, request.encounter, creature, beforePokerus);
  const char* columns = std::strchr(line, '\t');
  return std::fprintf(out, "0x%08X\t%d\t", hit.seed, hit.frame) >= 0 &&
         printCp932(out, columns != nullptr ? columns + 1 : "") && printHitMoment(out, hit.seed, request.window.year);
}

}  // namespace

int cmdWildSearch(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  std::vector<OptionSpec> specs;
  addWildSpecs(specs);
  YearSearchOptions options{};
  YearSearchHelp help{kHelpHead, kWildOptionsHelp, kDefaultMaxAdvance, "--max-advance", kLargestWildSearchAdvances};
  const int read = readYearSearchArgs(argc, argv, first, specs, help, args, options, io);
  if (read != kYearSearchGoOn) return read;
  WildSearchRequest request{};
  bool beforePokerus = false;
  if (int rc = parseWildOptions(args, request.encounter, request.filter, beforePokerus, io)) return rc;
  request.window = options.window;
  request.advanceCount = options.frameCount;
  request.way = WildSearchWay::kAuto;
  request.kernel = YearSearchKernel::Auto;
  return runYearSearchCommand<WildHit>(
      options, wildSearchSeedCount(request),
      [&request](WildHit* hits, int32_t capacity, const YearSearchControl& control) {
        return runWildSearch(request, hits, capacity, control);
      },
      [&request, beforePokerus](std::FILE* out, const WildHit& hit) {
        return printHit(out, hit, request, beforePokerus);
      },
      "advance", "gives a creature the filters keep", io);
}
