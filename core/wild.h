// Step 11: the stationary, gift or wild creature the game generates when an
// encounter starts `advance` draws of Lcg32 after the initial seed (its first
// draw is draw advance + 1; a draw is the new state's upper 16 bits).
//
// A "range of n" is taken as each pair of games takes it: Diamond, Pearl and
// Platinum divide, draw / (0xFFFF / n + 1); HeartGold and SoulSilver take
// draw % n. A level is draw % (max - min + 1) + min in both, drawn even when
// min = max.
//
// The draws, in order:
//   gift:        PID low half, PID high half, IV word 1, IV word 2.
//   stationary:  the creature (below).
//   grass:       [roamer] slot (range 100), the creature; the level is the
//                slot's own.
//   surf:        [roamer] slot (range 100), level, the creature.
//   rods:        bite (range 100), [Feebas] (range 2, DPPt's lake), slot
//                (range 100), level, the creature.
// The creature: [Cute Charm: range 3, the charm applies when > 0, only for a
// species with both genders] [Synchronize: range 2, 0 takes the lead's
// nature] nature (range 25, unless synchronized), the PID (with the charm no
// draw: the nature with a male lead, 25 * (ratio / 25 + 1) + nature with a
// female one; otherwise pairs low, high until PID mod 25 is the nature), IV
// word 1, IV word 2, and the held item's draw, which changes nothing shown.
// The roamer's draw (range 2) gives the battle to a roaming creature when it
// is not 0; nothing else is drawn then, and the list leaves that advance out.
//
// Plain functions over data; nothing is allocated.
#pragma once

#include <cstdint>

#include "state/app_state.h"

enum class WildGame : int32_t { kDppt, kHgss };
enum class WildKind : int32_t { kGift, kStatic, kGrass, kSurf, kOldRod, kGoodRod, kSuperRod };
inline constexpr int32_t kWildKindCount = 7;
enum class WildLead : int32_t { kNone, kSync, kCuteMale, kCuteFemale };
inline constexpr int32_t kWildLeadCount = 4;
// DPPt's lake under Mt. Coronet: kLake takes the Feebas draw facing an
// ordinary tile (the lake's table whatever it gives), kTile facing a Feebas
// tile (Feebas when the draw is not 0).
enum class WildFeebas : int32_t { kOff, kLake, kTile };
enum class WildGender : int32_t { kMale, kFemale, kGenderless };

inline constexpr int32_t kGenderRatioCount = 8;
inline constexpr int32_t kGenderRatios[kGenderRatioCount] = {0, 31, 63, 127, 191, 223, 254, 255};
inline constexpr int32_t kFeebasGenderRatio = 127;
inline constexpr int32_t kFeebasLevelMin = 10;
inline constexpr int32_t kFeebasLevelMax = 20;
inline constexpr int32_t kHiddenPowerTypeCount = 16;
inline constexpr int32_t kMaxWildSlots = 12;
inline constexpr int32_t kLargestLevel = 100;

// The encounter as the player sets it up.
struct WildEncounter {
  WildGame game;
  WildKind kind;
  WildLead lead;
  int32_t leadNature;   // Synchronize: the lead's nature, 0..24
  int32_t genderRatio;  // the species', one of kGenderRatios
  int32_t levelMin;     // surf and rods: the slot's levels, 1..100
  int32_t levelMax;
  int32_t biteRate;     // rods: something bites when the bite is below it, 0..100
  bool roamer;          // grass and surf: a roaming creature is on this map
  WildFeebas feebas;    // DPPt rods only
  int32_t tid;          // 0..65535
  int32_t sid;
};

// Every field in its range and the options only where they apply (the roamer
// on grass and water, Feebas with DPPt's rods).
bool wildEncounterValid(const WildEncounter& encounter);

// Why an advance has no creature of the player's.
enum class WildOutcome : int32_t { kMet, kNoBite, kRoamer };

struct WildCreature {
  WildOutcome outcome;
  int32_t advance;
  uint32_t pid;
  int32_t nature;
  int32_t ability;      // 1 or 2
  int32_t genderValue;  // PID & 0xFF
  WildGender gender;
  bool shiny;
  bool charmed;      // Cute Charm chose the PID
  bool synchronized; // the lead's nature passed
  bool feebas;       // a Feebas tile gave Feebas
  int32_t ivs[kStatCount];
  int32_t hiddenPowerType;  // 0..15, kHiddenPowerTypeNames' order
  int32_t hiddenPowerPower; // 30..70
  int32_t slot;   // -1 for gift and stationary
  int32_t level;  // -1 where the level is not drawn (gift, stationary, grass)
  int32_t bite;   // rods: the bite's range of 100; -1 otherwise
  int32_t pidTries;  // PID pairs drawn
  int32_t draws;     // draws the encounter took
  uint32_t cueDraw;  // draw advance + 1, the encounter's first: the advance's cue
};

// A range of n of `draw` (0..65535) as `game` takes it, n >= 1.
constexpr int32_t wildRange(WildGame game, uint32_t draw, int32_t n) {
  return game == WildGame::kDppt ? static_cast<int32_t>(draw / (0xFFFFu / static_cast<uint32_t>(n) + 1u))
                                 : static_cast<int32_t>(draw % static_cast<uint32_t>(n));
}

// The gender a species of `ratio` has with gender value `value`.
constexpr WildGender genderOf(int32_t ratio, int32_t value) {
  if (ratio == 255) return WildGender::kGenderless;
  if (ratio == 254) return WildGender::kFemale;
  if (ratio == 0) return WildGender::kMale;
  return ratio > value ? WildGender::kFemale : WildGender::kMale;
}

// Hidden Power from six IVs: the type from the lowest bits of H, A, B, S, C,
// D (bit i for stat i), times 15 / 63; the power from the second bits, times
// 40 / 63, plus 30.
void hiddenPowerOf(const int32_t (&ivs)[kStatCount], int32_t& type, int32_t& power);

// The creature of an encounter that starts at generator state `state` (the
// state after `advance` draws). The encounter must be valid.
void wildCreatureFrom(const WildEncounter& encounter, uint32_t state, int32_t advance, WildCreature& out);

// The same from the initial seed.
void wildCreatureAt(const WildEncounter& encounter, uint32_t seed, int32_t advance, WildCreature& out);

// What the list keeps: a met creature within every filter.
struct WildFilter {
  IvRange ivs[kStatCount];
  uint32_t natureMask;  // bit k keeps nature k; 0 keeps every nature
  bool shinyOnly;
  int32_t ability;       // 0 any, 1 or 2
  int32_t gender;        // 0 any, 1 + WildGender
  uint32_t slotMask;     // bit k keeps slot k; 0 keeps every slot
  int32_t hiddenPowerType;  // -1 any, 0..15
  int32_t hiddenPowerMin;   // the least power kept, 30..70 (30 keeps all)
};

// A filter that keeps every met creature.
WildFilter openWildFilter();
bool wildFilterValid(const WildFilter& filter);
bool wildCreatureKept(const WildFilter& filter, const WildCreature& creature);

// A listing of advances first..end - 1 of one seed, stepped one draw per
// advance: start with wildListStart, then wildListNext writes the next kept
// creature, false after the last advance.
struct WildListCursor {
  uint32_t state;  // the state after `advance` draws
  int32_t advance;
  int32_t end;
};
WildListCursor wildListStart(uint32_t seed, int32_t first, int32_t end);
bool wildListNext(const WildEncounter& encounter, const WildFilter& filter, WildListCursor& cursor, WildCreature& out);

// The cue shown with advance n: what draw n + 1, which moves the console from
// n to n + 1, makes the player see. DPPt: Chatot's cry, step draw % 8192 and
// its third of the range (L 0..2730, M 2731..5461, H 5462..8191); HGSS: Elm's
// answer, draw % 3 (E, K, P) or draw % 2 before Pokérus.
struct WildCue {
  int32_t chatotStep;  // DPPt; -1 with HGSS
  char letter;         // 'L', 'M', 'H' or 'E', 'K', 'P'
};
WildCue wildCueOf(WildGame game, uint32_t draw, bool beforePokerus);
