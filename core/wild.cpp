#include "core/wild.h"

#include "core/hit_sequence.h"
#include "core/rng.h"

namespace {

// Slot k is taken when the range of 100 is below bound k.
constexpr int32_t kGrassBounds[] = {20, 40, 50, 60, 70, 80, 85, 90, 94, 98, 99, 100};
constexpr int32_t kSurfBounds[] = {60, 90, 95, 99, 100};  // also DPPt's Old Rod
constexpr int32_t kDpptRodBounds[] = {40, 80, 95, 99, 100};
constexpr int32_t kHgssRodBounds[] = {40, 70, 85, 95, 100};

template <int32_t N>
int32_t slotOf(const int32_t (&bounds)[N], int32_t value) {
  int32_t k = 0;
  while (k < N - 1 && value >= bounds[k]) ++k;
  return k;
}

bool isRod(WildKind kind) { return kind == WildKind::kOldRod || kind == WildKind::kGoodRod || kind == WildKind::kSuperRod; }

bool hasBothGenders(int32_t ratio) { return ratio != 0 && ratio != 254 && ratio != 255; }

bool isGenderRatio(int32_t ratio) {
  for (int32_t r : kGenderRatios)
    if (r == ratio) return true;
  return false;
}

// The draws of one encounter, counted.
struct Draws {
  uint32_t state;
  int32_t taken;
  uint32_t next() {
    state = Lcg32::Next(state);
    ++taken;
    return state >> 16;
  }
};

void setIvs(WildCreature& out, uint32_t w1, uint32_t w2) {
  for (int32_t i = 0; i < 3; ++i) {
    out.ivs[i] = static_cast<int32_t>(w1 >> (5 * i) & 31u);
    out.ivs[3 + i] = static_cast<int32_t>(w2 >> (5 * i) & 31u);
  }
}

// Items 1 to 6 of the creature: the charm, Synchronize, the nature, the PID,
// the IVs and the held item.
void drawCreature(const WildEncounter& e, int32_t ratio, Draws& d, WildCreature& out) {
  const WildGame g = e.game;
  const bool cute = e.lead == WildLead::kCuteMale || e.lead == WildLead::kCuteFemale;
  if (cute && hasBothGenders(ratio)) out.charmed = wildRange(g, d.next(), 3) > 0;
  if (e.lead == WildLead::kSync) out.synchronized = wildRange(g, d.next(), 2) == 0;
  const int32_t nature = out.synchronized ? e.leadNature : wildRange(g, d.next(), 25);
  if (out.charmed) {
    out.pid = e.lead == WildLead::kCuteMale ? static_cast<uint32_t>(nature)
                                             : static_cast<uint32_t>(25 * (ratio / 25 + 1) + nature);
  } else {
    do {
      const uint32_t low = d.next();
      const uint32_t high = d.next();
      out.pid = high << 16 | low;
      ++out.pidTries;
    } while (NatureIndex(out.pid) != nature);
  }
  const uint32_t w1 = d.next();
  const uint32_t w2 = d.next();
  setIvs(out, w1, w2);
  d.next();  // the held item
}

int32_t levelDraw(Draws& d, int32_t low, int32_t high) {
  return static_cast<int32_t>(d.next() % static_cast<uint32_t>(high - low + 1)) + low;
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
  if (e.feebas != WildFeebas::kOff && (e.game != WildGame::kDppt || !isRod(e.kind))) return false;
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
  out = WildCreature{};
  out.outcome = WildOutcome::kMet;
  out.advance = advance;
  out.slot = -1;
  out.level = -1;
  out.bite = -1;
  out.cueDraw = Lcg32::Next(state) >> 16;
  Draws d{state, 0};
  const WildGame g = e.game;
  int32_t ratio = e.genderRatio;
  if (e.kind == WildKind::kGift) {
    const uint32_t low = d.next();
    const uint32_t high = d.next();
    out.pid = high << 16 | low;
    out.pidTries = 1;
    const uint32_t w1 = d.next();
    const uint32_t w2 = d.next();
    setIvs(out, w1, w2);
  } else {
    if (e.roamer && wildRange(g, d.next(), 2) != 0) {
      out.outcome = WildOutcome::kRoamer;
      out.draws = d.taken;
      return;
    }
    int32_t low = e.levelMin;
    int32_t high = e.levelMax;
    if (isRod(e.kind)) {
      out.bite = wildRange(g, d.next(), 100);
      if (out.bite >= e.biteRate) {
        out.outcome = WildOutcome::kNoBite;
        out.draws = d.taken;
        return;
      }
      if (e.feebas != WildFeebas::kOff && wildRange(g, d.next(), 2) != 0 && e.feebas == WildFeebas::kTile) {
        out.feebas = true;
        ratio = kFeebasGenderRatio;
        low = kFeebasLevelMin;
        high = kFeebasLevelMax;
      }
    }
    if (e.kind != WildKind::kStatic) {
      const int32_t value = wildRange(g, d.next(), 100);
      if (e.kind == WildKind::kGrass) {
        out.slot = slotOf(kGrassBounds, value);
      } else if (e.kind == WildKind::kSurf || (g == WildGame::kDppt && e.kind == WildKind::kOldRod)) {
        out.slot = slotOf(kSurfBounds, value);
      } else {
        out.slot = g == WildGame::kDppt ? slotOf(kDpptRodBounds, value) : slotOf(kHgssRodBounds, value);
      }
      if (e.kind != WildKind::kGrass) out.level = levelDraw(d, low, high);
    }
    drawCreature(e, ratio, d, out);
  }
  out.draws = d.taken;
  out.nature = NatureIndex(out.pid);
  out.ability = AbilitySlot(out.pid);
  out.genderValue = GenderValue(out.pid);
  out.gender = genderOf(ratio, out.genderValue);
  out.shiny = ShinyTest(out.pid, e.tid, e.sid);
  hiddenPowerOf(out.ivs, out.hiddenPowerType, out.hiddenPowerPower);
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
