#include "cli/wild_options.h"

#include <string>
#include <string_view>

#include "cli/egg_iv_options.h"
#include "data/tables.h"

namespace {

const char* const kKindNames[kWildKindCount] = {"gift", "static", "grass", "surf", "old-rod", "good-rod", "super-rod"};

// "LO-HI" or one number, within lo..hi.
bool parseSpan(std::string_view text, int64_t lo, int64_t hi, int64_t& low, int64_t& high) {
  const std::size_t dash = text.find('-', 1);
  if (dash == std::string_view::npos) {
    if (!parseIntStrict(text, lo, hi, low)) return false;
    high = low;
    return true;
  }
  return parseIntStrict(text.substr(0, dash), lo, hi, low) && parseIntStrict(text.substr(dash + 1), lo, hi, high) &&
         low <= high;
}

// Every value of every occurrence of `name`, each a comma-separated list, as
// bits of a mask; false (with `bad` the entry) at the first entry `read`
// refuses.
template <typename Read>
bool readMask(const ParsedArgs& args, std::string_view name, Read read, uint32_t& mask, std::string& bad) {
  for (const auto& [option, value] : args.options) {
    if (option != name) continue;
    std::string_view rest = value;
    while (true) {
      const std::size_t comma = rest.find(',');
      const std::string_view entry = rest.substr(0, comma);
      int k = 0;
      if (!read(entry, k)) {
        bad = std::string(entry);
        return false;
      }
      mask |= 1u << k;
      if (comma == std::string_view::npos) break;
      rest = rest.substr(comma + 1);
    }
  }
  return true;
}

int parseLead(std::string_view text, WildEncounter& e, const CliIo& io) {
  if (text == "none") return kExitOk;
  if (text == "cute:M" || text == "cute:m") {
    e.lead = WildLead::kCuteMale;
    return kExitOk;
  }
  if (text == "cute:F" || text == "cute:f") {
    e.lead = WildLead::kCuteFemale;
    return kExitOk;
  }
  int nature = 0;
  if (text.substr(0, 5) == "sync:" && parseNatureArg(text.substr(5), nature)) {
    e.lead = WildLead::kSync;
    e.leadNature = nature;
    return kExitOk;
  }
  return cliError(io, "--lead '%s': expected sync:NATURE (0..24 or its name), cute:M or cute:F",
                  std::string(text).c_str());
}

bool isRodKind(WildKind kind) {
  return kind == WildKind::kOldRod || kind == WildKind::kGoodRod || kind == WildKind::kSuperRod;
}

}  // namespace

const char kWildOptionsHelp[] =
    "  --game G          dppt or hgss (required): how a range of n is drawn, DPPt\n"
    "                    draw / (0xFFFF / n + 1), HGSS draw % n\n"
    "  --kind K          gift, static (stationary and scripted battles), grass\n"
    "                    (Sweet Scent or Honey from the bag), surf, old-rod,\n"
    "                    good-rod or super-rod (required)\n"
    "  --lead L          the party's lead: sync:NATURE (Synchronize, the lead's\n"
    "                    nature 0..24 or its name), cute:M or cute:F (Cute Charm, the\n"
    "                    lead's gender) or none (default)\n"
    "  --gender-ratio R  the species' gender ratio: 0 (male only), 31, 63, 127, 191,\n"
    "                    223, 254 (female only) or 255 (genderless); default 127\n"
    "  --levels LO-HI    surf and rods: the slot's levels, 1..100 (default 1-1)\n"
    "  --rate R          rods: something bites when the bite's range of 100 is below\n"
    "                    R, 0..100 (default 100: every advance bites)\n"
    "  --roamer          grass and surf: a roaming creature is on this map; it takes\n"
    "                    the first draw and the advances it would come at are left out\n"
    "  --feebas W        DPPt rods in the lake under Mt. Coronet: lake (facing an\n"
    "                    ordinary tile) or tile (facing a Feebas tile: Feebas, levels\n"
    "                    10-20, when the draw after the bite is not 0)\n"
    "  --tid T           the trainer's ID, for the shiny test, 0..65535 (default 0)\n"
    "  --sid S           the trainer's secret ID, 0..65535 (default 0)\n"
    "  --min IVS         the lowest IV kept per stat, H,A,B,S,C,D (default 0,...)\n"
    "  --max IVS         the highest IV kept per stat (default 31,...)\n"
    "  --nature N        keep these natures: numbers 0..24 or names, separated by\n"
    "                    commas or given again\n"
    "  --shiny-only      keep only shiny creatures (★)\n"
    "  --ability K       keep only ability slot K, 1 or 2\n"
    "  --gender G        keep only M (male) or F (female)\n"
    "  --slot K          keep these slots, 0..11, separated by commas or given again\n"
    "  --hidden-power T  keep only Hidden Power type T: 0..15 or its name (0 かくとう\n"
    "                    .. 15 あく)\n"
    "  --min-power P     keep only a Hidden Power of P or more, 30..70\n"
    "  --before-pokerus  HGSS: Elm's answers before he tells about Pokerus (E or K)\n";

void addWildSpecs(std::vector<OptionSpec>& specs) {
  specs.insert(specs.end(), {{"--game", true},          {"--kind", true},         {"--lead", true},
                             {"--gender-ratio", true},  {"--levels", true},       {"--rate", true},
                             {"--roamer", false},       {"--feebas", true},       {"--tid", true},
                             {"--sid", true},           {"--min", true},          {"--max", true},
                             {"--nature", true},        {"--shiny-only", false},  {"--ability", true},
                             {"--gender", true},        {"--slot", true},         {"--hidden-power", true},
                             {"--min-power", true},     {"--before-pokerus", false}});
}

int parseWildOptions(const ParsedArgs& args, WildEncounter& e, WildFilter& f, bool& beforePokerus,
                     const CliIo& io) {
  e = WildEncounter{};
  e.genderRatio = 127;
  e.levelMin = e.levelMax = 1;
  e.biteRate = 100;
  f = openWildFilter();
  const std::string* game = findOption(args, "--game");
  if (game == nullptr) return cliError(io, "--game is required: dppt or hgss");
  if (*game != "dppt" && *game != "hgss") return cliError(io, "--game '%s': expected dppt or hgss", game->c_str());
  e.game = *game == "hgss" ? WildGame::kHgss : WildGame::kDppt;
  const std::string* kind = findOption(args, "--kind");
  if (kind == nullptr) return cliError(io, "--kind is required: gift, static, grass, surf, old-rod, good-rod or super-rod");
  int k = 0;
  while (k < kWildKindCount && *kind != kKindNames[k]) ++k;
  if (k == kWildKindCount) {
    return cliError(io, "--kind '%s': expected gift, static, grass, surf, old-rod, good-rod or super-rod",
                    kind->c_str());
  }
  e.kind = static_cast<WildKind>(k);
  if (const std::string* t = findOption(args, "--lead")) {
    if (int rc = parseLead(*t, e, io)) return rc;
  }
  int64_t n = 0;
  int64_t m = 0;
  if (const std::string* t = findOption(args, "--gender-ratio")) {
    bool known = parseIntStrict(*t, 0, 255, n);
    if (known) {
      known = false;
      for (int32_t r : kGenderRatios) known = known || r == n;
    }
    if (!known) return cliError(io, "--gender-ratio '%s': expected 0, 31, 63, 127, 191, 223, 254 or 255", t->c_str());
    e.genderRatio = static_cast<int32_t>(n);
  }
  if (const std::string* t = findOption(args, "--levels")) {
    if (!parseSpan(*t, 1, kLargestLevel, n, m)) return cliError(io, "--levels '%s': expected LO-HI within 1..100", t->c_str());
    e.levelMin = static_cast<int32_t>(n);
    e.levelMax = static_cast<int32_t>(m);
  }
  if (const std::string* t = findOption(args, "--rate")) {
    if (!parseIntStrict(*t, 0, 100, n)) return cliError(io, "--rate '%s': expected 0..100", t->c_str());
    if (!isRodKind(e.kind)) return cliError(io, "--rate counts when fishing only (old-rod, good-rod, super-rod)");
    e.biteRate = static_cast<int32_t>(n);
  }
  e.roamer = hasFlag(args, "--roamer");
  if (e.roamer && e.kind != WildKind::kGrass && e.kind != WildKind::kSurf) {
    return cliError(io, "--roamer counts on grass and surf only: a roamer is not met by a rod or in place");
  }
  if (const std::string* t = findOption(args, "--feebas")) {
    if (*t != "lake" && *t != "tile") return cliError(io, "--feebas '%s': expected lake or tile", t->c_str());
    if (e.game != WildGame::kDppt || !isRodKind(e.kind)) return cliError(io, "--feebas counts with DPPt's rods only");
    e.feebas = *t == "tile" ? WildFeebas::kTile : WildFeebas::kLake;
  }
  for (const char* name : {"--tid", "--sid"}) {
    if (const std::string* t = findOption(args, name)) {
      if (!parseIntStrict(*t, 0, 0xFFFF, n)) return cliError(io, "%s '%s': expected 0..65535", name, t->c_str());
      (name[2] == 't' ? e.tid : e.sid) = static_cast<int32_t>(n);
    }
  }
  if (int rc = parseIvRangeOptions(args, f.ivs, io)) return rc;
  std::string bad;
  if (!readMask(args, "--nature", [](std::string_view t, int& v) { return parseNatureArg(t, v); }, f.natureMask, bad)) {
    return cliError(io, "--nature '%s': expected a nature number 0..24 or a nature name", bad.c_str());
  }
  auto readSlot = [](std::string_view t, int& v) {
    int64_t slot = 0;
    if (!parseIntStrict(t, 0, kMaxWildSlots - 1, slot)) return false;
    v = static_cast<int>(slot);
    return true;
  };
  if (!readMask(args, "--slot", readSlot, f.slotMask, bad)) {
    return cliError(io, "--slot '%s': expected slots 0..11", bad.c_str());
  }
  f.shinyOnly = hasFlag(args, "--shiny-only");
  if (const std::string* t = findOption(args, "--ability")) {
    if (!parseIntStrict(*t, 1, 2, n)) return cliError(io, "--ability '%s': expected 1 or 2", t->c_str());
    f.ability = static_cast<int32_t>(n);
  }
  if (const std::string* t = findOption(args, "--gender")) {
    if (*t != "M" && *t != "F" && *t != "m" && *t != "f") return cliError(io, "--gender '%s': expected M or F", t->c_str());
    f.gender = 1 + static_cast<int32_t>(*t == "M" || *t == "m" ? WildGender::kMale : WildGender::kFemale);
  }
  if (const std::string* t = findOption(args, "--hidden-power")) {
    int type = 0;
    if (!parseListOptionArg(*t, kHiddenPowerTypeNames, 0, kHiddenPowerTypeCount - 1, type)) {
      return cliError(io, "--hidden-power '%s': expected a type 0..15 or its name, e.g. こおり", t->c_str());
    }
    f.hiddenPowerType = type;
  }
  if (const std::string* t = findOption(args, "--min-power")) {
    if (!parseIntStrict(*t, 30, 70, n)) return cliError(io, "--min-power '%s': expected 30..70", t->c_str());
    f.hiddenPowerMin = static_cast<int32_t>(n);
  }
  beforePokerus = hasFlag(args, "--before-pokerus");
  return kExitOk;
}
