#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "data/output_file.h"
#include "data/output_file_platform.h"

namespace {

constexpr int kTemporaryAttempts = 100;

// The folder part of `path` ("." when it has none, "/" for a name at the root).
void folderOf(const char* path, char (&folder)[kOutputPathBytes]) {
  const char* slash = std::strrchr(path, '/');
  if (slash == nullptr) {
    std::strcpy(folder, ".");
    return;
  }
  const std::size_t length = slash == path ? 1 : static_cast<std::size_t>(slash - path);
  std::memcpy(folder, path, length);
  folder[length] = '\0';
}

// "FOLDER/NAME" becomes "FOLDER/NAME.PID-K.tmp": the same folder, so the final
// rename never crosses a file system. When that name would pass the folder's
// limit on a name's length (255 bytes on most file systems) while NAME itself
// fits, it becomes "FOLDER/.quillmar.PID-K.tmp" instead.
bool temporaryName(const char* target, int attempt, char (&name)[kOutputPathBytes]) {
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, ".%ld-%d.tmp", static_cast<long>(getpid()), attempt);
  char folder[kOutputPathBytes];
  folderOf(target, folder);
  const char* slash = std::strrchr(target, '/');
  const char* base = slash == nullptr ? target : slash + 1;
  long limit = pathconf(folder, _PC_NAME_MAX);
  if (limit <= 0) limit = NAME_MAX;
  int n;
  if (std::strlen(base) + std::strlen(suffix) <= static_cast<std::size_t>(limit)) {
    n = std::snprintf(name, sizeof name, "%s%s", target, suffix);
  } else {
    n = std::snprintf(name, sizeof name, "%.*s.quillmar%s", static_cast<int>(base - target), target, suffix);
  }
  return n > 0 && n < static_cast<int>(sizeof name);
}

OutputResult openDirectly(OutputFile& file, const char* path) {
  file.viaTemporary = false;
  file.stream = std::fopen(path, "w");
  if (file.stream == nullptr) return outputFailure(OutputOutcome::kNotCreated, errno);
  return OutputResult{OutputOutcome::kWritten, 0};
}

}  // namespace

OutputResult openOutputFile(OutputFile& file, const char* path) {
  if (!startOutputFile(file, path)) return outputFailure(OutputOutcome::kNotCreated, ENAMETOOLONG);

  struct stat info;
  const bool exists = stat(path, &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return openDirectly(file, path);
  struct stat link;
  if (lstat(path, &link) == 0 && S_ISLNK(link.st_mode)) {
    // A dangling link is opened as fopen opens it: the file it names is created.
    char resolved[PATH_MAX];
    if (!exists || realpath(path, resolved) == nullptr || std::strlen(resolved) >= sizeof file.target) {
      return openDirectly(file, path);
    }
    std::strcpy(file.target, resolved);
  }

  // Created with 0666 like fopen's files (the umask applies); a file being
  // replaced keeps its permission bits.
  int fd = -1;
  for (int attempt = 0; attempt < kTemporaryAttempts && fd < 0; ++attempt) {
    if (!temporaryName(file.target, attempt, file.temporary)) {
      return outputFailure(OutputOutcome::kNotCreated, ENAMETOOLONG);
    }
    fd = open(file.temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return outputFailure(OutputOutcome::kNotCreated, errno);
  }
  if (fd < 0) return outputFailure(OutputOutcome::kNotCreated, EEXIST);
  if (exists && fchmod(fd, info.st_mode & 07777) != 0) {
    const int error = errno;
    close(fd);
    unlink(file.temporary);
    return outputFailure(OutputOutcome::kNotCreated, error);
  }
  file.stream = fdopen(fd, "w");
  if (file.stream == nullptr) {
    const int error = errno;
    close(fd);
    unlink(file.temporary);
    return outputFailure(OutputOutcome::kNotCreated, error);
  }
  file.viaTemporary = true;
  return OutputResult{OutputOutcome::kWritten, 0};
}

int syncOutputStream(std::FILE* stream) {
  // A file system that cannot sync (EINVAL) has nothing more to bring to disk.
  return fsync(fileno(stream)) == 0 || errno == EINVAL ? 0 : errno;
}

// The new name is an entry of the folder: only a sync of the folder brings it
// to the disk, so that after a crash or a power loss the name holds the new
// complete file rather than the earlier one or nothing. The file is in place
// and complete once rename returns, so a folder that cannot be opened or
// synced (no read permission on it, a file system without sync) is not
// reported: a failure would tell the caller that the earlier file remained.
int replaceWithTemporary(const OutputFile& file) {
  if (std::rename(file.temporary, file.target) != 0) return errno;
  char folder[kOutputPathBytes];
  folderOf(file.target, folder);
  const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return 0;
}

void removeTemporary(const OutputFile& file) { unlink(file.temporary); }
