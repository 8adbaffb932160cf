// Arbitrary bytes as CP932 and as UTF-16 through the text conversions and the
// byte cut with which a control's text is read into an n-byte buffer. Whatever
// goes in: UTF-8 out is valid UTF-8, CP932 out is valid CP932, and a cut holds
// at most n - 1 bytes, never ends in the first half of a double-byte
// character, and is the longest such prefix.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/cp932.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& bytes) {
  std::fprintf(stderr, "fuzz_cp932_cut: %s:", what);
  for (unsigned char c : bytes) std::fprintf(stderr, " %02X", c);
  std::fputc('\n', stderr);
  std::abort();
}

bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Well-formed CP932: every lead byte is followed by a trail byte.
bool validCp932(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!isLead(static_cast<unsigned char>(s[i]))) continue;
    if (i + 1 >= s.size() || !isTrail(static_cast<unsigned char>(s[i + 1]))) return false;
    ++i;
  }
  return true;
}

// Well-formed UTF-8 (RFC 3629): shortest forms, no surrogates, at most U+10FFFF.
bool validUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t len;
    uint32_t cp;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
      cp = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      cp = b & 0x0Fu;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      cp = b & 0x07u;
    } else {
      return false;
    }
    if (i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const unsigned char c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0u) != 0x80u) return false;
      cp = cp << 6 | (c & 0x3Fu);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

// UTF-16 (little-endian code units) to UTF-8 as a platform's text would arrive.
// A lone surrogate is encoded as its own three bytes, which is not valid
// UTF-8: the converter must cope with that too.
std::string utf16ToUtf8(const uint8_t* data, std::size_t size) {
  std::string out;
  auto put = [&out](uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | cp >> 6);
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | cp >> 12);
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | cp >> 18);
      out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  };
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    uint32_t u = static_cast<uint32_t>(data[i]) | static_cast<uint32_t>(data[i + 1]) << 8;
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < size) {
      uint32_t v = static_cast<uint32_t>(data[i + 2]) | static_cast<uint32_t>(data[i + 3]) << 8;
      if (v >= 0xDC00 && v <= 0xDFFF) {
        put(0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
        i += 2;
        continue;
      }
    }
    put(u);
  }
  return out;
}

// Character boundaries of CP932 text as a reader walking from the start sees
// them (a lead byte at the very end stands alone).
bool isBoundary(const std::string& s, std::size_t pos) {
  std::size_t i = 0;
  while (i < pos) i += (isLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  return i == pos;
}

// Every buffer length of the read table and a few beyond it.
void checkCuts(const std::string& s) {
  for (std::size_t n = 1; n <= 16; ++n) {
    const std::size_t len = cp932CutLength(s, n - 1);
    if (len > n - 1 || len > s.size()) fail("cut longer than n - 1", s);
    if (!isBoundary(s, len)) fail("cut splits a double-byte character", s);
    // Longest: the next character would not have fitted.
    if (len < s.size()) {
      const std::size_t next = (isLead(static_cast<unsigned char>(s[len])) && len + 1 < s.size()) ? 2 : 1;
      if (len + next <= n - 1) fail("cut shorter than it needs to be", s);
    }
    const std::string cut = s.substr(0, len);
    if (validCp932(s) && !validCp932(cut)) fail("cut of valid text is not valid CP932", s);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // The bytes as CP932 text.
  const std::string utf8 = cp932ToUtf8(bytes);
  if (!validUtf8(utf8)) fail("cp932ToUtf8 gave invalid UTF-8", bytes);
  const std::string back = utf8ToCp932(utf8);
  if (!validCp932(back)) fail("utf8ToCp932 gave invalid CP932", bytes);
  // What converted cleanly comes back the same after one more round.
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos && cp932ToUtf8(back) != utf8)
    fail("CP932 -> UTF-8 -> CP932 -> UTF-8 changed the text", bytes);
  checkCuts(bytes);
  checkCuts(back);

  // The bytes as UTF-16 text, as a platform's edit control delivers it.
  const std::string fromUtf16 = utf8ToCp932(utf16ToUtf8(data, size));
  if (!validCp932(fromUtf16)) fail("UTF-16 -> CP932 gave invalid CP932", bytes);
  checkCuts(fromUtf16);

  // The bytes as UTF-8 text.
  const std::string fromUtf8 = utf8ToCp932(bytes);
  if (!validCp932(fromUtf8)) fail("UTF-8 -> CP932 gave invalid CP932", bytes);
  if (!validUtf8(cp932ToUtf8(fromUtf8))) fail("CP932 from UTF-8 does not convert back to valid UTF-8", bytes);
  return 0;
}
