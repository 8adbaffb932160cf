#include "core/egg_list.h"

#include "core/rng.h"
#include "data/tables.h"
#include "quillmar/texts.h"

namespace {

// Steps 1 and 2 of every run, done before the file is opened: the request's
// values are kept in AppState and the generator is reseeded, so nothing of an
// earlier run carries over.
void storeRequestAndSeed(AppState& app, const EggListRequest& request) {
  app.eggInitialSeed = request.initialSeed;
  app.eggFrameCount = request.frameCount;
  app.eggTid = request.tid;
  app.eggSid = request.sid;
  app.eggInternationalMarriage = request.internationalMarriage ? 1 : 0;
  app.eggShinyOnly = request.shinyOnly ? 1 : 0;
  Seed(app.mt, request.initialSeed);
}

bool keepFrame(const EggListRequest& request, uint32_t pid, bool shiny) {
  if (request.shinyOnly && !shiny) return false;
  if (request.natureChoice > 0 && request.natureChoice - 1 != NatureIndex(pid)) return false;
  if (request.genderChoice > 0 && !GenderFilter(request.genderChoice - 1, GenderValue(pid))) return false;
  if (request.abilityChoice > 0 && request.abilityChoice != AbilitySlot(pid)) return false;
  return true;
}

// The header and the kept frames, from an already seeded generator. Every
// frame consumes exactly one generator output, kept or not; the rerolls
// consume none, so frame i is always output i.
void writeFrames(AppState& app, const EggListRequest& request, std::FILE* out) {
  std::fputs(texts::kTextResultHeader, out);
  std::fputc('\n', out);
  int position = 0;
  for (int32_t i = 0; i < request.frameCount; ++i) {
    if (position == 0) Twist(app.mt);
    uint32_t pid = Temper(app.mt, position);
    if (request.internationalMarriage) pid = MarriageReroll(pid, request.tid, request.sid);
    bool shiny = ShinyTest(pid, request.tid, request.sid);
    if (keepFrame(request, pid, shiny)) {
      std::fprintf(out, texts::kTextResultFrame, i, i / 12, i % 12, pid, kNatureNames[NatureIndex(pid)],
                   AbilitySlot(pid), GenderValue(pid));
      if (shiny) std::fputs(texts::kTextShinyMark, out);
      std::fputc('\n', out);
    }
    if (++position == kMtWordCount) position = 0;
  }
}

}  // namespace

bool writeEggPidListFile(AppState& app, const EggListRequest& request, const char* path) {
  storeRequestAndSeed(app, request);
  // Text mode: each '\n' becomes CR LF on Windows, stays LF elsewhere.
  std::FILE* out = std::fopen(path, "w");
  if (out == nullptr) return false;
  writeFrames(app, request, out);
  std::fclose(out);  // a failing close is not looked at, as no write is
  return true;
}

void writeEggPidList(AppState& app, const EggListRequest& request, std::FILE* out) {
  storeRequestAndSeed(app, request);
  writeFrames(app, request, out);
}
