// A started window over the fake backend, with its own working directory
// holding "default.txt" and a small "pokemon.dat".
#pragma once

#include <gtest/gtest.h>

#include <cerrno>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "state/app_state.h"
#include "tests/deadline.h"
#include "tests/fake_platform.h"
#include "text/cp932.h"
#include "ui/resources/templates.h"
#include "ui/screens.h"
#include "ui/shell.h"

inline std::string sj(const std::string& utf8) { return utf8ToCp932(utf8); }

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// The lines of a text file or stream, without their line ends (LF, or CR LF
// as text mode writes them on Windows).
inline std::vector<std::string> linesOf(std::FILE* f) {
  std::vector<std::string> lines;
  std::string line;
  for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    line.clear();
  }
  return lines;
}

inline std::vector<std::string> fileLines(const std::filesystem::path& path) {
  std::FILE* f = std::fopen(path.string().c_str(), "rb");
  if (f == nullptr) return {};
  std::vector<std::string> lines = linesOf(f);
  std::fclose(f);
  return lines;
}

// Makes `dir` the working directory (where the window writes its files) for
// the life of the object.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~WorkingDirectory() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

// What the window says of a folder that stands where it writes a file, and
// the errno behind it: Windows opens a folder for writing as it refuses any
// file it may not write.
#if defined(_WIN32)
inline constexpr char kFolderInTheWayReason[] = "書き込めません(読み取り専用か使用中)";
inline constexpr int kFolderInTheWayErrno = EACCES;
#else
inline constexpr char kFolderInTheWayReason[] = "同じ名前のフォルダがあります";
inline constexpr int kFolderInTheWayErrno = EISDIR;
#endif

class ShellTest : public ::testing::Test {
 protected:
  // Whether the shown screen painted this text (UTF-8, compared as CP932).
  bool painted(const std::string& utf8) {
    for (const PaintOp& op : fakePaint(app()))
      if (op.kind == PaintOp::Kind::kText && op.text == sj(utf8)) return true;
    return false;
  }
  void SetUp() override {
    fakeReset();
    dir_ = std::filesystem::temp_directory_path() /
           ("quillmar-shell-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    writeFile(dir_ / "default.txt", "45,49,49,45,65,65\n");
    writeFile(dir_ / "pokemon.dat", sj("45,49,49,45,65,65,フシギダネ\n"
                                       "100,100,100,100,100,100,ミュウ\n"
                                       "106,110,90,130,154,90,ミュウツー\n"));
  }
  void TearDown() override {
    shellClose(app());  // a search still running ends with the window
    std::filesystem::remove_all(dir_);
  }

  void start() { shellStart(app(), dir_.string().c_str()); }
  AppState& app() { return *app_; }

  // A click or menu choice.
  void command(int32_t id) { shellCommand(app(), id); }
  void type(ControlHandle h, const std::string& utf8) { fakeType(h, utf8); }
  std::string text(ControlHandle h) { return fakeControl(h).text; }
  bool alive(ControlHandle h) { return h != 0 && fakeControl(h).alive; }

  // A field typed wrong, the command that reads it, what the screen must
  // paint and what the field must then show. A search a case starts is
  // stopped (`stop` on `panel`, when given) before the next.
  struct FieldCase { ControlHandle edit; const char* typed; int32_t command; const char* note; const char* shown; };
  void expectFieldNotes(std::initializer_list<FieldCase> cases, int32_t stop = 0,
                        SearchPanel AppState::*panel = nullptr) {
    for (const FieldCase& c : cases) {
      type(c.edit, c.typed);
      command(c.command);
      EXPECT_TRUE(painted(c.note)) << c.typed;
      EXPECT_EQ(text(c.edit), c.shown) << c.typed;
      if (panel == nullptr) continue;
      command(stop);
      ASSERT_TRUE(waitUntil([&] {
        shellTimer(app());
        return (app().*panel).status != SearchStatus::kRunning;
      })) << "the search never ended";
    }
  }

  // One "追加" with a level and six observed stats typed first.
  void measure(int level, const int (&stats)[6]) {
    type(app().screen1.levelEdit, std::to_string(level));
    for (int i = 0; i < 6; ++i) type(app().screen1.statEdits[i], std::to_string(stats[i]));
    command(kCmdAdd);
  }

  std::filesystem::path dir_;
  std::unique_ptr<AppState> app_ = std::make_unique<AppState>();
};
