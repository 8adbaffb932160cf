#include "cli/seed_explain.h"

#include "core/seed_time.h"

const char kSeedExplainHelp[] =
    "\n"
    "  --explain      add to each candidate the hour and delay that give it in the\n"
    "                 year --year, and whether a person can reach it: each line goes\n"
    "                 on with \"\\thour H\\tdelay D\\treachable\" (or \"unreachable\")\n"
    "  --year Y       with --explain: the year on the console's clock, 2000..2099\n"
    "  --delay-min A  with --explain: the shortest delay a person can wait, in frames\n"
    "                 (default 300)\n"
    "  --delay-max B  with --explain: the longest delay (default 9999);\n"
    "                 0 <= A <= B <= 65535\n"
    "\n"
    "An initial seed 0xAABBCCCC has hour BB and delay (CCCC - (Y - 2000)) mod 65536\n"
    "frames: CCCC - (Y - 2000), or CCCC + 65536 - (Y - 2000) when CCCC is below\n"
    "Y - 2000. It is reachable when the hour is 0..23 and A <= delay <= B.\n"
    "'quillmar-cli seed-time SEED --year Y' then lists the dates and times to set\n"
    "on the console.\n";

int parseSeedExplain(const ParsedArgs& args, SeedExplainRequest& request, const CliIo& io) {
  request = SeedExplainRequest{};
  request.on = hasFlag(args, "--explain");
  const std::string* yearText = findOption(args, "--year");
  if (!request.on) {
    for (const char* name : {"--year", "--delay-min", "--delay-max"}) {
      if (hasFlag(args, name)) return cliError(io, "%s needs --explain", name);
    }
    return kExitOk;
  }
  if (!yearText) return cliError(io, "--explain needs --year (2000..2099)");
  int64_t value = 0;
  if (!parseIntStrict(*yearText, kClockFirstYear, kClockLastYear, value)) {
    return cliError(io, "--year '%s': expected a year 2000..2099", yearText->c_str());
  }
  request.year = static_cast<int32_t>(value);
  return parseDelayWindow(args, request.delayMin, request.delayMax, io);
}

int parseDelayWindow(const ParsedArgs& args, int32_t& delayMin, int32_t& delayMax, const CliIo& io) {
  int64_t value = 0;
  if (const std::string* minText = findOption(args, "--delay-min")) {
    if (!parseIntStrict(*minText, 0, 65535, value)) {
      return cliError(io, "--delay-min '%s': expected frames 0..65535", minText->c_str());
    }
    delayMin = static_cast<int32_t>(value);
  }
  if (const std::string* maxText = findOption(args, "--delay-max")) {
    if (!parseIntStrict(*maxText, 0, 65535, value)) {
      return cliError(io, "--delay-max '%s': expected frames 0..65535", maxText->c_str());
    }
    delayMax = static_cast<int32_t>(value);
  }
  if (delayMin > delayMax) return cliError(io, "--delay-min %d is more than --delay-max %d", delayMin, delayMax);
  return kExitOk;
}

void printSeedExplanation(std::FILE* out, uint32_t seed, const SeedExplainRequest& request) {
  int32_t hour = seedHour(seed);
  int32_t delay = seedDelay(seed, request.year);
  bool reachable = seedTimeVerdict(seed, request.year) == SeedTimeVerdict::kHasTime && delay >= request.delayMin &&
                   delay <= request.delayMax;
  std::fprintf(out, "\thour %d\tdelay %d\t%s", hour, delay, reachable ? "reachable" : "unreachable");
}
