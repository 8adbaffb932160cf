// The year the egg search is measured on and stopped in: 2026, every hour,
// delays 300..9999 (256 x 24 x 9,700 = 59,596,800 seeds), frames 0..99,
// marriage rerolls, shiny only, TID 12345 and SID 54321. It holds about 3.6
// million hits, so a search of it is long enough to time and to stop.
#pragma once

#include "core/egg_search.h"

inline EggSearchRequest fullYearEggSearch(YearSearchKernel kernel) {
  EggSearchRequest r{};
  r.window.year = 2026;
  r.window.delayMin = 300;
  r.window.delayMax = 9999;
  r.window.hourMask = 0xFFFFFFu;
  r.egg.frameCount = 100;
  r.egg.tid = 12345;
  r.egg.sid = 54321;
  r.egg.internationalMarriage = true;
  r.egg.shinyOnly = true;
  r.kernel = kernel;
  return r;
}
