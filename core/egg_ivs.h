// Step 9: the egg's six IVs, decided when the player picks the egg up from
// the day-care man, by the 32-bit LCG (Lcg32) of the initial seed the game was
// continued on, advanced n draws since (n, "回数").
//
// At pick-up the game takes these draws (a draw is the upper 16 bits of the
// new state), in this order:
//   1. a: H = a & 31, A = (a >> 5) & 31, B = (a >> 10) & 31.
//   2. b: S = b & 31, C = (b >> 5) & 31, D = (b >> 10) & 31.
//   3. Three inherited stats from the list [H, A, B, S, C, D].
//      DPPt: pick i (0, 1, 2) takes list[draw mod (6 - i)]; the list then
//      loses its entry at position i, not the entry picked (the games' own
//      fault, kept because the console has it): H can only be picked first,
//      and a stat can be picked twice, the later pick winning.
//      HGSS: a parent holding a power item has that item's stat forced first
//      (when both hold one, a draw chooses: odd gives parent A's, even parent
//      B's); the forced stat comes from its holder and leaves the list. Each
//      remaining pick i takes list[draw mod (6 - i)] and removes that entry.
//   4. One draw per pick that was not forced: even is parent A, odd parent B.
//   5. Each picked stat takes that parent's IV; the others keep the random ones.
// A pick-up takes 8 draws: DPPt and HGSS without items; with HGSS, 6 when one
// parent holds a power item and 7 when both do.
//
// Plain functions over data; nothing is allocated.
#pragma once

#include <cstdint>

#include "state/app_state.h"

enum class EggGame : int32_t { kDppt, kHgss };

// PowerItem (the power items in stat order) is defined in state/app_state.h.
inline constexpr int32_t kPowerItemCount = 7;

// The parents in the day care. A is its first slot: the one deposited first,
// or the one left after the first was taken back.
struct EggParents {
  EggGame game;
  int32_t ivsA[kStatCount];  // 0..31 each
  int32_t ivsB[kStatCount];
  PowerItem itemA;  // HGSS only: kNone with DPPt
  PowerItem itemB;
};

// Where a stat's IV comes from.
enum class IvSource : int32_t { kRandom, kParentA, kParentB };

struct EggIvs {
  int32_t ivs[kStatCount];
  IvSource from[kStatCount];
};

// IVs 0..31, known game and items, no item with DPPt.
bool eggParentsValid(const EggParents& parents);

// Every range 0 <= low <= high <= 31.
bool ivRangesValid(const IvRange (&ranges)[kStatCount]);

// The IVs of the egg picked up n draws after `seed` (n: "回数"). The parents
// must be valid.
EggIvs eggIvsAt(uint32_t seed, uint32_t n, const EggParents& parents);

// The same from the LCG's state after those n draws.
EggIvs eggIvsAfter(uint32_t state, const EggParents& parents);

// Every IV within its stat's range.
bool eggIvsWanted(const EggIvs& ivs, const IvRange (&ranges)[kStatCount]);

// The six IVs as "31A 20 31B 5 31A 8": an inherited IV carries its parent's
// letter. Room for the longest, NUL included.
inline constexpr int kEggIvsTextCapacity = 6 * 4;
int formatEggIvs(char (&out)[kEggIvsTextCapacity], const EggIvs& ivs);

// The listing: n = 0..frameCount-1 of one seed, those whose IVs lie in the
// ranges.
struct EggIvListRequest {
  uint32_t seed;
  int32_t frameCount;  // >= 0
  EggParents parents;
  IvRange ranges[kStatCount];
};

struct EggIvLine {
  int32_t frame;  // n
  EggIvs ivs;
};

// Where a listing resumes: the next n and the LCG's state after n draws.
struct EggIvCursor {
  int32_t frame;
  uint32_t state;
};

// The parents and ranges valid and frameCount >= 0.
bool eggIvListRequestValid(const EggIvListRequest& request);

inline EggIvCursor eggIvListStart(const EggIvListRequest& request) { return EggIvCursor{0, request.seed}; }

// Writes the kept lines from the cursor on into out[0..capacity), in order of
// n, and returns how many; the cursor then points past the last n looked at.
// The listing is over once cursor.frame == frameCount. Nothing is written for
// a request that is not valid (the cursor is then put at the end).
int32_t listEggIvs(const EggIvListRequest& request, EggIvCursor& cursor, EggIvLine* out, int32_t capacity);
