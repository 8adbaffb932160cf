// How typed text becomes a number: one rule for every field of the window.
// No text is ever rejected.
#pragma once

#include <cstdint>

// Decimal rule: leading white space, an optional '+' or '-', then decimal digits
// up to the first other character. No digits (the empty text too) reads as 0.
// Values beyond the signed 32-bit range saturate at 2147483647 / -2147483648.
int32_t parseDecimalText(const char* text);

// Hexadecimal digits, value = value * 16 + digit modulo 2^32 (so only the last
// eight digits count). The treatment of non-hex characters is documented at the
// definition.
uint32_t parseHexText(const char* text);

// A typed seed: "0x" (lower-case x only) followed by hexadecimal; anything else
// is the 32-bit pattern of the decimal rule ("-1" is 0xFFFFFFFF, "0X10" is 0).
uint32_t parseSeedText(const char* text);

// The strict forms a field is checked against before its number is used:
// white space around, then an optional sign and 1 to 18 decimal digits;
// nothing else (the empty text is not a number).
bool readWholeDecimal(const char* text, int64_t& value);

// A seed as the screens show it: "0x" or "0X" and 1 to 8 hexadecimal digits,
// or decimal 0..4294967295, with white space around; nothing else.
bool readTypedSeed(const char* text, uint32_t& seed);
