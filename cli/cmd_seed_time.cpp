// seed-time and time-seed: between an initial seed and the console's clock.
#include <cstdio>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "core/seed_time.h"

namespace {

constexpr int64_t kDefaultMomentLimit = 20;

const char kSeedTimeHelp[] =
    "usage: quillmar-cli seed-time SEED --year Y [--limit N]\n"
    "\n"
    "From an initial seed (step 3's candidate) to the console's clock: every moment\n"
    "of year Y at which continuing the game builds SEED, and the delay to wait.\n"
    "\n"
    "The initial seed is 0xAABBCCCC:\n"
    "  AA   = (month * day + minute + second) mod 256\n"
    "  BB   = hour, 0..23\n"
    "  CCCC = (delay + (year - 2000)) mod 65536\n"
    "where the delay is the number of frames waited before continuing the game.\n"
    "Overflow: only the low 16 bits of delay + (year - 2000) reach the seed and\n"
    "nothing carries into BB, so delays D and D + 65536 give the same seed. The\n"
    "delay printed is the smallest one, 0..65535: CCCC - (Y - 2000), or, when CCCC\n"
    "is below Y - 2000, CCCC + 65536 - (Y - 2000).\n"
    "\n"
    "  SEED       \"0x\" (lower-case x) and 1..8 hexadecimal digits, or a decimal\n"
    "             0..4294967295 (-2147483648..-1: its 32-bit pattern), as seeds reads it\n"
    "  --year Y   the year on the console's clock, 2000..2099\n"
    "  --limit N  print at most N moments (default 20; 0 prints them all)\n"
    "\n"
    "Each line: \"YYYY-MM-DD HH:MM:SS delay D\", in calendar order (month, day, minute,\n"
    "second; the hour is BB). February 29 counts only in leap years. When the limit\n"
    "cuts the list, a note on stderr says how many moments the year holds.\n"
    "A seed with BB of 24 or more has no time: one line \"no time: ...\" saying so,\n"
    "and exit code 1.\n";

const char kTimeSeedHelp[] =
    "usage: quillmar-cli time-seed --at \"YYYY-MM-DD HH:MM:SS\" --delay D\n"
    "\n"
    "The initial seed the game builds when continued at that moment of the\n"
    "console's clock after waiting D frames, printed as \"0x%08X\":\n"
    "  0xAABBCCCC, AA = (month * day + minute + second) mod 256, BB = hour,\n"
    "  CCCC = (D + (year - 2000)) mod 65536.\n"
    "\n"
    "  --at      the date and time, exactly \"YYYY-MM-DD HH:MM:SS\" with a space in\n"
    "            the middle: year 2000..2099, a day that exists (February 29 only\n"
    "            in leap years), hour 0..23, minute and second 0..59\n"
    "  --delay D the frames waited, 0..2147483647. Overflow: only the low 16 bits of\n"
    "            D + (year - 2000) reach the seed, so D and D + 65536 give the same\n"
    "            seed and nothing carries into the hour byte\n";

void printMoment(std::FILE* out, const ConsoleMoment& m) {
  std::fprintf(out, "%04d-%02d-%02d %02d:%02d:%02d delay %d\n", m.year, m.month, m.day, m.hour, m.minute,
               m.second, m.delay);
}

}  // namespace

int cmdSeedTime(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first, {{"--year", true}, {"--limit", true}}, 1, args, io)) return rc;
  if (args.help) {
    std::fputs(kSeedTimeHelp, io.out);
    return kExitOk;
  }
  if (args.positionals.empty()) return cliError(io, "SEED is required (\"0x\" and hex digits, or decimal)");
  uint32_t seed = 0;
  const std::string& seedText = args.positionals[0];
  if (!parseSeedArg(seedText, seed)) {
    return cliError(io, "SEED '%s': %s", seedText.c_str(), kSeedArgExpected);
  }
  const std::string* yearText = findOption(args, "--year");
  if (!yearText) return cliError(io, "--year is required (2000..2099)");
  int64_t year = 0;
  if (!parseIntStrict(*yearText, kClockFirstYear, kClockLastYear, year)) {
    return cliError(io, "--year '%s': expected a year 2000..2099", yearText->c_str());
  }
  int64_t limit = kDefaultMomentLimit;
  if (const std::string* limitText = findOption(args, "--limit")) {
    if (!parseIntStrict(*limitText, 0, 1000000, limit)) {
      return cliError(io, "--limit '%s': expected a count 0..1000000 (0 = all)", limitText->c_str());
    }
  }

  const int32_t y = static_cast<int32_t>(year);
  switch (seedTimeVerdict(seed, y)) {
    case SeedTimeVerdict::kHasTime:
      break;
    case SeedTimeVerdict::kHourOutOfRange:
      std::fprintf(io.out, "no time: BB = 0x%02X (%d) is not an hour 0..23\n", static_cast<unsigned>(seedHour(seed)),
                   seedHour(seed));
      return kExitNotFound;
    case SeedTimeVerdict::kYearOutOfRange:  // rejected above
      return cliError(io, "--year '%s': expected a year 2000..2099", yearText->c_str());
  }

  ConsoleMoment page[64];
  SeedMomentCursor cursor = kSeedMomentStart;
  int64_t printed = 0;
  bool more = true;
  while (more && (limit == 0 || printed < limit)) {
    int64_t want = limit == 0 ? 64 : limit - printed;
    if (want > 64) want = 64;
    SeedMomentPage got = listSeedMoments(seed, y, cursor, page, static_cast<int32_t>(want));
    for (int32_t i = 0; i < got.count; ++i) printMoment(io.out, page[i]);
    printed += got.count;
    more = got.more;
  }
  if (more) {
    std::fprintf(io.err, "quillmar-cli: note: %lld of %d moments shown; --limit 0 shows them all\n",
                 static_cast<long long>(printed), countSeedMoments(seed, y));
  }
  return kExitOk;
}

int cmdTimeSeed(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first, {{"--at", true}, {"--delay", true}}, 0, args, io)) return rc;
  if (args.help) {
    std::fputs(kTimeSeedHelp, io.out);
    return kExitOk;
  }
  const std::string* atText = findOption(args, "--at");
  const std::string* delayText = findOption(args, "--delay");
  if (!atText) return cliError(io, "--at is required (\"YYYY-MM-DD HH:MM:SS\")");
  if (!delayText) return cliError(io, "--delay is required (frames, 0 or more)");
  ConsoleMoment m{};
  if (!parseMomentArg(*atText, m)) {
    return cliError(io,
                    "--at '%s': expected \"YYYY-MM-DD HH:MM:SS\" with year 2000..2099, a day that exists, "
                    "hour 0..23, minute and second 0..59",
                    atText->c_str());
  }
  int64_t delay = 0;
  if (!parseIntStrict(*delayText, 0, 2147483647, delay)) {
    return cliError(io, "--delay '%s': expected frames 0..2147483647", delayText->c_str());
  }
  m.delay = static_cast<int32_t>(delay);
  uint32_t seed = 0;
  if (!seedOfMoment(m, seed)) return cliError(io, "--at '%s': not a moment of the clock", atText->c_str());
  std::fprintf(io.out, "0x%08X\n", seed);
  return kExitOk;
}
