// ids and id-search: the trainer IDs a new game gets from its seed, and the
// seeds of a year that give the IDs wanted.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "cli/year_search_cli.h"
#include "core/seed_time.h"
#include "core/trainer_ids.h"
#include "core/wild.h"

namespace {

const char kIdsHelp[] =
    "usage: quillmar-cli ids SEED\n"
    "       quillmar-cli ids --at \"YYYY-MM-DD HH:MM:SS\" (--delay D | --delays A-B)\n"
    "\n"
    "Step 13: the trainer IDs a new game gets. When the introduction ends (DPPt:\n"
    "after Rowan's talk; HGSS: after Oak's) the game seeds the Mersenne Twister with\n"
    "a seed built as the initial seed is, from the clock and the frames waited\n"
    "(time-seed builds it); the twister's second output is the ID: TID its low 16\n"
    "bits (on the trainer card), SID its high 16 bits (hidden). One line per seed:\n"
    "  SEED<TAB>TID<TAB>SID\n"
    "\n"
    "  SEED         the seed: \"0x\" and 1..8 hexadecimal digits, or decimal\n"
    "  --at         the moment the introduction ends, exactly \"YYYY-MM-DD HH:MM:SS\"\n"
    "  --delay D    the frames waited, 0..65535\n"
    "  --delays A-B every delay A..B, 0 <= A <= B <= 65535: one line each\n";

const char kIdSearchHead[] =
    "usage: quillmar-cli id-search --year Y [--tid T] [--sid S] [--shiny-pid P]...\n"
    "           [--cute-charm NATURE:RATIO]... [--delay-min A] [--delay-max B]\n"
    "           [--hours LIST] [--limit N] [--threads N]\n"
    "\n"
    "Step 14, aim first: every seed 0xAABBCCCC a new game can get in year Y (AA any\n"
    "of 0..255, BB an hour of --hours, CCCC = (delay + (Y - 2000)) mod 65536 for\n"
    "every delay A..B) whose IDs ('quillmar-cli ids') are the ones wanted: the TID,\n"
    "the SID, both, and/or IDs that make one of the PIDs given shiny. Hits come in\n"
    "order of delay, then seed, one line each, tab-separated:\n"
    "  SEED  TID  SID  YYYY-MM-DD HH:MM:SS  delay D\n"
    "The moment is the first of year Y that gives SEED, at which the introduction\n"
    "is to end after D frames.\n"
    "\n";

const char kIdSearchOptions[] =
    "  --tid T        the TID wanted, 0..65535\n"
    "  --sid S        the SID wanted, 0..65535\n"
    "  --shiny-pid P  a PID the IDs are to make shiny (\"0x\" and hex digits, or\n"
    "                 decimal); given again, a hit makes any of them shiny\n"
    "  --cute-charm NATURE:RATIO  Cute Charm's PIDs of that nature (0..24 or its\n"
    "                 name) for a species of gender ratio RATIO (31, 63, 127, 191,\n"
    "                 223): the PID with a male lead and the one with a female lead\n";

bool printIds(std::FILE* out, uint32_t seed) {
  const TrainerIds ids = trainerIdsOf(seed);
  return std::fprintf(out, "0x%08X\t%d\t%d", seed, ids.tid, ids.sid) >= 0;
}

// "A-B" within 0..65535.
bool parseDelayRange(const std::string& text, int64_t& low, int64_t& high) {
  const std::size_t dash = text.find('-');
  if (dash == std::string::npos) return false;
  return parseIntStrict(std::string_view(text).substr(0, dash), 0, 65535, low) &&
         parseIntStrict(std::string_view(text).substr(dash + 1), 0, 65535, high) && low <= high;
}

}  // namespace

int cmdIds(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first, {{"--at", true}, {"--delay", true}, {"--delays", true}}, 1, args, io))
    return rc;
  if (args.help) {
    std::fputs(kIdsHelp, io.out);
    return kExitOk;
  }
  const std::string* at = findOption(args, "--at");
  const std::string* delay = findOption(args, "--delay");
  const std::string* delays = findOption(args, "--delays");
  if (!args.positionals.empty()) {
    if (at != nullptr || delay != nullptr || delays != nullptr) {
      return cliError(io, "give SEED or --at with --delay or --delays, not both");
    }
    uint32_t seed = 0;
    if (!parseSeedArg(args.positionals[0], seed)) {
      return cliError(io, "SEED '%s': %s", args.positionals[0].c_str(), kSeedArgExpected);
    }
    printIds(io.out, seed);
    std::fputc('\n', io.out);
    return kExitOk;
  }
  if (at == nullptr) return cliError(io, "SEED or --at is required");
  ConsoleMoment moment{};
  if (!parseMomentArg(*at, moment)) {
    return cliError(io, "--at '%s': expected \"YYYY-MM-DD HH:MM:SS\" with year 2000..2099 and a day that exists",
                    at->c_str());
  }
  if ((delay == nullptr) == (delays == nullptr)) return cliError(io, "--at takes one of --delay D and --delays A-B");
  int64_t low = 0;
  int64_t high = 0;
  if (delay != nullptr && !parseIntStrict(*delay, 0, 65535, low)) {
    return cliError(io, "--delay '%s': expected frames 0..65535", delay->c_str());
  }
  if (delay != nullptr) high = low;
  if (delays != nullptr && !parseDelayRange(*delays, low, high)) {
    return cliError(io, "--delays '%s': expected A-B with 0 <= A <= B <= 65535", delays->c_str());
  }
  for (int64_t d = low; d <= high; ++d) {
    moment.delay = static_cast<int32_t>(d);
    uint32_t seed = 0;
    seedOfMoment(moment, seed);
    printIds(io.out, seed);
    std::fputc('\n', io.out);
  }
  return kExitOk;
}

int cmdIdSearch(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  std::vector<OptionSpec> specs = {{"--tid", true}, {"--sid", true}, {"--shiny-pid", true}, {"--cute-charm", true}};
  YearSearchOptions options{};
  const YearSearchHelp help{kIdSearchHead, kIdSearchOptions, 1, nullptr, 1};
  const int read = readYearSearchArgs(argc, argv, first, specs, help, args, options, io);
  if (read != kYearSearchGoOn) return read;
  IdSearchRequest request{};
  request.window = options.window;
  request.kernel = YearSearchKernel::Auto;
  int64_t n = 0;
  if (const std::string* t = findOption(args, "--tid")) {
    if (!parseIntStrict(*t, 0, 65535, n)) return cliError(io, "--tid '%s': expected 0..65535", t->c_str());
    request.tidWanted = true;
    request.tid = static_cast<int32_t>(n);
  }
  if (const std::string* t = findOption(args, "--sid")) {
    if (!parseIntStrict(*t, 0, 65535, n)) return cliError(io, "--sid '%s': expected 0..65535", t->c_str());
    request.sidWanted = true;
    request.sid = static_cast<int32_t>(n);
  }
  for (const auto& [name, value] : args.options) {
    uint32_t pids[2];
    int32_t count = 0;
    if (name == "--shiny-pid") {
      if (!parseSeedArg(value, pids[0])) return cliError(io, "--shiny-pid '%s': expected a PID", value.c_str());
      count = 1;
    } else if (name == "--cute-charm") {
      const std::size_t colon = value.rfind(':');
      int nature = 0;
      int64_t ratio = 0;
      if (colon == std::string::npos || !parseNatureArg(std::string_view(value).substr(0, colon), nature) ||
          !parseIntStrict(std::string_view(value).substr(colon + 1), 1, 253, ratio) ||
          (ratio != 31 && ratio != 63 && ratio != 127 && ratio != 191 && ratio != 223)) {
        return cliError(io, "--cute-charm '%s': expected NATURE:RATIO, a nature and 31, 63, 127, 191 or 223",
                        value.c_str());
      }
      cuteCharmPids(nature, static_cast<int32_t>(ratio), pids);
      count = 2;
    } else {
      continue;
    }
    if (request.pidCount + count > kMaxShinyPids) return cliError(io, "at most %d PIDs to make shiny", kMaxShinyPids);
    for (int32_t i = 0; i < count; ++i) request.pids[request.pidCount++] = pids[i];
  }
  if (!request.tidWanted && !request.sidWanted && request.pidCount == 0) {
    return cliError(io, "give what is wanted: --tid, --sid, --shiny-pid or --cute-charm");
  }
  return runYearSearchCommand<IdHit>(
      options, idSearchSeedCount(request),
      [&request](IdHit* hits, int32_t capacity, const YearSearchControl& control) {
        return runIdSearch(request, hits, capacity, control);
      },
      [&request](std::FILE* out, const IdHit& hit) {
        return printIds(out, hit.seed) && printHitMoment(out, hit.seed, request.window.year);
      },
      nullptr, "gives the IDs wanted", io);
}
