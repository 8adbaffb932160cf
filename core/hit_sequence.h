// The seed hit, told by what the game shows within seconds of continuing.
//
// Coin (Diamond, Pearl, Platinum): the Pokétch's coin toss takes the next
// output of the Mersenne Twister seeded with the initial seed (as the egg list
// does): an odd output is heads, an even one tails. Flip n (n = 1, 2, ...) is
// output skip + n - 1, where skip counts the outputs something else took
// first (0 where there is no weather). After skip + n outputs, the egg list's
// frame skip + n is the next egg.
//
// Elm's answers (HeartGold, SoulSilver): each call takes one draw of Lcg32
// seeded with the initial seed (a draw is the new state's upper 16 bits):
// draw mod 3 once Elm has told the player about Pokérus (0 = E, evolution;
// 1 = K, Kanto; 2 = P, Pokérus), draw mod 2 before (E or K). The roaming
// legendaries take an unknown small number of draws first: the skip.
//
// A sequence is matched against every cell of a calibration table
// (core/calibration.h): the coin at one given skip, the answers at every skip
// 0..M, the first that matches counting. Plain functions, no allocation:
// matches are written into a caller's fixed array, page by page, with the
// table's resume cursor.
#pragma once

#include <cstdint>

#include "core/calibration.h"

inline constexpr int32_t kMaxHitLetters = 64;
inline constexpr int32_t kMaxHitSkip = 100000;
inline constexpr int32_t kMaxElmSkips = 8;
inline constexpr int32_t kMaxHitMatchThreads = 64;

// HitSource and HitTextStatus are defined in state/app_state.h, which step 7
// keeps them in.

inline constexpr uint8_t kHeads = 1;
inline constexpr uint8_t kTails = 0;

// A typed sequence and where it starts.
struct HitSearch {
  HitSource source;
  bool beforePokerus;  // Elm: answers are draw mod 2
  // Coin: the outputs taken before the first flip, 0..kMaxHitSkip.
  // Elm: the largest skip tried, 0..kMaxElmSkips (every skip 0..skip).
  int32_t skip;
  int32_t length;  // 1..kMaxHitLetters
  uint8_t letters[kMaxHitLetters];
};

// True when the search can be matched: a skip and a length in range and every
// letter one of its source's (E or K only before Pokérus).
bool isValidHitSearch(const HitSearch& search);

// The first `count` flips of `seed` after `skip` outputs into letters[0..count),
// count 0..kMaxHitLetters, skip 0..kMaxHitSkip. False, writing nothing, when
// either is outside its range.
bool coinFlips(uint32_t seed, int32_t skip, int32_t count, uint8_t* letters);
// The first `count` answers of `seed` after `skip` draws, count
// 0..kMaxHitLetters, skip 0..kMaxHitSkip.
bool elmAnswers(uint32_t seed, int32_t skip, int32_t count, bool beforePokerus, uint8_t* letters);

// Chatot's cry (Diamond, Pearl, Platinum): each time the recorded cry plays
// in the party's summary or the Pokétch's party app it takes one draw of
// Lcg32 and plays at speed 1 + step / 32768, step = draw % 8192. The player
// hears its third of the range: L (low) 0..2730, M 2731..5461, H 5462..8191.
inline constexpr int32_t kChatotSteps = 8192;
constexpr int32_t chatotStep(uint32_t draw) { return static_cast<int32_t>(draw % static_cast<uint32_t>(kChatotSteps)); }
constexpr uint8_t chatotThird(int32_t step) { return step <= 2730 ? 0 : step <= 5461 ? 1 : 2; }
// The thirds of the first `count` cries of `seed` after `skip` draws, as
// elmAnswers.
bool chatotPitches(uint32_t seed, int32_t skip, int32_t count, uint8_t* letters);

// "Where am I": every advance a = 0..maxAdvance (at most kMaxHitSkip) at which
// draws a + 1..a + search.length of `seed` give the search's letters (Elm's
// answers or Chatot's thirds; search.skip is not read), ascending. Writes the
// first `capacity` into `starts` and returns how many there are; 0 for a
// search of another source, no letter or a letter outside its source's.
int32_t findCueStarts(uint32_t seed, const HitSearch& search, int32_t maxAdvance, int32_t* starts, int32_t capacity);

// 'L' / 'M' / 'H' for Chatot; 'H' / 'T' for the coin, 'E' / 'K' / 'P' for Elm; '?' for any other value.
char hitLetterChar(HitSource source, uint8_t letter);

// A typed sequence: its source's letters in either case, ASCII white space
// anywhere ignored. Text is CP932; a double-byte character is one character.
struct HitTextResult {
  HitTextStatus status;
  int32_t at;     // kBadLetter: the first bad character's byte offset
  int32_t width;  // and its bytes, 1 or 2
  int32_t letters;  // the letters read (kTooLong: all of them)
};
// Reads `text` (NUL-terminated) into search.letters and search.length for
// search.source and search.beforePokerus; the rest of `search` is left alone.
// On anything but kOk search.length is 0.
HitTextResult parseHitText(const char* text, HitSearch& search);

struct HitMatch {
  CalibrationCell cell;
  int32_t skip;  // the skip at which the cell's seed gives the sequence
};

// Writes, from `cursor` on, up to `capacity` matching cells in table order and
// leaves the cursor after the last one written; fewer than `capacity` means
// the table is exhausted. `threads` (1..kMaxHitMatchThreads, the calling
// thread one of them) share the arithmetic; a thread the system refuses leaves
// its share to the others, and the matches are the same whatever the count.
// An invalid search or table matches nothing.
int32_t findHitMatches(const CalibrationTable& table, const HitSearch& search, CalibrationCursor& cursor,
                       HitMatch* out, int32_t capacity, int32_t threads);

// For several matches of `search`: the fewest further letters (typed after
// search.length, each match continuing at its own skip) after which the
// matches' letters differ pairwise, so that whichever of them was hit, that
// many more letters leave it the only match. 0 for fewer than two matches; -1
// when no number of letters up to kMaxHitLetters in all tells them apart (two
// cells of one seed at one skip never differ).
int32_t lettersToTellApart(const HitSearch& search, const HitMatch* matches, int32_t count);
