#include <cstdio>

#include "cli/cli.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#include <vector>

// On Windows the arguments arrive as UTF-16 and are handed on as UTF-8, which
// is what the command line reads everywhere; the console is switched to UTF-8
// output so that the Japanese it prints shows as such.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> utf8(static_cast<std::size_t>(argc));
  std::vector<const char*> args;
  for (int i = 0; i < argc; ++i) {
    int n = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
      utf8[i].resize(static_cast<std::size_t>(n - 1));
      WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8[i].data(), n, nullptr, nullptr);
    }
    args.push_back(utf8[i].c_str());
  }
  args.push_back(nullptr);
  SetConsoleOutputCP(CP_UTF8);
  return runCli(argc, args.data(), stdout, stderr);
}
#else
int main(int argc, char** argv) { return runCli(argc, argv, stdout, stderr); }
#endif
