// Step 11's creature options on the command line, shared by wild and the
// creature's year search: the game, the kind of encounter, the lead, the
// species, the options of the place, the IDs and the filters.
#pragma once

#include <vector>

#include "cli/args.h"
#include "core/wild.h"

// Their lines of the subcommands' help.
extern const char kWildOptionsHelp[];

// The options' specs, added to a subcommand's own.
void addWildSpecs(std::vector<OptionSpec>& specs);

// Reads the options into the encounter and the filter (both set whole) and
// --before-pokerus. Returns kExitOk or, after printing the error, kExitUsage:
// a value out of its range, or an option where it does not apply (a roamer
// when fishing, Feebas outside DPPt's rods).
int parseWildOptions(const ParsedArgs& args, WildEncounter& encounter, WildFilter& filter, bool& beforePokerus,
                     const CliIo& io);
