// quillmar-cli.exe with names its ANSI code page cannot hold: run under an
// English code page (1252), it must find pokemon.dat in a Japanese folder,
// look a Japanese species name up, write the egg list under a Japanese file
// name in that folder (and replace it there) with exactly the bytes it writes
// under an ASCII name, and quote such a name intact in its messages.
// Usage: quillmar_cli_unicode_check QUILLMAR_CLI_EXE POKEMON_DAT
// Works in "cli-unicode-check" under the working directory. Exit 0 when all holds.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int gFailures = 0;

void expect(bool holds, const char* what, const std::string& detail = "") {
  std::printf("%s %s%s%s\n", holds ? "ok  " : "FAIL", what, detail.empty() ? "" : ": ", detail.c_str());
  if (!holds) ++gFailures;
}

std::string utf8(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, s.data(), n, nullptr, nullptr);
  return s;
}

std::string readBytes(const std::wstring& path) {
  std::string s;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "(cannot open " + utf8(path) + ")";
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) s.append(buffer, got);
  CloseHandle(h);
  return s;
}

std::string withoutCarriageReturns(std::string s) {
  std::string out;
  for (char c : s) {
    if (c != '\r') out += c;
  }
  return out;
}

struct Run {
  DWORD exitCode;
  std::string out;
  std::string err;
};

// Runs the exe with `args` (each quoted; none ends in a backslash), its
// standard output and error going to files, and waits up to a minute.
Run runCli(const std::wstring& exe, const std::vector<std::wstring>& args, const std::wstring& work) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  for (const std::wstring& a : args) commandLine += L" \"" + a + L"\"";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const std::wstring outPath = work + L"\\stdout.bin";
  const std::wstring errPath = work + L"\\stderr.bin";
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  Run run{9999, "", ""};
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 9998);
      WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  run.out = withoutCarriageReturns(readBytes(outPath));
  run.err = withoutCarriageReturns(readBytes(errPath));
  DeleteFileW(outPath.c_str());
  DeleteFileW(errPath.c_str());
  return run;
}

// The names in a folder, sorted by the file system, as "a b ".
std::string names(const std::wstring& folder) {
  std::string s;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return s;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") s += utf8(name) + " ";
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return s;
}

void removeFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeFolder(folder + L"\\" + name);
      } else {
        DeleteFileW((folder + L"\\" + name).c_str());
      }
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: quillmar_cli_unicode_check QUILLMAR_CLI_EXE POKEMON_DAT\n", stderr);
    return 2;
  }
  const std::wstring exe = argv[1];
  const std::wstring folderName = L"乱数調整のフォルダ";
  const std::wstring fileName = L"結果.txt";

  // The check means something only where the ANSI code page lacks the names.
  BOOL lacks = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, folderName.c_str(), -1, nullptr, 0, nullptr, &lacks);
  expect(lacks == TRUE, "the ANSI code page cannot hold the folder's name", "code page " + std::to_string(GetACP()));
  if (!lacks) return 1;

  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  const std::wstring work = std::wstring(current) + L"\\cli-unicode-check";
  removeFolder(work);
  const std::wstring folder = work + L"\\" + folderName;
  if (!CreateDirectoryW(work.c_str(), nullptr) || !CreateDirectoryW(folder.c_str(), nullptr) ||
      !CopyFileW(argv[2], (folder + L"\\pokemon.dat").c_str(), FALSE)) {
    expect(false, "preparing the Japanese folder");
    return 1;
  }

  // Pikachu's base stats, read from the folder the name names.
  Run species = runCli(exe, {L"species", L"ピカチュウ", L"--dir", folder}, work);
  expect(species.exitCode == 0 && species.out == "35,55,30,90,50,40\n",
         "species ピカチュウ --dir <Japanese folder>", species.out + species.err);

  // The same list under an ASCII name and, twice, under the Japanese one.
  const std::vector<std::wstring> request{L"eggs", L"--seed", L"0x12345678", L"--tid", L"12345", L"--sid",
                                          L"54321", L"--marriage", L"--frames", L"200", L"--out"};
  std::vector<std::wstring> args = request;
  args.push_back(work + L"\\ascii.txt");
  Run ascii = runCli(exe, args, work);
  const std::string list = readBytes(work + L"\\ascii.txt");
  expect(ascii.exitCode == 0 && list.size() > 200 * 20, "eggs --out <ASCII name>", ascii.err);
  for (const char* round :
       {"eggs --out <Japanese folder>\\結果.txt (new)", "eggs --out <Japanese folder>\\結果.txt (replaced)"}) {
    args = request;
    args.push_back(folder + L"\\" + fileName);
    Run japanese = runCli(exe, args, work);
    expect(japanese.exitCode == 0 && readBytes(folder + L"\\" + fileName) == list, round, japanese.err);
  }
  expect(names(folder) == "pokemon.dat 結果.txt ", "the folder holds no temporary", names(folder));

  // A name that cannot be created is quoted in UTF-8, as the console shows it.
  args = request;
  const std::wstring missing = folder + L"\\無い\\" + fileName;
  args.push_back(missing);
  Run refused = runCli(exe, args, work);
  const std::string message = "quillmar-cli: error: cannot create '" + utf8(missing) + "': ";
  expect(refused.exitCode == 1 && refused.err.rfind(message, 0) == 0, "the message quotes the name", refused.err);

  removeFolder(work);
  std::printf("%d failures\n", gFailures);
  return gFailures == 0 ? 0 : 1;
}
