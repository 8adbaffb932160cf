// The two data files read at start from a directory (the working directory in
// the program; an empty directory name is the working directory too):
// "default.txt" and "pokemon.dat". Both go through the one 256-byte
// AppState.scratch.lineBuffer. A file that cannot be read (missing, a folder, anything
// that refuses its first read) leaves zeros, the buffer untouched, and makes
// the loader return false.
#pragma once

#include "state/app_state.h"

// First line "%d,%d,%d,%d,%d,%d" into AppState.measure.baseStats (H first).
bool loadDefaults(AppState& app, const char* directory);

// Exactly 493 line reads into AppState.speciesTable (short files repeat their
// last line); base stats as above, the name after the sixth comma.
bool loadSpeciesTable(AppState& app, const char* directory);

// The first row whose name equals the typed CP932 text cut to 10 bytes, or
// nullptr when none does.
const SpeciesRecord* findSpecies(const AppState& app, const char* typedName);
