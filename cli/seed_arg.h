// The strict form of a typed seed on the command line.
#pragma once

#include <cstdint>
#include <string_view>

// "0x" (lower-case x) and 1..8 hexadecimal digits of either case, or a decimal
// -2147483648..2147483647 taken as its 32-bit pattern ("-1" is 0xFFFFFFFF).
// Every accepted text reads as the window reads it; texts the window would
// silently change ("0X10", "0x", nine or more hex digits, other characters
// after "0x", a decimal the window would saturate) are rejected.
bool parseSeedArg(std::string_view text, uint32_t& seed);
