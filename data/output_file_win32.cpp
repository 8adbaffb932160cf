#include <windows.h>

#include <io.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

#include "data/output_file.h"
#include "data/output_file_platform.h"

namespace {

// The errno value closest to a Windows error code, for the messages.
int errnoOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    default:
      return EIO;
  }
}

// Names are UTF-8 (data/named_file.h); the W functions get them in UTF-16.
bool toWide(const char* path, wchar_t (&wide)[kOutputPathBytes]) {
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, kOutputPathBytes) > 0;
}
bool fromWide(const wchar_t* wide, char (&path)[kOutputPathBytes]) {
  return WideCharToMultiByte(CP_UTF8, 0, wide, -1, path, kOutputPathBytes, nullptr, nullptr) > 0;
}

// True when `path` names an existing file that is not a regular file on a
// disk: a folder, or a device such as NUL or CON.
bool namesSomethingElse(const wchar_t* path) {
  HANDLE h = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool other = GetFileType(h) != FILE_TYPE_DISK;
  BY_HANDLE_FILE_INFORMATION info;
  if (!other && GetFileInformationByHandle(h, &info)) other = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  CloseHandle(h);
  return other;
}

}  // namespace

OutputResult openOutputFile(OutputFile& file, const char* path) {
  if (!startOutputFile(file, path)) return outputFailure(OutputOutcome::kNotCreated, ENAMETOOLONG);
  wchar_t wide[kOutputPathBytes];
  if (!toWide(path, wide)) return outputFailure(OutputOutcome::kNotCreated, EINVAL);
  if (namesSomethingElse(wide)) {
    file.stream = _wfopen(wide, L"w");
    if (file.stream == nullptr) return outputFailure(OutputOutcome::kNotCreated, errno);
    return OutputResult{OutputOutcome::kWritten, 0};
  }

  // The temporary goes into the target's folder, so that the move never
  // crosses a volume. GetTempFileNameW creates it, under a name of its own.
  wchar_t folder[kOutputPathBytes];
  std::wcscpy(folder, wide);
  wchar_t* slash = nullptr;
  for (wchar_t* p = folder; *p != L'\0'; ++p) {
    if (*p == L'\\' || *p == L'/') slash = p;
  }
  if (slash == nullptr) {
    std::wcscpy(folder, L".");
  } else {
    slash[1] = L'\0';
  }
  wchar_t temporary[kOutputPathBytes];
  if (GetTempFileNameW(folder, L"qmr", 0, temporary) == 0) {
    return outputFailure(OutputOutcome::kNotCreated, errnoOf(GetLastError()));
  }
  file.stream = _wfopen(temporary, L"w");
  if (file.stream == nullptr || !fromWide(temporary, file.temporary)) {
    const int error = errno;
    if (file.stream != nullptr) std::fclose(file.stream);
    file.stream = nullptr;
    DeleteFileW(temporary);
    return outputFailure(OutputOutcome::kNotCreated, error);
  }
  file.viaTemporary = true;
  return OutputResult{OutputOutcome::kWritten, 0};
}

int syncOutputStream(std::FILE* stream) { return _commit(_fileno(stream)) == 0 ? 0 : errno; }

// Both names were converted from UTF-16 or to it before: they convert back.
int replaceWithTemporary(const OutputFile& file) {
  wchar_t temporary[kOutputPathBytes];
  wchar_t target[kOutputPathBytes];
  toWide(file.temporary, temporary);
  toWide(file.target, target);
  if (MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  return errnoOf(GetLastError());
}

void removeTemporary(const OutputFile& file) {
  wchar_t temporary[kOutputPathBytes];
  toWide(file.temporary, temporary);
  DeleteFileW(temporary);
}
