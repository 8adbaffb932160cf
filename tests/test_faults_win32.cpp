// Write faults that exist on Windows only.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "fault_support.h"

namespace {

TEST(FaultWrite, AResultHeldOpenByAViewerKeepsTheEarlierList) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string path = dir.file("result.txt");
  writeEarlierList(path);
  // A result.txt held open by a program that shares it for reading only (as a
  // spreadsheet holds the file it shows) cannot be replaced: the move fails,
  // the earlier list stays and no temporary is left.
  const std::string earlier = readFileBytes(path);
  HANDLE viewer = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  CliResult r = runCliCaptured({"eggs", "--seed", "1", "--frames", "5", "--out", path});
  CloseHandle(viewer);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: writing '" + path + "': ", 0), 0u) << r.err;
  EXPECT_EQ(readFileBytes(path), earlier);
  EXPECT_EQ(names(dir.path), "result.txt ");
}

}  // namespace
