#include "cli/year_search_cli.h"

#include <atomic>
#include <chrono>
#include <string_view>
#include <thread>

#include "cli/seed_explain.h"
#include "cli/terminal.h"
#include "core/seed_time.h"
#include "core/thread_start.h"

namespace {

constexpr int64_t kDefaultHitLimit = 100;

// "7,20-23": numbers 0..23 and ranges lo-hi (lo <= hi), separated by commas.
bool parseHours(std::string_view text, uint32_t& mask) {
  mask = 0;
  for (;;) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const std::size_t dash = item.find('-');
    int64_t low = 0;
    int64_t high = 0;
    if (dash == std::string_view::npos) {
      if (!parseIntStrict(item, 0, 23, low)) return false;
      high = low;
    } else if (dash == 0 || !parseIntStrict(item.substr(0, dash), 0, 23, low) ||
               !parseIntStrict(item.substr(dash + 1), 0, 23, high) || low > high) {
      return false;
    }
    for (int64_t h = low; h <= high; ++h) mask |= 1u << h;
    if (comma == std::string_view::npos) return true;
    text = text.substr(comma + 1);
  }
}

void addYearSearchSpecs(std::vector<OptionSpec>& specs, const char* frameOption) {
  if (frameOption != nullptr) specs.push_back({frameOption, true});
  specs.insert(specs.end(), {{"--year", true},
                             {"--delay-min", true},
                             {"--delay-max", true},
                             {"--hours", true},
                             {"--limit", true},
                             {"--threads", true}});
}

void printYearSearchYearHelp(std::FILE* out) {
  std::fputs("  --year Y       the year on the console's clock, 2000..2099 (required)\n", out);
}

void printYearSearchOptionsHelp(std::FILE* out, const YearSearchHelp& help) {
  if (help.frameOption == nullptr) {
    // a search of the seeds themselves, no frames
  } else if (std::string_view(help.frameOption) == "--max-frame") {
    std::fprintf(out, "  --max-frame F  frames searched per seed, 1..%d (default %d)\n", help.largestFrame,
                 help.defaultMaxFrame);
  } else {
    std::fprintf(out, "  %s N  advances 0..N-1 searched per seed, N 1..%d (default %d)\n", help.frameOption,
                 help.largestFrame, help.defaultMaxFrame);
  }
  std::fputs(
      "  --delay-min A  the shortest delay a person can wait, in frames (default 300)\n"
      "  --delay-max B  the longest delay (default 9999); 0 <= A <= B <= 65535\n"
      "  --hours LIST   the hours searched: numbers 0..23 and ranges, e.g. 7,20-23\n"
      "                 (default 0-23)\n"
      "  --limit N      print the first N hits (default 100); 0 prints them all, up to\n"
      "                 4194304 (a note on stderr says when there are more)\n"
      "  --threads N    threads to search with, 1..64 (default: every core)\n"
      "\n"
      "The output is the same whatever the thread count. On a terminal, progress goes\n"
      "to standard error. Exit 0 with hits; 1 when nothing matches (one line says\n"
      "so) or when standard output cannot be written (a message on stderr says why);\n"
      "2 on a malformed argument.\n",
      out);
}

// Reads the shared options (--year is required). Returns kExitOk or, after
// printing the error, kExitUsage.
int parseYearSearchOptions(const ParsedArgs& args, const YearSearchHelp& help, YearSearchOptions& options,
                           const CliIo& io) {
  options.frameCount = help.defaultMaxFrame;
  options.window.delayMin = kExplainDelayMin;
  options.window.delayMax = kExplainDelayMax;
  options.window.hourMask = 0xFFFFFFu;
  int64_t n = 0;
  const std::string* yearText = findOption(args, "--year");
  if (!yearText) return cliError(io, "--year is required (2000..2099)");
  if (!parseIntStrict(*yearText, kClockFirstYear, kClockLastYear, n)) {
    return cliError(io, "--year '%s': expected a year 2000..2099", yearText->c_str());
  }
  options.window.year = static_cast<int32_t>(n);
  if (const std::string* t = help.frameOption != nullptr ? findOption(args, help.frameOption) : nullptr) {
    if (!parseIntStrict(*t, 1, help.largestFrame, n)) {
      return cliError(io, "%s '%s': expected 1..%d", help.frameOption, t->c_str(), help.largestFrame);
    }
    options.frameCount = static_cast<int32_t>(n);
  }
  if (int rc = parseDelayWindow(args, options.window.delayMin, options.window.delayMax, io)) return rc;
  if (const std::string* t = findOption(args, "--hours")) {
    if (!parseHours(*t, options.window.hourMask)) {
      return cliError(io, "--hours '%s': expected hours 0..23 and ranges lo-hi separated by commas, e.g. 7,20-23",
                      t->c_str());
    }
  }
  n = kDefaultHitLimit;
  if (const std::string* t = findOption(args, "--limit")) {
    if (!parseIntStrict(*t, 0, kAllHitsCap, n)) {
      return cliError(io, "--limit '%s': expected a count 0..%d (0 = all)", t->c_str(), kAllHitsCap);
    }
  }
  options.limit = static_cast<int32_t>(n);
  n = std::thread::hardware_concurrency();
  if (const std::string* t = findOption(args, "--threads")) {
    if (!parseIntStrict(*t, 1, kYearSearchMaxThreads, n)) {
      return cliError(io, "--threads '%s': expected 1..%d", t->c_str(), kYearSearchMaxThreads);
    }
  }
  options.threads = static_cast<int32_t>(n < 1 ? 1 : n > kYearSearchMaxThreads ? kYearSearchMaxThreads : n);
  return kExitOk;
}

}  // namespace

int readYearSearchArgs(int argc, const char* const* argv, int first, std::vector<OptionSpec> specs,
                       const YearSearchHelp& help, ParsedArgs& args, YearSearchOptions& options, const CliIo& io) {
  addYearSearchSpecs(specs, help.frameOption);
  if (int rc = parseArgs(argc, argv, first, specs, 0, args, io)) return rc;
  if (args.help) {
    std::fputs(help.head, io.out);
    printYearSearchYearHelp(io.out);
    std::fputs(help.ownOptions, io.out);
    printYearSearchOptionsHelp(io.out, help);
    return kExitOk;
  }
  if (int rc = parseYearSearchOptions(args, help, options, io)) return rc;
  return kYearSearchGoOn;
}

YearSearchResult runYearSearchCli(const std::function<YearSearchResult(const YearSearchControl&)>& search,
                                  int64_t seedTotal, int32_t threads, const CliIo& io) {
  if (!isTerminal(io.err)) return search(YearSearchControl{threads, nullptr, nullptr});
  std::atomic<int64_t> done{0};
  std::atomic<bool> finished{false};
  YearSearchResult result{};
  std::thread worker;
  if (!startThread(worker, [&] {
        result = search(YearSearchControl{threads, &done, nullptr});
        finished.store(true);
      })) {
    return search(YearSearchControl{threads, nullptr, nullptr});
  }
  while (!finished.load()) {
    std::fprintf(io.err, "\rsearching: %lld of %lld seeds", static_cast<long long>(done.load()),
                 static_cast<long long>(seedTotal));
    std::fflush(io.err);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  worker.join();
  std::fprintf(io.err, "\r%60s\r", "");
  std::fflush(io.err);
  return result;
}

bool printHitMoment(std::FILE* out, uint32_t seed, int32_t year) {
  ConsoleMoment m{};
  yearHitMoment(seed, year, m);
  return std::fprintf(out, "\t%04d-%02d-%02d %02d:%02d:%02d\tdelay %d\n", m.year, m.month, m.day, m.hour, m.minute,
                      m.second, m.delay) >= 0;
}
