#include "cli/species_source.h"

#include <cstring>

#include "data/data_files.h"
#include "text/cp932.h"

int lookUpSpecies(const std::string* directory, const std::string& utf8Name, StatBlock& base, const CliIo& io) {
  // The loader reads through a whole AppState's line buffer into its species
  // table: one zero-filled for each lookup, too large for the stack.
  static AppState app;
  std::memset(&app, 0, sizeof app);
  // An empty --dir is the working directory, as for the loader itself.
  const char* dir = directory && !directory->empty() ? directory->c_str() : ".";
  if (utf8Name.empty()) return cliError(io, "the species name is empty");
  std::string path = std::string(dir) + "/pokemon.dat";
  if (!loadSpeciesTable(app, dir)) {
    return cliFailure(io, "cannot read '%s' (use --dir DIR for the folder holding pokemon.dat)", path.c_str());
  }
  const SpeciesRecord* found = findSpecies(app, utf8ToCp932(utf8Name).c_str());
  if (!found) return cliFailure(io, "no species named '%s' in '%s'", utf8Name.c_str(), path.c_str());
  base = found->baseStats;
  return kExitOk;
}
