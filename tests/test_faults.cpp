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
#include "data/data_files.h"
#include "shell_fixture.h"
#include "temp_dir.h"

namespace {

AppState gApp;

void writeBytes(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// Every name empty and NUL-terminated: what no usable species file leaves.
void expectNoNames(const AppState& app) {
  for (int k = 0; k < kSpeciesCount; ++k) {
    ASSERT_EQ(app.speciesTable.rows[k].name[0], '\0') << "row " << k;
  }
}

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

// The start-up order: default.txt, then pokemon.dat, through one line buffer.
void loadBoth(AppState& app, const std::string& directory) {
  app = AppState{};
  loadDefaults(app, directory.c_str());
  loadSpeciesTable(app, directory.c_str());
}

TEST(FaultDataFiles, MissingEmptyAndFolderFilesLeaveZerosAndFindNothing) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  for (const char* shape : {"missing", "empty", "folder"}) {
    SCOPED_TRACE(shape);
    const std::filesystem::path where = dir.path / shape;
    std::filesystem::create_directory(where);
    if (std::string(shape) == "empty") {
      writeBytes((where / "default.txt").string(), "");
      writeBytes((where / "pokemon.dat").string(), "");
    } else if (std::string(shape) == "folder") {
      std::filesystem::create_directory(where / "default.txt");
      std::filesystem::create_directory(where / "pokemon.dat");
    }
    loadBoth(gApp, where.string());
    for (int i = 0; i < kStatCount; ++i) EXPECT_EQ(gApp.baseStats[i], 0) << "stat " << i;
    expectNoNames(gApp);
    for (int k = 0; k < kSpeciesCount; ++k) {
      for (int i = 0; i < kStatCount; ++i) ASSERT_EQ(gApp.speciesTable.rows[k].baseStats[i], 0);
    }
    // Only the empty typed name matches, at row 0.
    EXPECT_EQ(findSpecies(gApp, ""), &gApp.speciesTable.rows[0]);
    EXPECT_EQ(findSpecies(gApp, "abc"), nullptr);
  }
}

TEST(FaultDataFiles, AFolderNamedPokemonDatKeepsTheDefaults) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  writeBytes(dir.file("default.txt"), "45,49,49,45,65,65\n");
  std::filesystem::create_directory(dir.path / "pokemon.dat");
  loadBoth(gApp, dir.path.string());
  const int32_t want[kStatCount] = {45, 49, 49, 45, 65, 65};
  for (int i = 0; i < kStatCount; ++i) EXPECT_EQ(gApp.baseStats[i], want[i]);
  // The folder gives no line: no row gets a name, so no name is ever found.
  expectNoNames(gApp);
  EXPECT_EQ(findSpecies(gApp, "45"), nullptr);
}

TEST(FaultDataFiles, CliSpeciesWithoutItsFileIsAnErrorNotACrash) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  std::filesystem::create_directory(dir.path / "pokemon.dat");
  for (const std::string& folder : {dir.file("missing"), dir.path.string()}) {
    CliResult r = runCliCaptured({"species", "abc", "--dir", folder});
    EXPECT_NE(r.exitCode, 0) << folder;
    EXPECT_EQ(r.out, "") << folder;
    EXPECT_EQ(r.err.rfind("quillmar-cli: error: ", 0), 0u) << r.err;
  }
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

  // The data files of a vanished folder read as missing ones.
  loadBoth(gApp, ".");
  for (int i = 0; i < kStatCount; ++i) EXPECT_EQ(gApp.baseStats[i], 0);
  expectNoNames(gApp);

  // Commands that write no file are unaffected.
  r = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "52"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "4回前\t0x12345678");
  EXPECT_FALSE(std::filesystem::exists(gone));
}
#endif

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
  void typeEggRequest() {
    type(app().initialSeedEdit, "0x12345678");
    type(app().frameCountEdit, "50");
    type(app().tidEdit, "12345");
  }
};

TEST_F(WindowFaultTest, OutputWithAFolderNamedResultTxtOpensNothing) {
  WorkingDirectoryGuard guard;
  std::filesystem::create_directory(dir_ / "result.txt");
  writeBytes((dir_ / "result.txt" / "keep.txt").string(), "kept");
  std::filesystem::current_path(dir_);
  start();
  command(kCmdScreenTwo);
  typeEggRequest();
  const std::string before = listing(dir_);
  const Snapshot shown = snapshot();

  command(kCmdOutput);
  EXPECT_TRUE(fake().openedDocuments.empty());
  EXPECT_EQ(snapshot(), shown);
  EXPECT_EQ(listing(dir_), before);
  EXPECT_EQ(app().eggInitialSeed, 0x12345678u);
  EXPECT_EQ(app().eggFrameCount, 50);

  // Once the folder is gone the same command writes the file and opens it.
  std::filesystem::remove_all(dir_ / "result.txt");
  command(kCmdOutput);
  ASSERT_EQ(fake().openedDocuments.size(), 1u);
  EXPECT_EQ(fake().openedDocuments[0], "result.txt");
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "result.txt"));
}

#ifndef _WIN32
TEST_F(WindowFaultTest, VanishedWorkingDirectoryOutputOpensNothingAndSearchesStillRun) {
  WorkingDirectoryGuard guard;
  start();
  command(kCmdScreenTwo);
  typeEggRequest();
  {
    TempDir doomed;
    ASSERT_FALSE(doomed.path.empty());
    std::filesystem::current_path(doomed.path);
  }
  const Snapshot shown = snapshot();
  command(kCmdOutput);
  EXPECT_TRUE(fake().openedDocuments.empty());
  EXPECT_EQ(snapshot(), shown);

  // Step 3 needs no file: the documented back-tracking still lists four seeds.
  type(app().currentSeedEdit, "0x2684AD1F");
  type(app().hourEdit, "52");
  command(kCmdSeedSearch);
  ASSERT_EQ(app().seedCandidateCount, 4);
  EXPECT_EQ(app().seedCandidates[0].seed, 0x12345678u);
}
#endif

}  // namespace
