// From the console's clock to the initial seed and back.
//
// The game builds its initial seed as 0xAABBCCCC from the moment the player
// continues the game and the number of frames waited before doing so (the delay):
//   AA   = (month * day + minute + second) mod 256
//   BB   = hour, 0..23
//   CCCC = (delay + (year - 2000)) mod 2^16
// Only the low 16 bits of delay + (year - 2000) reach the seed: the addition
// never carries into BB, and delays D and D + 65536 give the same seed. The way
// back therefore reports the one delay in 0..65535 that gives CCCC: CCCC -
// (year - 2000) when CCCC >= year - 2000, else CCCC + 65536 - (year - 2000)
// (the sum wrapped past 65535).
//
// The console's clock runs from 2000 to 2099. Plain functions, no allocation:
// the moments of a seed are written into a caller's fixed array, page by page,
// with a resume cursor.
#pragma once

#include <cstdint>

#include "state/app_state.h"

inline constexpr int32_t kClockFirstYear = 2000;
inline constexpr int32_t kClockLastYear = 2099;

// ConsoleMoment (state/app_state.h): one moment on the console's clock and the
// delay waited after it.

// Gregorian rule; every year of the clock's range but 2000 follows the 4-year rule,
// and 2000 is a leap year too.
constexpr bool isLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// 28..31, or 0 when month is outside 1..12.
constexpr int32_t daysInMonth(int32_t year, int32_t month) {
  constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// True when every field of the moment is in its range (year 2000..2099, a day
// that exists in that month of that year, delay >= 0).
bool isValidMoment(const ConsoleMoment& moment);

// The initial seed of a moment. Returns false, leaving `seed` alone, when the
// moment is not valid.
bool seedOfMoment(const ConsoleMoment& moment, uint32_t& seed);

// The fields of a seed as the way back reads them. The delay is the smallest
// one that gives CCCC in that year, (CCCC - (year - 2000)) mod 65536: always
// 0..65535.
constexpr int32_t seedMonthDaySum(uint32_t seed) { return static_cast<int32_t>(seed >> 24); }
constexpr int32_t seedHour(uint32_t seed) { return static_cast<int32_t>((seed >> 16) & 0xFFu); }
constexpr int32_t seedDelay(uint32_t seed, int32_t year) {
  return static_cast<int32_t>((seed - static_cast<uint32_t>(year - kClockFirstYear)) & 0xFFFFu);
}

// Whether a seed has any moment in a year, and if not, why.
enum class SeedTimeVerdict : int32_t {
  kHasTime,         // BB is an hour: moments exist (every CCCC has a delay)
  kYearOutOfRange,  // the year is outside 2000..2099
  kHourOutOfRange,  // BB is 24 or more
};
// Checks the year first, then the hour.
SeedTimeVerdict seedTimeVerdict(uint32_t seed, int32_t year);

// Where a listing resumes: the first moment not yet written. Start from
// kSeedMomentStart; after a call it points at the next matching moment (or is
// finished).
struct SeedMomentCursor {
  int32_t month;   // 13 once the year is exhausted
  int32_t day;
  int32_t minute;  // the second follows from AA, month, day and minute
};
inline constexpr SeedMomentCursor kSeedMomentStart{1, 1, 0};

struct SeedMomentPage {
  int32_t count;  // moments written to out[0..count)
  bool more;      // another moment follows; call again with the same cursor
};

// Writes, from `cursor` on, up to `capacity` moments of `year` whose AA matches
// the seed, in calendar order (month, day, minute, second; the hour is BB), each
// with the delay seedDelay(seed, year). When the verdict is not HasTime nothing is
// written and more is false. With capacity <= 0 nothing is written and more
// tells whether a moment remains at the cursor.
SeedMomentPage listSeedMoments(uint32_t seed, int32_t year, SeedMomentCursor& cursor, ConsoleMoment* out,
                               int32_t capacity);

// How many moments the whole year holds for the seed (0 unless HasTime).
int32_t countSeedMoments(uint32_t seed, int32_t year);
