// The window's search.txt held open by a viewer on Windows: the window says
// that the file was not saved and why, and the file keeps the earlier hits.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/search_fixture.h"

namespace {

using SearchFaultTest = SearchTest;

TEST_F(SearchFaultTest, AHitFileHeldOpenByAViewerIsSaidToBeUnsavedAndKeepsTheEarlierHits) {
  start();
  command(kCmdScreenThree);
  type(app().screen3.delayMaxEdit, "300");
  type(app().screen3.maxFrameEdit, "1");
  WorkingDirectory wd(dir_);
  command(kCmdEggSearch);
  finishTheSearch();
  const std::vector<std::string> earlier = fileLines(dir_ / "search.txt");
  ASSERT_GT(earlier.size(), 1u);
  // Shared for reading only, as a spreadsheet holds the file it shows.
  HANDLE viewer = CreateFileW((dir_ / "search.txt").wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  type(app().screen3.maxFrameEdit, "2");
  command(kCmdEggSearch);
  finishTheSearch();
  CloseHandle(viewer);
  EXPECT_TRUE(painted("search.txtを保存できません: 書き込めません(読み取り専用か使用中)"));
  EXPECT_EQ(fileLines(dir_ / "search.txt"), earlier);
  EXPECT_EQ(fake().openedDocuments.size(), 1u);  // the first search's file only
}

}  // namespace
