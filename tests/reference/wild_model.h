// The wild, stationary and gift creature of one advance as the games' rules
// read, taken one draw at a time from a generator of its own: the measure the
// tests check wildCreatureAt and the listing against and the benchmark times
// the listing against. Nothing of core/wild.cpp is used; only its types.
#pragma once

#include <cstdint>

#include "core/wild.h"

namespace wild_model {

struct Draws {
  uint32_t state;
  int32_t taken = 0;
  uint32_t next() {
    state = state * 0x41C64E6Du + 0x6073u;
    ++taken;
    return state >> 16;
  }
};

// A range of n: Diamond, Pearl and Platinum divide, HeartGold and SoulSilver take the remainder.
inline int32_t range(WildGame game, uint32_t draw, uint32_t n) {
  return static_cast<int32_t>(game == WildGame::kDppt ? draw / (0xFFFFu / n + 1u) : draw % n);
}

// The slot whose bound the range of 100 is first below.
inline int32_t slotBelow(int32_t value, const int32_t* bounds) {
  int32_t k = 0;
  while (value >= bounds[k]) ++k;
  return k;
}

inline const int32_t* slotBounds(const WildEncounter& e) {
  static const int32_t grass[] = {20, 40, 50, 60, 70, 80, 85, 90, 94, 98, 99, 100};
  static const int32_t water[] = {60, 90, 95, 99, 100};  // surf, DPPt's Old Rod
  static const int32_t dpptRods[] = {40, 80, 95, 99, 100};
  static const int32_t hgssRods[] = {40, 70, 85, 95, 100};
  if (e.kind == WildKind::kGrass) return grass;
  if (e.kind == WildKind::kSurf) return water;
  if (e.game == WildGame::kHgss) return hgssRods;
  return e.kind == WildKind::kOldRod ? water : dpptRods;
}

inline void hiddenPower(const int32_t (&ivs)[kStatCount], int32_t& type, int32_t& power) {
  int32_t low = 0, second = 0;
  for (int i = 0; i < kStatCount; ++i) {
    low |= (ivs[i] & 1) << i;
    second |= ((ivs[i] >> 1) & 1) << i;
  }
  type = low * 15 / 63;
  power = second * 40 / 63 + 30;
}

// The encounter starting at `state` (the generator after `advance` draws).
inline WildCreature creatureFrom(const WildEncounter& e, uint32_t state, int32_t advance) {
  Draws d{state};
  auto rangeOf = [&](uint32_t n) { return range(e.game, d.next(), n); };
  WildCreature c{};
  c.outcome = WildOutcome::kMet;
  c.advance = advance;
  c.cueDraw = (state * 0x41C64E6Du + 0x6073u) >> 16;
  c.slot = c.level = c.bite = -1;
  const bool rod = e.kind >= WildKind::kOldRod;
  int32_t ratio = e.genderRatio;
  uint32_t w1 = 0, w2 = 0;
  if (e.kind == WildKind::kGift) {
    const uint32_t low = d.next();
    c.pid = d.next() << 16 | low;
    c.pidTries = 1;
    w1 = d.next();
    w2 = d.next();
  } else {
    if (e.roamer && rangeOf(2) != 0) {
      c.outcome = WildOutcome::kRoamer;
    } else if (rod && (c.bite = rangeOf(100)) >= e.biteRate) {
      c.outcome = WildOutcome::kNoBite;
    }
    if (c.outcome != WildOutcome::kMet) {
      c.draws = d.taken;
      return c;
    }
    if (rod && e.feebas != WildFeebas::kOff) c.feebas = rangeOf(2) != 0 && e.feebas == WildFeebas::kTile;
    if (e.kind != WildKind::kStatic) c.slot = slotBelow(rangeOf(100), slotBounds(e));
    if (e.kind == WildKind::kSurf || rod) {
      const int32_t min = c.feebas ? kFeebasLevelMin : e.levelMin, max = c.feebas ? kFeebasLevelMax : e.levelMax;
      c.level = static_cast<int32_t>(d.next() % static_cast<uint32_t>(max - min + 1)) + min;
    }
    if (c.feebas) ratio = kFeebasGenderRatio;
    const bool cute = e.lead == WildLead::kCuteMale || e.lead == WildLead::kCuteFemale;
    if (cute && ratio != 0 && ratio != 254 && ratio != 255) c.charmed = rangeOf(3) > 0;
    if (e.lead == WildLead::kSync) c.synchronized = rangeOf(2) == 0;
    const int32_t nature = c.synchronized ? e.leadNature : rangeOf(25);
    if (c.charmed) {
      c.pid = static_cast<uint32_t>(e.lead == WildLead::kCuteMale ? nature : 25 * (ratio / 25 + 1) + nature);
    } else {
      do {
        const uint32_t low = d.next();
        c.pid = d.next() << 16 | low;
        ++c.pidTries;
      } while (c.pid % 25u != static_cast<uint32_t>(nature));
    }
    w1 = d.next();
    w2 = d.next();
    d.next();  // the held item
  }
  c.draws = d.taken;
  c.nature = static_cast<int32_t>(c.pid % 25u);
  c.ability = static_cast<int32_t>(c.pid & 1u) + 1;
  c.genderValue = static_cast<int32_t>(c.pid & 0xFFu);
  c.gender = ratio == 255   ? WildGender::kGenderless
             : ratio == 254 ? WildGender::kFemale
             : ratio == 0   ? WildGender::kMale
                            : (ratio > c.genderValue ? WildGender::kFemale : WildGender::kMale);
  c.shiny = (static_cast<uint32_t>(e.tid ^ e.sid) ^ (c.pid >> 16) ^ (c.pid & 0xFFFFu)) < 8u;
  const uint32_t words[2] = {w1, w2};
  for (int i = 0; i < kStatCount; ++i) c.ivs[i] = static_cast<int32_t>((words[i / 3] >> (5 * (i % 3))) & 31u);
  hiddenPower(c.ivs, c.hiddenPowerType, c.hiddenPowerPower);
  return c;
}

// The generator after `advance` draws from the seed, stepped one at a time.
inline uint32_t stateAfter(uint32_t seed, int32_t advance) {
  Draws d{seed};
  for (int32_t i = 0; i < advance; ++i) d.next();
  return d.state;
}

inline WildCreature creatureAt(const WildEncounter& e, uint32_t seed, int32_t advance) {
  return creatureFrom(e, stateAfter(seed, advance), advance);
}

inline bool kept(const WildFilter& f, const WildCreature& c) {
  if (c.outcome != WildOutcome::kMet) return false;
  for (int i = 0; i < kStatCount; ++i)
    if (c.ivs[i] < f.ivs[i].low || c.ivs[i] > f.ivs[i].high) return false;
  if (f.natureMask != 0 && ((f.natureMask >> c.nature) & 1u) == 0) return false;
  if (f.slotMask != 0 && (c.slot < 0 || ((f.slotMask >> c.slot) & 1u) == 0)) return false;
  return (!f.shinyOnly || c.shiny) && (f.ability == 0 || f.ability == c.ability) &&
         (f.gender == 0 || f.gender == 1 + static_cast<int32_t>(c.gender)) &&
         (f.hiddenPowerType < 0 || f.hiddenPowerType == c.hiddenPowerType) && c.hiddenPowerPower >= f.hiddenPowerMin;
}

}  // namespace wild_model
