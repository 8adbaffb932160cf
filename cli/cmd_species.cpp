#include <cstdio>

#include "cli/commands.h"
#include "cli/species_source.h"

namespace {

const char kHelp[] =
    "usage: quillmar-cli species NAME [--dir DIR]\n"
    "\n"
    "Looks a species up by its Japanese name in DIR/pokemon.dat, as the window's\n"
    "species button does, and prints its six base stats as H,A,B,S,C,D.\n"
    "\n"
    "  NAME       the species name; like the window, only its first 10 bytes in\n"
    "             CP932 (5 full-width characters) are compared, exactly\n"
    "  --dir DIR  the folder holding pokemon.dat (default, or an empty DIR: the\n"
    "             working directory)\n"
    "\n"
    "A name that is not found, or a pokemon.dat that cannot be read (missing, a\n"
    "folder): a message on stderr, exit 1.\n";

}  // namespace

int cmdSpecies(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first, {{"--dir", true}}, 1, args, io)) return rc;
  if (args.help) {
    std::fputs(kHelp, io.out);
    return kExitOk;
  }
  if (args.positionals.empty()) return cliError(io, "missing species NAME");
  StatBlock base{};
  if (int rc = lookUpSpecies(findOption(args, "--dir"), args.positionals[0], base, io)) return rc;
  std::fprintf(io.out, "%d,%d,%d,%d,%d,%d\n", base[0], base[1], base[2], base[3], base[4], base[5]);
  return kExitOk;
}
