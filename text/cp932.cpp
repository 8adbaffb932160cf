#include "text/cp932.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

std::size_t cp932CutLength(std::string_view s, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t width = (isCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    if (i + width > maxBytes) break;
    i += width;
  }
  return i;
}

#ifdef _WIN32

namespace {
std::wstring toWide(std::string_view in, UINT codePage) {
  if (in.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), w.data(), n);
  return w;
}
std::string fromWide(std::wstring_view w, UINT codePage) {
  if (w.empty()) return {};
  // No "best fit" (e with acute accent as "e"): a character CP932 lacks is "?".
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(codePage, flags, w.data(), static_cast<int>(w.size()), nullptr, 0, fallback, nullptr);
  std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(codePage, flags, w.data(), static_cast<int>(w.size()), s.data(), n, fallback, nullptr);
  return s;
}
}  // namespace

std::string cp932ToUtf8(std::string_view cp932) { return fromWide(toWide(cp932, 932), CP_UTF8); }
std::string utf8ToCp932(std::string_view utf8) { return fromWide(toWide(utf8, CP_UTF8), 932); }
std::wstring cp932ToUtf16(std::string_view cp932) { return toWide(cp932, 932); }
std::string utf16ToCp932(std::wstring_view utf16) { return fromWide(utf16, 932); }

#else

namespace {

std::size_t utf8SequenceLength(unsigned char b) {
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

// Converts with iconv. Where the input cannot be converted, `replacement` is
// written and the offending input unit is skipped: one byte of CP932 (its
// trail byte may start the next character), or one whole UTF-8 sequence.
std::string convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    bool fromUtf8) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  char buf[512];
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  while (left > 0) {
    char* dst = buf;
    std::size_t room = sizeof buf;
    std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      std::size_t skip = fromUtf8 ? utf8SequenceLength(static_cast<unsigned char>(*src)) : 1;
      if (skip > left) skip = left;
      src += skip;
      left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string cp932ToUtf8(std::string_view cp932) { return convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", false); }

std::string utf8ToCp932(std::string_view utf8) { return convert("CP932", "UTF-8", utf8, "?", true); }

#endif
