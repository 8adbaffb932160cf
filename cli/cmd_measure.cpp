#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/species_source.h"
#include "core/measurement.h"
#include "data/tables.h"

namespace {

const char kHelp[] =
    "usage: quillmar-cli measure (--base H,A,B,S,C,D | --species NAME [--dir DIR])\n"
    "                            --nature N --at LEVEL:h,a,b,s,c,d [--at ...]\n"
    "\n"
    "Step 1: narrows the six IVs from the stats shown at one or more levels.\n"
    "\n"
    "  --base H,A,B,S,C,D      the species' six base stats, each 1..255, in the order\n"
    "                          HP, Attack, Defense, Speed, Sp. Attack, Sp. Defense\n"
    "  --species NAME          take the base stats from DIR/pokemon.dat instead\n"
    "  --dir DIR               the folder holding pokemon.dat (default: working directory)\n"
    "  --nature N              the nature: its number 0..24 or its Japanese name\n"
    "  --at LEVEL:h,a,b,s,c,d  one measurement: the level (1..100) and the six stats\n"
    "                          shown (1..999) in the same order; repeat it for every\n"
    "                          further level, in the order taken. A stat whose IV an\n"
    "                          earlier measurement fixed is ignored, as in the window,\n"
    "                          and may be written '-'. Like the window, only the first\n"
    "                          20 measurements count.\n"
    "\n"
    "Prints six lines \"LABEL RANGE LEVEL\": the stat label H..D, the IVs still\n"
    "possible (\"n\" when fixed, else \"lo-hi\") and the narrowing level, the lowest\n"
    "level at which a further measurement tells the open IVs apart ('-' for none).\n"
    "Example: --base 45,49,49,45,65,65 --nature 0 --at 5:20,10,10,10,11,11 prints\n"
    "\"H 10-29 6\" first.\n";

constexpr int32_t kNotTyped = -1;  // a '-' in --at

bool parseBase(std::string_view text, StatBlock& base) {
  std::string_view fields[kStatCount];
  if (!splitSixFields(text, fields)) return false;
  for (int i = 0; i < kStatCount; ++i) {
    int64_t v = 0;
    if (!parseIntStrict(fields[i], 1, 255, v)) return false;
    base[i] = static_cast<int32_t>(v);
  }
  return true;
}

struct Measurement {
  int32_t level;
  StatBlock stats;  // kNotTyped where '-' was given
};

bool parseMeasurement(std::string_view text, Measurement& m) {
  std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  int64_t level = 0;
  if (!parseIntStrict(text.substr(0, colon), 1, 100, level)) return false;
  m.level = static_cast<int32_t>(level);
  std::string_view fields[kStatCount];
  if (!splitSixFields(text.substr(colon + 1), fields)) return false;
  for (int i = 0; i < kStatCount; ++i) {
    int64_t v = 0;
    if (fields[i] == "-") {
      m.stats[i] = kNotTyped;
    } else if (parseIntStrict(fields[i], 1, 999, v)) {
      m.stats[i] = static_cast<int32_t>(v);
    } else {
      return false;
    }
  }
  return true;
}

void printRanges(const MeasureState& measure, std::FILE* out) {
  for (int i = 0; i < kStatCount; ++i) {
    const IvRange& r = measure.ivRanges[i];
    std::fprintf(out, "%s ", kStatLabels[i]);
    if (isFixed(r)) {
      std::fprintf(out, "%d ", r.low);
    } else {
      std::fprintf(out, "%d-%d ", r.low, r.high);
    }
    if (measure.narrowLevels[i] == 0) {
      std::fputs("-\n", out);
    } else {
      std::fprintf(out, "%d\n", measure.narrowLevels[i]);
    }
  }
}

}  // namespace

int cmdMeasure(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first,
                         {{"--base", true}, {"--species", true}, {"--dir", true}, {"--nature", true}, {"--at", true}},
                         0, args, io))
    return rc;
  if (args.help) {
    std::fputs(kHelp, io.out);
    return kExitOk;
  }
  const std::string* baseText = findOption(args, "--base");
  const std::string* speciesName = findOption(args, "--species");
  const std::string* natureText = findOption(args, "--nature");
  if (baseText && speciesName) return cliError(io, "give either --base or --species, not both");
  if (!baseText && !speciesName) return cliError(io, "--base H,A,B,S,C,D or --species NAME is required");
  if (!natureText) return cliError(io, "--nature is required (0..24 or a nature name)");

  std::vector<Measurement> measurements;
  for (const auto& [name, value] : args.options) {
    if (name != "--at") continue;
    Measurement m{};
    if (!parseMeasurement(value, m)) {
      return cliError(io, "--at '%s': expected LEVEL:h,a,b,s,c,d with a level 1..100 and stats 1..999 or '-'",
                      value.c_str());
    }
    measurements.push_back(m);
  }
  if (measurements.empty()) return cliError(io, "at least one --at LEVEL:h,a,b,s,c,d is required");

  NatureTable natures{};
  buildNatureTable(natures);
  MeasureState measure{};
  PidSteps pids{};
  startStepOne(measure, pids);

  StatBlock base{};
  if (baseText) {
    if (!parseBase(*baseText, base)) {
      return cliError(io, "--base '%s': expected six comma-separated base stats, each 1..255", baseText->c_str());
    }
  } else if (int rc = lookUpSpecies(findOption(args, "--dir"), *speciesName, base, io)) {
    return rc;
  }
  int nature = 0;
  if (!parseNatureArg(*natureText, nature)) {
    return cliError(io, "--nature '%s': expected a nature number 0..24 or a nature name", natureText->c_str());
  }

  for (std::size_t k = 0; k < measurements.size(); ++k) {
    const Measurement& m = measurements[k];
    // A '-' stands only for a stat that the window would not read.
    for (int i = 0; i < kStatCount; ++i) {
      bool fixed = k > 0 && isFixed(measure.ivRanges[i]);
      if (m.stats[i] == kNotTyped && !fixed && k < static_cast<std::size_t>(kMaxMeasurements)) {
        return cliError(io, "--at measurement %d: stat %s is not fixed yet, give its value", static_cast<int>(k + 1),
                        kStatLabels[i]);
      }
    }
    if (k == 0) {
      takeFirstMeasurement(measure, natures, base, nature, m.level, m.stats);
    } else {
      takeNextMeasurement(measure, natures, m.level, m.stats);  // beyond the 20th: ignored, as in the window
    }
  }
  printRanges(measure, io.out);
  return kExitOk;
}
