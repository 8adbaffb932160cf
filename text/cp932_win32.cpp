// The Windows definition of text/cp932.h: code page 932 through
// MultiByteToWideChar and WideCharToMultiByte.
#include <windows.h>

#include "text/cp932.h"

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

const char* cp932ConverterProblem() {
  return IsValidCodePage(932) ? nullptr : "code page 932 is not installed";
}

std::string cp932ToUtf8(std::string_view cp932) { return fromWide(toWide(cp932, 932), CP_UTF8); }
std::string utf8ToCp932(std::string_view utf8) { return fromWide(toWide(utf8, CP_UTF8), 932); }
std::wstring cp932ToUtf16(std::string_view cp932) { return toWide(cp932, 932); }
std::string utf16ToCp932(std::wstring_view utf16) { return fromWide(utf16, 932); }
