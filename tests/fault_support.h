// What the fault tests share: a request, the command that writes the list to
// a path, the names in a folder, an earlier complete list, the working
// directory's guard and the window fixture for "出力".
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli_run.h"
#include "core/egg_list.h"
#include "shell_fixture.h"
#include "temp_dir.h"

inline EggListRequest someRequest() {
  EggListRequest r{};
  r.initialSeed = 0x12345678;
  r.frameCount = 40;
  r.tid = 12345;
  r.sid = 54321;
  r.internationalMarriage = true;
  return r;
}

// Restores the working directory when a test has moved it.
struct WorkingDirectoryGuard {
  std::filesystem::path previous = std::filesystem::current_path();
  ~WorkingDirectoryGuard() {
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
  }
};

// The window's "出力" where "result.txt" cannot be created: nothing is written,
// the viewer is not asked to open anything, no control changes and nothing is
// repainted; only the request's values are kept, as every run keeps them.
class WindowFaultTest : public ShellTest {
 protected:
  struct Snapshot {
    std::vector<std::string> texts;
    std::vector<int32_t> states;
    int invalidations;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot snapshot() {
    Snapshot s{{}, {}, fake().invalidations};
    for (ControlHandle h : fakeLiveControls()) {
      s.texts.push_back(fakeControl(h).text);
      s.states.push_back(fakeControl(h).selected);
      s.states.push_back(fakeControl(h).checked);
    }
    return s;
  }
  // A failed 出力 leaves every control as it was and only adds, with one
  // repaint, the line that says why result.txt was not written.
  void expectOnlyTheNoteChanged(const Snapshot& before) {
    const Snapshot after = snapshot();
    EXPECT_EQ(after.texts, before.texts);
    EXPECT_EQ(after.states, before.states);
    EXPECT_EQ(after.invalidations, before.invalidations + 1);
    bool said = false;
    for (const PaintOp& op : fakePaint(app()))
      said = said || (op.kind == PaintOp::Kind::kText && op.text.rfind(sj("result.txtを保存できません"), 0) == 0);
    EXPECT_TRUE(said);
  }
  void typeEggRequest() {
    type(app().screen2.initialSeedEdit, "0x12345678");
    type(app().screen2.frameCountEdit, "50");
    type(app().screen2.tidEdit, "12345");
  }
};

// The egg list of 50,000 frames: far more than a file-size limit of 8 KiB.
inline std::vector<std::string> eggsTo(const std::string& path) {
  return {"eggs", "--seed", "0x12345678", "--tid", "12345", "--sid", "54321", "--out", path};
}

// Every name in the folder (the earlier file, and any temporary left behind).
inline std::string names(const std::filesystem::path& folder) {
  std::string s;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) s += entry.path().filename().string() + " ";
  return s;
}

// An earlier complete list in `path`, from a smaller request.
inline std::string writeEarlierList(const std::string& path) {
  CliResult r = runCliCaptured({"eggs", "--seed", "7", "--frames", "20", "--out", path});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return readFileBytes(path);
}
