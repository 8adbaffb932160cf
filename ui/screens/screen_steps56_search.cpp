// Step 5's search panel: its hits listed on screen 3 with their "日時へ"
// buttons and written to "search.txt".
#include "core/egg_files.h"
#include "core/rng.h"
#include "quillmar/texts.h"
#include "ui/screens.h"
#include "ui/screens/screen_steps56.h"

namespace {

EggListSettings settingsOf(const EggListRequest& egg) {
  EggListSettings settings{};
  settings.tid = egg.tid;
  settings.sid = egg.sid;
  settings.internationalMarriage = egg.internationalMarriage ? 1 : 0;
  settings.shinyOnly = egg.shinyOnly ? 1 : 0;
  settings.natureChoice = egg.natureChoice;
  settings.genderChoice = egg.genderChoice;
  settings.abilityChoice = egg.abilityChoice;
  settings.everstoneChoice = egg.everstoneNature + 1;
  return settings;
}

// The hits' PIDs with their shiny marks, and the search's settings for the
// hand-over of a hit to step 4.
void takeIn(AppState& app, const SearchRequest& request, const SearchJobHits& hits, int32_t shown) {
  const EggListRequest& egg = request.egg.egg;
  app.moments.hitSettings = settingsOf(egg);
  for (int32_t i = 0; i < shown; ++i) {
    const EggHit& hit = hits.egg[i];
    const bool shiny = ShinyTest(hit.pid, egg.tid, egg.sid);
    app.eggSearch.hits[i] = SearchHit{hit.seed, hit.frame, hit.delay, hit.pid, static_cast<uint8_t>(shiny ? 1 : 0), {}};
  }
}

OutputResult writeHitFile(const AppState&, const SearchRequest& request, const SearchJobHits& hits, int32_t count) {
  return writeEggHitFile(kEggHitFileName, request.egg, hits.egg, count);
}

ControlHandle* hitButtons(AppState& app) { return app.screen3.hitButtons; }

}  // namespace

const SearchPanelKind kEggSearchPanel{
    .kind = SearchKind::kEgg,
    .panel = &AppState::eggSearch,
    .screen = ScreenMode::kThree,
    .hitFile = kEggHitFileName,
    .maxShownHits = kMaxShownHits,
    .writeHitFile = writeHitFile,
    .takeIn = takeIn,
    .hitButtons = hitButtons,
    .firstHitCommand = kCmdFirstHit,
    .hitButtonX = 515,
    .hitButtonFirstY = kHitFirstY,
    .hitLineStep = kHitLineStep,
    .hitButtonWidth = 50,
    .statusX = 430,
    .statusY = 85,
    // Below the 14th hit line: too long for the status beside "中止", each one
    // line of at most 34 full-width characters (16 pixels each in the font
    // Wine draws with) left of step 6; three lines end within the 535 pixels
    // of the Win32 client area.
    .noteX = 10,
    .noteFirstY = 485,
    .noteLineStep = 16,
    .notStartedNote = texts::kTextSearchNotStarted,
    .hitsCutNote = texts::kTextHitsCut,
    .hitFileNote = texts::kTextHitFileNotWritten,
};
