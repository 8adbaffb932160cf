// The Windows cues' test seam (ui/win32/win32_sound.cpp).
#pragma once

#include <cstdint>

// A step of the sound's worker that a test makes fail as the system would:
// COM refused to the worker's thread, or no event for the stream to signal.
enum class Win32SoundFault : int32_t { kNone, kComInit, kStreamEvent };

// Test seam: the step fails every time it is taken from now on, until kNone.
void win32SoundFail(Win32SoundFault fault);
