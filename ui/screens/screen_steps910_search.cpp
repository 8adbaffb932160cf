// Step 10's search panel: its hits listed on screen 5 with their "日時へ"
// buttons and written to "ivs-search.txt".
#include "core/egg_files.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_steps910.h"

namespace {

// The hits' IVs, as the core formats them.
void takeIn(AppState& app, const SearchRequest& request, const SearchJobHits& hits, int32_t shown) {
  for (int32_t i = 0; i < shown; ++i) {
    const EggIvHit& hit = hits.ivs[i];
    SearchHit& line = app.ivSearch.hits[i];
    line = SearchHit{hit.seed, hit.frame, hit.delay, 0, 0, {}};
    formatEggIvs(line.ivs, eggIvHitIvs(hit, request.ivs.parents));
  }
}

OutputResult writeHitFile(const AppState&, const SearchRequest& request, const SearchJobHits& hits, int32_t count) {
  return writeEggIvHitFile(kEggIvHitFileName, request.ivs, hits.ivs, count);
}

ControlHandle* hitButtons(AppState& app) { return app.screen5.ivHitButtons; }

}  // namespace

const SearchPanelKind kIvSearchPanel{
    .kind = SearchKind::kEggIvs,
    .panel = &AppState::ivSearch,
    .screen = ScreenMode::kFive,
    .hitFile = kEggIvHitFileName,
    .maxShownHits = kMaxShownIvHits,
    .writeHitFile = writeHitFile,
    .takeIn = takeIn,
    .hitButtons = hitButtons,
    .firstHitCommand = kCmdFirstIvHit,
    .hitButtonX = 735,
    .hitButtonFirstY = kIvHitFirstY,
    .hitLineStep = kIvHitLineStep,
    .hitButtonWidth = 50,
    .statusX = kStepTenX + 295,
    .statusY = 234,
    .noteX = kStepTenX + 10,
    .noteFirstY = 490,
    .noteLineStep = 16,
    .notStartedNote = texts::kTextIvSearchNotStarted,
    .hitsCutNote = texts::kTextIvHitsCut,
    .hitFileNote = texts::kTextIvHitFileNotWritten,
};
