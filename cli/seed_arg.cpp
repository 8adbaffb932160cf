#include "cli/seed_arg.h"

#include "cli/args.h"
#include "core/seed_time.h"

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

const char kMomentArgExpected[] =
    "expected \"YYYY-MM-DD HH:MM:SS\" with year 2000..2099, a day that exists, hour 0..23, minute and second 0..59";

namespace {

// Exactly `width` decimal digits at text[pos..].
bool fixedDigits(std::string_view text, std::size_t pos, std::size_t width, int32_t& value) {
  int32_t v = 0;
  for (std::size_t i = pos; i < pos + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  value = v;
  return true;
}

}  // namespace

bool parseMomentArg(std::string_view text, ConsoleMoment& m) {
  if (text.size() != 19) return false;
  if (text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':') return false;
  if (!fixedDigits(text, 0, 4, m.year) || !fixedDigits(text, 5, 2, m.month) || !fixedDigits(text, 8, 2, m.day) ||
      !fixedDigits(text, 11, 2, m.hour) || !fixedDigits(text, 14, 2, m.minute) ||
      !fixedDigits(text, 17, 2, m.second))
    return false;
  ConsoleMoment probe = m;
  probe.delay = 0;
  return isValidMoment(probe);
}

