#include "cli/egg_options.h"

#include "data/tables.h"

const char kEggListOptionsHelp[] =
    "  --tid N       the first trainer ID, 0..65535 (default 0)\n"
    "  --sid N       the second trainer ID, 0..65535 (default 0)\n"
    "  --marriage    international marriage: up to four rerolls towards a shiny PID\n"
    "  --shiny-only  keep only shiny frames (final PID, the same test as the ★ column)\n"
    "  --nature N    keep only this nature: its number 0..24 or its Japanese name\n"
    "  --gender K    keep only what gender option K passes: 1..8 or its text\n"
    "                (1 ♂(1/2), 2 ♀(1/2), 3 ♂(7/8), 4 ♀(1/8), 5 ♂(3/4), 6 ♀(1/4),\n"
    "                7 ♂(1/4), 8 ♀(3/4))\n"
    "  --ability K   keep only ability slot K: 1 or 2 (or 特性1, 特性2)\n"
    "  --everstone N a parent's Everstone passes nature N (0..24 or its name): each\n"
    "                frame's PID is the first output from the frame's own on with\n"
    "                that nature (not 0; at most 2401 taken, the last kept), then\n"
    "                the marriage's rerolls, which may lose the nature again\n";

namespace {

// An option 1..(count - 1) of a filter list (0, "指定しない", is the default).
bool parseFilterOption(std::string_view text, const char* const* options, int count, int& choice) {
  return parseListOptionArg(text, options, 1, count - 1, choice);
}

}  // namespace

int parseEggListOptions(const ParsedArgs& args, EggListRequest& request, const CliIo& io) {
  int64_t n = 0;
  if (const std::string* t = findOption(args, "--tid")) {
    if (!parseIntStrict(*t, 0, 65535, n)) return cliError(io, "--tid '%s': expected a number 0..65535", t->c_str());
    request.tid = static_cast<int32_t>(n);
  }
  if (const std::string* t = findOption(args, "--sid")) {
    if (!parseIntStrict(*t, 0, 65535, n)) return cliError(io, "--sid '%s': expected a number 0..65535", t->c_str());
    request.sid = static_cast<int32_t>(n);
  }
  request.internationalMarriage = hasFlag(args, "--marriage");
  request.shinyOnly = hasFlag(args, "--shiny-only");
  if (const std::string* t = findOption(args, "--nature")) {
    int nature = 0;
    if (!parseNatureArg(*t, nature)) {
      return cliError(io, "--nature '%s': expected a nature number 0..24 or a nature name", t->c_str());
    }
    request.natureChoice = nature + 1;  // list entry k keeps NatureIndex k - 1
  }
  if (const std::string* t = findOption(args, "--gender")) {
    if (!parseFilterOption(*t, kGenderFilterOptions, kGenderFilterOptionCount, request.genderChoice)) {
      return cliError(io, "--gender '%s': expected an option 1..8 or its text, e.g. ♂(1/2)", t->c_str());
    }
  }
  if (const std::string* t = findOption(args, "--everstone")) {
    int nature = 0;
    if (!parseNatureArg(*t, nature)) {
      return cliError(io, "--everstone '%s': expected a nature number 0..24 or a nature name", t->c_str());
    }
    request.everstoneNature = nature;
  }
  if (const std::string* t = findOption(args, "--ability")) {
    if (!parseFilterOption(*t, kAbilityFilterOptions, kAbilityFilterOptionCount, request.abilityChoice)) {
      return cliError(io, "--ability '%s': expected 1 or 2", t->c_str());
    }
  }
  return kExitOk;
}
