// The whole-or-nothing writer's file-system calls on POSIX, seen through
// fsync and rename, which this test program defines over the C library's
// (they record, then call the library's own): the temporary's data reaches
// the disk before the temporary takes the name, and the folder that holds the
// name is synced after the rename, so that the new name survives a crash.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fault_support.h"

namespace {

struct FileSystemCall {
  std::string what;  // "sync-file", "sync-folder" or "rename"
  std::string from;  // the synced descriptor's path, or the renamed name
  std::string to;    // the new name of a rename
  bool operator==(const FileSystemCall&) const = default;
};

bool gRecording = false;
std::vector<FileSystemCall> gCalls;

std::string descriptorPath(int fd) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char path[4096];
  const ssize_t n = readlink(link, path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string("?");
}

// Records the calls of one write.
struct Recorder {
  Recorder() {
    gCalls.clear();
    gRecording = true;
  }
  ~Recorder() { gRecording = false; }
};

}  // namespace

extern "C" int fsync(int fd) {
  using Fsync = int (*)(int);
  static const Fsync library = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
  if (gRecording) {
    struct stat info;
    const bool folder = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    gCalls.push_back({folder ? "sync-folder" : "sync-file", descriptorPath(fd), ""});
  }
  return library(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  using Rename = int (*)(const char*, const char*);
  static const Rename library = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
  if (gRecording) gCalls.push_back({"rename", from, to});
  return library(from, to);
}

namespace {

namespace fs = std::filesystem;

// Writes the list to `path` and expects exactly: the temporary synced, renamed
// to `written` (the file finally holding the list), then `written`'s folder synced.
void expectSyncedAroundTheRename(const std::string& path, const fs::path& written, const std::string& list) {
  std::vector<FileSystemCall> calls;
  {
    Recorder recorder;
    CliResult r = runCliCaptured(eggsTo(path));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    calls = gCalls;
  }
  ASSERT_EQ(calls.size(), 3u) << path;
  const fs::path folder = fs::canonical(fs::absolute(written).parent_path());
  const fs::path temporary = calls[1].from;
  EXPECT_EQ(fs::canonical(fs::absolute(temporary).parent_path()), folder) << temporary;
  EXPECT_EQ(calls[0], (FileSystemCall{"sync-file", (folder / temporary.filename()).string(), ""}));
  EXPECT_EQ(fs::canonical(calls[1].to), fs::canonical(written));
  EXPECT_EQ(calls[2], (FileSystemCall{"sync-folder", folder.string(), ""}));
  EXPECT_EQ(readFileBytes(written.string()), list) << path;
  EXPECT_FALSE(fs::exists(temporary));
}

TEST(OutputFileSync, TheDataIsSyncedBeforeTheRenameAndItsFolderAfter) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string list = runCliCaptured(eggsTo("-")).out;
  ASSERT_FALSE(list.empty());

  // A new name, then the same name replaced.
  expectSyncedAroundTheRename(dir.file("result.txt"), dir.path / "result.txt", list);
  expectSyncedAroundTheRename(dir.file("result.txt"), dir.path / "result.txt", list);

  // A name in the working directory: the working directory is the folder.
  {
    WorkingDirectoryGuard guard;
    fs::current_path(dir.path);
    expectSyncedAroundTheRename("here.txt", dir.path / "here.txt", list);
  }

  // A link into another folder: the file it names is replaced, and that
  // file's folder is the one synced.
  fs::create_directory(dir.path / "elsewhere");
  writeEarlierList(dir.file("elsewhere/real.txt"));
  fs::create_symlink(dir.path / "elsewhere" / "real.txt", dir.path / "link.txt");
  expectSyncedAroundTheRename(dir.file("link.txt"), dir.path / "elsewhere" / "real.txt", list);
  EXPECT_TRUE(fs::is_symlink(dir.path / "link.txt"));
}

// A target whose name is as long as the file system allows, or nearly, is
// written through a shorter temporary in its own folder.
TEST(OutputFileSync, ANameAtTheLengthLimitIsWritten) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const long limit = pathconf(dir.path.c_str(), _PC_NAME_MAX);
  ASSERT_GE(limit, 255) << "the test needs a file system that takes 255-byte names";
  const std::string list = runCliCaptured(eggsTo("-")).out;
  for (std::size_t length : {std::size_t{254}, std::size_t{255}}) {
    const std::string name = std::string(length - 4, 'a') + ".txt";
    expectSyncedAroundTheRename(dir.file(name.c_str()), dir.path / name, list);
    // Written over again: the earlier file is replaced the same way.
    expectSyncedAroundTheRename(dir.file(name.c_str()), dir.path / name, list);
    EXPECT_EQ(names(dir.path), name + " ");
    fs::remove(dir.path / name);
  }
}

}  // namespace
