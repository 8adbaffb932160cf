// The egg searches where a disk refuses their output: egg-search,
// egg-iv-search and egg-ivs on a standard output that refuses every write
// stop at the first refusal, say why and exit 1, as the other subcommands do; the window whose search.txt is a full
// device says that the file was not saved and why.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"
#include "tests/search_fixture.h"

namespace {

// A stream (glibc's fopencookie) whose every write fails with "no space",
// counting the writes tried.
ssize_t refuseWrite(void* cookie, const char*, size_t) {
  ++*static_cast<int*>(cookie);
  errno = ENOSPC;
  return -1;
}

TEST(CliEggSearchOutput, AFailedStandardOutputEndsTheListingAtTheFirstRefusedWrite) {
  // Without a filter frame 0 of every seed of one delay is kept: 256 x 24 =
  // 6144 hits, of which 5000 lines (over 300 KB) are asked for; and 5000 n of
  // one seed.
  const std::vector<std::vector<const char*>> commands = {
      {"egg-search", "--year", "2026", "--delay-min", "300", "--delay-max", "300", "--max-frame", "1", "--limit",
       "5000"},
      {"egg-iv-search", "--year", "2026", "--delay-min", "300", "--delay-max", "300", "--max-frame", "1", "--limit",
       "5000", "--parent-a", "1,2,3,4,5,6", "--parent-b", "6,5,4,3,2,1"},
      {"egg-ivs", "0x12345678", "--frames", "5000", "--parent-a", "1,2,3,4,5,6", "--parent-b", "6,5,4,3,2,1"}};
  for (const std::vector<const char*>& command : commands) {
    int writes = 0;
    cookie_io_functions_t io{nullptr, refuseWrite, nullptr, nullptr};
    std::FILE* out = fopencookie(&writes, "w", io);
    ASSERT_NE(out, nullptr);
    std::FILE* err = std::tmpfile();
    std::vector<const char*> argv{"quillmar-cli"};
    argv.insert(argv.end(), command.begin(), command.end());
    const int rc = runCli(static_cast<int>(argv.size()), argv.data(), out, err);
    std::fclose(out);
    EXPECT_EQ(rc, 1) << command[0];
    EXPECT_EQ(readAll(err), "quillmar-cli: error: writing standard output: No space left on device\n") << command[0];
    EXPECT_EQ(writes, 1) << command[0];  // one buffer's worth tried, not one per buffer of the 5000 lines
  }
}

using SearchFaultTest = SearchTest;

TEST_F(SearchFaultTest, AHitFileOnAFullDeviceIsSaidToBeUnsavedForWantOfSpace) {
  std::filesystem::create_symlink("/dev/full", dir_ / "search.txt");
  start();
  command(kCmdScreenThree);
  type(app().screen3.delayMaxEdit, "300");
  type(app().screen3.maxFrameEdit, "1");
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  EXPECT_TRUE(painted("search.txtを保存できません: ディスクがいっぱいです"));
  EXPECT_TRUE(fake().openedDocuments.empty());
}

}  // namespace
