// Whether a stream is an interactive terminal: progress is shown only there,
// so that redirected output and logs stay free of it. And Ctrl-C taken as a
// request rather than an end, for a countdown that must clean its line.
#pragma once

#include <cstdio>

bool isTerminal(std::FILE* stream);

// Between watchInterrupt() and unwatchInterrupt(), Ctrl-C (SIGINT on POSIX,
// the console's Ctrl-C and Ctrl-Break events on Windows) no longer ends the
// program: it sets the flag interruptRequested() reads. watchInterrupt()
// clears the flag; unwatchInterrupt() puts back what Ctrl-C did before.
void watchInterrupt();
bool interruptRequested();
void unwatchInterrupt();
