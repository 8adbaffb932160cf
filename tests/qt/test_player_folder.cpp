// The installed window's own folder: found from the executable's place in an
// installed layout, filled once with the shipped data files, never
// overwriting the player's copies.
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/temp_dir.h"
#include "ui/qt/player_folder.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

QString q(const fs::path& p) { return QString::fromStdString(p.string()); }

TEST(PlayerFolder, InstalledLayoutIsRecognisedFromTheExecutablesPlace) {
  TempDir root;
  writeFile(root.path / "usr/share/quillmar/pokemon.dat", "shipped species");
  fs::create_directories(root.path / "usr/bin");
  fs::create_directories(root.path / "build/release");
  EXPECT_EQ(quillmarqt::installedDataDir(q(root.path / "usr/bin")),
            QDir::cleanPath(q(root.path / "usr/share/quillmar")));
  // A build folder has no share/quillmar beside it: not installed.
  EXPECT_TRUE(quillmarqt::installedDataDir(q(root.path / "build/release")).isEmpty());
}

TEST(PlayerFolder, FolderFollowsXdgDataHome) {
  TempDir home;
  QByteArray savedXdg = qgetenv("XDG_DATA_HOME");
  QByteArray savedHome = qgetenv("HOME");
  qputenv("XDG_DATA_HOME", (home.path / "data").string().c_str());
  EXPECT_EQ(quillmarqt::playerFolder(), q(home.path / "data/quillmar"));
  qunsetenv("XDG_DATA_HOME");
  qputenv("HOME", home.path.string().c_str());
  EXPECT_EQ(quillmarqt::playerFolder(), q(home.path / ".local/share/quillmar"));
  qputenv("HOME", savedHome);
  if (savedXdg.isNull()) {
    qunsetenv("XDG_DATA_HOME");
  } else {
    qputenv("XDG_DATA_HOME", savedXdg);
  }
}

TEST(PlayerFolder, FirstStartCopiesTheShippedFilesLaterStartsKeepThePlayers) {
  TempDir root;
  const fs::path shipped = root.path / "shipped";
  writeFile(shipped / "pokemon.dat", "shipped species");
  writeFile(shipped / "default.txt", "shipped defaults");
  const fs::path folder = root.path / "data/quillmar";

  ASSERT_TRUE(quillmarqt::fillPlayerFolder(q(shipped), q(folder)));
  EXPECT_EQ(readFileBytes((folder / "pokemon.dat").string()), "shipped species");
  EXPECT_EQ(readFileBytes((folder / "default.txt").string()), "shipped defaults");

  // The player edits default.txt and deletes pokemon.dat: the next start
  // brings back only what is missing.
  writeFile(folder / "default.txt", "the player's defaults");
  fs::remove(folder / "pokemon.dat");
  ASSERT_TRUE(quillmarqt::fillPlayerFolder(q(shipped), q(folder)));
  EXPECT_EQ(readFileBytes((folder / "default.txt").string()), "the player's defaults");
  EXPECT_EQ(readFileBytes((folder / "pokemon.dat").string()), "shipped species");
}

TEST(PlayerFolder, AFileWhereTheFolderShouldBeIsAFailure) {
  TempDir root;
  writeFile(root.path / "shipped/pokemon.dat", "s");
  writeFile(root.path / "shipped/default.txt", "d");
  writeFile(root.path / "data/quillmar", "not a folder");
  EXPECT_FALSE(quillmarqt::fillPlayerFolder(q(root.path / "shipped"), q(root.path / "data/quillmar")));
  // A missing shipped file leaves the folder incomplete, which is reported too.
  EXPECT_FALSE(quillmarqt::fillPlayerFolder(q(root.path / "nowhere"), q(root.path / "other")));
}

}  // namespace
