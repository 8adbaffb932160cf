// Opening a file by the name the program holds for it. A name is the bytes
// of a POSIX path; on Windows it is UTF-8 (quillmar-cli.exe turns its UTF-16
// command line into UTF-8, and the window's own names are ASCII) and the file
// is opened by its UTF-16 name, so that every name Windows can hold works
// whatever the ANSI code page: a Japanese folder on a Windows set to English.
#pragma once

#include <cstdio>

// fopen(path, mode) by that name; nullptr with errno set when it fails (on
// Windows also for a name that is not valid UTF-8: EINVAL).
std::FILE* openNamedFile(const char* path, const char* mode);
