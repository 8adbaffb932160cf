// quillmar-cli: every step of the calculator from the command line.
// Output on `out` is UTF-8; errors go to `err` as "quillmar-cli: error: ..."
// with exit code 2 and nothing on `out`.
#pragma once

#include <cstdio>

int runCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
