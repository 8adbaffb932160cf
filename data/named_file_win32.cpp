#include <windows.h>

#include <cerrno>
#include <string>

#include "data/named_file.h"

namespace {

// An ASCII mode ("w", "rb") as UTF-16.
std::wstring wideMode(const char* mode) {
  std::wstring wide;
  for (const char* c = mode; *c != '\0'; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return wide;
}

}  // namespace

std::FILE* openNamedFile(const char* path, const char* mode) {
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
  if (n <= 0) {
    errno = EINVAL;
    return nullptr;
  }
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), n);
  return _wfopen(wide.c_str(), wideMode(mode).c_str());
}
