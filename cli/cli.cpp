#include "cli/cli.h"

#include <cerrno>
#include <cstring>
#include <iterator>

#include "cli/commands.h"
#include "quillmar/version.h"
#include "text/cp932.h"

namespace {

const CliCommand kCommands[] = {
    {"pid", "step 2: list the PIDs and generator states that give six IVs and a nature", cmdPid},
    {"seed-time", "from an initial seed to the console's date, time and delay for a year", cmdSeedTime},
    {"time-seed", "the initial seed of a date, time and delay", cmdTimeSeed},
    {"calibrate", "after a missed try: the seeds around the aimed moment, and which one was hit", cmdCalibrate},
    {"flips", "DPPt: the Poketch coin's flips after continuing with an initial seed", cmdFlips},
    {"calls", "HGSS: Elm's answers on the phone after continuing with an initial seed", cmdCalls},
    {"pitches", "DPPt: Chatot's cries (L, M, H) after continuing; --find: where the console stands", cmdPitches},
    {"timer", "step 8: the clock to set, when to launch and when to press continue; --run counts down", cmdTimer},
    {"seeds", "step 3: list the earlier generator states whose hour byte matches (initial seeds)", cmdSeeds},
    {"eggs", "step 4: write the egg PID list (result.txt) from an initial seed", cmdEggs},
    {"egg-search", "search every seed of a year for the eggs wanted: seed, frame, date, time, delay", cmdEggSearch},
    {"egg-ivs", "step 9: the egg's IVs at pick-up, n draws after an initial seed", cmdEggIvs},
    {"egg-iv-search", "step 10: search every seed of a year for the egg IVs wanted: seed, n, date, delay",
     cmdEggIvSearch},
    {"wild", "step 11: the stationary, gift or wild creature at each advance after an initial seed", cmdWild},
    {"wild-search", "step 12: search every seed of a year for the creature wanted: seed, advance, date, delay",
     cmdWildSearch},
    {"ids", "step 13: the trainer IDs (TID, SID) a new game gets from its seed or moment", cmdIds},
    {"id-search", "step 14: search every seed of a year for the IDs wanted: seed, TID, SID, date, delay",
     cmdIdSearch},
    {"species", "look a species up in pokemon.dat and print its six base stats", cmdSpecies},
    {"measure", "step 1: narrow the six IVs from the stats shown at one or more levels", cmdMeasure},
};

void printHelp(std::FILE* out) {
  std::fputs(
      "usage: quillmar-cli SUBCOMMAND [OPTIONS]\n"
      "\n"
      "quillmar works backwards and forwards through the two random number generators\n"
      "of the 4th-generation games. Every subcommand prints what the window shows.\n"
      "\n"
      "subcommands:\n",
      out);
  for (const CliCommand& c : kCommands) std::fprintf(out, "  %-14s %s\n", c.name, c.summary);
  std::fputs(
      "\n"
      "'quillmar-cli SUBCOMMAND --help' describes each subcommand's options;\n"
      "'quillmar-cli --version' prints the version.\n"
      "Output is UTF-8, except for the one file whose exact bytes can be written to\n"
      "standard output: 'eggs --out -' writes result.txt's CP932 bytes, as the window\n"
      "writes the file. A malformed argument is an error: a message on stderr, exit 2.\n"
      "A request that cannot be carried out (a name not found, a data file that cannot\n"
      "be read, output that cannot be written whole): a message on stderr, exit 1.\n",
      out);
}

int runCommand(int argc, const char* const* argv, const CliIo& io) {
  if (argc < 2 || argv[1] == nullptr) return cliError(io, "missing subcommand (try 'quillmar-cli --help')");
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
    printHelp(io.out);
    return kExitOk;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::fputs("quillmar-cli " QUILLMAR_VERSION "\n", io.out);
    return kExitOk;
  }
  for (const CliCommand& c : kCommands) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    // Names, labels and texts typed on the command line all pass through CP932.
    if (const char* problem = cp932ConverterProblem()) {
      return cliFailure(io, "no CP932 converter: %s", problem);
    }
    return c.run(argc, argv, 2, io);
  }
  return cliError(io, "unknown subcommand '%s' (try 'quillmar-cli --help')", argv[1]);
}

}  // namespace

int runCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  return runCli(argc, argv, stdin, out, err);
}

int runCli(int argc, const char* const* argv, std::FILE* in, std::FILE* out, std::FILE* err) {
  CliIo io{out, err, in};
  const int rc = runCommand(argc, argv, io);
  // What was printed counts only once it has left the stream's buffer: a full
  // disk, a file-size limit or a closed standard output fails here, if not
  // before (the stream's error stays set).
  errno = 0;
  const bool flushed = std::fflush(out) == 0;
  if (!flushed || std::ferror(out)) {
    const int error = !flushed && errno != 0 ? errno : EIO;
    cliFailure(io, "writing standard output: %s", std::strerror(error));
    return kExitNotFound;
  }
  return rc;
}
