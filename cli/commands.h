// The subcommands of quillmar-cli. Each parses argv[first..argc) itself.
#pragma once

#include "cli/args.h"

struct CliCommand {
  const char* name;
  const char* summary;
  int (*run)(int argc, const char* const* argv, int first, const CliIo& io);
};

int cmdPid(int argc, const char* const* argv, int first, const CliIo& io);
int cmdSeedTime(int argc, const char* const* argv, int first, const CliIo& io);
int cmdCalibrate(int argc, const char* const* argv, int first, const CliIo& io);
int cmdFlips(int argc, const char* const* argv, int first, const CliIo& io);
int cmdCalls(int argc, const char* const* argv, int first, const CliIo& io);
int cmdPitches(int argc, const char* const* argv, int first, const CliIo& io);
int cmdWild(int argc, const char* const* argv, int first, const CliIo& io);
int cmdWildSearch(int argc, const char* const* argv, int first, const CliIo& io);
int cmdIds(int argc, const char* const* argv, int first, const CliIo& io);
int cmdIdSearch(int argc, const char* const* argv, int first, const CliIo& io);
int cmdTimer(int argc, const char* const* argv, int first, const CliIo& io);
int cmdTimeSeed(int argc, const char* const* argv, int first, const CliIo& io);
int cmdSeeds(int argc, const char* const* argv, int first, const CliIo& io);
int cmdEggs(int argc, const char* const* argv, int first, const CliIo& io);
int cmdEggSearch(int argc, const char* const* argv, int first, const CliIo& io);
int cmdEggIvs(int argc, const char* const* argv, int first, const CliIo& io);
int cmdEggIvSearch(int argc, const char* const* argv, int first, const CliIo& io);
int cmdSpecies(int argc, const char* const* argv, int first, const CliIo& io);
int cmdMeasure(int argc, const char* const* argv, int first, const CliIo& io);
