// The egg IVs' options on the command line, shared by egg-ivs and
// egg-iv-search: the game, both parents' IVs and items, and the ranges wanted.
#pragma once

#include <vector>

#include "cli/args.h"
#include "core/egg_ivs.h"

// Their lines of the subcommands' help.
extern const char kEggIvOptionsHelp[];

// The options' specs, added to a subcommand's own.
void addEggIvSpecs(std::vector<OptionSpec>& specs);

// Reads --parent-a and --parent-b (required), --game, --item-a, --item-b,
// --min and --max. Returns kExitOk or, after printing the error, kExitUsage:
// IVs not six of 0..31, an item with DPPt, a range whose minimum is above its
// maximum.
int parseEggIvOptions(const ParsedArgs& args, EggParents& parents, IvRange (&ranges)[kStatCount], const CliIo& io);

// Reads --min and --max (six IVs each, H,A,B,S,C,D; 0..31 by default) into
// `ranges`. Returns kExitOk or, after printing the error, kExitUsage.
int parseIvRangeOptions(const ParsedArgs& args, IvRange (&ranges)[kStatCount], const CliIo& io);
