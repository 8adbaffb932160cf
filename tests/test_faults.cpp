// Faults of the surroundings: files and folders that are not what the program
// expects, and writes that fail. Nothing may crash, report success it did not
// have, or touch anything but the one file it was asked to write. The tests
// need no root: a full device (/dev/full), a file-size limit, a read-only
// folder (entered as an unprivileged user when the tests run as root) and a
// closed standard output are made in a child process where they need one.
// The faults that exist on one platform only are in test_faults_posix.cpp
// and test_faults_win32.cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "data/data_files.h"
#include "fault_support.h"

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
  EXPECT_EQ(writeEggPidListFile(gApp.eggList, someRequest(), dir.file("result.txt").c_str()).outcome,
            OutputOutcome::kNotCreated);
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
    for (int i = 0; i < kStatCount; ++i) EXPECT_EQ(gApp.measure.baseStats[i], 0) << "stat " << i;
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
  for (int i = 0; i < kStatCount; ++i) EXPECT_EQ(gApp.measure.baseStats[i], want[i]);
  // The folder is a file that cannot be opened: every row keeps zeros, and
  // default.txt's line, still in the buffer, reaches none of them.
  expectNoNames(gApp);
  for (int k = 0; k < kSpeciesCount; ++k) {
    for (int i = 0; i < kStatCount; ++i) ASSERT_EQ(gApp.speciesTable.rows[k].baseStats[i], 0) << "row " << k;
  }
  EXPECT_EQ(findSpecies(gApp, "45"), nullptr);
}

TEST(FaultDataFiles, CliSpeciesWithoutItsFileIsAnErrorNotACrash) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  std::filesystem::create_directory(dir.path / "pokemon.dat");
  for (const std::string& folder : {dir.file("missing"), dir.path.string()}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"species", "abc", "--dir", folder},
          std::vector<std::string>{"measure", "--species", "abc", "--dir", folder, "--nature", "0", "--at",
                                   "5:20,10,10,10,11,11"}}) {
      CliResult r = runCliCaptured(args);
      EXPECT_EQ(r.exitCode, 1) << folder;  // well-formed arguments: not a usage error
      EXPECT_EQ(r.out, "") << folder;
      const std::string want = "quillmar-cli: error: cannot read '" + folder + "/pokemon.dat'";
      EXPECT_EQ(r.err.rfind(want, 0), 0u) << r.err;
    }
  }
}

TEST(FaultDataFiles, AnEmptyDirIsTheWorkingDirectoryForTheCheckAndTheRead) {
  WorkingDirectoryGuard guard;
  std::filesystem::current_path(std::filesystem::path(QUILLMAR_SOURCE_DIR) / "assets");
  CliResult r = runCliCaptured({"species", "ピカチュウ", "--dir", ""});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "35,55,30,90,50,40\n");
}

TEST(FaultMessages, ControlBytesOfAnArgumentAreShownEscaped) {
  // ESC [ 2 J would clear the terminal; a newline would forge a second line;
  // U+009B is the one-character form of ESC [.
  CliResult r = runCliCaptured({"seeds", "--seed", "\x1B[2J\nquillmar-cli: ok\xC2\x9B", "--hour", "1"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: --seed '\\x1B[2J\\x0Aquillmar-cli: ok\\xC2\\x9B': ", 0), 0u) << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // one line
  EXPECT_EQ(r.err.find('\x1B'), std::string::npos);
  // Printable text, Japanese included, is shown as it is.
  r = runCliCaptured({"pid", "--ivs", "1,2,3,4,5,6", "--nature", "ごうけつ"});
  EXPECT_EQ(r.err, "quillmar-cli: error: --nature 'ごうけつ': expected a nature number 0..24 or a nature name\n");
}

TEST(FaultWorkingDirectory, VanishedWorkingDirectoryWritesNothing) {
  WorkingDirectoryGuard guard;
  std::filesystem::path gone;
  {
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    gone = dir.path;
    std::filesystem::current_path(dir.path);
  }  // the folder is removed while it is still the working directory
  if (std::filesystem::exists(gone)) GTEST_SKIP() << "this system cannot remove a process's working directory";

  gApp = AppState{};
  EXPECT_EQ(writeEggPidListFile(gApp.eggList, someRequest(), "result.txt").outcome, OutputOutcome::kNotCreated);
  EXPECT_EQ(gApp.eggList.eggInitialSeed, 0x12345678u);  // the request is stored before the file is opened

  CliResult r = runCliCaptured({"eggs", "--seed", "0", "--frames", "3"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: cannot create 'result.txt'", 0), 0u) << r.err;

  // The data files of a vanished folder read as missing ones.
  loadBoth(gApp, ".");
  for (int i = 0; i < kStatCount; ++i) EXPECT_EQ(gApp.measure.baseStats[i], 0);
  expectNoNames(gApp);

  // Commands that write no file are unaffected.
  r = runCliCaptured({"seeds", "--seed", "0x2684AD1F", "--hour", "3"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "8回前\t0xD4035754");
  EXPECT_FALSE(std::filesystem::exists(gone));
}

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
  expectOnlyTheNoteChanged(shown);
  EXPECT_EQ(listing(dir_), before);
  EXPECT_EQ(app().eggList.eggInitialSeed, 0x12345678u);
  EXPECT_EQ(app().eggList.eggFrameCount, 50);

  // Once the folder is gone the same command writes the file and opens it.
  std::filesystem::remove_all(dir_ / "result.txt");
  command(kCmdOutput);
  ASSERT_EQ(fake().openedDocuments.size(), 1u);
  EXPECT_EQ(fake().openedDocuments[0], "result.txt");
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "result.txt"));
}

TEST_F(WindowFaultTest, VanishedWorkingDirectoryOutputOpensNothingAndSearchesStillRun) {
  WorkingDirectoryGuard guard;
  start();
  command(kCmdScreenTwo);
  typeEggRequest();
  std::filesystem::path gone;
  {
    TempDir doomed;
    ASSERT_FALSE(doomed.path.empty());
    gone = doomed.path;
    std::filesystem::current_path(doomed.path);
  }
  if (std::filesystem::exists(gone)) GTEST_SKIP() << "this system cannot remove a process's working directory";
  const Snapshot shown = snapshot();
  command(kCmdOutput);
  EXPECT_TRUE(fake().openedDocuments.empty());
  expectOnlyTheNoteChanged(shown);

  // Step 3 needs no file: the documented back-tracking still lists four seeds.
  type(app().screen2.currentSeedEdit, "0x2684AD1F");
  type(app().screen2.hourEdit, "52");
  command(kCmdSeedSearch);
  ASSERT_EQ(app().seeds.seedCandidateCount, 4);
  EXPECT_EQ(app().seeds.seedCandidates[0].seed, 0x12345678u);
}

// --- Writes that fail ------------------------------------------------------

TEST(FaultWrite, ReplacingAFileLeavesOnlyTheNewCompleteList) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string path = dir.file("result.txt");
  writeEarlierList(path);
  CliResult r = runCliCaptured(eggsTo(path));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  CliResult straight = runCliCaptured(eggsTo("-"));
  EXPECT_EQ(readFileBytes(path), textModeBytes(straight.out));
  EXPECT_EQ(names(dir.path), "result.txt ");
}

}  // namespace
