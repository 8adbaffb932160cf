#include "core/wild.h"

#include "core/hit_sequence.h"
#include "core/rng.h"
#include "core/wild_generate.h"

namespace {

bool isGenderRatio(int32_t ratio) {
  for (int32_t r : kGenderRatios)
    if (r == ratio) return true;
  return false;
}

}  // namespace

bool wildEncounterValid(const WildEncounter& e) {
  if (e.game != WildGame::kDppt && e.game != WildGame::kHgss) return false;
  if (static_cast<int32_t>(e.kind) < 0 || static_cast<int32_t>(e.kind) >= kWildKindCount) return false;
  if (static_cast<int32_t>(e.lead) < 0 || static_cast<int32_t>(e.lead) >= kWildLeadCount) return false;
  if (e.leadNature < 0 || e.leadNature >= kNatureCount || !isGenderRatio(e.genderRatio)) return false;
  if (e.levelMin < 1 || e.levelMin > e.levelMax || e.levelMax > kLargestLevel) return false;
  if (e.biteRate < 0 || e.biteRate > 100 || e.tid < 0 || e.tid > 0xFFFF || e.sid < 0 || e.sid > 0xFFFF) return false;
  if (e.roamer && e.kind != WildKind::kGrass && e.kind != WildKind::kSurf) return false;
  if (e.feebas != WildFeebas::kOff && (e.game != WildGame::kDppt || !wild_generate::isRod(e.kind))) return false;
  return e.feebas == WildFeebas::kOff || e.feebas == WildFeebas::kLake || e.feebas == WildFeebas::kTile;
}

void hiddenPowerOf(const int32_t (&ivs)[kStatCount], int32_t& type, int32_t& power) {
  int32_t low = 0;
  int32_t second = 0;
  for (int32_t i = 0; i < kStatCount; ++i) {
    low |= (ivs[i] & 1) << i;
    second |= (ivs[i] >> 1 & 1) << i;
  }
  type = low * 15 / 63;
  power = second * 40 / 63 + 30;
}

void wildCreatureFrom(const WildEncounter& e, uint32_t state, int32_t advance, WildCreature& out) {
  wild_generate::LcgDraws d{state};
  wild_generate::generate(e, Lcg32::Next(state) >> 16, d, advance, out);
}

void wildCreatureAt(const WildEncounter& e, uint32_t seed, int32_t advance, WildCreature& out) {
  wildCreatureFrom(e, Lcg32::Advance(seed, static_cast<uint32_t>(advance)), advance, out);
}

WildFilter openWildFilter() {
  WildFilter f{};
  for (IvRange& r : f.ivs) r = IvRange{0, 31};
  f.hiddenPowerType = -1;
  f.hiddenPowerMin = 30;
  return f;
}

bool wildFilterValid(const WildFilter& f) {
  for (const IvRange& r : f.ivs)
    if (r.low < 0 || r.low > r.high || r.high > 31) return false;
  if (f.natureMask >> kNatureCount != 0 || f.slotMask >> kMaxWildSlots != 0) return false;
  if (f.ability < 0 || f.ability > 2 || f.gender < 0 || f.gender > 3) return false;
  return f.hiddenPowerType >= -1 && f.hiddenPowerType < kHiddenPowerTypeCount && f.hiddenPowerMin >= 30 &&
         f.hiddenPowerMin <= 70;
}

bool wildCreatureKept(const WildFilter& f, const WildCreature& c) {
  if (c.outcome != WildOutcome::kMet) return false;
  for (int32_t i = 0; i < kStatCount; ++i)
    if (c.ivs[i] < f.ivs[i].low || c.ivs[i] > f.ivs[i].high) return false;
  if (f.natureMask != 0 && (f.natureMask >> c.nature & 1u) == 0) return false;
  if (f.shinyOnly && !c.shiny) return false;
  if (f.ability != 0 && c.ability != f.ability) return false;
  if (f.gender != 0 && static_cast<int32_t>(c.gender) != f.gender - 1) return false;
  if (f.slotMask != 0 && (c.slot < 0 || (f.slotMask >> c.slot & 1u) == 0)) return false;
  if (f.hiddenPowerType >= 0 && c.hiddenPowerType != f.hiddenPowerType) return false;
  return c.hiddenPowerPower >= f.hiddenPowerMin;
}

WildListCursor wildListStart(uint32_t seed, int32_t first, int32_t end) {
  return WildListCursor{Lcg32::Advance(seed, static_cast<uint32_t>(first)), first, end};
}

bool wildListNext(const WildEncounter& e, const WildFilter& f, WildListCursor& cursor, WildCreature& out) {
  while (cursor.advance < cursor.end) {
    wildCreatureFrom(e, cursor.state, cursor.advance, out);
    cursor.state = Lcg32::Next(cursor.state);
    ++cursor.advance;
    if (wildCreatureKept(f, out)) return true;
  }
  return false;
}

WildCue wildCueOf(WildGame game, uint32_t draw, bool beforePokerus) {
  if (game == WildGame::kDppt) {
    const int32_t step = chatotStep(draw);
    return WildCue{step, hitLetterChar(HitSource::kChatot, chatotThird(step))};
  }
  return WildCue{-1, hitLetterChar(HitSource::kElm, static_cast<uint8_t>(beforePokerus ? draw % 2u : draw % 3u))};
}
