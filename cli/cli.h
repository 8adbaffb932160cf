// quillmar-cli: every step of the calculator from the command line.
// Output on `out` is UTF-8; errors go to `err` as "quillmar-cli: error: ...":
// exit code 2 and nothing on `out` for a malformed argument, 1 for a request
// that could not be carried out (a name not found, a data file that cannot be
// read, a file or `out` itself that could not be written whole).
#pragma once

#include <cstdio>

int runCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

// The same, with `in` as standard input (read only by options given "-").
int runCli(int argc, const char* const* argv, std::FILE* in, std::FILE* out, std::FILE* err);
