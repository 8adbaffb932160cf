#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/seed_arg.h"
#include "core/egg_list.h"
#include "data/tables.h"

namespace {

const char kHelp[] =
    "usage: quillmar-cli eggs --seed SEED [--frames N] [--tid N] [--sid N] [--marriage]\n"
    "                         [--shiny-only] [--nature N] [--gender K] [--ability K]\n"
    "                         [--out FILE]\n"
    "\n"
    "Step 4: run the egg generator (Mersenne Twister) from the initial seed and write\n"
    "the PID list exactly as the window's \"出力\" writes result.txt: CP932 text, a\n"
    "header line, then \"frame,div+mod回,PID,nature,ability,gender value,\" with \"★\"\n"
    "last on shiny frames. No viewer is opened.\n"
    "\n"
    "  --seed SEED   the initial seed: \"0x\" (lower-case x) and 1..8 hexadecimal digits,\n"
    "                or a decimal 0..4294967295 (-2147483648..-1: its 32-bit pattern)\n"
    "  --frames N    frames to generate from frame 0, 0..999999 like the window's\n"
    "                6-digit field (default 50000); 0 writes the header only\n"
    "  --tid N       the first trainer ID, 0..99999 like the 5-digit field (default 0)\n"
    "  --sid N       the second trainer ID, 0..99999 (default 0)\n"
    "  --marriage    international marriage: up to four rerolls towards a shiny PID\n"
    "  --shiny-only  keep only shiny frames (final PID, the same test as the ★ column)\n"
    "  --nature N    keep only this nature: its number 0..24 or its Japanese name\n"
    "  --gender K    keep only what gender option K passes: 1..8 or its text\n"
    "                (1 ♂(1/2), 2 ♀(1/2), 3 ♂(7/8), 4 ♀(1/8), 5 ♂(3/4), 6 ♀(1/4),\n"
    "                7 ♂(1/4), 8 ♀(3/4))\n"
    "  --ability K   keep only ability slot K: 1 or 2 (or 特性1, 特性2)\n"
    "  --out FILE    where to write (default result.txt); '-' writes the same CP932\n"
    "                bytes to standard output\n"
    "\n"
    "FILE is replaced only once the whole list is written: a FILE written earlier\n"
    "stays as it was when creating or writing the new one fails (full disk, file-size\n"
    "limit, read-only folder). Devices and pipes (/dev/..., '-') are written directly.\n"
    "\n"
    "Exit 0 when the whole list is written, 1 when it cannot be (a message on stderr\n"
    "says why), 2 on a malformed argument.\n";

// An option 1..(count - 1) of a filter list (0, "指定しない", is the default).
bool parseFilterOption(std::string_view text, const char* const* options, int count, int& choice) {
  return parseListOptionArg(text, options, 1, count - 1, choice);
}

}  // namespace

int cmdEggs(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  const std::vector<OptionSpec> specs = {
      {"--seed", true},   {"--frames", true}, {"--tid", true},    {"--sid", true},     {"--marriage", false},
      {"--shiny-only", false}, {"--nature", true}, {"--gender", true}, {"--ability", true}, {"--out", true},
  };
  if (int rc = parseArgs(argc, argv, first, specs, 0, args, io)) return rc;
  if (args.help) {
    std::fputs(kHelp, io.out);
    return kExitOk;
  }

  EggListRequest request{};
  request.frameCount = 50000;
  const std::string* seedText = findOption(args, "--seed");
  if (!seedText) return cliError(io, "--seed is required (0x followed by hex digits, or decimal)");
  if (!parseSeedArg(*seedText, request.initialSeed)) {
    return cliError(io, "--seed '%s': %s", seedText->c_str(), kSeedArgExpected);
  }
  int64_t n = 0;
  if (const std::string* t = findOption(args, "--frames")) {
    if (!parseIntStrict(*t, 0, 999999, n)) return cliError(io, "--frames '%s': expected a number 0..999999", t->c_str());
    request.frameCount = static_cast<int32_t>(n);
  }
  if (const std::string* t = findOption(args, "--tid")) {
    if (!parseIntStrict(*t, 0, 99999, n)) return cliError(io, "--tid '%s': expected a number 0..99999", t->c_str());
    request.tid = static_cast<int32_t>(n);
  }
  if (const std::string* t = findOption(args, "--sid")) {
    if (!parseIntStrict(*t, 0, 99999, n)) return cliError(io, "--sid '%s': expected a number 0..99999", t->c_str());
    request.sid = static_cast<int32_t>(n);
  }
  request.internationalMarriage = hasFlag(args, "--marriage");
  request.shinyOnly = hasFlag(args, "--shiny-only");
  if (const std::string* t = findOption(args, "--nature")) {
    int nature = 0;
    if (!parseNatureArg(*t, nature)) {
      return cliError(io, "--nature '%s': expected a nature number 0..24 or a nature name", t->c_str());
    }
    request.natureChoice = nature + 1;  // list entry k keeps NatureIndex k - 1
  }
  if (const std::string* t = findOption(args, "--gender")) {
    if (!parseFilterOption(*t, kGenderFilterOptions, kGenderFilterOptionCount, request.genderChoice)) {
      return cliError(io, "--gender '%s': expected an option 1..8 or its text, e.g. ♂(1/2)", t->c_str());
    }
  }
  if (const std::string* t = findOption(args, "--ability")) {
    if (!parseFilterOption(*t, kAbilityFilterOptions, kAbilityFilterOptionCount, request.abilityChoice)) {
      return cliError(io, "--ability '%s': expected 1 or 2", t->c_str());
    }
  }
  const std::string* outText = findOption(args, "--out");
  std::string path = outText ? *outText : "result.txt";
  if (path.empty()) return cliError(io, "--out needs a file name (or '-' for standard output)");

  AppState& app = freshCliState();
  if (path == "-") {
    if (!writeEggPidList(app, request, io.out)) {
      // Reported here, where errno still tells why; the stream then holds
      // nothing more for the check of standard output at exit to report.
      const int error = errno;
      std::clearerr(io.out);
      return cliFailure(io, "writing standard output: %s", std::strerror(error));
    }
    return kExitOk;
  }
  const OutputResult written = writeEggPidListFile(app, request, path.c_str());
  if (written.outcome == OutputOutcome::kNotCreated) {
    return cliFailure(io, "cannot create '%s': %s", path.c_str(), std::strerror(written.error));
  }
  if (written.outcome == OutputOutcome::kNotWritten) {
    return cliFailure(io, "writing '%s': %s", path.c_str(), std::strerror(written.error));
  }
  return kExitOk;
}
