#include "ui/qt/player_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {

// The files the window reads at start, as the package installs them.
const char* const kDataFiles[] = {"pokemon.dat", "default.txt"};

}  // namespace

namespace quillmarqt {

QString installedDataDir(const QString& exeDir) {
  // The path from the install's bin folder to its data folder, set by the build
  // from the install directories (normally "../share/quillmar").
  const QString shipped = QDir::cleanPath(exeDir + QStringLiteral("/" QUILLMAR_DATA_FROM_BIN));
  return QFileInfo(shipped + QStringLiteral("/pokemon.dat")).isFile() ? shipped : QString();
}

QString playerFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/quillmar");
}

bool fillPlayerFolder(const QString& shippedDir, const QString& folder) {
  if (!QDir().mkpath(folder)) return false;
  bool complete = true;
  for (const char* name : kDataFiles) {
    const QString target = folder + QLatin1Char('/') + QLatin1String(name);
    if (QFileInfo::exists(target)) continue;
    const QString source = shippedDir + QLatin1Char('/') + QLatin1String(name);
    // The copy keeps the package's read-only-for-others mode; the player owns it.
    if (!QFile::copy(source, target)) complete = false;
  }
  return complete;
}

void enterPlayerFolder(const QString& exeDir) {
  const QString shipped = installedDataDir(exeDir);
  if (shipped.isEmpty()) return;
  const QString folder = playerFolder();
  if (!fillPlayerFolder(shipped, folder) || !QDir::setCurrent(folder)) {
    std::fprintf(stderr, "quillmar: cannot prepare the folder %s; working in %s instead\n",
                 qPrintable(QDir::toNativeSeparators(folder)), qPrintable(QDir::currentPath()));
  }
}

}  // namespace quillmarqt
