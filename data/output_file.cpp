#include "data/output_file.h"

#include <cerrno>
#include <cstring>

#include "data/output_file_platform.h"

bool startOutputFile(OutputFile& file, const char* path) {
  file.stream = nullptr;
  file.viaTemporary = false;
  file.temporary[0] = '\0';
  if (std::strlen(path) >= sizeof file.target) return false;
  std::strcpy(file.target, path);
  return true;
}

OutputResult outputWrites(bool ok) {
  return ok ? OutputResult{OutputOutcome::kWritten, 0} : OutputResult{OutputOutcome::kNotWritten, errno};
}

OutputResult closeOutputFile(OutputFile& file, OutputResult writes) {
  OutputResult result = writes;
  if (file.stream == nullptr) return outputFailure(OutputOutcome::kNotCreated, EBADF);
  auto fail = [&result](int error) {
    if (result.outcome == OutputOutcome::kWritten) result = outputFailure(OutputOutcome::kNotWritten, error);
  };
  if (std::fflush(file.stream) != 0) fail(errno);
  if (std::ferror(file.stream)) fail(EIO);
  // The data reaches the disk before the name does, so that a crash cannot
  // leave the name on a file that was never written.
  if (file.viaTemporary && result.outcome == OutputOutcome::kWritten) {
    if (int error = syncOutputStream(file.stream)) fail(error);
  }
  if (std::fclose(file.stream) != 0) fail(errno);
  file.stream = nullptr;
  if (!file.viaTemporary) return result;
  if (result.outcome == OutputOutcome::kWritten) {
    if (int error = replaceWithTemporary(file)) fail(error);
  }
  if (result.outcome != OutputOutcome::kWritten) removeTemporary(file);
  return result;
}
