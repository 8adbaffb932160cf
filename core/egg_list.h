// Step 4: egg PIDs from the Mersenne Twister, with the international-marriage
// rerolls and the player's filters, as the CP932 text of "result.txt".
#pragma once

#include <cstdint>
#include <cstdio>

#include "data/output_file.h"
#include "state/app_state.h"

struct EggListRequest {
  uint32_t initialSeed;
  int32_t frameCount;
  int32_t tid;
  int32_t sid;
  bool internationalMarriage;
  bool shinyOnly;      // keep only frames whose final PID is shiny
  int natureChoice;    // 0 = no filter, k = 1..25 keeps NatureIndex k - 1
  int genderChoice;    // 0 = no filter, k = 1..8 keeps GenderFilter(k - 1, g)
  int abilityChoice;   // 0 = no filter, 1 or 2 keeps that AbilitySlot
  // The nature an Everstone passes (0..24): each frame's PID is then the
  // first output at or after it with that nature (core/everstone.h); -1: none.
  int everstoneNature = -1;
};

// Whether the list keeps a frame whose final PID (after any rerolls) is `pid`,
// shiny or not: the request's shiny, nature, gender and ability filters.
bool eggFrameKept(const EggListRequest& request, uint32_t pid, bool shiny);

// Room for one frame line of the list without its line end, NUL included.
inline constexpr int kEggFrameLineCapacity = 96;

// Writes the list's line for frame `frame` whose final PID is `pid` (CP932, no
// line end, NUL-terminated) into `out` and returns its length.
int formatEggFrameLine(char (&out)[kEggFrameLineCapacity], int32_t frame, uint32_t pid, bool shiny);

// Stores the request in eggList (the filter choices in its settings),
// seeds its mt, opens `path` for writing in text mode and writes
// the header and one line per kept frame.
// The file is complete when the outcome is kWritten; otherwise it is as it was
// before the call (see data/output_file.h) and the result says why. Opening
// the file for the player is the caller's part.
OutputResult writeEggPidListFile(EggListState& eggList, const EggListRequest& request, const char* path);

// The same list written to an already open stream (stdout, a memory stream).
// Stops at the first write the stream refuses and returns false (errno tells
// why); a stream's own buffer may still hold a failure its flush will report.
bool writeEggPidList(EggListState& eggList, const EggListRequest& request, std::FILE* out);
