// Arbitrary typed text through the decimal rule, the seed rule and the hex
// reader, read whole and cut to every buffer length of the window's read table.
// Each result is checked against a model built from the C library: strtoll
// clamped to 32 bits for the decimal rule; for hexadecimal text, the digits
// that stand as characters of their own (not the second byte of a double-byte
// CP932 character, found from the character boundaries cp932CutLength gives)
// read by strtoull, last eight only.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/typed_numbers.h"
#include "text/cp932.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& text, long long got, long long want) {
  std::fprintf(stderr, "fuzz_typed_numbers: %s: text \"%s\" gave %lld, expected %lld\n", what, text.c_str(), got,
               want);
  std::abort();
}

// The decimal rule is atoi with saturation: strtoll (leading white space,
// sign, digits; LLONG_MAX/LLONG_MIN on overflow) clamped to 32 bits.
int32_t decimalModel(const std::string& text) {
  errno = 0;
  long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

bool allHexDigits(const std::string& text) {
  for (char c : text) {
    bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) return false;
  }
  return true;
}

// Only the last eight digits survive value * 16 + digit modulo 2^32.
uint32_t hexModel(const std::string& digits) {
  std::string last = digits.size() > 8 ? digits.substr(digits.size() - 8) : digits;
  if (last.empty()) return 0;
  return static_cast<uint32_t>(std::strtoull(last.c_str(), nullptr, 16));
}

// Any text: a character other than a hexadecimal digit adds nothing, and the
// second byte of a double-byte character is no character of its own. Byte k
// starts a character when a cut after k bytes is not shortened.
uint32_t hexTextModel(const std::string& text) {
  std::string digits;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const bool startsCharacter = cp932CutLength(text, k) == k;
    if (startsCharacter && allHexDigits(text.substr(k, 1))) digits += text[k];
  }
  return hexModel(digits);
}

// Buffer lengths of the window's read table, NUL included: stat edits, species,
// step limit, seeds, hour, frame count, IDs, IV dialog.
struct ReadField {
  int n;
  bool seed;
  int32_t lowest;   // the smallest value n - 1 characters can read as
  int32_t highest;  // the largest
};
constexpr ReadField kReadTable[] = {
    {4, false, -99, 999},         {11, false, -999999999, INT32_MAX}, {5, false, -999, 9999},
    {13, true, INT32_MIN, INT32_MAX}, {3, false, -9, 99},             {7, false, -99999, 999999},
    {6, false, -9999, 99999},     {3, false, -9, 99},
};

void checkText(const std::string& text) {
  const int32_t decimal = parseDecimalText(text.c_str());
  const int32_t want = decimalModel(text);
  if (decimal != want) fail("parseDecimalText", text, decimal, want);

  const uint32_t seed = parseSeedText(text.c_str());
  if (text.size() >= 2 && text[0] == '0' && text[1] == 'x') {
    const std::string rest = text.substr(2);
    if (seed != hexTextModel(rest)) fail("parseSeedText (0x)", text, seed, hexTextModel(rest));
  } else if (seed != static_cast<uint32_t>(want)) {
    fail("parseSeedText (decimal)", text, seed, static_cast<uint32_t>(want));
  }

  const uint32_t hex = parseHexText(text.c_str());
  if (hex != hexTextModel(text)) fail("parseHexText", text, hex, hexTextModel(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A control's text is a C string: it ends at the first NUL.
  std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
  checkText(text);

  for (const ReadField& field : kReadTable) {
    const std::size_t len = cp932CutLength(text, static_cast<std::size_t>(field.n - 1));
    if (len > static_cast<std::size_t>(field.n - 1)) fail("cut longer than n - 1", text, len, field.n - 1);
    const std::string cut = text.substr(0, len);
    checkText(cut);
    if (!field.seed) {
      const int32_t v = parseDecimalText(cut.c_str());
      if (v < field.lowest || v > field.highest) fail("value beyond what n - 1 characters hold", cut, v, field.n);
    }
  }

  // The "0x%08X" text written for a candidate reads back as exactly its value.
  if (size >= 4) {
    uint32_t v = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                 static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    char written[16];
    std::snprintf(written, sizeof written, "0x%08X", v);
    if (parseSeedText(written) != v) fail("0x%08X round trip", written, parseSeedText(written), v);
  }
  return 0;
}
