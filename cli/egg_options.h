// The egg list's options on the command line, shared by eggs and egg-search:
// the IDs, the marriage rerolls and the four filters.
#pragma once

#include "cli/args.h"
#include "core/egg_list.h"

// Their lines of the subcommands' help.
extern const char kEggListOptionsHelp[];

// Reads --tid, --sid, --marriage, --shiny-only, --nature, --gender,
// --ability and --everstone into the request (fields not given are left as they are).
// Returns kExitOk or, after printing the error, kExitUsage.
int parseEggListOptions(const ParsedArgs& args, EggListRequest& request, const CliIo& io);
