#include "core/typed_numbers.h"

#include "text/cp932.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Value 0..15 of a hexadecimal digit, or -1 for any other byte.
int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

int32_t parseDecimalText(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (isBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // The magnitude is kept in 64 bits and clamped as soon as it passes the
  // largest value either sign can hold, so no digit count can overflow it.
  constexpr int64_t kLimit = int64_t{1} << 31;  // |INT32_MIN|
  int64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<int32_t>(-magnitude);  // -2^31 at most
  return magnitude >= kLimit ? INT32_MAX : static_cast<int32_t>(magnitude);
}

// Reads up to the terminating NUL. A character that is not a hexadecimal
// digit contributes nothing and is skipped: "12 34" and "12g34" read as 0x1234,
// "-1" after "0x" reads as 1. A double-byte CP932 character is skipped whole,
// so its second byte is never taken for a digit even when it is one of the
// bytes 'A'..'F' or 'a'..'f' (the second byte of "テ" is 'e'). Skipping keeps
// every digit the player typed and never fails; text made only of hexadecimal
// digits reads as value * 16 + digit modulo 2^32, so only the last eight
// digits count.
uint32_t parseHexText(const char* text) {
  uint32_t value = 0;
  if (text == nullptr) return value;
  for (const char* p = text; *p != '\0'; ++p) {
    if (isCp932LeadByte(static_cast<unsigned char>(*p))) {
      if (p[1] == '\0') break;
      ++p;  // the second byte of the character
      continue;
    }
    int digit = hexDigitValue(*p);
    if (digit < 0) continue;
    value = value * 16u + static_cast<uint32_t>(digit);
  }
  return value;
}

uint32_t parseSeedText(const char* text) {
  if (text == nullptr) return 0;
  if (text[0] == '0' && text[1] == 'x') return parseHexText(text + 2);
  return static_cast<uint32_t>(parseDecimalText(text));
}

bool readWholeDecimal(const char* text, int64_t& value) {
  if (text == nullptr) return false;
  const char* p = text;
  while (isBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  int64_t magnitude = 0;
  int digits = 0;
  for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
    if (digits == 18) return false;
    magnitude = magnitude * 10 + (*p - '0');
  }
  while (isBlank(*p)) ++p;
  if (digits == 0 || *p != '\0') return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

bool readTypedSeed(const char* text, uint32_t& seed) {
  if (text == nullptr) return false;
  const char* p = text;
  while (isBlank(*p)) ++p;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    p += 2;
    uint32_t value = 0;
    int digits = 0;
    for (int d = hexDigitValue(*p); d >= 0; d = hexDigitValue(*++p), ++digits) {
      if (digits == 8) return false;
      value = value * 16u + static_cast<uint32_t>(d);
    }
    while (isBlank(*p)) ++p;
    if (digits == 0 || *p != '\0') return false;
    seed = value;
    return true;
  }
  int64_t value = 0;
  if (!readWholeDecimal(p, value) || value < 0 || value > 0xFFFFFFFFll) return false;
  seed = static_cast<uint32_t>(value);
  return true;
}
