// The POSIX definition of cli/terminal.h.
#include <unistd.h>

#include "cli/terminal.h"

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }
