// Whether a stream is an interactive terminal: progress is shown only there,
// so that redirected output and logs stay free of it.
#pragma once

#include <cstdio>

bool isTerminal(std::FILE* stream);
