// egg-search: every initial seed of a year, searched for the frames the egg
// list would keep.
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/egg_options.h"
#include "cli/year_search_cli.h"
#include "core/egg_search.h"
#include "core/rng.h"

namespace {

constexpr int32_t kDefaultMaxFrame = 100;

const char kHelpHead[] =
    "usage: quillmar-cli egg-search --year Y [--tid T] [--sid S] [--marriage] [--shiny-only]\n"
    "           [--nature N] [--gender K] [--ability K] [--everstone N] [--max-frame F]\n"
    "           [--delay-min A] [--delay-max B] [--hours LIST] [--limit N] [--threads N]\n"
    "\n"
    "Aim first: every initial seed 0xAABBCCCC a player can reach in year Y (AA any of\n"
    "0..255, BB an hour of --hours, CCCC = (delay + (Y - 2000)) mod 65536 for every\n"
    "delay A..B) is run through the egg list's generator, frames 0..F-1, with the\n"
    "egg list's rerolls and filters. A hit is a frame the list keeps; hits come in\n"
    "order of frame, then delay, then seed, one line each, tab-separated:\n"
    "  SEED  LINE  YYYY-MM-DD HH:MM:SS  delay D\n"
    "LINE is the frame's line of 'quillmar-cli eggs --seed SEED' with the same\n"
    "options; the moment is the first of year Y that gives SEED ('seed-time SEED\n"
    "--year Y'), after which the player waits D frames.\n"
    "\n";

// One hit's line; false at the first write the stream refuses (errno tells
// why).
bool printHit(std::FILE* out, const EggHit& hit, const EggSearchRequest& request) {
  char line[kEggFrameLineCapacity];
  const int length = formatEggFrameLine(line, hit.frame, hit.pid, ShinyTest(hit.pid, request.egg.tid, request.egg.sid));
  return std::fprintf(out, "0x%08X\t", hit.seed) >= 0 &&
         printCp932(out, std::string_view(line, static_cast<std::size_t>(length))) &&
         printHitMoment(out, hit.seed, request.window.year);
}

}  // namespace

int cmdEggSearch(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  YearSearchOptions options{};
  const int read = readYearSearchArgs(argc, argv, first,
                                    {{"--tid", true},
                                     {"--sid", true},
                                     {"--marriage", false},
                                     {"--shiny-only", false},
                                     {"--nature", true},
                                     {"--gender", true},
                                     {"--ability", true},    {"--everstone", true}},
                                    {kHelpHead, kEggListOptionsHelp, kDefaultMaxFrame}, args, options, io);
  if (read != kYearSearchGoOn) return read;
  EggSearchRequest request{};
  request.window = options.window;
  request.egg.frameCount = options.frameCount;
  if (int rc = parseEggListOptions(args, request.egg, io)) return rc;
  return runYearSearchCommand<EggHit>(
      options, eggSearchSeedCount(request),
      [&request](EggHit* hits, int32_t capacity, const YearSearchControl& control) {
        return runEggSearch(request, hits, capacity, control);
      },
      [&request](std::FILE* out, const EggHit& hit) { return printHit(out, hit, request); }, "frame", "is kept", io);
}
