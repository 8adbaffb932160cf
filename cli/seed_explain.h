// seeds --explain: what each initial-seed candidate asks of the player in a
// given year (the hour to set and the delay to wait) and whether a person can
// do it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "cli/args.h"

// The default window of delays a person can wait, in frames.
inline constexpr int32_t kExplainDelayMin = 300;
inline constexpr int32_t kExplainDelayMax = 9999;

struct SeedExplainRequest {
  bool on = false;
  int32_t year = 0;
  int32_t delayMin = kExplainDelayMin;
  int32_t delayMax = kExplainDelayMax;
};

// The options' help, appended to the help of seeds. Its options are --explain,
// --year, --delay-min and --delay-max (all but --explain take a value).
extern const char kSeedExplainHelp[];

// Reads --explain, --year, --delay-min and --delay-max. The last three need
// --explain, and --explain needs --year. Returns kExitOk or, after printing the
// error, kExitUsage.
int parseSeedExplain(const ParsedArgs& args, SeedExplainRequest& request, const CliIo& io);

// Reads --delay-min and --delay-max (each 0..65535, min <= max) over the
// defaults already in delayMin and delayMax. Returns kExitOk or, after
// printing the error, kExitUsage.
int parseDelayWindow(const ParsedArgs& args, int32_t& delayMin, int32_t& delayMax, const CliIo& io);

// Writes "\thour H\tdelay D\treachable" (or "unreachable") for one candidate:
// reachable when H is 0..23 and D lies in the delay window.
void printSeedExplanation(std::FILE* out, uint32_t seed, const SeedExplainRequest& request);
