#include "cli/egg_iv_options.h"

#include <string_view>

namespace {

const char* const kStatNames[kStatCount] = {"H", "A", "B", "S", "C", "D"};
const char* const kItemNames[kPowerItemCount] = {"none", "weight", "bracer", "belt", "anklet", "lens", "band"};

// "H,A,B,S,C,D": six IVs 0..31.
bool parseSixIvs(std::string_view text, int32_t (&ivs)[kStatCount]) {
  std::string_view fields[kStatCount];
  if (!splitSixFields(text, fields)) return false;
  for (int i = 0; i < kStatCount; ++i) {
    int64_t iv = 0;
    if (!parseIntStrict(fields[i], 0, 31, iv)) return false;
    ivs[i] = static_cast<int32_t>(iv);
  }
  return true;
}

int parseIvsOption(const ParsedArgs& args, const char* name, int32_t (&ivs)[kStatCount], const CliIo& io) {
  const std::string* t = findOption(args, name);
  if (t != nullptr && parseSixIvs(*t, ivs)) return kExitOk;
  if (t == nullptr) return cliError(io, "%s is required: six IVs H,A,B,S,C,D, e.g. 31,31,31,0,31,31", name);
  return cliError(io, "%s '%s': expected six IVs 0..31 as H,A,B,S,C,D, e.g. 31,31,31,0,31,31", name, t->c_str());
}

int parseItemOption(const ParsedArgs& args, const char* name, PowerItem& item, const CliIo& io) {
  const std::string* t = findOption(args, name);
  if (t == nullptr) return kExitOk;
  for (int32_t k = 0; k < kPowerItemCount; ++k) {
    if (*t == kItemNames[k]) {
      item = static_cast<PowerItem>(k);
      return kExitOk;
    }
  }
  return cliError(io, "%s '%s': expected weight, bracer, belt, anklet, lens, band or none", name, t->c_str());
}

}  // namespace

const char kEggIvOptionsHelp[] =
    "  --parent-a IVS  parent A's six IVs H,A,B,S,C,D, each 0..31 (required); A is\n"
    "                  the day care's first slot: the one deposited first, or the one\n"
    "                  left after the first was taken back\n"
    "  --parent-b IVS  parent B's six IVs (required)\n"
    "  --game G        dppt (default) or hgss\n"
    "  --item-a ITEM   parent A's power item, HGSS only: weight (H), bracer (A),\n"
    "                  belt (B), anklet (S), lens (C), band (D) or none (default)\n"
    "  --item-b ITEM   parent B's power item\n"
    "  --min IVS       the lowest IV wanted per stat, H,A,B,S,C,D (default 0,0,0,0,0,0)\n"
    "  --max IVS       the highest IV wanted per stat (default 31,31,31,31,31,31)\n";

void addEggIvSpecs(std::vector<OptionSpec>& specs) {
  specs.insert(specs.end(), {{"--parent-a", true},
                             {"--parent-b", true},
                             {"--game", true},
                             {"--item-a", true},
                             {"--item-b", true},
                             {"--min", true},
                             {"--max", true}});
}

int parseEggIvOptions(const ParsedArgs& args, EggParents& parents, IvRange (&ranges)[kStatCount], const CliIo& io) {
  parents = EggParents{};
  if (int rc = parseIvsOption(args, "--parent-a", parents.ivsA, io)) return rc;
  if (int rc = parseIvsOption(args, "--parent-b", parents.ivsB, io)) return rc;
  if (const std::string* t = findOption(args, "--game")) {
    if (*t != "dppt" && *t != "hgss") return cliError(io, "--game '%s': expected dppt or hgss", t->c_str());
    parents.game = *t == "hgss" ? EggGame::kHgss : EggGame::kDppt;
  }
  if (int rc = parseItemOption(args, "--item-a", parents.itemA, io)) return rc;
  if (int rc = parseItemOption(args, "--item-b", parents.itemB, io)) return rc;
  if (parents.game == EggGame::kDppt && (parents.itemA != PowerItem::kNone || parents.itemB != PowerItem::kNone)) {
    return cliError(io, "power items count in HGSS only: give --game hgss, or leave --item-a and --item-b out");
  }
  return parseIvRangeOptions(args, ranges, io);
}

int parseIvRangeOptions(const ParsedArgs& args, IvRange (&ranges)[kStatCount], const CliIo& io) {
  int32_t low[kStatCount] = {0, 0, 0, 0, 0, 0};
  int32_t high[kStatCount] = {31, 31, 31, 31, 31, 31};
  if (const std::string* t = findOption(args, "--min"); t != nullptr && !parseSixIvs(*t, low)) {
    return cliError(io, "--min '%s': expected six IVs 0..31 as H,A,B,S,C,D", t->c_str());
  }
  if (const std::string* t = findOption(args, "--max"); t != nullptr && !parseSixIvs(*t, high)) {
    return cliError(io, "--max '%s': expected six IVs 0..31 as H,A,B,S,C,D", t->c_str());
  }
  for (int i = 0; i < kStatCount; ++i) {
    if (low[i] > high[i]) {
      return cliError(io, "--min and --max: %s's minimum %d is above its maximum %d", kStatNames[i], low[i], high[i]);
    }
    ranges[i] = IvRange{low[i], high[i]};
  }
  return kExitOk;
}
