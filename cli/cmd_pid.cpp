#include <cstdio>

#include "cli/commands.h"
#include "core/pid_search.h"
#include "core/rng.h"
#include "quillmar/texts.h"

namespace {

const char kHelp[] =
    "usage: quillmar-cli pid --ivs H,A,B,S,C,D --nature N [--all]\n"
    "\n"
    "Step 2: search the generator for every PID of nature N whose IV draws give the\n"
    "six IVs, with the generator state that follows the IV draws (step 3's current seed).\n"
    "\n"
    "  --ivs H,A,B,S,C,D  the six IVs in the order HP, Attack, Defense, Speed,\n"
    "                     Sp. Attack, Sp. Defense; each a number 0..31 or a range lo-hi\n"
    "  --nature N         the nature: its number 0..24 or its Japanese name\n"
    "  --all              with ranges, list every candidate of every combination\n"
    "                     instead of stopping at the 16th as the window does\n"
    "\n"
    "All six IVs fixed: every candidate (at most 6). With ranges: the combinations in\n"
    "the order H (outermost) .. D (innermost), stopping at 16 candidates.\n"
    "Each line: the window's text \"0x%08X 特性%d 性別値%d\", a TAB, the current seed.\n"
    "\"候補なし\" when nothing is found.\n";

// One IV: "n" or "lo-hi", 0..31, lo <= hi.
bool parseIv(std::string_view text, IvRange& range) {
  int64_t lo = 0;
  int64_t hi = 0;
  std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) {
    if (!parseIntStrict(text, 0, 31, lo)) return false;
    hi = lo;
  } else {
    if (!parseIntStrict(text.substr(0, dash), 0, 31, lo)) return false;
    if (!parseIntStrict(text.substr(dash + 1), 0, 31, hi)) return false;
    if (lo > hi) return false;
  }
  range = IvRange{static_cast<int32_t>(lo), static_cast<int32_t>(hi)};
  return true;
}

bool parseIvs(std::string_view text, IvRange (&ranges)[kStatCount]) {
  std::string_view fields[kStatCount];
  if (!splitSixFields(text, fields)) return false;
  for (int i = 0; i < kStatCount; ++i)
    if (!parseIv(fields[i], ranges[i])) return false;
  return true;
}

void printCandidates(const PidSteps& pids, std::FILE* out) {
  for (int i = 0; i < pids.pidCandidateCount; ++i) {
    const PidCandidate& c = pids.pidCandidates[i];
    char line[kTextBufferBytes];
    std::snprintf(line, sizeof line, texts::kTextCandidateLine, c.pid, AbilitySlot(c.pid), GenderValue(c.pid));
    printCp932(out, line);
    std::fprintf(out, "\t0x%08X\n", c.currentSeed);
  }
}

}  // namespace

int cmdPid(int argc, const char* const* argv, int first, const CliIo& io) {
  ParsedArgs args;
  if (int rc = parseArgs(argc, argv, first, {{"--ivs", true}, {"--nature", true}, {"--all", false}}, 0, args, io))
    return rc;
  if (args.help) {
    std::fputs(kHelp, io.out);
    return kExitOk;
  }
  const std::string* ivs = findOption(args, "--ivs");
  const std::string* natureText = findOption(args, "--nature");
  if (!ivs) return cliError(io, "--ivs is required (six IVs H,A,B,S,C,D)");
  if (!natureText) return cliError(io, "--nature is required (0..24 or a nature name)");

  MeasureState measure{};
  PidSteps pids{};
  if (!parseIvs(*ivs, measure.ivRanges)) {
    return cliError(io, "--ivs '%s': expected six comma-separated IVs, each 0..31 or lo-hi", ivs->c_str());
  }
  int nature = 0;
  if (!parseNatureArg(*natureText, nature)) {
    return cliError(io, "--nature '%s': expected a nature number 0..24 or a nature name", natureText->c_str());
  }
  measure.natureIndex = nature;
  measure.measurementCount = 1;  // as if one measurement had been taken

  bool allFixed = true;
  for (const IvRange& r : measure.ivRanges) allFixed = allFixed && isFixed(r);

  bool any = false;
  if (hasFlag(args, "--all") && !allFixed) {
    int32_t iv[kStatCount];
    for (bool more = firstIvCombination(measure.ivRanges, iv); more; more = nextIvCombination(measure.ivRanges, iv)) {
      pids.pidCandidateCount = 0;
      scanIvWords(pids, firstIvWord(iv[0], iv[1], iv[2]), secondIvWord(iv[3], iv[4], iv[5]), nature, 0);
      printCandidates(pids, io.out);
      any = any || pids.pidCandidateCount > 0;
    }
  } else {
    searchPidCandidates(pids, measure);
    printCandidates(pids, io.out);
    any = pids.pidCandidateCount > 0;
  }
  if (!any) {
    printCp932(io.out, texts::kTextNoCandidate);
    std::fputc('\n', io.out);
  }
  return kExitOk;
}
