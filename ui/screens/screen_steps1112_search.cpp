// Step 12's search panel: its hits listed on screen 6 with their "日時へ"
// buttons and written to "wild-search.txt".
#include <cstdio>

#include "core/wild_files.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_steps1112.h"

namespace {

// Each hit's creature: its PID, whether it is shiny and its IVs.
void takeIn(AppState& app, const SearchRequest& request, const SearchJobHits& hits, int32_t shown) {
  for (int32_t i = 0; i < shown; ++i) {
    const WildHit& hit = hits.wild[i];
    WildCreature creature;
    wildHitCreature(request.wild, hit, creature);
    SearchHit& line = app.wildSearch.hits[i];
    line = SearchHit{hit.seed, hit.frame, hit.delay, creature.pid, static_cast<uint8_t>(creature.shiny ? 1 : 0), {}};
    std::snprintf(line.ivs, sizeof line.ivs, "%d %d %d %d %d %d", creature.ivs[0], creature.ivs[1], creature.ivs[2],
                  creature.ivs[3], creature.ivs[4], creature.ivs[5]);
  }
}

// The cue read as the search's start read it.
OutputResult writeHitFile(const AppState& app, const SearchRequest& request, const SearchJobHits& hits,
                          int32_t count) {
  return writeWildHitFile(kWildHitFileName, request.wild, hits.wild, count, app.wild.searchBeforePokerus != 0);
}

ControlHandle* hitButtons(AppState& app) { return app.screen6.hitButtons; }

}  // namespace

const SearchPanelKind kWildSearchPanel{
    .kind = SearchKind::kWild,
    .panel = &AppState::wildSearch,
    .screen = ScreenMode::kSix,
    .hitFile = kWildHitFileName,
    .maxShownHits = kMaxShownWildHits,
    .writeHitFile = writeHitFile,
    .takeIn = takeIn,
    .hitButtons = hitButtons,
    .firstHitCommand = kCmdFirstWildHit,
    .hitButtonX = 735,
    .hitButtonFirstY = kWildHitFirstY,
    .hitLineStep = kWildHitLineStep,
    .hitButtonWidth = 50,
    .statusX = kStepTwelveX + 300,
    .statusY = 52,
    .noteX = kStepTwelveX + 10,
    .noteFirstY = kWildHitNoteY,
    .noteLineStep = 16,
    .notStartedNote = texts::kTextWildSearchNotStarted,
    .hitsCutNote = texts::kTextWildHitsCut,
    .hitFileNote = texts::kTextWildHitFileNotWritten,
};
