#include "cli/seed_arg.h"

#include "cli/args.h"

bool parseSeedArg(std::string_view text, uint32_t& seed) {
  if (text.size() >= 2 && text[0] == '0' && text[1] == 'x') {
    std::string_view digits = text.substr(2);
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t value = 0;
    for (char c : digits) {
      uint32_t d = 0;
      if (c >= '0' && c <= '9') {
        d = static_cast<uint32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        d = static_cast<uint32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        d = static_cast<uint32_t>(c - 'A' + 10);
      } else {
        return false;
      }
      value = value * 16u + d;
    }
    seed = value;
    return true;
  }
  int64_t value = 0;
  if (!parseIntStrict(text, INT32_MIN, UINT32_MAX, value)) return false;
  seed = static_cast<uint32_t>(value);  // modulo 2^32: -1 is 0xFFFFFFFF
  return true;
}

const char kSeedArgExpected[] =
    "expected \"0x\" and 1..8 hex digits, or a decimal 0..4294967295 (or -2147483648..-1)";
