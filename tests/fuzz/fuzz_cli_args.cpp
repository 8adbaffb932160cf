// Arbitrary argument vectors for every quillmar-cli subcommand. Whatever the
// arguments: the exit code is 0, 1 or 2 and nothing crashes; exit 2 always
// comes with "quillmar-cli: error: ..." on stderr and nothing on stdout; exit 1
// always says something.
//
// The input is split at NUL bytes into arguments; its first byte picks the
// subcommand (or leaves the first argument as it is). Two things are steered
// so that every run stays safe and fast: every file an `eggs --out` could name
// is replaced by a place in this target's own temporary folder, and inputs that
// would take long (more than kMaxFrames egg frames or egg IV n, more than
// kMaxCombinations IV combinations with --all, a seed-time limit of 0 or above
// kMaxMoments, a year search of eggs, egg IVs or creatures over more than one
// delay, more than kMaxFrames creature advances, a
// calibration table over 9 x 41 cells, a coin matched over a table past the
// first 1,000 outputs) are cut down or skipped. The timer's countdown (--run)
// would wait on the real clock: every "--run" is taken out.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "cli/args.h"
#include "cli/cli.h"

namespace {

constexpr int64_t kMaxFrames = 700;
constexpr int64_t kMaxCombinations = 64;
constexpr int64_t kMaxMoments = 64;
constexpr std::size_t kMaxArguments = 16;

const char* const kSubcommands[] = {"pid",     "seeds",   "eggs",    "seed-time", "time-seed",
                                    "--help",  "species", "measure", "egg-search", "calibrate",
                                    "timer",   "flips",   "calls",   "egg-ivs",   "egg-iv-search",
                                    "pitches", "wild",    "wild-search", "ids",    "id-search"};
constexpr int kSubcommandCount = 20;
constexpr int kPicks = 22;  // picks 20 and 21 leave the first argument as it is

// The options of each subcommand, as the subcommands declare them.
std::vector<OptionSpec> specsOf(std::string_view command, std::size_t& positionals) {
  positionals = 0;
  if (command == "pid") return {{"--ivs", true}, {"--nature", true}, {"--all", false}};
  if (command == "seeds")
    return {{"--seed", true},        {"--hour", true},      {"--steps", true},    {"--explain", false},
            {"--year", true},        {"--delay-min", true}, {"--delay-max", true}};
  if (command == "species") {
    positionals = 1;
    return {{"--dir", true}};
  }
  if (command == "measure")
    return {{"--base", true}, {"--species", true}, {"--dir", true}, {"--nature", true}, {"--at", true}};
  if (command == "eggs")
    return {{"--seed", true},        {"--frames", true}, {"--tid", true},    {"--sid", true},
            {"--marriage", false},   {"--shiny-only", false}, {"--nature", true}, {"--gender", true},
            {"--ability", true},     {"--everstone", true},   {"--out", true}};
  if (command == "seed-time") {
    positionals = 1;
    return {{"--year", true}, {"--limit", true}};
  }
  if (command == "time-seed") return {{"--at", true}, {"--delay", true}};
  if (command == "calibrate")
    return {{"--at", true},    {"--delay", true}, {"--seconds", true}, {"--delays", true},
            {"--hit", true},   {"--flips", true}, {"--skip", true},    {"--calls", true},
            {"--skips", true}, {"--before-pokerus", false}};
  if (command == "flips" || command == "calls" || command == "pitches") {
    positionals = 1;
    if (command == "flips") return {{"--count", true}, {"--skip", true}};
    if (command == "pitches") return {{"--count", true}, {"--skip", true}, {"--find", true}, {"--skips", true}};
    return {{"--count", true}, {"--skip", true}, {"--before-pokerus", false}, {"--find", true}, {"--skips", true}};
  }
  if (command == "ids") {
    positionals = 1;
    return {{"--at", true}, {"--delay", true}, {"--delays", true}};
  }
  if (command == "id-search")
    return {{"--year", true},      {"--delay-min", true}, {"--delay-max", true},  {"--hours", true},
            {"--limit", true},     {"--threads", true},   {"--tid", true},        {"--sid", true},
            {"--shiny-pid", true}, {"--cute-charm", true}};
  if (command == "wild" || command == "wild-search") {
    positionals = command == "wild" ? 1 : 0;
    if (command == "wild-search")
      return {{"--year", true},         {"--max-advance", true}, {"--delay-min", true},   {"--delay-max", true},
              {"--hours", true},        {"--limit", true},       {"--threads", true},     {"--game", true},
              {"--kind", true},         {"--lead", true},        {"--gender-ratio", true}, {"--levels", true},
              {"--rate", true},         {"--roamer", false},     {"--feebas", true},      {"--tid", true},
              {"--sid", true},          {"--min", true},         {"--max", true},         {"--nature", true},
              {"--shiny-only", false},  {"--ability", true},     {"--gender", true},      {"--slot", true},
              {"--hidden-power", true}, {"--min-power", true},   {"--before-pokerus", false}};
    return {{"--advances", true}, {"--game", true},         {"--kind", true},        {"--lead", true},
            {"--gender-ratio", true}, {"--levels", true},   {"--rate", true},        {"--roamer", false},
            {"--feebas", true},   {"--tid", true},          {"--sid", true},         {"--min", true},
            {"--max", true},      {"--nature", true},       {"--shiny-only", false}, {"--ability", true},
            {"--gender", true},   {"--slot", true},         {"--hidden-power", true}, {"--min-power", true},
            {"--before-pokerus", false}};
  }
  if (command == "timer")
    return {{"--at", true},          {"--delay", true},     {"--delay-calibration", true},
            {"--second-calibration", true}, {"--min-first", true}, {"--run", false}};
  if (command == "egg-search")
    return {{"--year", true},      {"--tid", true},        {"--sid", true},       {"--marriage", false},
            {"--shiny-only", false}, {"--nature", true},   {"--gender", true},    {"--ability", true},
            {"--max-frame", true}, {"--delay-min", true},  {"--delay-max", true}, {"--hours", true},
            {"--limit", true},     {"--threads", true},    {"--everstone", true}};
  const std::vector<OptionSpec> ivOptions = {{"--parent-a", true}, {"--parent-b", true}, {"--game", true},
                                             {"--item-a", true},   {"--item-b", true},   {"--min", true},
                                             {"--max", true}};
  if (command == "egg-ivs") {
    positionals = 1;
    std::vector<OptionSpec> specs = ivOptions;
    specs.push_back({"--frames", true});
    return specs;
  }
  if (command == "egg-iv-search") {
    std::vector<OptionSpec> specs = ivOptions;
    specs.insert(specs.end(), {{"--year", true},      {"--max-frame", true}, {"--delay-min", true},
                               {"--delay-max", true}, {"--hours", true},     {"--limit", true},
                               {"--threads", true}});
    return specs;
  }
  return {};
}

std::string gFolder;  // this target's temporary folder

const std::string& folder() {
  if (gFolder.empty()) {
    char pattern[] = "/tmp/quillmar-fuzz-cli-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    gFolder = pattern;
  }
  return gFolder;
}

// A stand-in for any folder given to --dir: the shipped data, our own folder
// (no data files), or a folder that does not exist.
std::string safeDir(std::string_view given) {
  switch (given.size() % 3) {
    case 0: return QUILLMAR_SOURCE_DIR "/assets";
    case 1: return folder();
    default: return folder() + "/missing";
  }
}

// A safe stand-in for any file name given to --out: standard output, a file in
// our folder, a file in a folder that does not exist, or the folder itself.
std::string safeOut(std::string_view given) {
  switch (given.size() % 4) {
    case 0: return "-";
    case 1: return folder() + "/result.txt";
    case 2: return folder() + "/missing/result.txt";
    default: return folder();
  }
}

// The combinations an --ivs text spans when every IV is "n" or "lo-hi" with
// 0 <= lo <= hi <= 31; -1 when the text is not of that form.
int64_t combinations(std::string_view text) {
  int64_t product = 1;
  for (int i = 0; i < 6; ++i) {
    std::size_t comma = text.find(',');
    if ((i == 5) != (comma == std::string_view::npos)) return -1;
    std::string_view iv = i == 5 ? text : text.substr(0, comma);
    std::size_t dash = iv.find('-');
    int64_t lo = 0;
    int64_t hi = 0;
    if (dash == std::string_view::npos) {
      if (!parseIntStrict(iv, 0, 31, lo)) return -1;
      hi = lo;
    } else if (!parseIntStrict(iv.substr(0, dash), 0, 31, lo) || !parseIntStrict(iv.substr(dash + 1), 0, 31, hi) ||
               lo > hi) {
      return -1;
    }
    product *= hi - lo + 1;
    if (i < 5) text = text.substr(comma + 1);
  }
  return product;
}

[[noreturn]] void fail(const char* what, const std::vector<std::string>& args, int rc, const std::string& out,
                       const std::string& err) {
  std::fprintf(stderr, "fuzz_cli_args: %s (exit %d)\nargs:", what, rc);
  for (const std::string& a : args) std::fprintf(stderr, " [%s]", a.c_str());
  std::fprintf(stderr, "\nstdout: %.200s\nstderr: %.200s\n", out.c_str(), err.c_str());
  std::abort();
}

std::string drain(std::FILE* f, char*& buffer, std::size_t& size) {
  std::fclose(f);
  std::string s(buffer, size);
  std::free(buffer);
  buffer = nullptr;
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<std::string> args;
  const uint8_t pick = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (pick % kPicks < kSubcommandCount) args.emplace_back(kSubcommands[pick % kPicks]);
  while (!rest.empty() && args.size() < kMaxArguments) {
    std::size_t nul = rest.find('\0');
    args.emplace_back(rest.substr(0, nul));
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
  }

  // No countdown: it would run for up to half an hour of real time.
  std::erase(args, std::string("--run"));

  // No file outside our folder is ever named by --out, and --dir only names
  // the shipped data or our folder.
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--out" && i + 1 < args.size()) {
      args[i + 1] = safeOut(args[i + 1]);
      ++i;
    } else if (args[i].rfind("--out=", 0) == 0) {
      args[i] = "--out=" + safeOut(std::string_view(args[i]).substr(6));
    } else if (args[i] == "--dir" && i + 1 < args.size()) {
      args[i + 1] = safeDir(args[i + 1]);
      ++i;
    } else if (args[i].rfind("--dir=", 0) == 0) {
      args[i] = "--dir=" + safeDir(std::string_view(args[i]).substr(6));
    }
  }

  // Parse as the subcommand will; when it will run, keep its work small.
  if (!args.empty()) {
    std::size_t positionals = 0;
    const std::vector<OptionSpec> specs = specsOf(args[0], positionals);
    std::vector<const char*> probeArgv{"quillmar-cli"};
    for (const std::string& a : args) probeArgv.push_back(a.c_str());
    ParsedArgs parsed;
    std::FILE* devNull = std::fopen("/dev/null", "w");
    const bool parses = !specs.empty() && parseArgs(static_cast<int>(probeArgv.size()), probeArgv.data(), 2, specs,
                                                    positionals, parsed, CliIo{devNull, devNull}) == kExitOk;
    std::fclose(devNull);
    if (parses && !parsed.help) {
      int64_t n = 0;
      if (args[0] == "eggs") {
        const std::string* frames = findOption(parsed, "--frames");
        if (frames == nullptr || (parseIntStrict(*frames, 0, 999999, n) && n > kMaxFrames)) {
          args.push_back("--frames=" + std::to_string(frames ? n % (kMaxFrames + 1) : size % (kMaxFrames + 1)));
        }
        if (findOption(parsed, "--out") == nullptr) args.push_back("--out=" + folder() + "/result.txt");
      } else if (args[0] == "pid" && hasFlag(parsed, "--all")) {
        const std::string* ivs = findOption(parsed, "--ivs");
        int64_t c = ivs ? combinations(*ivs) : -1;
        if (ivs != nullptr && (c < 0 || c > kMaxCombinations)) return 0;
      } else if (args[0] == "wild") {
        const std::string* advances = findOption(parsed, "--advances");
        if (advances != nullptr && parseIntStrict(*advances, 1, 1000000, n) && n > kMaxFrames) {
          args.push_back("--advances=" + std::to_string(1 + n % kMaxFrames));
        }
      } else if (args[0] == "egg-ivs") {
        const std::string* frames = findOption(parsed, "--frames");
        if (frames == nullptr || (parseIntStrict(*frames, 1, 9999999, n) && n > kMaxFrames)) {
          args.push_back("--frames=" + std::to_string(1 + (frames ? n : int64_t(size)) % kMaxFrames));
        }
      } else if (args[0] == "ids") {
        // Every delay of --delays A-B is a line: at most kMaxFrames of them.
        const std::string* delays = findOption(parsed, "--delays");
        if (delays != nullptr) {
          const std::size_t dash = delays->find('-');
          int64_t low = 0;
          if (dash != std::string::npos && parseIntStrict(std::string_view(*delays).substr(0, dash), 0, 65535, low)) {
            args.push_back("--delays=" + std::to_string(low) + "-" + std::to_string(std::min<int64_t>(low + kMaxFrames, 65535)));
          }
        }
      } else if (args[0] == "egg-search" || args[0] == "egg-iv-search" || args[0] == "wild-search" ||
                 args[0] == "id-search") {
        // One delay, one hour unless the input names its hours, a few hundred frames.
        int64_t low = 300;
        const std::string* delayMin = findOption(parsed, "--delay-min");
        const std::string* delayMax = findOption(parsed, "--delay-max");
        if ((delayMin == nullptr || parseIntStrict(*delayMin, 0, 65535, low)) &&
            (delayMax == nullptr || parseIntStrict(*delayMax, 0, 65535, n))) {
          args.push_back("--delay-max=" + std::to_string(low));
        }
        if (findOption(parsed, "--hours") == nullptr) args.push_back("--hours=" + std::to_string(size % 24));
        const char* frameOption = args[0] == "wild-search" ? "--max-advance" : "--max-frame";
        const std::string* frames = findOption(parsed, frameOption);
        if (frames != nullptr && parseIntStrict(*frames, 1, 999999, n) && n > kMaxFrames) {
          args.push_back(std::string(frameOption) + "=" + std::to_string(1 + n % kMaxFrames));
        }
      } else if (args[0] == "calibrate") {
        // A table of at most 9 x 41 cells.
        const std::string* seconds = findOption(parsed, "--seconds");
        const std::string* delays = findOption(parsed, "--delays");
        if (seconds != nullptr && parseIntStrict(*seconds, 5, 600, n)) {
          args.push_back("--seconds=" + std::to_string(n % 5));
        }
        if (delays != nullptr && parseIntStrict(*delays, 21, 1000, n)) {
          args.push_back("--delays=" + std::to_string(n % 21));
        }
        // Each cell's whole twister, twisted once per 624 outputs skipped.
        const std::string* skip = findOption(parsed, "--skip");
        if (skip != nullptr && parseIntStrict(*skip, 1001, 100000, n)) {
          args.push_back("--skip=" + std::to_string(n % 1001));
        }
      } else if (args[0] == "seed-time") {
        const std::string* limit = findOption(parsed, "--limit");
        if (limit != nullptr && parseIntStrict(*limit, 0, 1000000, n) && (n == 0 || n > kMaxMoments)) return 0;
      }
    }
  }

  std::vector<const char*> argv{"quillmar-cli"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  char* outBuffer = nullptr;
  char* errBuffer = nullptr;
  std::size_t outSize = 0;
  std::size_t errSize = 0;
  std::FILE* out = open_memstream(&outBuffer, &outSize);
  std::FILE* err = open_memstream(&errBuffer, &errSize);
  if (out == nullptr || err == nullptr) std::abort();
  // "--hit -" reads standard input: an input of its own, never the fuzzer's.
  std::FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (in == nullptr) std::abort();
  const int rc = runCli(static_cast<int>(argv.size()), argv.data(), in, out, err);
  std::fclose(in);
  const std::string outText = drain(out, outBuffer, outSize);
  const std::string errText = drain(err, errBuffer, errSize);

  if (rc != 0 && rc != 1 && rc != 2) fail("exit code other than 0, 1, 2", args, rc, outText, errText);
  if (rc == 2) {
    if (errText.rfind("quillmar-cli: error: ", 0) != 0 || errText.size() <= 22 || errText.back() != '\n')
      fail("exit 2 without an error message", args, rc, outText, errText);
    if (!outText.empty()) fail("exit 2 with output on stdout", args, rc, outText, errText);
  }
  if (rc == 1 && outText.empty() && errText.empty()) fail("exit 1 without a word", args, rc, outText, errText);
  // flips, calls and pitches without --find: one line of 1..64 letters of the command's own.
  const bool sequence = !args.empty() && (args[0] == "flips" || args[0] == "calls" || args[0] == "pitches");
  const bool finds = outText.find("\tnow ") != std::string::npos;
  if (rc == 0 && sequence && !finds && outText.rfind("usage:", 0) != 0) {
    const char* letters = args[0] == "flips" ? "HT" : args[0] == "calls" ? "EKP" : "LMH";
    if (outText.size() < 2 || outText.size() > 65 || outText.back() != '\n' ||
        outText.find_first_not_of(letters) != outText.size() - 1) {
      fail("flips, calls or pitches output not one line of its letters", args, rc, outText, errText);
    }
  }
  // egg-search: every line is SEED, LINE, moment and delay, tab-separated.
  if (rc == 0 && !args.empty() && args[0] == "egg-search" && outText.rfind("usage:", 0) != 0) {
    for (std::size_t at = 0; at < outText.size();) {
      const std::size_t end = outText.find('\n', at);
      if (end == std::string::npos) fail("egg-search line without its end", args, rc, outText, errText);
      const std::string_view line(outText.data() + at, end - at);
      std::size_t tabs = 0;
      for (char c : line) tabs += c == '\t';
      if (line.rfind("0x", 0) != 0 || tabs != 3 || line.find("\tdelay ") == std::string_view::npos) {
        fail("egg-search line not SEED<TAB>LINE<TAB>moment<TAB>delay", args, rc, outText, errText);
      }
      at = end + 1;
    }
  }
  // egg-ivs: every line is N and six IVs 0..31 (A or B after an inherited
  // one); egg-iv-search: SEED, N, the IVs, the moment and the delay.
  if (rc == 0 && !args.empty() && (args[0] == "egg-ivs" || args[0] == "egg-iv-search") &&
      outText.rfind("usage:", 0) != 0) {
    const bool search = args[0] == "egg-iv-search";
    for (std::size_t at = 0; at < outText.size();) {
      const std::size_t end = outText.find('\n', at);
      if (end == std::string::npos) fail("IV line without its end", args, rc, outText, errText);
      const std::string line = outText.substr(at, end - at);
      std::size_t p = search ? line.find('\t') + 1 : 0;
      bool ok = !search || (line.rfind("0x", 0) == 0 && line.find("\tdelay ") != std::string::npos);
      int n = -1;
      int used = 0;
      ok = ok && std::sscanf(line.c_str() + p, "%d%n", &n, &used) == 1 && n >= 0 && line[p + std::size_t(used)] == '\t';
      p += std::size_t(used) + 1;
      for (int i = 0; ok && i < 6; ++i, ++p) {
        unsigned iv = 99;
        ok = std::sscanf(line.c_str() + p, "%2u%n", &iv, &used) == 1 && iv <= 31;
        p += std::size_t(used);
        if (ok && p < line.size() && (line[p] == 'A' || line[p] == 'B')) ++p;
        ok = ok && (p < line.size() ? line[p] : '\0') == (i < 5 ? ' ' : search ? '\t' : '\0');
      }
      if (!ok) fail(search ? "egg-iv-search line not SEED N IVS moment delay" : "egg-ivs line not N IVS", args, rc,
                    outText, errText);
      at = end + 1;
    }
  }
  return 0;
}
