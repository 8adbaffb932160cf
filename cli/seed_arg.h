// The strict form of a typed seed on the command line.
#pragma once

#include <cstdint>
#include <string_view>

#include "state/app_state.h"

// "0x" (lower-case x) and 1..8 hexadecimal digits of either case, or a decimal
// 0..4294967295 (every 32-bit value), or a negative decimal down to
// -2147483648 taken as its 32-bit pattern ("-1" is 0xFFFFFFFF). Texts that are
// no 32-bit value or that the window would silently change ("0X10", "0x", nine
// or more hex digits, other characters after "0x") are rejected. A decimal
// above 2147483647 is the one text the window reads otherwise: its field
// saturates it at 0x7FFFFFFF.
bool parseSeedArg(std::string_view text, uint32_t& seed);

// The end of the message for a rejected seed: "expected ...".
extern const char kSeedArgExpected[];

// A moment of the console's clock, exactly "YYYY-MM-DD HH:MM:SS" with every
// field in range (year 2000..2099, a day that exists in that month of that
// year, hour 0..23, minute and second 0..59). The delay is left alone.
bool parseMomentArg(std::string_view text, ConsoleMoment& moment);

// The end of the message for a rejected moment: "expected ...".
extern const char kMomentArgExpected[];
