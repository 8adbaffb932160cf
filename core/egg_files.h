// The files the aim-first egg steps write beside result.txt (core/egg_list.h)
// and timer.txt (core/timer_file.h): CP932 text, comma-separated, each written
// whole or not at all (data/output_file.h). Opening a file for the player is
// the caller's part.
//   search.txt      step 5's hits:  SEED,<result.txt's header>,<moment>,<delay>
//                   then per hit its seed, its line of the egg list (as
//                   result.txt shows that frame for that seed), its first
//                   moment of the search's year and the delay that reaches it
//   ivs.txt         step 9's listing: <n>,<H>,<A>,<B>,<S>,<C>,<D> a line, an
//                   inherited IV with its parent's letter ("31A")
//   ivs-search.txt  step 10's hits: SEED, n, the six IVs as ivs.txt writes
//                   them, the first moment and the delay
//   id-search.txt   step 14's hits: SEED, TID, SID, the first moment and the
//                   delay
#pragma once

#include <cstdint>

#include "core/egg_iv_search.h"
#include "core/egg_ivs.h"
#include "core/egg_search.h"
#include "core/trainer_ids.h"
#include "data/output_file.h"

inline constexpr char kEggHitFileName[] = "search.txt";
inline constexpr char kEggIvFileName[] = "ivs.txt";
inline constexpr char kEggIvHitFileName[] = "ivs-search.txt";
inline constexpr char kIdHitFileName[] = "id-search.txt";

// The six IVs as the files' six columns: "31A,20,31B,5,31A,8".
void formatEggIvColumns(char (&out)[kEggIvsTextCapacity], const EggIvs& ivs);

// search.txt: hits[0..count) of `request`, in their order.
OutputResult writeEggHitFile(const char* path, const EggSearchRequest& request, const EggHit* hits, int32_t count);

// ivs-search.txt: hits[0..count) of `request`, in their order.
OutputResult writeEggIvHitFile(const char* path, const EggIvSearchRequest& request, const EggIvHit* hits,
                               int32_t count);

// id-search.txt: hits[0..count) of `request`, in their order.
OutputResult writeIdHitFile(const char* path, const IdSearchRequest& request, const IdHit* hits, int32_t count);

// What ivs.txt's writing hands back beside the file: its first lines (for the
// screen) and how many lines it wrote in all.
struct EggIvFileLines {
  EggIvLine* first;  // room for `capacity` lines
  int32_t capacity;
  int32_t firstCount;  // set: lines put into first[] (0 when the file could not be opened)
  int32_t total;       // set: lines of the listing written
};

// ivs.txt: every line of the listing of `request`.
OutputResult writeEggIvFile(const char* path, const EggIvListRequest& request, EggIvFileLines& lines);
