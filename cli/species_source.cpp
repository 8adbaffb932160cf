#include "cli/species_source.h"

#include <cstdio>

#include "data/data_files.h"
#include "text/cp932.h"

int lookUpSpecies(AppState& app, const std::string* directory, const std::string& utf8Name, StatBlock& base,
                  const CliIo& io) {
  const char* dir = directory ? directory->c_str() : ".";
  if (utf8Name.empty()) return cliError(io, "the species name is empty");
  std::string path = std::string(dir) + "/pokemon.dat";
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (!probe) return cliError(io, "cannot read '%s' (use --dir DIR for the folder holding pokemon.dat)", path.c_str());
  std::fclose(probe);
  loadSpeciesTable(app, dir);
  const SpeciesRecord* found = findSpecies(app, utf8ToCp932(utf8Name).c_str());
  if (!found) {
    cliError(io, "no species named '%s' in '%s'", utf8Name.c_str(), path.c_str());
    return kExitNotFound;
  }
  base = found->baseStats;
  return kExitOk;
}
