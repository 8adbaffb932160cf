// What egg-search and egg-iv-search share on the command line: the year, the
// frames, the delay window, the hours, the limit and the threads; the search
// run with its progress on a terminal; and the printing of the hits, which
// stops at the first write standard output refuses.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "cli/args.h"
#include "core/egg_search.h"

// --limit 0 reports every hit up to this many; beyond it the first ones are
// printed and a note says the search was cut.
inline constexpr int32_t kAllHitsCap = 1 << 22;

struct YearSearchOptions {
  int32_t year;
  int32_t frameCount;  // --max-frame
  int32_t delayMin;
  int32_t delayMax;
  uint32_t hourMask;
  int32_t limit;    // 0: all, up to kAllHitsCap
  int32_t threads;  // 1..kYearSearchMaxThreads
};

// The options' specs, added to a subcommand's own.
void addYearSearchSpecs(std::vector<OptionSpec>& specs);

// The options' help lines (--year first, then the rest), and the closing
// paragraph on the order, the progress and the exit codes.
void printYearSearchYearHelp(std::FILE* out);
void printYearSearchOptionsHelp(std::FILE* out, int32_t defaultMaxFrame);

// Reads the options (--year is required). Returns kExitOk or, after printing
// the error, kExitUsage.
int parseYearSearchOptions(const ParsedArgs& args, int32_t defaultMaxFrame, YearSearchOptions& options,
                           const CliIo& io);

// The hits to ask the engine for: the limit, or with --limit 0 one more than
// the cap, which tells that the cap cut the list.
inline int32_t yearSearchCapacity(const YearSearchOptions& options) {
  return options.limit == 0 ? kAllHitsCap + 1 : options.limit;
}

// Runs search(control) with `threads`; when io.err is a terminal, on a worker
// thread while this one shows the progress out of `seedTotal` (on this one,
// without progress, when no worker can be had).
YearSearchResult runYearSearchCli(const std::function<YearSearchResult(const YearSearchControl&)>& search,
                                 int64_t seedTotal, int32_t threads, const CliIo& io);

// Prints the hits up to the cap with print(out, hit), false at the first
// write the stream refuses (errno tells why), then the note when the cap cut
// them. Returns kExitOk, or kExitNotFound after the failed write's message.
template <typename Hit, typename Print>
int printYearSearchHits(const Hit* hits, int32_t count, Print print, const CliIo& io) {
  const int32_t shown = count > kAllHitsCap ? kAllHitsCap : count;
  for (int32_t i = 0; i < shown; ++i) {
    if (!print(io.out, hits[i])) {
      // Reported here, where errno still tells why; the stream then holds
      // nothing more for the check of standard output at exit to report.
      const int error = errno;
      std::clearerr(io.out);
      return cliFailure(io, "writing standard output: %s", std::strerror(error));
    }
  }
  if (count > shown) {
    std::fprintf(io.err, "quillmar-cli: note: more than %d hits; the first %d are shown: narrow the search\n",
                 kAllHitsCap, kAllHitsCap);
  }
  return kExitOk;
}
