// What every year search command (egg-search, egg-iv-search) shares on the
// command line: the year, the frames, the delay window, the hours, the limit
// and the threads; the search run with its progress on a terminal; the
// message when no thread can be had; the "no hit" line; the printing of the
// hits, which stops at the first write standard output refuses; and the exit
// codes. A command is then its own options and its line format
// (runYearSearchCommand).
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <vector>

#include "cli/args.h"
#include "core/year_search.h"

// --limit 0 reports every hit up to this many; beyond it the first ones are
// printed and a note says the search was cut.
inline constexpr int32_t kAllHitsCap = 1 << 22;

struct YearSearchOptions {
  YearWindow window;   // --year, --delay-min, --delay-max, --hours
  int32_t frameCount;  // --max-frame
  int32_t limit;    // 0: all, up to kAllHitsCap
  int32_t threads;  // 1..kYearSearchMaxThreads
};

// A year search command's help: its head (usage and what it does) and the
// lines of its own options, printed between --year's line and the shared
// options' lines with the default of --max-frame. A command that counts
// advances rather than frames names its option and limit.
struct YearSearchHelp {
  const char* head;
  const char* ownOptions;
  int32_t defaultMaxFrame;
  const char* frameOption = "--max-frame";  // or "--max-advance"; null: the seeds alone, no frames
  int32_t largestFrame = 999999;
};

// readYearSearchArgs's answer when the command is to go on.
inline constexpr int kYearSearchGoOn = -1;

// Reads a year search command's arguments: its own options `specs` beside the
// shared ones (--year is required). Returns kExitOk after printing the help
// for --help, kExitUsage after printing an error, and kYearSearchGoOn when
// `options` hold the shared options and `args` the command's own, for the
// command to read next.
int readYearSearchArgs(int argc, const char* const* argv, int first, std::vector<OptionSpec> specs,
                       const YearSearchHelp& help, ParsedArgs& args, YearSearchOptions& options, const CliIo& io);

// Runs search(control) with `threads`; when io.err is a terminal, on a worker
// thread while this one shows the progress out of `seedTotal` (on this one,
// without progress, when no worker can be had).
YearSearchResult runYearSearchCli(const std::function<YearSearchResult(const YearSearchControl&)>& search,
                                  int64_t seedTotal, int32_t threads, const CliIo& io);

// The end of a hit's line: a tab, the first moment of `year` that gives the
// seed ("YYYY-MM-DD HH:MM:SS"), a tab, "delay D" and the line end. False when
// the stream refuses the write (errno tells why).
bool printHitMoment(std::FILE* out, uint32_t seed, int32_t year);

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

// A year search command once its own options are read: the hits asked of
// search(hits, capacity, control) (the limit, or with --limit 0 one more than
// the cap, which tells that the cap cut the list), the search run with
// progress on a terminal, then the hits printed with print(out, hit), in the
// search's order. Without a hit one line says so: "no hit: no <what> below F
// of the N seeds of Y <verdict>" (a null <what>: "no hit: none of the N seeds
// of Y <verdict>"). Returns kExitOk with hits, kExitNotFound
// without one or when no thread or memory could be had or standard output
// refused a write (after a message on stderr).
template <typename Hit, typename Search, typename Print>
int runYearSearchCommand(const YearSearchOptions& options, int64_t seedTotal, Search search, Print print,
                         const char* noHitWhat, const char* noHitVerdict, const CliIo& io) {
  const int32_t capacity = options.limit == 0 ? kAllHitsCap + 1 : options.limit;
  std::unique_ptr<Hit[]> hits(new (std::nothrow) Hit[static_cast<std::size_t>(capacity)]);
  if (!hits) return cliFailure(io, "no memory for %d hits: set a smaller --limit", capacity);
  const YearSearchResult result = runYearSearchCli(
      [&](const YearSearchControl& control) { return search(hits.get(), capacity, control); }, seedTotal,
      options.threads, io);
  if (result.status == YearSearchStatus::kNoThreads) {
    return cliFailure(io, "the system refused a thread for the search: try a smaller --threads");
  }
  if (result.count == 0) {
    if (noHitWhat == nullptr) {
      std::fprintf(io.out, "no hit: none of the %lld seeds of %d %s\n", static_cast<long long>(seedTotal),
                   options.window.year, noHitVerdict);
    } else {
      std::fprintf(io.out, "no hit: no %s below %d of the %lld seeds of %d %s\n", noHitWhat, options.frameCount,
                   static_cast<long long>(seedTotal), options.window.year, noHitVerdict);
    }
    return kExitNotFound;
  }
  return printYearSearchHits(hits.get(), result.count, print, io);
}
