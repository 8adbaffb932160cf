#include "core/calibration.h"

#include <algorithm>

#include "core/seed_time.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 2000-01-01 to the first day of `year` (2000..2100).
int64_t daysBeforeYear(int32_t year) {
  int64_t days = 0;
  for (int32_t y = kClockFirstYear; y < year; ++y) days += isLeapYear(y) ? 366 : 365;
  return days;
}

// Seconds from 2000-01-01 00:00:00 to a valid moment.
int64_t clockSeconds(const ConsoleMoment& m) {
  int64_t days = daysBeforeYear(m.year);
  for (int32_t month = 1; month < m.month; ++month) days += daysInMonth(m.year, month);
  days += m.day - 1;
  return days * kSecondsPerDay + m.hour * 3600 + m.minute * 60 + m.second;
}

// The moment `total` seconds after 2000-01-01 00:00:00, 0 <= total within the
// clock.
ConsoleMoment momentAt(int64_t total, int32_t delay) {
  ConsoleMoment m{};
  int64_t days = total / kSecondsPerDay;
  int64_t rest = total % kSecondsPerDay;
  m.year = kClockFirstYear;
  while (days >= (isLeapYear(m.year) ? 366 : 365)) days -= isLeapYear(m.year) ? 366 : 365, ++m.year;
  m.month = 1;
  while (days >= daysInMonth(m.year, m.month)) days -= daysInMonth(m.year, m.month), ++m.month;
  m.day = static_cast<int32_t>(days) + 1;
  m.hour = static_cast<int32_t>(rest / 3600);
  m.minute = static_cast<int32_t>(rest / 60 % 60);
  m.second = static_cast<int32_t>(rest % 60);
  m.delay = delay;
  return m;
}

// The last second the clock shows, 2099-12-31 23:59:59.
int64_t lastClockSecond() { return daysBeforeYear(kClockLastYear + 1) * kSecondsPerDay - 1; }

bool delayInRange(int64_t delay) { return delay >= 0 && delay <= kMaxCalibrationDelay; }

// Walks the table from the cursor and writes the cells `keep` accepts; a row
// (one ds) whose seeds `rowMayMatch` rules out as a whole is skipped.
template <typename RowTest, typename CellTest>
int32_t walkTable(const CalibrationTable& table, CalibrationCursor& cursor, CalibrationCell* out, int32_t capacity,
                  RowTest rowMayMatch, CellTest keep) {
  int32_t written = 0;
  if (!isValidCalibrationTable(table)) {
    cursor = CalibrationCursor{table.seconds + 1, 0};
    return 0;
  }
  const int64_t start = clockSeconds(table.target);
  const int64_t last = lastClockSecond();
  if (cursor.secondOffset < -table.seconds) cursor = calibrationStart(table);
  if (cursor.delayOffset < -table.delays) cursor.delayOffset = -table.delays;
  for (; cursor.secondOffset <= table.seconds; ++cursor.secondOffset, cursor.delayOffset = -table.delays) {
    int64_t at = start + cursor.secondOffset;
    if (at < 0 || at > last) continue;
    ConsoleMoment moment = momentAt(at, 0);
    uint32_t rowSeed = 0;
    seedOfMoment(moment,
                 rowSeed);  // delay 0: AA and BB of the row, CCCC = year - 2000
    if (!rowMayMatch(rowSeed & 0xFFFF0000u)) continue;
    for (; cursor.delayOffset <= table.delays; ++cursor.delayOffset) {
      int64_t delay = static_cast<int64_t>(table.target.delay) + cursor.delayOffset;
      if (!delayInRange(delay)) continue;
      if (written == capacity) return written;
      CalibrationCell cell{cursor.secondOffset, cursor.delayOffset, moment, 0};
      cell.moment.delay = static_cast<int32_t>(delay);
      seedOfMoment(cell.moment, cell.seed);
      if (keep(cell.seed)) out[written++] = cell;
    }
  }
  return written;
}

}  // namespace

bool isValidCalibrationTable(const CalibrationTable& table) {
  return isValidMoment(table.target) && delayInRange(table.target.delay) && table.seconds >= 0 &&
         table.seconds <= kMaxCalibrationSeconds && table.delays >= 0 && table.delays <= kMaxCalibrationDelays;
}

bool shiftMoment(const ConsoleMoment& moment, int32_t seconds, ConsoleMoment& out) {
  if (!isValidMoment(moment)) return false;
  int64_t at = clockSeconds(moment) + seconds;
  if (at < 0 || at > lastClockSecond()) return false;
  out = momentAt(at, moment.delay);
  return true;
}

bool calibrationCellAt(const CalibrationTable& table, int32_t secondOffset, int32_t delayOffset,
                       CalibrationCell& cell) {
  if (!isValidCalibrationTable(table)) return false;
  if (secondOffset < -table.seconds || secondOffset > table.seconds) return false;
  if (delayOffset < -table.delays || delayOffset > table.delays) return false;
  CalibrationCursor cursor{secondOffset, delayOffset};
  CalibrationCell found{};
  if (listCalibrationCells(table, cursor, &found, 1) != 1) return false;
  if (found.secondOffset != secondOffset || found.delayOffset != delayOffset) return false;
  cell = found;
  return true;
}

CalibrationCursor calibrationStart(const CalibrationTable& table) {
  return CalibrationCursor{-table.seconds, -table.delays};
}

int32_t listCalibrationCells(const CalibrationTable& table, CalibrationCursor& cursor, CalibrationCell* out,
                             int32_t capacity) {
  return walkTable(
      table, cursor, out, capacity, [](uint32_t) { return true; }, [](uint32_t) { return true; });
}

int32_t advanceCalibrationCursor(const CalibrationTable& table, CalibrationCursor& cursor, int32_t count) {
  if (!isValidCalibrationTable(table)) {
    cursor = CalibrationCursor{table.seconds + 1, 0};
    return 0;
  }
  // The target's own second and delay have a cell, so neither range is empty.
  const int64_t start = clockSeconds(table.target);
  const int64_t firstSecond = std::max<int64_t>(-table.seconds, -start);
  const int64_t lastSecond = std::min<int64_t>(table.seconds, lastClockSecond() - start);
  const int64_t firstDelay = std::max<int64_t>(-table.delays, -table.target.delay);
  const int64_t width = std::min<int64_t>(table.delays, kMaxCalibrationDelay - table.target.delay) - firstDelay + 1;
  const int64_t cells = (lastSecond - firstSecond + 1) * width;
  // The index of the first cell at or after the cursor, as walkTable reads it.
  if (cursor.secondOffset < -table.seconds) cursor = calibrationStart(table);
  int64_t index = cells;
  if (cursor.secondOffset < firstSecond) {
    index = 0;
  } else if (cursor.secondOffset <= lastSecond) {
    index = (cursor.secondOffset - firstSecond) * width + std::clamp<int64_t>(cursor.delayOffset - firstDelay, 0, width);
  }
  const int64_t to = std::min(index + std::max(count, 0), cells);
  cursor = to == cells ? CalibrationCursor{table.seconds + 1, -table.delays}
                       : CalibrationCursor{static_cast<int32_t>(firstSecond + to / width),
                                           static_cast<int32_t>(firstDelay + to % width)};
  return static_cast<int32_t>(to - index);
}

int32_t findCalibrationMatches(const CalibrationTable& table, const uint32_t* seeds, int32_t seedCount,
                               CalibrationCursor& cursor, CalibrationCell* out, int32_t capacity) {
  auto rowMayMatch = [&](uint32_t upper) {
    for (int32_t i = 0; i < seedCount; ++i)
      if ((seeds[i] & 0xFFFF0000u) == upper) return true;
    return false;
  };
  auto isHit = [&](uint32_t seed) {
    for (int32_t i = 0; i < seedCount; ++i)
      if (seeds[i] == seed) return true;
    return false;
  };
  return walkTable(table, cursor, out, capacity, rowMayMatch, isHit);
}

int32_t calibrationAimDelay(const CalibrationTable& table, const CalibrationCell& cell) {
  const int64_t aim = static_cast<int64_t>(table.target.delay) - cell.delayOffset;
  return aim < 0 ? -1 : static_cast<int32_t>(aim);
}
