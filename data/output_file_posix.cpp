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

// "FOLDER/NAME" becomes "FOLDER/NAME.PID-K.tmp": the same folder, so the final
// rename never crosses a file system.
bool temporaryName(const char* target, int attempt, char (&name)[kOutputPathBytes]) {
  int n = std::snprintf(name, sizeof name, "%s.%ld-%d.tmp", target, static_cast<long>(getpid()), attempt);
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

int replaceWithTemporary(const OutputFile& file) {
  return std::rename(file.temporary, file.target) == 0 ? 0 : errno;
}

void removeTemporary(const OutputFile& file) { unlink(file.temporary); }
