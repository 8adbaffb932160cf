#include "core/seed_time.h"

namespace {

constexpr int32_t kMaxMinute = 59;
constexpr int32_t kMaxSecond = 59;
constexpr int32_t kMaxMinuteSecondSum = kMaxMinute + kMaxSecond;  // 118

// minute + second that a day needs for AA: (AA - month * day) mod 256, or -1
// when that exceeds 118 and the day holds no moment.
int32_t minuteSecondSum(int32_t aa, int32_t month, int32_t day) {
  int32_t t = (aa - month * day) & 0xFF;
  return t <= kMaxMinuteSecondSum ? t : -1;
}

// Minutes m with m + s = sum for some second s in 0..59.
int32_t firstMinute(int32_t sum) { return sum > kMaxSecond ? sum - kMaxSecond : 0; }
int32_t lastMinute(int32_t sum) { return sum < kMaxMinute ? sum : kMaxMinute; }

// Moves the cursor to the first matching moment at or after it; false (cursor
// finished) when the year holds no further one.
bool seekMoment(int32_t aa, int32_t year, SeedMomentCursor& cursor) {
  if (cursor.month < 1) cursor = kSeedMomentStart;
  if (cursor.day < 1) cursor.day = 1;
  if (cursor.minute < 0) cursor.minute = 0;
  for (; cursor.month <= 12; ++cursor.month, cursor.day = 1, cursor.minute = 0) {
    for (int32_t days = daysInMonth(year, cursor.month); cursor.day <= days; ++cursor.day, cursor.minute = 0) {
      int32_t sum = minuteSecondSum(aa, cursor.month, cursor.day);
      if (sum < 0) continue;
      if (cursor.minute < firstMinute(sum)) cursor.minute = firstMinute(sum);
      if (cursor.minute <= lastMinute(sum)) return true;
    }
  }
  cursor = SeedMomentCursor{13, 1, 0};
  return false;
}

}  // namespace

bool isValidMoment(const ConsoleMoment& m) {
  if (m.year < kClockFirstYear || m.year > kClockLastYear) return false;
  if (m.day < 1 || m.day > daysInMonth(m.year, m.month)) return false;  // also rejects a bad month
  if (m.hour < 0 || m.hour > 23) return false;
  if (m.minute < 0 || m.minute > kMaxMinute || m.second < 0 || m.second > kMaxSecond) return false;
  return m.delay >= 0;
}

bool seedOfMoment(const ConsoleMoment& m, uint32_t& seed) {
  if (!isValidMoment(m)) return false;
  uint32_t aa = static_cast<uint32_t>(m.month * m.day + m.minute + m.second) & 0xFFu;
  uint32_t bb = static_cast<uint32_t>(m.hour);
  // Computed in 32 bits and cut to 16: delay <= 2^31 - 1 and year - 2000 <= 99 fit.
  uint32_t cccc = (static_cast<uint32_t>(m.delay) + static_cast<uint32_t>(m.year - kClockFirstYear)) & 0xFFFFu;
  seed = aa << 24 | bb << 16 | cccc;
  return true;
}

SeedTimeVerdict seedTimeVerdict(uint32_t seed, int32_t year) {
  if (year < kClockFirstYear || year > kClockLastYear) return SeedTimeVerdict::kYearOutOfRange;
  if (seedHour(seed) > 23) return SeedTimeVerdict::kHourOutOfRange;
  return SeedTimeVerdict::kHasTime;
}

SeedMomentPage listSeedMoments(uint32_t seed, int32_t year, SeedMomentCursor& cursor, ConsoleMoment* out,
                               int32_t capacity) {
  SeedMomentPage page{0, false};
  if (seedTimeVerdict(seed, year) != SeedTimeVerdict::kHasTime) return page;
  const int32_t aa = seedMonthDaySum(seed);
  while (page.count < capacity && seekMoment(aa, year, cursor)) {
    int32_t sum = minuteSecondSum(aa, cursor.month, cursor.day);
    out[page.count++] = ConsoleMoment{year,          cursor.month,       cursor.day,           seedHour(seed),
                                      cursor.minute, sum - cursor.minute, seedDelay(seed, year)};
    ++cursor.minute;
  }
  page.more = seekMoment(aa, year, cursor);
  return page;
}

int32_t countSeedMoments(uint32_t seed, int32_t year) {
  if (seedTimeVerdict(seed, year) != SeedTimeVerdict::kHasTime) return 0;
  const int32_t aa = seedMonthDaySum(seed);
  int32_t count = 0;
  for (int32_t month = 1; month <= 12; ++month) {
    for (int32_t day = 1, days = daysInMonth(year, month); day <= days; ++day) {
      int32_t sum = minuteSecondSum(aa, month, day);
      if (sum >= 0) count += lastMinute(sum) - firstMinute(sum) + 1;
    }
  }
  return count;
}
