#include "tests/reference/reference_scans.h"

#include <algorithm>
#include <vector>

#include "core/rng.h"
#include "data/tables.h"
#include "quillmar/texts.h"

bool scanIvWordsStraightforward(PidSteps& pids, uint32_t w1, uint32_t w2, int nature, int limit) {
  const uint32_t highs[2] = {w1 & 0xFFFFu, (w1 | 0x8000u) & 0xFFFFu};
  const uint32_t want0 = w2 & 0xFFFFu;
  const uint32_t want1 = (w2 | 0x8000u) & 0xFFFFu;
  for (uint32_t h : highs) {
    for (uint32_t low = 0; low <= 0xFFFFu; ++low) {
      // s drew the first IV word, t = Next(s) the second; the two states
      // before s drew the PID, low half first.
      uint32_t s = (h << 16) | low;
      uint32_t t = Lcg32::Next(s);
      uint32_t draw = t >> 16;
      if (draw != want0 && draw != want1) continue;
      uint32_t p1 = Lcg32::Prev(s);
      uint32_t pid = (p1 & 0xFFFF0000u) | (Lcg32::Prev(p1) >> 16);
      if (NatureIndex(pid) != nature) continue;
      if (pids.pidCandidateCount >= kMaxPidCandidates) return true;
      pids.pidCandidates[pids.pidCandidateCount++] = PidCandidate{pid, Lcg32::Next(t)};
      if (limit > 0 && pids.pidCandidateCount >= limit) return true;
    }
  }
  return false;
}

void writeEggPidListStraightforward(EggListState& eggList, const EggListRequest& request, std::FILE* out) {
  Seed(eggList.mt, request.initialSeed);
  std::fputs(texts::kTextResultHeader, out);
  std::fputc('\n', out);
  // Every frame consumes exactly one generator output, kept or not; the
  // rerolls consume none, so frame i is always output i.
  for (int32_t i = 0; i < request.frameCount; ++i) {
    if (i % kMtWordCount == 0) Twist(eggList.mt);
    uint32_t pid = Temper(eggList.mt, i % kMtWordCount);
    if (request.internationalMarriage) pid = MarriageReroll(pid, request.tid, request.sid);
    bool shiny = ShinyTest(pid, request.tid, request.sid);
    if (request.shinyOnly && !shiny) continue;
    if (request.natureChoice > 0 && request.natureChoice - 1 != NatureIndex(pid)) continue;
    if (request.genderChoice > 0 && !GenderFilter(request.genderChoice - 1, GenderValue(pid))) continue;
    if (request.abilityChoice > 0 && request.abilityChoice != AbilitySlot(pid)) continue;
    std::fprintf(out, texts::kTextResultFrame, i, i / 12, i % 12, pid, kNatureNames[NatureIndex(pid)],
                 AbilitySlot(pid), GenderValue(pid));
    if (shiny) std::fputs(texts::kTextShinyMark, out);
    std::fputc('\n', out);
  }
}

EggIvs eggIvsByDraws(uint32_t state, const EggParents& parents, bool* pickedTwice) {
  auto draw = [&state] {
    state = Lcg32::Next(state);
    return state >> 16;
  };
  const uint32_t a = draw();
  const uint32_t b = draw();
  EggIvs egg{};
  const uint32_t fields[kStatCount] = {a & 31, a >> 5 & 31, a >> 10 & 31, b & 31, b >> 5 & 31, b >> 10 & 31};
  for (int i = 0; i < kStatCount; ++i) egg.ivs[i] = int32_t(fields[i]);

  struct Pick {
    int stat;
    int parent;  // 0 A, 1 B, -1 not drawn yet
  };
  std::vector<Pick> picks;
  std::vector<int> list = {0, 1, 2, 3, 4, 5};  // H, A, B, S, C, D
  const bool hgss = parents.game == EggGame::kHgss;
  std::vector<Pick> holders;  // the parents holding a power item, A first
  if (hgss && parents.itemA != PowerItem::kNone) holders.push_back({int(parents.itemA) - 1, 0});
  if (hgss && parents.itemB != PowerItem::kNone) holders.push_back({int(parents.itemB) - 1, 1});
  if (!holders.empty()) {
    const Pick forced = holders.size() == 1 ? holders[0] : draw() % 2 != 0 ? holders[0] : holders[1];
    picks.push_back(forced);
    list.erase(std::find(list.begin(), list.end(), forced.stat));
  }
  while (picks.size() < 3) {
    const int i = int(picks.size());
    const std::size_t at = draw() % uint32_t(6 - i);
    picks.push_back({list[at], -1});
    list.erase(list.begin() + (hgss ? std::ptrdiff_t(at) : i));
  }
  for (Pick& pick : picks) {
    if (pick.parent < 0) pick.parent = int(draw() % 2);
  }
  for (const Pick& pick : picks) {
    egg.ivs[pick.stat] = pick.parent == 0 ? parents.ivsA[pick.stat] : parents.ivsB[pick.stat];
    egg.from[pick.stat] = pick.parent == 0 ? IvSource::kParentA : IvSource::kParentB;
  }
  if (pickedTwice != nullptr) {
    *pickedTwice = picks[0].stat == picks[1].stat || picks[0].stat == picks[2].stat || picks[1].stat == picks[2].stat;
  }
  return egg;
}
