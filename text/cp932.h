// CP932 (Windows code page 932) is quillmar's one internal text encoding; these
// are the only conversions to and from it, used at the edges (window backends,
// command line). The build picks one definition of them per platform:
// text/cp932_posix.cpp (glibc iconv "CP932", never "SHIFT_JIS", whose table
// lacks the full-width tilde of "3～4") or text/cp932_win32.cpp (code page 932).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// True for a byte that starts a double-byte CP932 character.
constexpr bool isCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Length of the longest prefix of `s` that holds at most `maxBytes` bytes and
// does not end in the first half of a double-byte character.
constexpr std::size_t cp932CutLength(std::string_view s, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t width = (isCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    if (i + width > maxBytes) break;
    i += width;
  }
  return i;
}

// Copies that prefix of `s` for n - 1 bytes into `buffer`, ends it with a NUL
// and returns its length: a control's text as the window reads it. n >= 1.
inline int32_t copyCp932Cut(std::string_view s, char* buffer, int32_t n) {
  std::size_t length = cp932CutLength(s, static_cast<std::size_t>(n - 1));
  std::memcpy(buffer, s.data(), length);
  buffer[length] = '\0';
  return static_cast<int32_t>(length);
}

// Why the conversions below cannot be made on this system (a C library
// without the "CP932" converter, a Windows without code page 932), or nullptr
// when they can. Without a converter every conversion would give empty text
// and every label and name would silently vanish, so the window and the
// command line ask once at start and refuse to run.
const char* cp932ConverterProblem();

// CP932 -> UTF-8. Bytes that are not valid CP932 become U+FFFD.
std::string cp932ToUtf8(std::string_view cp932);

// UTF-8 -> CP932. Characters CP932 lacks (and invalid UTF-8) become "?".
std::string utf8ToCp932(std::string_view utf8);

// CP932 <-> UTF-16, defined by the Windows build only, for the Win32 backend,
// which calls the W functions so that the Japanese shows on every Windows
// whatever its ANSI code page. Characters CP932 lacks become "?"; invalid CP932
// bytes become the code page's default character.
std::wstring cp932ToUtf16(std::string_view cp932);
std::string utf16ToCp932(std::wstring_view utf16);
