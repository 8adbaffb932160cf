#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "data/output_file.h"

namespace {

constexpr int kTemporaryAttempts = 100;

OutputResult failure(OutputOutcome outcome, int error) { return OutputResult{outcome, error != 0 ? error : EIO}; }

// "FOLDER/NAME" becomes "FOLDER/NAME.PID-K.tmp": the same folder, so the final
// rename never crosses a file system.
bool temporaryName(const char* target, int attempt, char (&name)[kOutputPathBytes]) {
  int n = std::snprintf(name, sizeof name, "%s.%ld-%d.tmp", target, static_cast<long>(getpid()), attempt);
  return n > 0 && n < static_cast<int>(sizeof name);
}

OutputResult openDirectly(OutputFile& file, const char* path) {
  file.viaTemporary = false;
  file.stream = std::fopen(path, "w");
  if (file.stream == nullptr) return failure(OutputOutcome::kNotCreated, errno);
  return OutputResult{OutputOutcome::kWritten, 0};
}

}  // namespace

OutputResult openOutputFile(OutputFile& file, const char* path) {
  file.stream = nullptr;
  file.viaTemporary = false;
  file.temporary[0] = '\0';
  if (std::strlen(path) >= sizeof file.target) return failure(OutputOutcome::kNotCreated, ENAMETOOLONG);
  std::strcpy(file.target, path);

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
    if (!temporaryName(file.target, attempt, file.temporary)) return failure(OutputOutcome::kNotCreated, ENAMETOOLONG);
    fd = open(file.temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return failure(OutputOutcome::kNotCreated, errno);
  }
  if (fd < 0) return failure(OutputOutcome::kNotCreated, EEXIST);
  if (exists && fchmod(fd, info.st_mode & 07777) != 0) {
    const int error = errno;
    close(fd);
    unlink(file.temporary);
    return failure(OutputOutcome::kNotCreated, error);
  }
  file.stream = fdopen(fd, "w");
  if (file.stream == nullptr) {
    const int error = errno;
    close(fd);
    unlink(file.temporary);
    return failure(OutputOutcome::kNotCreated, error);
  }
  file.viaTemporary = true;
  return OutputResult{OutputOutcome::kWritten, 0};
}

OutputResult closeOutputFile(OutputFile& file, OutputResult writes) {
  OutputResult result = writes;
  if (file.stream == nullptr) return failure(OutputOutcome::kNotCreated, EBADF);
  auto fail = [&result](int error) {
    if (result.outcome == OutputOutcome::kWritten) result = failure(OutputOutcome::kNotWritten, error);
  };
  if (std::fflush(file.stream) != 0) fail(errno);
  if (std::ferror(file.stream)) fail(EIO);
  // The data reaches the disk before the name does, so that a crash cannot
  // leave the name on a file that was never written.
  if (file.viaTemporary && result.outcome == OutputOutcome::kWritten && fsync(fileno(file.stream)) != 0 &&
      errno != EINVAL) {
    fail(errno);
  }
  if (std::fclose(file.stream) != 0) fail(errno);
  file.stream = nullptr;
  if (!file.viaTemporary) return result;
  if (result.outcome == OutputOutcome::kWritten && std::rename(file.temporary, file.target) != 0) fail(errno);
  if (result.outcome != OutputOutcome::kWritten) unlink(file.temporary);
  return result;
}
