// The species lookup shared by the subcommands that take a species name.
#pragma once

#include <string>

#include "cli/args.h"
#include "state/app_state.h"

// Loads DIR/pokemon.dat (DIR = `directory`, or the working directory when
// null or empty) and finds `utf8Name` as the window's lookup does.
// Returns kExitOk with the six base stats in `base`; kExitUsage when the name
// is empty; kExitNotFound when the file cannot be read or no row matches.
// Errors are printed on io.err.
int lookUpSpecies(const std::string* directory, const std::string& utf8Name, StatBlock& base,
                  const CliIo& io);
