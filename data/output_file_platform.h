// The parts of data/output_file.h that each platform provides
// (output_file_posix.cpp, output_file_win32.cpp); output_file.cpp holds the rest.
#pragma once

#include <cerrno>

#include "data/output_file.h"

// A failure with its errno value (EIO when the library left none).
inline OutputResult outputFailure(OutputOutcome outcome, int error) {
  return OutputResult{outcome, error != 0 ? error : EIO};
}

// Empties `file` and takes `path` as its target; false when the path is too
// long to hold.
bool startOutputFile(OutputFile& file, const char* path);

// Brings the stream's written data to the disk; 0 or an errno value.
int syncOutputStream(std::FILE* stream);

// Gives the closed temporary the target's name, replacing what was there;
// 0 or an errno value.
int replaceWithTemporary(const OutputFile& file);

// Removes the temporary of a failed run.
void removeTemporary(const OutputFile& file);
