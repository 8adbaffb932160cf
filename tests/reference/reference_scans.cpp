#include "tests/reference/reference_scans.h"

#include "core/rng.h"
#include "data/tables.h"
#include "quillmar/texts.h"

bool scanIvWordsStraightforward(AppState& app, uint32_t w1, uint32_t w2, int nature, int limit) {
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
      if (app.pidCandidateCount >= kMaxPidCandidates) return true;
      app.pidCandidates[app.pidCandidateCount++] = PidCandidate{pid, Lcg32::Next(t)};
      if (limit > 0 && app.pidCandidateCount >= limit) return true;
    }
  }
  return false;
}

void writeEggPidListStraightforward(AppState& app, const EggListRequest& request, std::FILE* out) {
  Seed(app.mt, request.initialSeed);
  std::fputs(texts::kTextResultHeader, out);
  std::fputc('\n', out);
  // Every frame consumes exactly one generator output, kept or not; the
  // rerolls consume none, so frame i is always output i.
  for (int32_t i = 0; i < request.frameCount; ++i) {
    if (i % kMtWordCount == 0) Twist(app.mt);
    uint32_t pid = Temper(app.mt, i % kMtWordCount);
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
