// Faults of the surroundings: files and folders that are not what the program
// expects. Nothing may crash, report success it did not have, or touch anything
// but the one file it was asked to write. The tests run as root in CI, so
// "cannot be written" is made by the file system's shape (a missing folder, a
// folder where the file should be, a folder that has vanished), never by
// permissions.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "cli_run.h"
#include "core/egg_list.h"
#include "temp_dir.h"

namespace {

AppState gApp;

EggListRequest someRequest() {
  EggListRequest r{};
  r.initialSeed = 0x12345678;
  r.frameCount = 40;
  r.tid = 12345;
  r.sid = 54321;
  r.internationalMarriage = true;
  return r;
}

// Every entry below `root` with its size (-1 for a folder), in a fixed order.
std::string listing(const std::filesystem::path& root) {
  std::string s;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    const bool folder = it->is_directory();
    s += std::filesystem::relative(it->path(), root).generic_string() + ":" +
         std::to_string(folder ? -1 : static_cast<long long>(it->file_size())) + "\n";
  }
  return s;
}

// Restores the working directory when a test has moved it.
struct WorkingDirectoryGuard {
  std::filesystem::path previous = std::filesystem::current_path();
  ~WorkingDirectoryGuard() {
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
  }
};

TEST(FaultResultFile, AFolderNamedResultTxtIsLeftAsItWas) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  std::filesystem::create_directory(dir.path / "result.txt");
  {
    std::FILE* f = std::fopen((dir.path / "result.txt" / "keep.txt").string().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("kept", f);
    std::fclose(f);
  }
  const std::string before = listing(dir.path);

  gApp = AppState{};
  EXPECT_FALSE(writeEggPidListFile(gApp, someRequest(), dir.file("result.txt").c_str()));
  EXPECT_EQ(listing(dir.path), before);
  EXPECT_EQ(readFileBytes((dir.path / "result.txt" / "keep.txt").string()), "kept");

  CliResult r = runCliCaptured({"eggs", "--seed", "1", "--frames", "5", "--out", dir.file("result.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: cannot create", 0), 0u) << r.err;
  EXPECT_EQ(listing(dir.path), before);
}

#ifndef _WIN32  // Windows cannot remove a process's working directory
TEST(FaultWorkingDirectory, VanishedWorkingDirectoryWritesNothing) {
  WorkingDirectoryGuard guard;
  std::filesystem::path gone;
  {
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    gone = dir.path;
    std::filesystem::current_path(dir.path);
  }  // the folder is removed while it is still the working directory
  ASSERT_FALSE(std::filesystem::exists(gone));

  gApp = AppState{};
  EXPECT_FALSE(writeEggPidListFile(gApp, someRequest(), "result.txt"));
  EXPECT_EQ(gApp.eggInitialSeed, 0x12345678u);  // the request is stored before the file is opened

  CliResult r = runCliCaptured({"eggs", "--seed", "0", "--frames", "3"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: cannot create 'result.txt'", 0), 0u) << r.err;

  // Commands that write no file are unaffected.
  r = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "52"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "4回前\t0x12345678");
  EXPECT_FALSE(std::filesystem::exists(gone));
}
#endif

}  // namespace
