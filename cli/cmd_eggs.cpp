#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/egg_options.h"
#include "cli/seed_arg.h"
#include "core/egg_list.h"

namespace {

const char kHelpHead[] =
    "usage: quillmar-cli eggs --seed SEED [--frames N] [--tid N] [--sid N] [--marriage]\n"
    "                         [--shiny-only] [--nature N] [--gender K] [--ability K]\n"
    "                         [--everstone N] [--out FILE]\n"
    "\n"
    "Step 4: run the egg generator (Mersenne Twister) from the initial seed and write\n"
    "the PID list exactly as the window's \"出力\" writes result.txt: CP932 text, a\n"
    "header line, then \"frame,div+mod回,PID,nature,ability,gender value,\" with \"★\"\n"
    "last on shiny frames. No viewer is opened.\n"
    "\n"
    "  --seed SEED   the initial seed: \"0x\" (lower-case x) and 1..8 hexadecimal digits,\n"
    "                or a decimal 0..4294967295 (-2147483648..-1: its 32-bit pattern)\n"
    "  --frames N    frames to generate from frame 0, 0..999999 like the window's\n"
    "                6-digit field (default 50000); 0 writes the header only\n";

const char kHelpTail[] =
    "  --out FILE    where to write (default result.txt); '-' writes the same CP932\n"
    "                bytes to standard output\n"
    "\n"
    "FILE is replaced only once the whole list is written: a FILE written earlier\n"
    "stays as it was when creating or writing the new one fails (full disk, file-size\n"
    "limit, read-only folder). Devices and pipes (/dev/..., '-') are written directly.\n"
    "\n"
    "Exit 0 when the whole list is written, 1 when it cannot be (a message on stderr\n"
    "says why), 2 on a malformed argument.\n";

}  // namespace

int cmdEggs(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  const std::vector<OptionSpec> specs = {
      {"--seed", true},   {"--frames", true}, {"--tid", true},    {"--sid", true},     {"--marriage", false},
      {"--shiny-only", false}, {"--nature", true}, {"--gender", true}, {"--ability", true}, {"--everstone", true},
      {"--out", true},
  };
  if (int rc = parseArgs(argc, argv, first, specs, 0, args, io)) return rc;
  if (args.help) {
    std::fputs(kHelpHead, io.out);
    std::fputs(kEggListOptionsHelp, io.out);
    std::fputs(kHelpTail, io.out);
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
  if (int rc = parseEggListOptions(args, request, io)) return rc;
  const std::string* outText = findOption(args, "--out");
  std::string path = outText ? *outText : "result.txt";
  if (path.empty()) return cliError(io, "--out needs a file name (or '-' for standard output)");

  EggListState eggList{};
  if (path == "-") {
    if (!writeEggPidList(eggList, request, io.out)) {
      // Reported here, where errno still tells why; the stream then holds
      // nothing more for the check of standard output at exit to report.
      const int error = errno;
      std::clearerr(io.out);
      return cliFailure(io, "writing standard output: %s", std::strerror(error));
    }
    return kExitOk;
  }
  const OutputResult written = writeEggPidListFile(eggList, request, path.c_str());
  if (written.outcome == OutputOutcome::kNotCreated) {
    return cliFailure(io, "cannot create '%s': %s", path.c_str(), std::strerror(written.error));
  }
  if (written.outcome == OutputOutcome::kNotWritten) {
    return cliFailure(io, "writing '%s': %s", path.c_str(), std::strerror(written.error));
  }
  return kExitOk;
}
