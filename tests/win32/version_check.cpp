// Checks the version resource of Windows executables the way Explorer's file
// properties read it (GetFileVersionInfoW / VerQueryValueW): the fixed
// FILEVERSION and PRODUCTVERSION numbers and the FileVersion and
// ProductVersion strings of the language the resource names must all be
// VERSION, and OriginalFilename must be the file's own name.
// Usage: quillmar_version_check VERSION EXE...   Exit 0 when every exe agrees.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int gFailures = 0;

void fail(const wchar_t* exe, const char* what, const std::wstring& got) {
  std::printf("FAIL %ls: %s is '%ls'\n", exe, what, got.c_str());
  ++gFailures;
}

// "MAJOR.MINOR.PATCH" into the four 16-bit fields of VS_FIXEDFILEINFO (the fourth 0).
bool parseVersion(const wchar_t* text, unsigned (&parts)[4]) {
  parts[3] = 0;
  wchar_t tail = 0;
  return std::swscanf(text, L"%u.%u.%u%lc", &parts[0], &parts[1], &parts[2], &tail) == 3;
}

std::wstring queryString(const std::vector<unsigned char>& block, const wchar_t* path) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path, &value, &length) || value == nullptr) return L"(missing)";
  return std::wstring(static_cast<const wchar_t*>(value));
}

void check(const wchar_t* exe, const wchar_t* version, const unsigned (&want)[4]) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(exe, &ignored);
  if (size == 0) {
    fail(exe, "the version resource", L"(missing)");
    return;
  }
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(exe, 0, size, block.data())) {
    fail(exe, "the version resource", L"(unreadable)");
    return;
  }
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
    fail(exe, "VS_FIXEDFILEINFO", L"(missing)");
    return;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  const DWORD wantMs = (want[0] << 16) | want[1];
  const DWORD wantLs = (want[2] << 16) | want[3];
  wchar_t numbers[64];
  std::swprintf(numbers, 64, L"%u.%u.%u.%u / %u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
  if (fixed->dwSignature != 0xFEEF04BDu || fixed->dwFileVersionMS != wantMs || fixed->dwFileVersionLS != wantLs ||
      fixed->dwProductVersionMS != wantMs || fixed->dwProductVersionLS != wantLs)
    fail(exe, "FILEVERSION / PRODUCTVERSION", numbers);

  struct Translation {
    WORD language;
    WORD codePage;
  };
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < sizeof(Translation)) {
    fail(exe, "the translation", L"(missing)");
    return;
  }
  const auto* t = static_cast<const Translation*>(value);
  wchar_t prefix[64];
  std::swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", t->language, t->codePage);
  const std::wstring base(prefix);
  std::wstring fileVersion = queryString(block, (base + L"FileVersion").c_str());
  std::wstring productVersion = queryString(block, (base + L"ProductVersion").c_str());
  std::wstring originalName = queryString(block, (base + L"OriginalFilename").c_str());
  if (fileVersion != version) fail(exe, "FileVersion", fileVersion);
  if (productVersion != version) fail(exe, "ProductVersion", productVersion);
  const wchar_t* slash = std::wcsrchr(exe, L'/');
  const wchar_t* backslash = std::wcsrchr(exe, L'\\');
  const wchar_t* name = slash > backslash ? slash + 1 : (backslash != nullptr ? backslash + 1 : exe);
  if (_wcsicmp(originalName.c_str(), name) != 0) fail(exe, "OriginalFilename", originalName);
  std::printf("%ls: %ls, FileVersion %ls, ProductVersion %ls, OriginalFilename %ls\n", exe, numbers,
              fileVersion.c_str(), productVersion.c_str(), originalName.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  unsigned want[4];
  if (argc < 3 || !parseVersion(argv[1], want)) {
    std::fputs("usage: quillmar_version_check MAJOR.MINOR.PATCH EXE...\n", stderr);
    return 2;
  }
  int agreeing = 0;
  for (int i = 2; i < argc; ++i) {
    int before = gFailures;
    check(argv[i], argv[1], want);
    if (gFailures == before) ++agreeing;
  }
  std::printf("%d of %d executables agree on %ls\n", agreeing, argc - 2, argv[1]);
  return agreeing == argc - 2 ? 0 : 1;
}
