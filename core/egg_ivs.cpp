#include "core/egg_ivs.h"

#include "core/rng.h"

namespace {

bool ivValid(int32_t iv) { return iv >= 0 && iv <= 31; }
bool itemValid(PowerItem item) { return int32_t(item) >= 0 && int32_t(item) < kPowerItemCount; }

// Removes entry `at` of list[0..size), closing the gap.
void removeAt(int32_t* list, int32_t size, int32_t at) {
  for (int32_t i = at; i + 1 < size; ++i) list[i] = list[i + 1];
}

}  // namespace

bool eggParentsValid(const EggParents& p) {
  for (int i = 0; i < kStatCount; ++i) {
    if (!ivValid(p.ivsA[i]) || !ivValid(p.ivsB[i])) return false;
  }
  if (!itemValid(p.itemA) || !itemValid(p.itemB)) return false;
  if (p.game == EggGame::kDppt) return p.itemA == PowerItem::kNone && p.itemB == PowerItem::kNone;
  return p.game == EggGame::kHgss;
}

bool ivRangesValid(const IvRange (&ranges)[kStatCount]) {
  for (const IvRange& r : ranges) {
    if (r.low < 0 || r.low > r.high || r.high > 31) return false;
  }
  return true;
}

EggIvs eggIvsAfter(uint32_t state, const EggParents& p) {
  auto draw = [&state] {
    state = Lcg32::Next(state);
    return state >> 16;
  };
  EggIvs egg{};
  const uint32_t a = draw();
  const uint32_t b = draw();
  for (int j = 0; j < 3; ++j) {
    egg.ivs[j] = int32_t(a >> (5 * j) & 31u);
    egg.ivs[j + 3] = int32_t(b >> (5 * j) & 31u);
  }
  int32_t list[kStatCount] = {0, 1, 2, 3, 4, 5};
  int32_t picked[3];
  int32_t first = 0;  // the first pick drawn (1 after a forced one)
  IvSource forcedFrom = IvSource::kRandom;
  if (p.game == EggGame::kHgss && (p.itemA != PowerItem::kNone || p.itemB != PowerItem::kNone)) {
    bool fromA = p.itemB == PowerItem::kNone;
    if (p.itemA != PowerItem::kNone && p.itemB != PowerItem::kNone) fromA = draw() % 2 != 0;
    picked[0] = int32_t(fromA ? p.itemA : p.itemB) - 1;
    forcedFrom = fromA ? IvSource::kParentA : IvSource::kParentB;
    removeAt(list, kStatCount, picked[0]);  // list[k] == k before any removal
    first = 1;
  }
  for (int32_t i = first; i < 3; ++i) {
    const int32_t at = int32_t(draw() % uint32_t(kStatCount - i));
    picked[i] = list[at];
    removeAt(list, kStatCount - i, p.game == EggGame::kDppt ? i : at);
  }
  if (first == 1) {
    const int32_t s = picked[0];
    egg.ivs[s] = forcedFrom == IvSource::kParentA ? p.ivsA[s] : p.ivsB[s];
    egg.from[s] = forcedFrom;
  }
  // The parents are drawn for every pick first, then applied in pick order,
  // so that a stat picked twice keeps the later pick's parent.
  IvSource parent[3];
  for (int32_t i = first; i < 3; ++i) parent[i] = draw() % 2 == 0 ? IvSource::kParentA : IvSource::kParentB;
  for (int32_t i = first; i < 3; ++i) {
    const int32_t s = picked[i];
    egg.ivs[s] = parent[i] == IvSource::kParentA ? p.ivsA[s] : p.ivsB[s];
    egg.from[s] = parent[i];
  }
  return egg;
}

EggIvs eggIvsAt(uint32_t seed, uint32_t n, const EggParents& parents) {
  return eggIvsAfter(Lcg32::Advance(seed, n), parents);
}

bool eggIvsWanted(const EggIvs& egg, const IvRange (&ranges)[kStatCount]) {
  for (int i = 0; i < kStatCount; ++i) {
    if (egg.ivs[i] < ranges[i].low || egg.ivs[i] > ranges[i].high) return false;
  }
  return true;
}

int formatEggIvs(char (&out)[kEggIvsTextCapacity], const EggIvs& egg) {
  int length = 0;
  for (int i = 0; i < kStatCount; ++i) {
    if (i > 0) out[length++] = ' ';
    const int32_t iv = egg.ivs[i];
    if (iv >= 10) out[length++] = char('0' + iv / 10);
    out[length++] = char('0' + iv % 10);
    if (egg.from[i] != IvSource::kRandom) out[length++] = egg.from[i] == IvSource::kParentA ? 'A' : 'B';
  }
  out[length] = '\0';
  return length;
}

bool eggIvListRequestValid(const EggIvListRequest& r) {
  return r.frameCount >= 0 && eggParentsValid(r.parents) && ivRangesValid(r.ranges);
}

int32_t listEggIvs(const EggIvListRequest& request, EggIvCursor& cursor, EggIvLine* out, int32_t capacity) {
  if (!eggIvListRequestValid(request)) {
    cursor.frame = request.frameCount;
    return 0;
  }
  int32_t count = 0;
  while (count < capacity && cursor.frame < request.frameCount) {
    const EggIvs egg = eggIvsAfter(cursor.state, request.parents);
    if (eggIvsWanted(egg, request.ranges)) out[count++] = EggIvLine{cursor.frame, egg};
    cursor.state = Lcg32::Next(cursor.state);
    ++cursor.frame;
  }
  return count;
}
