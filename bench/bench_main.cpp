// Entry point of the benchmarks: the usual console table, followed by each
// measured figure as a ratio against its reference measured in the same run
// (medians when --benchmark_repetitions is given).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct Comparison {
  const char* subject;
  const char* reference;
  const char* what;
  // Lower is better for the subject: the ratio printed is reference / subject
  // ("x faster") when `asSpeedup`, subject / reference ("x the reference") otherwise.
  bool asSpeedup;
  double target;  // the speedup to reach, or the ratio not to exceed
};

const Comparison kComparisons[] = {
    {"BM_FixedSearch", "BM_FixedSearch_Straightforward", "fixed search vs 2 x 65,536 scan", true, 100.0},
    {"BM_RangeSearch16", "BM_RangeSearch16_Straightforward", "range search to 16 vs scan", true, 1.0},
    {"BM_AllCandidates", "BM_AllCandidates_Straightforward", "--all over 1,024 combinations vs scan", true, 1.0},
    {"BM_EggList999999", "BM_EggList999999_Floor", "egg list 999,999 frames vs single write", false, 2.0},
    {"BM_EggList999999", "BM_EggList999999_Straightforward", "egg list vs straightforward writer", true, 1.0},
    {"BM_EggSearchYear", "BM_EggSearchYear_Straightforward", "egg search, full year vs straightforward", true, 50.0},
    {"BM_CoinWidest_OneThread", "BM_CoinWidest_FullTwister", "flips, widest table, 1 thread vs full twister", true, 1.0},
    {"BM_CoinWidest", "BM_CoinWidest_FullTwister", "flips, widest table, 2 threads vs full twister", true, 1.0},
    {"BM_EggIvSearchYear", "BM_EggIvSearchYear_Straightforward", "egg IV search, full year vs straightforward", true,
     50.0},
    {"BM_WildStationarySync100000", "BM_WildStationarySync100000_Straightforward",
     "wild list, stationary Synchronize vs per advance", true, 1.0},
    {"BM_WildGrassCuteCharm100000", "BM_WildGrassCuteCharm100000_Straightforward",
     "wild list, grass Cute Charm vs per advance", true, 1.0},
    {"BM_WildStationarySync100000", "BM_WildStationarySync100000_ModelStepped",
     "wild list, stationary Synchronize vs model", true, 1.0},
    {"BM_WildGrassCuteCharm100000", "BM_WildGrassCuteCharm100000_ModelStepped", "wild list, grass Cute Charm vs model",
     true, 1.0},
    {"BM_WildSearchYear_ForwardShiny", "BM_WildSearchYear_ForwardShiny_Straightforward",
     "creature search, shiny + nature, N 100, vs scan", true, 50.0},
    {"BM_WildSearchYear_IvFirst6V", "BM_WildSearchYear_IvFirst6V_Straightforward",
     "creature search, 6 IVs + nature, N 1000, vs scan", true, 50.0},
    {"BM_WildSearchSample_ForwardWide", "BM_WildSearchSample_ForwardWide_Straightforward",
     "creature search, wide IVs, shared draws vs scan", true, 1.0},
    {"BM_IdSearchYear_Tid", "BM_IdSearchYear_Straightforward", "ID search, full year vs full twister", true, 50.0},
    {"BM_EggSearchYear_Everstone", "BM_EggSearchYear", "egg search with an Everstone vs without", false, 2.0},
};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") medians_[name] = seconds;
      } else {
        singles_[name].push_back(seconds);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    bool header = false;
    for (const Comparison& c : kComparisons) {
      double subject = 0;
      double reference = 0;
      if (!timeOf(c.subject, subject) || !timeOf(c.reference, reference) || subject <= 0 || reference <= 0) continue;
      if (!header) {
        std::printf("\nRatios against the reference in this run (%s real time):\n",
                    medians_.empty() ? "single-run" : "median");
        header = true;
      }
      const double ratio = c.asSpeedup ? reference / subject : subject / reference;
      const bool met = c.asSpeedup ? ratio >= c.target : ratio <= c.target;
      std::printf("  %-45s %10.2f%s  (target %s %.0f%s: %s)\n", c.what, ratio, c.asSpeedup ? "x faster" : "x",
                  c.asSpeedup ? ">=" : "<=", c.target, c.asSpeedup ? "x faster" : "x", met ? "met" : "NOT met");
    }
    std::fflush(stdout);
  }

 private:
  bool timeOf(const std::string& name, double& seconds) const {
    if (auto it = medians_.find(name); it != medians_.end()) {
      seconds = it->second;
      return true;
    }
    auto it = singles_.find(name);
    if (it == singles_.end() || it->second.empty()) return false;
    seconds = it->second.front();
    return true;
  }

  std::map<std::string, double> medians_;
  std::map<std::string, std::vector<double>> singles_;
};

// Colours only on a terminal and unless --benchmark_color=false (or no) is given.
bool wantColour(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--benchmark_color=false" || arg == "--benchmark_color=no") return false;
  }
  return isatty(fileno(stdout)) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool colour = wantColour(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(colour ? benchmark::ConsoleReporter::OO_ColorTabular : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
