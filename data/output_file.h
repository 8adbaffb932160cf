// The program's one written file ("result.txt", or quillmar-cli eggs --out
// FILE), written so that it is either complete or not changed at all.
//
// A regular file, or a name not yet taken, is written into a temporary file in
// the same folder, which takes the name only once every byte has been written,
// flushed, synced and closed without error (rename on POSIX, followed by a
// sync of the folder so that the new name survives a crash; MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH on Windows): a failed run
// leaves an earlier complete file as it was and no temporary behind. The
// temporary's name is the target's with a suffix, or a short name of its own
// in the same folder when that would be too long for the file system. A
// symbolic link is followed and the file it names is the one replaced.
// Anything that is not a regular file (a device such as /dev/full, a pipe, a
// folder) is opened directly, as fopen(path, "w") opens it; its errors are
// reported all the same.
//
// Names are as data/named_file.h says (UTF-8 on Windows, opened by their
// UTF-16 names). output_file.cpp holds what every platform shares; opening,
// syncing and the replacement are per platform (output_file_posix.cpp,
// output_file_win32.cpp).
#pragma once

#include <cstdint>
#include <cstdio>

inline constexpr int kOutputPathBytes = 4096;

enum class OutputOutcome : int32_t {
  kWritten,     // complete, under its name
  kNotCreated,  // neither the file nor its temporary could be created; nothing changed
  kNotWritten,  // a write, the flush, the close or the replacement failed; the file is as it was
};

struct OutputResult {
  OutputOutcome outcome;
  int error;  // the errno value of the first failure; 0 with kWritten
};

struct OutputFile {
  std::FILE* stream;                    // text mode; null when not open
  bool viaTemporary;                    // stream writes `temporary`, which replaces `target`
  char target[kOutputPathBytes];        // the name written (a link's destination)
  char temporary[kOutputPathBytes];
};

// Opens `path` for writing in text mode. kNotCreated leaves the stream null.
OutputResult openOutputFile(OutputFile& file, const char* path);

// Flushes and closes the stream and, when `writes` (the outcome of the
// caller's own writes: kWritten, or kNotWritten with the errno of the failed
// write) and the close succeeded, puts the temporary in place. On any failure
// the temporary is removed. Returns the first failure, or kWritten.
OutputResult closeOutputFile(OutputFile& file, OutputResult writes);

// The caller's own writes as closeOutputFile takes them: kWritten when they
// all succeeded, else kNotWritten with errno as the failed write left it
// (call it right after the writes).
OutputResult outputWrites(bool ok);
