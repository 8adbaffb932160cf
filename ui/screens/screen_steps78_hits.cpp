// Step 7 told the hit by the console itself: the Pokétch coin's flips (DPPt)
// or Elm's answers on the phone (HGSS), typed within seconds of continuing,
// matched over the calibration table in place of hit seeds.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/calibration.h"
#include "core/hit_sequence.h"
#include "quillmar/texts.h"
#include "ui/screens/screen_common.h"
#include "ui/screens/screen_steps78.h"
#include "ui/shell.h"

namespace {

// The calls are matched after 0..4 draws taken by the roaming legendaries.
constexpr int32_t kCallSkips = 4;
// How many matches the count of further letters is taken over; more matches
// make it a lower bound.
constexpr int32_t kTellApartMatches = 256;
constexpr int32_t kMatchThreads = 2;

bool sameLetters(const uint8_t* a, const uint8_t* b, int32_t n) { return std::memcmp(a, b, n) == 0; }

}  // namespace

void readSequenceEdits(AppState& app) {
  platformGetText(app.screen4.coinEdit, app.aim.coinText, kReadSequenceEdit);
  platformGetText(app.screen4.callsEdit, app.aim.callsText, kReadSequenceEdit);
  app.aim.beforePokerus = platformIsChecked(app.screen4.beforePokerusCheck) ? 1 : 0;
}

bool typedSequence(AppState& app, HitSearch& search) {
  app.aim.sequenceSource = HitSource::kNone;
  app.aim.sequenceStatus = HitTextStatus::kOk;
  app.aim.sequenceBadLetter[0] = '\0';
  search = HitSearch{};
  search.beforePokerus = app.aim.beforePokerus != 0;
  for (HitSource source : {HitSource::kCoin, HitSource::kElm}) {
    search.source = source;
    search.skip = source == HitSource::kCoin ? 0 : kCallSkips;
    HitTextResult read = parseHitText(source == HitSource::kCoin ? app.aim.coinText : app.aim.callsText, search);
    if (read.status == HitTextStatus::kEmpty) continue;
    app.aim.sequenceSource = source;
    app.aim.sequenceStatus = read.status;
    if (read.status == HitTextStatus::kBadLetter) {
      const char* text = source == HitSource::kCoin ? app.aim.coinText : app.aim.callsText;
      std::memcpy(app.aim.sequenceBadLetter, text + read.at, read.width);
      app.aim.sequenceBadLetter[read.width] = '\0';
    }
    return read.status == HitTextStatus::kOk;
  }
  return false;
}

bool sequenceMatchesSeed(const HitSearch& search, uint32_t seed) {
  uint8_t letters[kMaxHitLetters];
  if (search.source == HitSource::kCoin)
    return coinFlips(seed, search.skip, search.length, letters) && sameLetters(letters, search.letters, search.length);
  for (int32_t skip = 0; skip <= search.skip; ++skip)
    if (elmAnswers(seed, skip, search.length, search.beforePokerus, letters) &&
        sameLetters(letters, search.letters, search.length))
      return true;
  return false;
}

void matchSequence(AppState& app, const CalibrationTable& table, const HitSearch& search, CalibrationCell& nearest) {
  HitMatch kept[kTellApartMatches];
  HitMatch page[64];
  CalibrationCursor cursor = calibrationStart(table);
  for (;;) {
    int32_t n = findHitMatches(table, search, cursor, page, 64, kMatchThreads);
    for (int32_t i = 0; i < n; ++i) {
      if (app.aim.matchCount == 0 || closerToTarget(page[i].cell, nearest)) {
        nearest = page[i].cell;
        app.aim.matchSkip = page[i].skip;
      }
      if (app.aim.matchCount < kTellApartMatches) kept[app.aim.matchCount] = page[i];
      ++app.aim.matchCount;
    }
    if (n < 64) break;
  }
  int32_t looked = app.aim.matchCount < kTellApartMatches ? app.aim.matchCount : kTellApartMatches;
  app.aim.tellApart = lettersToTellApart(search, kept, looked);
  app.aim.tellApartAtLeast = app.aim.matchCount > looked && app.aim.tellApart >= 0 ? 1 : 0;
}

bool paintSequenceNote(AppState& app, PaintSurface s, int32_t x, int32_t y) {
  if (app.aim.sequenceSource == HitSource::kNone || app.aim.sequenceStatus == HitTextStatus::kOk) return false;
  const bool coin = app.aim.sequenceSource == HitSource::kCoin;
  if (app.aim.sequenceStatus == HitTextStatus::kTooLong) {
    platformPaintText(s, x, y, texts::kTextSequenceTooLong);
    return true;
  }
  const char* format = coin                    ? texts::kTextCoinBadLetter
                       : app.aim.beforePokerus != 0 ? texts::kTextCallsBadLetterBefore
                                                : texts::kTextCallsBadLetter;
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, format, app.aim.sequenceBadLetter);
  platformPaintText(s, x, y, app.scratch.textBuffer);
  return true;
}

void paintTellApart(AppState& app, PaintSurface s, int32_t x, int32_t y) {
  const bool coin = app.aim.sequenceSource == HitSource::kCoin;
  if (app.aim.tellApart < 0) {
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, texts::kTextTellApartNever, app.aim.matchCount);
  } else {
    const char* format = app.aim.tellApartAtLeast != 0 ? (coin ? texts::kTextCoinTellApartAtLeast
                                                           : texts::kTextCallsTellApartAtLeast)
                                                   : (coin ? texts::kTextCoinTellApart : texts::kTextCallsTellApart);
    std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, format, app.aim.matchCount, app.aim.tellApart);
  }
  platformPaintText(s, x, y, app.scratch.textBuffer);
}

// Step 6 shows ten letters, enough to check at once whether the aimed seed came.
constexpr int32_t kStepSixLetters = 10;

void formatSeedLetters(AppState& app, uint32_t seed, bool coin) {
  uint8_t letters[kStepSixLetters];
  char line[3 * kStepSixLetters + 1];
  int32_t at = 0;
  if (coin) {
    coinFlips(seed, 0, kStepSixLetters, letters);
    for (uint8_t letter : letters) {
      const char* side = letter == kHeads ? texts::kTextCoinHeads : texts::kTextCoinTails;
      for (const char* p = side; *p != '\0'; ++p) line[at++] = *p;
    }
  } else {
    elmAnswers(seed, 0, kStepSixLetters, false, letters);
    for (uint8_t letter : letters) line[at++] = hitLetterChar(HitSource::kElm, letter);
  }
  line[at] = '\0';
  std::snprintf(app.scratch.textBuffer, sizeof app.scratch.textBuffer, coin ? texts::kTextMomentCoins : texts::kTextMomentCalls, line);
}
