// Step 11's lines and wild.txt. A creature's line is CP932 text, its columns
// separated by tabs:
//   advance, PID (8 upper-case hex digits), nature, ability slot, gender
//   value, the six IVs separated by spaces, Hidden Power ("TYPE POWER"), ★
//   or empty, slot or "-" (ヒンバス when a Feebas tile gave Feebas), level or
//   "-", the cue of the advance (DPPt "STEP L|M|H", HGSS Elm's letter), and
//   with a rod the bite's range of 100.
// wild.txt holds a header naming the columns and then every kept line of the
// listing, written whole or not at all (data/output_file.h); opening it for
// the player is the caller's part.
// wild-search.txt holds step 12's hits, tab-separated as wild.txt (its header
// line names the columns): SEED, the hit's line (its advance n and wild.txt's
// columns after it), the first moment of the search's year that gives the
// seed ("YYYY/MM/DD HH:MM:SS") and the delay that reaches it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/wild.h"
#include "core/wild_search.h"
#include "data/output_file.h"

inline constexpr char kWildFileName[] = "wild.txt";
inline constexpr char kWildHitFileName[] = "wild-search.txt";

// Room for one line without its line end, NUL included.
inline constexpr int32_t kWildLineCapacity = 128;

// What a listing lists: the encounter, the filter, one seed's advances
// 0..advanceCount - 1, and how HGSS's cue is read.
struct WildListRequest {
  WildEncounter encounter;
  WildFilter filter;
  uint32_t seed;
  int32_t advanceCount;
  bool beforePokerus;
};

// Both settings valid and 1 <= advanceCount <= kLargestWildAdvanceCount.
inline constexpr int32_t kLargestWildAdvanceCount = 1000000;
bool wildListRequestValid(const WildListRequest& request);

// The line of `creature` (met); returns its length.
int32_t formatWildLine(char (&out)[kWildLineCapacity], const WildEncounter& encounter, const WildCreature& creature,
                       bool beforePokerus);

// The header line of wild.txt (CP932, no line end).
const char* wildFileHeader(const WildEncounter& encounter);

// What wild.txt's writing hands back beside the file: its first kept
// creatures (for the screen) and how many lines it wrote.
struct WildFileLines {
  WildCreature* first;  // room for `capacity`
  int32_t capacity;
  int32_t firstCount;   // set
  int32_t total;        // set
};

// The kept lines of a valid request in advance order, each with a line end,
// to an open stream; stops at the first write the stream refuses and returns
// false (errno tells why). `lines` may be null.
bool writeWildLines(std::FILE* out, const WildListRequest& request, WildFileLines* lines);

// wild.txt: the header and every kept line.
OutputResult writeWildFile(const char* path, const WildListRequest& request, WildFileLines& lines);

// wild-search.txt: hits[0..count) of `request`, in their order, the cue read
// for HGSS before Pokérus when `beforePokerus`.
OutputResult writeWildHitFile(const char* path, const WildSearchRequest& request, const WildHit* hits, int32_t count,
                              bool beforePokerus);
