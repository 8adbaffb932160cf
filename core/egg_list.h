// Step 4: egg PIDs from the Mersenne Twister, with the international-marriage
// rerolls and the player's filters, as the CP932 text of "result.txt".
#pragma once

#include <cstdint>
#include <cstdio>

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
};

// Stores the request's values in AppState, seeds AppState.mt, opens `path` for
// writing in text mode and writes the header and one line per kept frame.
// Returns false, having written nothing, when the file cannot be created.
// Opening the file for the player is the caller's part.
bool writeEggPidListFile(AppState& app, const EggListRequest& request, const char* path);

// The same list written to an already open stream (stdout, a memory stream).
void writeEggPidList(AppState& app, const EggListRequest& request, std::FILE* out);

// The same list with one printf-style write per line: the measure of the bytes
// the two writers above must produce, kept for tests and benchmarks.
void writeEggPidListStraightforward(AppState& app, const EggListRequest& request, std::FILE* out);
