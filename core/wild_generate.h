// How step 11's creature is drawn, written once over any source of draws:
// the generator itself for wildCreatureFrom, and one seed's draws shared by
// its advances for the creature search's forward scan. For core/wild.cpp and
// core/wild_search.cpp only.
//
// A source of draws has
//   uint32_t next()          the next draw (the new state's upper 16 bits)
//   int32_t taken() const    the draws taken so far
//   bool pidLoop(int32_t nature, uint32_t& pid, int32_t& tries)
//                            the PID loop: pairs low, high until PID mod 25 is
//                            the nature; false abandons the creature (a scan
//                            that keeps no creature of that nature)
#pragma once

#include <cstdint>

#include "core/rng.h"
#include "core/wild.h"

namespace wild_generate {

// Slot k is taken when the range of 100 is below bound k.
inline constexpr int32_t kGrassBounds[] = {20, 40, 50, 60, 70, 80, 85, 90, 94, 98, 99, 100};
inline constexpr int32_t kSurfBounds[] = {60, 90, 95, 99, 100};  // also DPPt's Old Rod
inline constexpr int32_t kDpptRodBounds[] = {40, 80, 95, 99, 100};
inline constexpr int32_t kHgssRodBounds[] = {40, 70, 85, 95, 100};

template <int32_t N>
int32_t slotOf(const int32_t (&bounds)[N], int32_t value) {
  int32_t k = 0;
  while (k < N - 1 && value >= bounds[k]) ++k;
  return k;
}

inline bool isRod(WildKind kind) {
  return kind == WildKind::kOldRod || kind == WildKind::kGoodRod || kind == WildKind::kSuperRod;
}

inline bool hasBothGenders(int32_t ratio) { return ratio != 0 && ratio != 254 && ratio != 255; }

inline void setIvs(WildCreature& out, uint32_t w1, uint32_t w2) {
  for (int32_t i = 0; i < 3; ++i) {
    out.ivs[i] = static_cast<int32_t>(w1 >> (5 * i) & 31u);
    out.ivs[3 + i] = static_cast<int32_t>(w2 >> (5 * i) & 31u);
  }
}

// The generator's own draws, one at a time.
struct LcgDraws {
  uint32_t state;
  int32_t count = 0;
  uint32_t next() {
    state = Lcg32::Next(state);
    ++count;
    return state >> 16;
  }
  int32_t taken() const { return count; }
  bool pidLoop(int32_t nature, uint32_t& pid, int32_t& tries) {
    do {
      const uint32_t low = next();
      const uint32_t high = next();
      pid = high << 16 | low;
      ++tries;
    } while (NatureIndex(pid) != nature);
    return true;
  }
};

// Items 1 to 6 of the creature: the charm, Synchronize, the nature, the PID,
// the IVs and the held item.
template <typename Draws>
bool drawCreature(const WildEncounter& e, int32_t ratio, Draws& d, WildCreature& out) {
  const WildGame g = e.game;
  const bool cute = e.lead == WildLead::kCuteMale || e.lead == WildLead::kCuteFemale;
  if (cute && hasBothGenders(ratio)) out.charmed = wildRange(g, d.next(), 3) > 0;
  if (e.lead == WildLead::kSync) out.synchronized = wildRange(g, d.next(), 2) == 0;
  const int32_t nature = out.synchronized ? e.leadNature : wildRange(g, d.next(), 25);
  if (out.charmed) {
    out.pid = e.lead == WildLead::kCuteMale ? static_cast<uint32_t>(nature)
                                             : static_cast<uint32_t>(25 * (ratio / 25 + 1) + nature);
  } else if (!d.pidLoop(nature, out.pid, out.pidTries)) {
    return false;
  }
  const uint32_t w1 = d.next();
  const uint32_t w2 = d.next();
  setIvs(out, w1, w2);
  d.next();  // the held item
  return true;
}

template <typename Draws>
int32_t levelDraw(Draws& d, int32_t low, int32_t high) {
  return static_cast<int32_t>(d.next() % static_cast<uint32_t>(high - low + 1)) + low;
}

// The creature of an encounter whose first draw is d's next, at `advance`,
// whose cue is `cueDraw` (that first draw). False when d abandoned it.
template <typename Draws>
bool generate(const WildEncounter& e, uint32_t cueDraw, Draws& d, int32_t advance, WildCreature& out) {
  out = WildCreature{};
  out.outcome = WildOutcome::kMet;
  out.advance = advance;
  out.slot = -1;
  out.level = -1;
  out.bite = -1;
  out.cueDraw = cueDraw;
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
      out.draws = d.taken();
      return true;
    }
    int32_t low = e.levelMin;
    int32_t high = e.levelMax;
    if (isRod(e.kind)) {
      out.bite = wildRange(g, d.next(), 100);
      if (out.bite >= e.biteRate) {
        out.outcome = WildOutcome::kNoBite;
        out.draws = d.taken();
        return true;
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
    if (!drawCreature(e, ratio, d, out)) return false;
  }
  out.draws = d.taken();
  out.nature = NatureIndex(out.pid);
  out.ability = AbilitySlot(out.pid);
  out.genderValue = GenderValue(out.pid);
  out.gender = genderOf(ratio, out.genderValue);
  out.shiny = ShinyTest(out.pid, e.tid, e.sid);
  hiddenPowerOf(out.ivs, out.hiddenPowerType, out.hiddenPowerPower);
  return true;
}

}  // namespace wild_generate
