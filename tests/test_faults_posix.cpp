// Write faults made with POSIX means: links and permission bits, a full
// device, a file-size limit, a read-only folder and a closed standard output,
// the last three in a child process.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fault_support.h"
#include "tests/deadline.h"

namespace {

AppState gApp;

TEST(FaultWrite, ALinkIsFollowedAndAReplacedFileKeepsItsPermissionBits) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  CliResult straight = runCliCaptured(eggsTo("-"));
  // A link is followed: the file it names gets the list, the link stays, and
  // a replaced file keeps its permission bits.
  const std::string real = dir.file("real.txt");
  writeEarlierList(real);
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  std::filesystem::create_symlink(real, dir.path / "link.txt");
  CliResult r = runCliCaptured(eggsTo(dir.file("link.txt")));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path / "link.txt"));
  EXPECT_EQ(readFileBytes(real), straight.out);
  struct stat info;
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(FaultWrite, AFullDeviceIsAFailureForTheListAndForStandardOutput) {
  gApp = AppState{};
  OutputResult direct = writeEggPidListFile(gApp.eggList, someRequest(), "/dev/full");
  EXPECT_EQ(direct.outcome, OutputOutcome::kNotWritten);
  EXPECT_EQ(direct.error, ENOSPC);

  CliResult r = runCliCaptured(eggsTo("/dev/full"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "quillmar-cli: error: writing '/dev/full': No space left on device\n");

  // Standard output on /dev/full: short output (pid), long output (the list
  // with '-') and help text alike.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"pid", "--ivs", "10,12,22,0,7,29", "--nature", "15"}, eggsTo("-"),
        std::vector<std::string>{"--help"}}) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::FILE* err = std::tmpfile();
    std::vector<const char*> argv{"quillmar-cli"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    const int rc = runCli(static_cast<int>(argv.size()), argv.data(), full, err);
    std::fclose(full);
    EXPECT_EQ(rc, 1) << args[0];
    EXPECT_EQ(readAll(err), "quillmar-cli: error: writing standard output: No space left on device\n") << args[0];
  }
}

// The window hands the viewer nothing when result.txt is a device that
// refuses the list.
TEST_F(WindowFaultTest, OutputThatCannotBeWrittenOpensNothing) {
  WorkingDirectoryGuard guard;
  std::filesystem::create_symlink("/dev/full", dir_ / "result.txt");
  std::filesystem::current_path(dir_);
  start();
  command(kCmdScreenTwo);
  typeEggRequest();
  command(kCmdOutput);
  EXPECT_TRUE(fake().openedDocuments.empty());
}

struct ChildRun {
  int exitCode;     // -1 when the child did not exit normally
  std::string err;  // what it printed on standard error
};

// Runs quillmar-cli in a child process after `prepare` has shaped its
// surroundings (limits, user, descriptors); standard error is captured.
template <typename Prepare>
ChildRun runCliInChild(const std::vector<std::string>& args, Prepare prepare) {
  std::FILE* err = std::tmpfile();
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fileno(err), 2);
    prepare();
    std::vector<const char*> argv{"quillmar-cli"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    const int rc = runCli(static_cast<int>(argv.size()), argv.data(), stdout, stderr);
    std::fflush(stderr);
    _exit(rc);
  }
  int status = 0;
  if (!waitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
    ADD_FAILURE() << "the child did not end: killed";
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  return ChildRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(err)};
}

TEST(FaultWrite, AFileSizeLimitKeepsTheEarlierCompleteList) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string path = dir.file("result.txt");
  const std::string earlier = writeEarlierList(path);
  auto limit8KiB = [] {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    struct rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
  };
  ChildRun r = runCliInChild(eggsTo(path), limit8KiB);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "quillmar-cli: error: writing '" + path + "': File too large\n");
  EXPECT_EQ(readFileBytes(path), earlier);
  EXPECT_EQ(names(dir.path), "result.txt ");

  // The same list on standard output, redirected to a file under the limit.
  const std::string shown = dir.file("shown.txt");
  r = runCliInChild(eggsTo("-"), [&] {
    limit8KiB();
    std::FILE* f = std::freopen(shown.c_str(), "w", stdout);
    if (f == nullptr) _exit(99);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "quillmar-cli: error: writing standard output: File too large\n");
}

TEST(FaultWrite, AReadOnlyFolderKeepsTheEarlierListAndHoldsNoTemporary) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string path = dir.file("result.txt");
  const std::string earlier = writeEarlierList(path);
  // The earlier file itself is writable by anyone: only the folder is read-only.
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(chmod(dir.path.c_str(), 0555), 0);
  ChildRun r = runCliInChild(eggsTo(path), [] {
    // Root writes anywhere: the run is made as an ordinary user instead.
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(98);
  });
  chmod(dir.path.c_str(), 0755);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: cannot create '" + path + "': Permission denied", 0), 0u) << r.err;
  EXPECT_EQ(readFileBytes(path), earlier);
  EXPECT_EQ(names(dir.path), "result.txt ");
}

TEST(FaultWrite, AClosedStandardOutputIsAFailure) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"pid", "--ivs", "10,12,22,0,7,29", "--nature", "15"},
        std::vector<std::string>{"seeds", "--seed", "0x2684AD1F", "--hour", "3"},
        std::vector<std::string>{"species", "--help"}}) {
    ChildRun r = runCliInChild(args, [] { close(1); });
    EXPECT_EQ(r.exitCode, 1) << args[0];
    EXPECT_EQ(r.err, "quillmar-cli: error: writing standard output: Bad file descriptor\n") << args[0];
  }
}
}  // namespace
