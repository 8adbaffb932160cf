// egg-search: every initial seed of a year, searched for the frames the egg
// list would keep.
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "cli/egg_options.h"
#include "cli/seed_explain.h"
#include "cli/terminal.h"
#include "core/egg_search.h"
#include "core/rng.h"
#include "core/thread_start.h"

namespace {

constexpr int64_t kDefaultHitLimit = 100;
constexpr int32_t kDefaultMaxFrame = 100;
// --limit 0 reports every hit up to this many (16 bytes each, 64 MiB); beyond
// it the first ones are printed and a note says the search was cut.
constexpr int32_t kAllHitsCap = 1 << 22;

const char kHelpHead[] =
    "usage: quillmar-cli egg-search --year Y [--tid T] [--sid S] [--marriage] [--shiny-only]\n"
    "           [--nature N] [--gender K] [--ability K] [--max-frame F] [--delay-min A]\n"
    "           [--delay-max B] [--hours LIST] [--limit N] [--threads N]\n"
    "\n"
    "Aim first: every initial seed 0xAABBCCCC a player can reach in year Y (AA any of\n"
    "0..255, BB an hour of --hours, CCCC = (delay + (Y - 2000)) mod 65536 for every\n"
    "delay A..B) is run through the egg list's generator, frames 0..F-1, with the\n"
    "egg list's rerolls and filters. A hit is a frame the list keeps; hits come in\n"
    "order of frame, then delay, then seed, one line each, tab-separated:\n"
    "  SEED  LINE  YYYY-MM-DD HH:MM:SS  delay D\n"
    "LINE is the frame's line of 'quillmar-cli eggs --seed SEED' with the same\n"
    "options; the moment is the first of year Y that gives SEED ('seed-time SEED\n"
    "--year Y'), after which the player waits D frames.\n"
    "\n"
    "  --year Y       the year on the console's clock, 2000..2099 (required)\n";

const char kHelpTail[] =
    "  --max-frame F  frames searched per seed, 1..999999 (default 100)\n"
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
    "2 on a malformed argument.\n";

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

// Runs the search on a worker thread while this one shows its progress; with
// no thread for the worker, on this one without progress.
EggSearchResult searchWithProgress(const EggSearchRequest& request, EggHit* hits, int32_t capacity,
                                   int32_t threads, std::FILE* err) {
  std::atomic<int64_t> done{0};
  std::atomic<bool> finished{false};
  EggSearchResult result{};
  std::thread worker;
  if (!startThread(worker, [&] {
        result = runEggSearch(request, hits, capacity, EggSearchControl{threads, &done, nullptr});
        finished.store(true);
      })) {
    return runEggSearch(request, hits, capacity, EggSearchControl{threads, nullptr, nullptr});
  }
  const int64_t total = eggSearchSeedCount(request);
  while (!finished.load()) {
    std::fprintf(err, "\rsearching: %lld of %lld seeds", static_cast<long long>(done.load()),
                 static_cast<long long>(total));
    std::fflush(err);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  worker.join();
  std::fprintf(err, "\r%60s\r", "");
  std::fflush(err);
  return result;
}

// One hit's line; false at the first write the stream refuses (errno tells
// why), so that a failed standard output ends the listing there.
bool printHit(std::FILE* out, const EggHit& hit, const EggSearchRequest& request) {
  char line[kEggFrameLineCapacity];
  const int length = formatEggFrameLine(line, hit.frame, hit.pid, ShinyTest(hit.pid, request.egg.tid, request.egg.sid));
  ConsoleMoment m{};
  eggHitMoment(hit, request.year, m);
  return std::fprintf(out, "0x%08X\t", hit.seed) >= 0 &&
         printCp932(out, std::string_view(line, static_cast<std::size_t>(length))) &&
         std::fprintf(out, "\t%04d-%02d-%02d %02d:%02d:%02d\tdelay %d\n", m.year, m.month, m.day, m.hour, m.minute,
                      m.second, m.delay) >= 0;
}

}  // namespace

int cmdEggSearch(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  const std::vector<OptionSpec> specs = {
      {"--year", true},      {"--tid", true},       {"--sid", true},       {"--marriage", false},
      {"--shiny-only", false}, {"--nature", true},  {"--gender", true},    {"--ability", true},
      {"--max-frame", true}, {"--delay-min", true}, {"--delay-max", true}, {"--hours", true},
      {"--limit", true},     {"--threads", true},
  };
  if (int rc = parseArgs(argc, argv, first, specs, 0, args, io)) return rc;
  if (args.help) {
    std::fputs(kHelpHead, io.out);
    std::fputs(kEggListOptionsHelp, io.out);
    std::fputs(kHelpTail, io.out);
    return kExitOk;
  }

  EggSearchRequest request{};
  request.delayMin = kExplainDelayMin;
  request.delayMax = kExplainDelayMax;
  request.hourMask = 0xFFFFFFu;
  request.egg.frameCount = kDefaultMaxFrame;
  int64_t n = 0;
  const std::string* yearText = findOption(args, "--year");
  if (!yearText) return cliError(io, "--year is required (2000..2099)");
  if (!parseIntStrict(*yearText, kClockFirstYear, kClockLastYear, n)) {
    return cliError(io, "--year '%s': expected a year 2000..2099", yearText->c_str());
  }
  request.year = static_cast<int32_t>(n);
  if (int rc = parseEggListOptions(args, request.egg, io)) return rc;
  if (const std::string* t = findOption(args, "--max-frame")) {
    if (!parseIntStrict(*t, 1, 999999, n)) return cliError(io, "--max-frame '%s': expected 1..999999", t->c_str());
    request.egg.frameCount = static_cast<int32_t>(n);
  }
  if (int rc = parseDelayWindow(args, request.delayMin, request.delayMax, io)) return rc;
  if (const std::string* t = findOption(args, "--hours")) {
    if (!parseHours(*t, request.hourMask)) {
      return cliError(io, "--hours '%s': expected hours 0..23 and ranges lo-hi separated by commas, e.g. 7,20-23",
                      t->c_str());
    }
  }
  int64_t limit = kDefaultHitLimit;
  if (const std::string* t = findOption(args, "--limit")) {
    if (!parseIntStrict(*t, 0, kAllHitsCap, limit)) {
      return cliError(io, "--limit '%s': expected a count 0..%d (0 = all)", t->c_str(), kAllHitsCap);
    }
  }
  int64_t threads = std::thread::hardware_concurrency();
  if (const std::string* t = findOption(args, "--threads")) {
    if (!parseIntStrict(*t, 1, kEggSearchMaxThreads, threads)) {
      return cliError(io, "--threads '%s': expected 1..%d", t->c_str(), kEggSearchMaxThreads);
    }
  }
  threads = threads < 1 ? 1 : threads > kEggSearchMaxThreads ? kEggSearchMaxThreads : threads;

  // With --limit 0 one hit more than the cap tells that the cap cut the list.
  const int32_t capacity = limit == 0 ? kAllHitsCap + 1 : static_cast<int32_t>(limit);
  std::unique_ptr<EggHit[]> hits(new (std::nothrow) EggHit[static_cast<std::size_t>(capacity)]);
  if (!hits) return cliFailure(io, "no memory for %d hits: set a smaller --limit", capacity);
  const EggSearchResult result =
      isTerminal(io.err) ? searchWithProgress(request, hits.get(), capacity, static_cast<int32_t>(threads), io.err)
                         : runEggSearch(request, hits.get(), capacity,
                                        EggSearchControl{static_cast<int32_t>(threads), nullptr, nullptr});
  if (result.status == EggSearchStatus::kNoThreads) {
    return cliFailure(io, "the system refused a thread for the search: try a smaller --threads");
  }
  if (result.count == 0) {
    std::fprintf(io.out, "no hit: no frame below %d of the %lld seeds of %d is kept\n", request.egg.frameCount,
                 static_cast<long long>(eggSearchSeedCount(request)), request.year);
    return kExitNotFound;
  }
  const int32_t shown = result.count > kAllHitsCap ? kAllHitsCap : result.count;
  for (int32_t i = 0; i < shown; ++i) {
    if (!printHit(io.out, hits[i], request)) {
      // Reported here, where errno still tells why; the stream then holds
      // nothing more for the check of standard output at exit to report.
      const int error = errno;
      std::clearerr(io.out);
      return cliFailure(io, "writing standard output: %s", std::strerror(error));
    }
  }
  if (result.count > shown) {
    std::fprintf(io.err, "quillmar-cli: note: more than %d hits; the first %d are shown: narrow the search\n",
                 kAllHitsCap, kAllHitsCap);
  }
  return kExitOk;
}
