// The one writer of the year searches' hit files (core/egg_files.h,
// core/wild_files.h): a header line, then one line per hit, the kind's
// columns first and the hit's first moment of the search's year and the
// delay that reaches its seed last, the columns separated by one character
// (a comma or a tab, as the kind's other files). Written whole or not at
// all (data/output_file.h).
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/year_search.h"
#include "data/output_file.h"

// "<sep>YYYY/MM/DD HH:MM:SS<sep>D" and the line end: the first moment of
// `year` that gives `seed` and the delay that reaches it.
inline bool writeHitMoment(std::FILE* out, char separator, uint32_t seed, int32_t year) {
  ConsoleMoment m{};
  yearHitMoment(seed, year, m);
  return std::fprintf(out, "%c%04d/%02d/%02d %02d:%02d:%02d%c%d\n", separator, m.year, m.month, m.day, m.hour,
                      m.minute, m.second, separator, m.delay) > 0;
}

// "SEED", the separator and `header` (the kind's columns and the moment's,
// separated as the lines are), then per hit line(out, hit) (its seed and the
// kind's columns) and its moment.
template <typename Hit, typename Line>
OutputResult writeHitFile(const char* path, char separator, const char* header, int32_t year, const Hit* hits,
                          int32_t count, Line line) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "SEED%c%s\n", separator, header) > 0;
  for (int32_t i = 0; i < count && ok; ++i) {
    ok = line(file.stream, hits[i]) && writeHitMoment(file.stream, separator, hits[i].seed, year);
  }
  return closeOutputFile(file, outputWrites(ok));
}
