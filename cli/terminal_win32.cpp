// The Windows definition of cli/terminal.h (the C runtime's console check).
#include <io.h>

#include "cli/terminal.h"

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }
