// quillmar.exe: the Windows entry point (GUI subsystem). The command line is
// not used; the data files are read from the working directory.
#include <windows.h>

#include "ui/win32/win32_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) { return win32Main(instance, showCommand); }
